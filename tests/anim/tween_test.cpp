#include "anim/tween.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <limits>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "anim/easing.h"
#include "platform/timer_queue.h"

namespace korvane::anim {
namespace {

using namespace std::chrono_literals;

struct Note {
    int code;
    double value;
    double progress;
    TweenRecord* tween;
};

// Collects the notifications of one tween and answers 1 to `answerCode` on tick `answerTick`
// (counted from 1; 0 answers nothing).
class Recorder {
  public:
    explicit Recorder(int answerCode = Value, int answerTick = 0,
                      std::chrono::milliseconds dwell = 0ms)
        : answerCode_(answerCode), answerTick_(answerTick), dwell_(dwell) {}

    TweenCallback Callback() {
        return [this](double value, double progress, TweenRecord* tween, int code) {
            return OnNote({code, value, progress, tween});
        };
    }

    std::vector<Note> Notes() const {
        std::lock_guard lock(mutex_);
        return notes_;
    }

    // One letter per notification: B TickBegin, V Value, A AfterValue, F Finished.
    std::string Codes() const {
        std::string codes;
        for (const Note& note : Notes()) {
            codes += note.code == TickBegin    ? 'B'
                     : note.code == Value      ? 'V'
                     : note.code == AfterValue ? 'A'
                     : note.code == Finished   ? 'F'
                                               : '?';
        }
        return codes;
    }

    std::vector<Note> Values() const {
        std::vector<Note> values;
        for (const Note& note : Notes()) {
            if (note.code == Value) {
                values.push_back(note);
            }
        }
        return values;
    }

    bool Overlapped() const { return overlapped_; }

  private:
    int OnNote(const Note& note) {
        if (inside_.fetch_add(1) != 0) {
            overlapped_ = true;
        }
        std::this_thread::sleep_for(dwell_);
        int answer = 0;
        {
            std::lock_guard lock(mutex_);
            notes_.push_back(note);
            if (note.code == TickBegin) {
                ++ticks_;
            }
            answer = note.code == answerCode_ && ticks_ == answerTick_ ? 1 : 0;
        }
        inside_.fetch_sub(1);
        return answer;
    }

    const int answerCode_;
    const int answerTick_;
    const std::chrono::milliseconds dwell_;
    mutable std::mutex mutex_;
    std::vector<Note> notes_;
    int ticks_ = 0;
    std::atomic<int> inside_{0};
    std::atomic<bool> overlapped_{false};
};

// A tween's timer is gone only after its last tick returned, so no callback runs any more.
void WaitUntilNoTweenRuns() {
    const auto limit = std::chrono::steady_clock::now() + 60s;
    while (platform::DefaultTimerQueue().TimerCount() != 0) {
        ASSERT_LT(std::chrono::steady_clock::now(), limit) << "a tween never ended";
        std::this_thread::sleep_for(1ms);
    }
}

std::string Ticks(int ordinary, const std::string& last) {
    std::string codes;
    for (int i = 0; i < ordinary; ++i) {
        codes += "BVA";
    }
    return codes + last;
}

// Checks what every completed tween delivers; the caller checks counts and the final value.
void ExpectWellFormed(const Recorder& recorder, TweenRecord* handle, int from, int to, int type) {
    for (const Note& note : recorder.Notes()) {
        EXPECT_EQ(note.tween, handle);
        if (note.code != Value) {
            EXPECT_EQ(note.value, 0.0);
            EXPECT_EQ(note.progress, 0.0);
        }
    }
    std::vector<Note> values = recorder.Values();
    if (!values.empty()) {
        values.pop_back();
    }
    for (const Note& note : values) {
        EXPECT_EQ(note.value, Ease(note.progress, from, to, type));
    }
}

TEST(Tween, DefaultsRunFortyTicksAndSnapToTarget) {
    // The login cover's slide to the right, with the default duration and snap.
    Recorder recorder;
    TweenRecord* handle = StartTween(60, 350, 2, recorder.Callback());
    ASSERT_NE(handle, nullptr);
    WaitUntilNoTweenRuns();

    EXPECT_EQ(recorder.Codes(), Ticks(39, "BVAF"));
    ExpectWellFormed(recorder, handle, 60, 350, 2);
    const std::vector<Note> values = recorder.Values();
    ASSERT_EQ(values.size(), 40u);
    const std::pair<int, int> positions[] = {{1, 74},   {2, 88},   {3, 101}, {10, 186},
                                             {20, 277}, {39, 349}, {40, 350}};
    for (const auto& [tick, left] : positions) {
        EXPECT_EQ(static_cast<int>(values[tick - 1].value), left) << "tick " << tick;
    }
    EXPECT_EQ(values.back().value, 350.0);
    EXPECT_EQ(values.back().progress, 1.0000000000000004);
}

TEST(Tween, TickCountFollowsDurationNotPeriod) {
    struct Case {
        int duration;
        int ticks;
        double finalProgress;  // NaN: not checked
    };
    constexpr double kUnchecked = std::numeric_limits<double>::quiet_NaN();
    std::vector<Case> cases = {{300, 30, 0.9999999999999999},
                               {250, 25, kUnchecked},
                               {1000, 100, kUnchecked},
                               {0, 1, std::numeric_limits<double>::infinity()}};
    for (int duration = 1; duration <= 10; ++duration) {
        cases.push_back({duration, 1, kUnchecked});
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "duration " << c.duration);
        Recorder recorder;
        TweenRecord* handle = StartTween(-20, 500, 6, recorder.Callback(), 1, c.duration);
        ASSERT_NE(handle, nullptr);
        WaitUntilNoTweenRuns();

        EXPECT_EQ(recorder.Codes(), Ticks(c.ticks - 1, "BVAF"));
        ExpectWellFormed(recorder, handle, -20, 500, 6);
        const std::vector<Note> values = recorder.Values();
        ASSERT_FALSE(values.empty());
        EXPECT_EQ(values.back().value, 500.0);
        if (!std::isnan(c.finalProgress)) {
            EXPECT_EQ(values.back().progress, c.finalProgress);
        }
    }
}

TEST(Tween, NonzeroAnswerStopsAtOnce) {
    struct Case {
        int code;
        int tick;
        const char* codes;
    };
    // Duration 30: three ticks, the third completes.
    const Case cases[] = {
        {TickBegin, 1, "B"},          {TickBegin, 2, "BVAB"},      {Value, 1, "BV"},
        {AfterValue, 2, "BVABVA"},    {TickBegin, 3, "BVABVAB"},   {Value, 3, "BVABVABV"},
        {AfterValue, 3, "BVABVABVA"}, {Finished, 3, "BVABVABVAF"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "code " << c.code << " on tick " << c.tick);
        Recorder recorder(c.code, c.tick);
        ASSERT_NE(StartTween(0, 90, 1, recorder.Callback(), 1, 30), nullptr);
        WaitUntilNoTweenRuns();
        EXPECT_EQ(recorder.Codes(), c.codes);
    }
}

TEST(Tween, WithoutCallbackRunsToCompletion) {
    ASSERT_NE(StartTween(0, 100, 1, {}, 1, 50), nullptr);
    WaitUntilNoTweenRuns();
}

TEST(Tween, WithoutSnapCompletingTickRepeatsPreviousValue) {
    Recorder recorder;
    ASSERT_NE(StartTween(60, 350, 2, recorder.Callback(), 1, 400, false), nullptr);
    WaitUntilNoTweenRuns();
    const std::vector<Note> values = recorder.Values();
    ASSERT_EQ(values.size(), 40u);
    EXPECT_EQ(values[39].value, values[38].value);
    EXPECT_LT(values[39].value, 350.0);
    EXPECT_EQ(values[39].progress, 1.0000000000000004);
    EXPECT_EQ(recorder.Codes(), Ticks(39, "BVAF"));

    Recorder single;
    ASSERT_NE(StartTween(60, 350, 2, single.Callback(), 1, 10, false), nullptr);
    WaitUntilNoTweenRuns();
    EXPECT_EQ(single.Codes(), "BVAF");
    ASSERT_EQ(single.Values().size(), 1u);
    EXPECT_EQ(single.Values()[0].value, 0.0);
}

TEST(Tween, UnknownEasingTypeGivesZeroUntilTheSnap) {
    for (int type : {0, 34}) {
        SCOPED_TRACE(testing::Message() << "type " << type);
        Recorder recorder;
        ASSERT_NE(StartTween(10, 70, type, recorder.Callback(), 1, 50), nullptr);
        WaitUntilNoTweenRuns();
        const std::vector<Note> values = recorder.Values();
        ASSERT_EQ(values.size(), 5u);
        for (std::size_t i = 0; i + 1 < values.size(); ++i) {
            EXPECT_EQ(values[i].value, 0.0);
        }
        EXPECT_EQ(values.back().value, 70.0);
    }
}

TEST(Tween, RefusedStartsTakeNothingAndNeverCall) {
    struct Case {
        int period;
        int duration;
    };
    // Period 0 is refused outright; a negative period cannot be a timer period, so the record
    // is given back; a negative duration would never complete.
    for (const Case c : {Case{0, 400}, Case{-1, 400}, Case{10, -1}}) {
        SCOPED_TRACE(testing::Message() << "period " << c.period << " duration " << c.duration);
        Recorder recorder;
        EXPECT_EQ(StartTween(0, 100, 1, recorder.Callback(), c.period, c.duration), nullptr);
        EXPECT_EQ(platform::DefaultTimerQueue().TimerCount(), 0u);
        EXPECT_TRUE(recorder.Notes().empty());
    }
}

TEST(Tween, SlowCallbacksNeverOverlapTicksAndTweensRunSideBySide) {
    // Each notification outlasts the 1 ms period, so every tick overruns into the next.
    Recorder first(Value, 0, 2ms);
    Recorder second(Value, 0, 2ms);
    ASSERT_NE(StartTween(0, 100, 1, first.Callback(), 1, 100), nullptr);
    ASSERT_NE(StartTween(100, 0, 2, second.Callback(), 1, 100), nullptr);
    WaitUntilNoTweenRuns();
    for (const Recorder* recorder : {&first, &second}) {
        EXPECT_FALSE(recorder->Overlapped());
        EXPECT_EQ(recorder->Codes(), Ticks(9, "BVAF"));
    }
}

}  // namespace
}  // namespace korvane::anim
