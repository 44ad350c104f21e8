#include <QApplication>
#include <QPointer>
#include <chrono>
#include <string>
#include <vector>

#include "app/app_constants.h"
#include "app/client_seams.h"
#include "app/globals.h"
#include "app/login_window.h"
#include "app/main_window.h"
#include "app/startup.h"
#include "app_test_support.h"
#include "loopback_server.h"
#include "service/authcode.h"
#include "ui/button_ex.h"
#include "ui/editbox_ex.h"

namespace korvane::app {
namespace {

using net::testing::LoopbackServer;
using net::testing::Reply;
using testing::Local;

constexpr const char* kNoticeTarget = "/index.php/api/Software/getInfo";
constexpr const char* kLoginTarget = "/index.php/api/User/login";
constexpr const char* kOtherKey = "0123456789abcdefghij0123456789ABCDEFGHIJ";
constexpr std::size_t kHugeReply = std::size_t{50} << 20;
// The transport gives up on a silent server after 20 s; the rest is room for a slow machine.
constexpr auto kBound = std::chrono::seconds(60);

constexpr const char* kSignedIn = R"({"code":"608","data":{"token":"t-ok","notice":"forged"}})";
constexpr const char* kNotice = R"({"code":"200","data":{"notice":"n"}})";

Reply Encrypted(std::string_view json, std::string_view key = kApplicationKey) {
    Reply reply;
    reply.body = service::AuthcodeEncode(json, key);
    return reply;
}

// A sign-in window against a loopback account service that can be made to misbehave and
// recover, as a real one would between two clicks.
class ServiceFaultTest : public testing::ClientTest {
  protected:
    void SetUp() override {
        ClientTest::SetUp();
        ASSERT_TRUE(service_.Listening());
        Seams().serviceUrl = service_.Url("/");
    }

    // A fresh login window that has shown its notice; the session values start empty.
    LoginWindow& OpenLogin() {
        for (MainWindow* window : testing::OpenWindows<MainWindow>()) {
            delete window;
        }
        delete login_.data();
        ExitCleanup();
        CreateGlobals();
        systemMessages_.clear();
        login_ = new LoginWindow();
        login_->setAttribute(Qt::WA_DeleteOnClose);
        login_->show();
        login_->OnCreated();
        Type("编辑框EX1", "alice");
        Type("编辑框EX2", "pw-1");
        return *login_;
    }

    void Type(const char* box, const char* utf8) {
        auto& edit = login_->Control<ui::EditboxEx>(box);
        edit.setFocus(Qt::MouseFocusReason);
        edit.SetTextQ(QString::fromUtf8(utf8));
    }

    // Presses "登录"; how long the handler took.
    std::chrono::steady_clock::duration SignIn() {
        const auto start = std::chrono::steady_clock::now();
        testing::Click(login_->Control<ui::ButtonEx>("按钮EX3"));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return std::chrono::steady_clock::now() - start;
    }

    // Nothing was shown, nobody is signed in, and the window still takes input.
    void ExpectNothingChanged() {
        EXPECT_TRUE(systemMessages_.empty());
        EXPECT_EQ(CurrentUser, "");
        EXPECT_EQ(CurrentPassword, "");
        EXPECT_EQ(CurrentToken, "");
        EXPECT_EQ(ServiceResponse->GetText("code"), "");
        EXPECT_TRUE(testing::OpenWindows<MainWindow>().empty());
        ASSERT_FALSE(login_.isNull());
        EXPECT_TRUE(login_->isVisible());
        EXPECT_TRUE(login_->Control<ui::ButtonEx>("按钮EX3").isEnabled());
        EXPECT_EQ(login_->Control<ui::EditboxEx>("编辑框EX1").Text(), "alice");
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    }

    // The service has recovered: the same window signs in.
    void ExpectSignInWorks() {
        service_.Answer(kLoginTarget, Encrypted(kSignedIn));
        SignIn();
        EXPECT_TRUE(login_.isNull());
        EXPECT_EQ(CurrentUser, "alice");
        EXPECT_EQ(CurrentToken, "t-ok");
        EXPECT_EQ(testing::OpenWindows<MainWindow>().size(), 1u);
        EXPECT_TRUE(systemMessages_.empty());
    }

    LoopbackServer service_;
    QPointer<LoginWindow> login_;
};

TEST_F(ServiceFaultTest, BrokenRepliesShowNothingAndTheWindowSignsInAfterwards) {
    const std::string good = service::AuthcodeEncode(kSignedIn, kApplicationKey);
    struct Case {
        const char* name;
        Reply reply;
    };
    std::vector<Case> cases;
    {
        // Half of a reply that would have signed in.
        Reply r;
        r.contentLength = false;
        r.headers = {"Content-Length: " + std::to_string(good.size())};
        r.body = good.substr(0, good.size() / 2);
        r.closeAfter = true;
        cases.push_back({"closes in the middle of the reply", r});
    }
    {
        Reply r;
        r.contentLength = false;
        r.body = "";
        r.extraBytes = kHugeReply;
        cases.push_back({"50 MiB reply", r});
    }
    {
        Reply r;
        r.contentLength = false;
        r.headers = {"Content-Length: " + std::to_string(kHugeReply)};
        r.body = "";
        r.extraBytes = kHugeReply;
        cases.push_back({"50 MiB reply announced", r});
    }
    {
        Reply r;
        static constexpr char kGarbage[] = "\x8f\x00\xff garbage +/== \r\n\x01";
        r.body = std::string(kGarbage, sizeof kGarbage - 1);
        cases.push_back({"garbage", r});
    }
    {
        // Just under the transport's cap: the decoder has to give up on it by itself.
        Reply r;
        r.body = std::string((std::size_t{16} << 20) - 1, 'A');
        cases.push_back({"16 MiB of cipher-like text", r});
    }
    {
        Reply r = Encrypted(kSignedIn);
        std::string& cipher = *r.body;
        char& middle = cipher[cipher.size() / 2];
        middle = middle == 'A' ? 'B' : 'A';
        cases.push_back({"tampered reply", r});
    }
    {
        Reply r;
        r.statusLine = "HTTP/1.1 500 Internal Server Error";
        r.headers = {"Content-Type: text/html"};
        r.body =
            "<html><head><title>500</title></head><body><h1>Internal Server Error</h1>"
            "<p>{\"code\":\"608\"}</p></body></html>";
        cases.push_back({"HTML error page", r});
    }
    cases.push_back({"reply made with another key", Encrypted(kSignedIn, kOtherKey)});

    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        service_.Answer(kNoticeTarget, c.reply);
        service_.Answer(kLoginTarget, c.reply);
        OpenLogin();
        // The notice box still opens, with the heading alone.
        EXPECT_EQ(systemMessages_, std::vector<std::string>{Local("以下为公告内容\r\n")});
        systemMessages_.clear();

        EXPECT_LT(SignIn(), kBound);
        ExpectNothingChanged();
        ExpectSignInWorks();
    }
}

TEST_F(ServiceFaultTest, SilentServiceEndsTheWaitAndShowsNothing) {
    service_.Answer(kNoticeTarget, Encrypted(kNotice));
    Reply silent;
    silent.silent = true;
    service_.Answer(kLoginTarget, silent);
    OpenLogin();
    EXPECT_EQ(systemMessages_, std::vector<std::string>{Local("以下为公告内容\r\nn")});
    systemMessages_.clear();

    EXPECT_LT(SignIn(), kBound);
    ExpectNothingChanged();
    ExpectSignInWorks();
}

}  // namespace
}  // namespace korvane::app
