#include "ui/imagebutton_ex.h"

#include <QPainter>
#include <algorithm>

#include "ui/picture.h"
#include "ui/picture_paint.h"

namespace korvane::ui {

ImagebuttonEx::ImagebuttonEx(QWidget* parent) : PressableControl(parent) {
    setCursor(Qt::PointingHandCursor);
}

void ImagebuttonEx::SetImage(const QImage& image) {
    image_ = image;
    scaled_ = QPixmap();
    update();
}

void ImagebuttonEx::SetImagePath(const QString& path) {
    SetImage(LoadPicture(path));
}

void ImagebuttonEx::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (Hovered() || Pressed()) {
        // A soft plate behind the image, as flat toolbar buttons do.
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(16, 28, 64, Pressed() ? 34 : 18));
        const QRectF plate = QRectF(rect()).adjusted(-0.5, -0.5, 0.5, 0.5);
        const qreal radius = std::min(plate.width(), plate.height()) / 2;
        painter.drawRoundedRect(plate, radius, radius);
    }
    if (Pressed()) {
        painter.translate(0, 1);
    }
    DrawPictureFitted(painter, rect(), image_, scaled_, devicePixelRatioF());
}

}  // namespace korvane::ui
