// The frame's child window on Windows: one window class shared by every frame
// of the process, a child window of the host's window with the frame as its
// user data, painting through paint messages, capture, leave tracking,
// cursors, geometry and the drop target.
#include <cstdio>
#include <mutex>

#include "plugin/vst/module_instance.h"
#include "toolkit/frame.h"
#include "toolkit/platform/win32/drop_target.h"
#include "toolkit/platform/win32/win32_window.h"
#include "toolkit/scaling.h"

namespace Toolkit {
namespace platform {

namespace {

// The class every frame window uses, registered by the first frame and
// unregistered by the last. Editors of several instances may open on several
// threads, so the count and the name are guarded.
struct WindowClass {
  std::mutex lock;
  int useCount = 0;
  char name[64] = {};
  bool swapButtons = false;
  DWORD osMajorVersion = 0;
};

WindowClass& windowClass() {
  static WindowClass c;
  return c;
}

HINSTANCE classInstance() {
  return moduleInstance ? static_cast<HINSTANCE>(moduleInstance) : GetModuleHandleW(nullptr);
}

DWORD readOsMajorVersion() {
  OSVERSIONINFOA info{};
  info.dwOSVersionInfoSize = sizeof info;
  return GetVersionExA(&info) ? info.dwMajorVersion : 0;
}

// Registers the class when the count was 0; answers its name, empty on failure.
bool retainWindowClass(char* name, std::size_t size, DWORD& osMajor) {
  WindowClass& c = windowClass();
  std::lock_guard<std::mutex> guard(c.lock);
  if (c.useCount++ == 0) {
    std::snprintf(c.name, sizeof c.name, "Plugin%p", static_cast<void*>(classInstance()));
    WNDCLASSA wc{};
    wc.style = CS_GLOBALCLASS | CS_DBLCLKS;
    wc.lpfnWndProc = win32::windowProc;
    wc.hInstance = classInstance();
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = c.name;
    RegisterClassA(&wc);
    c.swapButtons = GetSystemMetrics(SM_SWAPBUTTON) != 0;
  }
  c.osMajorVersion = readOsMajorVersion();
  osMajor = c.osMajorVersion;
  std::snprintf(name, size, "%s", c.name);
  return true;
}

void releaseWindowClass() {
  WindowClass& c = windowClass();
  std::lock_guard<std::mutex> guard(c.lock);
  if (c.useCount > 0 && --c.useCount == 0) UnregisterClassA(c.name, classInstance());
}

bool keyDown(int key) { return (GetAsyncKeyState(key) & 0x8000) != 0; }

HWND outermostEditorWindow(HWND hwnd) {
  HWND w = hwnd;
  for (HWND parent = GetParent(w); parent; parent = GetParent(w)) {
    if ((GetWindowLongA(w, GWL_STYLE) & WS_CAPTION) == WS_CAPTION) break;
    RECT own, outer;
    GetWindowRect(w, &own);
    GetWindowRect(parent, &outer);
    if ((outer.right - outer.left) - (own.right - own.left) > 60 || (outer.bottom - outer.top) - (own.bottom - own.top) > 60)
      break;
    w = parent;
  }
  return w;
}

// A window's rectangle in the client coordinates of its parent (screen without one).
RECT rectInParent(HWND w) {
  RECT r;
  GetWindowRect(w, &r);
  if (HWND parent = GetParent(w)) MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

}  // namespace

// S_OK and S_FALSE both count a use to give back; a failure (RPC_E_CHANGED_MODE
// on a thread of the multithreaded apartment) counts none.
bool beginWindowSystemUse() { return SUCCEEDED(OleInitialize(nullptr)); }
void endWindowSystemUse() { OleUninitialize(); }

Window* createWindow(CFrame* frame, void* parentWindow, const CRect& size) {
  if (!frame || !parentWindow) return nullptr;
  char className[64];
  DWORD osMajor = 0;
  retainWindowClass(className, sizeof className, osMajor);
  const DWORD exStyle = osMajor >= 6 ? WS_EX_COMPOSITED : 0;
  HWND hwnd = CreateWindowExA(exStyle, className, "Window", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
                              0, 0, size.getWidth(), size.getHeight(), static_cast<HWND>(parentWindow), nullptr,
                              classInstance(), nullptr);
  if (!hwnd) {
    releaseWindowClass();
    return nullptr;
  }
  auto* w = new Window;
  w->frame = frame;
  w->hwnd = hwnd;
  SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(frame));
  return w;
}

void destroyWindow(Window* w) {
  if (!w) return;
  if (!w->gone && IsWindow(w->hwnd)) {
    SetWindowLongPtrA(w->hwnd, GWLP_USERDATA, 0);
    DestroyWindow(w->hwnd);
  }
  releaseWindowClass();
  delete w;
}

void* nativeHandle(Window* w) { return w ? w->hwnd : nullptr; }

void invalidateRect(Window* w, const CRect& rect) {
  if (!w || w->gone) return;
  RECT r = {rect.left, rect.top, rect.right, rect.bottom};
  InvalidateRect(w->hwnd, &r, TRUE);
}

void dispatchEvents(Window*) {}  // the host's message loop delivers them
void flushPaint(Window*) {}      // the paint message comes through the same loop

void paintNow(Window* w) {
  if (!w) return;
  MSG message;
  if (PeekMessageA(&message, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE)) DispatchMessageA(&message);
}

bool wantsBackBuffer() {
  WindowClass& c = windowClass();
  std::lock_guard<std::mutex> guard(c.lock);
  return c.osMajorVersion != 0 && c.osMajorVersion <= 5;
}

void captureMouse(Window* w) {
  if (w && !w->gone) SetCapture(w->hwnd);
}

void releaseMouse(Window* w) {
  if (w && GetCapture() == w->hwnd) ReleaseCapture();
}

void trackMouseLeave(Window* w) {
  if (!w || w->gone) return;
  TRACKMOUSEEVENT track{};
  track.cbSize = sizeof track;
  track.dwFlags = TME_LEAVE;
  track.hwndTrack = w->hwnd;
  TrackMouseEvent(&track);
}

CPoint mouseLocation(Window* w) {
  if (!w || w->gone) return CPoint();
  POINT p;
  RECT r;
  if (!GetCursorPos(&p) || !GetWindowRect(w->hwnd, &r)) return CPoint();
  return CPoint(p.x - r.left, p.y - r.top);
}

MouseButtons mouseButtons(Window* w) {
  bool swap;
  {
    WindowClass& c = windowClass();
    std::lock_guard<std::mutex> guard(c.lock);
    swap = c.swapButtons;
  }
  MouseButtons b = 0;
  if (keyDown(VK_LBUTTON)) b |= swap ? kRightButton : kLeftButton;
  if (keyDown(VK_RBUTTON)) b |= swap ? kLeftButton : kRightButton;
  if (keyDown(VK_MBUTTON)) b |= kMiddleButton;
  if (keyDown(VK_SHIFT)) b |= kShiftKey;
  if (keyDown(VK_CONTROL)) b |= kControlKey;
  if (keyDown(VK_MENU)) b |= kAltKey;
  return b;
}

void setCursor(Window* w, CursorShape shape) {
  if (!w) return;
  if (!w->cursorSaved) {
    w->defaultCursor = GetCursor();
    w->cursorSaved = true;
  }
  LPCSTR id = nullptr;
  switch (shape) {
    case CursorShape::kWait: id = IDC_WAIT; break;
    case CursorShape::kSizeWE: id = IDC_SIZEWE; break;
    case CursorShape::kSizeNS: id = IDC_SIZENS; break;
    case CursorShape::kSizeAll: id = IDC_SIZEALL; break;
    case CursorShape::kSizeNESW: id = IDC_SIZENESW; break;
    case CursorShape::kSizeNWSE: id = IDC_SIZENWSE; break;
    case CursorShape::kNo: id = IDC_NO; break;
    case CursorShape::kHand: id = IDC_HAND; break;
    default: break;
  }
  SetCursor(id ? LoadCursorA(nullptr, id) : w->defaultCursor);
}

bool registerDropTarget(Window* w) {
  if (!w || w->gone || w->dropTarget) return w && w->dropTarget;
  auto* target = new DropTarget(w->frame);
  target->AddRef();
  if (RegisterDragDrop(w->hwnd, target) != S_OK) {
    target->Release();
    return false;
  }
  w->dropTarget = target;
  return true;
}

void revokeDropTarget(Window* w) {
  if (!w || !w->dropTarget) return;
  if (!w->gone) RevokeDragDrop(w->hwnd);
  w->dropTarget->detach();
  w->dropTarget->Release();
  w->dropTarget = nullptr;
}

CPoint editorPosition(Window* w) {
  if (!w || w->gone) return CPoint();
  const RECT r = rectInParent(outermostEditorWindow(w->hwnd));
  return CPoint(r.left, r.top);
}

CRect parentRect(Window* w) {
  if (!w || w->gone) return CRect();
  HWND parent = GetParent(w->hwnd);
  if (!parent) return CRect();
  const RECT r = rectInParent(parent);
  return CRect(r.left, r.top, r.right, r.bottom);
}

bool resize(Window* w, int32_t width, int32_t height) {
  if (!w || w->gone || width <= 0 || height <= 0) return false;
  RECT own;
  GetWindowRect(w->hwnd, &own);
  const int dw = width - (own.right - own.left);
  const int dh = height - (own.bottom - own.top);
  SetWindowPos(w->hwnd, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  // The host's window grows by as much, unless it is much larger than the editor.
  if (HWND parent = GetParent(w->hwnd)) {
    RECT outer;
    GetWindowRect(parent, &outer);
    if ((outer.right - outer.left) - (own.right - own.left) <= 80 &&
        (outer.bottom - outer.top) - (own.bottom - own.top) <= 80)
      SetWindowPos(parent, nullptr, 0, 0, outer.right - outer.left + dw, outer.bottom - outer.top + dh,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  return true;
}

std::optional<double> systemScale(void* parentWindow) {
  // Systems before the per-window DPI have neither call: looked up, not linked.
  using DpiForWindow = UINT(WINAPI*)(HWND);
  using DpiForSystem = UINT(WINAPI*)();
  HMODULE user = GetModuleHandleA("user32.dll");
  static const auto dpiForWindow = reinterpret_cast<DpiForWindow>(
      reinterpret_cast<void*>(GetProcAddress(user, "GetDpiForWindow")));
  static const auto dpiForSystem = reinterpret_cast<DpiForSystem>(
      reinterpret_cast<void*>(GetProcAddress(user, "GetDpiForSystem")));
  if (parentWindow && dpiForWindow && IsWindow(static_cast<HWND>(parentWindow)))
    if (const UINT dpi = dpiForWindow(static_cast<HWND>(parentWindow))) return scaling::fromDpi(dpi);
  // The screen's logical DPI, without a device context where the system tells it.
  if (dpiForSystem)
    if (const UINT dpi = dpiForSystem()) return scaling::fromDpi(dpi);
  HDC screen = GetDC(nullptr);
  if (!screen) return std::nullopt;
  const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  return scaling::fromDpi(dpi);
}

}  // namespace platform
}  // namespace Toolkit
