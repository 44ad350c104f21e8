#include "platform/timer_queue.h"

#include <exception>

namespace korvane::platform {
namespace {

// The range of the platform's 32-bit millisecond timer arguments.
constexpr std::chrono::milliseconds kLongestWait{0xFFFFFFFFLL};

}  // namespace

TimerQueue::TimerQueue(std::size_t workers) {
    // A queue that got no worker at all refuses every timer instead of failing here.
    try {
        workers_.reserve(workers);
        for (std::size_t i = 0; i < workers; ++i) {
            workers_.emplace_back(&TimerQueue::Work, this);
        }
    } catch (const std::exception&) {
    }
}

TimerQueue::~TimerQueue() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    for (std::thread& worker : workers_) {
        // Only an exit called from a routine lands here on a worker; that thread never
        // comes back to the queue.
        if (worker.get_id() == std::this_thread::get_id()) {
            worker.detach();
        } else {
            worker.join();
        }
    }
}

TimerHandle TimerQueue::CreateTimer(TimerRoutine routine, void* parameter,
                                    std::chrono::milliseconds dueTime,
                                    std::chrono::milliseconds period, TimerHandle* publish) {
    using std::chrono::milliseconds;
    if (routine == nullptr || dueTime < milliseconds(0) || dueTime > kLongestWait ||
        period < milliseconds(1) || period > kLongestWait) {
        return {};
    }
    TimerHandle handle;
    {
        std::lock_guard lock(mutex_);
        if (stopping_ || workers_.empty()) {
            return {};
        }
        try {
            const std::uint64_t id = lastId_ + 1;
            timers_.emplace(id, Timer{routine, parameter, period, Clock::now() + dueTime});
            lastId_ = id;
            handle.id = id;
        } catch (const std::exception&) {
            return {};
        }
        if (publish != nullptr) {
            *publish = handle;
        }
    }
    wake_.notify_all();
    return handle;
}

void TimerQueue::DeleteTimer(TimerHandle timer) {
    std::lock_guard lock(mutex_);
    const auto it = timers_.find(timer.id);
    if (it == timers_.end()) {
        return;
    }
    if (it->second.running) {
        // The worker running the tick drops the timer when the tick returns.
        it->second.deleted = true;
    } else {
        timers_.erase(it);
    }
}

std::size_t TimerQueue::TimerCount() const {
    std::lock_guard lock(mutex_);
    return timers_.size();
}

void TimerQueue::Work() {
    std::unique_lock lock(mutex_);
    while (!stopping_) {
        auto next = timers_.end();
        for (auto it = timers_.begin(); it != timers_.end(); ++it) {
            if (!it->second.running &&
                (next == timers_.end() || it->second.due < next->second.due)) {
                next = it;
            }
        }
        if (next == timers_.end()) {
            wake_.wait(lock);
            continue;
        }
        Timer& timer = next->second;
        if (timer.due > Clock::now()) {
            // Copied: the timer may be deleted while this worker sleeps.
            const Clock::time_point due = timer.due;
            wake_.wait_until(lock, due);
            continue;
        }
        // While `running` is set no other worker picks the timer and DeleteTimer leaves it
        // in place, so `next` stays valid across the call.
        timer.running = true;
        lock.unlock();
        timer.routine(timer.parameter);
        lock.lock();
        timer.running = false;
        if (timer.deleted) {
            timers_.erase(next);
            continue;
        }
        // Keep to the schedule; after an overrun the next tick runs at once, without a burst
        // of the ticks that were missed.
        timer.due += timer.period;
        const Clock::time_point now = Clock::now();
        if (timer.due < now) {
            timer.due = now;
        }
    }
}

TimerQueue& DefaultTimerQueue() {
    static TimerQueue queue;
    return queue;
}

}  // namespace korvane::platform
