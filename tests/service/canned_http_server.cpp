#include "canned_http_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>
#include <utility>

namespace korvane::service::testing {

namespace {

constexpr int kPollMs = 50;
constexpr int kReadTimeoutMs = 5000;

// A listening socket on 127.0.0.1 with a port of the system's choice.
int Listen(int& port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&address), size) != 0 ||
        ::listen(fd, 8) != 0 || ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size)) {
        std::abort();
    }
    port = ntohs(address.sin_port);
    return fd;
}

// The request is complete once its header block and Content-Length bytes of body are in.
bool Complete(const std::string& request) {
    const std::size_t end = request.find("\r\n\r\n");
    if (end == std::string::npos) {
        return false;
    }
    std::size_t length = 0;
    const std::size_t field = request.find("Content-Length:");
    if (field != std::string::npos && field < end) {
        length = std::strtoul(request.c_str() + field + 15, nullptr, 10);
    }
    return request.size() >= end + 4 + length;
}

}  // namespace

CannedHttpServer::CannedHttpServer(std::string response)
    : response_(std::move(response)), listener_(Listen(port_)), thread_([this] { Serve(); }) {}

CannedHttpServer::~CannedHttpServer() {
    stop_ = true;
    thread_.join();
    ::close(listener_);
}

std::string CannedHttpServer::BaseUrl() const {
    return "http://127.0.0.1:" + std::to_string(port_) + "/";
}

std::vector<std::string> CannedHttpServer::Requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

void CannedHttpServer::Serve() {
    while (!stop_) {
        pollfd waiting{listener_, POLLIN, 0};
        if (::poll(&waiting, 1, kPollMs) == 1) {
            const int connection = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
            if (connection >= 0) {
                Answer(connection);
                ::close(connection);
            }
        }
    }
}

void CannedHttpServer::Answer(int connection) {
    std::string request;
    char chunk[4096];
    while (!Complete(request)) {
        pollfd readable{connection, POLLIN, 0};
        if (::poll(&readable, 1, kReadTimeoutMs) != 1) {
            return;
        }
        const ssize_t n = ::recv(connection, chunk, sizeof chunk, 0);
        if (n <= 0) {
            return;
        }
        request.append(chunk, static_cast<std::size_t>(n));
    }
    {
        std::lock_guard lock(mutex_);
        requests_.push_back(request);
    }
    for (std::size_t sent = 0; sent < response_.size();) {
        const ssize_t n =
            ::send(connection, response_.data() + sent, response_.size() - sent, MSG_NOSIGNAL);
        if (n <= 0) {
            return;
        }
        sent += static_cast<std::size_t>(n);
    }
}

std::string HttpResponse(std::string_view statusLine, std::string_view body) {
    std::string response(statusLine);
    response += "\r\nContent-Type: text/html\r\nContent-Length: " + std::to_string(body.size()) +
                "\r\nConnection: close\r\n\r\n";
    response += body;
    return response;
}

std::string UnreachableBaseUrl() {
    int port = 0;
    ::close(Listen(port));
    return "http://127.0.0.1:" + std::to_string(port) + "/";
}

}  // namespace korvane::service::testing
