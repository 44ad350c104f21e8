#include "net/response_headers.h"

#include <algorithm>

#include "net/text_ops.h"
#include "net/web_fetch.h"

namespace korvane::net {

namespace {

constexpr std::string_view kCrLf = "\r\n";

std::string_view WithoutLineBreak(std::string_view line) {
    if (line.ends_with('\n')) {
        line.remove_suffix(1);
    }
    if (line.ends_with('\r')) {
        line.remove_suffix(1);
    }
    return line;
}

// The text split at CR LF; an empty last piece is dropped.
std::vector<std::string_view> Lines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    for (std::size_t at = text.find(kCrLf); at != std::string_view::npos;
         at = text.find(kCrLf, start)) {
        lines.push_back(text.substr(start, at - start));
        start = at + kCrLf.size();
    }
    if (start < text.size()) {
        lines.push_back(text.substr(start));
    }
    return lines;
}

// The three digits after the version of a status line such as "HTTP/1.1 200 OK".
int StatusCode(std::string_view statusLine) {
    const std::size_t space = statusLine.find(' ');
    if (space == std::string_view::npos) {
        return 0;
    }
    int code = 0;
    for (std::size_t i = space + 1; i < statusLine.size() && i < space + 4; ++i) {
        if (statusLine[i] < '0' || statusLine[i] > '9') {
            return 0;
        }
        code = code * 10 + (statusLine[i] - '0');
    }
    return code;
}

}  // namespace

bool ResponseHeaderLines::Add(std::string_view line) {
    line = WithoutLineBreak(line);
    if (!open_) {
        if (!line.starts_with("HTTP/")) {
            return false;
        }
        lines_.clear();
        length_ = 0;
        tooLong_ = false;
        open_ = true;
        status_ = StatusCode(line);
    } else if (line.empty()) {
        open_ = false;
        return true;
    }
    if (tooLong_) {
        return false;
    }
    length_ += (lines_.empty() ? 0 : kCrLf.size()) + line.size();
    if (length_ > kRawHeaderLimit) {
        // Only the fact is needed; the lines are let go so a flood of headers costs nothing.
        tooLong_ = true;
        lines_.clear();
        return false;
    }
    lines_.emplace_back(line);
    return false;
}

std::optional<std::string> ResponseHeaderLines::RawText() const {
    if (tooLong_) {
        return std::nullopt;
    }
    std::string text;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (i > 0) {
            text += kCrLf;
        }
        text += lines_[i];
    }
    // A text ends at its first zero byte.
    text.resize(std::min(text.size(), text.find('\0')));
    return text;
}

std::string NormaliseSetCookie(std::string_view rawHeaders) {
    return ReplaceAllNoCase(rawHeaders, "Set-Cookie", "Set-Cookie");
}

std::string CookiesFromHeaders(std::string_view rawHeaders) {
    std::string cookies;
    for (std::string_view line : Lines(rawHeaders)) {
        if (line.find("Set-Cookie") == std::string_view::npos) {
            continue;
        }
        if (line.find(';') == std::string_view::npos) {
            cookies += Trim(ReplaceAllNoCase(line, "Set-Cookie:", ""));
        } else {
            cookies += Trim(TextBetween(line, "Set-Cookie:", ";"));
        }
        cookies += "; ";
    }
    cookies.resize(cookies.size() < 2 ? 0 : cookies.size() - 2);
    return cookies;
}

}  // namespace korvane::net
