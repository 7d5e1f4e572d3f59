// Shared pieces of the engine tests: the default working values, test signals
// and a time record builder.
#pragma once

#include <atomic>
#include <cstdint>
#include <cstring>
#include <vector>

#include "plugin/parameter_ids.h"
#include "plugin/vst/host_interface.h"
#include "tests/support/bits.h"
#include "tests/support/rng.h"

namespace zendrel::test {

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

}  // namespace zendrel::test
