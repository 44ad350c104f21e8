#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "loopback_server.h"
#include "net/fetch_options.h"
#include "net/web_fetch.h"
#include "test_certificates.h"

namespace korvane::net {
namespace {

using testing::LoopbackServer;
using testing::Reply;

constexpr std::size_t kProductionCap = std::size_t{16} << 20;

// What a call that failed after it was set up leaves: no body, the untouched header buffer of
// 5000 spaces and no cookies.
void ExpectSendFailure(const ByteBuffer& body, const std::string& headersOut,
                       const std::string& cookiesOut) {
    EXPECT_TRUE(body.empty());
    EXPECT_EQ(headersOut, std::string(5000, ' '));
    EXPECT_EQ(cookiesOut, "");
}

// A port on 127.0.0.1 where nothing listens.
int ClosedPort() {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size);
    close(fd);
    return ntohs(address.sin_port);
}

FetchOptions Quick() {
    FetchOptions options;
    options.connectTimeout = std::chrono::seconds(5);
    options.stallTimeout = std::chrono::seconds(1);
    options.totalTimeout = std::chrono::seconds(30);
    return options;
}

TEST(WebFetchBounds, FailOrPassAtTheLimits) {
    struct Case {
        const char* name;
        Reply reply;
        FetchOptions options;
        bool passes;
        std::size_t bodySize;
    };
    FetchOptions smallCap = Quick();
    smallCap.maxBodyBytes = 64 * 1024;
    FetchOptions shortTotal = Quick();
    shortTotal.totalTimeout = std::chrono::seconds(2);
    FetchOptions production;
    std::vector<Case> cases;
    {
        Reply r;
        r.silent = true;
        cases.push_back({"stalled before the reply", r, Quick(), false, 0});
    }
    {
        Reply r;
        r.headers = {"Content-Length: 100"};
        r.contentLength = false;
        r.body = "0";
        r.holdOpen = true;
        cases.push_back({"stalled inside the body", r, Quick(), false, 0});
    }
    {
        Reply r;
        r.contentLength = false;
        r.body = "";
        r.extraBytes = 100000;
        r.extraPace = std::chrono::milliseconds(100);
        cases.push_back({"trickling past the whole-call limit", r, shortTotal, false, 0});
    }
    {
        Reply r;
        r.body = std::string(smallCap.maxBodyBytes, 'b');
        cases.push_back({"body exactly at the cap", r, smallCap, true, smallCap.maxBodyBytes});
    }
    {
        Reply r;
        r.headers = {"Content-Length: " + std::to_string(smallCap.maxBodyBytes + 1)};
        r.contentLength = false;
        r.body = "";
        r.extraBytes = smallCap.maxBodyBytes + 1;
        cases.push_back({"declared length over the cap", r, smallCap, false, 0});
    }
    {
        Reply r;
        r.contentLength = false;
        r.body = "";
        r.extraBytes = smallCap.maxBodyBytes + 1;
        cases.push_back({"unannounced body over the cap", r, smallCap, false, 0});
    }
    {
        Reply r;
        r.body = std::string(kProductionCap, 'b');
        cases.push_back({"16 MiB passes by default", r, production, true, kProductionCap});
    }
    {
        Reply r;
        r.contentLength = false;
        r.body = "";
        r.extraBytes = kProductionCap + 1;
        cases.push_back({"past 16 MiB fails by default", r, production, false, 0});
    }

    LoopbackServer server;
    ASSERT_TRUE(server.Listening());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string target = "/bound/" + std::to_string(&c - cases.data());
        server.Answer(target, c.reply);
        std::string cookiesOut = "stale";
        std::string headersOut = "stale";
        const ByteBuffer body = WebFetch(c.options, server.Url(target), kMethodGet, {}, "",
                                         &cookiesOut, {}, &headersOut);
        if (c.passes) {
            EXPECT_EQ(body.size(), c.bodySize);
            EXPECT_TRUE(headersOut.starts_with("HTTP/1.1 200 OK"));
        } else {
            ExpectSendFailure(body, headersOut, cookiesOut);
        }
    }
}

TEST(WebFetchFailures, UnreachableServer) {
    std::string cookiesOut = "stale";
    std::string headersOut = "stale";
    const std::string url = "http://127.0.0.1:" + std::to_string(ClosedPort()) + "/";
    const ByteBuffer body =
        WebFetch(url, kMethodPost, "id=1", std::nullopt, &cookiesOut, {}, &headersOut);
    ExpectSendFailure(body, headersOut, cookiesOut);
}

TEST(WebFetchFailures, UnusableUrlLeavesOutputsAlone) {
    const char* const urls[] = {
        "http://exa mple.test/",
        "http://:80/",
        "http://127.0.0.1:99999/",
        "http://user@127.0.0.1/",
        "http://127.0.0.1/a\r\nX-Injected: 1",
    };
    for (const char* url : urls) {
        SCOPED_TRACE(url);
        std::string cookiesOut = "untouched";
        std::string headersOut = "untouched";
        const ByteBuffer body =
            WebFetch(url, kMethodGet, {}, std::nullopt, &cookiesOut, {}, &headersOut);
        EXPECT_TRUE(body.empty());
        EXPECT_EQ(headersOut, "untouched");
        EXPECT_EQ(cookiesOut, "untouched");
    }
}

class WebFetchTls : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        pki_ = testing::MakeTestPki("localhost");
        other_ = testing::MakeTestPki("localhost");
        caFile_ = testing::WritePemFile("korvane-net-test-ca.pem", pki_.caPem);
        otherCaFile_ = testing::WritePemFile("korvane-net-other-ca.pem", other_.caPem);
    }

    void SetUp() override {
        ASSERT_FALSE(pki_.caPem.empty());
        ASSERT_FALSE(other_.caPem.empty());
        server_ = std::make_unique<LoopbackServer>(&pki_.server);
        ASSERT_TRUE(server_->Listening());
    }

    static FetchOptions Trusting(const std::string& caFile) {
        FetchOptions options = Quick();
        options.caBundle = caFile;
        return options;
    }

    std::string Port() const { return std::to_string(server_->Port()); }

    static inline testing::TestPki pki_;
    static inline testing::TestPki other_;
    static inline std::string caFile_;
    static inline std::string otherCaFile_;
    std::unique_ptr<LoopbackServer> server_;
};

TEST_F(WebFetchTls, TrustedCertificateForTheHost) {
    const std::string url = "HTTPS://LocalHost:" + Port() + "/Secure/Path?Q=1";
    std::string headersOut;
    const ByteBuffer body = WebFetch(Trusting(caFile_), url, kMethodPost, "id=1", std::nullopt,
                                     nullptr, {}, &headersOut);
    const std::vector<testing::ReceivedRequest> received = server_->Received();
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(std::string(body.begin(), body.end()), received[0].Raw());
    EXPECT_EQ(received[0].requestLine, "POST /Secure/Path?Q=1 HTTP/1.1");
    EXPECT_TRUE(received[0].headerBlock.starts_with("Host: localhost:" + Port() + "\r\n"));
    EXPECT_TRUE(headersOut.starts_with("HTTP/1.1 200 OK"));
}

TEST_F(WebFetchTls, CertificateProblemsFail) {
    struct Case {
        const char* name;
        std::string url;
        std::string caFile;
    };
    const Case cases[] = {
        {"system CAs only", "https://localhost:" + Port() + "/", ""},
        {"another CA", "https://localhost:" + Port() + "/", otherCaFile_},
        {"name not in the certificate", "https://127.0.0.1:" + Port() + "/", caFile_},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string cookiesOut = "stale";
        std::string headersOut = "stale";
        const ByteBuffer body = WebFetch(Trusting(c.caFile), c.url, kMethodGet, {}, std::nullopt,
                                         &cookiesOut, {}, &headersOut);
        ExpectSendFailure(body, headersOut, cookiesOut);
    }
    EXPECT_TRUE(server_->Received().empty());
}

}  // namespace
}  // namespace korvane::net
