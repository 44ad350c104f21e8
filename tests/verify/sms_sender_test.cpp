#include "verify/sms_sender.h"

#include <gtest/gtest.h>

#include "verify_fixture.h"

namespace korvane::verify {
namespace {

constexpr const char* kQueryBeforeText =
    "u=Korvane&p=c4e1a97b03d8f25e6a0b14c9d7f38e52&m=13800138000&c=";
// The message of code 012345: "【Korvane】您正在进行手机认证，验证码012345，5分钟内有效".
constexpr const char* kEncodedText =
    "%E3%80%90Korvane%E3%80%91%E6%82%A8%E6%AD%A3%E5%9C%A8%E8%BF%9B%E8%A1%8C%E6%89%8B%E6%9C%BA"
    "%E8%AE%A4%E8%AF%81%EF%BC%8C%E9%AA%8C%E8%AF%81%E7%A0%81"
    "012345"
    "%EF%BC%8C5%E5%88%86%E9%92%9F%E5%86%85%E6%9C%89%E6%95%88";

TEST(SmsRequestUrl, CarriesTheAccountThePhoneAndTheEncodedText) {
    const std::string expected =
        std::string("https://sms.example:8443/sms?") + kQueryBeforeText + kEncodedText;
    EXPECT_EQ(SmsRequestUrl("https://sms.example:8443", "13800138000", "012345"), expected);
    EXPECT_EQ(SmsRequestUrl("https://sms.example:8443/", "13800138000", "012345"), expected);
}

using SendCodeBySmsTest = DeliveryTest;

TEST_F(SendCodeBySmsTest, TheGatewayReceivesExactlyTheQuery) {
    EXPECT_TRUE(SendCodeBySms(Endpoints(), "13800138000", "012345"));
    const auto sms = Records("sms");
    ASSERT_EQ(sms.size(), 1u);
    EXPECT_EQ(sms[0]["query"].String(), std::string(kQueryBeforeText) + kEncodedText);
    EXPECT_EQ(sms[0]["m"].String(), "13800138000");
    EXPECT_EQ(sms[0]["c"].String(), "【Korvane】您正在进行手机认证，验证码012345，5分钟内有效");
}

TEST_F(SendCodeBySmsTest, FailsWhenNoResponseComes) {
    DeliveryEndpoints unreachable = Endpoints();
    unreachable.smsGatewayUrl = "https://127.0.0.1:" + std::to_string(ClosedLoopbackPort());
    EXPECT_FALSE(SendCodeBySms(unreachable, "13800138000", "012345"));

    // The development CA is not among the system's, so the gateway's certificate fails.
    DeliveryEndpoints untrusted = Endpoints();
    untrusted.caBundle = "/etc/ssl/certs/ca-certificates.crt";
    EXPECT_FALSE(SendCodeBySms(untrusted, "13800138000", "012345"));

    EXPECT_EQ(Records("sms").size(), 0u);
}

TEST_F(SendCodeBySmsTest, AnswerOfTheGatewayIsNotExamined) {
    // A refusing gateway still answered: the code left the client.
    EXPECT_TRUE(SendCodeBySms(Endpoints(), "", "012345"));
    EXPECT_EQ(Records("sms").size(), 1u);
}

}  // namespace
}  // namespace korvane::verify
