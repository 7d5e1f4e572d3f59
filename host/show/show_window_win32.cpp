// The editor's host window on Windows: a plain captioned window.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include "host/show/show_window.h"

namespace zshow {

namespace {

bool closed = false;

LRESULT CALLBACK hostProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CLOSE) {
    closed = true;
    return 0;
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

class Win32Window : public HostWindow {
 public:
  Win32Window(int32_t w, int32_t h, const std::string& title) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = hostProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    wc.lpszClassName = "ZendrelShowWindow";
    RegisterClassA(&wc);
    RECT r = {0, 0, w, h};
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    AdjustWindowRect(&r, style, FALSE);
    hwnd = CreateWindowExA(0, wc.lpszClassName, title.c_str(), style | WS_VISIBLE, CW_USEDEFAULT, CW_USEDEFAULT,
                           r.right - r.left, r.bottom - r.top, nullptr, nullptr, wc.hInstance, nullptr);
  }
  ~Win32Window() override {
    if (hwnd) DestroyWindow(hwnd);
  }
  void* handle() const override { return hwnd; }
  bool pump() override {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
    return !closed;
  }
  HWND hwnd = nullptr;
};

}  // namespace

std::unique_ptr<HostWindow> HostWindow::create(int32_t width, int32_t height, const std::string& title,
                                               std::string& error) {
  auto window = std::make_unique<Win32Window>(width, height, title);
  if (!window->hwnd) {
    error = "cannot create a window";
    return nullptr;
  }
  return window;
}

}  // namespace zshow
