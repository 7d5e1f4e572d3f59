// The editor's parent on Windows: a plain top-level window.
#include "host/validate/editor_window.h"

#include <windows.h>

#include <cstdint>
#include <cstdlib>

namespace zvalidate {

namespace {
const char kClassName[] = "ZendrelValidateHost";

ATOM registerClass() {
  static const ATOM atom = [] {
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kClassName;
    return RegisterClassA(&wc);
  }();
  return atom;
}
}  // namespace

ParentWindow::ParentWindow(int width, int height) {
  registerClass();
  // Off the screen: nothing here looks at pixels, and a window lying over
  // another program's on a shared display would take that program's clicks.
  HWND w = CreateWindowExA(0, kClassName, "zendrel-validate", WS_OVERLAPPEDWINDOW | WS_VISIBLE, -width - 100, 0, width + 16,
                           height + 40, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  handle_ = w;
}

ParentWindow::~ParentWindow() {
  if (handle_) DestroyWindow(static_cast<HWND>(handle_));
  pump();
}

const char* ParentWindow::kind() const { return handle_ ? "a Win32 window" : "no window (null)"; }

void ParentWindow::pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

}  // namespace zvalidate
