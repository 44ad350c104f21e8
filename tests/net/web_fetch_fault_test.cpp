#include <gtest/gtest.h>

#include <string>

#include "loopback_server.h"
#include "net/web_fetch.h"

namespace korvane::net {
namespace {

using testing::LoopbackServer;
using testing::Reply;

// A server that goes away in the middle of its reply, or never speaks HTTP, has not answered:
// whatever arrived before is dropped, so a caller cannot take half a reply for a whole one.
TEST(WebFetchFaults, CutOrForeignRepliesFail) {
    struct Case {
        const char* name;
        Reply reply;
    };
    auto cut = [](std::vector<std::string> headers, std::string partBody) {
        Reply r;
        r.contentLength = false;
        r.headers = std::move(headers);
        r.body = std::move(partBody);
        r.closeAfter = true;
        return r;
    };
    Reply foreign;
    foreign.statusLine = "\x16\x03\x01 no web server here";
    foreign.contentLength = false;
    foreign.body = std::string("\0\xff\xfe garbage", 11);
    foreign.closeAfter = true;
    const Case cases[] = {
        {"cut inside the announced body",
         cut({"Content-Length: 1000", "Set-Cookie: a=1; path=/"}, std::string(300, 'b'))},
        {"cut inside a chunk",
         cut({"Transfer-Encoding: chunked", "Set-Cookie: a=1"}, "100\r\n" + std::string(50, 'b'))},
        {"cut before the last chunk", cut({"Transfer-Encoding: chunked"}, "5\r\nhello\r\n")},
        {"not HTTP", foreign},
    };

    LoopbackServer server;
    ASSERT_TRUE(server.Listening());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string target = "/fault/" + std::to_string(&c - cases);
        server.Answer(target, c.reply);
        for (const int method : {kMethodGet, kMethodPost}) {
            std::string cookiesOut = "stale";
            std::string headersOut = "stale";
            const ByteBuffer body = WebFetch(server.Url(target), method, "id=1", std::nullopt,
                                             &cookiesOut, {}, &headersOut);
            EXPECT_TRUE(body.empty()) << method;
            EXPECT_EQ(headersOut, std::string(5000, ' ')) << method;
            EXPECT_EQ(cookiesOut, "") << method;
        }
    }
}

}  // namespace
}  // namespace korvane::net
