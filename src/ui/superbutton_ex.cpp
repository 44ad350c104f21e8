#include "ui/superbutton_ex.h"

#include <QPainter>
#include <algorithm>

#include "ui/picture.h"
#include "ui/picture_paint.h"
#include "ui/skin.h"
#include "ui/text_bridge.h"

namespace korvane::ui {

SuperbuttonEx::SuperbuttonEx(QWidget* parent)
    : PressableControl(parent), textColour_(colour::kTextMuted) {
    setCursor(Qt::PointingHandCursor);
}

void SuperbuttonEx::SetIcon(const QImage& icon) {
    icon_ = icon;
    scaled_ = QPixmap();
    update();
}

void SuperbuttonEx::SetIconPath(const QString& path) {
    SetIcon(LoadPicture(path));
}

void SuperbuttonEx::SetCaption(const std::string& clientText) {
    SetCaptionQ(ToQString(clientText));
}

std::string SuperbuttonEx::Caption() const {
    return FromQString(caption_);
}

void SuperbuttonEx::SetCaptionQ(const QString& caption) {
    caption_ = caption;
    CaptionChanged(caption_);
    update();
}

void SuperbuttonEx::SetTextColour(std::uint32_t argb) {
    textColour_ = argb;
    update();
}

void SuperbuttonEx::SetSelected(bool selected) {
    selected_ = selected;
    update();
}

void SuperbuttonEx::SetFontPixelSize(int pixels) {
    pixelSize_ = pixels > 0 ? pixels : 16;
    update();
}

void SuperbuttonEx::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF plate = QRectF(rect()).adjusted(0, 2, 0, -2);
    painter.setPen(Qt::NoPen);
    if (selected_) {
        QColor tint = FromArgb(colour::kAccent);
        tint.setAlpha(Pressed() ? 40 : 24);
        painter.setBrush(tint);
        painter.drawRoundedRect(plate, 10, 10);
        // The accent bar at the left edge of the selected entry.
        painter.setBrush(FromArgb(colour::kAccent));
        const qreal barHeight = std::min<qreal>(20, plate.height() - 8);
        painter.drawRoundedRect(QRectF(0, (height() - barHeight) / 2, 4, barHeight), 2, 2);
    } else if (Hovered() || Pressed()) {
        painter.setBrush(QColor(16, 28, 64, Pressed() ? 20 : 10));
        painter.drawRoundedRect(plate, 10, 10);
    }

    const int iconSide = std::min(22, height() - 8);
    const int iconLeft = 32;
    const QRect iconBox(iconLeft, (height() - iconSide) / 2, iconSide, iconSide);
    DrawPictureFitted(painter, iconBox, icon_, scaled_, devicePixelRatioF());

    QFont font = SkinFont(pixelSize_);
    font.setWeight(selected_ ? QFont::DemiBold : QFont::Normal);
    painter.setFont(font);
    painter.setPen(FromArgb(textColour_));
    const QRect textBox(iconBox.right() + 16, 0, width() - iconBox.right() - 20, height());
    painter.drawText(textBox, Qt::AlignLeft | Qt::AlignVCenter, caption_);
}

}  // namespace korvane::ui
