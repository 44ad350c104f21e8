#include <QApplication>
#include <QPointer>
#include <chrono>
#include <string>
#include <vector>

#include "app/client_seams.h"
#include "app/globals.h"
#include "app/login_window.h"
#include "app/message_window.h"
#include "app_test_support.h"
#include "loopback_server.h"
#include "support/smtp_fault_server.h"
#include "test_certificates.h"
#include "text/code_page.h"
#include "ui/button_ex.h"
#include "ui/editbox_ex.h"
#include "ui/label_ex.h"
#include "ui/picture_box_ex.h"
#include "ui/window_timer.h"
#include "verify/delivery_endpoints.h"

namespace korvane::app {
namespace {

using korvane::testing::SmtpFault;
using korvane::testing::SmtpFaultServer;
using net::testing::LoopbackServer;
using net::testing::Reply;
using net::testing::TestPki;

constexpr const char* kPhone = "13800138000";
constexpr const char* kAddress = "someone@example.test";
constexpr std::size_t kHugeReply = std::size_t{50} << 20;
// The gateway request gives up on a silent server after 20 s, the mail server's waits are 3 s
// each; the rest is room for a slow machine.
constexpr auto kBound = std::chrono::seconds(60);

// The code request of a login window against a loopback SMS gateway (https) and a loopback
// mail server that can be made to misbehave and recover. Message windows are recorded in
// UTF-8 and closed with OK.
class DeliveryFaultTest : public testing::ClientTest {
  protected:
    static void SetUpTestSuite() {
        trusted_ = net::testing::MakeTestPki("localhost");
        misnamed_ = net::testing::MakeTestPki("gateway.other.test");
        stranger_ = net::testing::MakeTestPki("localhost");
        trustedCa_ = net::testing::WritePemFile("korvane-fault-trusted-ca.pem", trusted_.caPem);
        misnamedCa_ = net::testing::WritePemFile("korvane-fault-misnamed-ca.pem", misnamed_.caPem);
        strangerCa_ = net::testing::WritePemFile("korvane-fault-stranger-ca.pem", stranger_.caPem);
    }

    void SetUp() override {
        ClientTest::SetUp();
        ASSERT_FALSE(trusted_.caPem.empty());
        ASSERT_FALSE(misnamed_.caPem.empty());
        ASSERT_FALSE(stranger_.caPem.empty());
        gateway_ = std::make_unique<LoopbackServer>(&trusted_.server);
        ASSERT_TRUE(gateway_->Listening());
        ASSERT_TRUE(mail_.Listening());
        Seams().serviceUrl = testing::DeadServiceUrl();
        Seams().deliveryEndpoints = Endpoints(*gateway_, trustedCa_);
        Seams().runMessageWindow = [this](MessageWindow& message) { Record(message); };
    }

    verify::DeliveryEndpoints Endpoints(const LoopbackServer& gateway, const std::string& ca) {
        verify::DeliveryEndpoints endpoints = verify::CompiledInEndpoints();
        endpoints.smsGatewayUrl = "https://localhost:" + std::to_string(gateway.Port());
        endpoints.caBundle = ca;
        endpoints.smtpHost = "127.0.0.1";
        endpoints.smtpPort = mail_.Port();
        return endpoints;
    }

    void Record(MessageWindow& message) {
        auto label = [&message](const char* name) {
            return text::LocalToUtf8(
                message.findChild<ui::LabelEx*>(QString::fromUtf8(name))->Text());
        };
        shown_.push_back(label("标签EX1") + "|" + label("标签EX2"));
        testing::Click(*message.findChild<ui::ButtonEx*>(QStringLiteral("按钮EX1")));
    }

    // A fresh login window with the registration panel uncovered and `account` typed.
    void OpenLogin(const char* account) {
        delete login_.data();
        login_ = new LoginWindow();
        login_->setAttribute(Qt::WA_DeleteOnClose);
        login_->show();
        login_->OnCreated();
        login_->Control<ui::PictureBoxEx>("图片框EX1").SetLeft(350);
        auto& box = login_->Control<ui::EditboxEx>("编辑框EX3");
        box.setFocus(Qt::MouseFocusReason);
        box.SetTextQ(QString::fromUtf8(account));
        systemMessages_.clear();
        shown_.clear();
    }

    ui::ButtonEx& CodeButton() { return login_->Control<ui::ButtonEx>("按钮EX4"); }
    int CountdownPeriod() { return login_->Control<ui::WindowTimer>("时钟1").Period(); }

    // Presses "获取验证码"; how long the handler took.
    std::chrono::steady_clock::duration RequestCode() {
        const auto start = std::chrono::steady_clock::now();
        testing::Click(CodeButton());
        return std::chrono::steady_clock::now() - start;
    }

    std::vector<std::string> SystemMessagesUtf8() const {
        std::vector<std::string> texts;
        for (const std::string& text : systemMessages_) {
            texts.push_back(text::LocalToUtf8(text));
        }
        return texts;
    }

    // The failure warning and nothing that looks like success; the window takes input.
    void ExpectFailureShown() {
        EXPECT_EQ(shown_, std::vector<std::string>{"警告|验证码发送失败，请稍后重试！"});
        EXPECT_EQ(CountdownPeriod(), 0);
        EXPECT_TRUE(CodeButton().isEnabled());
        EXPECT_EQ(CodeButton().Caption(), testing::Local("获取验证码"));
        EXPECT_EQ(VerificationCode.size(), 6u);
        ASSERT_FALSE(login_.isNull());
        EXPECT_TRUE(login_->isVisible());
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    }

    // The same window, pressed again once the peer works, sends and starts the countdown.
    void ExpectRequestWorks(const std::vector<std::string>& systemMessages) {
        systemMessages_.clear();
        shown_.clear();
        RequestCode();
        EXPECT_EQ(SystemMessagesUtf8(), systemMessages);
        EXPECT_TRUE(shown_.empty());
        EXPECT_EQ(CountdownPeriod(), 1000);
    }

    static inline TestPki trusted_;
    static inline TestPki misnamed_;
    static inline TestPki stranger_;
    static inline std::string trustedCa_;
    static inline std::string misnamedCa_;
    static inline std::string strangerCa_;

    std::unique_ptr<LoopbackServer> gateway_;
    SmtpFaultServer mail_;
    QPointer<LoginWindow> login_;
    std::vector<std::string> shown_;  // "title|text"
};

TEST_F(DeliveryFaultTest, GatewayFaultsWarnAndTheWindowSendsAfterwards) {
    LoopbackServer misnamedGateway(&misnamed_.server);
    ASSERT_TRUE(misnamedGateway.Listening());
    Reply cut;
    cut.contentLength = false;
    cut.headers = {"Content-Length: 1000"};
    cut.body = "OK";
    cut.closeAfter = true;
    Reply huge;
    huge.contentLength = false;
    huge.body = "";
    huge.extraBytes = kHugeReply;
    struct Case {
        const char* name;
        const LoopbackServer& gateway;
        std::string caBundle;
        Reply reply;
        bool trusted;
    };
    const Case cases[] = {
        {"closes in the middle of the reply", *gateway_, trustedCa_, cut, true},
        {"50 MiB reply", *gateway_, trustedCa_, huge, true},
        {"certificate for another host", misnamedGateway, misnamedCa_, Reply{}, false},
        {"certificate from an unknown CA", *gateway_, strangerCa_, Reply{}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        gateway_->AnswerOthers(c.reply);
        Seams().deliveryEndpoints = Endpoints(c.gateway, c.caBundle);
        const std::size_t before = c.gateway.Received().size();
        OpenLogin(kPhone);

        EXPECT_LT(RequestCode(), kBound);
        EXPECT_TRUE(systemMessages_.empty());
        ExpectFailureShown();
        if (!c.trusted) {
            // A gateway the client cannot trust never sees the request.
            EXPECT_EQ(c.gateway.Received().size(), before);
        }

        gateway_->AnswerOthers(Reply{});
        Seams().deliveryEndpoints = Endpoints(*gateway_, trustedCa_);
        ExpectRequestWorks({});
        const auto received = gateway_->Received();
        ASSERT_FALSE(received.empty());
        EXPECT_NE(received.back().requestLine.find(std::string("&m=") + kPhone + "&c="),
                  std::string::npos);
    }
}

TEST_F(DeliveryFaultTest, SilentGatewayEndsTheWaitAndWarns) {
    Reply silent;
    silent.silent = true;
    gateway_->AnswerOthers(silent);
    OpenLogin(kPhone);
    EXPECT_LT(RequestCode(), kBound);
    EXPECT_TRUE(systemMessages_.empty());
    ExpectFailureShown();

    gateway_->AnswerOthers(Reply{});
    ExpectRequestWorks({});
}

TEST_F(DeliveryFaultTest, MailServerFaultsWarnAndTheWindowSendsAfterwards) {
    struct Case {
        const char* name;
        SmtpFault fault;
        const char* connectResult;  // what the system message box says
    };
    const Case cases[] = {
        {"never greets", SmtpFault::kNeverGreets, "假"},
        {"50 MiB greeting", SmtpFault::kHugeGreeting, "假"},
        {"refuses AUTH", SmtpFault::kRefusesAuth, "假"},
        {"drops the connection after MAIL FROM", SmtpFault::kDropsAfterMailFrom, "真"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        mail_.SetFault(c.fault);
        OpenLogin(kAddress);
        const std::size_t mails = mail_.Mails().size();

        EXPECT_LT(RequestCode(), kBound);
        EXPECT_EQ(SystemMessagesUtf8(), std::vector<std::string>{c.connectResult});
        ExpectFailureShown();
        EXPECT_EQ(mail_.Mails().size(), mails);

        mail_.SetFault(SmtpFault::kNone);
        ExpectRequestWorks({"真"});
        const std::vector<std::string> taken = mail_.Mails();
        ASSERT_EQ(taken.size(), mails + 1);
        EXPECT_NE(taken.back().find(std::string("\r\nTo: ") + kAddress + "\r\n"),
                  std::string::npos);
    }
}

}  // namespace
}  // namespace korvane::app
