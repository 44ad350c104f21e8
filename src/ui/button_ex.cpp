#include "ui/button_ex.h"

#include <QEvent>
#include <QPainter>

#include "ui/skin.h"
#include "ui/text_bridge.h"

namespace korvane::ui {

ButtonEx::ButtonEx(QWidget* parent) : PressableControl(parent) {
    setCursor(Qt::PointingHandCursor);
}

void ButtonEx::SetCaption(const std::string& clientText) {
    SetCaptionQ(ToQString(clientText));
}

std::string ButtonEx::Caption() const {
    return FromQString(caption_);
}

void ButtonEx::SetCaptionQ(const QString& caption) {
    caption_ = caption;
    CaptionChanged(caption_);
    update();
}

void ButtonEx::SetFontPixelSize(int pixels) {
    pixelSize_ = pixels > 0 ? pixels : 14;
    update();
}

void ButtonEx::SetLook(Look look) {
    look_ = look;
    update();
}

void ButtonEx::Click() {
    if (isEnabled()) {
        emit clicked();
    }
}

void ButtonEx::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF box = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const bool enabled = isEnabled();
    const bool pressed = Pressed();
    const bool hover = Hovered();
    QColor fill;
    QColor border(Qt::transparent);
    QColor text;
    if (look_ == Look::Primary) {
        fill = !enabled  ? QColor(0xB9, 0xC3, 0xD1)
               : pressed ? FromArgb(colour::kPrimaryPressed)
               : hover   ? FromArgb(colour::kPrimaryHover)
                         : FromArgb(colour::kPrimary);
        text = Qt::white;
    } else {
        fill = pressed && enabled ? QColor(0xE8, 0xF4, 0xFF)
               : hover && enabled ? QColor(0xF2, 0xF8, 0xFF)
                                  : QColor(Qt::white);
        border = hover && enabled ? FromArgb(colour::kPrimary) : FromArgb(colour::kBorder);
        text = !enabled ? FromArgb(colour::kTextMuted)
               : hover  ? FromArgb(colour::kPrimary)
                        : FromArgb(colour::kText);
    }
    painter.setPen(border.alpha() != 0 ? QPen(border, 1) : QPen(Qt::NoPen));
    painter.setBrush(fill);
    painter.drawRoundedRect(box, kControlRadius, kControlRadius);

    painter.setFont(SkinFont(pixelSize_));
    painter.setPen(text);
    painter.drawText(rect(), Qt::AlignCenter, caption_);
}

void ButtonEx::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange) {
        ForgetPress();
        setCursor(isEnabled() ? Qt::PointingHandCursor : Qt::ArrowCursor);
        update();
    }
    PressableControl::changeEvent(event);
}

}  // namespace korvane::ui
