#include "toolkit/view.h"

#include <cstring>

#include "toolkit/bitmap.h"
#include "toolkit/frame.h"
#include "toolkit/view_container.h"

namespace Toolkit {

CView::CView(const CRect& rect) : size(rect), mouseArea(rect) {}

CView::CView(const CView& other)
    : CBaseObject(),
      size(other.size),
      mouseArea(other.mouseArea),
      mouseEnabled(other.mouseEnabled),
      transparency(other.transparency),
      wantsFocusFlag(other.wantsFocusFlag),
      visible(other.visible),
      autosizeFlags(other.autosizeFlags),
      background(other.background),
      attributes(other.attributes) {
  if (background) background->retain();
}

CView::~CView() {
  if (background) background->release();
}

void CView::draw(CDrawContext* context) {
  if (background && context) {
    if (transparency)
      background->drawTransparent(context, size, CPoint(0, 0));
    else
      background->draw(context, size, CPoint(0, 0));
  }
  setDirty(false);
}

void CView::drawRect(CDrawContext* context, const CRect& /*updateRect*/) { draw(context); }

bool CView::intersectsUpdate(const CRect& rect) const { return size.overlapsInclusive(rect); }

bool CView::isDirty() const { return dirty; }

void CView::setDirty(bool state) { dirty = state; }

void CView::invalidateRect(const CRect& rect) {
  if (!attached || !visible) return;
  if (parent)
    parent->invalidateRect(rect);
  else if (frame && frame != this)
    frame->invalidateRect(rect);
}

void CView::invalidate() {
  setDirty(false);
  invalidateRect(size);
}

void CView::setVisible(bool state) {
  if (visible == state) return;
  visible = state;
  setDirty(true);
}

MouseResult CView::onMouseDown(const CPoint&, MouseButtons) { return MouseResult::NotImplemented; }
MouseResult CView::onMouseUp(const CPoint&, MouseButtons) { return MouseResult::NotImplemented; }
MouseResult CView::onMouseMoved(const CPoint&, MouseButtons) { return MouseResult::NotImplemented; }
MouseResult CView::onMouseEntered(const CPoint&, MouseButtons) { return MouseResult::NotImplemented; }
MouseResult CView::onMouseExited(const CPoint&, MouseButtons) { return MouseResult::NotImplemented; }

bool CView::hitTest(const CPoint& where, MouseButtons) { return mouseArea.pointInsideInclusive(where); }

bool CView::onWheelAxis(const CPoint& where, int32_t axis, float distance, MouseButtons buttons) {
  return onWheel(where, axis == kMouseWheelAxisX ? -distance : distance, buttons);
}

bool CView::onWheel(const CPoint&, float, MouseButtons) { return false; }

void CView::setMouseEnabled(bool state) { mouseEnabled = state; }
bool CView::getMouseEnabled() const { return mouseEnabled; }
void CView::setMouseArea(const CRect& rect) { mouseArea = rect; }
CRect& CView::getMouseArea() { return mouseArea; }
CRect& CView::getMouseArea(CRect& out) const {
  out = mouseArea;
  return out;
}

bool CView::onDrop(CDragContainer*, const CPoint&) { return false; }
void CView::onDragEnter(CDragContainer*, const CPoint&) {}
void CView::onDragLeave(CDragContainer*, const CPoint&) {}
void CView::onDragMove(CDragContainer*, const CPoint&) {}

int32_t CView::onKeyDown(VstKeyCode&) { return -1; }
int32_t CView::onKeyUp(VstKeyCode&) { return -1; }

void CView::setViewSize(const CRect& rect, bool invalidateNow) {
  size = rect;
  if (invalidateNow) setDirty(true);
}

const CRect& CView::getViewSize() const { return size; }
CRect& CView::getViewSize(CRect& out) const {
  out = size;
  return out;
}

CRect CView::getVisibleSize() const {
  // The parent answers in its own coordinates, which are ours for size.
  if (auto* container = dynamic_cast<const CViewContainer*>(parent)) return container->getVisibleSize(size);
  if (frame == static_cast<const CView*>(this)) return size;
  if (frame) return static_cast<const CViewContainer*>(frame)->getVisibleSize(size);
  return CRect(0, 0, 0, 0);
}

void CView::onParentSizeChanged() {}

CPoint& CView::frameToLocal(CPoint& point) const {
  for (const CView* p = parent; p; p = p->parent) point.offset(-p->size.left, -p->size.top);
  return point;
}

CPoint& CView::localToFrame(CPoint& point) const {
  for (const CView* p = parent; p; p = p->parent) point.offset(p->size.left, p->size.top);
  return point;
}

void CView::setAutosizeFlags(int32_t flags) { autosizeFlags = flags; }
int32_t CView::getAutosizeFlags() const { return autosizeFlags; }

void CView::loseFocus() {}
void CView::takeFocus() {}
bool CView::wantsFocus() const { return wantsFocusFlag; }
void CView::setWantsFocus(bool state) { wantsFocusFlag = state; }

void CView::setBackground(CBitmap* bitmap) {
  // Retain first: setting the bitmap the view already shows must not free it.
  if (bitmap) bitmap->retain();
  if (background) background->release();
  background = bitmap;
  setDirty(true);
}

CBitmap* CView::getBackground() const { return background; }
void CView::setTransparency(bool state) { transparency = state; }
bool CView::getTransparency() const { return transparency; }

bool CView::onDetached() {
  if (!attached) return false;
  attached = false;
  parent = nullptr;
  frame = nullptr;
  return true;
}

bool CView::onAttached(CView* parentView) {
  if (attached || !parentView) return false;
  parent = parentView;
  frame = parentView->getFrame();
  attached = true;
  return true;
}

EditorInterface* CView::getEditor() const { return frame ? frame->getEditor() : nullptr; }

bool CView::isTypeOf(const char* name) const { return name && std::strcmp(name, "CView") == 0; }

CView* CView::clone() const { return new CView(*this); }

bool CView::setAttribute(uint32_t id, int32_t byteCount, const void* data) {
  if (byteCount < 0 || (byteCount > 0 && !data)) return false;
  const auto* bytes = static_cast<const uint8_t*>(data);
  for (Attribute& a : attributes) {
    if (a.id == id) {
      a.bytes.assign(bytes, bytes + byteCount);
      return true;
    }
  }
  attributes.push_back(Attribute{id, std::vector<uint8_t>(bytes, bytes + byteCount)});
  return true;
}

bool CView::getAttributeSize(uint32_t id, int32_t& byteCount) const {
  for (const Attribute& a : attributes) {
    if (a.id == id) {
      byteCount = static_cast<int32_t>(a.bytes.size());
      return true;
    }
  }
  return false;
}

bool CView::getAttribute(uint32_t id, int32_t inSize, void* data, int32_t& outSize) const {
  for (const Attribute& a : attributes) {
    if (a.id != id) continue;
    outSize = static_cast<int32_t>(a.bytes.size());
    // A buffer too small (or missing) gets nothing rather than a partial blob.
    if (inSize < outSize || (outSize > 0 && !data)) return false;
    if (outSize > 0) std::memcpy(data, a.bytes.data(), a.bytes.size());
    return true;
  }
  return false;
}

bool CView::removeAttribute(uint32_t id) {
  for (auto it = attributes.begin(); it != attributes.end(); ++it) {
    if (it->id == id) {
      attributes.erase(it);
      return true;
    }
  }
  return false;
}

}  // namespace Toolkit
