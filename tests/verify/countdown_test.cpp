#include <gtest/gtest.h>

#include "verify/code_request.h"
#include "verify_fixture.h"

namespace korvane::verify {
namespace {

TEST(CountdownTick, ShowsTheSecondsLeftThenRestoresTheButtonOnTickSixty) {
    RecordingView view;
    std::int32_t ticks = 0;
    for (int tick = 1; tick <= 60; ++tick) {
        CountdownTick(view, ticks);
        EXPECT_EQ(ticks, tick == 60 ? 0 : tick);
    }
    ASSERT_EQ(view.captions.size(), 60u);
    ASSERT_EQ(view.buttonEnabled.size(), 60u);
    const struct {
        int tick;
        const char* caption;
        bool enabled;
    } cases[] = {
        {1, "59s", false},
        {30, "30s", false},
        {59, "1s", false},
        {60, "获取验证码", true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(view.captions[c.tick - 1], c.caption) << c.tick;
        EXPECT_EQ(view.buttonEnabled[c.tick - 1], c.enabled) << c.tick;
    }
    // Only tick 60 touches the timer, and stops it.
    EXPECT_EQ(view.timerPeriods, std::vector<std::int32_t>{0});
}

}  // namespace
}  // namespace korvane::verify
