// The cipher against devservice's own implementation, in both directions.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "service/service_client.h"
#include "service_test_support.h"
#include "text/code_page.h"

namespace korvane::service {
namespace {

using korvane::testing::DevService;
using korvane::testing::JsonQuote;
using testing::ReceivedRequests;
using testing::ReplyMember;
using text::Utf8ToLocal;

// UTF-8 texts covering every Base64 remainder, Chinese, and JSON's escapes.
std::vector<std::string> Texts() {
    std::vector<std::string> texts;
    std::string ascii;
    for (int n = 0; n < 8; ++n) {
        texts.push_back(ascii);
        ascii.push_back(static_cast<char>('a' + n));
    }
    texts.push_back("中");
    texts.push_back("中文");
    texts.push_back("账号服务公告：今晚二十二点维护，约三十分钟。");
    texts.push_back(R"(quote " backslash \ slash / plus + amp & eq =)");
    texts.push_back(std::string(300, 'x') + "尾");
    return texts;
}

class AuthcodeInteropTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(service_.Ok());
        client_.Init(testing::kApplicationId, service_.BaseUrl(), testing::kApplicationKey);
    }

    DevService service_;
    ServiceClient client_;
};

TEST_F(AuthcodeInteropTest, ClientEncodesServiceDecodes) {
    const auto texts = Texts();
    for (const auto& utf8 : texts) {
        client_.Request("User/login", Utf8ToLocal(utf8));
    }
    const auto received = ReceivedRequests(service_);
    ASSERT_EQ(received.size(), texts.size());
    for (std::size_t i = 0; i < texts.size(); ++i) {
        EXPECT_EQ(received[i]["payload_text"].String(), texts[i]);
    }
}

// Replies with non-ASCII text as JSON escapes and as raw UTF-8 bytes.
TEST_F(AuthcodeInteropTest, ServiceEncodesClientDecodes) {
    for (const bool raw : {false, true}) {
        for (const auto& utf8 : Texts()) {
            SCOPED_TRACE((raw ? "raw: " : "escaped: ") + utf8);
            service_.Post("/admin/config", std::string("{\"raw_utf8\":") +
                                               (raw ? "true" : "false") +
                                               ",\"notice\":" + JsonQuote(utf8) + "}");
            const std::string reply = client_.GetInfo();
            EXPECT_EQ(ReplyMember(reply, "code"), "200");
            EXPECT_EQ(ReplyMember(reply, "data.notice"), Utf8ToLocal(utf8));
        }
    }
}

}  // namespace
}  // namespace korvane::service
