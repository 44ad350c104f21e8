#pragma once

#include <sys/types.h>

#include <filesystem>
#include <string>
#include <string_view>

#include "support/json_value.h"

namespace korvane::testing {

// One devservice process (account API, SMS gateway, SMTP server) for the life of the object,
// with a fresh data folder of its own. The development CA is the repository's build/dev-ca,
// which the builds trust.
class DevService {
  public:
    struct Options {
        bool rawUtf8 = false;
        std::string notice = "欢迎使用Korvane网络映射服务";  // UTF-8
        // The compiled-in ports (korvane/config.h) instead of free ones; tests that use them
        // carry the CTest property RESOURCE_LOCK devservice_fixed_ports.
        bool fixedPorts = false;
    };

    DevService();
    // Waits, bounded, until every server listens; Ok() tells whether that happened.
    explicit DevService(Options options);
    // SIGTERM, then SIGKILL if it does not stop in time; always reaped; data folder removed.
    ~DevService();
    DevService(const DevService&) = delete;
    DevService& operator=(const DevService&) = delete;

    bool Ok() const { return ok_; }
    std::string BaseUrl() const;        // "http://127.0.0.1:<http>/"
    std::string SmsGatewayUrl() const;  // "https://127.0.0.1:<sms>"
    int HttpPort() const { return httpPort_; }
    int SmsPort() const { return smsPort_; }
    int SmtpPort() const { return smtpPort_; }
    std::string CaBundle() const;  // ca.pem of the development CA
    const std::filesystem::path& DataDir() const { return dataDir_; }
    // What the service printed so far (stdout and stderr): the codes, warnings.
    std::string Log() const;

    // Admin calls; the reply body (ASCII JSON), or "" when the call failed.
    std::string Get(std::string_view adminPath);
    std::string Post(std::string_view adminPath, std::string_view json);
    // Get, parsed; a null value when the call or the parse failed. Keep the result in a
    // variable before holding references into it.
    JsonValue GetJson(std::string_view adminPath);

    void CreateAccount(std::string_view user, std::string_view password);  // UTF-8
    void Freeze(std::string_view user);

  private:
    bool Start(const Options& options);
    bool WaitForPorts();
    void Stop();
    std::string Call(std::string_view adminPath, const std::string* postBody);

    std::filesystem::path dataDir_;
    std::filesystem::path caDir_;
    pid_t pid_ = -1;
    bool ok_ = false;
    int httpPort_ = 0;
    int smsPort_ = 0;
    int smtpPort_ = 0;
};

// `text` as a JSON string literal, quotes included; UTF-8 passes through.
std::string JsonQuote(std::string_view text);

}  // namespace korvane::testing
