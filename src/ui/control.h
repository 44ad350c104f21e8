#pragma once

#include <QWidget>
#include <memory>
#include <mutex>

namespace korvane::ui {

class Control;
class WindowEx;

// A handle that timer threads may keep on a control: every write is dropped once the control
// is gone, so a slide that outlives its window does no harm.
class ControlRef {
  public:
    void SetLeft(int left);
    void SetTop(int top);

  private:
    friend class Control;
    std::mutex mutex_;
    Control* control_ = nullptr;  // cleared by the control's destructor, under mutex_
};

// Base of every skinned control. Position and size writes may come from any thread: a write
// made off the GUI thread is queued to the GUI thread, and writes apply in the order made.
// Reads are for the GUI thread and show every write whose event has been processed.
class Control : public QWidget {
    Q_OBJECT
  public:
    explicit Control(QWidget* parent = nullptr);
    ~Control() override;

    void SetLeft(int left);
    void SetTop(int top);
    void SetWidth(int width);
    void SetHeight(int height);
    // Four writes, in the order left, top, width, height.
    void SetRect(int left, int top, int width, int height);

    int Left() const { return x(); }
    int Top() const { return y(); }

    // A handle for writers on other threads that may outlive this control.
    std::shared_ptr<ControlRef> Ref() const { return ref_; }

    // What screen readers call the control: the hint of an edit box, the purpose of a
    // picture. A control that shows a caption is called by its caption, and by this name only
    // while the caption is empty.
    void SetSpokenName(const QString& name);

    // Moves this control into the window of `frame`, above its controls, at (0, 0). It keeps
    // belonging to the window it came from: hidden when that window hides, deleted with it.
    void InsertInto(WindowEx& frame);

  protected:
    // Controls that show a caption report each new caption here.
    void CaptionChanged(const QString& caption);
    // The accessible name changed to `name`; a control whose focus goes to an inner widget
    // passes it on.
    virtual void SpokenNameChanged(const QString& name);

    // Hides this control when the window it came from hides; subclasses chain to it.
    bool eventFilter(QObject* watched, QEvent* event) override;

  signals:
    // Emitted on the GUI thread once per applied left or top write, also when the value did
    // not change, so observers see every write in order.
    void moved(int left, int top);

  private:
    void ApplyLeft(int left);
    void ApplyTop(int top);
    void ApplyWidth(int width);
    void ApplyHeight(int height);

    void UpdateSpokenName();

    std::shared_ptr<ControlRef> ref_;
    QString spokenName_;
    QString caption_;
    QWidget* home_ = nullptr;  // the window InsertInto took this control from
};

}  // namespace korvane::ui
