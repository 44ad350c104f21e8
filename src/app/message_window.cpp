#include "app/message_window.h"

#include <QCoreApplication>
#include <array>
#include <memory>

#include "app/client_seams.h"
#include "app/form_lookup.h"
#include "app/message_form.h"
#include "ui/busy_pointer.h"
#include "ui/button_ex.h"
#include "ui/filter_ex.h"
#include "ui/imagebutton_ex.h"
#include "ui/label_ex.h"
#include "ui/picture_box_ex.h"
#include "ui/text_bridge.h"
#include "ui/window_ex.h"

namespace korvane::app {

namespace {

struct IconPicture {
    const char* path;
    const char* spokenName;  // what a screen reader says for the icon
};

constexpr std::array<IconPicture, 5> kIconPictures = {{
    {":/assets/message_question.png", "询问"},
    {":/assets/message_information.png", "信息"},
    {":/assets/message_success.png", "成功"},
    {":/assets/message_warning.png", "警告"},
    {":/assets/message_error.png", "错误"},
}};

// Over the middle of the window the message belongs to, or the screen's without one.
void PlaceOver(ui::FormWindow& window, const QWidget* owner) {
    if (owner == nullptr || !owner->isVisible()) {
        window.CentreOnScreen();
        return;
    }
    const QPoint centre = owner->frameGeometry().center();
    window.move(centre.x() - window.width() / 2, centre.y() - window.height() / 2);
}

}  // namespace

MessageWindow::MessageWindow() : ui::FormWindow(MessageForm().width, MessageForm().height) {
    ui::BuildForm(*this, MessageForm().rows);
    connect(&Find<ui::ButtonEx>(*this, "按钮EX1"), &ui::ButtonEx::clicked, this,
            &MessageWindow::OnOk);
    connect(&Find<ui::ButtonEx>(*this, "按钮EX2"), &ui::ButtonEx::clicked, this,
            &MessageWindow::OnCancel);
    connect(&Find<ui::ImagebuttonEx>(*this, "图片按钮EX1"), &ui::ImagebuttonEx::clicked, this,
            &MessageWindow::OnClose);
    // What people expect of a message box: Enter agrees, Esc backs out.
    connect(this, &ui::FormWindow::returnPressed, this, &MessageWindow::OnOk);
    connect(this, &ui::FormWindow::escapePressed, this, &MessageWindow::OnCancel);
}

MessageWindow::~MessageWindow() = default;

void MessageWindow::OnCreated() {
    auto& filter = Find<ui::FilterEx>(*this, "滤镜_遮罩");
    ui::Control* mask = &Find<ui::LabelEx>(*this, "标签_遮罩");
    if (MaskMode == 1) {
        filter.SetEffect(MaskFilterValue);
        mask = &filter;
    }
    // Without an owner frame there is nothing to veil.
    if (auto* frame = qobject_cast<ui::WindowEx*>(MessageOwner.control.data())) {
        mask->InsertInto(*frame);
        const MaskRectangle rect = MaskRect ? *MaskRect : MaskRectangle{};
        mask->SetRect(rect.left, rect.top, rect.width, rect.height);
        mask->show();
    }
    filter.SetLayer(2);

    auto& icon = Find<ui::PictureBoxEx>(*this, "图片框EX1");
    if (MessageIconKind >= 0 && MessageIconKind < static_cast<int>(kIconPictures.size())) {
        const IconPicture& picture = kIconPictures[static_cast<std::size_t>(MessageIconKind)];
        icon.SetPicturePath(QString::fromLatin1(picture.path));
        icon.SetSpokenName(QString::fromUtf8(picture.spokenName));
    } else {
        icon.ClearPicture();
    }

    Find<ui::LabelEx>(*this, "标签EX1").SetText(MessageTitle);
    setWindowTitle(MessageTitle.empty() ? QStringLiteral("Korvane") : ui::ToQString(MessageTitle));
    Find<ui::LabelEx>(*this, "标签EX2").SetText(MessageText);
    PlaceOver(*this, MessageOwner.window.data());
    QCoreApplication::processEvents();
}

void MessageWindow::OnOk() {
    Finish(1);
}

void MessageWindow::OnCancel() {
    Finish(0);
}

void MessageWindow::OnClose() {
    Finish(0);
}

void MessageWindow::Finish(std::int32_t result) {
    MessageResult = result;
    done(result);
}

std::int32_t ShowMessage(const WindowControl& owner, const std::string& title,
                         std::int32_t iconKind, const std::string& text,
                         const MaskRectangle& maskRect, std::int32_t maskMode,
                         std::int32_t filterValue) {
    MessageResult = -1;
    MessageIconKind = iconKind;
    AssignText(MessageTitle, title);
    AssignText(MessageText, text);
    MessageOwner = owner;
    MaskRect.reset();
    MaskRect = std::make_unique<MaskRectangle>(maskRect);
    MaskMode = maskMode;
    MaskFilterValue = filterValue;

    {
        // Modal, and owned by no window: the mask is what ties it to the caller.
        MessageWindow window;
        window.OnCreated();
        const ui::NormalPointer waitingForThePerson;
        if (const auto& run = Seams().runMessageWindow) {
            run(window);
        } else {
            window.exec();
        }
    }
    return MessageResult;
}

WindowControl FrameOf(ui::FormWindow& window) {
    return WindowControl{&window, ui::FindControl<ui::WindowEx>(window, "窗口EX1")};
}

MaskRectangle WholeWindow(const ui::FormWindow& window) {
    return MaskRectangle{0, 0, window.FormWidth(), window.FormHeight()};
}

}  // namespace korvane::app
