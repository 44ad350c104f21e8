#pragma once

#include <QSocketNotifier>
#include <memory>

namespace korvane::app {

// While it lives, SIGTERM, SIGINT and SIGHUP end the event loop as the end-program command
// does, so the program still leaves through its normal end and its end-of-run routine.
class TerminationSignals {
  public:
    TerminationSignals();
    ~TerminationSignals();
    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

    // True once a signal came. A signal taken inside a nested loop (a modal box before the main
    // loop starts) only ends that loop, so the caller must not start the main loop afterwards.
    bool Requested() const { return requested_; }

  private:
    bool requested_ = false;
    int ends_[2] = {-1, -1};
    std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace korvane::app
