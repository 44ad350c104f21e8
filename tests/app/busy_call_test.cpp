// While a handler waits for the service or for a code delivery, the pointer shows busy and
// what the person does meanwhile never acts afterwards.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPointer>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/app_constants.h"
#include "app/client_seams.h"
#include "app/globals.h"
#include "app/login_window.h"
#include "app/main_window.h"
#include "app/message_window.h"
#include "app/registration_panel.h"
#include "app_test_support.h"
#include "ui/button_ex.h"
#include "ui/editbox_ex.h"

namespace korvane::app {
namespace {

using testing::CannedService;
using testing::Local;

std::optional<Qt::CursorShape> Pointer() {
    const QCursor* cursor = QGuiApplication::overrideCursor();
    return cursor != nullptr ? std::optional(cursor->shape()) : std::nullopt;
}

// A click and a key press waiting in the event queue, as the window system leaves them when
// the person acts while the GUI thread is blocked.
void QueueClick(QWidget& target) {
    const QPointF at(target.width() / 2.0, target.height() / 2.0);
    for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        const Qt::MouseButtons held =
            type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton;
        QCoreApplication::postEvent(
            &target, std::make_unique<QMouseEvent>(type, at, target.mapToGlobal(at), Qt::LeftButton,
                                                   held, Qt::NoModifier)
                         .release());
    }
}

void QueueKey(ui::EditboxEx& box) {
    QCoreApplication::postEvent(
        box.Editor(),
        std::make_unique<QKeyEvent>(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, "x").release());
}

class BusyCallTest : public testing::ClientTest {
  protected:
    void SetUp() override {
        ClientTest::SetUp();
        Seams().runMessageWindow = [this](MessageWindow&) { ++messageWindows_; };
    }

    int messageWindows_ = 0;
};

TEST_F(BusyCallTest, InputQueuedBehindALoginWindowCallDoesNothingAfterwards) {
    struct Case {
        const char* what;
        const char* reply;
        std::function<void(LoginWindow&)> act;
        const char* message;  // UTF-8; the one system message the handler shows itself
    };
    const Case cases[] = {
        {"notice", R"({"code":"200","data":{"notice":"n"}})",
         [](LoginWindow& window) { window.OnCreated(); }, "以下为公告内容\r\nn"},
        {"sign-in", R"({"code":"603"})", [](LoginWindow& window) { window.SignIn(); },
         "密码错误！"},
        {"registration", R"({"code":"201"})",
         [](LoginWindow& window) {
             AssignText(VerificationCode, window.Control<ui::EditboxEx>("编辑框EX5").Text());
             window.Control<ui::EditboxEx>("编辑框EX6")
                 .SetText(window.Control<ui::EditboxEx>("编辑框EX4").Text());
             RegisterAccount(window);
         },
         "用户已经存在！"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const CannedService service(c.reply);
        TheServiceClient->Init(kApplicationId, service.BaseUrl(), kApplicationKey);
        Seams().serviceUrl = service.BaseUrl();
        QPointer<LoginWindow> window = new LoginWindow();
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->show();
        auto& account = window->Control<ui::EditboxEx>("编辑框EX1");
        const std::string accountBefore = account.Text();
        systemMessages_.clear();

        // A second press of "登录", and a key for the account box, made during the call.
        QueueClick(window->Control<ui::ButtonEx>("按钮EX3"));
        QueueKey(account);
        c.act(*window);
        QCoreApplication::processEvents();

        EXPECT_EQ(service.Requests(), 1);
        EXPECT_EQ(systemMessages_, std::vector<std::string>{Local(c.message)});
        EXPECT_EQ(account.Text(), accountBefore);
        EXPECT_EQ(Pointer(), std::nullopt);
        delete window.data();
    }
}

TEST_F(BusyCallTest, ClickQueuedBehindTheSignOutOpensNoMessage) {
    const CannedService service(R"({"code":"200"})");
    TheServiceClient->Init(kApplicationId, service.BaseUrl(), kApplicationKey);
    QPointer<MainWindow> window = new MainWindow();
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();

    QueueClick(window->Control<ui::ButtonEx>("按钮EX1"));  // the search button
    window->SignOutAndExit();
    QCoreApplication::processEvents();

    EXPECT_EQ(service.Requests(), 1);
    EXPECT_EQ(messageWindows_, 0);
    EXPECT_EQ(Pointer(), std::nullopt);
}

TEST_F(BusyCallTest, MailExchangeIsBusyAndItsBoxesWaitWithTheNormalPointer) {
    verify::DeliveryEndpoints endpoints = Seams().deliveryEndpoints;
    endpoints.smtpHost = "127.0.0.1";
    const std::string dead = testing::DeadServiceUrl();
    endpoints.smtpPort = std::stoi(dead.substr(dead.rfind(':') + 1));
    Seams().deliveryEndpoints = endpoints;
    std::vector<std::optional<Qt::CursorShape>> pointers;
    // The stand-in for the system box sees the call's pointer: the real box brings the
    // normal one itself.
    Seams().systemBox.show = [&](const std::string&) { pointers.push_back(Pointer()); };
    Seams().runMessageWindow = [&](MessageWindow&) { pointers.push_back(Pointer()); };

    LoginWindow window;
    window.show();
    window.Control<ui::EditboxEx>("编辑框EX3").SetText("someone@example.test");
    RequestCode(window);

    // The mail server check ("假"), then the warning that the code did not go out.
    const std::vector<std::optional<Qt::CursorShape>> expected = {Qt::WaitCursor, Qt::ArrowCursor};
    EXPECT_EQ(pointers, expected);
    EXPECT_EQ(Pointer(), std::nullopt);
}

}  // namespace
}  // namespace korvane::app
