#include "toolkit/controls/slider.h"

#include <cmath>
#include <cstdint>
#include <cstring>

#include "toolkit/controls/control_drawing.h"

namespace Toolkit {

using control_drawing::truncToPixels;

CSlider::CSlider(const CRect& rect, CControlListener* l, int32_t t, const CPoint& handleOffsetIn, int32_t travel,
                 CBitmap* handleBitmap, CBitmap* bitmap, const CPoint& backgroundOffsetIn, int32_t styleIn)
    : CControl(rect, l, t, bitmap),
      backgroundOffset(backgroundOffsetIn),
      handleOffset(handleOffsetIn),
      handle(handleBitmap),
      style(styleIn),
      controlWidth(rect.getWidth()),
      controlHeight(rect.getHeight()) {
  if (handle) handle->retain();
  takeHandleSize();
  rangeHandle = travel - handleExtent();
  updateLimits();
  setWantsFocus(true);
}

CSlider::CSlider(const CSlider& other)
    : CControl(other),
      backgroundOffset(other.backgroundOffset),
      handleOffset(other.handleOffset),
      handle(other.handle),
      style(other.style),
      handleWidth(other.handleWidth),
      handleHeight(other.handleHeight),
      rangeHandle(other.rangeHandle),
      minPos(other.minPos),
      maxPos(other.maxPos),
      minTmp(other.minTmp),
      controlWidth(other.controlWidth),
      controlHeight(other.controlHeight),
      fineFactor(other.fineFactor),
      handleTransparent(other.handleTransparent),
      freeClick(other.freeClick) {
  if (handle) handle->retain();
}

CSlider::~CSlider() {
  if (handle) handle->release();
}

void CSlider::setHandleTransparent(bool state) { handleTransparent = state; }
void CSlider::setFreeClick(bool state) { freeClick = state; }
bool CSlider::getFreeClick() const { return freeClick; }

void CSlider::setHandleOffset(const CPoint& offset) {
  handleOffset = offset;
  updateLimits();
  setDirty(true);
}

CPoint CSlider::getHandleOffset() const { return handleOffset; }

void CSlider::setBackgroundOffset(const CPoint& offset) {
  backgroundOffset = offset;
  setDirty(true);
}

CPoint CSlider::getBackgroundOffset() const { return backgroundOffset; }
int32_t CSlider::getStyle() const { return style; }

void CSlider::setHandle(CBitmap* handleBitmap) {
  const int32_t travel = rangeHandle + handleExtent();
  // Retain first: setting the handle already shown must not free it.
  if (handleBitmap) handleBitmap->retain();
  if (handle) handle->release();
  handle = handleBitmap;
  takeHandleSize();
  rangeHandle = travel - handleExtent();
  updateLimits();
  setDirty(true);
}

CBitmap* CSlider::getHandle() const { return handle; }
void CSlider::setFineFactor(float factor) { fineFactor = factor; }
float CSlider::getFineFactor() const { return fineFactor; }

void CSlider::takeHandleSize() {
  handleWidth = handle ? handle->getWidth() : 1;
  handleHeight = handle ? handle->getHeight() : 1;
}

void CSlider::updateLimits() {
  minPos = minTmp + offsetAlong();
  maxPos = rangeHandle + handleExtent() + offsetAlong();
}

float CSlider::normalisedValue() const {
  const float n = (value - vmin) / (vmax - vmin);
  if (std::isnan(n)) return 0.0f;
  return n < 0.0f ? 0.0f : (n > 1.0f ? 1.0f : n);
}

CRect CSlider::handleRect(bool clamped) const {
  // Drawn from the normalised value, like dragging sets it; a value outside
  // the range (or not a number) pins the handle to an end of its travel.
  float f = normalisedValue();
  if (zeroAtEnd()) f = 1.0f - f;
  const int32_t along = truncToPixels(static_cast<float>(rangeHandle) * f);
  CRect r;
  if (isHorizontal()) {
    r.top = handleOffset.v;
    r.left = along + handleOffset.h;
    if (clamped && r.left < minPos) r.left = minPos;
    r.right = r.left + handleWidth;
    if (clamped && r.right > maxPos) r.right = maxPos;
    r.bottom = r.top + handleHeight;
  } else {
    r.left = handleOffset.h;
    r.top = along + handleOffset.v;
    if (clamped && r.top < minPos) r.top = minPos;
    r.right = r.left + handleWidth;
    r.bottom = r.top + handleHeight;
    if (clamped && r.bottom > maxPos) r.bottom = maxPos;
  }
  return r.offset(size.left, size.top);
}

void CSlider::draw(CDrawContext* context) {
  if (context) {
    // Neither image may paint outside the control, whatever the offsets say.
    control_drawing::ScopedClip clip(context, size);
    const CRect back(size.left, size.top, size.left + controlWidth, size.top + controlHeight);
    control_drawing::drawImage(background, context, back, backgroundOffset, transparency);
    if (handle) control_drawing::drawImage(handle, context, handleRect(true), CPoint(0, 0), handleTransparent);
  }
  setDirty(false);
}

MouseResult CSlider::onMouseDown(const CPoint& where, MouseButtons buttons) {
  if (!(buttons & kLeftButton)) return MouseResult::NotHandled;
  grabDelta = startAlong() + offsetAlong();
  if (freeClick) {
    // The handle's centre jumps under the pointer.
    grabDelta += handleExtent() / 2 - 1;
  } else {
    const CRect r = handleRect(false);
    if (!r.pointInsideInclusive(where)) return MouseResult::NotHandled;
    // The handle keeps the point where it was gripped.
    grabDelta += isHorizontal() ? where.h - r.left : where.v - r.top;
  }
  fineAnchorSet = false;
  lastButtons = buttons;
  beginEdit();
  if (applyDefaultOnModifier(buttons)) {
    endEdit();
    return MouseResult::HandledNoFollowUp;
  }
  // A Shift drag starts from the current value, not from the pointer.
  if (buttons & kShiftKey) return MouseResult::Handled;
  return onMouseMoved(where, buttons);
}

MouseResult CSlider::onMouseMoved(const CPoint& where, MouseButtons buttons) {
  if (!(buttons & kLeftButton)) return MouseResult::Handled;
  const bool fine = (buttons & kShiftKey) != 0;
  // The anchor stays where Shift was pressed for as long as the same Shift
  // drag goes on. Every change of buttons is remembered, so pressing Shift a
  // second time in one drag anchors anew at the current value.
  if (!fineAnchorSet || buttons != lastButtons || !fine) {
    fineAnchor = normalisedValue();
    fineAnchorSet = true;
  }
  lastButtons = buttons;
  // Without any travel no pointer position means anything.
  if (rangeHandle <= 0) return MouseResult::Handled;

  const int32_t coordinate = isHorizontal() ? where.h : where.v;
  // The difference in 64 bits: a pointer far outside the window must not overflow it.
  float raw =
      static_cast<float>(static_cast<int64_t>(coordinate) - grabDelta) / static_cast<float>(rangeHandle);
  if (zeroAtEnd()) raw = 1.0f - raw;
  if (fine && fineFactor > 0.0f) raw = fineAnchor + (raw - fineAnchor) / fineFactor;
  value = vmin + (vmax - vmin) * raw;
  clampValue();
  if (isDirty()) {
    if (listener) listener->valueChanged(this);
    if (isDirty()) invalidate();
  }
  return MouseResult::Handled;
}

MouseResult CSlider::onMouseUp(const CPoint& /*where*/, MouseButtons /*buttons*/) {
  endEdit();
  return MouseResult::Handled;
}

void CSlider::stepValue(float delta) {
  if (!std::isfinite(delta)) return;
  // A value that is not a number steps from the bottom of the range.
  if (std::isnan(value)) value = vmin;
  value += delta;
  clampValue();
  if (isDirty() && listener) {
    beginEdit();
    listener->valueChanged(this);
    endEdit();
  }
}

bool CSlider::onWheel(const CPoint& /*where*/, float distance, MouseButtons buttons) {
  if (!mouseEnabled) return false;
  stepValue((buttons & kShiftKey) ? distance * 0.1f * wheelStep : distance * wheelStep);
  return true;
}

int32_t CSlider::onKeyDown(VstKeyCode& key) {
  float step;
  switch (key.virt) {
    case VKEY_LEFT:
    case VKEY_DOWN:
      step = -1.0f;
      break;
    case VKEY_UP:
    case VKEY_RIGHT:
      step = 1.0f;
      break;
    default:
      return -1;
  }
  stepValue((key.modifier & MODIFIER_SHIFT) ? step * 0.1f * wheelStep : step * wheelStep);
  return 1;
}

void CSlider::setViewSize(const CRect& rect, bool invalidateNow) {
  CControl::setViewSize(rect, invalidateNow);
  controlWidth = rect.getWidth();
  controlHeight = rect.getHeight();
  updateLimits();
}

bool CSlider::isTypeOf(const char* name) const {
  return (name && std::strcmp(name, "CSlider") == 0) || CControl::isTypeOf(name);
}

CView* CSlider::clone() const { return new CSlider(*this); }

CVerticalSlider::CVerticalSlider(const CRect& rect, CControlListener* l, int32_t t, const CPoint& handleOffsetIn,
                                 int32_t travel, CBitmap* handleBitmap, CBitmap* bitmap,
                                 const CPoint& backgroundOffsetIn)
    : CSlider(rect, l, t, handleOffsetIn, travel, handleBitmap, bitmap, backgroundOffsetIn,
              kSliderVertical | kSliderBottom) {}

bool CVerticalSlider::isTypeOf(const char* name) const {
  return (name && std::strcmp(name, "CVerticalSlider") == 0) || CSlider::isTypeOf(name);
}

CView* CVerticalSlider::clone() const { return new CVerticalSlider(*this); }

}  // namespace Toolkit
