// Shared pieces of the engine tests: the default working values, a small
// deterministic generator (same numbers on every platform), test signals and a
// time record builder.
#pragma once

#include <atomic>
#include <cstdint>
#include <cstring>
#include <vector>

#include "plugin/vst/host_interface.h"
#include "plugin/parameter_ids.h"

namespace zendrel_test {

// xorshift64*: fixed output on every compiler and library.
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

struct Params {
  std::atomic<float> v[zendrel::kNumParams];
  Params() { setDefaults(); }
  void setDefaults() {
    for (int i = 0; i < zendrel::kNumParams; ++i) v[i].store(0.0f, std::memory_order_relaxed);
    for (int k = 0; k < 32; ++k) {
      v[zendrel::kGate + k].store(1.0f, std::memory_order_relaxed);
      v[zendrel::kNoteLength + k].store(0.2685f, std::memory_order_relaxed);
    }
    v[zendrel::kNumOfSteps].store(0.984375f, std::memory_order_relaxed);
    v[zendrel::kStepLength].store(0.3455f, std::memory_order_relaxed);
  }
  void set(int index, float value) { v[index].store(value, std::memory_order_relaxed); }
  float get(int index) const { return v[index].load(std::memory_order_relaxed); }
};

// Step-count value for n steps (bin centre) and note-value grid centres.
inline float stepsValue(int n) { return static_cast<float>((2 * n - 1) / 64.0); }
inline float noteValue(int row) { return static_cast<float>(0.0375 + 0.077 * row); }

inline VstTimeInfo makeTime(double tempo, double samplePos, bool playing, double ppqPos = 0.0) {
  VstTimeInfo t;
  std::memset(&t, 0, sizeof t);
  t.tempo = tempo;
  t.samplePos = samplePos;
  t.sampleRate = 44100.0;
  t.ppqPos = ppqPos;
  t.flags = kVstTempoValid | kVstPpqPosValid | (playing ? kVstTransportPlaying : 0);
  return t;
}

// A stereo test signal: noise with a few special values mixed in.
inline void fillSignal(Rng& rng, float* left, float* right, int n) {
  for (int i = 0; i < n; ++i) {
    left[i] = rng.unit() * 2.0f - 1.0f;
    right[i] = rng.unit() * 2.0f - 1.0f;
    if (rng.below(997) == 0) left[i] = -0.0f;
    if (rng.below(991) == 0) right[i] = 1e-40f;  // denormal
  }
}

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

}  // namespace zendrel_test
