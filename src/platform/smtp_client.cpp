#include "platform/smtp_client.h"

#include <curl/curl.h>
#include <openssl/evp.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <random>

#include "net/curl_handles.h"
#include "text/code_page.h"

namespace korvane::platform {

namespace {

using net::CurlReady;
using net::EasyHandle;
using net::Settings;
using StringList = net::HeaderList;

// However steadily a server trickles, one operation ends after this.
constexpr long kOperationLimitMs = 60'000;
// Encoded words may be 75 characters long; 45 bytes make 60 base64 characters plus the frame.
constexpr std::size_t kEncodedWordBytes = 45;
// Base64 body lines: 76 characters, 57 bytes each.
constexpr std::size_t kBodyLineBytes = 57;

std::size_t Discard(char*, std::size_t size, std::size_t count, void*) {
    return size * count;
}

struct Upload {
    std::string_view rest;
};

std::size_t ReadUpload(char* buffer, std::size_t size, std::size_t count, void* user) {
    auto& upload = *static_cast<Upload*>(user);
    const std::size_t n = std::min(size * count, upload.rest.size());
    std::copy_n(upload.rest.data(), n, buffer);
    upload.rest.remove_prefix(n);
    return n;
}

long AtLeastOne(long value) {
    return std::max(1L, value);
}

long WholeSecondsUp(long ms) {
    return AtLeastOne((ms + 999) / 1000);
}

// Control characters would end a command or a header line early and start one of their own.
bool SafeLine(std::string_view text) {
    return std::none_of(text.begin(), text.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte < 0x20 || byte == 0x7F;
    });
}

bool UsableHost(std::string_view host) {
    return !host.empty() && SafeLine(host) &&
           host.find_first_of("/?#@\\[] ") == std::string_view::npos;
}

std::string Base64(std::string_view bytes) {
    std::string out(4 * ((bytes.size() + 2) / 3), '\0');
    const int written = EVP_EncodeBlock(reinterpret_cast<unsigned char*>(out.data()),
                                        reinterpret_cast<const unsigned char*>(bytes.data()),
                                        static_cast<int>(bytes.size()));
    out.resize(static_cast<std::size_t>(std::max(written, 0)));
    return out;
}

// RFC 2047 "B" words, each ending on a whole UTF-8 character, folded onto lines of their own.
std::string EncodedWords(std::string_view utf8) {
    std::string out;
    while (!utf8.empty()) {
        std::size_t n = std::min(kEncodedWordBytes, utf8.size());
        while (n < utf8.size() && n > 1 && (static_cast<unsigned char>(utf8[n]) & 0xC0) == 0x80) {
            --n;
        }
        if (!out.empty()) {
            out += "\r\n ";
        }
        out += "=?UTF-8?B?" + Base64(utf8.substr(0, n)) + "?=";
        utf8.remove_prefix(n);
    }
    return out;
}

// Text with every line break (CR LF, a lone CR or a lone LF) written CR LF, as MIME text wants.
std::string CanonicalLineBreaks(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            out += "\r\n";
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
        } else {
            out += text[i];
        }
    }
    return out;
}

std::string Base64Lines(std::string_view bytes) {
    std::string out;
    for (std::size_t at = 0; at < bytes.size(); at += kBodyLineBytes) {
        out += Base64(bytes.substr(at, kBodyLineBytes));
        out += "\r\n";
    }
    return out;
}

// RFC 5322 date in UTC, with English names whatever the locale.
std::string MailDate() {
    static constexpr const char* kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    static constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                              "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const std::time_t now = std::time(nullptr);
    std::tm utc{};
    gmtime_r(&now, &utc);
    char text[64];
    std::snprintf(text, sizeof text, "%s, %02d %s %04d %02d:%02d:%02d +0000",
                  kDays[utc.tm_wday % 7], utc.tm_mday, kMonths[utc.tm_mon % 12], utc.tm_year + 1900,
                  utc.tm_hour, utc.tm_min, utc.tm_sec);
    return text;
}

std::string MessageId(std::string_view from) {
    std::string domain(
        from.substr(from.rfind('@') == std::string_view::npos ? from.size() : from.rfind('@') + 1));
    domain.erase(std::remove(domain.begin(), domain.end(), '>'), domain.end());
    const bool plainDomain =
        !domain.empty() && std::all_of(domain.begin(), domain.end(), [](char c) {
            return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                   c == '.' || c == '-';
        });
    if (!plainDomain) {
        domain = "korvane.invalid";
    }
    std::random_device random;
    const auto ticks = std::chrono::system_clock::now().time_since_epoch().count();
    char id[96];
    std::snprintf(id, sizeof id, "<%llx.%08x%08x@", static_cast<unsigned long long>(ticks),
                  random(), random());
    return id + domain + ">";
}

std::string Compose(std::string_view from, std::string_view to, std::string_view subject,
                    std::string_view body) {
    std::string mail;
    mail += "Date: " + MailDate() + "\r\n";
    mail += "From: " + std::string(from) + "\r\n";
    mail += "To: " + std::string(to) + "\r\n";
    mail += "Subject: " + EncodedWords(subject) + "\r\n";
    mail += "Message-ID: " + MessageId(from) + "\r\n";
    mail += "MIME-Version: 1.0\r\n";
    mail += "Content-Type: text/plain; charset=UTF-8\r\n";
    mail += "Content-Transfer-Encoding: base64\r\n";
    mail += "\r\n";
    mail += Base64Lines(CanonicalLineBreaks(body));
    return mail;
}

std::string ErrorText(CURLcode code, const char* detail) {
    std::string text = curl_easy_strerror(code);
    if (detail != nullptr && detail[0] != '\0') {
        text += ": ";
        text += detail;
    }
    return text;
}

}  // namespace

struct SmtpClient::Session {
    EasyHandle easy;
    std::string url;
    std::string user;
    std::string password;
    char error[CURL_ERROR_SIZE] = {};
    bool connected = false;
};

SmtpClient::SmtpClient() = default;

SmtpClient::~SmtpClient() {
    Disconnect();
}

bool SmtpClient::Connect(std::string_view host, int port, std::string_view user,
                         std::string_view password, int waitLimitMs) {
    Disconnect();
    if (!CurlReady() || !UsableHost(host) || port < 1 || port > 65535 || !SafeLine(user) ||
        !SafeLine(password)) {
        return false;
    }
    auto session = std::make_unique<Session>();
    session->easy.reset(curl_easy_init());
    if (!session->easy) {
        return false;
    }
    const bool ipv6 = host.find(':') != std::string_view::npos;
    session->url = "smtp://" + std::string(ipv6 ? "[" : "") + std::string(host) +
                   std::string(ipv6 ? "]" : "") + ":" + std::to_string(port);
    session->user = user;
    session->password = password;
    const long waitMs = AtLeastOne(waitLimitMs);

    Settings set(session->easy.get());
    set.Set(CURLOPT_NOSIGNAL, 1L);
    set.Set(CURLOPT_ERRORBUFFER, session->error);
    set.Set(CURLOPT_URL, session->url.c_str());
    set.Set(CURLOPT_PROTOCOLS_STR, "smtp");
    set.Set(CURLOPT_USERNAME, session->user.c_str());
    set.Set(CURLOPT_PASSWORD, session->password.c_str());
    set.Set(CURLOPT_CONNECTTIMEOUT_MS, waitMs);
    set.Set(CURLOPT_SERVER_RESPONSE_TIMEOUT, WholeSecondsUp(waitMs));
    set.Set(CURLOPT_LOW_SPEED_LIMIT, 1L);
    set.Set(CURLOPT_LOW_SPEED_TIME, WholeSecondsUp(waitMs));
    set.Set(CURLOPT_TIMEOUT_MS, kOperationLimitMs);
    set.Set(CURLOPT_WRITEFUNCTION, &Discard);
    // Greeting, EHLO and AUTH are the connect phase; the NOOP shows the session is usable.
    set.Set(CURLOPT_CUSTOMREQUEST, "NOOP");
    if (!set.Ok() || curl_easy_perform(session->easy.get()) != CURLE_OK) {
        return false;  // the handle, and whatever connection it made, go with `session`
    }
    session->connected = true;
    session_ = std::move(session);
    return true;
}

bool SmtpClient::Connected() const {
    return session_ && session_->connected;
}

std::string SmtpClient::Send(std::string_view from, std::string_view to, std::string_view subject,
                             std::string_view body) {
    if (!Connected()) {
        return "not connected";
    }
    const std::string fromUtf8 = text::LocalToUtf8(std::string(from));
    const std::string toUtf8 = text::LocalToUtf8(std::string(to));
    if (fromUtf8.empty() || toUtf8.empty() || !SafeLine(fromUtf8) || !SafeLine(toUtf8)) {
        return "unusable sender or recipient address";
    }
    const std::string mail = Compose(fromUtf8, toUtf8, text::LocalToUtf8(std::string(subject)),
                                     text::LocalToUtf8(std::string(body)));

    StringList recipients(curl_slist_append(nullptr, toUtf8.c_str()));
    if (!recipients) {
        return "out of memory";
    }
    Upload upload{mail};
    CURL* easy = session_->easy.get();
    session_->error[0] = '\0';
    Settings set(easy);
    set.Set(CURLOPT_CUSTOMREQUEST, static_cast<const char*>(nullptr));
    set.Set(CURLOPT_MAIL_FROM, fromUtf8.c_str());
    set.Set(CURLOPT_MAIL_RCPT, recipients.get());
    set.Set(CURLOPT_UPLOAD, 1L);
    set.Set(CURLOPT_READFUNCTION, &ReadUpload);
    set.Set(CURLOPT_READDATA, &upload);
    set.Set(CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(mail.size()));
    const CURLcode result = set.Ok() ? curl_easy_perform(easy) : CURLE_FAILED_INIT;

    // The handle must not keep pointers into this call's locals.
    curl_easy_setopt(easy, CURLOPT_MAIL_RCPT, static_cast<curl_slist*>(nullptr));
    curl_easy_setopt(easy, CURLOPT_READDATA, static_cast<void*>(nullptr));
    curl_easy_setopt(easy, CURLOPT_UPLOAD, 0L);
    return result == CURLE_OK ? std::string() : ErrorText(result, session_->error);
}

void SmtpClient::Disconnect() {
    session_.reset();  // curl_easy_cleanup says QUIT on the connection it still holds
}

}  // namespace korvane::platform
