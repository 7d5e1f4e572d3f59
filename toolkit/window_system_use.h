// One user's hold on the window system (Windows: OLE) for the thread that took
// it. The platform's per-thread start may fail where the host set the thread up
// otherwise (a thread of the multithreaded COM apartment refuses OLE): then
// there is nothing to give back, and a window still opens, only without what
// needed the window system (the drop target). A successful start is given back
// once, on the thread that made it. A hold dropped on another thread (an
// instance created on one host thread and closed on another) leaves the giving
// back to its own thread, which does it the next time it takes or drops a hold.
#pragma once

namespace Toolkit {

// The platform's per-thread start and stop; tests count them through a fake.
// start answers whether the thread now holds a use that stop must give back.
struct WindowSystemCalls {
  bool (*start)();
  void (*stop)();
};

class WindowSystemUse {
 public:
  // Takes the hold through the platform's window layer.
  WindowSystemUse();
  explicit WindowSystemUse(const WindowSystemCalls& calls);
  ~WindowSystemUse() { release(); }
  WindowSystemUse(const WindowSystemUse&) = delete;
  WindowSystemUse& operator=(const WindowSystemUse&) = delete;

  // Gives the hold back (at most once).
  void release();
  // Whether this hold's start succeeded and has not been given back yet.
  bool held() const { return taken; }

 private:
  WindowSystemCalls calls;
  // The thread that took it, as numbered here (never reused within the process).
  unsigned long long thread = 0;
  bool taken = false;
};

}  // namespace Toolkit
