#pragma once

#include <ctime>
#include <string>

namespace korvane::app {

// The main window's clock: the date, then the time with its trailing zero parts left out
// (9时5分 at 09:05:00, 9时 at 09:00:00, nothing at midnight). Client text.
std::string ClockText(const std::tm& local);

// ClockText of the current local date and time.
std::string ClockTextNow();

}  // namespace korvane::app
