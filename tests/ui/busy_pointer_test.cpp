#include "ui/busy_pointer.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTest>
#include <QTimer>
#include <memory>
#include <thread>

#include "ui/button_ex.h"
#include "ui/editbox_ex.h"
#include "ui/form_window.h"

namespace korvane::ui {
namespace {

// The pointer the person sees now: the top of the override stack, or none.
std::optional<Qt::CursorShape> Override() {
    const QCursor* cursor = QGuiApplication::overrideCursor();
    if (cursor == nullptr) {
        return std::nullopt;
    }
    return cursor->shape();
}

TEST(BusyPointerTest, BusyForTheCallNormalInsideABoxAndGoneAfterwards) {
    {
        const NormalPointer outside;  // no call running: the controls keep their pointers
        EXPECT_EQ(Override(), std::nullopt);
    }
    {
        const BusyPointer call;
        EXPECT_EQ(Override(), Qt::WaitCursor);
        {
            const BusyPointer nested;
            EXPECT_EQ(Override(), Qt::WaitCursor);
        }
        EXPECT_EQ(Override(), Qt::WaitCursor);
        {
            const NormalPointer box;
            EXPECT_EQ(Override(), Qt::ArrowCursor);
        }
        EXPECT_EQ(Override(), Qt::WaitCursor);
    }
    EXPECT_EQ(Override(), std::nullopt);
}

// A window with a button and an edit box, and input that reaches them through the event
// queue, as the window system's input does.
class QueuedInputTest : public testing::Test {
  protected:
    void SetUp() override {
        button_.setGeometry(20, 20, 80, 30);
        box_.setGeometry(20, 70, 160, 35);
        connect();
        window_.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window_));
        box_.setFocus(Qt::OtherFocusReason);
    }

    void connect() {
        QObject::connect(&button_, &ButtonEx::clicked, [this] { ++clicks_; });
    }

    void QueueClickAndKey() {
        const QPointF at(10, 10);
        for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
            const Qt::MouseButtons held =
                type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton;
            QCoreApplication::postEvent(
                &button_, std::make_unique<QMouseEvent>(type, at, button_.mapToGlobal(at),
                                                        Qt::LeftButton, held, Qt::NoModifier)
                              .release());
        }
        QCoreApplication::postEvent(
            box_.Editor(),
            std::make_unique<QKeyEvent>(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a")
                .release());
    }

    FormWindow window_{240, 140};
    ButtonEx button_{window_.Surface()};
    EditboxEx box_{window_.Surface()};
    int clicks_ = 0;
};

TEST_F(QueuedInputTest, InputQueuedDuringTheCallNeverActsButEverythingElseIsHandled) {
    bool otherWorkDone = false;
    bool timerTickedInsideTheCall = false;
    bool callOver = false;
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, [&] { timerTickedInsideTheCall = !callOver; });
    {
        const BusyPointer call;
        QueueClickAndKey();
        QMetaObject::invokeMethod(
            &window_, [&] { otherWorkDone = true; }, Qt::QueuedConnection);
        timer.start(0);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));  // the call blocks
    }
    callOver = true;
    EXPECT_TRUE(otherWorkDone);
    QCoreApplication::processEvents();
    EXPECT_EQ(clicks_, 0);
    EXPECT_EQ(box_.TextQ(), QString());
    EXPECT_FALSE(timerTickedInsideTheCall);

    // Input after the call acts as usual.
    QueueClickAndKey();
    QCoreApplication::processEvents();
    EXPECT_EQ(clicks_, 1);
    EXPECT_EQ(box_.TextQ(), QStringLiteral("a"));
}

}  // namespace
}  // namespace korvane::ui
