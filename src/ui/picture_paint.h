#pragma once

#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QRect>

namespace korvane::ui {

// Draws `picture` into `box` scaled smoothly, aspect ratio kept and centred. `cache` keeps
// the scaled pixmap between paints; it is remade when the target size changes.
void DrawPictureFitted(QPainter& painter, const QRect& box, const QImage& picture, QPixmap& cache,
                       qreal ratio);

}  // namespace korvane::ui
