#include "net/request_headers.h"

#include "net/text_ops.h"
#include "net/web_fetch.h"

namespace korvane::net {

namespace {

bool Lacks(const std::string& block, std::string_view name) {
    return block.find(name) == std::string::npos;
}

}  // namespace

std::string UserAgentFor(std::string_view headers) {
    if (FindNoCase(headers, "User-Agent:") == std::string_view::npos) {
        return std::string(kDefaultUserAgent);
    }
    std::string withEnd(headers);
    withEnd += "\r\n";
    std::string agent = Trim(TextBetween(withEnd, "User-Agent:", "\r\n"));
    if (agent.empty()) {
        // Written in another letter case, or without a value.
        agent = TextAfterColon(headers);
    }
    return agent;
}

std::string HeaderBlock(std::string_view headers, std::string_view url,
                        std::optional<std::string_view> cookies) {
    std::string block(headers);
    if (block.empty()) {
        block = "Accept: */*";
    } else if (Lacks(block, "Accept:")) {
        block += "\r\nAccept: */*";
    }
    if (Lacks(block, "Referer:")) {
        block.append("\r\nReferer: ").append(url);
    }
    if (Lacks(block, "Accept-Language:")) {
        block += "\r\nAccept-Language: zh-cn";
    }
    if (Lacks(block, "Content-Type:")) {
        block += "\r\nContent-Type: application/x-www-form-urlencoded";
    }
    if (cookies && !cookies->empty()) {
        block += cookies->find("Cookie:") != std::string_view::npos ? "\r\n" : "\r\nCookie: ";
        block += *cookies;
    }
    return block;
}

}  // namespace korvane::net
