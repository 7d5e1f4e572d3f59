#include "toolkit/controls/movie_bitmap.h"

#include <cstring>

#include "toolkit/controls/control_drawing.h"

namespace Toolkit {

CMovieBitmap::CMovieBitmap(const CRect& rect, CControlListener* l, int32_t t, int32_t frames, int32_t height,
                           CBitmap* bitmap, const CPoint& offsetIn)
    : CControl(rect, l, t, bitmap), offset(offsetIn), frameCount(frames) {
  frameHeight = height;
}

int32_t CMovieBitmap::frameForValue(float v) const {
  if (!(v > 0.0f)) return 0;  // also a value that is not a number
  if (v > 1.0f) v = 1.0f;
  // The product in single precision, the rounding in double: 31 × 0.5 → 15.5 → frame 16.
  const float product = static_cast<float>(frameCount - 1) * v;
  // A strip without frames still shows its first one, never a negative frame.
  return control_drawing::clampFrame(control_drawing::truncToPixels(static_cast<double>(product) + 0.5), frameCount);
}

void CMovieBitmap::draw(CDrawContext* context) {
  if (value > 1.0f) value = 1.0f;
  const CPoint source(offset.h, control_drawing::addProduct(offset.v, frameForValue(value), frameHeight));
  control_drawing::drawImage(background, context, size, source, transparency);
  setDirty(false);
}

bool CMovieBitmap::isTypeOf(const char* name) const {
  return (name && std::strcmp(name, "CMovieBitmap") == 0) || CControl::isTypeOf(name);
}

CView* CMovieBitmap::clone() const { return new CMovieBitmap(*this); }

}  // namespace Toolkit
