#include "toolkit/controls/kick_button.h"

#include <cmath>
#include <cstring>

#include "toolkit/controls/control_drawing.h"

namespace Toolkit {

CKickButton::CKickButton(const CRect& rect, CControlListener* l, int32_t t, CBitmap* bitmap, const CPoint& offsetIn)
    : CControl(rect, l, t, bitmap), offset(offsetIn) {
  frameHeight = rect.getHeight();
}

void CKickButton::draw(CDrawContext* context) {
  clampValue();
  CPoint source = offset;
  // A value that is not a number shows the released state.
  if (value != 0.0f && !std::isnan(value)) source.v = control_drawing::addProduct(offset.v, 1, frameHeight);
  control_drawing::drawImage(background, context, size, source, transparency);
  setDirty(false);
}

MouseResult CKickButton::onMouseDown(const CPoint& where, MouseButtons buttons) {
  if (!(buttons & kLeftButton)) return MouseResult::NotHandled;
  // Counted as released when it is not a number, so the release reports a number.
  entryState = std::isnan(value) ? 0.0f : value;
  beginEdit();
  return onMouseMoved(where, buttons);
}

MouseResult CKickButton::onMouseMoved(const CPoint& where, MouseButtons buttons) {
  if (!(buttons & kLeftButton)) return MouseResult::Handled;
  if (size.pointInsideInclusive(where))
    value = entryState != 0.0f ? 0.0f : 1.0f;
  else
    value = entryState;
  if (isDirty()) invalidate();
  return MouseResult::Handled;
}

MouseResult CKickButton::onMouseUp(const CPoint& /*where*/, MouseButtons /*buttons*/) {
  if (value != 0.0f && listener) listener->valueChanged(this);
  value = 0.0f;
  if (listener) listener->valueChanged(this);
  if (isDirty()) invalidate();
  endEdit();
  return MouseResult::Handled;
}

bool CKickButton::isTypeOf(const char* name) const {
  return (name && std::strcmp(name, "CKickButton") == 0) || CControl::isTypeOf(name);
}

CView* CKickButton::clone() const { return new CKickButton(*this); }

}  // namespace Toolkit
