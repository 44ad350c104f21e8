#include "ui/imagebutton_ex.h"

#include <QMouseEvent>
#include <QPainter>

#include "ui/picture.h"
#include "ui/picture_paint.h"

namespace korvane::ui {

ImagebuttonEx::ImagebuttonEx(QWidget* parent) : Control(parent) {
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
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
    if (hover_ || pressed_) {
        // A soft plate behind the image, as flat toolbar buttons do.
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(16, 28, 64, pressed_ ? 34 : 18));
        const QRectF plate = QRectF(rect()).adjusted(-0.5, -0.5, 0.5, 0.5);
        const qreal radius = std::min(plate.width(), plate.height()) / 2;
        painter.drawRoundedRect(plate, radius, radius);
    }
    if (pressed_) {
        painter.translate(0, 1);
    }
    DrawPictureFitted(painter, rect(), image_, scaled_, devicePixelRatioF());
}

void ImagebuttonEx::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    pressed_ = true;
    update();
    event->accept();
}

void ImagebuttonEx::mouseReleaseEvent(QMouseEvent* event) {
    if (!pressed_) {
        event->ignore();
        return;
    }
    pressed_ = false;
    update();
    event->accept();
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        emit clicked();
    }
}

void ImagebuttonEx::enterEvent(QEnterEvent* event) {
    hover_ = true;
    update();
    Control::enterEvent(event);
}

void ImagebuttonEx::leaveEvent(QEvent* event) {
    hover_ = false;
    update();
    Control::leaveEvent(event);
}

}  // namespace korvane::ui
