// A small deterministic generator: the same numbers on every compiler, library
// and platform, so a failing case can be named by its seed.
#pragma once

#include <cstdint>

namespace zendrel::test {

// xorshift64*.
class Rng {
 public:
  explicit Rng(uint64_t seed) : state_(seed * 0x9E3779B97F4A7C15ull + 1) {}
  uint64_t next() {
    state_ ^= state_ >> 12;
    state_ ^= state_ << 25;
    state_ ^= state_ >> 27;
    return state_ * 0x2545F4914F6CDD1Dull;
  }
  // Uniform in [0, 1) with 24 bits, exact in float.
  float unit() { return static_cast<float>(next() >> 40) * (1.0f / 16777216.0f); }
  double unitDouble() { return static_cast<double>(next() >> 11) * (1.0 / 9007199254740992.0); }
  int below(int n) { return static_cast<int>(next() % static_cast<uint64_t>(n)); }
  bool chance(int percent) { return below(100) < percent; }

 private:
  uint64_t state_;
};

}  // namespace zendrel::test
