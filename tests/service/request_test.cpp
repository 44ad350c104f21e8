#include "service/request.h"

#include <gtest/gtest.h>

#include <string>

#include "canned_http_server.h"
#include "service/authcode.h"
#include "service/service_client.h"
#include "text/code_page.h"

namespace korvane::service {
namespace {

using testing::CannedHttpServer;
using testing::HttpResponse;

constexpr std::string_view kKey = "Tq3Hc8WmZr5Bx1NvKe7Lp2YdFs9Gu4JoAi6RwEb0";

TEST(EscapeFormValue, OnlyPlusAmpersandAndSlash) {
    const struct {
        std::string_view in;
        std::string_view out;
    } cases[] = {
        {"", ""},
        {"ab09AZ", "ab09AZ"},
        {"a+b&c/d", "a%2Bb%26c%2Fd"},
        {"++//&&", "%2B%2B%2F%2F%26%26"},
        {"%2B= ?", "%2B= ?"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(EscapeFormValue(c.in), c.out) << c.in;
    }
}

// What the service received: the raw request split at the end of its header block.
struct Received {
    std::string head;
    std::string body;
};

Received Split(const std::string& request) {
    const std::size_t end = request.find("\r\n\r\n");
    return {request.substr(0, end), request.substr(end + 4)};
}

std::string Unescape(std::string text) {
    for (const auto& [from, to] : {std::pair{"%2B", "+"}, {"%26", "&"}, {"%2F", "/"}}) {
        for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from)) {
            text.replace(at, 3, to);
        }
    }
    return text;
}

class RequestTest : public ::testing::Test {
  protected:
    ServiceClient ClientOf(const std::string& baseUrl) {
        ServiceClient client;
        client.Init("1", baseUrl, kKey);
        return client;
    }
};

TEST_F(RequestTest, PostsIdThenEscapedCipherToTheEndpoint) {
    const std::string reply = R"({"code":200,"data":{"notice":"hi"}})";
    CannedHttpServer server(HttpResponse("HTTP/1.1 200 OK", AuthcodeEncode(reply, kKey)));
    // Long enough that the cipher text is all but certain to hold "+" and "/".
    const std::string payload(1500, 'x');

    ServiceClient client = ClientOf(server.BaseUrl());
    EXPECT_EQ(client.GetInfo(), reply);
    EXPECT_EQ(client.Request("User/login", payload), reply);

    const auto requests = server.Requests();
    ASSERT_EQ(requests.size(), 2u);
    const Received notice = Split(requests[0]);
    EXPECT_EQ(notice.head.substr(0, notice.head.find("\r\n")),
              "POST /index.php/api/Software/getInfo HTTP/1.1");
    ASSERT_EQ(notice.body.substr(0, 10), "id=1&data=");
    EXPECT_EQ(AuthcodeDecode(Unescape(notice.body.substr(10)), kKey), "1");

    const Received login = Split(requests[1]);
    EXPECT_EQ(login.head.substr(0, login.head.find("\r\n")),
              "POST /index.php/api/User/login HTTP/1.1");
    ASSERT_EQ(login.body.substr(0, 10), "id=1&data=");
    const std::string escaped = login.body.substr(10);
    EXPECT_EQ(escaped.find_first_of("+/&="), std::string::npos);
    EXPECT_NE(escaped.find("%2B"), std::string::npos);
    EXPECT_NE(escaped.find("%2F"), std::string::npos);
    EXPECT_EQ(AuthcodeDecode(Unescape(escaped), kKey), payload);
}

TEST_F(RequestTest, ChinesePayloadRoundTripsThroughUtf8) {
    const std::string payload = text::Utf8ToLocal(R"({"username":"张三","password":"密码"})");
    CannedHttpServer server(HttpResponse("HTTP/1.1 200 OK", "x"));
    ClientOf(server.BaseUrl()).Request("User/login", payload);
    const auto requests = server.Requests();
    ASSERT_EQ(requests.size(), 1u);
    const std::string cipher = Unescape(Split(requests[0]).body.substr(10));
    // The decoder turns the UTF-8 it finds back into client text.
    EXPECT_EQ(AuthcodeDecode(cipher, kKey), payload);
    EXPECT_EQ(cipher.size(), 4 + (4 * (26 + text::LocalToUtf8(payload).size()) + 2) / 3);
}

TEST_F(RequestTest, ReplyBodies) {
    const std::string reply = R"({"code":608,"data":{"token":"abc"}})";
    const std::string cipher = AuthcodeEncode(reply, kKey);
    const struct {
        const char* what;
        std::string response;
        std::string expected;
    } cases[] = {
        {"plain", HttpResponse("HTTP/1.1 200 OK", cipher), reply},
        {"line break after the cipher", HttpResponse("HTTP/1.1 200 OK", cipher + "\r\n"), reply},
        {"cut at the first zero byte",
         HttpResponse("HTTP/1.1 200 OK", cipher + std::string("\0junk+/", 7)), reply},
        {"read whatever the status", HttpResponse("HTTP/1.1 500 Internal Server Error", cipher),
         reply},
        {"error page",
         HttpResponse("HTTP/1.1 502 Bad Gateway", "<html><body><h1>502</h1></body></html>"), ""},
        {"empty body", HttpResponse("HTTP/1.1 404 Not Found", ""), ""},
        {"another key",
         HttpResponse("HTTP/1.1 200 OK",
                      AuthcodeEncode(reply, "0123456789abcdefghij0123456789ABCDEFGHIJ")),
         ""},
        {"zero byte first", HttpResponse("HTTP/1.1 200 OK", std::string("\0", 1) + cipher), ""},
    };
    for (const auto& c : cases) {
        CannedHttpServer server(c.response);
        EXPECT_EQ(ClientOf(server.BaseUrl()).Login("u", "p"), c.expected) << c.what;
    }
}

TEST_F(RequestTest, UnreachableServiceGivesTheEmptyText) {
    ServiceClient client = ClientOf(testing::UnreachableBaseUrl());
    EXPECT_EQ(client.GetInfo(), "");
    EXPECT_EQ(client.Login("u", "p"), "");
}

}  // namespace
}  // namespace korvane::service
