#pragma once

#include <QObject>
#include <QTimer>

namespace korvane::ui {

// A window's timer: ticks every Period() ms on the GUI thread; period 0 stops it. A new
// period restarts the count. Give it the window as parent so it goes with the window.
class WindowTimer : public QObject {
    Q_OBJECT
  public:
    explicit WindowTimer(QObject* parent = nullptr);

    void SetPeriod(int milliseconds);
    int Period() const { return period_; }

  signals:
    void tick();

  private:
    QTimer timer_;
    int period_ = 0;
};

}  // namespace korvane::ui
