#include "support/json_value.h"

#include <string>

#include <gtest/gtest.h>

namespace korvane::testing {
namespace {

TEST(JsonValueTest, ReadsNestedValuesInOrder) {
    const auto value = JsonValue::Parse(
        R"( {"code": 608, "data": {"token": "ab", "z": null, "a": [true, false, -1.5e2]}} )");
    ASSERT_TRUE(value);
    EXPECT_EQ((*value)["code"].Number(), 608);
    const JsonValue& data = (*value)["data"];
    EXPECT_EQ(data.Names(), (std::vector<std::string>{"token", "z", "a"}));
    EXPECT_EQ(data["token"].String(), "ab");
    EXPECT_TRUE(data.Has("z"));
    EXPECT_TRUE(data["z"].IsNull());
    EXPECT_TRUE(data["a"][0].Bool());
    EXPECT_FALSE(data["a"][1].Bool());
    EXPECT_EQ(data["a"][2].Number(), -150);
    EXPECT_TRUE(data["missing"].IsNull());
    EXPECT_FALSE(data.Has("missing"));
    EXPECT_TRUE(data["a"][7].IsNull());
}

TEST(JsonValueTest, DecodesEscapesToUtf8) {
    const auto value = JsonValue::Parse(R"("\u7528\u6237 \ud83d\ude00 \ud800x \"\\\/\n")");
    ASSERT_TRUE(value);
    EXPECT_EQ(value->String(), "用户 \xF0\x9F\x98\x80 \xEF\xBF\xBDx \"\\/\n");
}

TEST(JsonValueTest, RejectsWhatIsNotOneJsonValue) {
    const std::string deep(1000, '[');
    const std::string_view bads[] = {"",    "{",        "{\"a\" 1}", "[1,]", "{\"a\":1,}",
                                     "tru", "\"open",   "\"\\x\"",   "1 2",  "\"\\u12\"",
                                     "+1",  "\"a\nb\"", deep};
    for (std::string_view bad : bads) {
        EXPECT_FALSE(JsonValue::Parse(bad)) << bad.substr(0, 20);
    }
}

}  // namespace
}  // namespace korvane::testing
