#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

namespace korvane::platform {

// Runs on a worker thread of the queue, once per tick. It must not throw.
using TimerRoutine = void (*)(void* parameter);

// Names one timer of one queue. The empty handle names none; handles are never reused, so a
// stale handle names nothing.
struct TimerHandle {
    std::uint64_t id = 0;

    explicit operator bool() const { return id != 0; }
    friend bool operator==(TimerHandle, TimerHandle) = default;
};

// Periodic timers whose ticks run on a small pool of worker threads. Ticks of one timer never
// overlap: a tick that outlasts its period delays the next, which then runs at once. Ticks of
// different timers may run side by side.
class TimerQueue {
  public:
    static constexpr std::size_t kDefaultWorkers = 4;

    explicit TimerQueue(std::size_t workers = kDefaultWorkers);
    // Starts no tick afterwards, waits for the ticks that are running and joins the workers.
    // Timers still armed are dropped without a call.
    ~TimerQueue();

    TimerQueue(const TimerQueue&) = delete;
    TimerQueue& operator=(const TimerQueue&) = delete;

    // The first tick is due after `dueTime` (0: at once), then one every `period`. Both lie in
    // 0 .. 2^32-1 ms and the period is at least 1 ms. When `publish` is given, the handle is
    // stored there before any tick can start, so the routine may read it on its first tick.
    // Returns the empty handle when the timer cannot be made.
    TimerHandle CreateTimer(TimerRoutine routine, void* parameter,
                            std::chrono::milliseconds dueTime, std::chrono::milliseconds period,
                            TimerHandle* publish = nullptr);

    // Returns at once, also from the timer's own routine; no tick of the timer starts
    // afterwards. A tick running meanwhile on another thread is not waited for.
    void DeleteTimer(TimerHandle timer);

    // Timers that exist: armed, or deleted while a tick of theirs still runs.
    std::size_t TimerCount() const;

  private:
    using Clock = std::chrono::steady_clock;

    struct Timer {
        TimerRoutine routine;
        void* parameter;
        Clock::duration period;
        Clock::time_point due;
        bool running = false;
        bool deleted = false;
    };

    void Work();

    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::map<std::uint64_t, Timer> timers_;
    std::uint64_t lastId_ = 0;
    bool stopping_ = false;
    std::vector<std::thread> workers_;
};

// The process's default queue, made on first use and shut down at exit.
TimerQueue& DefaultTimerQueue();

}  // namespace korvane::platform
