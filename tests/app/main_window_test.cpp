#include "app/main_window.h"

#include <QPointer>
#include <QTest>

#include "app/client_seams.h"
#include "app/clock_text.h"
#include "app/globals.h"
#include "app/message_window.h"
#include "app/navigation.h"
#include "app_test_support.h"
#include "ui/button_ex.h"
#include "ui/editbox_ex.h"
#include "ui/filter_ex.h"
#include "ui/label_ex.h"
#include "ui/picture.h"
#include "ui/picture_box_ex.h"
#include "ui/selectthefolder_ex.h"
#include "ui/superbutton_ex.h"
#include "ui/window_timer.h"

namespace korvane::app {
namespace {

using testing::Click;
using testing::Local;

class MainWindowTest : public testing::ClientTest {
  protected:
    void SetUp() override {
        ClientTest::SetUp();
        AssignText(CurrentUser, Local("张三@example.com"));
        window_ = OpenMainWindow();
        ASSERT_TRUE(testing::ShowActive(*window_));
    }

    template <class T>
    T& Control(const char* name) {
        return window_->Control<T>(name);
    }

    QPointer<MainWindow> window_;
};

TEST_F(MainWindowTest, CreationStartsTheClockAndShowsTheAccount) {
    EXPECT_EQ(Control<ui::LabelEx>("标签EX2").Text(), CurrentUser);
    EXPECT_EQ(Control<ui::WindowTimer>("时钟1").Period(), 1000);
    EXPECT_EQ(Control<ui::LabelEx>("标签EX4").Text(), "Time");
}

TEST_F(MainWindowTest, ClockTickShowsTheLocalTime) {
    const std::string before = ClockTextNow();
    window_->ClockTick();
    const std::string after = ClockTextNow();
    const std::string shown = Control<ui::LabelEx>("标签EX4").Text();
    EXPECT_TRUE(shown == before || shown == after) << shown;
}

TEST_F(MainWindowTest, StartsInTheFirstNavigationState) {
    const NavigationRow& row = kNavigationTable[0];
    for (std::size_t i = 0; i < kNavigationButtons.size(); ++i) {
        auto& button = Control<ui::SuperbuttonEx>(kNavigationButtons[i]);
        EXPECT_EQ(button.Selected(), row.selected[i]);
        EXPECT_EQ(button.TextColour(), row.colours[i]);
        EXPECT_EQ(button.Icon(), ui::LoadPicture(QString::fromLatin1(row.icons[i])));
    }
    EXPECT_EQ(Control<ui::SelectthefolderEx>("选择夹EX2").CurrentPage(), 0);
}

TEST_F(MainWindowTest, NavigationButtonsApplyTheirRow) {
    // Every button, then the selected one again.
    const int clicks[] = {1, 2, 0, 0, 2, 2, 1};
    auto& pages = Control<ui::SelectthefolderEx>("选择夹EX1");
    const int pageAreaPage = pages.CurrentPage();
    for (int clicked : clicks) {
        Click(Control<ui::SuperbuttonEx>(kNavigationButtons[static_cast<std::size_t>(clicked)]));
        const NavigationRow& row = kNavigationTable[static_cast<std::size_t>(clicked)];
        for (std::size_t i = 0; i < kNavigationButtons.size(); ++i) {
            auto& button = Control<ui::SuperbuttonEx>(kNavigationButtons[i]);
            EXPECT_EQ(button.Selected(), row.selected[i]) << clicked << " " << i;
            EXPECT_EQ(button.TextColour(), row.colours[i]) << clicked << " " << i;
            EXPECT_EQ(button.Icon(), ui::LoadPicture(QString::fromLatin1(row.icons[i])))
                << clicked << " " << i;
            EXPECT_FALSE(button.Icon().isNull());
        }
        EXPECT_EQ(Control<ui::SelectthefolderEx>("选择夹EX2").CurrentPage(), row.page);
        EXPECT_EQ(pages.CurrentPage(), pageAreaPage);
    }
}

TEST_F(MainWindowTest, SearchShowsTheInformationMessageOverTheWindow) {
    auto& search = Control<ui::EditboxEx>("编辑框EX1");
    search.setFocus(Qt::MouseFocusReason);
    search.SetText("whatever");

    int shown = 0;
    Seams().runMessageWindow = [&](MessageWindow& message) {
        ++shown;
        EXPECT_EQ(message.findChild<ui::LabelEx*>(QStringLiteral("标签EX1"))->Text(),
                  Local("提示"));
        EXPECT_EQ(message.findChild<ui::LabelEx*>(QStringLiteral("标签EX2"))->Text(),
                  Local("看看就好，没用的"));
        EXPECT_EQ(message.findChild<ui::PictureBoxEx*>(QStringLiteral("图片框EX1"))->Picture(),
                  ui::LoadPicture(QStringLiteral(":/assets/message_information.png")));
        // The mask veils the whole main window while the message is open.
        auto* mask = window_->findChild<ui::FilterEx*>(QStringLiteral("滤镜_遮罩"));
        EXPECT_NE(mask, nullptr);
        if (mask != nullptr) {
            EXPECT_TRUE(mask->isVisible());
            EXPECT_EQ(mask->geometry(), QRect(0, 0, 1100, 800));
            EXPECT_EQ(mask->Effect(), 0);
        }
        Click(*message.findChild<ui::ButtonEx*>(QStringLiteral("按钮EX1")));
    };
    Click(Control<ui::ButtonEx>("按钮EX1"));

    EXPECT_EQ(shown, 1);
    EXPECT_EQ(MessageIconKind, 1);
    EXPECT_EQ(MessageTitle, Local("提示"));
    EXPECT_EQ(MessageText, Local("看看就好，没用的"));
    EXPECT_EQ(MessageResult, 1);
    EXPECT_EQ(MessageOwner.window, window_.data());
    ASSERT_NE(MaskRect, nullptr);
    EXPECT_EQ(MaskRect->width, 1100);
    EXPECT_EQ(MaskRect->height, 800);
    EXPECT_EQ(MaskMode, 1);
    EXPECT_EQ(MaskFilterValue, 0);
    EXPECT_EQ(window_->findChild<ui::FilterEx*>(QStringLiteral("滤镜_遮罩")), nullptr);
    EXPECT_EQ(search.Text(), "whatever");
}

}  // namespace
}  // namespace korvane::app
