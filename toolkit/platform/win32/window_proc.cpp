// The frame windows' window procedure: each message the frame reacts to is
// handed to a short helper; everything else gets the default handling.
#include <windowsx.h>

#include "toolkit/frame.h"
#include "toolkit/platform/win32/win32_input.h"
#include "toolkit/platform/win32/win32_window.h"

namespace Toolkit {
namespace platform {
namespace win32 {

namespace {

bool altDown() { return GetKeyState(VK_MENU) < 0; }

// The frame works in logical pixels; messages carry the window's device pixels.
CPoint clientPoint(CFrame* frame, LPARAM lParam) {
  return frame->toLogical(CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)));
}

MouseButtons messageButtons(WPARAM wParam) {
  return buttonsFromKeyState(static_cast<uint32_t>(LOWORD(wParam)), altDown());
}

LRESULT onPaint(CFrame* frame, HWND hwnd) {
  RECT update;
  if (GetUpdateRect(hwnd, &update, FALSE)) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    frame->paint(dc, CRect(ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right, ps.rcPaint.bottom));
    EndPaint(hwnd, &ps);
  }
  return 0;
}

LRESULT onButtonDown(CFrame* frame, HWND hwnd, WPARAM wParam, LPARAM lParam, bool doubleClick) {
  MouseButtons buttons = messageButtons(wParam);
  if (doubleClick) buttons |= kDoubleClick;
  if (frame->onMouseDown(clientPoint(frame, lParam), buttons) == MouseResult::Handled) SetCapture(hwnd);
  return 0;
}

LRESULT onButtonUp(CFrame* frame, HWND hwnd, WPARAM wParam, LPARAM lParam) {
  frame->onMouseUp(clientPoint(frame, lParam), messageButtons(wParam));
  if (GetCapture() == hwnd) ReleaseCapture();
  return 0;
}

// A wheel message is answered 0 and goes no further, whether a control took
// it or not: handed to the default handling it would climb to the host's
// window, and hosts that pass every wheel message on to the child under the
// pointer send it straight back down (one notch, many steps), while others
// scroll their own view as the control moves.
LRESULT onWheel(CFrame* frame, HWND hwnd, WPARAM wParam, LPARAM lParam) {
  MouseButtons buttons = 0;
  if (GetKeyState(VK_SHIFT) < 0) buttons |= kShiftKey;
  if (GetKeyState(VK_CONTROL) < 0) buttons |= kControlKey;
  if (altDown()) buttons |= kAltKey;
  // The message carries screen coordinates, signed: monitors left of or above
  // the primary one have negative ones.
  RECT r;
  GetWindowRect(hwnd, &r);
  const CPoint where = frame->toLogical(CPoint(GET_X_LPARAM(lParam) - r.left, GET_Y_LPARAM(lParam) - r.top));
  frame->onWheel(where, wheelNotches(static_cast<int16_t>(HIWORD(wParam))), buttons);
  return 0;
}

LRESULT onMouseLeave(CFrame* frame) {
  CPoint where;
  frame->getCurrentMouseLocation(where);
  frame->onMouseExited(where, frame->getCurrentMouseButtons());
  return 0;
}

LRESULT onDestroy(CFrame* frame, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (Window* w = frame->getPlatformWindow()) w->gone = true;
  frame->windowDestroyed();
  SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

}  // namespace

LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* frame = reinterpret_cast<CFrame*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (!frame) return DefWindowProcA(hwnd, message, wParam, lParam);
  switch (message) {
    case WM_PAINT:
      return onPaint(frame, hwnd);
    case WM_ERASEBKGND:
      return 1;  // the frame paints every pixel
    case WM_MOUSEMOVE:
      frame->onMouseMoved(clientPoint(frame, lParam), messageButtons(wParam));
      return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_XBUTTONDOWN:
      return onButtonDown(frame, hwnd, wParam, lParam, false);
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
    case WM_XBUTTONDBLCLK:
      return onButtonDown(frame, hwnd, wParam, lParam, true);
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
    case WM_XBUTTONUP:
      return onButtonUp(frame, hwnd, wParam, lParam);
    case WM_MOUSEWHEEL:
      return onWheel(frame, hwnd, wParam, lParam);
    case WM_MOUSELEAVE:
      return onMouseLeave(frame);
    case WM_DESTROY:
      return onDestroy(frame, hwnd, message, wParam, lParam);
    default:
      return DefWindowProcA(hwnd, message, wParam, lParam);
  }
}

}  // namespace win32
}  // namespace platform
}  // namespace Toolkit
