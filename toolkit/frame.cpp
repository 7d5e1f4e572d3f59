#include "toolkit/frame.h"

#include <cstring>

#include "toolkit/bitmap.h"
#include "toolkit/draw_context.h"

namespace Toolkit {

namespace {

// Guards against a focus change started from inside another one (a view's
// loseFocus or notify handler setting the focus again).
bool focusChangeInProgress = false;

}  // namespace

CFrame::CFrame(const CRect& rect, void* parentWindowHandle, EditorInterface* editorInterface)
    : CViewContainer(rect), editor(editorInterface), parentWindow(parentWindowHandle) {
  frame = this;
  attached = true;
  // The frame keeps the drawing library up while it lives, like every bitmap.
  ensureGdiplus();
}

CFrame::~CFrame() {
  setModalView(nullptr);
  focusView = nullptr;
  hoverView = nullptr;
  // While this is still a frame: removal calls back into onViewRemoved.
  removeAll(true);
  releaseGdiplus();
}

bool CFrame::getOpenFlag() const { return openFlag; }

void CFrame::idle() {
  if (openFlag) invalidateDirtyViews();
}

void CFrame::runIdleCycle() {
  if (editor) editor->runIdleCycle();
}

int32_t CFrame::getKnobMode() const { return editor ? editor->getKnobMode() : 0; }

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

void CFrame::setOpenFlag(bool state) { openFlag = state; }

void CFrame::invalidateArea(const CRect& rect) {
  for (Node* n = firstNode; n; n = n->next)
    if (n->view->getViewSize().overlapsInclusive(rect)) n->view->setDirty(true);
}

CRect CFrame::takeInvalidRect() {
  const CRect r = invalidRect;
  invalidRect = CRect();
  invalidPending = false;
  return r;
}

void CFrame::drawRect(CDrawContext* context, const CRect& updateRect) {
  firstDraw = false;
  if (!context) return;
  CRect oldClip;
  context->getClipRect(oldClip);
  context->setClipRect(oldClip.intersected(updateRect));
  if (!updateRect.isEmpty()) CViewContainer::drawRect(context, updateRect);
  context->setClipRect(oldClip);
}

void CFrame::invalidateRect(const CRect& rect) {
  if (!visible) return;
  CRect r = rect;
  r.normalize();
  if (r.isEmpty()) return;
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

MouseResult CFrame::onMouseDown(const CPoint& where, MouseButtons buttons) {
  mouseDownView = nullptr;
  if (focusView) setFocusView(nullptr);
  if (hoverView) {
    CView* old = hoverView;
    hoverView = nullptr;
    CPoint p = where;
    old->onMouseExited(old->frameToLocal(p), buttons);
  }
  if (modalView) {
    CView* modal = modalView;
    if (!modal->hitTest(where, buttons)) return MouseResult::NotHandled;
    modal->retain();
    const MouseResult result = modal->onMouseDown(where, buttons);
    if (result == MouseResult::Handled && modalView == modal) mouseDownView = modal;
    modal->release();
    return result;
  }
  return CViewContainer::onMouseDown(where, buttons);
}

MouseResult CFrame::onMouseUp(const CPoint& where, MouseButtons buttons) {
  return CViewContainer::onMouseUp(where, buttons);
}

MouseResult CFrame::onMouseMoved(const CPoint& where, MouseButtons buttons) {
  if (modalView) {
    CView* modal = modalView;
    modal->retain();
    const MouseResult result = modal->onMouseMoved(where, buttons);
    modal->release();
    return result;
  }
  if (mouseDownView) return CViewContainer::onMouseMoved(where, buttons);

  CView* under = getViewAt(where, true);
  CPoint local = where;
  if (under) under->frameToLocal(local);
  if (under == hoverView) return under ? under->onMouseMoved(local, 0) : MouseResult::NotHandled;
  if (hoverView) {
    CPoint p = where;
    hoverView->onMouseExited(hoverView->frameToLocal(p), buttons);
  }
  hoverView = under;
  if (under) under->onMouseEntered(local, buttons);
  return MouseResult::Handled;
}

MouseResult CFrame::onMouseExited(const CPoint& where, MouseButtons buttons) {
  if (hoverView) {
    CView* old = hoverView;
    hoverView = nullptr;
    CPoint p = where;
    old->onMouseExited(old->frameToLocal(p), buttons);
  }
  return MouseResult::Handled;
}

bool CFrame::onWheelAxis(const CPoint& where, int32_t axis, float distance, MouseButtons buttons) {
  if (mouseDownView) return false;
  if (modalView) return modalView->onWheelAxis(where, axis, distance, buttons);
  return CViewContainer::onWheelAxis(where, axis, distance, buttons);
}

int32_t CFrame::onKeyDown(VstKeyCode& key) {
  int32_t result = -1;
  if (focusView) result = focusView->onKeyDown(key);
  if (result == -1 && modalView) result = modalView->onKeyDown(key);
  if (result != -1) return result;
  if (key.virt == VKEY_TAB)
    return advanceNextFocusView(focusView, (key.modifier & MODIFIER_SHIFT) != 0) ? 1 : -1;
  return -1;
}

int32_t CFrame::onKeyUp(VstKeyCode& key) {
  int32_t result = -1;
  if (focusView) result = focusView->onKeyUp(key);
  if (result == -1 && modalView) result = modalView->onKeyUp(key);
  return result;
}

bool CFrame::onAttached(CView*) { return false; }
bool CFrame::onDetached() { return false; }

}  // namespace Toolkit
