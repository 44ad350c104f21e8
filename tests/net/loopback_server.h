#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "test_certificates.h"

namespace korvane::net::testing {

// One request exactly as it arrived.
struct ReceivedRequest {
    std::string requestLine;  // without its CR LF
    std::string headerBlock;  // the header lines as sent, joined by CR LF, no blank line
    std::string body;

    // The request's bytes: request line, header block, blank line, body.
    std::string Raw() const;
};

// How the server answers a request.
struct Reply {
    std::string statusLine = "HTTP/1.1 200 OK";
    std::vector<std::string> headers;  // sent as given, each followed by CR LF
    std::optional<std::string> body;   // unset: the raw request, echoed
    bool contentLength = true;         // put "Content-Length: <body size>" before `headers`
    std::string before;                // raw bytes ahead of the status line (an interim reply)
    bool silent = false;               // send nothing at all; hold the connection open
    std::size_t extraBytes = 0;        // after the body, this many more bytes, then close
    std::chrono::milliseconds extraPace{0};  // pause before each extra byte
    bool holdOpen = false;                   // after the reply, send nothing more; hold open
    bool closeAfter = false;                 // after the reply, close the connection
};

// An HTTP/1.1 server on 127.0.0.1 and a free port, serving each connection on its own thread.
// It records every request and answers from a table of replies by request target (the text
// between the verb and the version); other targets get the reply given to AnswerOthers, or
// without one the request echoed back.
// Connections are kept open for further requests unless a reply says otherwise.
class LoopbackServer {
  public:
    // Plain HTTP, or HTTPS with `tls` as the server's identity.
    explicit LoopbackServer(const TlsIdentity* tls = nullptr);
    ~LoopbackServer();
    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;

    bool Listening() const { return listenFd_ >= 0; }
    int Port() const { return port_; }
    // "http://127.0.0.1:<port>" (or https) followed by `target`.
    std::string Url(std::string_view target) const;

    void Answer(std::string target, Reply reply);
    void AnswerOthers(Reply reply);
    std::vector<ReceivedRequest> Received() const;

  private:
    struct Tls;

    void AcceptLoop();
    void Serve(int fd);
    Reply ReplyFor(const std::string& target) const;

    std::unique_ptr<Tls> tls_;
    int listenFd_ = -1;
    int port_ = 0;
    std::atomic<bool> stopping_{false};

    mutable std::mutex mutex_;
    std::map<std::string, Reply> replies_;
    Reply otherReply_;
    std::vector<ReceivedRequest> received_;
    std::vector<int> openFds_;
    std::vector<std::thread> connections_;
    std::thread acceptor_;
};

}  // namespace korvane::net::testing
