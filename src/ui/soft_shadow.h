#pragma once

#include <QImage>
#include <QRect>
#include <QSize>

namespace korvane::ui {

// A soft drop shadow of a rounded rectangle `box` (logical pixels) on a transparent image of
// `size` at pixel ratio `ratio`.
QImage SoftShadow(QSize size, QRect box, int radius, qreal ratio);

}  // namespace korvane::ui
