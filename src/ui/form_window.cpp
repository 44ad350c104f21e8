#include "ui/form_window.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QShortcut>
#include <QWindow>

#include "ui/compositor.h"
#include "ui/skin.h"
#include "ui/soft_shadow.h"

namespace korvane::ui {
namespace {

constexpr int kShadowMargin = 18;

// The window's surface: its background, and the handle by which the window is dragged.
class FormSurface : public QWidget {
  public:
    FormSurface(QWidget* parent, bool rounded) : QWidget(parent), rounded_(rounded) {}

    void SetBackground(std::uint32_t argb) {
        background_ = argb;
        update();
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const QRectF box = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
        const qreal radius = rounded_ ? kWindowRadius : 0;
        painter.setPen(QPen(QColor(0, 0, 0, rounded_ ? 18 : 40), 1));
        painter.setBrush(FromArgb(background_));
        painter.drawRoundedRect(box, radius, radius);
    }

    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() != Qt::LeftButton) {
            event->ignore();
            return;
        }
        event->accept();
        // The window manager moves the window itself where it can (snapping, edge
        // resistance); without one the window follows the pointer.
        QWindow* handle = window()->windowHandle();
        if (handle != nullptr && handle->startSystemMove()) {
            return;
        }
        dragging_ = true;
        grabOffset_ = event->globalPosition().toPoint() - window()->pos();
    }

    void mouseMoveEvent(QMouseEvent* event) override {
        if (dragging_ && (event->buttons() & Qt::LeftButton)) {
            window()->move(event->globalPosition().toPoint() - grabOffset_);
        }
        event->accept();
    }

    void mouseReleaseEvent(QMouseEvent* event) override {
        dragging_ = false;
        event->accept();
    }

  private:
    bool rounded_;
    std::uint32_t background_ = colour::kWindow;
    bool dragging_ = false;
    QPoint grabOffset_;
};

}  // namespace

FormWindow::FormWindow(int width, int height, QWidget* parent) : QDialog(parent, kFormWindowFlags) {
    const bool translucent = CompositorAvailable();
    margin_ = translucent ? kShadowMargin : 0;
    if (translucent) {
        setAttribute(Qt::WA_TranslucentBackground);
    }
    setAttribute(Qt::WA_NoSystemBackground, translucent);
    surface_ = std::make_unique<FormSurface>(this, translucent);
    surface_->setGeometry(margin_, margin_, width, height);
    surface_->setFocusPolicy(Qt::ClickFocus);
    setFixedSize(width + 2 * margin_, height + 2 * margin_);
    setModal(false);
    // Without a title bar the person still needs a way to put the window away.
    minimise_ = std::make_unique<QShortcut>(QKeySequence(Qt::CTRL | Qt::Key_M), this);
    connect(minimise_.get(), &QShortcut::activated, this, &QWidget::showMinimized);
}

FormWindow::~FormWindow() {
    while (!owned_.empty()) {
        owned_.pop_back();
    }
}

int FormWindow::FormWidth() const {
    return surface_->width();
}

int FormWindow::FormHeight() const {
    return surface_->height();
}

void FormWindow::SetBackground(std::uint32_t argb) {
    static_cast<FormSurface*>(surface_.get())->SetBackground(argb);
}

void FormWindow::CentreOnScreen() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return;
    }
    QRect frame = rect();
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
}

void FormWindow::paintEvent(QPaintEvent*) {
    if (margin_ == 0) {
        return;
    }
    QPainter painter(this);
    const qreal ratio = devicePixelRatioF();
    const QSize wanted = size() * ratio;
    if (shadow_.size() != wanted) {
        shadow_ = SoftShadow(size(), surface_->geometry(), kWindowRadius, ratio);
    }
    painter.drawImage(QPoint(0, 0), shadow_);
}

void FormWindow::showEvent(QShowEvent* event) {
    // Without this the window system would hand the focus to the first edit box, which
    // would count as the user entering it.
    if (focusWidget() == nullptr) {
        surface_->setFocus(Qt::OtherFocusReason);
    }
    QDialog::showEvent(event);
}

void FormWindow::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Escape:
            emit escapePressed();
            event->accept();
            return;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            emit returnPressed();
            event->accept();
            return;
        default:
            QWidget::keyPressEvent(event);
    }
}

}  // namespace korvane::ui
