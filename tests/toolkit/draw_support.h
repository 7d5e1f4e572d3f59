// Helpers of the drawing tests: pixel comparison with a tolerance (the two
// platforms composite with slightly different rounding) and fills.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "toolkit/draw_context.h"

namespace drawtest {

inline std::string hex(uint32_t v) {
  char buffer[12];
  std::snprintf(buffer, sizeof buffer, "%08x", static_cast<unsigned>(v));
  return buffer;
}

// Every channel of the premultiplied 0xAARRGGBB words within `tolerance`.
inline ::testing::AssertionResult near(uint32_t actual, uint32_t expected, int tolerance = 0) {
  for (int shift = 0; shift < 32; shift += 8) {
    const int a = int(actual >> shift & 0xff), e = int(expected >> shift & 0xff);
    if (std::abs(a - e) > tolerance)
      return ::testing::AssertionFailure() << "pixel " << hex(actual) << ", expected " << hex(expected) << " ±"
                                           << tolerance;
  }
  return ::testing::AssertionSuccess();
}

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

}  // namespace drawtest
