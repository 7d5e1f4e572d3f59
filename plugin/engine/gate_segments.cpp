// The envelope segment that holds a position: attack, hold, decay, crossfade
// into the next step, or closed, with the line its gains lie on and the
// per-sample parameters it was built from.
#include <cmath>

#include "plugin/engine/gain_kernels.h"
#include "plugin/engine/gate_engine.h"

namespace zendrel {

using namespace engine_detail;

double GateEngine::attackEndOf(int k, float attack) const {
  const double start = stepStartTable_[k];
  const double end = noteEnd_[k];
  double attackEnd = start + attack * noteSamples_[k];
  if (attackEnd == end) {
    attackEnd = end - minimumRamp_;
  } else if (attackEnd == start) {
    attackEnd = start + minimumRamp_;
  }
  return attackEnd;
}

double GateEngine::decayStartOf(int k, float decay) const {
  const double start = stepStartTable_[k];
  const double end = noteEnd_[k];
  double decayStart = end - decay * noteSamples_[k];
  if (decayStart == end) {
    decayStart = end - minimumRamp_;
  } else if (start + minimumRamp_ > decayStart) {
    decayStart = start + minimumRamp_;
  }
  return decayStart;
}

float GateEngine::Watched::read(const std::atomic<float>* params, int parameter) {
  for (int v = 0; v < count; ++v)
    if (index[v] == parameter) return value[v];
  const float loaded = load(params, parameter);
  index[count] = parameter;
  value[count] = loaded;
  bits[count] = bitsOf(loaded);
  ++count;
  return loaded;
}

// Each parameter is loaded once and remembered: the segment is built from, and
// later checked against, exactly these values. Only what this segment depends
// on is read, so only that is watched.
GateEngine::Segment GateEngine::segmentFor(const std::atomic<float>* params, int s, double pos) const {
  Segment seg;
  Watched& w = seg.watched;
  seg.lo = stepStartTable_[s];
  seg.hi = stepStartTable_[s + 1];
  seg.noteEnd = noteEnd_[s];
  seg.attackEnd = attackEndOf(s, w.read(params, kAttack + s));
  if (pos < seg.attackEnd) {
    attackSegment(params, s, seg);
    return seg;
  }
  seg.decayStart = decayStartOf(s, w.read(params, kDecay + s));
  if (pos < seg.decayStart) {
    seg.kind = kSegHold;
    seg.base = w.read(params, kGate + s);
    seg.upper = seg.decayStart < seg.hi ? seg.decayStart : seg.hi;
    return seg;
  }
  seg.merged = fills_[s] && w.read(params, kMerge + s) >= 0.5f;
  if (seg.merged) {
    crossfadeOutSegment(params, s, seg);
  } else if (pos < seg.noteEnd) {
    seg.kind = kSegDecay;
    seg.linear = true;
    seg.origin = seg.decayStart;
    seg.upper = seg.noteEnd < seg.hi ? seg.noteEnd : seg.hi;
    const double level = w.read(params, kGate + s);
    seg.base = level;
    seg.slope = -((level - kClosedLevel) / (seg.noteEnd - seg.decayStart));
  } else {
    seg.kind = kSegClosed;
    seg.base = kClosedLevel;
    seg.upper = seg.hi;
  }
  return seg;
}

// The rise to the step's level: from closed, or the rest of the crossfade the
// previous step began when it is merged into this one.
void GateEngine::attackSegment(const std::atomic<float>* params, int s, Segment& seg) const {
  Watched& w = seg.watched;
  const double start = seg.lo;
  seg.kind = kSegAttack;
  seg.linear = true;
  seg.origin = start;
  seg.upper = seg.attackEnd < seg.hi ? seg.attackEnd : seg.hi;
  const double level = w.read(params, kGate + s);
  const double attackSamples = seg.attackEnd - start;
  const int prev = s == 0 ? lastStep_ : s - 1;
  const bool prevMerged = fills_[prev] && w.read(params, kMerge + prev) >= 0.5f;
  if (!prevMerged) {
    seg.base = kClosedLevel;
    seg.slope = (level - kClosedLevel) / attackSamples;
    return;
  }
  // Crossfade in: the rest of the line the previous step started.
  const double a = w.read(params, kGate + prev), b = level;
  const double prevDecaySamples = noteEnd_[prev] - decayStartOf(prev, w.read(params, kDecay + prev));
  const double mergeSamples = prevDecaySamples + attackSamples;
  const double mergeSlope = std::fabs(b - a) / mergeSamples;
  if (a > b) {
    seg.base = a - mergeSlope * prevDecaySamples;
    seg.slope = -mergeSlope;
  } else {
    seg.base = a + mergeSlope * prevDecaySamples;
    seg.slope = mergeSlope;
  }
}

// Crossfade out toward the next step; it also covers the rounding sliver
// between the note end and the next step start.
void GateEngine::crossfadeOutSegment(const std::atomic<float>* params, int s, Segment& seg) const {
  Watched& w = seg.watched;
  seg.kind = kSegCrossfadeOut;
  seg.linear = true;
  seg.origin = seg.decayStart;
  seg.upper = seg.hi;
  const int next = s + 1 < steps_ ? s + 1 : 0;
  const double a = w.read(params, kGate + s), b = w.read(params, kGate + next);
  const double decaySamples = seg.noteEnd - seg.decayStart;
  const double nextAttackSamples = attackEndOf(next, w.read(params, kAttack + next)) - stepStartTable_[next];
  const double mergeSamples = decaySamples + nextAttackSamples;
  const double mergeSlope = std::fabs(b - a) / mergeSamples;
  seg.base = a;
  seg.slope = a > b ? -mergeSlope : mergeSlope;
}

}  // namespace zendrel
