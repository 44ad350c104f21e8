#include "ui/filter_ex.h"

#include <QMouseEvent>
#include <QPainter>

#include "ui/form_window.h"
#include "ui/skin.h"

namespace korvane::ui {

FilterEx::FilterEx(QWidget* parent) : Control(parent) {
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
}

void FilterEx::SetEffect(int effect) {
    effect_ = effect;
    update();
}

void FilterEx::SetLayer(int layer) {
    layer_ = layer;
    if (layer_ >= 1) {
        raise();
    }
}

void FilterEx::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(effect_ == 0 ? QColor(12, 20, 40, 110) : QColor(255, 255, 255, 170));
    // Rounded where the veil meets the window's own rounded corners.
    const auto* form = qobject_cast<const FormWindow*>(window());
    const bool full = form != nullptr && form->ShadowMargin() > 0 &&
                      parentWidget() == form->Surface() && geometry() == parentWidget()->rect();
    const qreal radius = full ? kWindowRadius : 0;
    painter.drawRoundedRect(QRectF(rect()), radius, radius);
}

void FilterEx::mousePressEvent(QMouseEvent* event) {
    event->accept();
}

void FilterEx::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
}

}  // namespace korvane::ui
