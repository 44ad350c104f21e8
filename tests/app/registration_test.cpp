#include <QLineEdit>
#include <QPointer>
#include <QTest>
#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "app/client_seams.h"
#include "app/globals.h"
#include "app/login_window.h"
#include "app/main_window.h"
#include "app/message_window.h"
#include "app_test_support.h"
#include "support/dev_service.h"
#include "text/code_page.h"
#include "ui/button_ex.h"
#include "ui/editbox_ex.h"
#include "ui/label_ex.h"
#include "ui/picture_box_ex.h"
#include "ui/window_ex.h"
#include "ui/window_timer.h"
#include "verify/delivery_endpoints.h"
#include "verify/digit_code.h"

namespace korvane::app {
namespace {

using korvane::testing::DevService;
using korvane::testing::JsonValue;
using testing::Click;
using testing::Local;

constexpr const char* kTakenAccount = "taken@example.test";

// A port on loopback where nothing listens.
int ClosedPort() {
    const std::string url = testing::DeadServiceUrl();
    return std::stoi(url.substr(url.rfind(':') + 1));
}

// The registration panel of a login window that has shown its notice, against one devservice
// for the whole suite. Message windows are recorded and closed with OK.
class RegistrationTest : public testing::ClientTest {
  protected:
    struct Shown {
        std::string title;  // UTF-8, as the labels show it
        std::int32_t iconKind = -1;
        std::string text;
        bool overTheLoginWindow = false;
    };

    static void SetUpTestSuite() {
        service_ = std::make_unique<DevService>();
        if (service_->Ok()) {
            service_->CreateAccount(kTakenAccount, "pw-1");
        }
    }
    static void TearDownTestSuite() { service_.reset(); }

    void SetUp() override {
        ClientTest::SetUp();
        ASSERT_TRUE(service_->Ok());
        service_->Post("/admin/reset", "{}");
        Seams().serviceUrl = service_->BaseUrl();
        Seams().deliveryEndpoints = Delivery();
        Seams().runMessageWindow = [this](MessageWindow& message) { Record(message); };
        OpenLogin();
    }

    static verify::DeliveryEndpoints Delivery() {
        verify::DeliveryEndpoints endpoints = verify::CompiledInEndpoints();
        endpoints.smsGatewayUrl = service_->SmsGatewayUrl();
        endpoints.caBundle = service_->CaBundle();
        endpoints.smtpHost = "127.0.0.1";
        endpoints.smtpPort = service_->SmtpPort();
        return endpoints;
    }

    // A fresh login window with the registration panel uncovered.
    void OpenLogin() {
        delete login_.data();
        login_ = new LoginWindow();
        login_->setAttribute(Qt::WA_DeleteOnClose);
        ASSERT_TRUE(testing::ShowActive(*login_));
        login_->OnCreated();
        login_->Control<ui::PictureBoxEx>("图片框EX1").SetLeft(350);
        systemMessages_.clear();
        shown_.clear();
    }

    void Record(MessageWindow& message) {
        Shown shown;
        shown.title =
            text::LocalToUtf8(message.findChild<ui::LabelEx*>(QStringLiteral("标签EX1"))->Text());
        shown.iconKind = MessageIconKind;
        shown.text =
            text::LocalToUtf8(message.findChild<ui::LabelEx*>(QStringLiteral("标签EX2"))->Text());
        shown.overTheLoginWindow =
            MessageOwner.control.data() == &login_->Control<ui::WindowEx>("窗口EX1") && MaskRect &&
            MaskRect->left == 0 && MaskRect->top == 0 && MaskRect->width == 760 &&
            MaskRect->height == 470 && MaskMode == 1 && MaskFilterValue == 0;
        shown_.push_back(shown);
        Click(*message.findChild<ui::ButtonEx*>(QStringLiteral("按钮EX1")));
    }

    ui::EditboxEx& Box(const char* name) { return login_->Control<ui::EditboxEx>(name); }
    ui::ButtonEx& Button(const char* name) { return login_->Control<ui::ButtonEx>(name); }
    ui::WindowTimer& Timer() { return login_->Control<ui::WindowTimer>("时钟1"); }

    // Focuses the box as a click would (its hint goes) and types; nullptr leaves it untouched.
    void Type(const char* box, const char* text) {
        if (text == nullptr) {
            return;
        }
        Box(box).setFocus(Qt::MouseFocusReason);
        QTest::keyClicks(Box(box).Editor(), QString::fromUtf8(text));
    }

    // Presses the button while the focus stays in the box that has it. A mouse click would
    // give the focus to the window first, and an empty box would show its hint again.
    void PressKeepingFocus(const char* button) { Button(button).Click(); }

    void Fill(const char* account, const char* password, const char* repeated, const char* code) {
        Type("编辑框EX3", account);
        Type("编辑框EX4", password);
        Type("编辑框EX6", repeated);
        Type("编辑框EX5", code);
    }

    static std::vector<JsonValue> Requests(std::string_view endpoint) {
        std::vector<JsonValue> found;
        const JsonValue log = service_->GetJson("/admin/requests");
        for (const JsonValue& request : log["requests"].Items()) {
            if (request["endpoint"].String() == endpoint) {
                found.push_back(request);
            }
        }
        return found;
    }

    static std::vector<JsonValue> Delivered(const std::string& kind) {
        const JsonValue records = service_->GetJson("/admin/" + kind);
        return records[kind].Items();
    }

    static std::unique_ptr<DevService> service_;
    QPointer<LoginWindow> login_;
    std::vector<Shown> shown_;
};

std::unique_ptr<DevService> RegistrationTest::service_;

TEST_F(RegistrationTest, ChecksStopTheHandlerBeforeAnyRequest) {
    struct CheckCase {
        const char* password;  // nullptr: the box keeps its hint
        const char* repeated;
        const char* storedCode;
        const char* typedCode;
        const char* message;
    };
    const CheckCase cases[] = {
        // "请输入密码" against "请再次输入密码".
        {nullptr, nullptr, "", nullptr, "两次密码输入不一致！"},
        {"pw-1", "pw-2", "012345", "012345", "两次密码输入不一致！"},
        {"pw-1", "pw-1", "012345", "012346", "验证码错误，请检查！"},
        {"pw-1", "pw-1", "012345", " 012345", "验证码错误，请检查！"},
        {"pw-1", "pw-1", "012345", "12345", "验证码错误，请检查！"},
        // The hint "验证码" is the box's text.
        {"pw-1", "pw-1", "012345", nullptr, "验证码错误，请检查！"},
        {"pw-1", "pw-1", "", nullptr, "验证码错误，请检查！"},
    };
    for (const CheckCase& c : cases) {
        SCOPED_TRACE(std::string(c.message) + " " + (c.typedCode ? c.typedCode : "(hint)"));
        OpenLogin();
        AssignText(VerificationCode, c.storedCode);
        Fill("someone@example.test", c.password, c.repeated, c.typedCode);
        Click(Button("按钮EX1"));

        ASSERT_EQ(shown_.size(), 1u);
        EXPECT_EQ(shown_[0].title, "提示");
        EXPECT_EQ(shown_[0].iconKind, 1);
        EXPECT_EQ(shown_[0].text, c.message);
        EXPECT_TRUE(shown_[0].overTheLoginWindow);
        EXPECT_TRUE(systemMessages_.empty());
        EXPECT_EQ(VerificationCode, c.storedCode);
    }
    EXPECT_TRUE(Requests("User/register").empty());
}

TEST_F(RegistrationTest, ServiceAnswersAreShownInTheirBoxes) {
    struct AnswerCase {
        const char* account;
        const char* code;  // stored and typed; "" leaves the focused box empty
        int replyCode;
        std::vector<std::string> systemMessages;  // UTF-8
        std::vector<std::string> messages;
    };
    const AnswerCase cases[] = {
        {"fresh@example.test",
         "204816",
         203,
         {},
         {"注册成功！\r\n验证码位超级密码，有助于找回您的密码，请妥善保管"}},
        {kTakenAccount, "204816", 201, {"用户已经存在！"}, {}},
        // Before any request the stored code is empty: an empty box passes the check, and
        // the service wants a super password.
        {"other@example.test", "", 202, {"请填写完整！"}, {}},
    };
    for (const AnswerCase& c : cases) {
        SCOPED_TRACE(c.replyCode);
        OpenLogin();
        service_->Post("/admin/reset", "{}");
        AssignText(VerificationCode, c.code);
        Fill(c.account, "pw-9", "pw-9", c.code);
        PressKeepingFocus("按钮EX1");

        std::vector<std::string> systemMessages;
        for (const std::string& text : systemMessages_) {
            systemMessages.push_back(text::LocalToUtf8(text));
        }
        EXPECT_EQ(systemMessages, c.systemMessages);
        std::vector<std::string> messages;
        for (const Shown& shown : shown_) {
            messages.push_back(shown.text);
            EXPECT_EQ(shown.title, "提示");
            EXPECT_EQ(shown.iconKind, 2);
            EXPECT_TRUE(shown.overTheLoginWindow);
        }
        EXPECT_EQ(messages, c.messages);

        const std::vector<JsonValue> requests = Requests("User/register");
        ASSERT_EQ(requests.size(), 1u);
        EXPECT_EQ(requests[0]["code"].Number(), c.replyCode);
        EXPECT_EQ(requests[0]["payload"]["super_password"].String(), c.code);
        EXPECT_EQ(ServiceResponse->GetText("code"), "");
        EXPECT_EQ(VerificationCode, c.code);
        EXPECT_FALSE(login_.isNull());
    }
}

TEST_F(RegistrationTest, MailedCodeRegistersTheAccountWithoutSigningIn) {
    Type("编辑框EX3", "new.user@example.test");
    Click(Button("按钮EX4"));
    const std::vector<JsonValue> mail = Delivered("mail");
    ASSERT_EQ(mail.size(), 1u);
    const std::string code = mail[0]["code"].String();
    EXPECT_EQ(code, VerificationCode);
    EXPECT_EQ(systemMessages_, std::vector<std::string>{Local("真")});

    Fill(nullptr, "Secret-7", "Secret-7", code.c_str());
    Click(Button("按钮EX1"));

    ASSERT_EQ(shown_.size(), 1u);
    EXPECT_EQ(shown_[0].iconKind, 2);
    const std::vector<JsonValue> requests = Requests("User/register");
    ASSERT_EQ(requests.size(), 1u);
    const JsonValue& payload = requests[0]["payload"];
    std::vector<std::string> members = payload.Names();
    std::sort(members.begin(), members.end());
    EXPECT_EQ(members, (std::vector<std::string>{"comment", "password", "super_password",
                                                 "user_data", "username"}));
    EXPECT_EQ(payload["username"].String(), "new.user@example.test");
    EXPECT_EQ(payload["password"].String(), "Secret-7");
    EXPECT_EQ(payload["super_password"].String(), code);
    EXPECT_EQ(payload["comment"].String(), "Normal User");
    EXPECT_EQ(payload["user_data"].String(), "");
    EXPECT_EQ(requests[0]["code"].Number(), 203);

    // Signing in is a separate step; the fields and the code stay for another attempt.
    EXPECT_EQ(CurrentUser, "");
    EXPECT_EQ(CurrentToken, "");
    EXPECT_TRUE(testing::OpenWindows<MainWindow>().empty());
    EXPECT_TRUE(Requests("User/login").empty());
    EXPECT_TRUE(login_->isVisible());
    EXPECT_EQ(VerificationCode, code);
    EXPECT_EQ(Box("编辑框EX3").Text(), "new.user@example.test");
    EXPECT_EQ(Box("编辑框EX5").Text(), code);
    EXPECT_EQ(login_->Control<ui::PictureBoxEx>("图片框EX1").Left(), 350);
}

TEST_F(RegistrationTest, RepliesOutsideTheTableShowNothing) {
    const char* replies[] = {R"({"code":"777","data":{}})", R"({"code":"2030","data":{}})",
                             "not json", nullptr};
    for (const char* reply : replies) {
        SCOPED_TRACE(reply ? reply : "(no reply)");
        std::unique_ptr<testing::CannedService> canned;
        if (reply != nullptr) {
            canned = std::make_unique<testing::CannedService>(reply);
            Seams().serviceUrl = canned->BaseUrl();
        } else {
            Seams().serviceUrl = testing::DeadServiceUrl();
        }
        OpenLogin();
        AssignText(VerificationCode, "111111");
        Fill("someone@example.test", "pw", "pw", "111111");
        Click(Button("按钮EX1"));
        EXPECT_TRUE(systemMessages_.empty());
        EXPECT_TRUE(shown_.empty());
        EXPECT_EQ(ServiceResponse->GetText("code"), "");
    }
}

TEST_F(RegistrationTest, CodeButtonSendsThroughTheBoxesChannel) {
    enum class Channel { kNone, kSms, kMail };
    struct RequestCase {
        const char* account;  // nullptr: the box keeps its hint; "": focused and empty
        Channel channel;
        const char* warning;  // nullptr: none
    };
    const RequestCase cases[] = {
        {"", Channel::kNone, "请输入手机号/邮箱"},
        {nullptr, Channel::kNone, "手机号格式错误！"},
        {"someone@example.test", Channel::kMail, nullptr},
        {"13800138000", Channel::kSms, nullptr},
    };
    for (const RequestCase& c : cases) {
        SCOPED_TRACE(c.account ? c.account : "(hint)");
        OpenLogin();
        service_->Post("/admin/reset", "{}");
        AssignText(VerificationCode, "kept");
        Type("编辑框EX3", c.account);
        PressKeepingFocus("按钮EX4");

        const bool empty = c.account != nullptr && *c.account == '\0';
        if (empty) {
            EXPECT_EQ(VerificationCode, "kept");
        } else {
            EXPECT_EQ(VerificationCode.size(), 6u);
            EXPECT_TRUE(verify::IsDigitsOnly(VerificationCode)) << VerificationCode;
        }
        if (c.warning != nullptr) {
            ASSERT_EQ(shown_.size(), 1u);
            EXPECT_EQ(shown_[0].title, "警告");
            EXPECT_EQ(shown_[0].iconKind, 3);
            EXPECT_EQ(shown_[0].text, c.warning);
            EXPECT_TRUE(shown_[0].overTheLoginWindow);
            EXPECT_EQ(Timer().Period(), 0);
        } else {
            EXPECT_TRUE(shown_.empty());
            EXPECT_EQ(Timer().Period(), 1000);
        }
        // The button changes with the first tick, not before.
        EXPECT_TRUE(Button("按钮EX4").isEnabled());
        EXPECT_EQ(Button("按钮EX4").Caption(), Local("获取验证码"));

        const std::vector<JsonValue> mail = Delivered("mail");
        const std::vector<JsonValue> sms = Delivered("sms");
        ASSERT_EQ(mail.size(), c.channel == Channel::kMail ? 1u : 0u);
        ASSERT_EQ(sms.size(), c.channel == Channel::kSms ? 1u : 0u);
        if (c.channel == Channel::kMail) {
            EXPECT_EQ(systemMessages_, std::vector<std::string>{Local("真")});
            ASSERT_EQ(mail[0]["to"].Items().size(), 1u);
            EXPECT_EQ(mail[0]["to"][0].String(), c.account);
            EXPECT_EQ(mail[0]["code"].String(), VerificationCode);
        } else {
            EXPECT_TRUE(systemMessages_.empty());
        }
        if (c.channel == Channel::kSms) {
            EXPECT_EQ(sms[0]["m"].String(), c.account);
            EXPECT_EQ(sms[0]["code"].String(), VerificationCode);
        }
    }
}

TEST_F(RegistrationTest, FailedDeliveryWarnsAndStartsNoCountdown) {
    verify::DeliveryEndpoints unreachable = Delivery();
    unreachable.smsGatewayUrl = "https://127.0.0.1:" + std::to_string(ClosedPort());
    unreachable.smtpPort = ClosedPort();
    Seams().deliveryEndpoints = unreachable;
    struct FailureCase {
        const char* account;
        std::vector<std::string> systemMessages;  // UTF-8
    };
    const FailureCase cases[] = {
        {"someone@example.test", {"假"}},
        {"13800138000", {}},
    };
    for (const FailureCase& c : cases) {
        SCOPED_TRACE(c.account);
        OpenLogin();
        Type("编辑框EX3", c.account);
        Click(Button("按钮EX4"));

        std::vector<std::string> systemMessages;
        for (const std::string& text : systemMessages_) {
            systemMessages.push_back(text::LocalToUtf8(text));
        }
        EXPECT_EQ(systemMessages, c.systemMessages);
        ASSERT_EQ(shown_.size(), 1u);
        EXPECT_EQ(shown_[0].title, "警告");
        EXPECT_EQ(shown_[0].iconKind, 3);
        EXPECT_EQ(shown_[0].text, "验证码发送失败，请稍后重试！");
        EXPECT_EQ(Timer().Period(), 0);
        EXPECT_TRUE(Button("按钮EX4").isEnabled());
        EXPECT_EQ(VerificationCode.size(), 6u);
    }
}

TEST_F(RegistrationTest, CountdownCaptionsFollowTheTimersTicks) {
    Type("编辑框EX3", "13800138000");
    Click(Button("按钮EX4"));
    ASSERT_EQ(Timer().Period(), 1000);

    struct TickCase {
        int tick;
        const char* caption;
        bool enabled;
        int period;
    };
    const TickCase cases[] = {
        {1, "59s", false, 1000},
        {30, "30s", false, 1000},
        {59, "1s", false, 1000},
        {60, "获取验证码", true, 0},
    };
    int ticks = 0;
    for (const TickCase& c : cases) {
        SCOPED_TRACE(c.tick);
        // The timer's own signal, as its period would deliver it.
        while (ticks < c.tick) {
            emit Timer().tick();
            ++ticks;
        }
        EXPECT_EQ(Button("按钮EX4").Caption(), Local(c.caption));
        EXPECT_EQ(Button("按钮EX4").isEnabled(), c.enabled);
        EXPECT_EQ(Timer().Period(), c.period);
        EXPECT_EQ(CountdownTicks, c.tick % 60);
    }
}

}  // namespace
}  // namespace korvane::app
