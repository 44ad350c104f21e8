#include "net/web_fetch.h"

#include <curl/curl.h>

#include <algorithm>
#include <string>

#include "korvane/config.h"
#include "net/cookie_store.h"
#include "net/curl_handles.h"
#include "net/fetch_options.h"
#include "net/header_list.h"
#include "net/request_headers.h"
#include "net/response_headers.h"
#include "net/text_ops.h"
#include "net/transfer.h"

namespace korvane::net {

namespace {

constexpr long kMaxRedirects = 10;
constexpr const char* kWebProtocols = "http,https";

int Verb(int method) {
    return (method < kMethodGet || method > kMethodHead) ? kMethodGet : method;
}

// libcurl would read these characters in a host as the start of a query, a fragment or user
// information, and connect somewhere other than the host the URL names.
bool UsableHost(std::string_view host) {
    return !host.empty() && host.find_first_of("/?#@\\") == std::string_view::npos;
}

// The URL handed to libcurl: the request's scheme, host and port, then its path unchanged.
std::string TransportUrl(std::string_view url, bool secure) {
    int port = UrlPort(url);
    if (port == 0) {
        port = secure ? 443 : 80;  // no readable port: the scheme's own
    }
    std::string target = secure ? "https://" : "http://";
    target += UrlHost(url, false);
    target += ':';
    target += std::to_string(port);
    target += UrlPath(url);
    return target;
}

// An agent is one header value: nothing from a line break on.
std::string OneLine(std::string text) {
    text.resize(std::min(text.size(), text.find_first_of("\r\n")));
    return text;
}

}  // namespace

ByteBuffer WebFetch(std::string_view url, int method, std::string_view postText,
                    std::optional<std::string_view> cookies, std::string* cookiesOut,
                    std::string_view headers, std::string* headersOut, bool noRedirect,
                    const ByteBuffer& postBytes, std::string_view proxy) {
    return WebFetch(FetchOptions{}, url, method, postText, cookies, cookiesOut, headers, headersOut,
                    noRedirect, postBytes, proxy);
}

ByteBuffer WebFetch(const FetchOptions& options, std::string_view url, int method,
                    std::string_view postText, std::optional<std::string_view> cookies,
                    std::string* cookiesOut, std::string_view headers, std::string* headersOut,
                    bool noRedirect, const ByteBuffer& postBytes, std::string_view proxy) {
    // Everything up to curl_easy_perform is setting up: a failure leaves the outputs alone.
    if (!CurlReady() || url.find_first_of(std::string_view("\r\n\0", 3)) != url.npos ||
        !UsableHost(UrlHost(url, false))) {
        return {};
    }
    const bool secure = AsciiLower(url.substr(0, 8)) == "https://";
    UrlHandle target(curl_url());
    if (!target || curl_url_set(target.get(), CURLUPART_URL, TransportUrl(url, secure).c_str(),
                                CURLU_PATH_AS_IS) != CURLUE_OK) {
        return {};
    }
    HeaderList headerList;
    if (!BuildHeaderList(HeaderBlock(headers, url, cookies), headerList)) {
        return {};
    }
    // Passing cookies at all, even none, keeps the call away from the shared store.
    CURLSH* cookieStore = cookies ? nullptr : SharedCookieStore();
    if (!cookies && cookieStore == nullptr) {
        return {};
    }
    EasyHandle easy(curl_easy_init());
    if (!easy) {
        return {};
    }

    Transfer transfer;
    transfer.maxBytes = options.maxBodyBytes;
    Settings set(easy.get());
    set.Set(CURLOPT_NOSIGNAL, 1L);
    set.Set(CURLOPT_CURLU, target.get());
    set.Set(CURLOPT_PATH_AS_IS, 1L);
    set.Set(CURLOPT_PROTOCOLS_STR, kWebProtocols);
    set.Set(CURLOPT_REDIR_PROTOCOLS_STR, kWebProtocols);
    set.Set(CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_1));
    set.Set(CURLOPT_HTTPHEADER, headerList.get());
    set.Set(CURLOPT_HEADEROPT,
            static_cast<long>(CURLHEADER_SEPARATE));  // a proxy's CONNECT gets none of them
    const std::string agent = OneLine(UserAgentFor(headers));
    if (!agent.empty()) {
        set.Set(CURLOPT_USERAGENT, agent.c_str());
    }
    set.Set(CURLOPT_FOLLOWLOCATION, noRedirect ? 0L : 1L);
    set.Set(CURLOPT_MAXREDIRS, kMaxRedirects);

    // An empty proxy is a direct connection, whatever the environment says.
    const std::string proxyName(proxy);
    set.Set(CURLOPT_PROXY, proxyName.c_str());
    set.Set(CURLOPT_NOPROXY, "");
    set.Set(CURLOPT_SUPPRESS_CONNECT_HEADERS, 1L);

    SetTrust(set, options.caBundle.value_or(config::kCaBundle));
    if (cookieStore != nullptr) {
        // The shared store, with the cookie engine on and no file behind it.
        set.Set(CURLOPT_SHARE, cookieStore);
        set.Set(CURLOPT_COOKIEFILE, "");
    }
    SetTimeLimits(set, options);
    SetCollection(set, transfer);
    const std::string_view payload =
        postBytes.empty()
            ? postText
            : std::string_view(reinterpret_cast<const char*>(postBytes.data()), postBytes.size());
    SetVerbAndBody(set, Verb(method), payload, transfer);
    if (!set.Ok()) {
        return {};
    }

    if (!Received(curl_easy_perform(easy.get()), transfer)) {
        if (headersOut != nullptr) {
            headersOut->assign(kHeaderBufferSize, ' ');
        }
        if (cookiesOut != nullptr) {
            cookiesOut->clear();
        }
        return {};
    }
    const std::string raw = NormaliseSetCookie(
        transfer.headers.RawText().value_or(std::string(kHeaderBufferSize, ' ')));
    if (cookiesOut != nullptr) {
        *cookiesOut = CookiesFromHeaders(raw);
    }
    if (headersOut != nullptr) {
        *headersOut = raw;
    }
    return std::move(transfer.body);
}

}  // namespace korvane::net
