#include "ui/label_ex.h"

#include <QMetaMethod>
#include <QPainter>

#include "ui/skin.h"
#include "ui/text_bridge.h"

namespace korvane::ui {

LabelEx::LabelEx(QWidget* parent) : PressableControl(parent), colour_(colour::kText) {
    setAttribute(Qt::WA_Hover);
}

void LabelEx::SetText(const std::string& clientText) {
    SetTextQ(ToQString(clientText));
}

std::string LabelEx::Text() const {
    return FromQString(text_);
}

void LabelEx::SetTextQ(const QString& text) {
    text_ = text;
    CaptionChanged(text_);
    update();
}

void LabelEx::SetFontFamily(const std::string& clientFamily) {
    family_ = ToQString(clientFamily);
    update();
}

void LabelEx::SetFontPixelSize(int pixels) {
    pixelSize_ = pixels > 0 ? pixels : 14;
    update();
}

void LabelEx::SetColour(std::uint32_t argb) {
    colour_ = argb;
    update();
}

void LabelEx::SetBackground(std::uint32_t argb) {
    background_ = argb;
    update();
}

void LabelEx::SetAlignment(Qt::Alignment alignment) {
    alignment_ = alignment;
    update();
}

void LabelEx::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    if (qAlpha(background_) != 0) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(FromArgb(background_));
        painter.drawRect(rect());
    }
    if (text_.isEmpty()) {
        return;
    }
    painter.setFont(SkinFont(pixelSize_, family_));
    painter.setPen(FromArgb(colour_));
    // A word longer than the label (an e-mail address) is broken anywhere rather than cut.
    int flags = static_cast<int>(alignment_) | Qt::TextWordWrap;
    if (painter.boundingRect(rect(), flags, text_).width() > width()) {
        flags = static_cast<int>(alignment_) | Qt::TextWrapAnywhere;
    }
    painter.drawText(rect(), flags, text_);
}

bool LabelEx::TakesPress() const {
    return isSignalConnected(QMetaMethod::fromSignal(&LabelEx::clicked));
}

void LabelEx::connectNotify(const QMetaMethod& signal) {
    if (signal == QMetaMethod::fromSignal(&LabelEx::clicked)) {
        setCursor(Qt::PointingHandCursor);
    }
    PressableControl::connectNotify(signal);
}

}  // namespace korvane::ui
