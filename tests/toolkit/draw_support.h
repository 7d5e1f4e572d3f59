// Helpers of the drawing tests: fills and whole-image checks.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "tests/support/pixels.h"
#include "toolkit/draw_context.h"

namespace zendrel::test {

inline void fill(Toolkit::CDrawContext& context, const Toolkit::CRect& rect, const Toolkit::CColor& colour) {
  context.setFillColor(colour);
  context.fillOrFrameRect(rect, Toolkit::kDrawFilled);
}

// Counts the pixels of `pixels` (width w) inside / outside `rect` equal to `value`.
inline bool allInsideAre(const std::vector<uint32_t>& pixels, int w, const Toolkit::CRect& rect, uint32_t inside,
                         uint32_t outside, int tolerance = 0) {
  for (std::size_t i = 0; i < pixels.size(); ++i) {
    const int x = int(i) % w, y = int(i) / w;
    const bool in = rect.pointInside(Toolkit::CPoint(x, y));
    if (!near(pixels[i], in ? inside : outside, tolerance)) {
      ADD_FAILURE() << "at (" << x << ", " << y << "): " << hex(pixels[i]) << ", expected "
                    << hex(in ? inside : outside);
      return false;
    }
  }
  return true;
}

}  // namespace zendrel::test
