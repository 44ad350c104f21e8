#include "ui/picture_paint.h"

#include <cmath>

namespace korvane::ui {

void DrawPictureFitted(QPainter& painter, const QRect& box, const QImage& picture, QPixmap& cache,
                       qreal ratio) {
    if (picture.isNull() || box.isEmpty()) {
        return;
    }
    // Fitted by logical size: a double-resolution picture lays out like the plain one.
    const QSize fitted =
        picture.deviceIndependentSize().toSize().scaled(box.size(), Qt::KeepAspectRatio);
    const QSize pixels(static_cast<int>(std::lround(fitted.width() * ratio)),
                       static_cast<int>(std::lround(fitted.height() * ratio)));
    if (cache.isNull() || cache.size() != pixels) {
        // Repeated halving keeps large reductions (407 to 350, 200 to 22) free of aliasing.
        QImage step = picture;
        while (step.width() >= 2 * pixels.width() && step.height() >= 2 * pixels.height()) {
            step = step.scaled(step.size() / 2, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        }
        cache = QPixmap::fromImage(
            step.scaled(pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
        cache.setDevicePixelRatio(ratio);
    }
    const QPoint target(box.left() + (box.width() - fitted.width()) / 2,
                        box.top() + (box.height() - fitted.height()) / 2);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(target, cache);
}

}  // namespace korvane::ui
