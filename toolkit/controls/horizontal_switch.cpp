#include "toolkit/controls/horizontal_switch.h"

#include <cmath>
#include <cstring>

#include "toolkit/bitmap.h"
#include "toolkit/controls/control_drawing.h"

namespace Toolkit {

CHorizontalSwitch::CHorizontalSwitch(const CRect& rect, CControlListener* l, int32_t t, int32_t frames,
                                     int32_t height, int32_t positionCount, CBitmap* bitmap, const CPoint& offsetIn)
    : CControl(rect, l, t, bitmap), offset(offsetIn), frameCount(frames), positions(positionCount) {
  frameHeight = height;
  defaultValue = 0.0f;
}

int32_t CHorizontalSwitch::positionForValue(float v) const {
  const float position = static_cast<float>(positions - 1) * v + 0.5f;
  // A value outside 0..1 (or not a number) shows the nearest end, never
  // a frame beyond the strip.
  return control_drawing::clampFrame(control_drawing::truncToPixels(position), positions);
}

void CHorizontalSwitch::draw(CDrawContext* context) {
  const CPoint source(0, control_drawing::addProduct(0, positionForValue(value), frameHeight));
  control_drawing::drawImage(background, context, size, source, transparency);
  setDirty(false);
}

MouseResult CHorizontalSwitch::onMouseDown(const CPoint& where, MouseButtons buttons) {
  if (!(buttons & kLeftButton)) return MouseResult::NotHandled;
  // The positions share the image's width; a switch without a usable image
  // shares its own width instead.
  const int32_t width = (background && background->getWidth() > 0) ? background->getWidth() : size.getWidth();
  coef = positions > 0 ? static_cast<double>(width) / positions : 0.0;
  beginEdit();
  if (applyDefaultOnModifier(buttons)) {
    endEdit();
    return MouseResult::HandledNoFollowUp;
  }
  return onMouseMoved(where, buttons);
}

MouseResult CHorizontalSwitch::onMouseMoved(const CPoint& where, MouseButtons buttons) {
  if (!(buttons & kLeftButton)) return MouseResult::Handled;
  // One position (or no width to share) leaves nothing to choose but 0.
  if (positions > 1 && coef > 0.0) {
    // In double: a pointer far outside the window must not overflow the difference.
    const double position = std::trunc((static_cast<double>(where.h) - size.left) / coef);
    value = static_cast<float>(position / (positions - 1));
    if (value > 1.0f) value = 1.0f;
    if (value < 0.0f) value = 0.0f;
  } else {
    value = 0.0f;
  }
  if (isDirty()) {
    if (listener) listener->valueChanged(this);
    if (isDirty()) invalidate();
  }
  return MouseResult::Handled;
}

MouseResult CHorizontalSwitch::onMouseUp(const CPoint& /*where*/, MouseButtons /*buttons*/) {
  endEdit();
  return MouseResult::Handled;
}

bool CHorizontalSwitch::isTypeOf(const char* name) const {
  return (name && std::strcmp(name, "CHorizontalSwitch") == 0) || CControl::isTypeOf(name);
}

CView* CHorizontalSwitch::clone() const { return new CHorizontalSwitch(*this); }

}  // namespace Toolkit
