// What screen readers call the controls of a form.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <array>

#include "text/code_page.h"
#include "ui/button_ex.h"
#include "ui/editbox_ex.h"
#include "ui/form_builder.h"
#include "ui/form_window.h"
#include "ui/label_ex.h"
#include "ui/picture_box_ex.h"

namespace korvane::ui {
namespace {

using K = ControlKind;
using E = FormEntry;

constexpr std::array kRows = {
    E{.kind = K::Label, .name = "caption", .text = "注册账号"},
    E{.kind = K::Label, .name = "empty", .spokenName = "标题"},
    E{.kind = K::Label, .name = "both", .text = "立即登录", .spokenName = "链接"},
    E{.kind = K::Editbox, .name = "box", .text = "请输入账号"},
    E{.kind = K::Editbox, .name = "named box", .text = "Search", .spokenName = "搜索"},
    E{.kind = K::Button, .name = "button", .text = "获取验证码"},
    E{.kind = K::PictureBox, .name = "picture", .spokenName = "关闭"},
};

class SpokenNameTest : public testing::Test {
  protected:
    void SetUp() override { BuildForm(window_, kRows); }

    template <class T>
    T& Get(const char* name) {
        T* control = FindControl<T>(window_, name);
        EXPECT_NE(control, nullptr) << name;
        return *control;
    }

    FormWindow window_{300, 200};
};

TEST_F(SpokenNameTest, CaptionFirstThenTheGivenName) {
    EXPECT_EQ(Get<LabelEx>("caption").accessibleName(), QStringLiteral("注册账号"));
    EXPECT_EQ(Get<LabelEx>("empty").accessibleName(), QStringLiteral("标题"));
    EXPECT_EQ(Get<LabelEx>("both").accessibleName(), QStringLiteral("立即登录"));
    EXPECT_EQ(Get<ButtonEx>("button").accessibleName(), QStringLiteral("获取验证码"));
    EXPECT_EQ(Get<PictureBoxEx>("picture").accessibleName(), QStringLiteral("关闭"));
}

TEST_F(SpokenNameTest, NameFollowsTheCaptionAndFallsBackWhenItEmpties) {
    auto& label = Get<LabelEx>("both");
    label.SetText(text::Utf8ToLocal("已登录"));
    EXPECT_EQ(label.accessibleName(), QStringLiteral("已登录"));
    label.SetText("");
    EXPECT_EQ(label.accessibleName(), QStringLiteral("链接"));

    auto& button = Get<ButtonEx>("button");
    button.SetCaption("59s");
    EXPECT_EQ(button.accessibleName(), QStringLiteral("59s"));
}

TEST_F(SpokenNameTest, EditBoxIsCalledByItsHintWhateverItHolds) {
    for (const auto& [name, spoken] : {std::pair{"box", "请输入账号"}, {"named box", "搜索"}}) {
        auto& box = Get<EditboxEx>(name);
        box.SetText("typed");
        // The focus, and with it the screen reader, goes to the inner editor.
        EXPECT_EQ(box.accessibleName(), QString::fromUtf8(spoken)) << name;
        EXPECT_EQ(box.Editor()->accessibleName(), QString::fromUtf8(spoken)) << name;
    }
}

}  // namespace
}  // namespace korvane::ui
