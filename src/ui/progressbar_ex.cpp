#include "ui/progressbar_ex.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>

#include "ui/skin.h"

namespace korvane::ui {

ProgressbarEx::ProgressbarEx(QWidget* parent) : Control(parent), colour_(colour::kAccent) {
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
}

void ProgressbarEx::SetStyle(int style) {
    style_ = style == kRound ? kRound : kBar;
    update();
}

void ProgressbarEx::SetValue(int value) {
    value_ = std::clamp(value, 0, 100);
    update();
}

void ProgressbarEx::SetColour(std::uint32_t argb) {
    colour_ = argb;
    update();
}

void ProgressbarEx::SetShowText(bool show) {
    showText_ = show;
    update();
}

void ProgressbarEx::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor fill = FromArgb(colour_);
    const QColor track = FromArgb(colour::kTrack);
    if (style_ == kBar) {
        const QRectF bar = QRectF(rect());
        const qreal radius = bar.height() / 2;
        painter.setPen(Qt::NoPen);
        painter.setBrush(track);
        painter.drawRoundedRect(bar, radius, radius);
        if (value_ > 0) {
            // Never narrower than its height, so a small value still reads as a pill.
            const qreal filled = std::max(bar.width() * value_ / 100.0, bar.height());
            QLinearGradient gradient(bar.topLeft(), bar.topRight());
            gradient.setColorAt(0, fill.lighter(125));
            gradient.setColorAt(1, fill);
            painter.setBrush(gradient);
            painter.drawRoundedRect(QRectF(bar.left(), bar.top(), filled, bar.height()), radius,
                                    radius);
        }
        return;
    }
    const qreal side = std::min(width(), height());
    const qreal thickness = std::max<qreal>(4, side / 10);
    const QRectF ring = QRectF((width() - side) / 2, (height() - side) / 2, side, side)
                            .adjusted(thickness / 2, thickness / 2, -thickness / 2, -thickness / 2);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(track, thickness, Qt::SolidLine, Qt::RoundCap));
    painter.drawEllipse(ring);
    if (value_ > 0) {
        painter.setPen(QPen(fill, thickness, Qt::SolidLine, Qt::RoundCap));
        // Clockwise from twelve o'clock; Qt's angles are in 1/16 degree, counter-clockwise.
        painter.drawArc(ring, 90 * 16, -value_ * 360 * 16 / 100);
    }
    if (showText_) {
        QFont font = SkinFont(static_cast<int>(side / 5));
        font.setWeight(QFont::DemiBold);
        painter.setFont(font);
        painter.setPen(FromArgb(colour::kTextStrong));
        painter.drawText(rect(), Qt::AlignCenter, QString::number(value_) + QLatin1Char('%'));
    }
}

}  // namespace korvane::ui
