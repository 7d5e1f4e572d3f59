#include "toolkit/control.h"

#include <cstring>

#include "toolkit/frame.h"

namespace Toolkit {

CControl::CControl(const CRect& rect, CControlListener* l, int32_t t, CBitmap* bitmap)
    : CView(rect), listener(l), tag(t) {
  transparency = false;
  mouseEnabled = true;
  if (bitmap) setBackground(bitmap);
  setDirty(true);
}

CControl::CControl(const CControl& other)
    : CView(other),
      listener(other.listener),
      tag(other.tag),
      oldValue(other.oldValue),
      defaultValue(other.defaultValue),
      value(other.value),
      vmin(other.vmin),
      vmax(other.vmax),
      wheelStep(other.wheelStep),
      backOffset(other.backOffset) {}

void CControl::runIdleCycle() {
  if (frame) frame->runIdleCycle();
}

void CControl::setValue(float v) { value = v; }
float CControl::getValue() const { return value; }
void CControl::setMin(float v) { vmin = v; }
float CControl::getMin() const { return vmin; }
void CControl::setMax(float v) { vmax = v; }
float CControl::getMax() const { return vmax; }
void CControl::setOldValue(float v) { oldValue = v; }
float CControl::getOldValue() const { return oldValue; }
void CControl::setDefaultValue(float v) { defaultValue = v; }
float CControl::getDefaultValue() const { return defaultValue; }

void CControl::clampValue() {
  if (value > vmax)
    value = vmax;
  else if (value < vmin)
    value = vmin;
}

bool CControl::applyDefaultOnModifier(MouseButtons buttons) {
  if (buttons != (kControlKey | kLeftButton)) return false;
  beginEdit();
  value = defaultValue;
  if (isDirty() && listener) listener->valueChanged(this);
  endEdit();
  return true;
}

void CControl::setTag(int32_t t) { tag = t; }
int32_t CControl::getTag() const { return tag; }

void CControl::beginEdit() {
  if (listener) listener->onBeginEdit(this);
  if (attached && frame) {
    frame->setFocusView(this);
    frame->beginEdit(tag);
  }
}

void CControl::endEdit() {
  if (frame) frame->endEdit(tag);
  if (listener) listener->onEndEdit(this);
}

CControlListener* CControl::getListener() const { return listener; }
void CControl::setListener(CControlListener* l) { listener = l; }
void CControl::setBackOffset(const CPoint& offset) { backOffset = offset; }
void CControl::resetBackOffset() { backOffset = CPoint(size.left, size.top); }
void CControl::setWheelStep(float step) { wheelStep = step; }
float CControl::getWheelStep() const { return wheelStep; }

bool CControl::isDirty() const {
  // Exact comparison on purpose: any change since the last draw repaints.
  return oldValue != value || CView::isDirty();
}

void CControl::setDirty(bool state) {
  CView::setDirty(state);
  if (state)
    oldValue = (value == -1.0f) ? 0.0f : -1.0f;
  else
    oldValue = value;
}

bool CControl::isTypeOf(const char* name) const {
  return (name && std::strcmp(name, "CControl") == 0) || CView::isTypeOf(name);
}

void IMultiBitmapControl::computeFrameHeightFromView() {
  if (const auto* view = dynamic_cast<const CView*>(this)) frameHeight = view->getViewSize().getHeight();
}

}  // namespace Toolkit
