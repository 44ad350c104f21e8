#include "verify/email_sender.h"

#include <gtest/gtest.h>

#include "text/code_page.h"
#include "verify_fixture.h"

namespace korvane::verify {
namespace {

using SendCodeByEmailTest = DeliveryTest;

TEST_F(SendCodeByEmailTest, TheServerReceivesOneChineseMailToTheAddressOnly) {
    std::vector<std::string> shown;
    const auto show = [&shown](const std::string& text) {
        shown.push_back(text::LocalToUtf8(text));
    };
    EXPECT_TRUE(SendCodeByEmail(Endpoints(), "user@example.test", "012345", show));
    EXPECT_EQ(shown, std::vector<std::string>{"真"});

    const auto mail = Records("mail");
    ASSERT_EQ(mail.size(), 1u);
    EXPECT_EQ(mail[0]["from"].String(), CompiledInEndpoints().mailSender);
    ASSERT_EQ(mail[0]["to"].size(), 1u);
    EXPECT_EQ(mail[0]["to"][0].String(), "user@example.test");
    EXPECT_EQ(mail[0]["subject"].String(), "Korvane注册验证");
    EXPECT_EQ(mail[0]["body"].String(), "感谢您使用Korvane的网络映射服务，您的验证码为：012345");
    const std::string& raw = mail[0]["raw"].String();
    EXPECT_NE(raw.find("\r\nSubject: =?UTF-8?B?"), std::string::npos);
    EXPECT_EQ(raw.find("\r\nCc:"), std::string::npos);
    EXPECT_EQ(raw.find("\r\nBcc:"), std::string::npos);
}

TEST_F(SendCodeByEmailTest, RefusedConnectionShowsFalseAndFails) {
    DeliveryEndpoints refused = Endpoints();
    refused.smtpPort = ClosedLoopbackPort();
    std::vector<std::string> shown;
    const auto show = [&shown](const std::string& text) {
        shown.push_back(text::LocalToUtf8(text));
    };
    EXPECT_FALSE(SendCodeByEmail(refused, "user@example.test", "012345", show));
    EXPECT_EQ(shown, std::vector<std::string>{"假"});
    EXPECT_EQ(Records("mail").size(), 0u);
}

}  // namespace
}  // namespace korvane::verify
