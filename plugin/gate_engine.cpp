// The step clock and gate envelope.
//
// Output samples and the published position must equal a per-sample evaluation of
// every table, bit for bit; this version gets there faster by computing the
// block-constant tables once per block and, per run of samples that share one
// envelope segment, the segment's line once. The gate levels, attacks, decays
// and merge flags a segment depends on are still read for every sample, and a
// change ends the run there. Every formula keeps the operation order of the
// per-sample form so the doubles come out identical.
#include "plugin/gate_engine.h"

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

#include "plugin/step_grid.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace zendrel {

namespace {

constexpr double kClosedLevel = 0.0;
constexpr int kStepCountIndex = kNumOfSteps;

inline float load(const std::atomic<float>* params, int index) {
  return params[index].load(std::memory_order_relaxed);
}

// A gain that came out infinite or not a number (extreme parameter values or
// degenerate crossfades) closes the gate rather than poisoning the output.
inline double finiteGain(double g) { return std::fabs(g) <= DBL_MAX ? g : kClosedLevel; }

// Products beyond the float range are held at its edge instead of turning into
// infinities; anything in range rounds exactly as before.
// Written as max then min so it compiles to the vector instructions; a NaN
// passes through both unchanged.
inline float toSample(double v) {
  constexpr double kMax = FLT_MAX;
  v = v < -kMax ? -kMax : v;
  v = kMax < v ? kMax : v;
  return static_cast<float>(v);
}

// out[t] = toSample(gain[t] * in[t]). Every input is read before the output at
// the same index is written, so in and out may be the same buffer.
void applyGain(const double* gain, const float* in, float* out, int n) {
  int t = 0;
#if defined(__SSE2__)
  const __m128d hi = _mm_set1_pd(FLT_MAX);
  const __m128d lo = _mm_set1_pd(-static_cast<double>(FLT_MAX));
  for (; t + 4 <= n; t += 4) {
    const __m128 x = _mm_loadu_ps(in + t);
    __m128d a = _mm_mul_pd(_mm_loadu_pd(gain + t), _mm_cvtps_pd(x));
    __m128d b = _mm_mul_pd(_mm_loadu_pd(gain + t + 2), _mm_cvtps_pd(_mm_movehl_ps(x, x)));
    // max(lo, v) and min(hi, v) return v itself when it is not a number.
    a = _mm_min_pd(hi, _mm_max_pd(lo, a));
    b = _mm_min_pd(hi, _mm_max_pd(lo, b));
    _mm_storeu_ps(out + t, _mm_movelh_ps(_mm_cvtpd_ps(a), _mm_cvtpd_ps(b)));
  }
#endif
  for (; t < n; ++t) out[t] = toSample(gain[t] * static_cast<double>(in[t]));
}

// False also when a position is not a number.
bool nonDecreasing(const double* pos, int count) {
  bool ok = true;
  for (int t = 0; t + 1 < count; ++t) ok &= pos[t + 1] >= pos[t];
  return ok;
}

enum SegmentKind { kSegAttack, kSegHold, kSegCrossfadeOut, kSegDecay, kSegClosed };

}  // namespace

GateEngine::GateEngine() {
  for (auto& v : publishedNoteLength_) v.store(0.0, std::memory_order_relaxed);
  for (auto& v : publishedStepStart_) v.store(0.0, std::memory_order_relaxed);
}

void GateEngine::setSampleRate(double hostSampleRate) { hostSampleRate_ = hostSampleRate; }
double GateEngine::sampleRate() const { return hostSampleRate_; }

bool GateEngine::hasRun() const { return hasRun_.load(std::memory_order_relaxed); }
double GateEngine::stepCount() const { return publishedStepCount_.load(std::memory_order_relaxed); }
double GateEngine::stepLength() const { return publishedStepLength_.load(std::memory_order_relaxed); }
double GateEngine::noteLength(int step) const {
  if (step < 0 || step >= kNumSteps) return 0.0;
  return publishedNoteLength_[step].load(std::memory_order_relaxed);
}
double GateEngine::patternPosition() const { return publishedPosition_.load(std::memory_order_relaxed); }
double GateEngine::stepStart(int index) const {
  if (index < 0 || index > kNumSteps) return 0.0;
  return publishedStepStart_[index].load(std::memory_order_relaxed);
}

void GateEngine::deriveLengths(const std::atomic<float>* params) {
  // The same stored values derive the same lengths: skip the tables then.
  float raw[kNumSteps + 2];
  raw[0] = load(params, kStepCountIndex);
  raw[1] = load(params, kStepLength);
  for (int k = 0; k < kNumSteps; ++k) raw[k + 2] = load(params, kNoteLength + k);
  if (hasRun_.load(std::memory_order_relaxed) && std::memcmp(raw, derivedFrom_, sizeof raw) == 0) return;
  std::memcpy(derivedFrom_, raw, sizeof raw);

  stepCount_ = stepCountFor(raw[0], stepCount_);
  lastStep_ = static_cast<int>(stepCount_ - 1.0);
  steps_ = static_cast<int>(stepCount_);
  stepLength_ = noteValueFor(raw[1], stepLength_);
  for (int k = 0; k < kNumSteps; ++k) noteLength_[k] = noteValueFor(raw[k + 2], noteLength_[k]);

  publishedStepCount_.store(stepCount_, std::memory_order_relaxed);
  publishedStepLength_.store(stepLength_, std::memory_order_relaxed);
  for (int k = 0; k < kNumSteps; ++k)
    publishedNoteLength_[k].store(noteLength_[k], std::memory_order_relaxed);
  hasRun_.store(true, std::memory_order_relaxed);
}

// Everything that stays constant over the block. False when the timing gives no
// finite positive pattern length (or there is no time record at all).
bool GateEngine::prepareClock(const VstTimeInfo* timeInfo) {
  if (timeInfo == nullptr) return false;
  const double currentTempo = timeInfo->tempo;
  const double secondsPerBeat = 60.0 / currentTempo;
  const double samplesPerBeat = secondsPerBeat * hostSampleRate_;
  samplesPerBar_ = samplesPerBeat * 4.0;
  samplesPerStep_ = samplesPerBar_ * stepLength_;
  patternLength_ = (samplesPerBar_ * stepCount_) * stepLength_;
  if (!(patternLength_ > 0.0) || !(patternLength_ <= DBL_MAX)) return false;

  playing_ = (timeInfo->flags & kVstTransportPlaying) != 0;
  samplePos_ = timeInfo->samplePos;
  minimumRamp_ = 0.005 * hostSampleRate_;
  for (int k = 0; k <= kNumSteps; ++k) stepStartTable_[k] = k * samplesPerStep_;
  for (int k = 0; k < kNumSteps; ++k) {
    noteSamples_[k] = noteLength_[k] * samplesPerBar_;
    noteEnd_[k] = stepStartTable_[k] + noteSamples_[k];
    fills_[k] = noteSamples_[k] == samplesPerStep_;
  }
  if (cachedStep_ >= steps_) cachedStep_ = 0;
  return true;
}

// Pattern positions of samples first .. first+count-1 of the block.
bool GateEngine::computePositions(int first, int count, double* pos) {
  if (playing_) {
    const double length = patternLength_;
    const double c0 = (first + samplePos_) / length;
    const double c1 = ((first + count - 1) + samplePos_) / length;
    const bool fits = std::fabs(c0) < gate_rules::kInt32Limit && std::fabs(c1) < gate_rules::kInt32Limit;
    if (fits) {
      // The cycle count is monotonic over the chunk, so both ends fitting means
      // every sample truncates through the integer without overflow; both ends
      // in the same cycle means no wrap in between.
      for (int t = 0; t < count; ++t) {
        const double patternCycles = ((first + t) + samplePos_) / length;
        const double patternCycle = static_cast<double>(static_cast<int32_t>(patternCycles));
        pos[t] = (patternCycles - patternCycle) * length;
      }
      if (static_cast<int32_t>(c0) == static_cast<int32_t>(c1) && c0 >= 0.0) return true;
    } else {
      for (int t = 0; t < count; ++t) {
        const double patternCycles = ((first + t) + samplePos_) / length;
        pos[t] = (patternCycles - std::trunc(patternCycles)) * length;
      }
    }
    return nonDecreasing(pos, count);
  }
  VstInt32 counter = freeRun_;
  if (counter >= 0 && counter < std::numeric_limits<VstInt32>::max() - count &&
      static_cast<double>(counter + count) < patternLength_) {
    // No wrap inside this chunk: the counter just climbs.
    for (int t = 0; t < count; ++t) pos[t] = counter + 1 + t;
    freeRun_ = counter + count;
    return true;
  }
  for (int t = 0; t < count; ++t) {
    if (counter < 0) counter = 0;
    counter = counter == std::numeric_limits<VstInt32>::max() ? 0 : counter + 1;
    if (static_cast<double>(counter) >= patternLength_) counter = 0;
    pos[t] = counter;
  }
  freeRun_ = counter;
  return nonDecreasing(pos, count);
}

// Index of the pattern step that holds pos, or -1 outside the pattern.
int GateEngine::findStep(double pos) const {
  const int c = cachedStep_;
  if (stepStartTable_[c] <= pos && pos < stepStartTable_[c + 1]) return c;
  if (!(pos >= 0.0 && pos < stepStartTable_[steps_])) return -1;
  // k * samplesPerStep rounds, so search rather than divide.
  int k = static_cast<int>(pos / samplesPerStep_);
  if (k >= steps_) k = steps_ - 1;
  while (k > 0 && pos < stepStartTable_[k]) --k;
  while (k + 1 < steps_ && pos >= stepStartTable_[k + 1]) ++k;
  return k;
}

GateEngine::StepShape GateEngine::shapeOf(const std::atomic<float>* params, int k) const {
  StepShape s;
  const double start = stepStartTable_[k];
  const double note = noteSamples_[k];
  const double end = noteEnd_[k];
  s.level = load(params, kGate + k);
  double attackEnd = start + load(params, kAttack + k) * note;
  if (attackEnd == end) {
    attackEnd = end - minimumRamp_;
  } else if (attackEnd == start) {
    attackEnd = start + minimumRamp_;
  }
  double decayStart = end - load(params, kDecay + k) * note;
  if (decayStart == end) {
    decayStart = end - minimumRamp_;
  } else if (start + minimumRamp_ > decayStart) {
    decayStart = start + minimumRamp_;
  }
  s.attackEnd = attackEnd;
  s.decayStart = decayStart;
  s.attackSamples = attackEnd - start;
  s.decaySamples = end - decayStart;
  s.merged = load(params, kMerge + k) >= 0.5f && fills_[k];
  return s;
}

GateEngine::Segment GateEngine::segmentFor(const std::atomic<float>* params, int s, double pos) const {
  Segment seg{};
  const StepShape cur = shapeOf(params, s);
  const double start = stepStartTable_[s];
  seg.lo = start;
  seg.hi = stepStartTable_[s + 1];
  if (pos < cur.attackEnd) {
    seg.kind = kSegAttack;
    seg.linear = true;
    seg.origin = start;
    const int prev = s == 0 ? lastStep_ : s - 1;
    const StepShape p = shapeOf(params, prev);
    if (!p.merged) {
      seg.base = kClosedLevel;
      seg.slope = (cur.level - kClosedLevel) / cur.attackSamples;
    } else {
      // Crossfade in: the rest of the line the previous step started.
      const double a = p.level, b = cur.level;
      const double mergeSamples = p.decaySamples + cur.attackSamples;
      const double mergeSlope = std::fabs(b - a) / mergeSamples;
      if (a > b) {
        seg.base = a - mergeSlope * p.decaySamples;
        seg.slope = -mergeSlope;
      } else {
        seg.base = a + mergeSlope * p.decaySamples;
        seg.slope = mergeSlope;
      }
    }
  } else if (pos < cur.decayStart) {
    seg.kind = kSegHold;
    seg.base = cur.level;
  } else if (cur.merged) {
    // Crossfade out toward the next step; it also covers the rounding sliver
    // between the note end and the next step start.
    seg.kind = kSegCrossfadeOut;
    seg.linear = true;
    seg.origin = cur.decayStart;
    const int next = s + 1 < steps_ ? s + 1 : 0;
    const StepShape n = shapeOf(params, next);
    const double a = cur.level, b = n.level;
    const double mergeSamples = cur.decaySamples + n.attackSamples;
    const double mergeSlope = std::fabs(b - a) / mergeSamples;
    seg.base = a;
    seg.slope = a > b ? -mergeSlope : mergeSlope;
  } else if (pos < noteEnd_[s]) {
    seg.kind = kSegDecay;
    seg.linear = true;
    seg.origin = cur.decayStart;
    seg.base = cur.level;
    seg.slope = -((cur.level - kClosedLevel) / cur.decaySamples);
  } else {
    seg.kind = kSegClosed;
    seg.base = kClosedLevel;
  }
  seg.attackEnd = cur.attackEnd;
  seg.decayStart = cur.decayStart;
  seg.noteEnd = noteEnd_[s];
  seg.merged = cur.merged;

  // What this segment depends on: its own step's attack and decay (they place
  // the segment), the level where the gain uses it, the merge flags that chose
  // the shape, and the neighbour's values a crossfade reads.
  seg.watchCount = 0;
  watch(params, seg, kAttack + s);
  watch(params, seg, kDecay + s);
  if (seg.kind != kSegClosed) watch(params, seg, kGate + s);
  if (seg.kind == kSegAttack) {
    const int prev = s == 0 ? lastStep_ : s - 1;
    watch(params, seg, kMerge + prev);
    watch(params, seg, kGate + prev);
    watch(params, seg, kDecay + prev);
  } else if (seg.kind != kSegHold) {
    watch(params, seg, kMerge + s);
    if (seg.kind == kSegCrossfadeOut) {
      const int next = s + 1 < steps_ ? s + 1 : 0;
      watch(params, seg, kGate + next);
      watch(params, seg, kAttack + next);
    }
  }
  return seg;
}

void GateEngine::watch(const std::atomic<float>* params, Segment& seg, int index) {
  const float v = load(params, index);
  uint32_t bits;
  std::memcpy(&bits, &v, sizeof bits);
  seg.watchIndex[seg.watchCount] = index;
  seg.watchBits[seg.watchCount] = bits;
  ++seg.watchCount;
}

namespace {

inline uint32_t bitsOf(const std::atomic<float>* p) {
  const float v = p->load(std::memory_order_relaxed);
  uint32_t b;
  std::memcpy(&b, &v, sizeof b);
  return b;
}

}  // namespace

// The first sample in (first, end) at which a watched parameter reads
// differently, or end: a change takes effect at the next sample. Written out
// for three and for six values so the addresses stay in registers.
int GateEngine::unchangedRun(const std::atomic<float>* params, const Segment& seg, int first, int end) {
  const int n = seg.watchCount;
  const auto at = [&](int w) { return params + seg.watchIndex[w < n ? w : 0]; };
  const auto want = [&](int w) { return seg.watchBits[w < n ? w : 0]; };
  const std::atomic<float>* const p0 = at(0);
  const std::atomic<float>* const p1 = at(1);
  const std::atomic<float>* const p2 = at(2);
  const uint32_t w0 = want(0), w1 = want(1), w2 = want(2);
  if (n <= 3) {
    for (int t = first + 1; t < end; ++t)
      if (((bitsOf(p0) ^ w0) | (bitsOf(p1) ^ w1) | (bitsOf(p2) ^ w2)) != 0) return t;
    return end;
  }
  const std::atomic<float>* const p3 = at(3);
  const std::atomic<float>* const p4 = at(4);
  const std::atomic<float>* const p5 = at(5);
  const uint32_t w3 = want(3), w4 = want(4), w5 = want(5);
  for (int t = first + 1; t < end; ++t) {
    const uint32_t diff = (bitsOf(p0) ^ w0) | (bitsOf(p1) ^ w1) | (bitsOf(p2) ^ w2) | (bitsOf(p3) ^ w3) |
                          (bitsOf(p4) ^ w4) | (bitsOf(p5) ^ w5);
    if (diff != 0) return t;
  }
  return end;
}

bool GateEngine::inSegment(const Segment& seg, double q) {
  if (!(q >= seg.lo && q < seg.hi)) return false;
  int kind;
  if (q < seg.attackEnd) {
    kind = kSegAttack;
  } else if (q < seg.decayStart) {
    kind = kSegHold;
  } else if (seg.merged) {
    kind = kSegCrossfadeOut;
  } else if (q < seg.noteEnd) {
    kind = kSegDecay;
  } else {
    kind = kSegClosed;
  }
  return kind == seg.kind;
}

void GateEngine::computeGains(const std::atomic<float>* params, const double* pos, int count, bool monotonic,
                              double* gain) {
  int j = 0;
  while (j < count) {
    const double p0 = pos[j];
    if (p0 != p0) {  // no usable position: pass through, publish nothing
      gain[j++] = gate_rules::kBypassGain;
      continue;
    }
    const int s = findStep(p0);
    int end = j + 1;
    if (s < 0) {
      // Before the pattern (pre-roll) or past its last step: the gate is closed.
      const double patternEnd = stepStartTable_[steps_];
      while (end < count && pos[end] == pos[end] && !(pos[end] >= 0.0 && pos[end] < patternEnd)) ++end;
      for (int t = j; t < end; ++t) gain[t] = kClosedLevel;
    } else {
      cachedStep_ = s;
      const Segment seg = segmentFor(params, s, p0);
      // Extend the run while the same tests of the segment chain still hold. Each
      // segment is an interval of positions, so over non-decreasing positions
      // its samples form a prefix and a bisection finds its end.
      if (monotonic) {
        if (inSegment(seg, pos[count - 1])) {
          end = count;
        } else {
          int in = j, out = count - 1;
          while (out - in > 1) {
            const int mid = in + (out - in) / 2;
            if (inSegment(seg, pos[mid]))
              in = mid;
            else
              out = mid;
          }
          end = out;
        }
      } else {
        while (end < count && inSegment(seg, pos[end])) ++end;
      }
      end = unchangedRun(params, seg, j, end);
      if (seg.linear) {
        const double base = seg.base, slope = seg.slope, origin = seg.origin;
        for (int t = j; t < end; ++t) gain[t] = finiteGain(base + slope * (pos[t] - origin));
      } else {
        const double g = finiteGain(seg.base);
        for (int t = j; t < end; ++t) gain[t] = g;
      }
    }
    lastPosition_ = pos[end - 1];
    positioned_ = true;
    j = end;
  }
}

void GateEngine::publish() {
  publishedPosition_.store(lastPosition_, std::memory_order_relaxed);
  for (int k = 0; k <= kNumSteps; ++k)
    publishedStepStart_[k].store(stepStartTable_[k], std::memory_order_relaxed);
}

void GateEngine::processBlock(const VstTimeInfo* timeInfo, const std::atomic<float>* params,
                              float* const* inputs, float* const* outputs, VstInt32 sampleFrames) {
  if (params == nullptr) return;
  deriveLengths(params);
  if (sampleFrames <= 0 || inputs == nullptr || outputs == nullptr) return;
  const float* in0 = inputs[0];
  const float* in1 = inputs[1];
  float* out0 = outputs[0];
  float* out1 = outputs[1];
  if (in0 == nullptr || in1 == nullptr || out0 == nullptr || out1 == nullptr) return;

  const bool usable = prepareClock(timeInfo);
  positioned_ = false;
  alignas(16) double pos[kChunk];
  alignas(16) double gain[kChunk];
  for (int first = 0; first < sampleFrames; first += kChunk) {
    const int n = sampleFrames - first < kChunk ? sampleFrames - first : kChunk;
    if (usable) {
      const bool monotonic = computePositions(first, n, pos);
      computeGains(params, pos, n, monotonic, gain);
    } else {
      for (int t = 0; t < n; ++t) gain[t] = gate_rules::kBypassGain;
    }
    if (gainTrace_ != nullptr) std::memcpy(gainTrace_ + first, gain, sizeof(double) * static_cast<size_t>(n));
    // Left channel fully before the right: with the same buffer passed as input
    // and output of a channel every sample is still read before it is written.
    applyGain(gain, in0 + first, out0 + first, n);
    applyGain(gain, in1 + first, out1 + first, n);
  }
  if (positioned_) publish();
}

}  // namespace zendrel
