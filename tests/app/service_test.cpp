#include <QApplication>
#include <QLineEdit>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <memory>

#include "app/client_seams.h"
#include "app/globals.h"
#include "app/login_window.h"
#include "app/main_window.h"
#include "app/startup.h"
#include "app_test_support.h"
#include "support/dev_service.h"
#include "ui/button_ex.h"
#include "ui/editbox_ex.h"
#include "ui/imagebutton_ex.h"
#include "ui/label_ex.h"
#include "ui/picture_box_ex.h"

namespace korvane::app {
namespace {

using korvane::testing::DevService;
using korvane::testing::JsonQuote;
using korvane::testing::JsonValue;
using testing::Local;

// One devservice for the whole suite, with an account, a frozen account and a fresh request
// log for every test.
class ServiceTest : public testing::ClientTest {
  protected:
    static void SetUpTestSuite() {
        service_ = std::make_unique<DevService>();
        if (service_->Ok()) {
            service_->CreateAccount("alice", "pw-1");
            service_->CreateAccount("冻结用户", "pw-2");
            service_->Freeze("冻结用户");
        }
    }
    static void TearDownTestSuite() { service_.reset(); }

    void SetUp() override {
        ClientTest::SetUp();
        ASSERT_TRUE(service_->Ok());
        service_->Post("admin/reset", "{}");
        service_->Post("admin/config", "{\"notice\":\"n\",\"raw_utf8\":false}");
        Seams().serviceUrl = service_->BaseUrl();
    }

    // Requests devservice received for `endpoint`, oldest first.
    static std::vector<JsonValue> Requests(std::string_view endpoint) {
        std::vector<JsonValue> found;
        const JsonValue log = service_->GetJson("admin/requests");
        for (const JsonValue& request : log["requests"].Items()) {
            if (request["endpoint"].String() == endpoint) {
                found.push_back(request);
            }
        }
        return found;
    }

    // A login window that has shown its notice, as at start-up.
    LoginWindow& OpenLogin() {
        login_ = new LoginWindow();
        login_->setAttribute(Qt::WA_DeleteOnClose);
        login_->show();
        login_->OnCreated();
        systemMessages_.clear();
        return *login_;
    }

    void Type(const char* box, const char* utf8) {
        auto& edit = login_->Control<ui::EditboxEx>(box);
        edit.setFocus(Qt::MouseFocusReason);
        edit.SetTextQ(QString::fromUtf8(utf8));
    }

    static std::unique_ptr<DevService> service_;
    QPointer<LoginWindow> login_;
};

std::unique_ptr<DevService> ServiceTest::service_;

TEST_F(ServiceTest, NoticeShowsTheServiceText) {
    struct NoticeCase {
        const char* notice;
        bool rawUtf8;
    };
    const NoticeCase cases[] = {
        {"今日22点至23点维护", false},
        {"引号\"、反斜杠\\和换行\n都原样显示", true},
        {"", false},
    };
    for (const NoticeCase& c : cases) {
        service_->Post("admin/config", "{\"notice\":" + JsonQuote(c.notice) +
                                           ",\"raw_utf8\":" + (c.rawUtf8 ? "true" : "false") + "}");
        systemMessages_.clear();
        CountdownTicks = 5;
        LoginWindow window;
        window.OnCreated();
        EXPECT_EQ(systemMessages_,
                  std::vector<std::string>{Local("以下为公告内容\r\n") + Local(c.notice)});
        EXPECT_EQ(CountdownTicks, 0);
        EXPECT_EQ(ServiceResponse->GetText("code"), "");
    }
    EXPECT_EQ(Requests("Software/getInfo").size(), std::size(cases));
}

TEST_F(ServiceTest, NoticeWithoutReplyShowsTheHeadingAlone) {
    Seams().serviceUrl = testing::DeadServiceUrl();
    CountdownTicks = 5;
    LoginWindow window;
    window.OnCreated();
    EXPECT_EQ(systemMessages_, std::vector<std::string>{Local("以下为公告内容\r\n")});
    EXPECT_EQ(CountdownTicks, 0);
}

TEST_F(ServiceTest, SignInOpensTheMainWindowBeforeClosingTheLoginWindow) {
    LoginWindow& login = OpenLogin();
    Type("编辑框EX1", "alice");
    Type("编辑框EX2", "pw-1");

    bool mainWindowAtDestruction = false;
    QObject::connect(&login, &QObject::destroyed, [&] {
        mainWindowAtDestruction = !testing::OpenWindows<MainWindow>().empty();
    });
    testing::Click(login.Control<ui::ButtonEx>("按钮EX3"));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    EXPECT_TRUE(systemMessages_.empty());
    EXPECT_TRUE(login_.isNull());
    EXPECT_TRUE(mainWindowAtDestruction);
    EXPECT_EQ(CurrentUser, "alice");
    EXPECT_EQ(CurrentPassword, "pw-1");
    const std::vector<JsonValue> logins = Requests("User/login");
    ASSERT_EQ(logins.size(), 1u);
    EXPECT_EQ(logins[0]["code"].Number(), 608);
    EXPECT_EQ(CurrentToken.size(), 32u);
    EXPECT_EQ(ServiceResponse->GetText("code"), "");

    const std::vector<MainWindow*> windows = testing::OpenWindows<MainWindow>();
    ASSERT_EQ(windows.size(), 1u);
    EXPECT_EQ(windows[0]->Control<ui::LabelEx>("标签EX2").Text(), "alice");
    EXPECT_TRUE(windows[0]->isVisible());
}

TEST_F(ServiceTest, FailedSignInsTellWhyAndChangeNothing) {
    struct FailureCase {
        const char* user;
        const char* password;
        int code;
        const char* message;
    };
    const FailureCase cases[] = {
        {"nobody", "pw-1", 601, "用户名不存在！"},
        {"alice", "wrong", 603, "密码错误！"},
        {"冻结用户", "pw-2", 604, "账号已被冻结！"},
    };
    LoginWindow& login = OpenLogin();
    for (const FailureCase& c : cases) {
        systemMessages_.clear();
        service_->Post("admin/reset", "{}");
        Type("编辑框EX1", c.user);
        Type("编辑框EX2", c.password);
        testing::Click(login.Control<ui::ButtonEx>("按钮EX3"));

        EXPECT_EQ(systemMessages_, std::vector<std::string>{Local(c.message)}) << c.code;
        const std::vector<JsonValue> logins = Requests("User/login");
        ASSERT_EQ(logins.size(), 1u);
        EXPECT_EQ(logins[0]["code"].Number(), c.code);
        EXPECT_EQ(logins[0]["payload"]["username"].String(), c.user);
        EXPECT_EQ(logins[0]["payload"]["password"].String(), c.password);
        EXPECT_EQ(CurrentUser, "");
        EXPECT_EQ(CurrentPassword, "");
        EXPECT_EQ(CurrentToken, "");
        EXPECT_FALSE(login_.isNull());
        EXPECT_TRUE(testing::OpenWindows<MainWindow>().empty());
        EXPECT_EQ(login.Control<ui::EditboxEx>("编辑框EX1").Text(), Local(c.user));
    }
}

TEST_F(ServiceTest, UntouchedFieldsSendTheirHints) {
    LoginWindow& login = OpenLogin();
    testing::Click(login.Control<ui::ButtonEx>("按钮EX3"));
    const std::vector<JsonValue> logins = Requests("User/login");
    ASSERT_EQ(logins.size(), 1u);
    EXPECT_EQ(logins[0]["payload"]["username"].String(), "请输入账号");
    EXPECT_EQ(logins[0]["payload"]["password"].String(), "请输入密码");
    EXPECT_EQ(systemMessages_, std::vector<std::string>{Local("用户名不存在！")});
}

TEST_F(ServiceTest, EnterInEitherSignInBoxPressesSignIn) {
    LoginWindow& login = OpenLogin();
    for (const char* name : {"编辑框EX1", "编辑框EX2"}) {
        auto& box = login.Control<ui::EditboxEx>(name);
        box.setFocus(Qt::MouseFocusReason);
        QTest::keyClick(box.Editor(), Qt::Key_Return);
    }
    EXPECT_EQ(Requests("User/login").size(), 2u);
}

TEST_F(ServiceTest, RepliesOutsideTheTableShowNothing) {
    struct ReplyCase {
        const char* json;
        std::vector<std::string> messages;
        bool signedIn;
        const char* token;
    };
    const ReplyCase cases[] = {
        {R"({"code":"777","data":{}})", {}, false, ""},
        {R"({"code":603,"data":{}})", {Local("密码错误！")}, false, ""},
        {R"({"code":"608","data":{}})", {}, true, ""},
        {R"({"code":"608","data":{"token":"t-1"}})", {}, true, "t-1"},
        {"not json", {}, false, ""},
    };
    for (const ReplyCase& c : cases) {
        testing::CannedService canned(c.json);
        Seams().serviceUrl = canned.BaseUrl();
        ExitCleanup();
        CreateGlobals();
        LoginWindow& login = OpenLogin();
        Type("编辑框EX1", "alice");
        testing::Click(login.Control<ui::ButtonEx>("按钮EX3"));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

        EXPECT_EQ(systemMessages_, c.messages) << c.json;
        EXPECT_EQ(login_.isNull(), c.signedIn) << c.json;
        EXPECT_EQ(CurrentUser, c.signedIn ? "alice" : "") << c.json;
        EXPECT_EQ(CurrentToken, c.token) << c.json;
        for (MainWindow* window : testing::OpenWindows<MainWindow>()) {
            delete window;
        }
        delete login_.data();
    }
}

TEST_F(ServiceTest, NoReplyChangesNothing) {
    LoginWindow& login = OpenLogin();
    Seams().serviceUrl = testing::DeadServiceUrl();
    TheServiceClient->Init("1", Seams().serviceUrl, "Tq3Hc8WmZr5Bx1NvKe7Lp2YdFs9Gu4JoAi6RwEb0");
    Type("编辑框EX1", "alice");
    Type("编辑框EX2", "pw-1");
    testing::Click(login.Control<ui::ButtonEx>("按钮EX3"));
    EXPECT_TRUE(systemMessages_.empty());
    EXPECT_FALSE(login_.isNull());
    EXPECT_EQ(CurrentUser, "");
    EXPECT_TRUE(testing::OpenWindows<MainWindow>().empty());
}

TEST_F(ServiceTest, ClosePictureEndsTheRunWithoutSigningOut) {
    LoginWindow& login = OpenLogin();
    QTimer::singleShot(0, &login,
                       [&login] { testing::Click(login.Control<ui::PictureBoxEx>("图片框EX8")); });
    QTimer::singleShot(20000, [] { QCoreApplication::exit(99); });  // a bound, not a timing
    EXPECT_EQ(QApplication::exec(), 0);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(login_.isNull());
    EXPECT_TRUE(Requests("User/logout").empty());
    EXPECT_TRUE(systemMessages_.empty());
}

TEST_F(ServiceTest, ExitSignsOutOnceWithTheSessionValuesAndEndsWithZero) {
    LoginWindow& login = OpenLogin();
    Type("编辑框EX1", "alice");
    Type("编辑框EX2", "pw-1");
    testing::Click(login.Control<ui::ButtonEx>("按钮EX3"));
    const std::vector<MainWindow*> windows = testing::OpenWindows<MainWindow>();
    ASSERT_EQ(windows.size(), 1u);
    MainWindow& main = *windows[0];
    const std::string token = CurrentToken;

    QTimer::singleShot(0, &main,
                       [&main] { testing::Click(main.Control<ui::ImagebuttonEx>("图片按钮EX7")); });
    QTimer::singleShot(20000, [] { QCoreApplication::exit(99); });  // a bound, not a timing
    EXPECT_EQ(QApplication::exec(), 0);

    const std::vector<JsonValue> logouts = Requests("User/logout");
    ASSERT_EQ(logouts.size(), 1u);
    EXPECT_EQ(logouts[0]["payload"]["username"].String(), "alice");
    EXPECT_EQ(logouts[0]["payload"]["password"].String(), "pw-1");
    EXPECT_EQ(logouts[0]["payload"]["token"].String(), token);
    EXPECT_EQ(logouts[0]["code"].Number(), 610);
    EXPECT_EQ(CurrentUser, "alice");
    EXPECT_EQ(CurrentToken, token);
}

}  // namespace
}  // namespace korvane::app
