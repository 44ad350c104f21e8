#include "loopback_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <openssl/pem.h>
#include <openssl/ssl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstring>

#include "support/loopback_listener.h"

namespace korvane::net::testing {

namespace {

constexpr std::size_t kMaxHead = 1 << 20;
constexpr std::size_t kMaxBody = std::size_t{64} << 20;
constexpr std::string_view kHeadEnd = "\r\n\r\n";

// Reads and writes one connection, in the clear or through TLS.
class Channel {
  public:
    Channel(int fd, SSL* ssl) : fd_(fd), ssl_(ssl) {}

    // Bytes read into `buffer`; 0 when the peer has gone or the read failed.
    std::size_t Read(char* buffer, std::size_t size) {
        const long n = ssl_ != nullptr ? SSL_read(ssl_, buffer, static_cast<int>(size))
                                       : recv(fd_, buffer, size, 0);
        return n > 0 ? static_cast<std::size_t>(n) : 0;
    }

    bool Write(std::string_view data) {
        while (!data.empty()) {
            const long n = ssl_ != nullptr
                               ? SSL_write(ssl_, data.data(), static_cast<int>(data.size()))
                               : send(fd_, data.data(), data.size(), MSG_NOSIGNAL);
            if (n <= 0) {
                return false;
            }
            data.remove_prefix(static_cast<std::size_t>(n));
        }
        return true;
    }

    // Waits until the peer closes the connection (or the server shuts it down).
    void HoldUntilClosed() {
        char buffer[4096];
        while (Read(buffer, sizeof buffer) > 0) {
        }
    }

  private:
    int fd_;
    SSL* ssl_;
};

char Lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), text.begin(),
                      [](char a, char b) { return Lower(a) == Lower(b); });
}

// The value of the request's Content-Length line, 0 without one.
std::size_t ContentLength(std::string_view headerBlock) {
    std::size_t start = 0;
    while (start < headerBlock.size()) {
        std::size_t end = headerBlock.find("\r\n", start);
        if (end == std::string_view::npos) {
            end = headerBlock.size();
        }
        const std::string_view line = headerBlock.substr(start, end - start);
        if (StartsWithNoCase(line, "content-length:")) {
            const unsigned long long value =
                std::strtoull(std::string(line.substr(15)).c_str(), nullptr, 10);
            return static_cast<std::size_t>(std::min<unsigned long long>(kMaxBody, value));
        }
        start = end + 2;
    }
    return 0;
}

// Reads one request from `channel`; `pending` carries bytes read past the previous one.
std::optional<ReceivedRequest> ReadRequest(Channel& channel, std::string& pending) {
    char buffer[65536];
    std::size_t headEnd;
    while ((headEnd = pending.find(kHeadEnd)) == std::string::npos) {
        const std::size_t n = pending.size() < kMaxHead ? channel.Read(buffer, sizeof buffer) : 0;
        if (n == 0) {
            return std::nullopt;
        }
        pending.append(buffer, n);
    }
    ReceivedRequest request;
    const std::size_t lineEnd = pending.find("\r\n");
    request.requestLine = pending.substr(0, lineEnd);
    if (lineEnd < headEnd) {
        request.headerBlock = pending.substr(lineEnd + 2, headEnd - lineEnd - 2);
    }
    const std::size_t bodyStart = headEnd + kHeadEnd.size();
    const std::size_t length = ContentLength(request.headerBlock);
    while (pending.size() - bodyStart < length) {
        const std::size_t n = channel.Read(buffer, sizeof buffer);
        if (n == 0) {
            return std::nullopt;
        }
        pending.append(buffer, n);
    }
    request.body = pending.substr(bodyStart, length);
    pending.erase(0, bodyStart + length);
    return request;
}

std::string TargetOf(const std::string& requestLine) {
    const std::size_t first = requestLine.find(' ');
    const std::size_t last = requestLine.rfind(' ');
    if (first == std::string::npos || last <= first) {
        return {};
    }
    return requestLine.substr(first + 1, last - first - 1);
}

// Sends `reply`; true when the connection may carry another request.
bool SendReply(Channel& channel, const ReceivedRequest& request, const Reply& reply,
               const std::atomic<bool>& stopping) {
    if (reply.silent) {
        channel.HoldUntilClosed();
        return false;
    }
    const std::string body = reply.body.value_or(request.Raw());
    std::string out = reply.before + reply.statusLine + "\r\n";
    if (reply.contentLength) {
        out += "Content-Length: " + std::to_string(body.size()) + "\r\n";
    }
    for (const std::string& line : reply.headers) {
        out += line + "\r\n";
    }
    out += "\r\n";
    if (!request.requestLine.starts_with("HEAD ")) {
        out += body;
    }
    if (!channel.Write(out)) {
        return false;
    }
    if (reply.extraBytes > 0) {
        const std::string filler(reply.extraPace.count() > 0 ? 1 : 65536, 'x');
        for (std::size_t left = reply.extraBytes; left > 0 && !stopping;) {
            const std::size_t n = std::min(left, filler.size());
            if (reply.extraPace.count() > 0) {
                std::this_thread::sleep_for(reply.extraPace);
            }
            if (!channel.Write(std::string_view(filler).substr(0, n))) {
                break;
            }
            left -= n;
        }
        return false;
    }
    if (reply.holdOpen) {
        channel.HoldUntilClosed();
        return false;
    }
    return !reply.closeAfter;
}

struct SslFree {
    void operator()(SSL* ssl) const { SSL_free(ssl); }
};

}  // namespace

std::string ReceivedRequest::Raw() const {
    std::string raw = requestLine + "\r\n";
    if (!headerBlock.empty()) {
        raw += headerBlock + "\r\n";
    }
    return raw + "\r\n" + body;
}

struct LoopbackServer::Tls {
    struct CtxFree {
        void operator()(SSL_CTX* ctx) const { SSL_CTX_free(ctx); }
    };
    std::unique_ptr<SSL_CTX, CtxFree> ctx;

    explicit Tls(const TlsIdentity& identity) : ctx(SSL_CTX_new(TLS_server_method())) {
        BIO* cert = BIO_new_mem_buf(identity.certificatePem.data(),
                                    static_cast<int>(identity.certificatePem.size()));
        BIO* key =
            BIO_new_mem_buf(identity.keyPem.data(), static_cast<int>(identity.keyPem.size()));
        X509* x509 = cert != nullptr ? PEM_read_bio_X509(cert, nullptr, nullptr, nullptr) : nullptr;
        EVP_PKEY* pkey =
            key != nullptr ? PEM_read_bio_PrivateKey(key, nullptr, nullptr, nullptr) : nullptr;
        if (!ctx || x509 == nullptr || pkey == nullptr ||
            SSL_CTX_use_certificate(ctx.get(), x509) != 1 ||
            SSL_CTX_use_PrivateKey(ctx.get(), pkey) != 1) {
            ctx.reset();
        }
        X509_free(x509);
        EVP_PKEY_free(pkey);
        BIO_free(cert);
        BIO_free(key);
    }
};

LoopbackServer::LoopbackServer(const TlsIdentity* tls) {
    // A client that gives up mid-reply must not take the test process down with it.
    std::signal(SIGPIPE, SIG_IGN);
    if (tls != nullptr) {
        tls_ = std::make_unique<Tls>(*tls);
        if (!tls_->ctx) {
            return;
        }
    }
    const korvane::testing::LoopbackListener listener = korvane::testing::ListenOnLoopback(16);
    listenFd_ = listener.fd;
    if (listenFd_ < 0) {
        return;
    }
    port_ = listener.port;
    acceptor_ = std::thread([this] { AcceptLoop(); });
}

LoopbackServer::~LoopbackServer() {
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
    for (std::thread& connection : connections_) {
        connection.join();
    }
    if (listenFd_ >= 0) {
        close(listenFd_);
    }
}

std::string LoopbackServer::Url(std::string_view target) const {
    return (tls_ ? "https://127.0.0.1:" : "http://127.0.0.1:") + std::to_string(port_) +
           std::string(target);
}

void LoopbackServer::Answer(std::string target, Reply reply) {
    std::lock_guard lock(mutex_);
    replies_[std::move(target)] = std::move(reply);
}

std::vector<ReceivedRequest> LoopbackServer::Received() const {
    std::lock_guard lock(mutex_);
    return received_;
}

void LoopbackServer::AnswerOthers(Reply reply) {
    std::lock_guard lock(mutex_);
    otherReply_ = std::move(reply);
}

Reply LoopbackServer::ReplyFor(const std::string& target) const {
    std::lock_guard lock(mutex_);
    const auto found = replies_.find(target);
    return found != replies_.end() ? found->second : otherReply_;
}

void LoopbackServer::AcceptLoop() {
    while (!stopping_) {
        const int fd = accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0) {
            if (errno == EINTR) {
                continue;
            }
            return;
        }
        std::lock_guard lock(mutex_);
        openFds_.push_back(fd);
        connections_.emplace_back([this, fd] { Serve(fd); });
    }
}

void LoopbackServer::Serve(int fd) {
    std::unique_ptr<SSL, SslFree> ssl;
    bool ready = true;
    if (tls_) {
        ssl.reset(SSL_new(tls_->ctx.get()));
        ready = ssl && SSL_set_fd(ssl.get(), fd) == 1 && SSL_accept(ssl.get()) == 1;
    }
    if (ready) {
        Channel channel(fd, ssl.get());
        std::string pending;
        while (!stopping_) {
            std::optional<ReceivedRequest> request = ReadRequest(channel, pending);
            if (!request) {
                break;
            }
            {
                std::lock_guard lock(mutex_);
                received_.push_back(*request);
            }
            if (!SendReply(channel, *request, ReplyFor(TargetOf(request->requestLine)),
                           stopping_)) {
                break;
            }
        }
    }
    ssl.reset();
    std::lock_guard lock(mutex_);
    openFds_.erase(std::find(openFds_.begin(), openFds_.end(), fd));
    close(fd);
}

}  // namespace korvane::net::testing
