#include "ui/picture_box_ex.h"

#include <QMetaMethod>
#include <QPainter>

#include "ui/picture.h"
#include "ui/picture_paint.h"

namespace korvane::ui {

PictureBoxEx::PictureBoxEx(QWidget* parent) : PressableControl(parent) {
    // Until someone wants its clicks the picture is see-through for the mouse: a press on an
    // icon over an edit box reaches the box, a press elsewhere drags the window.
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void PictureBoxEx::SetPicture(const QImage& picture) {
    picture_ = picture;
    scaled_ = QPixmap();
    update();
}

void PictureBoxEx::SetPicturePath(const QString& path) {
    SetPicture(LoadPicture(path));
}

void PictureBoxEx::paintEvent(QPaintEvent*) {
    if (picture_.isNull()) {
        return;
    }
    QPainter painter(this);
    DrawPictureFitted(painter, rect(), picture_, scaled_, devicePixelRatioF());
}

bool PictureBoxEx::TakesPress() const {
    return isSignalConnected(QMetaMethod::fromSignal(&PictureBoxEx::clicked));
}

void PictureBoxEx::connectNotify(const QMetaMethod& signal) {
    if (signal == QMetaMethod::fromSignal(&PictureBoxEx::clicked)) {
        setAttribute(Qt::WA_TransparentForMouseEvents, false);
        setCursor(Qt::PointingHandCursor);
    }
    PressableControl::connectNotify(signal);
}

}  // namespace korvane::ui
