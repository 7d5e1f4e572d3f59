#include "toolkit/frame.h"

#include <cstring>

#include "toolkit/bitmap.h"
#include "toolkit/draw_context.h"
#include "toolkit/platform_seam.h"
#include "toolkit/scaling.h"
#include "toolkit/window_seam.h"

namespace Toolkit {

namespace {

// Guards against a focus change started from inside another one (a view's
// loseFocus or notify handler setting the focus again). Per thread: editors of
// two instances may run on two host threads, and one's change must not make
// the other's look re-entrant.
thread_local bool focusChangeInProgress = false;

// Keeps an object alive while one of its handlers runs: the handler may
// remove it from the tree (or close the editor that owns the frame).
class Hold {
 public:
  explicit Hold(CBaseObject* object) : held(object) { held->retain(); }
  ~Hold() { held->release(); }
  Hold(const Hold&) = delete;
  Hold& operator=(const Hold&) = delete;

 private:
  CBaseObject* held;
};

}  // namespace

CFrame::CFrame(const CRect& rect, void* parentWindowHandle, EditorInterface* editorInterface, double scaleFactor)
    : CViewContainer(rect), editor(editorInterface), parentWindow(parentWindowHandle), scale(scaleFactor > 0 ? scaleFactor : 1.0) {
  frame = this;
  attached = true;
  // The frame keeps the drawing library up while it lives, like every bitmap.
  ensureGdiplus();
  if (parentWindow)
    window = platform::createWindow(
        this, parentWindow, CRect(0, 0, scaling::toDevice(rect.width(), scale), scaling::toDevice(rect.height(), scale)));
  if (window) setDropActive(true);
}

CFrame::~CFrame() {
  // A drag cut short by the window closing ends the edit too.
  endDrag();
  setModalView(nullptr);
  if (window) {
    platform::setCursor(window, platform::CursorShape::kDefault);
    setDropActive(false);
  }
  setFrameContext(nullptr);
  focusView = nullptr;
  hoverView = nullptr;
  // While this is still a frame: removal calls back into onViewRemoved.
  removeAll(true);
  windowSystem.release();
  if (backBuffer) backBuffer->release();
  backBuffer = nullptr;
  platform::destroyWindow(window);
  window = nullptr;
  releaseGdiplus();
}

bool CFrame::getOpenFlag() const { return openFlag; }

void CFrame::idle() {
  if (!openFlag) return;
  Hold self(this);
  platform::dispatchEvents(window);
  if (!openFlag) return;
  invalidateDirtyViews();
  platform::flushPaint(window);
}

void CFrame::runIdleCycle() {
  if (editor) editor->runIdleCycle();
}

uint32_t CFrame::getTicks() const { return platform::tickCount(); }

int32_t CFrame::getKnobMode() const { return editor ? editor->getKnobMode() : 0; }

bool CFrame::setPosition(int32_t, int32_t) { return false; }

bool CFrame::getPosition(int32_t& x, int32_t& y) const {
  const CPoint p = platform::editorPosition(window);
  x = p.h;
  y = p.v;
  return true;
}

void CFrame::endDrag() {
  if (!mouseDownView) return;
  CPoint where;
  getCurrentMouseLocation(where);
  CViewContainer::onMouseUp(where, 0);
  mouseDownView = nullptr;
}

bool CFrame::setScaleFactor(double factor) {
  if (!openFlag || !(factor > 0) || factor == scale) return false;
  Hold self(this);
  endDrag();
  scale = factor;
  if (backBuffer) backBuffer->release();
  backBuffer = nullptr;
  if (window)
    platform::resize(window, scaling::toDevice(size.getWidth(), scale), scaling::toDevice(size.getHeight(), scale));
  invalidate();
  return true;
}

CPoint CFrame::toLogical(const CPoint& device) const { return scaling::toLogical(device, scale); }

bool CFrame::setSize(int32_t width, int32_t height) {
  if (!openFlag || (width == size.getWidth() && height == size.getHeight())) return false;
  if (backBuffer) backBuffer->release();
  backBuffer = nullptr;
  if (window) platform::resize(window, scaling::toDevice(width, scale), scaling::toDevice(height, scale));
  CRect r = size;
  r.setWidth(width);
  r.setHeight(height);
  setViewSize(r);
  invalidate();
  return true;
}

bool CFrame::getSize(CRect* rect) const { return rect && getSize(*rect); }

bool CFrame::getSize(CRect& rect) const {
  rect = window ? platform::parentRect(window) : size;
  return true;
}

bool CFrame::setModalView(CView* view) {
  if (view && (modalView || view->isAttached())) return false;
  if (modalView) {
    CView* old = modalView;
    modalView = nullptr;
    removeView(old, false);
  }
  if (!view) return true;
  if (!addView(view)) return false;
  modalView = view;
  return true;
}

CView* CFrame::getModalView() const { return modalView; }

void CFrame::beginEdit(int32_t index) {
  if (editor) editor->beginEdit(index);
}

void CFrame::endEdit(int32_t index) {
  if (editor) editor->endEdit(index);
}

bool CFrame::getCurrentMouseLocation(CPoint& where) const {
  where = toLogical(platform::mouseLocation(window));
  return window != nullptr;
}

MouseButtons CFrame::getCurrentMouseButtons() const { return platform::mouseButtons(window); }

void CFrame::setCursor(CCursorType type) {
  platform::setCursor(window, static_cast<platform::CursorShape>(type));
}

void CFrame::setFocusView(CView* view) {
  if (view == focusView || focusChangeInProgress) return;
  focusChangeInProgress = true;
  CView* old = focusView;
  focusView = view;
  if (view && view->wantsFocus()) {
    view->setDirty(true);
    for (CView* p = view->getParentView(); p && p != this; p = p->getParentView()) p->notify(view, kMsgNewFocusView);
  }
  if (old) {
    if (old->wantsFocus()) {
      old->setDirty(true);
      for (CView* p = old->getParentView(); p && p != this; p = p->getParentView()) p->notify(old, kMsgOldFocusView);
    }
    old->loseFocus();
  }
  focusChangeInProgress = false;
}

CView* CFrame::getFocusView() const { return focusView; }

void CFrame::onViewRemoved(CView* view) {
  // The view may take a whole subtree with it; its parent links still hold here.
  auto within = [view](const CView* v) {
    for (; v; v = v->getParentView())
      if (v == view) return true;
    return false;
  };
  if (within(hoverView)) hoverView = nullptr;
  if (within(focusView)) focusView = nullptr;
  if (within(modalView)) modalView = nullptr;
}

void CFrame::setDropActive(bool state) {
  if (!window || state == dropActive) return;
  if (state)
    dropActive = platform::registerDropTarget(window);
  else {
    platform::revokeDropTarget(window);
    dropActive = false;
  }
}

bool CFrame::isDropActive() const { return dropActive; }

void CFrame::setOpenFlag(bool state) { openFlag = state; }

void CFrame::invalidateArea(const CRect& rect) {
  for (Node* n = firstNode; n; n = n->next)
    if (n->view->getViewSize().overlapsInclusive(rect)) n->view->setDirty(true);
}

IMouseObserver* CFrame::getMouseObserver() const { return mouseObserver; }
void CFrame::setMouseObserver(IMouseObserver* observer) { mouseObserver = observer; }

// ---- painting ------------------------------------------------------------------

void CFrame::paint(void* systemContext, const CRect& updateRect) {
  const CRect pixels = updateRect.intersected(
      CRect(0, 0, scaling::toDevice(size.getWidth(), scale), scaling::toDevice(size.getHeight(), scale)));
  if (pixels.isEmpty()) return;
  // Every view under any of the pixels is drawn again: each logical pixel
  // owns whole device pixels, so nothing is left half painted.
  const CRect r = scaling::coverInLogical(pixels, scale);
  auto* device = new CDrawContext(this, systemContext, getSystemWindow());
  if (COffscreenContext* buffer = getBackBuffer()) {
    drawRect(buffer, r);
    device->setClipRect(pixels);
    buffer->copyPixels(device, pixels);
  } else {
    device->setScaleFactor(scale);
    drawRect(device, r);
  }
  device->release();
}

void CFrame::windowDestroyed() {
  // Nothing may be drawn or invalidated on a window that is gone.
  openFlag = false;
  parentWindow = nullptr;
}

void CFrame::paintNow() { platform::paintNow(window); }

COffscreenContext* CFrame::getBackBuffer() {
  if (!backBuffer && window && platform::wantsBackBuffer())
    backBuffer = new COffscreenContext(this, size.getWidth(), size.getHeight(), kBlackCColor, scale);
  return backBuffer;
}

void CFrame::setFrameContext(CDrawContext* context) {
  if (context == frameContext) return;
  if (context) context->retain();
  if (frameContext) frameContext->release();
  frameContext = context;
}

void* CFrame::getSystemWindow() const { return platform::nativeHandle(window); }

CRect CFrame::takeInvalidRect() {
  const CRect r = invalidRect;
  invalidRect = CRect();
  invalidPending = false;
  return r;
}

void CFrame::drawRect(CDrawContext* context, const CRect& updateRect) {
  firstDraw = false;
  CDrawContext* target = context ? context : frameContext;
  CDrawContext* own = nullptr;
  if (!target) {
    target = own = new CDrawContext(this, nullptr, getSystemWindow());
    own->setScaleFactor(scale);
  }
  CRect oldClip;
  target->getClipRect(oldClip);
  target->setClipRect(oldClip.intersected(updateRect));
  if (!updateRect.isEmpty()) CViewContainer::drawRect(target, updateRect);
  target->setClipRect(oldClip);
  if (own) own->release();
}

void CFrame::invalidateRect(const CRect& rect) {
  if (!visible) return;
  CRect r = rect;
  r.normalize();
  r.intersect(CRect(0, 0, size.getWidth(), size.getHeight()));
  if (r.isEmpty()) return;
  platform::invalidateRect(window, scaling::toDevice(r, scale));
  if (!invalidPending) {
    invalidRect = r;
    invalidPending = true;
    return;
  }
  if (r.left < invalidRect.left) invalidRect.left = r.left;
  if (r.top < invalidRect.top) invalidRect.top = r.top;
  if (r.right > invalidRect.right) invalidRect.right = r.right;
  if (r.bottom > invalidRect.bottom) invalidRect.bottom = r.bottom;
}

void CFrame::invalidate() {
  invalidateRect(size);
  dirty = false;
}

EditorInterface* CFrame::getEditor() const { return editor; }

bool CFrame::isTypeOf(const char* name) const {
  return (name && std::strcmp(name, "CFrame") == 0) || CViewContainer::isTypeOf(name);
}

// ---- mouse, wheel and keys ------------------------------------------------------

void CFrame::exitHoverView(const CPoint& where, MouseButtons buttons) {
  if (!hoverView) return;
  CView* old = hoverView;
  hoverView = nullptr;
  Hold hold(old);
  CPoint p = where;
  old->onMouseExited(old->frameToLocal(p), buttons);
  if (mouseObserver) mouseObserver->onMouseExited(old, this);
}

MouseResult CFrame::onMouseDown(const CPoint& where, MouseButtons buttons) {
  Hold self(this);
  // A press while a view still tracks one (a second button pressed during a
  // drag) ends that drag first, as a release there: the host hears the end of
  // the edit it heard begin.
  if (mouseDownView) CViewContainer::onMouseUp(where, buttons);
  mouseDownView = nullptr;
  if (focusView) setFocusView(nullptr);
  exitHoverView(where, buttons);
  if (mouseObserver) mouseObserver->onMouseDown(this, where);
  if (modalView) {
    CView* modal = modalView;
    if (!modal->hitTest(where, buttons)) return MouseResult::NotHandled;
    Hold hold(modal);
    const MouseResult result = modal->onMouseDown(where, buttons);
    if (result == MouseResult::Handled && modalView == modal) mouseDownView = modal;
    return result;
  }
  return CViewContainer::onMouseDown(where, buttons);
}

MouseResult CFrame::onMouseUp(const CPoint& where, MouseButtons buttons) {
  Hold self(this);
  return CViewContainer::onMouseUp(where, buttons);
}

MouseResult CFrame::trackHover(const CPoint& where, MouseButtons buttons) {
  CView* under = getViewAt(where, true);
  CPoint local = where;
  if (under) under->frameToLocal(local);
  if (under == hoverView) return under ? under->onMouseMoved(local, 0) : MouseResult::NotHandled;
  exitHoverView(where, buttons);
  hoverView = under;
  if (under) {
    under->onMouseEntered(local, buttons);
    if (mouseObserver) mouseObserver->onMouseEntered(under, this);
  }
  return MouseResult::Handled;
}

MouseResult CFrame::onMouseMoved(const CPoint& where, MouseButtons buttons) {
  Hold self(this);
  if (!mouseTracking && window) {
    platform::trackMouseLeave(window);
    mouseTracking = true;
  }
  if (mouseObserver) mouseObserver->onMouseMoved(this, where);
  if (modalView) {
    CView* modal = modalView;
    Hold hold(modal);
    return modal->onMouseMoved(where, buttons);
  }
  if (mouseDownView) return CViewContainer::onMouseMoved(where, buttons);
  return trackHover(where, buttons);
}

MouseResult CFrame::onMouseExited(const CPoint& where, MouseButtons buttons) {
  Hold self(this);
  exitHoverView(where, buttons);
  mouseTracking = false;
  return MouseResult::Handled;
}

bool CFrame::onWheel(const CPoint& where, float distance, MouseButtons buttons) {
  return onWheelAxis(where, kMouseWheelAxisY, distance, buttons);
}

bool CFrame::onWheelAxis(const CPoint& where, int32_t axis, float distance, MouseButtons buttons) {
  if (mouseDownView) return false;
  Hold self(this);
  if (modalView) {
    CView* modal = modalView;
    Hold hold(modal);
    return modal->onWheelAxis(where, axis, distance, buttons);
  }
  return CViewContainer::onWheelAxis(where, axis, distance, buttons);
}

int32_t CFrame::onKeyDown(VstKeyCode& key) {
  Hold self(this);
  int32_t result = -1;
  if (focusView) result = focusView->onKeyDown(key);
  if (result == -1 && modalView) result = modalView->onKeyDown(key);
  if (result != -1) return result;
  if (key.virt == VKEY_TAB)
    return advanceNextFocusView(focusView, (key.modifier & MODIFIER_SHIFT) != 0) ? 1 : -1;
  return -1;
}

int32_t CFrame::onKeyUp(VstKeyCode& key) {
  Hold self(this);
  int32_t result = -1;
  if (focusView) result = focusView->onKeyUp(key);
  if (result == -1 && modalView) result = modalView->onKeyUp(key);
  return result;
}

bool CFrame::onAttached(CView*) { return false; }
bool CFrame::onDetached() { return false; }

}  // namespace Toolkit
