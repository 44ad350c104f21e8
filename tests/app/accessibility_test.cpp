// Screen readers can read every form: each control of each window has a name.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <functional>
#include <memory>

#include "app/field_hints.h"
#include "app/globals.h"
#include "app/login_window.h"
#include "app/main_window.h"
#include "app/message_window.h"
#include "app_test_support.h"
#include "ui/control.h"
#include "ui/editbox_ex.h"

namespace korvane::app {
namespace {

using testing::Local;

class AccessibilityTest : public testing::ClientTest {};

TEST_F(AccessibilityTest, EveryControlOfEveryWindowHasAName) {
    AssignText(MessageTitle, Local("提示"));
    AssignText(MessageText, Local("看看就好，没用的"));
    MessageIconKind = 1;
    struct Case {
        const char* window;
        std::function<std::unique_ptr<ui::FormWindow>()> make;
    };
    const Case cases[] = {
        {"login", [] { return std::make_unique<LoginWindow>(); }},
        {"main", [] { return std::make_unique<MainWindow>(); }},
        {"message",
         [] {
             auto window = std::make_unique<MessageWindow>();
             window->OnCreated();
             return window;
         }},
    };
    for (const Case& c : cases) {
        const std::unique_ptr<ui::FormWindow> window = c.make();
        const auto controls = window->findChildren<ui::Control*>();
        ASSERT_FALSE(controls.empty()) << c.window;
        for (const ui::Control* control : controls) {
            EXPECT_FALSE(control->accessibleName().isEmpty())
                << c.window << ": " << control->objectName().toStdString();
        }
    }
}

TEST_F(AccessibilityTest, LoginBoxesAreCalledByTheirHintsAfterTheHintIsGone) {
    LoginWindow window;
    for (const FieldHint& field : kFieldHints) {
        auto& box = window.Control<ui::EditboxEx>(field.box);
        box.SetText("typed");
        EXPECT_EQ(box.Editor()->accessibleName(), QString::fromUtf8(field.hint)) << field.box;
    }
}

}  // namespace
}  // namespace korvane::app
