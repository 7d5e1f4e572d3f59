// Helpers the standard controls share: drawing an image the way a view's
// transparency flag asks, and turning float positions into pixel numbers
// without undefined conversions (a NaN or an enormous value can arrive
// through setValue from a host).
#pragma once

#include <cmath>
#include <cstdint>

#include "toolkit/bitmap.h"
#include "toolkit/draw_context.h"

namespace Toolkit {
namespace control_drawing {

// Far beyond any image, yet small enough that adding a rectangle's size to it
// cannot overflow.
inline constexpr int32_t kPixelLimit = 1 << 28;

inline void drawImage(CBitmap* bitmap, CDrawContext* context, const CRect& rect, const CPoint& offset,
                      bool transparent) {
  if (!bitmap || !context) return;
  if (transparent)
    bitmap->drawTransparent(context, rect, offset);
  else
    bitmap->draw(context, rect, offset);
}

// Truncates towards zero; NaN gives 0 and the result stays within ±kPixelLimit.
inline int32_t truncToPixels(double x) {
  if (std::isnan(x)) return 0;
  if (x > kPixelLimit) return kPixelLimit;
  if (x < -kPixelLimit) return -kPixelLimit;
  return static_cast<int32_t>(x);
}

// base + a × b without overflow, held within ±kPixelLimit.
inline int32_t addProduct(int32_t base, int32_t a, int32_t b) {
  const int64_t r = int64_t(base) + int64_t(a) * int64_t(b);
  if (r > kPixelLimit) return kPixelLimit;
  if (r < -kPixelLimit) return -kPixelLimit;
  return static_cast<int32_t>(r);
}

// The frame of a strip: 0 .. count − 1 (0 when the strip has no frames).
inline int32_t clampFrame(int32_t frame, int32_t count) {
  if (frame >= count) frame = count - 1;
  return frame < 0 ? 0 : frame;
}

// Restricts drawing to a rectangle (in the context's current coordinates)
// for its lifetime, within whatever clip was already in force.
class ScopedClip {
 public:
  ScopedClip(CDrawContext* c, const CRect& rect) : context(c) {
    context->getClipRect(saved);
    context->setClipRect(saved.intersected(rect));
  }
  ~ScopedClip() { context->setClipRect(saved); }
  ScopedClip(const ScopedClip&) = delete;
  ScopedClip& operator=(const ScopedClip&) = delete;

 private:
  CDrawContext* context;
  CRect saved;
};

}  // namespace control_drawing
}  // namespace Toolkit
