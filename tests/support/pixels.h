// Pixel comparison for drawing tests: premultiplied 0xAARRGGBB words compared
// channel by channel within a tolerance (the two platforms' graphics libraries
// composite with slightly different rounding).
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace zendrel::test {

inline std::string hex(uint32_t v) {
  char buffer[12];
  std::snprintf(buffer, sizeof buffer, "%08x", static_cast<unsigned>(v));
  return buffer;
}

// Every channel of actual within `tolerance` of expected.
inline ::testing::AssertionResult near(uint32_t actual, uint32_t expected, int tolerance = 0) {
  for (int shift = 0; shift < 32; shift += 8) {
    const int a = int(actual >> shift & 0xff), e = int(expected >> shift & 0xff);
    if (std::abs(a - e) > tolerance)
      return ::testing::AssertionFailure() << "pixel " << hex(actual) << ", expected " << hex(expected) << " ±"
                                           << tolerance;
  }
  return ::testing::AssertionSuccess();
}

}  // namespace zendrel::test
