#include "toolkit/view_container.h"

#include <cstring>

#include "toolkit/bitmap.h"
#include "toolkit/control.h"
#include "toolkit/draw_context.h"
#include "toolkit/frame.h"

namespace Toolkit {

namespace {

// Whether target lies anywhere below root.
bool subtreeContains(const CView* root, const CView* target) {
  const auto* container = dynamic_cast<const CViewContainer*>(root);
  if (!container) return false;
  for (int32_t i = 0; i < container->getNbViews(); ++i) {
    const CView* child = container->getView(i);
    if (child == target || subtreeContains(child, target)) return true;
  }
  return false;
}

}  // namespace

CViewContainer::CViewContainer(const CRect& rect) : CView(rect) {}

CViewContainer::CViewContainer(const CViewContainer& other)
    : CView(other),
      backgroundColor(other.backgroundColor),
      backgroundOffset(other.backgroundOffset),
      drawOffscreen(other.drawOffscreen) {}

CViewContainer::~CViewContainer() {
  CViewContainer::removeAll(true);
  if (offscreen) offscreen->release();
}

CViewContainer::Node* CViewContainer::findNode(const CView* view) const {
  if (!view) return nullptr;
  for (Node* n = firstNode; n; n = n->next)
    if (n->view == view) return n;
  return nullptr;
}

bool CViewContainer::isDescendant(const CView* view) const { return subtreeContains(this, view); }

bool CViewContainer::acceptsChild(const CView* view) const {
  if (!view || view->isAttached() || view == this) return false;
  if (findNode(view)) return false;
  // Adding a container that (deeply) holds this one would make a cycle that
  // nothing could ever free.
  return !subtreeContains(view, this);
}

void CViewContainer::insertNode(CView* view, Node* before) {
  Node* node = new Node{view, before, before ? before->previous : lastNode};
  if (node->previous)
    node->previous->next = node;
  else
    firstNode = node;
  if (before)
    before->previous = node;
  else
    lastNode = node;
}

void CViewContainer::unlink(Node* node) {
  if (node->previous)
    node->previous->next = node->next;
  else
    firstNode = node->next;
  if (node->next)
    node->next->previous = node->previous;
  else
    lastNode = node->previous;
  // Never route a later event to a view that is no longer ours.
  if (mouseDownView == node->view) mouseDownView = nullptr;
  if (mouseOverView == node->view) mouseOverView = nullptr;
  delete node;
}

bool CViewContainer::addView(CView* view) {
  if (!acceptsChild(view)) return false;
  view->retain();
  insertNode(view, nullptr);
  if (attached) {
    view->onAttached(this);
    view->invalidate();
  }
  return true;
}

bool CViewContainer::addViewBefore(CView* view, CView* before) {
  if (!acceptsChild(view)) return false;
  Node* beforeNode = findNode(before);
  if (!beforeNode) beforeNode = lastNode;
  view->retain();
  insertNode(view, beforeNode);
  if (attached) {
    view->onAttached(this);
    view->invalidate();
  }
  return true;
}

bool CViewContainer::addViewWithArea(CView* view, const CRect& area, bool enabled) {
  if (!addView(view)) return false;
  view->setMouseArea(area);
  view->setMouseEnabled(enabled);
  return true;
}

bool CViewContainer::removeView(CView* view, bool withRelease) {
  Node* node = findNode(view);
  if (!node) return false;
  unlink(node);
  view->invalidate();
  if (frame) frame->onViewRemoved(view);
  if (view->isAttached()) view->onDetached();
  if (withRelease) view->release();
  view->release();
  return true;
}

bool CViewContainer::removeAll(bool withRelease) {
  while (firstNode) {
    CView* view = firstNode->view;
    unlink(firstNode);
    if (frame) frame->onViewRemoved(view);
    if (view->isAttached()) view->onDetached();
    if (withRelease) view->release();
    view->release();
  }
  return true;
}

bool CViewContainer::isChild(const CView* view) const { return findNode(view) != nullptr; }

int32_t CViewContainer::getNbViews() const {
  int32_t count = 0;
  for (Node* n = firstNode; n; n = n->next) ++count;
  return count;
}

CView* CViewContainer::getView(int32_t index) const {
  if (index < 0) return nullptr;
  for (Node* n = firstNode; n; n = n->next)
    if (index-- == 0) return n->view;
  return nullptr;
}

CView* CViewContainer::getViewAt(const CPoint& where, bool deep) const {
  if (!attached || !visible) return nullptr;
  const CPoint local = toLocal(where);
  for (Node* n = lastNode; n; n = n->previous) {
    CView* v = n->view;
    CRect area;
    if (!v->isVisible() || !v->getMouseArea(area).pointInsideInclusive(local)) continue;
    if (deep)
      if (auto* container = dynamic_cast<CViewContainer*>(v)) return container->getViewAt(local, deep);
    return v;
  }
  return nullptr;
}

CViewContainer* CViewContainer::getContainerAt(const CPoint& where, bool deep) {
  const CPoint local = toLocal(where);
  for (Node* n = lastNode; n; n = n->previous) {
    auto* container = dynamic_cast<CViewContainer*>(n->view);
    CRect area;
    if (!container || !container->isVisible() || !container->getMouseArea(area).pointInsideInclusive(local))
      continue;
    return deep ? container->getContainerAt(local, deep) : container;
  }
  return this;
}

void CViewContainer::setBackgroundColor(const CColor& color) {
  backgroundColor = color;
  setDirty(true);
}

CColor CViewContainer::getBackgroundColor() const { return backgroundColor; }

void CViewContainer::setContainerBackgroundOffset(const CPoint& offset) { backgroundOffset = offset; }

const CPoint& CViewContainer::getContainerBackgroundOffset() const { return backgroundOffset; }

void CViewContainer::drawBackgroundRect(CDrawContext* context, const CRect& rect) {
  if (!context) return;
  if (background) {
    CRect oldClip;
    context->getClipRect(oldClip);
    context->setClipRect(rect.intersected(oldClip));
    const CRect dest(0, 0, background->getWidth(), background->getHeight());
    if (transparency)
      background->drawTransparent(context, dest, backgroundOffset);
    else
      background->draw(context, dest, backgroundOffset);
    context->setClipRect(oldClip);
  } else if (!transparency || backgroundColor.alpha != 255) {
    context->setFillColor(backgroundColor);
    context->setFrameColor(backgroundColor);
    context->fillOrFrameRect(CRect(0, 0, size.getWidth(), size.getHeight()), kDrawFilledAndStroked);
  }
}

void CViewContainer::setDrawOffscreen(bool state) {
  if (drawOffscreen == state) return;
  drawOffscreen = state;
  if (!state && offscreen) {
    offscreen->release();
    offscreen = nullptr;
  }
  setDirty(true);
}

void CViewContainer::collectFocusViews(std::vector<CView*>& out) {
  for (Node* n = firstNode; n; n = n->next) {
    CView* v = n->view;
    if (!v->isVisible()) continue;
    if (v->wantsFocus()) out.push_back(v);
    if (auto* container = dynamic_cast<CViewContainer*>(v)) container->collectFocusViews(out);
  }
}

bool CViewContainer::advanceNextFocusView(CView* oldFocus, bool reverse) {
  if (!frame) return false;
  std::vector<CView*> views;
  collectFocusViews(views);
  if (views.empty()) return false;
  const int32_t count = static_cast<int32_t>(views.size());
  int32_t index = -1;
  for (int32_t i = 0; i < count; ++i)
    if (views[static_cast<size_t>(i)] == oldFocus) index = i;
  int32_t next;
  if (index < 0)
    next = reverse ? count - 1 : 0;
  else
    next = (index + (reverse ? count - 1 : 1)) % count;  // wraps around
  CView* target = views[static_cast<size_t>(next)];
  if (target == oldFocus) return false;
  frame->setFocusView(target);
  return true;
}

void CViewContainer::invalidateDirtyViews() {
  if (!visible) return;
  if (dirty) {
    if (parent)
      parent->invalidateRect(size);
    else if (frame)
      frame->invalidateRect(size);
    return;
  }
  for (Node* n = firstNode; n; n = n->next) {
    CView* v = n->view;
    if (!v->isVisible() || !v->isDirty()) continue;
    if (auto* container = dynamic_cast<CViewContainer*>(v))
      container->invalidateDirtyViews();
    else
      v->invalidate();
  }
}

CRect CViewContainer::getVisibleSize(const CRect& rect) const {
  CRect r = rect.intersected(CRect(0, 0, size.getWidth(), size.getHeight()));
  if (const auto* container = dynamic_cast<const CViewContainer*>(parent)) {
    r.offset(size.left, size.top);
    r = container->getVisibleSize(r);
    r.offset(-size.left, -size.top);
  }
  return r;
}

bool CViewContainer::isChildVisible(const CView* child) const {
  if (!child || !child->isVisible() || !isChild(child)) return false;
  return !child->getViewSize().intersected(CRect(0, 0, size.getWidth(), size.getHeight())).isEmpty();
}

bool CViewContainer::hitTestSubViews(const CPoint& where, MouseButtons buttons) {
  const CPoint local = toLocal(where);
  for (Node* n = lastNode; n; n = n->previous) {
    CView* v = n->view;
    if (v->isVisible() && v->getMouseEnabled() && v->hitTest(local, buttons)) return true;
  }
  return false;
}

void CViewContainer::drawRect(CDrawContext* context, const CRect& updateRect) {
  if (!context) return;
  CDrawContext* target = context;
  const CPoint savedOffset = context->getOffset();
  if (drawOffscreen) {
    // The off-screen image is drawn at the scale it is shown at.
    if (offscreen && offscreen->getScaleFactor() != context->getScaleFactor()) {
      offscreen->release();
      offscreen = nullptr;
    }
    if (!offscreen && !size.isEmpty())
      offscreen = new COffscreenContext(frame, size.getWidth(), size.getHeight(), CColor::fromValue(0xff000000),
                                        context->getScaleFactor());
    if (offscreen) target = offscreen;
  }
  if (target == context) context->setOffset(CPoint(savedOffset.h + size.left, savedOffset.v + size.top));

  CRect localUpdate = updateRect.intersected(size);
  localUpdate.offset(-size.left, -size.top);

  CRect savedClip;
  target->getClipRect(savedClip);
  // Never paint outside what the caller allowed.
  const CRect clip = localUpdate.intersected(savedClip);
  target->setClipRect(clip);
  drawBackgroundRect(target, clip);

  for (Node* n = firstNode; n; n = n->next) {
    CView* v = n->view;
    if (!v->isVisible() || !v->intersectsUpdate(localUpdate)) continue;
    const CRect childClip = v->getViewSize().intersected(clip);
    if (childClip.isEmpty()) continue;
    target->setClipRect(childClip);
    v->drawRect(target, localUpdate);
  }

  target->setClipRect(savedClip);
  if (target != context)
    offscreen->copyFrom(context, size, CPoint(0, 0));
  else
    context->setOffset(savedOffset);
  setDirty(false);
}

bool CViewContainer::isDirty() const {
  if (dirty) return true;
  for (Node* n = firstNode; n; n = n->next)
    if (n->view->isVisible() && n->view->isDirty()) return true;
  return false;
}

void CViewContainer::invalidateRect(const CRect& rect) {
  // rect is in our own coordinates; the parent wants its own.
  CRect r = rect.intersected(CRect(0, 0, size.getWidth(), size.getHeight()));
  if (r.isEmpty()) return;
  r.offset(size.left, size.top);
  CView::invalidateRect(r);
}

void CViewContainer::invalidate() {
  setDirty(false);
  CView::invalidateRect(size);
}

MouseResult CViewContainer::onMouseDown(const CPoint& where, MouseButtons buttons) {
  const CPoint local = toLocal(where);
  for (Node* n = lastNode; n; n = n->previous) {
    CView* v = n->view;
    if (!v || !v->isVisible() || !v->getMouseEnabled() || !v->hitTest(local, buttons)) continue;
    // A handler may remove the view from the tree; keep it alive until we are done.
    v->retain();
    auto* control = dynamic_cast<CControl*>(v);
    // Above 7: a right button or a modifier key takes part in the click.
    if (control && control->getListener() && (buttons & 0xffu) > 7u) {
      if (control->getListener()->onModifierClick(control, buttons) != 0) {
        v->release();
        return MouseResult::Handled;
      }
    }
    const MouseResult result = v->onMouseDown(local, buttons);
    if (result == MouseResult::Handled && findNode(v)) mouseDownView = v;
    v->release();
    return result;
  }
  return MouseResult::NotHandled;
}

MouseResult CViewContainer::onMouseMoved(const CPoint& where, MouseButtons buttons) {
  CView* v = mouseDownView;
  if (!v) return MouseResult::NotHandled;
  v->retain();
  const MouseResult result = v->onMouseMoved(toLocal(where), buttons);
  if (result != MouseResult::Handled && mouseDownView == v) mouseDownView = nullptr;
  v->release();
  return result == MouseResult::Handled ? MouseResult::Handled : MouseResult::NotHandled;
}

MouseResult CViewContainer::onMouseUp(const CPoint& where, MouseButtons buttons) {
  CView* v = mouseDownView;
  if (!v) return MouseResult::NotHandled;
  mouseDownView = nullptr;
  v->retain();
  v->onMouseUp(toLocal(where), buttons);
  v->release();
  return MouseResult::Handled;
}

bool CViewContainer::onWheelAxis(const CPoint& where, int32_t axis, float distance, MouseButtons buttons) {
  CView* v = getViewAt(where, false);
  if (!v) return false;
  v->retain();
  const bool used = v->onWheelAxis(toLocal(where), axis, distance, buttons);
  v->release();
  return used;
}

bool CViewContainer::onDrop(CDragContainer* drag, const CPoint& where) {
  CView* v = getViewAt(where, false);
  if (mouseOverView && mouseOverView != v) mouseOverView->onDragLeave(drag, toLocal(where));
  mouseOverView = nullptr;
  return v ? v->onDrop(drag, toLocal(where)) : false;
}

void CViewContainer::onDragEnter(CDragContainer* drag, const CPoint& where) {
  mouseOverView = getViewAt(where, false);
  if (mouseOverView) mouseOverView->onDragEnter(drag, toLocal(where));
}

void CViewContainer::onDragLeave(CDragContainer* drag, const CPoint& where) {
  if (mouseOverView) mouseOverView->onDragLeave(drag, toLocal(where));
  mouseOverView = nullptr;
}

void CViewContainer::onDragMove(CDragContainer* drag, const CPoint& where) {
  CView* v = getViewAt(where, false);
  const CPoint local = toLocal(where);
  if (v == mouseOverView) {
    if (v) v->onDragMove(drag, local);
    return;
  }
  if (mouseOverView) mouseOverView->onDragLeave(drag, local);
  mouseOverView = v;
  if (v) v->onDragEnter(drag, local);
}

int32_t CViewContainer::onKeyDown(VstKeyCode& key) {
  for (Node* n = lastNode; n; n = n->previous) {
    const int32_t result = n->view->onKeyDown(key);
    if (result != -1) return result;
  }
  return -1;
}

int32_t CViewContainer::onKeyUp(VstKeyCode& key) {
  for (Node* n = lastNode; n; n = n->previous) {
    const int32_t result = n->view->onKeyUp(key);
    if (result != -1) return result;
  }
  return -1;
}

void CViewContainer::setViewSize(const CRect& rect, bool invalidateNow) {
  const int32_t dw = rect.getWidth() - size.getWidth();
  const int32_t dh = rect.getHeight() - size.getHeight();
  CView::setViewSize(rect, invalidateNow);
  if (dw == 0 && dh == 0) return;
  // The off-screen image has the old size; it is made again on the next draw.
  if (offscreen) {
    offscreen->release();
    offscreen = nullptr;
  }
  for (Node* n = firstNode; n; n = n->next) {
    CView* v = n->view;
    const int32_t flags = v->getAutosizeFlags();
    if ((flags & (kAutosizeRight | kAutosizeBottom)) == 0) continue;
    CRect r = v->getViewSize();
    CRect area;
    v->getMouseArea(area);
    int32_t dl = 0, dt = 0, dr = 0, db = 0;
    if (flags & kAutosizeRight) {
      dr = dw;
      if (!(flags & kAutosizeLeft)) dl = dw;
    }
    if (flags & kAutosizeBottom) {
      db = dh;
      if (!(flags & kAutosizeTop)) dt = dh;
    }
    r = CRect(r.left + dl, r.top + dt, r.right + dr, r.bottom + db);
    area = CRect(area.left + dl, area.top + dt, area.right + dr, area.bottom + db);
    v->setViewSize(r, true);
    v->setMouseArea(area);
    v->onParentSizeChanged();
  }
}

bool CViewContainer::onAttached(CView* parentView) {
  if (!CView::onAttached(parentView)) return false;
  for (Node* n = firstNode; n; n = n->next) n->view->onAttached(this);
  return true;
}

bool CViewContainer::onDetached() {
  if (!attached) return false;
  for (Node* n = firstNode; n; n = n->next) n->view->onDetached();
  mouseDownView = nullptr;
  mouseOverView = nullptr;
  return CView::onDetached();
}

bool CViewContainer::isTypeOf(const char* name) const {
  return (name && std::strcmp(name, "CViewContainer") == 0) || CView::isTypeOf(name);
}

CView* CViewContainer::clone() const {
  auto* copy = new CViewContainer(*this);
  for (Node* n = firstNode; n; n = n->next) {
    CView* child = n->view->clone();
    if (!child) continue;
    // Handed over fresh, like any created view: the copy owns both references.
    copy->addView(child);
  }
  return copy;
}

int32_t CViewContainer::notify(CBaseObject* sender, const char* message) {
  // By identity: only the toolkit's own constant asks this.
  if (message == kMsgCheckIfViewContainer) return 1;
  return CView::notify(sender, message);
}

}  // namespace Toolkit
