#include "app/login_window.h"

#include <QApplication>
#include <QLineEdit>
#include <QPointer>
#include <QTest>

#include "app/field_hints.h"
#include "app_test_support.h"
#include "ui/editbox_ex.h"
#include "ui/label_ex.h"
#include "ui/picture_box_ex.h"

namespace korvane::app {
namespace {

using testing::Local;
using testing::ShowActive;

class LoginWindowTest : public testing::ClientTest {
  protected:
    void SetUp() override {
        ClientTest::SetUp();
        window_ = new LoginWindow();
        window_->setAttribute(Qt::WA_DeleteOnClose);
        ASSERT_TRUE(ShowActive(*window_));
    }

    ui::EditboxEx& Box(const char* name) { return window_->Control<ui::EditboxEx>(name); }

    // Takes the focus away from every box, as a click on the window's background does.
    void Blur() { window_->setFocus(Qt::MouseFocusReason); }

    QPointer<LoginWindow> window_;
};

TEST_F(LoginWindowTest, BoxesStartInPlainModeShowingTheirHints) {
    for (const FieldHint& field : kFieldHints) {
        EXPECT_EQ(Box(field.box).Text(), Local(field.hint)) << field.box;
        EXPECT_EQ(Box(field.box).InputMode(), ui::EditboxEx::kPlain) << field.box;
        EXPECT_FALSE(Box(field.box).hasFocus()) << field.box;
    }
}

TEST_F(LoginWindowTest, FocusClearsTheHintAndLeavingEmptyBringsItBack) {
    for (const FieldHint& field : kFieldHints) {
        auto& box = Box(field.box);
        box.setFocus(Qt::MouseFocusReason);
        EXPECT_EQ(box.Text(), "") << field.box;
        EXPECT_EQ(box.InputMode(), field.masked ? ui::EditboxEx::kPassword : ui::EditboxEx::kPlain)
            << field.box;
        Blur();
        EXPECT_EQ(box.Text(), Local(field.hint)) << field.box;
        EXPECT_EQ(box.InputMode(), ui::EditboxEx::kPlain) << field.box;
    }
}

TEST_F(LoginWindowTest, TypedTextIsNeverTouched) {
    for (const FieldHint& field : kFieldHints) {
        auto& box = Box(field.box);
        box.setFocus(Qt::MouseFocusReason);
        QTest::keyClicks(box.Editor(), "abc 1");
        Blur();
        EXPECT_EQ(box.Text(), "abc 1") << field.box;
        box.setFocus(Qt::MouseFocusReason);
        EXPECT_EQ(box.Text(), "abc 1") << field.box;
        EXPECT_EQ(box.InputMode(), field.masked ? ui::EditboxEx::kPassword : ui::EditboxEx::kPlain)
            << field.box;
        Blur();
    }
}

TEST_F(LoginWindowTest, DeletedTextShowsTheHintOnlyAfterLeaving) {
    auto& box = Box("编辑框EX1");
    box.setFocus(Qt::MouseFocusReason);
    QTest::keyClicks(box.Editor(), "ab");
    QTest::keyClick(box.Editor(), Qt::Key_Backspace);
    QTest::keyClick(box.Editor(), Qt::Key_Backspace);
    EXPECT_EQ(box.Text(), "");
    Blur();
    EXPECT_EQ(box.Text(), Local("请输入账号"));
}

TEST_F(LoginWindowTest, TypedHintIsClearedOnTheNextFocus) {
    auto& box = Box("编辑框EX5");
    box.setFocus(Qt::MouseFocusReason);
    box.Editor()->insert(QString::fromUtf8("验证码"));
    Blur();
    EXPECT_EQ(box.Text(), Local("验证码"));
    box.setFocus(Qt::MouseFocusReason);
    EXPECT_EQ(box.Text(), "");
}

TEST_F(LoginWindowTest, PasswordBoxShowsStarsWhileEdited) {
    auto& box = Box("编辑框EX2");
    box.setFocus(Qt::MouseFocusReason);
    QTest::keyClicks(box.Editor(), "secret");
    EXPECT_EQ(box.Editor()->displayText(), QStringLiteral("******"));
    EXPECT_EQ(box.Text(), "secret");
}

TEST_F(LoginWindowTest, LinksChangeColourUnderThePointer) {
    struct HoverCase {
        const char* label;
        int coverLeft;  // where the cover leaves the label open
        std::uint32_t inside;
        std::uint32_t outside;
    };
    const HoverCase cases[] = {
        {"标签EX1", 60, 0xFF026CFA, 0xFF1D9BFB},
        {"标签EX3", 350, 0xFF026CFA, 0xFF1D9BFB},
        {"标签EX2", 60, 0xFF8A8787, 0xFF8A8787},
    };
    for (const HoverCase& c : cases) {
        window_->Control<ui::PictureBoxEx>("图片框EX1").SetLeft(c.coverLeft);
        auto& label = window_->Control<ui::LabelEx>(c.label);
        QTest::mouseMove(window_->windowHandle(), label.mapTo(window_, QPoint(-30, -30)));
        QTest::mouseMove(window_->windowHandle(), label.mapTo(window_, label.rect().center()));
        EXPECT_EQ(label.Colour(), c.inside) << c.label;
        QTest::mouseMove(window_->windowHandle(), label.mapTo(window_, QPoint(-30, -30)));
        EXPECT_EQ(label.Colour(), c.outside) << c.label;
    }
}

TEST_F(LoginWindowTest, TabWalksTheOpenPanelsBoxes) {
    auto focused = [this] {
        for (const FieldHint& field : kFieldHints) {
            if (Box(field.box).hasFocus()) {
                return std::string(field.box);
            }
        }
        return std::string();
    };
    const std::vector<std::string> signIn = {"编辑框EX1", "编辑框EX2", "编辑框EX1"};
    for (const std::string& expected : signIn) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(focused(), expected);
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    EXPECT_EQ(focused(), "编辑框EX2");

    Blur();
    window_->Control<ui::PictureBoxEx>("图片框EX1").SetLeft(350);
    const std::vector<std::string> registration = {"编辑框EX3", "编辑框EX4", "编辑框EX6",
                                                   "编辑框EX5", "编辑框EX3"};
    for (const std::string& expected : registration) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(focused(), expected);
    }
}

}  // namespace
}  // namespace korvane::app
