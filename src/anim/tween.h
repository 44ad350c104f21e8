#pragma once

#include <functional>

namespace korvane::anim {

struct TweenRecord;

// Notification codes a tween sends to its callback.
enum TweenCode : int { TickBegin = -1, Value = 0, AfterValue = -2, Finished = -3 };

// Receives every notification of a tween on a timer thread; a nonzero answer stops the tween.
using TweenCallback =
    std::function<int(double value, double progress, TweenRecord* tween, int code)>;

// Starts a tween whose first tick runs at once on a timer thread, then one every `period`
// milliseconds. Returns an opaque handle that is released by the tween's last tick, or nullptr
// for period 0, a negative duration (such a tween would never end) or when no timer could be
// made.
TweenRecord* StartTween(int from, int to, int easingType = 1, TweenCallback callback = {},
                        int period = 10, int duration = 400, bool snap = true);

// The timer routine of one tween.
void TweenTick(TweenRecord* tween);

}  // namespace korvane::anim
