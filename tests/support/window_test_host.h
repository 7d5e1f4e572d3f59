// A host-like top-level window on a real display (the host library's window,
// borderless at a fixed place on the screen), and input given to it the way a
// user gives it: the pointer moved and clicked, modifier keys held, the wheel
// turned. The window tests are written once against this; the window systems
// lie in the host library and in desktop_<platform>.cpp.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "host/lib/host_window.h"
#include "tests/support/desktop.h"
#include "toolkit/base.h"

namespace zendrel::test {

class TestWindowHost {
 public:
  using Button = desktop::Button;
  static constexpr Button kLeft = desktop::kLeft;
  static constexpr Button kMiddle = desktop::kMiddle;
  static constexpr Button kRight = desktop::kRight;
  using Key = desktop::Key;
  static constexpr Key kShift = desktop::kShift;
  static constexpr Key kControl = desktop::kControl;
  static constexpr Key kAlt = desktop::kAlt;
  // How wheel messages reach the editor: as the window system gives them, or
  // through a host that passes every one it receives on to the child under
  // the pointer (see zendrel::host::HostWindow::Wheel).
  using Wheel = zendrel::host::HostWindow::Wheel;
  using WheelTrace = zendrel::host::HostWindow::WheelTrace;
  using Resources = zendrel::host::ProcessResources;

  // A top-level window of width × height at a fixed place on the screen.
  // Null with `error` set when there is no display to make it on.
  static std::unique_ptr<TestWindowHost> create(int32_t width, int32_t height, std::string& error,
                                                Wheel wheel = Wheel::kSystem);

  // What a host passes to the editor's open: the window handle or id.
  void* parentHandle() const;

  // Pointer and keys; coordinates are in the host window's client area.
  void moveTo(int32_t x, int32_t y);
  void press(Button button);
  void release(Button button);
  void keyDown(Key key);
  void keyUp(Key key);
  // One wheel notch, up (away from the user) when `up`.
  void wheel(bool up);

  // Runs the host's side for a while: delivers its messages and calls idle
  // (the editor's idle, as a host does at about 30 Hz) until `done` answers
  // true or `timeoutMs` passes. Answers whether `done` held.
  bool pumpUntil(const std::function<void()>& idle, const std::function<bool()>& done, int timeoutMs = 3000);

  // The screen's pixels over `area` of the host window's client area, as a user
  // sees them: 0x00RRGGBB, rows top to bottom.
  bool readPixels(const Toolkit::CRect& area, std::vector<uint32_t>& out);

  // The host destroys its window (before or without closing the editor).
  void destroyWindow();

  // Native windows (children of the host window) that exist now: leaked
  // windows show up here.
  int32_t countChildWindows();
  // The size of the editor's window (the first child); false without one.
  bool childWindowSize(int32_t& width, int32_t& height) { return window->childWindowSize(width, height); }

  // What became of wheel messages over the host's children (empty where they
  // do not pass through the host).
  WheelTrace wheelTrace() const;
  static bool wheelPassesThroughHost() { return zendrel::host::HostWindow::wheelPassesThroughHost(); }

  // What the process holds of the system, for leak checks.
  Resources processResources() { return zendrel::host::processResources(); }

 private:
  explicit TestWindowHost(std::unique_ptr<zendrel::host::HostWindow> w);
  // Each input is given time to reach its window before the next, as a user
  // gives it: the window a message goes to is chosen when it is generated.
  void settle();
  std::unique_ptr<zendrel::host::HostWindow> window;
};

// Repeats `idle` with the host pumping for `ms` milliseconds.
inline void pumpFor(TestWindowHost& host, const std::function<void()>& idle, int ms) {
  host.pumpUntil(
      idle, [] { return false; }, ms);
}

}  // namespace zendrel::test
