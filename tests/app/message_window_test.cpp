#include "app/message_window.h"

#include <QPointer>
#include <QTest>
#include <functional>

#include "app/client_seams.h"
#include "app/globals.h"
#include "app_test_support.h"
#include "ui/button_ex.h"
#include "ui/filter_ex.h"
#include "ui/form_builder.h"
#include "ui/imagebutton_ex.h"
#include "ui/label_ex.h"
#include "ui/picture.h"
#include "ui/picture_box_ex.h"

namespace korvane::app {
namespace {

using testing::Click;
using testing::Local;

// A caller's window: a surface with its frame control "窗口EX1".
class MessageWindowTest : public testing::ClientTest {
  protected:
    void SetUp() override {
        ClientTest::SetUp();
        static constexpr ui::FormEntry kRows[] = {
            {.kind = ui::ControlKind::Window,
             .name = "窗口EX1",
             .left = 4,
             .top = 4,
             .width = 24,
             .height = 24},
        };
        owner_ = std::make_unique<ui::FormWindow>(500, 300);
        ui::BuildForm(*owner_, kRows);
        ASSERT_TRUE(testing::ShowActive(*owner_));
    }

    void TearDown() override {
        owner_.reset();
        ClientTest::TearDown();
    }

    // Shows a message and lets `act` close it; the result and what the window showed.
    struct Shown {
        int result = -2;
        QString title;
        QString text;
        QImage icon;
        bool maskVisible = false;
        QRect maskRect;
    };
    Shown Show(const char* title, int iconKind, const char* text,
               const std::function<void(MessageWindow&)>& act) {
        Shown shown;
        Seams().runMessageWindow = [&](MessageWindow& window) {
            shown.title = window.findChild<ui::LabelEx*>(QStringLiteral("标签EX1"))->TextQ();
            shown.text = window.findChild<ui::LabelEx*>(QStringLiteral("标签EX2"))->TextQ();
            shown.icon =
                window.findChild<ui::PictureBoxEx*>(QStringLiteral("图片框EX1"))->Picture();
            if (auto* mask = owner_->findChild<ui::FilterEx*>(QStringLiteral("滤镜_遮罩"))) {
                shown.maskVisible = mask->isVisible();
                shown.maskRect = mask->geometry();
            }
            window.show();
            act(window);
        };
        shown.result = ShowMessage(FrameOf(*owner_), Local(title), iconKind, Local(text),
                                   WholeWindow(*owner_), 1, 0);
        return shown;
    }

    template <class T>
    static T& Child(MessageWindow& window, const char* name) {
        return *window.findChild<T*>(QString::fromUtf8(name));
    }

    std::unique_ptr<ui::FormWindow> owner_;
};

TEST_F(MessageWindowTest, ResultTellsHowItWasClosed) {
    struct CloseCase {
        const char* how;
        std::function<void(MessageWindow&)> act;
        int result;
    };
    const CloseCase cases[] = {
        {"OK", [](MessageWindow& w) { Click(Child<ui::ButtonEx>(w, "按钮EX1")); }, 1},
        {"Cancel", [](MessageWindow& w) { Click(Child<ui::ButtonEx>(w, "按钮EX2")); }, 0},
        {"close", [](MessageWindow& w) { Click(Child<ui::ImagebuttonEx>(w, "图片按钮EX1")); }, 0},
        {"Enter", [](MessageWindow& w) { QTest::keyClick(&w, Qt::Key_Return); }, 1},
        {"Esc", [](MessageWindow& w) { QTest::keyClick(&w, Qt::Key_Escape); }, 0},
        {"other", [](MessageWindow& w) { w.close(); }, -1},
    };
    for (const CloseCase& c : cases) {
        EXPECT_EQ(Show("提示", 1, "正文", c.act).result, c.result) << c.how;
        EXPECT_EQ(MessageResult, c.result) << c.how;
    }
}

TEST_F(MessageWindowTest, ShowsTitleTextAndTheIconOfItsKind) {
    const char* pictures[] = {"message_question", "message_information", "message_success",
                              "message_warning", "message_error"};
    for (int kind = 0; kind < 5; ++kind) {
        const Shown shown = Show("警告", kind, "第二行\r\n文字", [](MessageWindow& w) {
            Click(Child<ui::ButtonEx>(w, "按钮EX1"));
        });
        EXPECT_EQ(shown.title, QStringLiteral("警告"));
        EXPECT_EQ(shown.text, QStringLiteral("第二行\r\n文字"));
        EXPECT_FALSE(shown.icon.isNull()) << kind;
        EXPECT_EQ(shown.icon,
                  ui::LoadPicture(
                      QStringLiteral(":/assets/%1.png").arg(QString::fromLatin1(pictures[kind]))))
            << kind;
    }
    for (int kind : {5, -1}) {
        const Shown shown = Show(
            "提示", kind, "x", [](MessageWindow& w) { Click(Child<ui::ButtonEx>(w, "按钮EX1")); });
        EXPECT_TRUE(shown.icon.isNull()) << kind;
    }
}

TEST_F(MessageWindowTest, EmptyTitleAndTextShowEmptyLabels) {
    const Shown shown =
        Show("", 2, "", [](MessageWindow& w) { Click(Child<ui::ButtonEx>(w, "按钮EX2")); });
    EXPECT_EQ(shown.title, QString());
    EXPECT_EQ(shown.text, QString());
}

TEST_F(MessageWindowTest, TwoMessagesInARowShowTheirOwnTexts) {
    auto ok = [](MessageWindow& w) { Click(Child<ui::ButtonEx>(w, "按钮EX1")); };
    const Shown first = Show("第一个标题", 3, "第一条消息", ok);
    const Shown second = Show("第二个", 4, "第二条", ok);
    EXPECT_EQ(first.title, QStringLiteral("第一个标题"));
    EXPECT_EQ(second.title, QStringLiteral("第二个"));
    EXPECT_EQ(second.text, QStringLiteral("第二条"));
    EXPECT_EQ(MessageTitle, Local("第二个"));
    EXPECT_EQ(MessageText, Local("第二条"));
    EXPECT_EQ(MessageIconKind, 4);
}

TEST_F(MessageWindowTest, MaskCoversTheOwnerWhileOpenAndGoesWithTheWindow) {
    const Shown shown =
        Show("提示", 1, "x", [](MessageWindow& w) { Click(Child<ui::ButtonEx>(w, "按钮EX1")); });
    EXPECT_TRUE(shown.maskVisible);
    EXPECT_EQ(shown.maskRect, QRect(0, 0, 500, 300));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(owner_->findChild<ui::FilterEx*>(QStringLiteral("滤镜_遮罩")), nullptr);
}

}  // namespace
}  // namespace korvane::app
