#include "ui/soft_shadow.h"

#include <QPainter>
#include <algorithm>
#include <cmath>
#include <vector>

namespace korvane::ui {
namespace {

// One box-blur pass over a line of `count` samples `step` apart; three passes approximate a
// Gaussian.
void BlurLine(std::uint8_t* line, int count, int step, int radius, std::vector<int>& scratch) {
    scratch.assign(static_cast<std::size_t>(count), 0);
    for (int i = 0; i < count; ++i) {
        scratch[static_cast<std::size_t>(i)] = line[i * step];
    }
    const int window = 2 * radius + 1;
    int sum = 0;
    for (int i = -radius; i <= radius; ++i) {
        sum += scratch[static_cast<std::size_t>(std::clamp(i, 0, count - 1))];
    }
    for (int i = 0; i < count; ++i) {
        line[i * step] = static_cast<std::uint8_t>(sum / window);
        const int leaving = std::clamp(i - radius, 0, count - 1);
        const int entering = std::clamp(i + radius + 1, 0, count - 1);
        sum += scratch[static_cast<std::size_t>(entering)] -
               scratch[static_cast<std::size_t>(leaving)];
    }
}

void Blur(QImage& alpha, int radius) {
    std::vector<int> scratch;
    const int width = alpha.width();
    const int height = alpha.height();
    const int stride = static_cast<int>(alpha.bytesPerLine());
    for (int pass = 0; pass < 3; ++pass) {
        for (int y = 0; y < height; ++y) {
            BlurLine(alpha.scanLine(y), width, 1, radius, scratch);
        }
        for (int x = 0; x < width; ++x) {
            BlurLine(alpha.bits() + x, height, stride, radius, scratch);
        }
    }
}

}  // namespace

QImage SoftShadow(QSize size, QRect box, int radius, qreal ratio) {
    const QSize pixels(static_cast<int>(std::ceil(size.width() * ratio)),
                       static_cast<int>(std::ceil(size.height() * ratio)));
    QImage alpha(pixels, QImage::Format_Alpha8);
    if (alpha.isNull()) {
        return {};
    }
    alpha.fill(0);
    {
        QPainter painter(&alpha);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(ratio, ratio);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(0, 0, 0, 70));
        painter.drawRoundedRect(QRectF(box).adjusted(2, 5, -2, 1), radius, radius);
    }
    Blur(alpha, std::max(1, static_cast<int>(std::lround(4 * ratio))));

    // Tinted slightly blue so the shadow matches the skin rather than looking like soot.
    QImage shadow(pixels, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < pixels.height(); ++y) {
        const std::uint8_t* in = alpha.constScanLine(y);
        auto* out = reinterpret_cast<QRgb*>(shadow.scanLine(y));
        for (int x = 0; x < pixels.width(); ++x) {
            out[x] = qPremultiply(qRgba(16, 28, 64, in[x]));
        }
    }
    shadow.setDevicePixelRatio(ratio);
    return shadow;
}

}  // namespace korvane::ui
