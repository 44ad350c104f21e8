#include "ui/form_window.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTest>
#include <array>

#include "ui/button_ex.h"
#include "ui/editbox_ex.h"
#include "ui/label_ex.h"

namespace korvane::ui {
namespace {

class FormWindowTest : public testing::Test {
  protected:
    void SetUp() override {
        label_.setGeometry(20, 20, 100, 24);  // no click handler: part of the background
        button_.setGeometry(20, 60, 80, 30);
        box_.setGeometry(20, 110, 160, 35);
        window_.move(200, 150);
        window_.show();
        window_.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window_));
    }

    FormWindow window_{300, 200};
    LabelEx label_{window_.Surface()};
    ButtonEx button_{window_.Surface()};
    EditboxEx box_{window_.Surface()};
};

TEST_F(FormWindowTest, DraggedByItsBackgroundButNotByAControlThatTakesTheMouse) {
    struct Case {
        const char* what;
        QPoint start;  // in surface coordinates
        bool moves;
    };
    const std::array cases = {
        Case{"background", QPoint(250, 30), true},
        Case{"label without a click handler", QPoint(30, 30), true},
        Case{"button", QPoint(30, 70), false},
    };
    QWidget* surface = window_.Surface();
    for (const Case& c : cases) {
        const QPoint before = window_.pos();
        // The press goes where the window system would send it; the move follows the grab.
        QWidget* under = surface->childAt(c.start);
        QWidget* target = under != nullptr ? under : surface;
        QTest::mousePress(target, Qt::LeftButton, {}, target->mapFrom(surface, c.start));
        QTest::mouseMove(surface, c.start + QPoint(30, 20));
        QTest::mouseRelease(surface, Qt::LeftButton, {}, c.start + QPoint(30, 20));
        EXPECT_EQ(window_.pos(), c.moves ? before + QPoint(30, 20) : before) << c.what;
    }
}

TEST_F(FormWindowTest, OffersMinimiseWithoutAFrameAndMinimisesOnCtrlM) {
    EXPECT_TRUE(window_.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_TRUE(window_.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    // Also while an edit box has the keyboard.
    box_.setFocus(Qt::OtherFocusReason);
    ASSERT_TRUE(box_.Editor()->hasFocus());
    QTest::keyClick(box_.Editor(), Qt::Key_M, Qt::ControlModifier);
    EXPECT_TRUE(window_.isMinimized());
    EXPECT_EQ(box_.TextQ(), QString());
}

}  // namespace
}  // namespace korvane::ui
