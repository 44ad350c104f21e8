#include "app_test_support.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#include <QCoreApplication>
#include <QPointer>
#include <QTest>

#include "app/app_constants.h"
#include "app/client_seams.h"
#include "app/globals.h"
#include "app/startup.h"
#include "service/authcode.h"
#include "text/code_page.h"

namespace korvane::app::testing {

std::string Local(std::string_view utf8) {
    return text::Utf8ToLocal(utf8);
}

namespace {

void CloseAllWindows() {
    std::vector<QPointer<QWidget>> windows;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        windows.emplace_back(widget);
    }
    for (const QPointer<QWidget>& window : windows) {
        delete window.data();
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

}  // namespace

void ClientTest::SetUp() {
    ExitCleanup();
    CreateGlobals();
    CountdownTicks = 0;
    ResetSeams();
    Seams().systemBox.show = [this](const std::string& text) { systemMessages_.push_back(text); };
    Seams().runMessageWindow = [](MessageWindow&) { ADD_FAILURE() << "unexpected message window"; };
}

void ClientTest::TearDown() {
    CloseAllWindows();
    ResetSeams();
    ExitCleanup();
}

bool ShowActive(QWidget& window) {
    window.show();
    window.activateWindow();
    return QTest::qWaitForWindowActive(&window, 5000);
}

void Click(QWidget& widget) {
    Click(widget, widget.rect().center());
}

void Click(QWidget& widget, QPoint at) {
    QTest::mouseClick(&widget, Qt::LeftButton, Qt::NoModifier, at);
}

CannedService::CannedService(std::string replyJson)
    : body_(service::AuthcodeEncode(replyJson, kApplicationKey)) {
    listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    if (::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(listener_, 8) != 0) {
        return;
    }
    socklen_t length = sizeof address;
    ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] { Serve(); });
}

CannedService::~CannedService() {
    ::shutdown(listener_, SHUT_RDWR);
    if (thread_.joinable()) {
        thread_.join();
    }
    ::close(listener_);
}

std::string CannedService::BaseUrl() const {
    return "http://127.0.0.1:" + std::to_string(port_) + "/";
}

void CannedService::Serve() {
    for (;;) {
        const int connection = ::accept(listener_, nullptr, nullptr);
        if (connection < 0) {
            return;
        }
        // Read the request head and as much of the body as Content-Length announces.
        std::string request;
        char buffer[4096];
        for (;;) {
            pollfd waiting{connection, POLLIN, 0};
            if (::poll(&waiting, 1, 5000) <= 0) {
                break;
            }
            const ssize_t got = ::recv(connection, buffer, sizeof buffer, 0);
            if (got <= 0) {
                break;
            }
            request.append(buffer, static_cast<std::size_t>(got));
            const std::size_t headEnd = request.find("\r\n\r\n");
            if (headEnd == std::string::npos) {
                continue;
            }
            std::size_t bodyLength = 0;
            const std::size_t field = request.find("Content-Length:");
            if (field != std::string::npos && field < headEnd) {
                bodyLength = std::stoul(request.substr(field + 15));
            }
            if (request.size() >= headEnd + 4 + bodyLength) {
                break;
            }
        }
        const std::string reply = "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nContent-Length: " +
                                  std::to_string(body_.size()) + "\r\nConnection: close\r\n\r\n" +
                                  body_;
        ::send(connection, reply.data(), reply.size(), MSG_NOSIGNAL);
        ::close(connection);
        requests_.fetch_add(1);
    }
}

std::string DeadServiceUrl() {
    // Bind a port and let it go: nothing listens there afterwards.
    const int probe = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(probe, reinterpret_cast<sockaddr*>(&address), sizeof address);
    socklen_t length = sizeof address;
    ::getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length);
    ::close(probe);
    return "http://127.0.0.1:" + std::to_string(ntohs(address.sin_port)) + "/";
}

}  // namespace korvane::app::testing
