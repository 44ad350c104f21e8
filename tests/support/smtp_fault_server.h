#pragma once

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace korvane::testing {

// Where a session with SmtpFaultServer goes wrong.
enum class SmtpFault {
    kNone,                 // a whole session: greeting, EHLO, AUTH PLAIN, mail taken, QUIT
    kNeverGreets,          // accepts the connection and says nothing
    kGarbageGreeting,      // greets with bytes that are no SMTP reply, then says nothing
    kHugeGreeting,         // a greeting of 50 MiB of continuation lines, then closes
    kCloseInEhloReply,     // closes halfway through the reply to EHLO
    kRefusesAuth,          // answers AUTH with 535
    kDropsAfterMailFrom,   // closes the connection when MAIL FROM arrives
    kSilentAfterMailFrom,  // never answers MAIL FROM
};

// An SMTP server on 127.0.0.1 and a free port that misbehaves as told, serving each
// connection on its own thread. It records the commands it receives and the mails it takes.
class SmtpFaultServer {
  public:
    explicit SmtpFaultServer(SmtpFault fault = SmtpFault::kNone);
    ~SmtpFaultServer();
    SmtpFaultServer(const SmtpFaultServer&) = delete;
    SmtpFaultServer& operator=(const SmtpFaultServer&) = delete;

    bool Listening() const { return listenFd_ >= 0; }
    int Port() const { return port_; }

    // Applies to connections accepted from now on.
    void SetFault(SmtpFault fault) { fault_ = fault; }

    // Command lines as received (AUTH credentials included), oldest first.
    std::vector<std::string> Commands() const;
    // The DATA text of every mail taken, without the final dot.
    std::vector<std::string> Mails() const;
    int Connections() const;

  private:
    class Peer;

    void AcceptLoop();
    void Serve(int fd, SmtpFault fault);

    int listenFd_ = -1;
    int port_ = 0;
    std::atomic<SmtpFault> fault_;
    std::atomic<bool> stopping_{false};

    mutable std::mutex mutex_;
    std::vector<std::string> commands_;
    std::vector<std::string> mails_;
    int connections_ = 0;
    std::vector<int> openFds_;
    std::vector<std::thread> threads_;
    std::thread acceptor_;
};

}  // namespace korvane::testing
