// Runs the login cover's slide (12 ms period, 40 ticks) repeatedly and prints how late its
// ticks start against their schedule and how long a whole slide takes; with --json, as one
// JSON object.
#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string_view>
#include <vector>

#include "anim/tween.h"

namespace {

using Clock = std::chrono::steady_clock;
using Micros = std::chrono::duration<double, std::micro>;

constexpr int kPeriodMs = 12;
constexpr int kTicks = 40;
constexpr double kNominalMs = kPeriodMs * kTicks;

struct Slide {
    std::mutex mutex;
    std::condition_variable done;
    bool finished = false;
    std::vector<Clock::time_point> tickStarts;
    Clock::time_point end;
};

double Percentile(std::vector<double> values, double fraction) {
    std::sort(values.begin(), values.end());
    const auto index = static_cast<std::size_t>(fraction * static_cast<double>(values.size() - 1));
    return values[index];
}

}  // namespace

int main(int argc, char** argv) {
    int runs = 25;
    bool json = false;
    for (int i = 1; i < argc; ++i) {
        if (std::string_view(argv[i]) == "--json") {
            json = true;
        } else {
            runs = std::max(1, std::atoi(argv[i]));
        }
    }
    std::vector<double> lateness;  // microseconds
    std::vector<double> totals;    // milliseconds
    for (int run = 0; run < runs; ++run) {
        Slide slide;
        slide.tickStarts.reserve(kTicks);
        const Clock::time_point start = Clock::now();
        auto callback = [&slide](double, double, korvane::anim::TweenRecord*, int code) {
            const Clock::time_point now = Clock::now();
            std::lock_guard lock(slide.mutex);
            if (code == korvane::anim::TickBegin) {
                slide.tickStarts.push_back(now);
            } else if (code == korvane::anim::Finished) {
                slide.end = now;
                slide.finished = true;
                slide.done.notify_all();
            }
            return 0;
        };
        if (korvane::anim::StartTween(60, 350, 2, callback, kPeriodMs) == nullptr) {
            std::printf("the tween could not be started\n");
            return 1;
        }
        std::unique_lock lock(slide.mutex);
        slide.done.wait(lock, [&slide] { return slide.finished; });
        for (std::size_t i = 0; i < slide.tickStarts.size(); ++i) {
            const Clock::time_point due =
                start + std::chrono::milliseconds(kPeriodMs * static_cast<int>(i));
            lateness.push_back(Micros(slide.tickStarts[i] - due).count());
        }
        totals.push_back(Micros(slide.end - start).count() / 1000.0);
    }
    const double medianTotal = Percentile(totals, 0.5);
    if (json) {
        std::printf(
            "{\"runs\": %d, \"ticks\": %d, \"period_ms\": %d, \"lateness_median_us\": %.1f, "
            "\"lateness_p99_us\": %.1f, \"lateness_max_us\": %.1f, \"slide_median_ms\": %.2f, "
            "\"slide_max_ms\": %.2f, \"slide_nominal_ms\": %.0f, "
            "\"last_tick_due_ms\": %d}\n",
            runs, kTicks, kPeriodMs, Percentile(lateness, 0.5), Percentile(lateness, 0.99),
            Percentile(lateness, 1.0), medianTotal, Percentile(totals, 1.0), kNominalMs,
            kPeriodMs * (kTicks - 1));
        return 0;
    }
    std::printf("slide tween: %d runs of %d ticks, %d ms period\n", runs, kTicks, kPeriodMs);
    std::printf("tick lateness: median %.1f us, p99 %.1f us, max %.1f us\n",
                Percentile(lateness, 0.5), Percentile(lateness, 0.99), Percentile(lateness, 1.0));
    std::printf(
        "total duration: median %.2f ms against nominal %.0f ms (%+.2f ms); "
        "last tick due at %d ms\n",
        medianTotal, kNominalMs, medianTotal - kNominalMs, kPeriodMs * (kTicks - 1));
    return 0;
}
