#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace korvane::platform {

// One SMTP session on libcurl: connect (greeting, EHLO and AUTH checked), send mails over the
// authenticated connection, disconnect (QUIT). Plain SMTP, no TLS. Every wait for the server is
// bounded by the wait limit given to Connect, and every operation as a whole by a fixed limit.
//
// Connect proves the session by running it up to a NOOP, so a server that greets but refuses
// the login fails it; libcurl keeps that connection, and Send reuses it (or logs in afresh if
// the server closed it meanwhile).
class SmtpClient {
  public:
    SmtpClient();
    ~SmtpClient();  // disconnects
    SmtpClient(const SmtpClient&) = delete;
    SmtpClient& operator=(const SmtpClient&) = delete;

    // A previous session is closed first. `host` is a name or an IPv4/IPv6 address.
    bool Connect(std::string_view host, int port, std::string_view user, std::string_view password,
                 int waitLimitMs);
    bool Connected() const;

    // One plain-text mail to one recipient, no copies. The texts are client text (code page
    // 936); they go out as UTF-8, the subject as RFC 2047 encoded words and the body in base64.
    // Returns an error text, or the empty text when the server took the mail. Without a
    // connection it fails at once.
    std::string Send(std::string_view from, std::string_view to, std::string_view subject,
                     std::string_view body);

    // Says QUIT when a connection is up; harmless when there is none.
    void Disconnect();

  private:
    struct Session;
    std::unique_ptr<Session> session_;
};

}  // namespace korvane::platform
