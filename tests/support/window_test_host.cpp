// The test host window: the host library's window at a fixed place on the
// screen, and the desktop's input.
#include "tests/support/window_test_host.h"

#include <chrono>
#include <thread>

namespace zendrel::test {

namespace {

// Where the host window's client area lies on the screen.
constexpr int32_t kScreenX = 40;
constexpr int32_t kScreenY = 30;

}  // namespace

std::unique_ptr<TestWindowHost> TestWindowHost::create(int32_t width, int32_t height, std::string& error,
                                                       Wheel wheel) {
  if (!desktop::available(error)) return nullptr;
  zendrel::host::HostWindow::Options options;
  options.width = width;
  options.height = height;
  options.place = zendrel::host::HostWindow::Place::kAt;
  options.x = kScreenX;
  options.y = kScreenY;
  options.wheel = wheel;
  std::unique_ptr<zendrel::host::HostWindow> w = zendrel::host::HostWindow::create(options, error);
  if (!w) return nullptr;
  std::unique_ptr<TestWindowHost> host(new TestWindowHost(std::move(w)));
  pumpFor(*host, nullptr, 50);  // shown and in front before anything is given to it
  return host;
}

TestWindowHost::TestWindowHost(std::unique_ptr<zendrel::host::HostWindow> w) : window(std::move(w)) {}

void* TestWindowHost::parentHandle() const { return window->handle(); }

void TestWindowHost::moveTo(int32_t x, int32_t y) {
  desktop::movePointer(kScreenX + x, kScreenY + y);
  settle();
}
void TestWindowHost::press(Button button) {
  desktop::button(button, true);
  settle();
}
void TestWindowHost::release(Button button) {
  desktop::button(button, false);
  settle();
}
void TestWindowHost::keyDown(Key key) {
  desktop::key(key, true);
  settle();
}
void TestWindowHost::keyUp(Key key) {
  desktop::key(key, false);
  settle();
}
void TestWindowHost::wheel(bool up) { desktop::wheelNotch(up); }

bool TestWindowHost::pumpUntil(const std::function<void()>& idle, const std::function<bool()>& done,
                               int timeoutMs) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    window->pump();
    if (idle) idle();
    if (done()) return true;
    if (std::chrono::steady_clock::now() >= end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

bool TestWindowHost::readPixels(const Toolkit::CRect& area, std::vector<uint32_t>& out) {
  return desktop::readScreen(kScreenX + area.left, kScreenY + area.top, area.getWidth(), area.getHeight(),
                             out);
}

void TestWindowHost::destroyWindow() { window->destroy(); }

int32_t TestWindowHost::countChildWindows() { return window->childWindowCount(); }

TestWindowHost::WheelTrace TestWindowHost::wheelTrace() const { return window->wheelTrace(); }

void TestWindowHost::settle() { pumpFor(*this, nullptr, 10); }

}  // namespace zendrel::test
