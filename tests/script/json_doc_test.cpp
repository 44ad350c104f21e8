#include "script/json_doc.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "text/code_page.h"

namespace korvane::script {
namespace {

using text::Utf8ToLocal;

TEST(JsonDocLoad, Results) {
    struct Case {
        const char* text;
        bool loaded;
    };
    const Case cases[] = {
        {"", false},
        {"null", false},
        {"0", true},
        {"true", true},
        {"{\"code\":608}", true},
        {" [1, 2]\r\n", true},
        {"{\"code\":", false},  // does not compile
        {"\"abc\"", false},     // a quoted text whose content is no expression
        {"\"123\"", true},      // content 123
        {"\"null\"", false},
        {"\"{\\\"a\\\":1}\"", false},  // content {"a":1} is a block, not a value
    };
    for (const Case& c : cases) {
        JsonDoc doc;
        EXPECT_EQ(doc.Load(c.text), c.loaded) << c.text;
        if (!c.loaded) {
            EXPECT_EQ(doc.TypeOf(), JsonType::Null) << c.text;
        }
    }
}

TEST(JsonDocLoad, NeverRunsCode) {
    // Calls, loops, allocation, assignments: none is JSON text, directly or inside a string.
    const char* hostile[] = {
        "f()",
        "(function () { for (;;) {} })()",
        "while (true) {}",
        "new Array(1e9).join('x')",
        "{\"a\":(da=1)}",
        "[1][0]",
        "\"for (;;) {}\"",
        "\"JSON.parse('1')\"",
        "\"\\\"[]\\\".length\"",
        "{\"a\":1}.a",
        "\"\\u0061\"",
    };
    for (const char* text : hostile) {
        JsonDoc doc;
        EXPECT_FALSE(doc.Load(text)) << text;
        EXPECT_EQ(doc.ToJson(), "null") << text;
    }
}

TEST(JsonDocLoad, DeepNestingFailsCleanly) {
    JsonDoc doc;
    EXPECT_FALSE(doc.Load(std::string(100000, '[') + std::string(100000, ']')));
    EXPECT_TRUE(doc.Load("[[[[1]]]]"));
    EXPECT_EQ(doc.ToJson(), "[[[[1]]]]");
}

TEST(JsonDocLoad, StartsFromAFreshEngine) {
    JsonDoc doc;
    doc.SetText("left", "over");
    ASSERT_TRUE(doc.Load("{\"a\":1}"));
    EXPECT_EQ(doc.ToJson(), "{\"a\":1}");
    EXPECT_FALSE(doc.Load("{"));
    EXPECT_EQ(doc.GetText("a"), "");
}

class ReplyTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(doc.Load(
            "{\"code\":608,\"name\":\"608\",\"flag\":true,\"nothing\":null,\"big\":10000000000000,"
            "\"bigger\":12345678901234567,\"whole\":1234567890123,\"half\":0.5,"
            "\"list\":[1,\"two\",{\"three\":3}],\"data\":{\"notice\":\"abc\"}}"));
    }
    JsonDoc doc;
};

TEST_F(ReplyTest, GetText) {
    struct Case {
        const char* path;
        const char* text;
    };
    const Case cases[] = {
        {"code", "608"},
        {"name", "608"},
        {"data.notice", "abc"},
        {"data.token", ""},
        {"none.token", ""},
        {"nothing", ""},
        {"big", "1e+13"},
        {"bigger", "1.234567890123e+16"},
        {"whole", "1234567890123"},
        {"half", "0.5"},
        {"list[1]", "two"},
        {"list[2].three", "3"},
        {"", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(doc.GetText(c.path), c.text) << c.path;
    }
    EXPECT_EQ(doc.GetText("data", true), "{\"notice\":\"abc\"}");
    EXPECT_EQ(doc.GetText("code", true), "608");
}

TEST_F(ReplyTest, TypeOf) {
    struct Case {
        const char* path;
        JsonType type;
    };
    const Case cases[] = {
        {"code", JsonType::Number},
        {"data", JsonType::Object},
        {"data.notice", JsonType::String},
        {"none", JsonType::Null},
        {"nothing", JsonType::Null},
        {"list", JsonType::Array},
        {"flag", JsonType::Other},
        {"none.x", JsonType::Other},
        {"", JsonType::Object},
        {"list[2]", JsonType::Object},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(doc.TypeOf(c.path), c.type) << c.path;
    }
}

TEST_F(ReplyTest, NumbersHasAndMembers) {
    EXPECT_EQ(doc.GetNumber("code"), 608);
    EXPECT_EQ(doc.GetNumber("name"), 608);
    EXPECT_EQ(doc.GetNumber("data.notice"), 0);
    EXPECT_EQ(doc.GetNumber("none.x"), 0);
    EXPECT_TRUE(doc.Has("data.notice"));
    EXPECT_FALSE(doc.Has("nothing"));
    EXPECT_FALSE(doc.Has("none.x"));
    EXPECT_EQ(doc.GetJson("list"), "[1,\"two\",{\"three\":3}]");
    EXPECT_EQ(doc.Count("list"), 3);
    EXPECT_EQ(doc.Count("data"), 1);
    EXPECT_EQ(doc.GetItem(1, "list"), "two");
    EXPECT_EQ(doc.GetItem(2, "list", true), "{\"three\":3}");
    doc.RemoveMember("data");
    EXPECT_FALSE(doc.Has("data"));
}

TEST_F(ReplyTest, GetDocIsIndependent) {
    JsonDoc data = doc.GetDoc("data");
    EXPECT_EQ(data.GetText("notice"), "abc");
    data.SetText("notice", "changed");
    EXPECT_EQ(doc.GetText("data.notice"), "abc");
    doc.SetText("data.notice", "also changed");
    EXPECT_EQ(data.GetText("notice"), "changed");

    JsonDoc item = doc.GetItemDoc(2, "list");
    EXPECT_EQ(item.GetText("three"), "3");
    // A string member's document is its content evaluated, and "abc" is no value.
    EXPECT_EQ(doc.GetDoc("data.notice").TypeOf(), JsonType::Null);
}

TEST(JsonDoc, CountAndKeys) {
    struct Case {
        const char* text;
        int count;
        std::vector<std::string> keys;
    };
    const Case cases[] = {
        {"{\"a\":1,\"b\":2}", 2, {"a", "b"}},
        {"{}", 0, {}},
        {"[]", 0, {}},
        {"[5,6,7]", 3, {"0", "1", "2"}},
        // The engine lists integer-like keys first, ascending, then the rest in order.
        {"{\"b\":1,\"2\":2,\"a\":3,\"1\":4}", 4, {"1", "2", "b", "a"}},
        {"{\"x,y\":1,\"\":2}", 2, {"x", "y", ""}},
    };
    for (const Case& c : cases) {
        JsonDoc doc;
        ASSERT_TRUE(doc.Load(c.text)) << c.text;
        EXPECT_EQ(doc.Count(), c.count) << c.text;
        std::vector<std::string> keys{"stale"};
        EXPECT_EQ(doc.Keys(keys), static_cast<int>(c.keys.size())) << c.text;
        EXPECT_EQ(keys, c.keys) << c.text;
    }
    JsonDoc doc;
    ASSERT_TRUE(doc.Load("{\"b\":1,\"2\":2,\"a\":3,\"1\":4}"));
    EXPECT_EQ(doc.ToJson(), "{\"1\":4,\"2\":2,\"b\":1,\"a\":3}");
}

TEST(JsonDoc, GetTextOfAnArrayElement) {
    JsonDoc doc;
    ASSERT_TRUE(doc.Load("[7,\"x\"]"));
    EXPECT_EQ(doc.GetText("[0]"), "7");
    EXPECT_EQ(doc.GetText("[1]"), "x");
    EXPECT_EQ(doc.GetText("[1]", true), "\"x\"");
}

TEST(JsonDocPayload, MembersInOrderWithoutWhitespace) {
    JsonDoc doc;
    ASSERT_TRUE(doc.Load("{\"old\":1}"));
    doc.Clear();
    EXPECT_EQ(doc.ToJson(), "{}");
    doc.SetText("username", "13800138000");
    doc.SetText("password", "secret");
    EXPECT_EQ(doc.ToJson(), "{\"username\":\"13800138000\",\"password\":\"secret\"}");
}

TEST(JsonDocPayload, QuotedValuesArriveUnchanged) {
    struct Case {
        const char* utf8;
        const char* json;
    };
    const Case cases[] = {
        {"a';x='b", "\"a';x='b\""},
        {"back\\slash", "\"back\\\\slash\""},
        {"two\nlines\r", "\"two\\nlines\\r\""},
        {"'", "\"'\""},
        {"end\\", "\"end\\\\\""},
        {"\\'", "\"\\\\'\""},
        {"tab\tquote\"", "\"tab\\tquote\\\"\""},
        {"\xE8\xAA\xA0\\n", "\"\xE8\xAA\xA0\\\\n\""},  // 誠 followed by a backslash and n
        {"中文/密码", "\"中文/密码\""},
    };
    for (const Case& c : cases) {
        const std::string value = Utf8ToLocal(c.utf8);
        JsonDoc doc;
        doc.Clear();
        doc.SetText("password", value);
        EXPECT_EQ(doc.GetText("password"), value) << c.utf8;
        EXPECT_EQ(doc.ToJson(), Utf8ToLocal(std::string("{\"password\":") + c.json + "}"))
            << c.utf8;
        doc.Append(value, "list");
        EXPECT_EQ(doc.GetItem(0, "list"), value) << c.utf8;
        doc.SetRoot(value);
        EXPECT_EQ(doc.ToJson(), Utf8ToLocal(c.json)) << c.utf8;
    }
}

TEST(JsonDocPayload, ToJsonEscaping) {
    JsonDoc doc;
    ASSERT_TRUE(doc.Load(
        "{\"s\":\"\\\"\\\\/\\b\\t\\n\\f\\r\\u0001\\u001f\\u007f\\u009f\\u00ad\\u0600\\u070f"
        "\\u17b5\\u200c\\u2028\\u202f\\u2060\\ufeff\\ufff0\\uffff\\u00e9\\u4e2d \"}"));
    EXPECT_EQ(doc.ToJson(), Utf8ToLocal("{\"s\":\"\\\"\\\\/\\b\\t\\n\\f\\r\\u0001\\u001f\\u007f"
                                        "\\u009f\\u00ad\\u0600\\u070f\\u17b5\\u200c\\u2028"
                                        "\\u202f\\u2060\\ufeff\\ufff0\\uffff\xC3\xA9中 \"}"));
}

TEST(JsonDoc, EditingOperations) {
    JsonDoc doc;
    ASSERT_TRUE(doc.Load("{\"s\":\"x\"}"));
    doc.Append("y", "s");
    EXPECT_EQ(doc.GetJson("s"), "[\"y\"]");
    doc.Append("z", "s");
    doc.Append("[1,{\"k\":null}]", "s", true);
    EXPECT_EQ(doc.GetJson("s"), "[\"y\",\"z\",[1,{\"k\":null}]]");
    EXPECT_EQ(doc.Count("s"), 3);

    doc.SetNumber("n", 0.1 + 0.2);
    EXPECT_EQ(doc.GetText("n"), "0.3");
    doc.SetNumber("n", -1e13);
    EXPECT_EQ(doc.GetJson("n"), "-10000000000000");
    doc.SetJson("o", "{\"a\":[1,2]}");
    EXPECT_EQ(doc.GetJson("o"), "{\"a\":[1,2]}");
    doc.SetText("e", "", true);
    EXPECT_EQ(doc.GetJson("e"), "{}");
    doc.SetText("t", "[true]", true);
    EXPECT_EQ(doc.GetJson("t"), "[true]");
    doc.RemoveMember("t");
    EXPECT_FALSE(doc.Has("t"));

    // Text handed over as JSON is only ever taken as JSON.
    doc.SetJson("o", "(da.o = 5)");
    doc.SetText("o", "Math.max(1, 2)", true);
    doc.Append("da.s = 1", "s", true);
    EXPECT_EQ(doc.GetJson("o"), "{\"a\":[1,2]}");
    EXPECT_EQ(doc.Count("s"), 3);

    doc.ResetAs(5);
    EXPECT_EQ(doc.ToJson(), "[]");
    doc.ResetAs(3);
    EXPECT_EQ(doc.ToJson(), "[]");
    doc.Append("a");
    doc.Append("b");
    doc.Append("c");
    doc.SetItem(1, "B");
    doc.SetItem(3, "4", true);
    doc.RemoveItem(0);
    EXPECT_EQ(doc.ToJson(), "[\"B\",\"c\",4]");
    // The array test reads GetText of the path, and GetText of the empty path is empty.
    EXPECT_EQ(doc.TypeOf(), JsonType::Object);
    doc.ResetAs(0);
    EXPECT_EQ(doc.ToJson(), "{}");
    doc.SetRoot("7", true);
    EXPECT_EQ(doc.TypeOf(), JsonType::Number);
    doc.SetRoot("plain");
    EXPECT_EQ(doc.ToJson(), "\"plain\"");
}

TEST(JsonDoc, CopySharesTheEngineUntilLoad) {
    JsonDoc doc;
    JsonDoc copy(doc);
    EXPECT_EQ(copy.VarName(), "da");
    copy.SetText("seen", "yes");
    EXPECT_EQ(doc.GetText("seen"), "yes");
    ASSERT_TRUE(doc.Load("{\"fresh\":1}"));
    EXPECT_EQ(copy.GetText("seen"), "yes");
    EXPECT_EQ(copy.GetText("fresh"), "");
}

TEST(FailedJsonDoc, StaysUnusable) {
    JsonDoc doc(nullptr);
    EXPECT_FALSE(doc.Load("{}"));
    EXPECT_EQ(doc.ToJson(), "");
    EXPECT_EQ(doc.GetText("a"), "");
    EXPECT_EQ(doc.GetText("a", true), "");
    EXPECT_EQ(doc.GetNumber("a"), 0);
    EXPECT_EQ(doc.Count(), 0);
    EXPECT_FALSE(doc.Has("a"));
    EXPECT_EQ(doc.TypeOf(), JsonType::Other);
    std::vector<std::string> keys{"stale"};
    EXPECT_EQ(doc.Keys(keys), 0);
    EXPECT_TRUE(keys.empty());
    doc.SetText("a", "b");
    doc.Clear();
    EXPECT_EQ(doc.GetDoc("a").ToJson(), "null");
}

}  // namespace
}  // namespace korvane::script
