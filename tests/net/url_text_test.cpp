#include <gtest/gtest.h>

#include <string>

#include "net/request_headers.h"
#include "net/text_ops.h"
#include "net/web_fetch.h"

namespace korvane::net {
namespace {

TEST(UrlParts, HostPortAndPath) {
    struct Case {
        const char* url;
        const char* host;
        const char* hostWithPort;
        int port;
        const char* path;
    };
    const Case cases[] = {
        // Upper-case host, explicit port, path with a query: host lowered, path kept.
        {"https://WWW.Example.COM:8443/Search/Q?Term=Abc", "www.example.com",
         "www.example.com:8443", 8443, "/Search/Q?Term=Abc"},
        {"http://example.com", "example.com", "example.com", 80, "/"},
        {"HTTPS://Example.com", "example.com", "example.com", 443, "/"},
        {"http://example.com?x=1", "example.com?x=1", "example.com?x=1", 80, "/"},
        // No scheme: taken as http.
        {"example.com/a?b=1", "example.com", "example.com", 80, "/a?b=1"},
        {"example.com:8080", "example.com", "example.com:8080", 8080, "/"},
        {"http://example.com:abc/x", "example.com", "example.com:abc", 0, "/x"},
        {"http://example.com:/x", "example.com", "example.com:", 0, "/x"},
        // A host spelt like part of the scheme is looked for after the scheme.
        {"http://t/x", "t", "t", 80, "/x"},
        {"HTTP://http:81/Index.php", "http", "http:81", 81, "/Index.php"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.url);
        EXPECT_EQ(UrlHost(c.url, false), c.host);
        EXPECT_EQ(UrlHost(c.url, true), c.hostWithPort);
        EXPECT_EQ(UrlPort(c.url), c.port);
        EXPECT_EQ(UrlPath(c.url), c.path);
    }
}

TEST(TextHelpers, TextBetween) {
    struct Case {
        const char* text;
        const char* left;
        const char* right;
        const char* expected;
    };
    const Case cases[] = {
        {"x[1][2]", "[", "]", "1"}, {"no left]", "[", "]", ""}, {"[no right", "[", "]", ""},
        {"]before[", "[", "]", ""},  // right is only searched after left
        {"aXb", "x", "b", ""},       // case-sensitive
        {"[]", "[", "]", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(TextBetween(c.text, c.left, c.right), c.expected);
    }
}

TEST(TextHelpers, TextAfterColonAndTrim) {
    EXPECT_EQ(TextAfterColon("Name:  value  "), "value");
    EXPECT_EQ(TextAfterColon("a:b:c"), "b:c");
    EXPECT_EQ(TextAfterColon("no colon"), "");
    EXPECT_EQ(TextAfterColon("k:\xA1\xA1v\xA1\xA1"), "v");

    struct Case {
        std::string text;
        std::string expected;
    };
    const Case cases[] = {
        {" \xA1\xA1"
         "a b\xA1\xA1 ",
         "a b"},
        {"\ta\t", "\ta\t"},  // only spaces are trimmed
        {"\r\na\r\n", "\r\na\r\n"},
        // B0 A1 is one character; the lone A1 after it is not a full-width space.
        {"\xB0\xA1\xA1", "\xB0\xA1\xA1"},
        {"\xB0\xA1\xA1\xA1", "\xB0\xA1"},
        {"\xA1\xA1\xA1\xA1", ""},
        {"", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Trim(c.text), c.expected);
    }
}

TEST(RequestHeaders, UserAgent) {
    struct Case {
        const char* headers;
        std::string_view expected;
    };
    const Case cases[] = {
        {"", kDefaultUserAgent},
        {"Accept: text/html", kDefaultUserAgent},
        {"User-Agent: Foo/1.0", "Foo/1.0"},
        {"Accept: x\r\nUser-Agent:   Foo/1.0  \r\nX-B: y", "Foo/1.0"},
        // Another letter case: everything after the first colon of the headers.
        {"user-agent: Foo/1.0", "Foo/1.0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.headers);
        EXPECT_EQ(UserAgentFor(c.headers), c.expected);
    }
}

}  // namespace
}  // namespace korvane::net
