#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QWindow>

#include "text/code_page.h"
#include "ui/editbox_ex.h"
#include "ui/form_window.h"
#include "ui/picture_box_ex.h"

namespace korvane::ui {
namespace {

class EditboxTest : public testing::Test {
  protected:
    void SetUp() override {
        first_.setGeometry(10, 10, 200, 35);
        second_.setGeometry(10, 60, 200, 35);
        window_.show();
        window_.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window_));
    }

    FormWindow window_{300, 200};
    EditboxEx first_{window_.Surface()};
    EditboxEx second_{window_.Surface()};
};

TEST_F(EditboxTest, OpeningTheWindowFocusesNoBox) {
    EXPECT_FALSE(first_.Editor()->hasFocus());
    EXPECT_FALSE(second_.Editor()->hasFocus());
    EXPECT_EQ(QApplication::focusWidget(), window_.Surface());
}

TEST_F(EditboxTest, FocusChangesCarryTheirFlag) {
    first_.setFocus();
    ASSERT_TRUE(first_.Editor()->hasFocus());
    QSignalSpy firstSpy(&first_, &EditboxEx::focusChanged);
    QSignalSpy secondSpy(&second_, &EditboxEx::focusChanged);

    QTest::mouseClick(second_.Editor(), Qt::LeftButton);
    QTest::keyClick(second_.Editor(), Qt::Key_Tab);  // wraps round to the first box

    ASSERT_EQ(firstSpy.count(), 2);
    EXPECT_FALSE(firstSpy[0][0].toBool());
    EXPECT_TRUE(firstSpy[1][0].toBool());
    ASSERT_EQ(secondSpy.count(), 2);
    EXPECT_TRUE(secondSpy[0][0].toBool());
    EXPECT_FALSE(secondSpy[1][0].toBool());
    EXPECT_TRUE(first_.Editor()->hasFocus());
}

TEST_F(EditboxTest, ClickOnTheIconOverABoxFocusesTheBox) {
    PictureBoxEx icon(window_.Surface());
    icon.setGeometry(22, 17, 20, 20);
    icon.show();
    // Through the window, so that the press is delivered to whatever lies at the point.
    const QPoint atIcon = window_.Surface()->mapTo(&window_, QPoint(32, 27));
    QTest::mouseClick(window_.windowHandle(), Qt::LeftButton, {}, atIcon);
    EXPECT_TRUE(first_.Editor()->hasFocus());

    // A picture with a click handler keeps its clicks.
    int clicks = 0;
    QObject::connect(&icon, &PictureBoxEx::clicked, [&clicks] { ++clicks; });
    QTest::mouseClick(window_.windowHandle(), Qt::LeftButton, {}, atIcon);
    EXPECT_EQ(clicks, 1);
}

TEST_F(EditboxTest, PasswordModeShowsStarsAndKeepsTheText) {
    first_.SetText(text::Utf8ToLocal("密码ab"));
    first_.SetInputMode(EditboxEx::kPassword);
    EXPECT_EQ(first_.Editor()->displayText(), QStringLiteral("****"));
    EXPECT_EQ(first_.Text(), text::Utf8ToLocal("密码ab"));
    // A style sheet on the editor does not take the character away.
    first_.Editor()->setStyleSheet(QStringLiteral("QLineEdit { color: black; }"));
    EXPECT_EQ(first_.Editor()->displayText(), QStringLiteral("****"));

    first_.SetInputMode(EditboxEx::kPlain);
    EXPECT_EQ(first_.InputMode(), 0);
    EXPECT_EQ(first_.Editor()->displayText(), QStringLiteral("密码ab"));
}

TEST_F(EditboxTest, TypedKeysAreStarredAtOnce) {
    first_.SetInputMode(EditboxEx::kPassword);
    first_.setFocus();
    QTest::keyClicks(first_.Editor(), QStringLiteral("xyz"));
    EXPECT_EQ(first_.Editor()->displayText(), QStringLiteral("***"));
    EXPECT_EQ(first_.Text(), "xyz");
}

TEST_F(EditboxTest, EnterIsReportedByTheBoxOnly) {
    QSignalSpy boxSpy(&first_, &EditboxEx::returnPressed);
    QSignalSpy windowSpy(&window_, &FormWindow::returnPressed);
    first_.setFocus();
    QTest::keyClick(first_.Editor(), Qt::Key_Return);
    QTest::keyClick(first_.Editor(), Qt::Key_Enter);
    EXPECT_EQ(boxSpy.count(), 2);
    EXPECT_EQ(windowSpy.count(), 0);
}

}  // namespace
}  // namespace korvane::ui
