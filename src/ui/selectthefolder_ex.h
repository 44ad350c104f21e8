#pragma once

#include <QString>
#include <QWidget>
#include <string>
#include <vector>

#include "ui/control.h"

namespace korvane::ui {

// A tab control: a strip of captions on top and one page container per caption below it.
// Put a page's controls into Page(i); their coordinates are relative to that page, whose top
// left corner is the control's top left corner plus the strip's height.
//
// Event 1 is tabClicked(index): raised when the user clicks a tab of the strip (press and
// release on the same tab), also the tab already showing, after that page has become current.
// Setting the page from code never raises it.
class SelectthefolderEx : public Control {
    Q_OBJECT
  public:
    explicit SelectthefolderEx(QWidget* parent = nullptr);

    // Adds a page and returns its container.
    QWidget* AddPage(const std::string& clientCaption);
    QWidget* AddPageQ(const QString& caption);
    int PageCount() const { return static_cast<int>(pages_.size()); }
    // The container of page `index`, nullptr outside 0..PageCount()-1.
    QWidget* Page(int index) const;
    QString CaptionQ(int index) const;

    // Out-of-range indices are ignored.
    void SetCurrentPage(int index);
    int CurrentPage() const { return current_; }

    // Height of the tab strip, 0 hides it and gives the pages the whole control.
    void SetStripHeight(int pixels);
    int StripHeight() const { return strip_; }

  signals:
    // Event 1, see above.
    void tabClicked(int index);
    void currentChanged(int index);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

  private:
    struct Tab {
        QString caption;
        QWidget* page;  // child of this control
    };
    int TabAt(QPoint position) const;
    QRect TabRect(int index) const;
    void Relayout();

    std::vector<Tab> pages_;
    int current_ = -1;
    int strip_ = 36;
    int pressedTab_ = -1;
    int hoverTab_ = -1;
};

}  // namespace korvane::ui
