#include "ui/selectthefolder_ex.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>

#include "ui/skin.h"
#include "ui/text_bridge.h"

namespace korvane::ui {
namespace {

constexpr int kCaptionPixels = 14;
constexpr int kTabPadding = 16;  // on each side of a caption

}  // namespace

SelectthefolderEx::SelectthefolderEx(QWidget* parent) : Control(parent) {
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
    setMouseTracking(true);
}

QWidget* SelectthefolderEx::AddPage(const std::string& clientCaption) {
    return AddPageQ(ToQString(clientCaption));
}

QWidget* SelectthefolderEx::AddPageQ(const QString& caption) {
    auto owned = std::make_unique<QWidget>(this);
    QWidget* page = owned.get();
    page->setAttribute(Qt::WA_NoSystemBackground);
    pages_.push_back({caption, std::move(owned)});
    Relayout();
    if (current_ < 0) {
        SetCurrentPage(0);
    } else {
        page->hide();
    }
    update();
    return page;
}

QWidget* SelectthefolderEx::Page(int index) const {
    return index >= 0 && index < PageCount() ? pages_[static_cast<std::size_t>(index)].page.get()
                                             : nullptr;
}

QString SelectthefolderEx::CaptionQ(int index) const {
    return index >= 0 && index < PageCount() ? pages_[static_cast<std::size_t>(index)].caption
                                             : QString();
}

void SelectthefolderEx::SetCurrentPage(int index) {
    if (index < 0 || index >= PageCount()) {
        return;
    }
    const bool changed = index != current_;
    current_ = index;
    for (int i = 0; i < PageCount(); ++i) {
        pages_[static_cast<std::size_t>(i)].page->setVisible(i == current_);
    }
    update();
    if (changed) {
        emit currentChanged(current_);
    }
}

void SelectthefolderEx::SetStripHeight(int pixels) {
    strip_ = std::max(pixels, 0);
    Relayout();
    update();
}

void SelectthefolderEx::SetStripAtBottom(bool bottom) {
    bottom_ = bottom;
    Relayout();
    update();
}

int SelectthefolderEx::StripTop() const {
    return bottom_ ? height() - strip_ : 0;
}

void SelectthefolderEx::Relayout() {
    const QRect area(0, bottom_ ? 0 : strip_, width(), std::max(height() - strip_, 0));
    for (const Tab& tab : pages_) {
        tab.page->setGeometry(area);
    }
}

void SelectthefolderEx::resizeEvent(QResizeEvent* event) {
    Relayout();
    Control::resizeEvent(event);
}

QRect SelectthefolderEx::TabRect(int index) const {
    const QFontMetrics metrics(SkinFont(kCaptionPixels));
    int left = 0;
    for (int i = 0; i < PageCount(); ++i) {
        const int tabWidth =
            metrics.horizontalAdvance(pages_[static_cast<std::size_t>(i)].caption) +
            2 * kTabPadding;
        if (i == index) {
            return QRect(left, StripTop(), tabWidth, strip_);
        }
        left += tabWidth;
    }
    return {};
}

int SelectthefolderEx::TabAt(QPoint position) const {
    if (strip_ == 0 || position.y() < StripTop() || position.y() >= StripTop() + strip_) {
        return -1;
    }
    for (int i = 0; i < PageCount(); ++i) {
        if (TabRect(i).contains(position)) {
            return i;
        }
    }
    return -1;
}

void SelectthefolderEx::paintEvent(QPaintEvent*) {
    if (strip_ == 0) {
        return;
    }
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0xEE, 0xF0, 0xF5));
    // A hairline between the strip and the page.
    painter.drawRect(QRectF(0, bottom_ ? StripTop() : strip_ - 1, width(), 1));

    QFont font = SkinFont(kCaptionPixels);
    for (int i = 0; i < PageCount(); ++i) {
        const QRect tab = TabRect(i);
        const bool current = i == current_;
        font.setWeight(current ? QFont::DemiBold : QFont::Normal);
        painter.setFont(font);
        painter.setPen(current          ? FromArgb(colour::kAccent)
                       : i == hoverTab_ ? FromArgb(colour::kText)
                                        : FromArgb(colour::kTextMuted));
        painter.drawText(bottom_ ? tab.adjusted(0, 3, 0, 0) : tab.adjusted(0, 0, 0, -3),
                         Qt::AlignCenter, pages_[static_cast<std::size_t>(i)].caption);
        if (current) {
            painter.setPen(Qt::NoPen);
            painter.setBrush(FromArgb(colour::kAccent));
            const qreal barTop = bottom_ ? tab.top() : tab.bottom() + 1 - 3;
            const QRectF bar(tab.left() + kTabPadding, barTop, tab.width() - 2 * kTabPadding, 3);
            painter.drawRoundedRect(bar, 1.5, 1.5);
        }
    }
}

void SelectthefolderEx::mousePressEvent(QMouseEvent* event) {
    const int tab = event->button() == Qt::LeftButton ? TabAt(event->position().toPoint()) : -1;
    if (tab < 0) {
        event->ignore();
        return;
    }
    pressedTab_ = tab;
    event->accept();
}

void SelectthefolderEx::mouseReleaseEvent(QMouseEvent* event) {
    if (pressedTab_ < 0) {
        event->ignore();
        return;
    }
    const int pressed = pressedTab_;
    pressedTab_ = -1;
    event->accept();
    if (event->button() == Qt::LeftButton && TabAt(event->position().toPoint()) == pressed) {
        SetCurrentPage(pressed);
        emit tabClicked(pressed);
    }
}

void SelectthefolderEx::mouseMoveEvent(QMouseEvent* event) {
    const int tab = TabAt(event->position().toPoint());
    if (tab != hoverTab_) {
        hoverTab_ = tab;
        setCursor(tab >= 0 ? Qt::PointingHandCursor : Qt::ArrowCursor);
        update();
    }
    event->ignore();
}

void SelectthefolderEx::leaveEvent(QEvent* event) {
    if (hoverTab_ >= 0) {
        hoverTab_ = -1;
        unsetCursor();
        update();
    }
    Control::leaveEvent(event);
}

}  // namespace korvane::ui
