#include "ui/window_timer.h"

#include <algorithm>

namespace korvane::ui {

WindowTimer::WindowTimer(QObject* parent) : QObject(parent) {
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &WindowTimer::tick);
}

void WindowTimer::SetPeriod(int milliseconds) {
    period_ = std::max(milliseconds, 0);
    if (period_ == 0) {
        timer_.stop();
    } else {
        timer_.start(period_);
    }
}

}  // namespace korvane::ui
