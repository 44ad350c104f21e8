#pragma once

#include <QString>
#include <string>

namespace korvane::ui {

// Controls speak client text (code page 936) at their API and QString inside; these two
// functions are the only crossing. Text that cannot be converted becomes empty.
QString ToQString(const std::string& clientText);
std::string FromQString(const QString& text);

}  // namespace korvane::ui
