#include "support/smtp_fault_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <optional>
#include <string_view>

#include "support/loopback_listener.h"

namespace korvane::testing {

namespace {

constexpr std::size_t kMaxLine = 1 << 20;
constexpr std::size_t kHugeGreetingBytes = std::size_t{50} << 20;
constexpr char kGarbage[] = "\x16\x03\x01\x00 no mail here \xff\xfe\r\n";

std::string Verb(std::string_view line) {
    std::string verb(line.substr(0, line.find(' ')));
    for (char& c : verb) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return verb;
}

}  // namespace

// One connection: line reads and whole writes.
class SmtpFaultServer::Peer {
  public:
    explicit Peer(int fd) : fd_(fd) {}

    // The next line without its CR LF; nothing once the client has gone.
    std::optional<std::string> ReadLine() {
        std::size_t end;
        while ((end = pending_.find("\r\n")) == std::string::npos) {
            char buffer[4096];
            const ssize_t n =
                pending_.size() < kMaxLine ? recv(fd_, buffer, sizeof buffer, 0) : ssize_t{0};
            if (n <= 0) {
                return std::nullopt;
            }
            pending_.append(buffer, static_cast<std::size_t>(n));
        }
        std::string line = pending_.substr(0, end);
        pending_.erase(0, end + 2);
        return line;
    }

    bool Write(std::string_view data) {
        while (!data.empty()) {
            const ssize_t n = send(fd_, data.data(), data.size(), MSG_NOSIGNAL);
            if (n <= 0) {
                return false;
            }
            data.remove_prefix(static_cast<std::size_t>(n));
        }
        return true;
    }

    // Says nothing more; returns once the client has closed (or the server shuts down).
    void Hold() {
        char buffer[4096];
        while (recv(fd_, buffer, sizeof buffer, 0) > 0) {
        }
    }

  private:
    int fd_;
    std::string pending_;
};

SmtpFaultServer::SmtpFaultServer(SmtpFault fault) : fault_(fault) {
    const LoopbackListener listener = ListenOnLoopback(8);
    listenFd_ = listener.fd;
    if (listenFd_ < 0) {
        return;
    }
    port_ = listener.port;
    acceptor_ = std::thread([this] { AcceptLoop(); });
}

SmtpFaultServer::~SmtpFaultServer() {
    stopping_ = true;
    if (listenFd_ >= 0) {
        shutdown(listenFd_, SHUT_RDWR);
    }
    if (acceptor_.joinable()) {
        acceptor_.join();
    }
    {
        std::lock_guard lock(mutex_);
        for (int fd : openFds_) {
            shutdown(fd, SHUT_RDWR);
        }
    }
    for (std::thread& thread : threads_) {
        thread.join();
    }
    if (listenFd_ >= 0) {
        close(listenFd_);
    }
}

std::vector<std::string> SmtpFaultServer::Commands() const {
    std::lock_guard lock(mutex_);
    return commands_;
}

std::vector<std::string> SmtpFaultServer::Mails() const {
    std::lock_guard lock(mutex_);
    return mails_;
}

int SmtpFaultServer::Connections() const {
    std::lock_guard lock(mutex_);
    return connections_;
}

void SmtpFaultServer::AcceptLoop() {
    while (!stopping_) {
        const int fd = accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0) {
            if (errno == EINTR) {
                continue;
            }
            return;
        }
        std::lock_guard lock(mutex_);
        ++connections_;
        openFds_.push_back(fd);
        threads_.emplace_back([this, fd, fault = fault_.load()] { Serve(fd, fault); });
    }
}

void SmtpFaultServer::Serve(int fd, SmtpFault fault) {
    Peer peer(fd);
    auto record = [this](std::string line) {
        std::lock_guard lock(mutex_);
        commands_.push_back(std::move(line));
    };
    [&] {
        switch (fault) {
            case SmtpFault::kNeverGreets:
                peer.Hold();
                return;
            case SmtpFault::kGarbageGreeting:
                peer.Write(std::string_view(kGarbage, sizeof kGarbage - 1));
                peer.Hold();
                return;
            case SmtpFault::kHugeGreeting: {
                const std::string line = "220-" + std::string(1020, 'x') + "\r\n";
                for (std::size_t sent = 0; sent < kHugeGreetingBytes && !stopping_;
                     sent += line.size()) {
                    if (!peer.Write(line)) {
                        return;
                    }
                }
                return;
            }
            default:
                break;
        }
        if (!peer.Write("220 fault.test ESMTP\r\n")) {
            return;
        }
        while (std::optional<std::string> line = peer.ReadLine()) {
            record(*line);
            const std::string verb = Verb(*line);
            bool ok = true;
            if (verb == "EHLO") {
                if (fault == SmtpFault::kCloseInEhloReply) {
                    peer.Write("250-fault.test\r\n250-AU");
                    return;
                }
                ok = peer.Write("250-fault.test\r\n250-AUTH PLAIN\r\n250 8BITMIME\r\n");
            } else if (verb == "HELO") {
                ok = peer.Write("250 fault.test\r\n");
            } else if (verb == "AUTH") {
                // "AUTH PLAIN" alone asks for the credentials on a line of their own.
                if (line->find(' ', 5) == std::string::npos) {
                    if (!peer.Write("334 \r\n")) {
                        return;
                    }
                    const std::optional<std::string> credentials = peer.ReadLine();
                    if (!credentials) {
                        return;
                    }
                    record(*credentials);
                }
                ok = peer.Write(fault == SmtpFault::kRefusesAuth
                                    ? "535 5.7.8 Authentication credentials invalid\r\n"
                                    : "235 2.7.0 Authentication successful\r\n");
            } else if (verb == "NOOP" || verb == "RSET") {
                ok = peer.Write("250 2.0.0 OK\r\n");
            } else if (verb == "MAIL") {
                if (fault == SmtpFault::kDropsAfterMailFrom) {
                    return;
                }
                if (fault == SmtpFault::kSilentAfterMailFrom) {
                    peer.Hold();
                    return;
                }
                ok = peer.Write("250 2.1.0 OK\r\n");
            } else if (verb == "RCPT") {
                ok = peer.Write("250 2.1.5 OK\r\n");
            } else if (verb == "DATA") {
                if (!peer.Write("354 End data with <CR><LF>.<CR><LF>\r\n")) {
                    return;
                }
                std::string mail;
                for (;;) {
                    const std::optional<std::string> text = peer.ReadLine();
                    if (!text) {
                        return;
                    }
                    if (*text == ".") {
                        break;
                    }
                    mail += (text->starts_with('.') ? text->substr(1) : *text) + "\r\n";
                }
                {
                    std::lock_guard lock(mutex_);
                    mails_.push_back(std::move(mail));
                }
                ok = peer.Write("250 2.0.0 Queued\r\n");
            } else if (verb == "QUIT") {
                peer.Write("221 2.0.0 Bye\r\n");
                return;
            } else {
                ok = peer.Write("502 5.5.2 Command not recognised\r\n");
            }
            if (!ok) {
                return;
            }
        }
    }();
    std::lock_guard lock(mutex_);
    openFds_.erase(std::find(openFds_.begin(), openFds_.end(), fd));
    close(fd);
}

}  // namespace korvane::testing
