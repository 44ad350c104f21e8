#pragma once

namespace korvane::ui {

// Held around a call that blocks the GUI thread (a service request, an SMS request, a mail
// exchange): the pointer shows busy for the whole call, and the windows take no input
// meanwhile. The window system keeps queueing what the person does while the thread is
// blocked; when the guard ends, that queued input is thrown away instead of acting late, and
// everything else that queued up (painting, moves from timer threads) is handled as usual.
// Guards nest. GUI thread only.
class BusyPointer {
  public:
    BusyPointer();
    ~BusyPointer();
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;
};

// Held while a modal box waits for the person inside a busy call (the mail server check):
// the normal pointer until the box is closed, then busy again. Outside a busy call it does
// nothing, so the controls keep their own pointers.
class NormalPointer {
  public:
    NormalPointer();
    ~NormalPointer();
    NormalPointer(const NormalPointer&) = delete;
    NormalPointer& operator=(const NormalPointer&) = delete;

  private:
    bool pushed_ = false;
};

}  // namespace korvane::ui
