#include "ui/editbox_ex.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QProxyStyle>

#include "ui/skin.h"
#include "ui/text_bridge.h"

namespace korvane::ui {
namespace {

// The password character and its "show the last key for a moment" delay come from the
// style, so the box asks its own style for "*" with no delay.
class PasswordStyle : public QProxyStyle {
  public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        switch (hint) {
            case SH_LineEdit_PasswordCharacter:
                return '*';
            case SH_LineEdit_PasswordMaskDelay:
                return 0;
            default:
                return QProxyStyle::styleHint(hint, option, widget, returnData);
        }
    }
};

}  // namespace

EditboxEx::EditboxEx(QWidget* parent)
    : Control(parent),
      style_(std::make_unique<PasswordStyle>()),
      edit_(std::make_unique<QLineEdit>(this)) {
    setAttribute(Qt::WA_NoSystemBackground);
    setAttribute(Qt::WA_Hover);
    setCursor(Qt::IBeamCursor);
    edit_->setStyle(style_.get());
    edit_->setFrame(false);
    edit_->setAttribute(Qt::WA_MacShowFocusRect, false);
    edit_->setFocusPolicy(Qt::StrongFocus);
    edit_->installEventFilter(this);
    setFocusPolicy(Qt::StrongFocus);
    setFocusProxy(edit_.get());
    SetTextColour(colour::kText);
    SetFontPixelSize(pixelSize_);
    Relayout();
}

EditboxEx::~EditboxEx() {
    edit_->removeEventFilter(this);
}

void EditboxEx::SetText(const std::string& clientText) {
    SetTextQ(ToQString(clientText));
}

std::string EditboxEx::Text() const {
    return FromQString(edit_->text());
}

void EditboxEx::SetTextQ(const QString& text) {
    edit_->setText(text);
}

QString EditboxEx::TextQ() const {
    return edit_->text();
}

void EditboxEx::SetFontPixelSize(int pixels) {
    pixelSize_ = pixels > 0 ? pixels : 13;
    edit_->setFont(SkinFont(pixelSize_));
    Relayout();
}

void EditboxEx::SetTextColour(std::uint32_t argb) {
    QPalette palette = edit_->palette();
    palette.setColor(QPalette::Base, Qt::transparent);
    palette.setColor(QPalette::Text, FromArgb(argb));
    palette.setColor(QPalette::Highlight, FromArgb(colour::kPrimary));
    palette.setColor(QPalette::HighlightedText, Qt::white);
    edit_->setPalette(palette);
}

void EditboxEx::SetInputMode(int mode) {
    mode_ = mode == kPassword ? kPassword : kPlain;
    edit_->setEchoMode(mode_ == kPassword ? QLineEdit::Password : QLineEdit::Normal);
}

// Screen readers follow the focus, and the focus is on the inner editor.
void EditboxEx::SpokenNameChanged(const QString& name) {
    edit_->setAccessibleName(name);
}

void EditboxEx::SetTextIndent(int pixels) {
    indent_ = std::max(pixels, 0);
    Relayout();
}

void EditboxEx::Relayout() {
    const int right = 10;
    edit_->setGeometry(indent_, 1, std::max(width() - indent_ - right, 0),
                       std::max(height() - 2, 0));
}

void EditboxEx::resizeEvent(QResizeEvent* event) {
    Relayout();
    Control::resizeEvent(event);
}

void EditboxEx::mousePressEvent(QMouseEvent* event) {
    edit_->setFocus(Qt::MouseFocusReason);
    Control::mousePressEvent(event);
}

void EditboxEx::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const bool focused = edit_->hasFocus();
    const QRectF box = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    QColor border = focused        ? FromArgb(colour::kPrimary)
                    : underMouse() ? QColor(0xC0, 0xC6, 0xD2)
                                   : FromArgb(colour::kBorder);
    painter.setPen(QPen(border, 1));
    painter.setBrush(focused ? QColor(Qt::white) : FromArgb(colour::kFieldBackground));
    painter.drawRoundedRect(box, kControlRadius, kControlRadius);
}

bool EditboxEx::eventFilter(QObject* watched, QEvent* event) {
    if (watched == edit_.get()) {
        switch (event->type()) {
            case QEvent::FocusIn:
                update();
                emit focusChanged(true);
                break;
            case QEvent::FocusOut:
                update();
                emit focusChanged(false);
                break;
            case QEvent::KeyPress: {
                const int key = static_cast<QKeyEvent*>(event)->key();
                if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                    emit returnPressed();
                    return true;
                }
                break;
            }
            default:
                break;
        }
        return false;
    }
    return Control::eventFilter(watched, event);
}

}  // namespace korvane::ui
