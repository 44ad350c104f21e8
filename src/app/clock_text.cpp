#include "app/clock_text.h"

#include <chrono>

#include "text/code_page.h"

namespace korvane::app {

namespace {

void AppendNumber(std::string& out, int number, const std::string& unit) {
    out += std::to_string(number);
    out += unit;
}

}  // namespace

std::string ClockText(const std::tm& local) {
    static const std::string kYear = text::Utf8ToLocal("年");
    static const std::string kMonth = text::Utf8ToLocal("月");
    static const std::string kDay = text::Utf8ToLocal("日");
    static const std::string kHour = text::Utf8ToLocal("时");
    static const std::string kMinute = text::Utf8ToLocal("分");
    static const std::string kSecond = text::Utf8ToLocal("秒");

    std::string out;
    AppendNumber(out, local.tm_year + 1900, kYear);
    AppendNumber(out, local.tm_mon + 1, kMonth);
    AppendNumber(out, local.tm_mday, kDay);
    if (local.tm_sec != 0) {
        AppendNumber(out, local.tm_hour, kHour);
        AppendNumber(out, local.tm_min, kMinute);
        AppendNumber(out, local.tm_sec, kSecond);
    } else if (local.tm_min != 0) {
        AppendNumber(out, local.tm_hour, kHour);
        AppendNumber(out, local.tm_min, kMinute);
    } else if (local.tm_hour != 0) {
        AppendNumber(out, local.tm_hour, kHour);
    }
    return out;
}

std::string ClockTextNow() {
    const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    std::tm local{};
    localtime_r(&now, &local);
    return ClockText(local);
}

}  // namespace korvane::app
