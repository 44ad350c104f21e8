#include "verify/code_request.h"

#include <gtest/gtest.h>

#include "text/code_page.h"
#include "verify/digit_code.h"
#include "verify_fixture.h"

namespace korvane::verify {
namespace {

using text::Utf8ToLocal;

enum class Channel { kNone, kSms, kMail };

using RequestCodeTest = DeliveryTest;

TEST_F(RequestCodeTest, TheBoxTextChoosesTheChannel) {
    const struct {
        std::string box;  // client text
        bool digitsOnly;
        Channel channel;
        const char* warning;  // nullptr: none
        bool newCode;
    } cases[] = {
        {"", false, Channel::kNone, "请输入手机号/邮箱", false},
        {Utf8ToLocal("请输入手机号/邮箱"), false, Channel::kNone, "手机号格式错误！", true},
        {"1", true, Channel::kSms, nullptr, true},
        {"13800138000", true, Channel::kSms, nullptr, true},
        {"12@x", false, Channel::kMail, nullptr, true},
        {"a@b", false, Channel::kMail, nullptr, true},
        {Utf8ToLocal("１３８００１３８０００"), false, Channel::kNone, "手机号格式错误！", true},
        {" 13800138000 ", false, Channel::kNone, "手机号格式错误！", true},
        // 0x40 here is the second byte of a double-byte character, not an "@".
        {"\x81\x40", false, Channel::kNone, "手机号格式错误！", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(text::LocalToUtf8(c.box));
        Service().Post("/admin/reset", "{}");
        EXPECT_EQ(IsDigitsOnly(c.box), c.digitsOnly);

        RecordingView view;
        view.accountText = c.box;
        std::string code = "kept";
        RequestCode(view, code, Endpoints());

        if (c.newCode) {
            EXPECT_EQ(code.size(), 6u);
            EXPECT_TRUE(IsDigitsOnly(code)) << code;
        } else {
            EXPECT_EQ(code, "kept");
        }
        if (c.warning != nullptr) {
            ASSERT_EQ(view.messages.size(), 1u);
            EXPECT_EQ(view.messages[0].title, "警告");
            EXPECT_EQ(view.messages[0].iconKind, 3);
            EXPECT_EQ(view.messages[0].text, c.warning);
            EXPECT_TRUE(view.timerPeriods.empty());
        } else {
            EXPECT_TRUE(view.messages.empty());
            EXPECT_EQ(view.timerPeriods, std::vector<std::int32_t>{1000});
        }
        // The button waits for the first tick.
        EXPECT_TRUE(view.buttonEnabled.empty());
        EXPECT_TRUE(view.captions.empty());

        const auto sms = Records("sms");
        const auto mail = Records("mail");
        ASSERT_EQ(sms.size(), c.channel == Channel::kSms ? 1u : 0u);
        ASSERT_EQ(mail.size(), c.channel == Channel::kMail ? 1u : 0u);
        if (c.channel == Channel::kSms) {
            EXPECT_EQ(sms[0]["m"].String(), c.box);
            EXPECT_EQ(sms[0]["code"].String(), code);
        }
        if (c.channel == Channel::kMail) {
            EXPECT_EQ(view.systemMessages, std::vector<std::string>{"真"});
            ASSERT_EQ(mail[0]["to"].size(), 1u);
            EXPECT_EQ(mail[0]["to"][0].String(), c.box);
            EXPECT_EQ(mail[0]["code"].String(), code);
        } else {
            EXPECT_TRUE(view.systemMessages.empty());
        }
    }
}

TEST_F(RequestCodeTest, OnlyTheSecondOfTwoClicksCodesIsKept) {
    RecordingView view;
    view.accountText = "13800138000";
    std::string code;
    RequestCode(view, code, Endpoints());
    RequestCode(view, code, Endpoints());

    const auto sms = Records("sms");
    ASSERT_EQ(sms.size(), 2u);
    EXPECT_EQ(sms[1]["code"].String(), code);
    EXPECT_EQ(view.timerPeriods, (std::vector<std::int32_t>{1000, 1000}));
}

TEST_F(RequestCodeTest, FailedDeliveryWarnsAndStartsNoCountdown) {
    DeliveryEndpoints unreachable = Endpoints();
    unreachable.smsGatewayUrl = "https://127.0.0.1:" + std::to_string(ClosedLoopbackPort());
    unreachable.smtpPort = ClosedLoopbackPort();
    const struct {
        const char* box;
        std::vector<std::string> systemMessages;
    } cases[] = {
        {"13800138000", {}},
        {"user@example.test", {"假"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.box);
        RecordingView view;
        view.accountText = c.box;
        std::string code;
        RequestCode(view, code, unreachable);

        EXPECT_EQ(code.size(), 6u);
        EXPECT_EQ(view.systemMessages, c.systemMessages);
        ASSERT_EQ(view.messages.size(), 1u);
        EXPECT_EQ(view.messages[0].title, "警告");
        EXPECT_EQ(view.messages[0].iconKind, 3);
        EXPECT_EQ(view.messages[0].text, "验证码发送失败，请稍后重试！");
        EXPECT_TRUE(view.timerPeriods.empty());
    }
}

}  // namespace
}  // namespace korvane::verify
