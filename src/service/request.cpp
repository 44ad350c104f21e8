#include "service/request.h"

#include <algorithm>

#include "net/web_fetch.h"
#include "service/authcode.h"
#include "text/code_page.h"

namespace korvane::service {

namespace {

void ReplaceAll(std::string& text, std::string_view from, std::string_view to) {
    for (std::size_t at = text.find(from); at != std::string::npos;
         at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
}

}  // namespace

std::string EscapeFormValue(std::string_view text) {
    std::string escaped(text);
    ReplaceAll(escaped, "+", "%2B");
    ReplaceAll(escaped, "&", "%26");
    ReplaceAll(escaped, "/", "%2F");
    return escaped;
}

std::string SendRequest(const ServiceConfig& config, std::string_view endpoint,
                        std::string_view payload) {
    const std::string payload8 = text::LocalToUtf8(std::string(payload));
    const std::string cipher = AuthcodeEncode(payload8, config.applicationKey);
    std::string body = "id=";
    body += config.applicationId;
    body += "&data=";
    body += EscapeFormValue(cipher);
    std::string url(config.baseUrl);
    url += "index.php/api/";
    url += endpoint;

    const net::ByteBuffer reply = net::WebFetch(url, net::kMethodPost, body);
    const std::string replyText(reply.begin(), std::find(reply.begin(), reply.end(), 0));
    return AuthcodeDecode(replyText, config.applicationKey);
}

}  // namespace korvane::service
