// Host windows on Windows (and under Wine): plain top-level windows of one
// class, each pumped by the thread that made it.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
// after windows.h, which it needs
#include <psapi.h>

#include "host/lib/host_window.h"

namespace zendrel::host {

namespace {

const char kClassName[] = "ZendrelHostWindow";

// A host that passes wheel messages on stops after this many nested hand-ons,
// so that a child that hands them back shows as many steps, not a crash.
constexpr int kMaxForwardDepth = 8;

LRESULT CALLBACK hostProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

ATOM hostClass() {
  static const ATOM atom = [] {
    WNDCLASSA wc{};
    wc.lpfnWndProc = hostProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    wc.lpszClassName = kClassName;
    return RegisterClassA(&wc);
  }();
  return atom;
}

// The child of `host` under the screen point of a wheel message, or null.
HWND childUnder(HWND host, LPARAM lParam) {
  POINT p = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  ScreenToClient(host, &p);
  HWND child = ChildWindowFromPointEx(host, p, CWP_SKIPINVISIBLE);
  return child == host ? nullptr : child;
}

class Win32Window;
Win32Window* windowOf(HWND hwnd);

class Win32Window : public HostWindow {
 public:
  explicit Win32Window(const Options& options) : forward(options.wheel == Wheel::kHostForwards) {
    if (!hostClass()) return;
    DWORD style = WS_POPUP;
    int x = options.x, y = options.y;
    RECT r = {0, 0, options.width, options.height};
    if (options.place == Place::kDecorated) {
      style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
      x = y = CW_USEDEFAULT;
    } else if (options.place == Place::kOffScreen) {
      style = WS_OVERLAPPEDWINDOW;
      x = -options.width - 100;
      y = 0;
    }
    AdjustWindowRect(&r, style, FALSE);
    if (options.place == Place::kOffScreen) x -= r.right - r.left - options.width;
    hwnd = CreateWindowExA(0, kClassName, options.title.c_str(), style | WS_VISIBLE, x, y, r.right - r.left,
                           r.bottom - r.top, nullptr, nullptr, GetModuleHandleA(nullptr), this);
    if (hwnd && options.place == Place::kAt) {
      // In front with the focus, as a host's window the user works in: keys,
      // and the wheel where the system gives it to the focus window, come here.
      SetForegroundWindow(hwnd);
      SetFocus(hwnd);
    }
    if (hwnd) UpdateWindow(hwnd);
  }
  ~Win32Window() override {
    destroy();
    pump();
  }

  void* handle() const override { return hwnd; }

  bool pump() override {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_MOUSEWHEEL) {
        if (Win32Window* host = windowOf(message.hwnd)) {
          if (host->deliverQueuedWheel(message)) continue;
        } else if (Win32Window* owner = windowOf(GetAncestor(message.hwnd, GA_ROOT))) {
          // Given straight to a child of a host window: what it answers is seen here.
          owner->trace.answers.push_back(DispatchMessageA(&message));
          continue;
        }
      }
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
    return hwnd && !closed && IsWindow(hwnd);
  }

  void destroy() override {
    if (hwnd && IsWindow(hwnd)) DestroyWindow(hwnd);
  }

  int32_t childWindowCount() override {
    if (!hwnd || !IsWindow(hwnd)) return 0;
    int32_t n = 0;
    EnumChildWindows(
        hwnd,
        [](HWND, LPARAM count) -> BOOL {
          ++*reinterpret_cast<int32_t*>(count);
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&n));
    return n;
  }

  bool childWindowSize(int32_t& width, int32_t& height) override {
    HWND child = hwnd && IsWindow(hwnd) ? GetWindow(hwnd, GW_CHILD) : nullptr;
    RECT r;
    if (!child || !GetClientRect(child, &r)) return false;
    width = r.right - r.left;
    height = r.bottom - r.top;
    return true;
  }

  WheelTrace wheelTrace() const override { return trace; }

  // A wheel message for this window taken from the queue. A host that does
  // not pass the wheel on gets it where Windows delivers it, at the window
  // under the pointer (answers whether it was delivered here).
  bool deliverQueuedWheel(MSG& message) {
    HWND child = forward ? nullptr : childUnder(hwnd, message.lParam);
    if (!child) {
      takingQueuedWheel = true;  // its own: the window procedure takes it
      return false;
    }
    message.hwnd = child;
    trace.answers.push_back(DispatchMessageA(&message));
    return true;
  }

  // A wheel message at the host's window: its own from the queue, or one a
  // child handed up.
  LRESULT onWheel(WPARAM wParam, LPARAM lParam) {
    const bool queued = takingQueuedWheel;
    takingQueuedWheel = false;
    if (!queued) ++trace.returned;
    HWND child = forward && depth < kMaxForwardDepth ? childUnder(hwnd, lParam) : nullptr;
    if (!child) return DefWindowProcA(hwnd, WM_MOUSEWHEEL, wParam, lParam);
    ++depth;
    trace.answers.push_back(SendMessageA(child, WM_MOUSEWHEEL, wParam, lParam));
    --depth;
    return 0;
  }

  HWND hwnd = nullptr;
  bool closed = false;
  WheelTrace trace;

 private:
  const bool forward;
  bool takingQueuedWheel = false;
  int depth = 0;
};

Win32Window* windowOf(HWND hwnd) {
  if (!hwnd || GetClassLongPtrA(hwnd, GCW_ATOM) != hostClass()) return nullptr;
  return reinterpret_cast<Win32Window*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
}

LRESULT CALLBACK hostProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* window = reinterpret_cast<Win32Window*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (window) {
    switch (message) {
      case WM_MOUSEWHEEL:
        return window->onWheel(wParam, lParam);
      case WM_CLOSE:
        // The user closed it: the host closes the editor first, then the window.
        window->closed = true;
        return 0;
      case WM_NCDESTROY:
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        window->hwnd = nullptr;
        break;
      default:
        break;
    }
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

}  // namespace

std::unique_ptr<HostWindow> HostWindow::create(const Options& options, std::string& error) {
  if (!sizeIsPossible(options, error)) return nullptr;
  auto window = std::make_unique<Win32Window>(options);
  if (!window->hwnd) {
    error =
        "cannot create a window (error " + std::to_string(GetLastError()) + "; is there a display for Wine?)";
    return nullptr;
  }
  return window;
}

const char* HostWindow::kind() { return "a Win32 window"; }

bool HostWindow::wheelPassesThroughHost() { return true; }

ProcessResources processResources() {
  ProcessResources r;
  DWORD handles = 0;
  GetProcessHandleCount(GetCurrentProcess(), &handles);
  r.handles = long(handles);
  r.windowObjects = long(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS) +
                         GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS));
  PROCESS_MEMORY_COUNTERS memory{};
  if (K32GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory))
    r.residentKb = long(memory.WorkingSetSize / 1024);
  return r;
}

void returnFreedMemory() { HeapCompact(GetProcessHeap(), 0); }

}  // namespace zendrel::host
