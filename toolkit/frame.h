// The root of the view tree, bound to a child window inside the host's window.
// It turns the window's events into view events, paints the tree, tracks the
// modal, focus and hover views and passes edit notifications to its editor.
// Opened with a null parent window it has no window (headless): it then only
// records the area its views ask to have repainted, and tests and tools draw it
// into an off-screen context themselves.
#pragma once

#include "toolkit/editor_interface.h"
#include "toolkit/view_container.h"
#include "toolkit/window_system_use.h"

namespace Toolkit {

class CDrawContext;
class COffscreenContext;
class CFrame;

namespace platform {
struct Window;
}

// Told of what the pointer does in a frame, before the views are.
class IMouseObserver {
 public:
  virtual ~IMouseObserver() = default;
  virtual void onMouseEntered(CView* view, CFrame* frame) = 0;
  virtual void onMouseExited(CView* view, CFrame* frame) = 0;
  virtual void onMouseMoved(CFrame* frame, const CPoint& where) {}
  virtual void onMouseDown(CFrame* frame, const CPoint& where) {}
};

// Cursor codes of setCursor.
enum CCursorType : int32_t {
  kCursorDefault = 0,
  kCursorWait = 1,
  kCursorHSize = 2,
  kCursorVSize = 3,
  kCursorSizeAll = 4,
  kCursorNESWSize = 5,
  kCursorNWSESize = 6,
  kCursorNotAllowed = 8,
  kCursorHand = 9,
};

class CFrame : public CViewContainer {
 public:
  // parentWindow is the host's window handle (an HWND, or an X11 window id as
  // a pointer); null means headless. size is logical; the window has `scale`
  // device pixels to each logical one (scaling.h).
  CFrame(const CRect& size, void* parentWindow, EditorInterface* editor, double scale = 1.0);
  ~CFrame() override;

  CFrame(const CFrame&) = delete;
  CFrame& operator=(const CFrame&) = delete;

  // Virtual operations in slot order.
  virtual bool getOpenFlag() const;
  // Takes the window's pending events, then asks for every view whose value or
  // state changed since it was drawn to be repainted.
  virtual void idle();
  virtual void runIdleCycle();
  // Milliseconds since some fixed start.
  virtual uint32_t getTicks() const;
  virtual int32_t getKnobMode() const;
  // The frame never moves itself: false.
  virtual bool setPosition(int32_t x, int32_t y);
  virtual bool getPosition(int32_t& x, int32_t& y) const;
  // Refused when the window is closed or the size is unchanged.
  virtual bool setSize(int32_t width, int32_t height);
  virtual bool getSize(CRect* rect) const;
  virtual bool getSize(CRect& rect) const;
  // Refused (false) for a non-null view while a modal view is set or when the
  // view is attached; null clears the modal view (removed without release).
  virtual bool setModalView(CView* view);
  virtual CView* getModalView() const;
  virtual void beginEdit(int32_t index);
  virtual void endEdit(int32_t index);
  // The pointer in frame coordinates, and the physical buttons and modifiers.
  virtual bool getCurrentMouseLocation(CPoint& where) const;
  virtual MouseButtons getCurrentMouseButtons() const;
  virtual void setCursor(CCursorType type);
  virtual void setFocusView(CView* view);
  virtual CView* getFocusView() const;
  // A view leaves the tree: forget it wherever the frame still points to it.
  virtual void onViewRemoved(CView* view);
  virtual void setDropActive(bool state);
  virtual bool isDropActive() const;
  virtual void setOpenFlag(bool state);
  // Marks every child whose rectangle overlaps rect (edges inclusive) dirty.
  virtual void invalidateArea(const CRect& rect);
  virtual IMouseObserver* getMouseObserver() const;
  virtual void setMouseObserver(IMouseObserver* observer);

  // ---- display scale ----
  double getScaleFactor() const { return scale; }
  // Draws at a new scale: a drag in progress ends (the host hears its end),
  // the window takes the new device size and everything is repainted. False
  // when the factor is unchanged, not positive or the window is closed.
  bool setScaleFactor(double factor);
  // The logical point under a device pixel of the window.
  CPoint toLogical(const CPoint& device) const;

  // ---- what the window layer calls ----
  // Draws updateRect (the window's device pixels) onto the window's device,
  // through the back buffer where the platform wants one.
  void paint(void* systemContext, const CRect& updateRect);
  // The host destroyed its window (and with it ours) before the editor closed.
  void windowDestroyed();
  // Paints what is invalid now instead of waiting for the next idle.
  void paintNow();

  // The back buffer, made on first use where the platform paints through one;
  // null elsewhere.
  COffscreenContext* getBackBuffer();
  // A context every paint uses instead of making its own (not owned; retained).
  void setFrameContext(CDrawContext* context);
  CDrawContext* getFrameContext() const { return frameContext; }

  EditorInterface* getEditorInterface() const { return editor; }
  void* getParentWindow() const { return parentWindow; }
  // The frame's own window as a native handle; null when headless or refused.
  void* getSystemWindow() const;
  bool hasWindow() const { return window != nullptr; }
  // For the window layer.
  platform::Window* getPlatformWindow() const { return window; }
  CView* getHoverView() const { return hoverView; }
  bool getFirstDraw() const { return firstDraw; }

  // The union of every rectangle invalidated since the last take; what a
  // window was asked to repaint. Headless frames are drawn from it.
  bool hasInvalidRect() const { return invalidPending; }
  const CRect& getInvalidRect() const { return invalidRect; }
  CRect takeInvalidRect();

  // CView / CViewContainer
  void drawRect(CDrawContext* context, const CRect& updateRect) override;
  void invalidateRect(const CRect& rect) override;
  void invalidate() override;
  EditorInterface* getEditor() const override;
  bool isTypeOf(const char* name) const override;
  MouseResult onMouseDown(const CPoint& where, MouseButtons buttons) override;
  MouseResult onMouseUp(const CPoint& where, MouseButtons buttons) override;
  MouseResult onMouseMoved(const CPoint& where, MouseButtons buttons) override;
  MouseResult onMouseExited(const CPoint& where, MouseButtons buttons) override;
  // The window's vertical wheel: distance in notches, positive away from the user.
  bool onWheel(const CPoint& where, float distance, MouseButtons buttons) override;
  bool onWheelAxis(const CPoint& where, int32_t axis, float distance, MouseButtons buttons) override;
  int32_t onKeyDown(VstKeyCode& key) override;
  int32_t onKeyUp(VstKeyCode& key) override;
  // A frame is never detached nor attached elsewhere.
  bool onAttached(CView* parentView) override;
  bool onDetached() override;
  CView* clone() const override { return nullptr; }

 protected:
  EditorInterface* editor;
  IMouseObserver* mouseObserver = nullptr;
  void* parentWindow;
  CView* modalView = nullptr;
  CView* focusView = nullptr;
  CView* hoverView = nullptr;
  bool firstDraw = true;
  bool openFlag = true;
  bool dropActive = false;
  platform::Window* window = nullptr;
  COffscreenContext* backBuffer = nullptr;
  bool mouseTracking = false;
  CDrawContext* frameContext = nullptr;

 private:
  void exitHoverView(const CPoint& where, MouseButtons buttons);
  // A drag cut short ends as if the button were released there: the host
  // hears the end of the edit it heard begin.
  void endDrag();
  MouseResult trackHover(const CPoint& where, MouseButtons buttons);

  // Taken first of all (a member before the constructor's body); a thread
  // that refuses it still gets its window, without a drop target.
  WindowSystemUse windowSystem;
  CRect invalidRect;
  bool invalidPending = false;
  double scale = 1.0;
};

}  // namespace Toolkit
