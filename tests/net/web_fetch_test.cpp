#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "loopback_server.h"
#include "net/web_fetch.h"

namespace korvane::net {
namespace {

using testing::LoopbackServer;
using testing::ReceivedRequest;
using testing::Reply;

constexpr std::string_view kAgentLine =
    "User-Agent: Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)";

std::string Text(const ByteBuffer& bytes) {
    return {bytes.begin(), bytes.end()};
}

std::string ReplaceAll(std::string text, std::string_view from, std::string_view to) {
    for (std::size_t at = text.find(from); at != std::string::npos;
         at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
    return text;
}

// The header line of `request` that starts with `name`, or nullopt.
std::optional<std::string> HeaderLine(const ReceivedRequest& request, std::string_view name) {
    std::size_t start = 0;
    const std::string& block = request.headerBlock;
    while (start <= block.size()) {
        std::size_t end = block.find("\r\n", start);
        if (end == std::string::npos) {
            end = block.size();
        }
        if (block.compare(start, name.size(), name) == 0) {
            return block.substr(start, end - start);
        }
        start = end + 2;
    }
    return std::nullopt;
}

class WebFetchTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(server.Listening()); }

    ReceivedRequest OnlyRequest() const {
        const std::vector<ReceivedRequest> received = server.Received();
        EXPECT_EQ(received.size(), 1u);
        return received.empty() ? ReceivedRequest{} : received.back();
    }

    // `pattern` with {host} as host:port and {url} as the server's URL for `target`.
    std::string Expand(std::string_view pattern, std::string_view target) const {
        std::string text = ReplaceAll(std::string(pattern), "{url}", server.Url(target));
        return ReplaceAll(text, "{host}", "127.0.0.1:" + std::to_string(server.Port()));
    }

    LoopbackServer server;
};

TEST_F(WebFetchTest, RequestOnTheWire) {
    struct Case {
        const char* name;
        int method;
        std::string postText;
        std::string_view headers;
        std::optional<std::string_view> cookies;
        ByteBuffer postBytes;
        std::string requestVerb;
        std::string headerBlock;  // {host} and {url} filled in
        std::string body;
    };
    const std::string big(2 << 20, 'z');
    const std::string tail =
        "\r\nReferer: {url}\r\nAccept-Language: zh-cn\r\n"
        "Content-Type: application/x-www-form-urlencoded";
    const std::string plain = "Host: {host}\r\n" + std::string(kAgentLine) + "\r\nAccept: */*";
    const std::vector<Case> cases = {
        {"plain POST",
         kMethodPost,
         "id=1&data=x",
         "",
         std::nullopt,
         {},
         "POST",
         "Host: {host}\r\n"
         "User-Agent: Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)\r\n"
         "Accept: */*\r\n"
         "Referer: {url}\r\n"
         "Accept-Language: zh-cn\r\n"
         "Content-Type: application/x-www-form-urlencoded\r\n"
         "Content-Length: 11",
         "id=1&data=x"},
        {"own Accept",
         kMethodPost,
         "b",
         "Accept: text/html",
         std::nullopt,
         {},
         "POST",
         "Host: {host}\r\n" + std::string(kAgentLine) + "\r\nAccept: text/html" + tail +
             "\r\nContent-Length: 1",
         "b"},
        {"own Content-Type",
         kMethodPost,
         "b",
         "Content-Type: text/plain",
         std::nullopt,
         {},
         "POST",
         "Host: {host}\r\n" + std::string(kAgentLine) +
             "\r\nContent-Type: text/plain\r\nAccept: */*\r\nReferer: {url}\r\n"
             "Accept-Language: zh-cn\r\nContent-Length: 1",
         "b"},
        {"own Referer",
         kMethodPost,
         "b",
         "Referer: http://elsewhere.test/",
         std::nullopt,
         {},
         "POST",
         "Host: {host}\r\n" + std::string(kAgentLine) +
             "\r\nReferer: http://elsewhere.test/\r\nAccept: */*\r\nAccept-Language: zh-cn\r\n"
             "Content-Type: application/x-www-form-urlencoded\r\nContent-Length: 1",
         "b"},
        {"own User-Agent, sent once",
         kMethodPost,
         "b",
         "User-Agent: Foo/1.0",
         std::nullopt,
         {},
         "POST",
         "Host: {host}\r\nUser-Agent: Foo/1.0\r\nAccept: */*" + tail + "\r\nContent-Length: 1",
         "b"},
        {"agent named inside another line",
         kMethodPost,
         "b",
         "X-Note: User-Agent: Bar",
         std::nullopt,
         {},
         "POST",
         "Host: {host}\r\nUser-Agent: Bar\r\nX-Note: User-Agent: Bar\r\nAccept: */*" + tail +
             "\r\nContent-Length: 1",
         "b"},
        {"several own lines, one blank",
         kMethodPost,
         "b",
         "X-A: 1\r\nX-Empty:\r\nX-B: 2",
         std::nullopt,
         {},
         "POST",
         "Host: {host}\r\n" + std::string(kAgentLine) +
             "\r\nX-A: 1\r\nX-Empty:\r\nX-B: 2\r\nAccept: */*" + tail + "\r\nContent-Length: 1",
         "b"},
        {"cookies a=1",
         kMethodPost,
         "b",
         "",
         "a=1",
         {},
         "POST",
         plain + tail + "\r\nCookie: a=1\r\nContent-Length: 1",
         "b"},
        {"cookies as a whole line",
         kMethodPost,
         "b",
         "",
         "Cookie: a=1",
         {},
         "POST",
         plain + tail + "\r\nCookie: a=1\r\nContent-Length: 1",
         "b"},
        {"cookies passed but empty",
         kMethodPost,
         "b",
         "",
         "",
         {},
         "POST",
         plain + tail + "\r\nContent-Length: 1",
         "b"},
        {"bytes before text",
         kMethodPost,
         "text",
         "",
         std::nullopt,
         {'a', 0, 'b'},
         "POST",
         plain + tail + "\r\nContent-Length: 3",
         std::string("a\0b", 3)},
        {"empty POST",
         kMethodPost,
         "",
         "",
         std::nullopt,
         {},
         "POST",
         plain + tail + "\r\nContent-Length: 0",
         ""},
        {"large POST, no Expect",
         kMethodPost,
         big,
         "",
         std::nullopt,
         {},
         "POST",
         plain + tail + "\r\nContent-Length: " + std::to_string(big.size()),
         big},
        {"method 7 is GET", 7, "ignored", "", std::nullopt, {}, "GET", plain + tail, ""},
        {"method -1 is GET", -1, "", "", std::nullopt, {}, "GET", plain + tail, ""},
        {"HEAD carries the text",
         kMethodHead,
         "ping",
         "",
         std::nullopt,
         {},
         "HEAD",
         plain + tail + "\r\nContent-Length: 4",
         "ping"},
        {"HEAD without a body", kMethodHead, "", "", std::nullopt, {}, "HEAD", plain + tail, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string target = "/wire/" + std::to_string(&c - cases.data());
        const std::size_t before = server.Received().size();
        std::string headersOut;
        const ByteBuffer body = WebFetch(server.Url(target), c.method, c.postText, c.cookies,
                                         nullptr, c.headers, &headersOut, false, c.postBytes);
        const std::vector<ReceivedRequest> received = server.Received();
        ASSERT_EQ(received.size(), before + 1);
        const ReceivedRequest& request = received.back();
        EXPECT_EQ(request.requestLine, c.requestVerb + " " + target + " HTTP/1.1");
        EXPECT_EQ(request.headerBlock, Expand(c.headerBlock, target));
        EXPECT_EQ(request.body, c.body);
        // The default reply echoes the request; a HEAD reply has no body.
        EXPECT_EQ(Text(body), c.requestVerb == "HEAD" ? "" : request.Raw());
        EXPECT_EQ(headersOut,
                  "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(request.Raw().size()));
    }
}

TEST_F(WebFetchTest, UrlPartsReachTheWire) {
    const std::string port = std::to_string(server.Port());
    struct Case {
        std::string url;
        std::string requestLine;
    };
    const Case cases[] = {
        {"HTTP://127.0.0.1:" + port + "/Mixed/Case?Q=A%20b&c=/d",
         "GET /Mixed/Case?Q=A%20b&c=/d HTTP/1.1"},
        {"127.0.0.1:" + port + "/no/scheme", "GET /no/scheme HTTP/1.1"},
        {"http://127.0.0.1:" + port, "GET / HTTP/1.1"},
        {"http://127.0.0.1:" + port + "/a/../b/./c", "GET /a/../b/./c HTTP/1.1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.url);
        const std::size_t before = server.Received().size();
        WebFetch(c.url);
        const std::vector<ReceivedRequest> received = server.Received();
        ASSERT_EQ(received.size(), before + 1);
        EXPECT_EQ(received.back().requestLine, c.requestLine);
        EXPECT_EQ(HeaderLine(received.back(), "Host:"), "Host: 127.0.0.1:" + port);
        EXPECT_EQ(HeaderLine(received.back(), "Referer:"), "Referer: " + c.url);
    }
}

TEST_F(WebFetchTest, ResponseHeadersAndCookies) {
    struct Case {
        const char* name;
        std::vector<std::string> headers;
        std::string headersOut;  // after the status and length lines
        std::string cookiesOut;
    };
    const Case cases[] = {
        {"two cookies",
         {"Set-Cookie: a=1; path=/", "set-cookie: b=2", "X-Other: 1"},
         "\r\nSet-Cookie: a=1; path=/\r\nSet-Cookie: b=2\r\nX-Other: 1",
         "a=1; b=2"},
        {"no cookies", {"X-Other: 1"}, "\r\nX-Other: 1", ""},
        {"same name twice, not merged",
         {"SET-COOKIE: a=1; Max-Age=0", "Set-Cookie: a=2"},
         "\r\nSet-Cookie: a=1; Max-Age=0\r\nSet-Cookie: a=2",
         "a=1; a=2"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string target = std::string("/answer/") + std::to_string(&c - cases);
        Reply reply;
        reply.headers = c.headers;
        reply.body = "ok";
        server.Answer(target, reply);
        std::string cookiesOut = "stale";
        std::string headersOut = "stale";
        // Passing cookies keeps these out of the process-wide store.
        const ByteBuffer body =
            WebFetch(server.Url(target), kMethodGet, {}, "", &cookiesOut, {}, &headersOut);
        EXPECT_EQ(Text(body), "ok");
        EXPECT_EQ(headersOut, "HTTP/1.1 200 OK\r\nContent-Length: 2" + c.headersOut);
        EXPECT_EQ(cookiesOut, c.cookiesOut);
    }
}

TEST_F(WebFetchTest, InterimResponseIsSkipped) {
    Reply reply;
    reply.before = "HTTP/1.1 100 Continue\r\nX-Interim: 1\r\n\r\n";
    reply.headers = {"Set-Cookie: a=1"};
    reply.body = "done";
    server.Answer("/interim", reply);
    std::string cookiesOut;
    std::string headersOut;
    const ByteBuffer body =
        WebFetch(server.Url("/interim"), kMethodPost, "x", "", &cookiesOut, {}, &headersOut);
    EXPECT_EQ(Text(body), "done");
    EXPECT_EQ(headersOut, "HTTP/1.1 200 OK\r\nContent-Length: 4\r\nSet-Cookie: a=1");
    EXPECT_EQ(cookiesOut, "a=1");
}

TEST_F(WebFetchTest, HeaderTextLimit) {
    // Everything but the X-Long value: status line, length line, cookie line, "X-Long: " and
    // the separators between them.
    constexpr std::size_t kFixed = 15 + 2 + 17 + 2 + 15 + 2 + 8;
    struct Case {
        std::size_t length;  // of the whole header text
        bool kept;
    };
    for (const Case c : {Case{4999, true}, Case{5000, false}, Case{100000, false}}) {
        SCOPED_TRACE(c.length);
        Reply reply;
        reply.headers = {"Set-Cookie: a=1", "X-Long: " + std::string(c.length - kFixed, 'v')};
        reply.body = "ok";
        const std::string target = "/long/" + std::to_string(c.length);
        server.Answer(target, reply);
        std::string cookiesOut = "stale";
        std::string headersOut;
        const ByteBuffer body =
            WebFetch(server.Url(target), kMethodGet, {}, "", &cookiesOut, {}, &headersOut);
        EXPECT_EQ(Text(body), "ok");
        if (c.kept) {
            EXPECT_EQ(headersOut.size(), c.length);
            EXPECT_TRUE(headersOut.starts_with("HTTP/1.1 200 OK\r\n"));
            EXPECT_EQ(cookiesOut, "a=1");
        } else {
            EXPECT_EQ(headersOut, std::string(5000, ' '));
            EXPECT_EQ(cookiesOut, "");
        }
    }
}

TEST_F(WebFetchTest, RedirectFollowedOrNot) {
    Reply moved;
    moved.statusLine = "HTTP/1.1 302 Found";
    moved.headers = {"Location: /redirect/to"};
    moved.body = "moved";
    server.Answer("/redirect/from", moved);
    Reply landed;
    landed.body = "landed";
    server.Answer("/redirect/to", landed);

    std::string headersOut;
    ByteBuffer body = WebFetch(server.Url("/redirect/from"), kMethodPost, "x", std::nullopt,
                               nullptr, {}, &headersOut);
    EXPECT_EQ(Text(body), "landed");
    EXPECT_EQ(headersOut, "HTTP/1.1 200 OK\r\nContent-Length: 6");
    std::vector<ReceivedRequest> received = server.Received();
    ASSERT_EQ(received.size(), 2u);
    EXPECT_EQ(received[0].requestLine, "POST /redirect/from HTTP/1.1");
    EXPECT_EQ(received[1].requestLine, "GET /redirect/to HTTP/1.1");

    body = WebFetch(server.Url("/redirect/from"), kMethodPost, "x", std::nullopt, nullptr, {},
                    &headersOut, true);
    EXPECT_EQ(Text(body), "moved");
    EXPECT_EQ(headersOut, "HTTP/1.1 302 Found\r\nContent-Length: 5\r\nLocation: /redirect/to");
    EXPECT_EQ(server.Received().size(), 3u);

    // A HEAD with a body ends at the first final response, redirect or not.
    body = WebFetch(server.Url("/redirect/from"), kMethodHead, "x", std::nullopt, nullptr, {},
                    &headersOut);
    EXPECT_TRUE(body.empty());
    EXPECT_EQ(headersOut, "HTTP/1.1 302 Found\r\nContent-Length: 5\r\nLocation: /redirect/to");
    EXPECT_EQ(server.Received().size(), 4u);
}

TEST_F(WebFetchTest, ErrorStatusStillGivesBodyAndHeaders) {
    Reply missing;
    missing.statusLine = "HTTP/1.1 404 Not Found";
    missing.headers = {"Set-Cookie: e=1"};
    missing.body = "no such page";
    server.Answer("/missing", missing);
    std::string cookiesOut;
    std::string headersOut;
    const ByteBuffer body =
        WebFetch(server.Url("/missing"), kMethodGet, {}, "", &cookiesOut, {}, &headersOut);
    EXPECT_EQ(Text(body), "no such page");
    EXPECT_EQ(headersOut, "HTTP/1.1 404 Not Found\r\nContent-Length: 12\r\nSet-Cookie: e=1");
    EXPECT_EQ(cookiesOut, "e=1");
}

// The store is shared by the whole process; these cookies live under /store only, so no other
// test's requests carry them.
TEST_F(WebFetchTest, CookieStoreRemembersAndIsBypassed) {
    Reply set;
    set.headers = {"Set-Cookie: kept=1; Path=/store"};
    server.Answer("/store/set", set);
    Reply setBypassed;
    setBypassed.headers = {"Set-Cookie: ignored=1; Path=/store"};
    server.Answer("/store/bypassed", setBypassed);

    WebFetch(server.Url("/store/set"));
    WebFetch(server.Url("/store/bypassed"), kMethodGet, {}, "");
    struct Case {
        const char* name;
        std::optional<std::string_view> cookies;
        std::optional<std::string> cookieLine;
    };
    const Case cases[] = {
        {"store used", std::nullopt, "Cookie: kept=1"},
        {"bypassed, empty", "", std::nullopt},
        {"bypassed, own cookie", "a=1", "Cookie: a=1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WebFetch(server.Url("/store/check"), kMethodGet, {}, c.cookies);
        const ReceivedRequest request = server.Received().back();
        EXPECT_EQ(request.requestLine, "GET /store/check HTTP/1.1");
        EXPECT_EQ(HeaderLine(request, "Cookie:"), c.cookieLine);
    }
}

TEST_F(WebFetchTest, CookieStoreSharedAcrossThreads) {
    constexpr int kThreads = 4;
    constexpr int kRounds = 10;
    for (int t = 0; t < kThreads; ++t) {
        Reply set;
        const std::string n = std::to_string(t);
        set.headers = {"Set-Cookie: t" + n + "=" + n + "; Path=/threads/" + n};
        server.Answer("/threads/" + n + "/set", set);
    }
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([this, t] {
            const std::string base = "/threads/" + std::to_string(t);
            for (int round = 0; round < kRounds; ++round) {
                WebFetch(server.Url(base + "/set"));
                WebFetch(server.Url(base + "/check"));
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    int checks = 0;
    for (const ReceivedRequest& request : server.Received()) {
        for (int t = 0; t < kThreads; ++t) {
            const std::string n = std::to_string(t);
            if (request.requestLine == "GET /threads/" + n + "/check HTTP/1.1") {
                ++checks;
                EXPECT_EQ(HeaderLine(request, "Cookie:"), "Cookie: t" + n + "=" + n);
            }
        }
    }
    EXPECT_EQ(checks, kThreads * kRounds);
}

TEST_F(WebFetchTest, ProxyGetsTheAbsoluteUrl) {
    const std::string proxy = "127.0.0.1:" + std::to_string(server.Port());
    const ByteBuffer body = WebFetch("http://korvane.invalid/p?q=1", kMethodGet, {}, "", nullptr,
                                     {}, nullptr, false, {}, proxy);
    const ReceivedRequest request = OnlyRequest();
    EXPECT_EQ(Text(body), request.Raw());
    EXPECT_EQ(request.requestLine, "GET http://korvane.invalid/p?q=1 HTTP/1.1");
    EXPECT_EQ(request.headerBlock,
              "Host: korvane.invalid\r\n" + std::string(kAgentLine) +
                  "\r\nAccept: */*\r\nReferer: http://korvane.invalid/p?q=1\r\n"
                  "Accept-Language: zh-cn\r\nContent-Type: application/x-www-form-urlencoded");
}

}  // namespace
}  // namespace korvane::net
