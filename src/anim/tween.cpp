#include "anim/tween.h"

#include <chrono>
#include <new>
#include <utility>

#include "anim/easing.h"
#include "platform/timer_queue.h"

namespace korvane::anim {

// One block per tween, made by StartTween and released by the tween's last tick.
struct TweenRecord {
    platform::TimerHandle timer;
    TweenCallback callback;
    int easingType;
    int duration;
    double progress;
    int from;
    int to;
    int snap;
    double currentValue;
};

namespace {

// The progress step is 10 / duration whatever the period: the duration is exact only for
// ticks 10 ms apart.
constexpr double kStepMs = 10.0;
constexpr double kTolerance = 1e-7;

int Notify(TweenRecord* tween, double value, double progress, int code) {
    return tween->callback ? tween->callback(value, progress, tween, code) : 0;
}

void TickRoutine(void* parameter) {
    TweenTick(static_cast<TweenRecord*>(parameter));
}

// Called by the tick that stopped the timer. No tick of the tween can start afterwards and
// ticks never overlap, so this one is the last to touch the record.
void Release(TweenRecord* tween) {
    delete tween;
}

}  // namespace

TweenRecord* StartTween(int from, int to, int easingType, TweenCallback callback, int period,
                        int duration, bool snap) {
    if (period == 0 || duration < 0) {
        return nullptr;
    }
    auto* tween = new (std::nothrow) TweenRecord{.timer = {},
                                                 .callback = std::move(callback),
                                                 .easingType = easingType,
                                                 .duration = duration,
                                                 .progress = 0.0,
                                                 .from = from,
                                                 .to = to,
                                                 .snap = snap ? 1 : 0,
                                                 .currentValue = 0.0};
    if (tween == nullptr) {
        return nullptr;
    }
    // The queue stores the handle into the record before the first tick, which is due at once
    // and may already have finished the tween when CreateTimer returns: the record is not
    // touched here afterwards.
    const platform::TimerHandle timer =
        platform::DefaultTimerQueue().CreateTimer(&TickRoutine, tween, std::chrono::milliseconds(0),
                                                  std::chrono::milliseconds(period), &tween->timer);
    if (!timer) {
        delete tween;
        return nullptr;
    }
    return tween;
}

void TweenTick(TweenRecord* tween) {
    const platform::TimerHandle timer = tween->timer;
    const auto stop = [timer] { platform::DefaultTimerQueue().DeleteTimer(timer); };

    if (Notify(tween, 0.0, 0.0, TickBegin) != 0) {
        stop();
        Release(tween);
        return;
    }
    tween->progress += kStepMs / tween->duration;

    if (tween->progress - 1.0 >= -kTolerance) {
        // No eased value on the completing tick: without snap the previous one is delivered.
        stop();
        if (tween->snap == 1) {
            tween->currentValue = tween->to;
        }
        if (Notify(tween, tween->currentValue, tween->progress, Value) == 0 &&
            Notify(tween, 0.0, 0.0, AfterValue) == 0) {
            Notify(tween, 0.0, 0.0, Finished);
        }
        Release(tween);
        return;
    }

    tween->currentValue = Ease(tween->progress, tween->from, tween->to, tween->easingType);
    if (Notify(tween, tween->currentValue, tween->progress, Value) != 0 ||
        Notify(tween, 0.0, 0.0, AfterValue) != 0) {
        stop();
        Release(tween);
    }
}

}  // namespace korvane::anim
