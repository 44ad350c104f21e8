#include "app/clock_text.h"

#include <gtest/gtest.h>

#include "app_test_support.h"

namespace korvane::app {
namespace {

using testing::Local;

struct ClockCase {
    int hour;
    int minute;
    int second;
    const char* expected;  // UTF-8
};

TEST(ClockText, LeavesOutTrailingZeroParts) {
    const ClockCase cases[] = {
        {9, 5, 7, "2026年12月10日9时5分7秒"}, {14, 30, 0, "2026年12月10日14时30分"},
        {9, 0, 0, "2026年12月10日9时"},       {9, 5, 0, "2026年12月10日9时5分"},
        {0, 0, 0, "2026年12月10日"},          {0, 5, 0, "2026年12月10日0时5分"},
        {0, 0, 5, "2026年12月10日0时0分5秒"}, {23, 59, 59, "2026年12月10日23时59分59秒"},
    };
    for (const ClockCase& c : cases) {
        std::tm local{};
        local.tm_year = 2026 - 1900;
        local.tm_mon = 11;
        local.tm_mday = 10;
        local.tm_hour = c.hour;
        local.tm_min = c.minute;
        local.tm_sec = c.second;
        EXPECT_EQ(ClockText(local), Local(c.expected)) << c.expected;
    }
}

TEST(ClockText, DateHasNoLeadingZeros) {
    std::tm local{};
    local.tm_year = 2027 - 1900;
    local.tm_mon = 0;
    local.tm_mday = 3;
    local.tm_hour = 7;
    local.tm_min = 8;
    local.tm_sec = 9;
    EXPECT_EQ(ClockText(local), Local("2027年1月3日7时8分9秒"));
}

}  // namespace
}  // namespace korvane::app
