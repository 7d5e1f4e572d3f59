// What every platform's window layer (toolkit/platform/<name>/window*.cpp)
// defines, and nothing more. The frame reaches the window system only through
// these functions; each platform keeps its window state in the struct declared
// opaque here. A null Window is the headless case: the frame has no window,
// every function below does nothing (or answers zero) and the frame only
// records what it would have asked to repaint.
//
// The platform calls back into the frame for everything that happens in the
// window: CFrame::paint (an area to draw onto the window's device), the mouse
// handlers, CFrame::onWheel and CFrame::windowDestroyed. Each platform turns its
// native events into those calls in one translation function.
//
// Private to the toolkit: views and editors never include it.
#pragma once

#include <cstdint>
#include <optional>

#include "toolkit/base.h"

namespace Toolkit {

class CFrame;

namespace platform {

struct Window;

// The system cursors a frame can show; the numbers are the frame's cursor codes.
enum class CursorShape : int32_t {
  kDefault = 0,
  kWait = 1,
  kSizeWE = 2,
  kSizeNS = 3,
  kSizeAll = 4,
  kSizeNESW = 5,
  kSizeNWSE = 6,
  kNo = 8,
  kHand = 9,
};

// ---- window system users ----------------------------------------------------
// Every frame and every editor holds the window system (Windows: OLE) while it
// lives, through a WindowSystemUse (window_system_use.h), which balances these.
// Starts the window system on the calling thread; true when it did (or counted
// one more use of it), and only then endWindowSystemUse is called once, on the
// same thread. False where the thread refuses it (Windows: a thread of the
// multithreaded COM apartment) or the platform has nothing to start (X11).
bool beginWindowSystemUse();
void endWindowSystemUse();

// ---- the frame's child window -------------------------------------------------
// A visible child window of the host's parentWindow, `size` big at (0, 0), with
// the frame as its user data. Null when no window can be made: no display, a
// parent that does not exist, a refused class or window.
Window* createWindow(CFrame* frame, void* parentWindow, const CRect& size);
// Destroys the window (when the host has not destroyed it already) and frees
// everything the platform held for it.
void destroyWindow(Window* window);
// The native handle (HWND, or the X11 window id) as a pointer; null when headless.
void* nativeHandle(Window* window);

// ---- painting -------------------------------------------------------------------
// Asks for `rect` (client coordinates) to be repainted; the platform paints it
// later through CFrame::paint.
void invalidateRect(Window* window, const CRect& rect);
// Hands the frame the window's pending events. Windows: nothing, the host's
// message loop delivers them; X11: drains the editor's connection.
void dispatchEvents(Window* window);
// Ends the frame's idle: X11 paints the invalid region; Windows: nothing, the
// paint message arrives through the host's message loop.
void flushPaint(Window* window);
// Paints what is pending now. Windows: dispatches one pending paint message of
// the thread; X11: paints the invalid region.
void paintNow(Window* window);
// Whether the frame paints through a back buffer on this system.
bool wantsBackBuffer();

// ---- the pointer ------------------------------------------------------------------
void captureMouse(Window* window);
void releaseMouse(Window* window);
// Asks for one leave notification (CFrame::onMouseExited) when the pointer leaves.
void trackMouseLeave(Window* window);
// The pointer in client coordinates, and the physical buttons and modifier keys.
CPoint mouseLocation(Window* window);
MouseButtons mouseButtons(Window* window);
void setCursor(Window* window, CursorShape shape);

// ---- drops ----------------------------------------------------------------------
// Registers the window as a drop target that passes drags to the frame; false
// where the platform has none (X11).
bool registerDropTarget(Window* window);
void revokeDropTarget(Window* window);

// ---- geometry ---------------------------------------------------------------------
// Top-left corner, in its parent's client coordinates, of the outermost window
// that still belongs to the editor.
CPoint editorPosition(Window* window);
// The rectangle of the host's window in the client coordinates of its parent.
CRect parentRect(Window* window);
// Resizes the child window and the host's window around it.
bool resize(Window* window, int32_t width, int32_t height);

// ---- display scale ------------------------------------------------------------------
// The scale the system gives windows (scaling.h): Windows, the DPI of the
// host's window where the system tells it, else the screen's logical DPI;
// X11, Xft.dpi in the server's resource database. parentWindow may be null
// (not open yet). None where the system says nothing usable.
std::optional<double> systemScale(void* parentWindow);

}  // namespace platform
}  // namespace Toolkit
