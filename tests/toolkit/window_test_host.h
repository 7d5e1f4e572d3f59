// A host-like top-level window on a real display, and input given to it the
// way a user gives it: the pointer moved and clicked, modifier keys held, the
// wheel turned. One implementation per platform (X11 with XTest; Win32 with
// SendInput); the window tests are written once against this interface.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "toolkit/base.h"

namespace zendrel_test {

class TestWindowHost {
 public:
  enum Button { kLeft = 1, kMiddle = 2, kRight = 3 };
  enum Key { kShift, kControl, kAlt };

  // A top-level window of width × height at a fixed place on the screen.
  // Null with `error` set when there is no display to make it on.
  static std::unique_ptr<TestWindowHost> create(int32_t width, int32_t height, std::string& error);
  virtual ~TestWindowHost() = default;

  // What a host passes to the editor's open: the window handle or id.
  virtual void* parentHandle() const = 0;

  // Pointer and keys; coordinates are in the host window's client area.
  virtual void moveTo(int32_t x, int32_t y) = 0;
  virtual void press(Button button) = 0;
  virtual void release(Button button) = 0;
  virtual void keyDown(Key key) = 0;
  virtual void keyUp(Key key) = 0;
  // One wheel notch, up (away from the user) when `up`.
  virtual void wheel(bool up) = 0;

  // Runs the host's side for a while: delivers its messages and calls idle
  // (the editor's idle, as a host does at about 30 Hz) until `done` answers
  // true or `timeoutMs` passes. Answers whether `done` held.
  virtual bool pumpUntil(const std::function<void()>& idle, const std::function<bool()>& done,
                         int timeoutMs = 3000) = 0;

  // The screen's pixels over `area` of the host window's client area, as a user
  // sees them: 0x00RRGGBB, rows top to bottom.
  virtual bool readPixels(const Toolkit::CRect& area, std::vector<uint32_t>& out) = 0;

  // The host destroys its window (before or without closing the editor).
  virtual void destroyWindow() = 0;

  // Native windows (children of the host window) that exist now: leaked
  // windows show up here.
  virtual int32_t countChildWindows() = 0;

  // What the process holds of the system, for leak checks: open handles (file
  // descriptors on Linux, where each editor's display connection is one; kernel
  // handles on Windows), window-system objects (Windows: GDI and USER objects;
  // 0 on X11, where they live in the connection) and resident memory.
  struct Resources {
    long handles = 0;
    long windowObjects = 0;
    long residentKb = 0;
  };
  virtual Resources processResources() = 0;
};

// Repeats `idle` with the host pumping for `ms` milliseconds.
inline void pumpFor(TestWindowHost& host, const std::function<void()>& idle, int ms) {
  host.pumpUntil(idle, [] { return false; }, ms);
}

}  // namespace zendrel_test
