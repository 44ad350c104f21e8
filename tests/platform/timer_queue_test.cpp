#include "platform/timer_queue.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <mutex>
#include <thread>

namespace korvane::platform {
namespace {

using namespace std::chrono_literals;

constexpr auto kPatience = 60s;

// Waits without a tight bound; a condition that never holds fails the test instead of hanging.
template <typename Condition>
bool Eventually(Condition condition) {
    const auto limit = std::chrono::steady_clock::now() + kPatience;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > limit) {
            return false;
        }
        std::this_thread::sleep_for(1ms);
    }
    return true;
}

struct Counter {
    TimerQueue* queue = nullptr;
    TimerHandle self;
    int deleteOnTick = 0;  // 0: never
    std::chrono::milliseconds dwell{0};
    std::atomic<int> ticks{0};
    std::atomic<int> inside{0};
    std::atomic<bool> overlapped{false};
};

void Count(void* parameter) {
    auto& counter = *static_cast<Counter*>(parameter);
    if (counter.inside.fetch_add(1) != 0) {
        counter.overlapped = true;
    }
    std::this_thread::sleep_for(counter.dwell);
    const int tick = counter.ticks.fetch_add(1) + 1;
    counter.inside.fetch_sub(1);
    if (tick == counter.deleteOnTick) {
        counter.queue->DeleteTimer(counter.self);
    }
}

// Blocks each tick until released; tells when a tick has entered.
struct Gate {
    std::mutex mutex;
    std::condition_variable changed;
    int entered = 0;
    bool open = false;

    void Pass() {
        std::unique_lock lock(mutex);
        ++entered;
        changed.notify_all();
        changed.wait_for(lock, kPatience, [this] { return open; });
    }
    bool WaitEntered(int count) {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, kPatience, [&] { return entered >= count; });
    }
    void Open() {
        std::lock_guard lock(mutex);
        open = true;
        changed.notify_all();
    }
};

void PassGate(void* parameter) {
    static_cast<Gate*>(parameter)->Pass();
}

TEST(TimerQueue, FirstTickDoesNotWaitForThePeriod) {
    TimerQueue queue;
    Counter counter;
    const TimerHandle timer = queue.CreateTimer(&Count, &counter, 0ms, 1h);
    ASSERT_TRUE(timer);
    EXPECT_TRUE(Eventually([&] { return counter.ticks >= 1; }));
    queue.DeleteTimer(timer);
}

TEST(TimerQueue, DeleteFromOwnRoutineStopsAfterThatTick) {
    TimerQueue queue;
    Counter counter;
    counter.queue = &queue;
    counter.deleteOnTick = 3;
    // The handle is published before the first tick, which is due at once.
    ASSERT_TRUE(queue.CreateTimer(&Count, &counter, 0ms, 1ms, &counter.self));
    ASSERT_TRUE(Eventually([&] { return queue.TimerCount() == 0; }));
    EXPECT_EQ(counter.ticks, 3);
}

TEST(TimerQueue, FirstTickSeesPublishedHandle) {
    TimerQueue queue;
    Counter counter;
    counter.queue = &queue;
    counter.deleteOnTick = 1;
    ASSERT_TRUE(queue.CreateTimer(&Count, &counter, 0ms, 1ms, &counter.self));
    ASSERT_TRUE(Eventually([&] { return queue.TimerCount() == 0; }));
    EXPECT_EQ(counter.ticks, 1);
}

TEST(TimerQueue, SlowTicksNeverOverlap) {
    TimerQueue queue;
    Counter counter;
    counter.queue = &queue;
    counter.deleteOnTick = 20;
    counter.dwell = 3ms;
    ASSERT_TRUE(queue.CreateTimer(&Count, &counter, 0ms, 1ms, &counter.self));
    ASSERT_TRUE(Eventually([&] { return queue.TimerCount() == 0; }));
    EXPECT_EQ(counter.ticks, 20);
    EXPECT_FALSE(counter.overlapped);
}

TEST(TimerQueue, DeleteBeforeFirstTickRunsNothing) {
    TimerQueue queue;
    Counter counter;
    const TimerHandle timer = queue.CreateTimer(&Count, &counter, 1h, 1ms);
    ASSERT_TRUE(timer);
    queue.DeleteTimer(timer);
    EXPECT_EQ(queue.TimerCount(), 0u);
    queue.DeleteTimer(timer);  // stale: names nothing
    queue.DeleteTimer({});
    EXPECT_EQ(counter.ticks, 0);
}

TEST(TimerQueue, DeleteDuringTickReturnsAtOnceAndStartsNoMore) {
    TimerQueue queue;
    Gate gate;
    const TimerHandle timer = queue.CreateTimer(&PassGate, &gate, 0ms, 1ms);
    ASSERT_TRUE(timer);
    ASSERT_TRUE(gate.WaitEntered(1));
    queue.DeleteTimer(timer);  // the tick is still held at the gate
    EXPECT_EQ(queue.TimerCount(), 1u);
    gate.Open();
    ASSERT_TRUE(Eventually([&] { return queue.TimerCount() == 0; }));
    std::lock_guard lock(gate.mutex);
    EXPECT_EQ(gate.entered, 1);
}

TEST(TimerQueue, TicksOfDifferentTimersRunSideBySide) {
    TimerQueue queue(2);
    Gate gate;
    const TimerHandle first = queue.CreateTimer(&PassGate, &gate, 0ms, 1h);
    const TimerHandle second = queue.CreateTimer(&PassGate, &gate, 0ms, 1h);
    ASSERT_TRUE(first && second);
    EXPECT_TRUE(gate.WaitEntered(2));
    gate.Open();
    queue.DeleteTimer(first);
    queue.DeleteTimer(second);
}

TEST(TimerQueue, RefusesTimersItCannotRun) {
    TimerQueue queue;
    Counter counter;
    TimerHandle published{7};
    EXPECT_FALSE(queue.CreateTimer(nullptr, &counter, 0ms, 1ms, &published));
    EXPECT_FALSE(queue.CreateTimer(&Count, &counter, 0ms, 0ms, &published));
    EXPECT_FALSE(queue.CreateTimer(&Count, &counter, 0ms, -5ms, &published));
    EXPECT_FALSE(queue.CreateTimer(&Count, &counter, -1ms, 1ms, &published));
    EXPECT_FALSE(queue.CreateTimer(&Count, &counter, 0ms, 0x100000000ms, &published));
    EXPECT_EQ(published, TimerHandle{7});
    EXPECT_EQ(queue.TimerCount(), 0u);

    TimerQueue idle(0);
    EXPECT_FALSE(idle.CreateTimer(&Count, &counter, 0ms, 1ms));
}

TEST(TimerQueue, DestructionWaitsForRunningTickAndDropsTheRest) {
    Gate gate;
    Counter pending;
    std::atomic<bool> destroyed{false};
    std::thread opener;
    {
        TimerQueue queue;
        ASSERT_TRUE(queue.CreateTimer(&PassGate, &gate, 0ms, 1ms));
        ASSERT_TRUE(queue.CreateTimer(&Count, &pending, 1h, 1ms));
        ASSERT_TRUE(gate.WaitEntered(1));
        opener = std::thread([&] {
            std::this_thread::sleep_for(10ms);
            EXPECT_FALSE(destroyed);
            gate.Open();
        });
    }
    destroyed = true;
    opener.join();
    EXPECT_EQ(pending.ticks, 0);
}

void ExitWhileTicking() {
    static Counter counter;
    counter.dwell = 2ms;
    if (!DefaultTimerQueue().CreateTimer(&Count, &counter, 0ms, 1ms)) {
        std::_Exit(2);
    }
    if (!Eventually([] { return counter.ticks >= 3; })) {
        std::_Exit(3);
    }
    std::exit(0);
}

TEST(TimerQueueDeathTest, ProcessExitsCleanlyWithTimerRunning) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(ExitWhileTicking(), testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace korvane::platform
