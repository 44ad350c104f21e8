#include "ui/form_builder.h"

#include <QStringList>
#include <memory>

#include "ui/button_ex.h"
#include "ui/editbox_ex.h"
#include "ui/filter_ex.h"
#include "ui/form_window.h"
#include "ui/imagebutton_ex.h"
#include "ui/label_ex.h"
#include "ui/picture_box_ex.h"
#include "ui/progressbar_ex.h"
#include "ui/selectthefolder_ex.h"
#include "ui/superbutton_ex.h"
#include "ui/window_ex.h"
#include "ui/window_timer.h"

namespace korvane::ui {
namespace {

QString Utf8(const char* text) {
    return QString::fromUtf8(text != nullptr ? text : "");
}

std::unique_ptr<Control> MakeControl(const FormEntry& row, QWidget* parent) {
    const QString text = Utf8(row.text);
    const QString picture = Utf8(row.picture);
    switch (row.kind) {
        case ControlKind::Window:
            return std::make_unique<WindowEx>(parent);
        case ControlKind::PictureBox: {
            auto box = std::make_unique<PictureBoxEx>(parent);
            box->SetPicturePath(picture);
            return box;
        }
        case ControlKind::Label: {
            auto label = std::make_unique<LabelEx>(parent);
            label->SetTextQ(text);
            label->SetFontPixelSize(row.fontSize);
            if (row.colour != 0) {
                label->SetColour(row.colour);
            }
            return label;
        }
        case ControlKind::Button: {
            auto button = std::make_unique<ButtonEx>(parent);
            button->SetCaptionQ(text);
            button->SetFontPixelSize(row.fontSize);
            button->SetLook(row.style == 1 ? ButtonEx::Look::Secondary : ButtonEx::Look::Primary);
            return button;
        }
        case ControlKind::Imagebutton: {
            auto button = std::make_unique<ImagebuttonEx>(parent);
            button->SetImagePath(picture);
            return button;
        }
        case ControlKind::Superbutton: {
            auto button = std::make_unique<SuperbuttonEx>(parent);
            button->SetIconPath(picture);
            button->SetCaptionQ(text);
            button->SetFontPixelSize(row.fontSize);
            if (row.colour != 0) {
                button->SetTextColour(row.colour);
            }
            button->SetSelected(row.value != 0);
            return button;
        }
        case ControlKind::Editbox: {
            auto box = std::make_unique<EditboxEx>(parent);
            box->SetFontPixelSize(row.fontSize);
            if (row.colour != 0) {
                box->SetTextColour(row.colour);
            }
            box->SetInputMode(row.value);
            box->SetTextQ(text);
            return box;
        }
        case ControlKind::Progressbar: {
            auto bar = std::make_unique<ProgressbarEx>(parent);
            bar->SetStyle(row.style);
            bar->SetValue(row.value);
            return bar;
        }
        case ControlKind::Selectthefolder: {
            auto tabs = std::make_unique<SelectthefolderEx>(parent);
            // Pages are sized by the control, so it gets its size before they are added.
            tabs->resize(row.width, row.height);
            if (!text.isEmpty()) {
                for (const QString& caption : text.split(QLatin1Char('|'))) {
                    tabs->AddPageQ(caption);
                }
            }
            return tabs;
        }
        case ControlKind::Filter: {
            auto filter = std::make_unique<FilterEx>(parent);
            filter->SetEffect(row.value);
            return filter;
        }
        case ControlKind::Timer:
            break;
    }
    return nullptr;
}

QWidget* ParentOf(const FormWindow& window, const FormEntry& row) {
    if (row.parent != nullptr && row.parent[0] != '\0') {
        if (auto* tabs = FindControl<SelectthefolderEx>(window, row.parent)) {
            if (QWidget* page = tabs->Page(row.page)) {
                return page;
            }
        }
    }
    return window.Surface();
}

}  // namespace

int BuildForm(FormWindow& window, std::span<const FormEntry> rows) {
    int made = 0;
    for (const FormEntry& row : rows) {
        const QString name = Utf8(row.name);
        if (row.kind == ControlKind::Timer) {
            auto timer = std::make_unique<WindowTimer>(&window);
            timer->setObjectName(name);
            window.Adopt(std::move(timer));
            ++made;
            continue;
        }
        std::unique_ptr<Control> control = MakeControl(row, ParentOf(window, row));
        if (!control) {
            continue;
        }
        control->setObjectName(name);
        const QString spoken = Utf8(row.spokenName);
        control->SetSpokenName(spoken.isEmpty() && row.kind == ControlKind::Editbox ? Utf8(row.text)
                                                                                    : spoken);
        control->setGeometry(row.left, row.top, row.width, row.height);
        // A filter is a mask: it waits hidden until someone places it over a window.
        control->setVisible(!row.hidden && row.kind != ControlKind::Filter);
        window.Adopt(std::move(control));
        ++made;
    }
    return made;
}

}  // namespace korvane::ui
