#include "platform/smtp_client.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "support/dev_service.h"
#include "text/code_page.h"

namespace korvane::platform {
namespace {

using korvane::testing::DevService;
using korvane::testing::JsonValue;
using text::Utf8ToLocal;

constexpr const char* kUser = "korvane";
constexpr const char* kPassword = "RHVWKOZPJDNCEQLU";
constexpr int kWaitLimitMs = 3000;

// A loopback socket that listens but never speaks; with `listening` false its port is closed.
class LoopbackPort {
  public:
    explicit LoopbackPort(bool listening) {
        fd_ = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
            getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &length) == 0) {
            port_ = ntohs(address.sin_port);
        }
        if (listening) {
            listen(fd_, 4);
        } else {
            close(fd_);
            fd_ = -1;
        }
    }
    ~LoopbackPort() {
        if (fd_ >= 0) {
            close(fd_);
        }
    }
    LoopbackPort(const LoopbackPort&) = delete;
    LoopbackPort& operator=(const LoopbackPort&) = delete;
    int Port() const { return port_; }

  private:
    int fd_ = -1;
    int port_ = 0;
};

class SmtpClientTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { service_ = std::make_unique<DevService>(); }
    static void TearDownTestSuite() { service_.reset(); }
    void SetUp() override {
        ASSERT_TRUE(service_->Ok());
        service_->Post("/admin/reset", "{}");
    }
    static JsonValue Mails() { return service_->GetJson("/admin/mail")["mail"]; }

    static std::unique_ptr<DevService> service_;
};

std::unique_ptr<DevService> SmtpClientTest::service_;

TEST_F(SmtpClientTest, SendsOnePlainTextMailOverTheLoggedInSession) {
    // 1 + 30 three-byte characters: the encoded words must not split a character.
    std::string subjectUtf8 = "A";
    for (int i = 0; i < 10; ++i) {
        subjectUtf8 += "注册验";
    }
    const std::string bodyUtf8 = "第一行\n第二行\r\n第三行";

    SmtpClient client;
    ASSERT_TRUE(client.Connect("127.0.0.1", service_->SmtpPort(), kUser, kPassword, kWaitLimitMs));
    EXPECT_TRUE(client.Connected());
    EXPECT_EQ(client.Send("service@korvane.test", "someone@example.test", Utf8ToLocal(subjectUtf8),
                          Utf8ToLocal(bodyUtf8)),
              "");
    client.Disconnect();
    EXPECT_FALSE(client.Connected());

    const JsonValue mails = Mails();
    ASSERT_EQ(mails.size(), 1u);
    const JsonValue& mail = mails[0];
    EXPECT_EQ(mail["auth_user"].String(), kUser);
    EXPECT_EQ(mail["from"].String(), "service@korvane.test");
    ASSERT_EQ(mail["to"].size(), 1u);
    EXPECT_EQ(mail["to"][0].String(), "someone@example.test");
    EXPECT_EQ(mail["subject"].String(), subjectUtf8);
    EXPECT_EQ(mail["body"].String(), "第一行\n第二行\n第三行");
    EXPECT_EQ(mail["charset"].String(), "utf-8");

    const std::string& raw = mail["raw"].String();
    for (const char* header :
         {"\r\nFrom: service@korvane.test\r\n", "\r\nTo: someone@example.test\r\n",
          "\r\nMessage-ID: <", "\r\nContent-Type: text/plain; charset=UTF-8\r\n"}) {
        EXPECT_NE(raw.find(header), std::string::npos) << header;
    }
    EXPECT_EQ(raw.rfind("Date: ", 0), 0u);
    EXPECT_EQ(raw.find("\r\nCc:"), std::string::npos);
    EXPECT_EQ(raw.find("\r\nBcc:"), std::string::npos);
}

TEST_F(SmtpClientTest, ConnectFailsWhenTheServerCannotBeUsed) {
    LoopbackPort closed(false);
    LoopbackPort silent(true);
    const struct {
        const char* what;
        int port;
        const char* password;
        int waitLimitMs;
    } cases[] = {
        {"wrong password", service_->SmtpPort(), "WRONGPASSWORDXXX", kWaitLimitMs},
        {"refused connection", closed.Port(), kPassword, kWaitLimitMs},
        {"server that never greets", silent.Port(), kPassword, 1000},
    };
    for (const auto& c : cases) {
        SmtpClient client;
        EXPECT_FALSE(client.Connect("127.0.0.1", c.port, kUser, c.password, c.waitLimitMs))
            << c.what;
        EXPECT_FALSE(client.Connected()) << c.what;
        EXPECT_NE(client.Send("service@korvane.test", "a@b", "s", "b"), "") << c.what;
        client.Disconnect();
    }
    EXPECT_EQ(Mails().size(), 0u);
}

TEST_F(SmtpClientTest, AddressesThatWouldInjectCommandsAreRefused) {
    SmtpClient client;
    ASSERT_TRUE(client.Connect("127.0.0.1", service_->SmtpPort(), kUser, kPassword, kWaitLimitMs));
    EXPECT_NE(client.Send("service@korvane.test", "a@b\r\nRCPT TO:<c@d>", "s", "b"), "");
    EXPECT_NE(client.Send("service@korvane.test\nBcc: c@d", "a@b", "s", "b"), "");
    EXPECT_NE(client.Send("service@korvane.test", "", "s", "b"), "");
    // The session survives a refused mail.
    EXPECT_EQ(client.Send("service@korvane.test", "a@b", "s", "b"), "");
    const JsonValue mails = Mails();
    ASSERT_EQ(mails.size(), 1u);
    ASSERT_EQ(mails[0]["to"].size(), 1u);
    EXPECT_EQ(mails[0]["to"][0].String(), "a@b");
}

}  // namespace
}  // namespace korvane::platform
