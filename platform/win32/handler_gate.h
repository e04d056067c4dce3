#pragma once

#include <vector>

#include <windows.h>

namespace calvorin::win32 {

// One event handler at a time. On Windows a handler's WMI call waits in
// COM's modal loop, which delivers messages sent from other threads and
// processes (and some posted ones) to the program's windows; a start or stop
// wait peeks at sent messages for the session's end. An event message that
// arrives that way is held, in order, and posted again once the handler has
// ended, so that its handler runs after this one instead of inside it.
// Two nested loops are the design's own and let events through: a message
// box and the tray's pop-up menu (the tray component guards itself there).
class HandlerGate {
 public:
  HandlerGate() = default;
  HandlerGate(const HandlerGate&) = delete;
  HandlerGate& operator=(const HandlerGate&) = delete;

  void handlerStarted();
  // Posts what was held once no handler holds events any more.
  void handlerEnded();
  void modalLoopEntered() { ++modalLoops_; }
  void modalLoopLeft() { --modalLoops_; }
  bool inModalLoop() const { return modalLoops_ > 0; }

  // Whether an event message for one of the program's windows arriving now
  // must wait: a handler runs, no message box or menu of its own is up, and
  // the message is not one that a window call of the handler itself causes.
  bool mustHold() const;
  void hold(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  // Around a window call of the program that makes Windows send the window
  // an event message at once (a resize, a close request): that message is
  // the running handler's own doing and goes through.
  class OwnCall {
   public:
    explicit OwnCall(HandlerGate& gate) : gate_(gate) { ++gate_.ownCalls_; }
    OwnCall(const OwnCall&) = delete;
    OwnCall& operator=(const OwnCall&) = delete;
    ~OwnCall() { --gate_.ownCalls_; }

   private:
    HandlerGate& gate_;
  };

 private:
  bool holding() const;

  // For each running handler, innermost last: the modal loops open when it
  // started. A loop opened since is a box or menu of its own.
  std::vector<int> handlers_;
  int modalLoops_ = 0;
  int ownCalls_ = 0;
  std::vector<MSG> held_;
};

}  // namespace calvorin::win32
