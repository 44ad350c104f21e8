#include "ui/text_bridge.h"

#include <cstring>

#include "text/code_page.h"

namespace korvane::ui {

QString ToQString(const std::string& clientText) {
    const text::Utf16Buffer units = text::TextToUtf16(clientText.c_str(), text::kGbkCodePage, true);
    // The buffer ends with a zero unit that the QString does not keep.
    const auto count = static_cast<qsizetype>(units.size() / 2);
    if (count <= 1) {
        return {};
    }
    QString result(count - 1, Qt::Uninitialized);
    std::memcpy(result.data(), units.data(), static_cast<std::size_t>(count - 1) * 2);
    return result;
}

std::string FromQString(const QString& text) {
    text::Utf16Buffer units(static_cast<std::size_t>(text.size() + 1) * 2, 0);
    std::memcpy(units.data(), text.utf16(), static_cast<std::size_t>(text.size()) * 2);
    return text::Utf16ToText(units, text::kGbkCodePage, true);
}

}  // namespace korvane::ui
