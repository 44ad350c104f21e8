#pragma once

#include <QString>
#include <QWidget>
#include <memory>
#include <string>
#include <vector>

#include "ui/control.h"

namespace korvane::ui {

// A tab control: a strip of captions on top (or at the bottom) and one page container per
// caption beside it. Put a page's controls into Page(i); their coordinates are relative to
// that page, which fills the control except the strip: with the strip on top a page's top
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

    // Height of the tab strip, 0 hides it (and with it the tabs). The default is 36.
    void SetStripHeight(int pixels);
    int StripHeight() const { return strip_; }
    // Puts the strip along the bottom edge instead of the top.
    void SetStripAtBottom(bool bottom);

    // Where tab `index` lies in the control, empty outside 0..PageCount()-1 (for tests that
    // click a tab).
    QRect TabRect(int index) const;

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
        std::unique_ptr<QWidget> page;  // a child of this control
    };
    int TabAt(QPoint position) const;
    int StripTop() const;
    void Relayout();

    std::vector<Tab> pages_;
    int current_ = -1;
    int strip_ = 36;
    bool bottom_ = false;
    int pressedTab_ = -1;
    int hoverTab_ = -1;
};

}  // namespace korvane::ui
