// Bitwise views of floating-point values: comparisons where NaN equals NaN and
// -0 differs from 0, as bit-exact checks need.
#pragma once

#include <cstdint>
#include <cstring>

namespace zendrel::test {

inline uint32_t bitsOf(float f) {
  uint32_t u;
  std::memcpy(&u, &f, sizeof u);
  return u;
}

inline uint64_t bitsOf(double d) {
  uint64_t u;
  std::memcpy(&u, &d, sizeof u);
  return u;
}

inline bool sameBits(float a, float b) { return bitsOf(a) == bitsOf(b); }

}  // namespace zendrel::test
