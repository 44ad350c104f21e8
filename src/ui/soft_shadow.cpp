#include "ui/soft_shadow.h"

#include <algorithm>
#include <cmath>

namespace korvane::ui {
namespace {

// Signed distance from (x, y) to a rounded rectangle given by its centre, half extents and
// corner radius: negative inside.
double RoundedBoxDistance(double x, double y, double cx, double cy, double halfWidth,
                          double halfHeight, double radius) {
    const double qx = std::abs(x - cx) - (halfWidth - radius);
    const double qy = std::abs(y - cy) - (halfHeight - radius);
    const double outside = std::hypot(std::max(qx, 0.0), std::max(qy, 0.0));
    const double inside = std::min(std::max(qx, qy), 0.0);
    return outside + inside - radius;
}

}  // namespace

QImage SoftShadow(QSize size, QRect box, int radius, qreal ratio) {
    const QSize pixels(static_cast<int>(std::ceil(size.width() * ratio)),
                       static_cast<int>(std::ceil(size.height() * ratio)));
    QImage shadow(pixels, QImage::Format_ARGB32_Premultiplied);
    if (shadow.isNull()) {
        return {};
    }
    // The edge profile of a Gaussian-blurred box, computed directly rather than by blurring:
    // the shadow sits a little below the box, as under a light from above.
    const double sigma = 7.0 * ratio;
    const double peak = 0.2;
    const double cx = (box.left() + box.width() / 2.0) * ratio;
    const double cy = (box.top() + box.height() / 2.0 + 4.0) * ratio;
    const double halfWidth = (box.width() / 2.0 - 2.0) * ratio;
    const double halfHeight = (box.height() / 2.0 - 2.0) * ratio;
    const double corner = radius * ratio;
    for (int y = 0; y < pixels.height(); ++y) {
        auto* out = reinterpret_cast<QRgb*>(shadow.scanLine(y));
        for (int x = 0; x < pixels.width(); ++x) {
            const double distance =
                RoundedBoxDistance(x + 0.5, y + 0.5, cx, cy, halfWidth, halfHeight, corner);
            const double coverage = 0.5 * std::erfc(distance / (sigma * std::sqrt(2.0)));
            const int alpha = static_cast<int>(std::lround(255.0 * peak * coverage));
            // Tinted slightly blue so the shadow matches the skin rather than looking like soot.
            out[x] = qPremultiply(qRgba(16, 28, 64, alpha));
        }
    }
    shadow.setDevicePixelRatio(ratio);
    return shadow;
}

}  // namespace korvane::ui
