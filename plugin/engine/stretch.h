// A stretch of a block: the samples whose pattern positions never decrease.
// Inside the engine only.
#pragma once

#include <cfloat>
#include <cmath>

#include "plugin/engine/gate_engine.h"

namespace zendrel {

// Samples [begin, end) of the block over which the positions never decrease:
// one pattern cycle of a playing transport, or the free-running counter between
// two wraps. Positions are those of the per-sample clock, bit for bit.
struct GateEngine::Stretch {
  int begin = 0, end = 0;
  bool playing = false;
  double samplePos = 0.0, length = 0.0;
  double cycle = 0.0;  // playing: the truncated cycle count, the same for every sample
  double first = 0.0;  // stopped: the counter at begin; it climbs by one per sample

  // A playing stretch whose cycle count is not finite has no usable position.
  bool usable() const { return !playing || std::fabs(cycle) <= DBL_MAX; }

  double at(int i) const {
    if (playing) return (cycles(i) - cycle) * length;
    return first + (i - begin);
  }

  // Playing: the cycle count of sample i. The probes that find where a
  // stretch or a run ends, and the start of the next run, ask for the same
  // few samples again; each is divided out once.
  double cycles(int i) const {
    if (i == memoIndex[0]) return memoCycles[0];
    if (i == memoIndex[1]) return memoCycles[1];
    const double c = (i + samplePos) / length;
    memoIndex[1] = memoIndex[0];
    memoCycles[1] = memoCycles[0];
    memoIndex[0] = i;
    memoCycles[0] = c;
    return c;
  }

 private:
  mutable int memoIndex[2] = {-1, -1};
  mutable double memoCycles[2] = {0.0, 0.0};
};

}  // namespace zendrel
