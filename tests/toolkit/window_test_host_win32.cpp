// The test host window on Windows (run under Wine on the test display): a
// borderless top-level window, SendInput for pointer, keys and wheel, and the
// screen's pixels through the desktop's device context.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#include <psapi.h>

#include "tests/toolkit/window_test_host.h"

namespace zendrel_test {

namespace {

constexpr int32_t kScreenX = 40;
constexpr int32_t kScreenY = 30;
const char* const kClassName = "ZendrelTestHostWindow";

// Some systems give the wheel to the focus window, others to the window under
// the pointer: a wheel message the host takes from its queue for its own window
// goes on to the child under the pointer (the ones a child passes up with its
// default handling never come through the queue).
void routeWheel(MSG& message, HWND host) {
  if (message.message != WM_MOUSEWHEEL || message.hwnd != host) return;
  POINT p = {static_cast<short>(LOWORD(message.lParam)), static_cast<short>(HIWORD(message.lParam))};
  ScreenToClient(host, &p);
  HWND child = ChildWindowFromPoint(host, p);
  if (child) message.hwnd = child;
}

void sendMouse(DWORD flags, LONG dx = 0, LONG dy = 0, DWORD data = 0) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = dx;
  input.mi.dy = dy;
  input.mi.mouseData = data;
  input.mi.dwFlags = flags;
  SendInput(1, &input, sizeof input);
}

void sendKey(WORD vk, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = vk;
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  SendInput(1, &input, sizeof input);
}

class Win32Host : public TestWindowHost {
 public:
  Win32Host(int32_t w, int32_t h) {
    static bool registered = false;
    if (!registered) {
      WNDCLASSA wc{};
      wc.lpfnWndProc = DefWindowProcA;
      wc.hInstance = GetModuleHandleA(nullptr);
      wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
      wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
      wc.lpszClassName = kClassName;
      registered = RegisterClassA(&wc) != 0;
    }
    hwnd = CreateWindowExA(0, kClassName, "host", WS_POPUP | WS_VISIBLE, kScreenX, kScreenY, w, h, nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
    SetForegroundWindow(hwnd);
    SetFocus(hwnd);
    UpdateWindow(hwnd);
    pumpUntil(nullptr, [] { return false; }, 50);
  }
  ~Win32Host() override {
    if (IsWindow(hwnd)) DestroyWindow(hwnd);
    pumpUntil(nullptr, [] { return false; }, 10);
  }

  void* parentHandle() const override { return hwnd; }

  void moveTo(int32_t x, int32_t y) override {
    const int sw = GetSystemMetrics(SM_CXSCREEN);
    const int sh = GetSystemMetrics(SM_CYSCREEN);
    const LONG dx = static_cast<LONG>(((kScreenX + x) * 65536LL + sw - 1) / sw);
    const LONG dy = static_cast<LONG>(((kScreenY + y) * 65536LL + sh - 1) / sh);
    sendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, dx, dy);
    settle();
  }
  // Each input is given time to reach its window before the next, as a user
  // gives it: the window a message goes to is chosen when it is generated.
  void press(Button b) override {
    sendMouse(b == kLeft ? MOUSEEVENTF_LEFTDOWN : b == kRight ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_MIDDLEDOWN);
    settle();
  }
  void release(Button b) override {
    sendMouse(b == kLeft ? MOUSEEVENTF_LEFTUP : b == kRight ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_MIDDLEUP);
    settle();
  }
  void keyDown(Key k) override {
    sendKey(vk(k), false);
    settle();
  }
  void keyUp(Key k) override {
    sendKey(vk(k), true);
    settle();
  }
  void wheel(bool up) override { sendMouse(MOUSEEVENTF_WHEEL, 0, 0, static_cast<DWORD>(up ? WHEEL_DELTA : -WHEEL_DELTA)); }

  bool pumpUntil(const std::function<void()>& idle, const std::function<bool()>& done, int timeoutMs) override {
    const DWORD end = GetTickCount() + static_cast<DWORD>(timeoutMs);
    for (;;) {
      MSG message;
      while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        routeWheel(message, hwnd);
        TranslateMessage(&message);
        DispatchMessageA(&message);
      }
      if (idle) idle();
      if (done()) return true;
      if (static_cast<LONG>(GetTickCount() - end) >= 0) return false;
      Sleep(5);
    }
  }

  bool readPixels(const Toolkit::CRect& area, std::vector<uint32_t>& out) override {
    const int w = area.getWidth();
    const int h = area.getHeight();
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = -h;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP dib = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bool ok = false;
    if (dib) {
      HGDIOBJ old = SelectObject(memory, dib);
      ok = BitBlt(memory, 0, 0, w, h, screen, kScreenX + area.left, kScreenY + area.top, SRCCOPY) != 0;
      GdiFlush();
      const auto* p = static_cast<const uint32_t*>(bits);
      out.assign(p, p + std::size_t(w) * std::size_t(h));
      for (uint32_t& px : out) px &= 0x00ffffff;
      SelectObject(memory, old);
      DeleteObject(dib);
    }
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return ok;
  }

  void destroyWindow() override {
    if (IsWindow(hwnd)) DestroyWindow(hwnd);
  }

  int32_t countChildWindows() override {
    if (!IsWindow(hwnd)) return 0;
    int32_t n = 0;
    EnumChildWindows(
        hwnd, [](HWND, LPARAM count) -> BOOL {
          ++*reinterpret_cast<int32_t*>(count);
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&n));
    return n;
  }

  Resources processResources() override {
    Resources r;
    DWORD handles = 0;
    GetProcessHandleCount(GetCurrentProcess(), &handles);
    r.handles = long(handles);
    r.windowObjects = long(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS) +
                           GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS));
    PROCESS_MEMORY_COUNTERS memory{};
    if (K32GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory)) r.residentKb = long(memory.WorkingSetSize / 1024);
    return r;
  }

 private:
  void settle() { pumpUntil(nullptr, [] { return false; }, 10); }
  static WORD vk(Key k) { return k == kShift ? VK_SHIFT : k == kControl ? VK_CONTROL : VK_MENU; }
  HWND hwnd = nullptr;
};

}  // namespace

std::unique_ptr<TestWindowHost> TestWindowHost::create(int32_t width, int32_t height, std::string& error) {
  auto host = std::make_unique<Win32Host>(width, height);
  if (!host->parentHandle()) {
    error = "cannot create a top-level window (is there a display for Wine?)";
    return nullptr;
  }
  return host;
}

}  // namespace zendrel_test
