#include "app/termination.h"

#include <sys/socket.h>
#include <unistd.h>
#include <QCoreApplication>
#include <array>
#include <csignal>

namespace korvane::app {

namespace {

constexpr std::array kSignals = {SIGTERM, SIGINT, SIGHUP};

// The end a signal handler writes to; a handler can reach nothing else.
volatile std::sig_atomic_t signalWriteEnd = -1;

void OnSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(signalWriteEnd, &byte, 1);
}

}  // namespace

TerminationSignals::TerminationSignals() {
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends_) != 0) {
        return;
    }
    signalWriteEnd = ends_[0];
    notifier_ = std::make_unique<QSocketNotifier>(ends_[1], QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] {
        char byte = 0;
        [[maybe_unused]] const ssize_t got = ::read(ends_[1], &byte, 1);
        requested_ = true;
        QCoreApplication::exit(0);
    });

    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : kSignals) {
        ::sigaction(signal, &action, nullptr);
    }
}

TerminationSignals::~TerminationSignals() {
    if (ends_[0] < 0) {
        return;
    }
    for (int signal : kSignals) {
        std::signal(signal, SIG_DFL);
    }
    notifier_.reset();
    signalWriteEnd = -1;
    ::close(ends_[0]);
    ::close(ends_[1]);
}

}  // namespace korvane::app
