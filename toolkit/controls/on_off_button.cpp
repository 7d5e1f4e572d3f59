#include "toolkit/controls/on_off_button.h"

#include <cmath>
#include <cstring>

#include "toolkit/bitmap.h"
#include "toolkit/controls/control_drawing.h"

namespace Toolkit {

COnOffButton::COnOffButton(const CRect& rect, CControlListener* l, int32_t t, CBitmap* bitmap, int32_t styleIn)
    : CControl(rect, l, t, bitmap), style(styleIn) {}

int32_t COnOffButton::getStyle() const { return style; }
void COnOffButton::setStyle(int32_t newStyle) { style = newStyle; }

namespace {

// What the button shows: any value but 0 is on (a value that is not a number is off).
bool showsOn(float value) { return value != 0.0f && !std::isnan(value); }

// What a click flips from: the whole part of the value, so that a host's 0.5
// is switched fully on by the click. Not a number counts as off (truncating it
// would be undefined).
bool clicksFromOn(float value) { return std::isfinite(value) ? std::trunc(value) != 0.0f : std::isinf(value); }

}  // namespace

void COnOffButton::draw(CDrawContext* context) {
  CPoint source(0, 0);
  if (showsOn(value) && background) source.v = background->getHeight() / 2;
  control_drawing::drawImage(background, context, size, source, transparency);
  setDirty(false);
}

void COnOffButton::notifyListener() {
  if (!listener) return;
  beginEdit();
  listener->valueChanged(this);
  endEdit();
}

MouseResult COnOffButton::onMouseDown(const CPoint& /*where*/, MouseButtons buttons) {
  if (!(buttons & kLeftButton)) return MouseResult::NotHandled;
  value = clicksFromOn(value) ? 0.0f : 1.0f;
  invalidate();
  if (style == kNotifyBeforeIdle) notifyListener();
  runIdleCycle();
  if (style == kNotifyAfterIdle) notifyListener();
  return MouseResult::HandledNoFollowUp;
}

bool COnOffButton::isTypeOf(const char* name) const {
  return (name && std::strcmp(name, "COnOffButton") == 0) || CControl::isTypeOf(name);
}

CView* COnOffButton::clone() const { return new COnOffButton(*this); }

}  // namespace Toolkit
