// The step clock and gate envelope.
//
// Output samples and the published position must equal a per-sample evaluation of
// every table, bit for bit; this version gets there faster by computing the
// block-constant tables once per block and splitting the block into runs of
// samples that share one envelope segment, whose gain is then either a constant
// or one straight line. Positions are computed exactly where they are needed: at
// a few probes that find where a run ends, and for every sample of a ramp. The
// gate levels, attacks, decays and merge flags a segment depends on are still
// read for every sample, and a change ends the run there. Every formula keeps the
// operation order of the per-sample form so the doubles come out identical.
#include "plugin/engine/gate_engine.h"

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <utility>

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

inline uint32_t bitsOf(float v) {
  uint32_t b;
  std::memcpy(&b, &v, sizeof b);
  return b;
}

inline uint32_t loadBits(const std::atomic<float>* p) { return bitsOf(p->load(std::memory_order_relaxed)); }

// A gain that came out infinite or not a number (extreme parameter values or
// degenerate crossfades) closes the gate rather than poisoning the output.
inline double finiteGain(double g) { return std::fabs(g) <= DBL_MAX ? g : kClosedLevel; }

// Products beyond the float range are held at its edge instead of turning into
// infinities; anything in range rounds exactly as before. A NaN passes through.
inline float toSample(double v) {
  constexpr double kMax = FLT_MAX;
  v = v < -kMax ? -kMax : v;
  v = kMax < v ? kMax : v;
  return static_cast<float>(v);
}

inline float clampSample(float v) {
  v = v < -FLT_MAX ? -FLT_MAX : v;
  return FLT_MAX < v ? FLT_MAX : v;
}

// out[t] = toSample(gain[t] * in[t]). Every input is read before the output at
// the same index is written, so in and out may be the same buffer.
void applyGain(const double* gain, const float* in, float* out, int n) {
  int t = 0;
#if defined(__SSE2__)
  // Held at the edge after rounding: a product beyond FLT_MAX rounds to FLT_MAX
  // or to infinity, and both become FLT_MAX; anything else is unchanged. max(lo,
  // v) and min(hi, v) return v itself when it is not a number.
  const __m128 hi = _mm_set1_ps(FLT_MAX);
  const __m128 lo = _mm_set1_ps(-FLT_MAX);
  for (; t + 4 <= n; t += 4) {
    const __m128 x = _mm_loadu_ps(in + t);
    const __m128d a = _mm_mul_pd(_mm_loadu_pd(gain + t), _mm_cvtps_pd(x));
    const __m128d b = _mm_mul_pd(_mm_loadu_pd(gain + t + 2), _mm_cvtps_pd(_mm_movehl_ps(x, x)));
    const __m128 v = _mm_movelh_ps(_mm_cvtpd_ps(a), _mm_cvtpd_ps(b));
    _mm_storeu_ps(out + t, _mm_min_ps(hi, _mm_max_ps(lo, v)));
  }
#endif
  for (; t < n; ++t) out[t] = toSample(gain[t] * static_cast<double>(in[t]));
}

// The same rule for a gain that is itself a float, in float: the product of two
// floats is exact in double, so rounding it once to float gives what the float
// multiply gives, overflow included once both are held at the range's edge.
void applyFloatGain(float g, const float* in, float* out, int n) {
  int t = 0;
#if defined(__SSE2__)
  const __m128 gv = _mm_set1_ps(g);
  const __m128 hi = _mm_set1_ps(FLT_MAX);
  const __m128 lo = _mm_set1_ps(-FLT_MAX);
  for (; t + 8 <= n; t += 8) {
    const __m128 a = _mm_mul_ps(gv, _mm_loadu_ps(in + t));
    const __m128 b = _mm_mul_ps(gv, _mm_loadu_ps(in + t + 4));
    _mm_storeu_ps(out + t, _mm_min_ps(hi, _mm_max_ps(lo, a)));
    _mm_storeu_ps(out + t + 4, _mm_min_ps(hi, _mm_max_ps(lo, b)));
  }
#endif
  for (; t < n; ++t) out[t] = clampSample(g * in[t]);
}

bool isFloat(double g) { return std::fabs(g) <= FLT_MAX && static_cast<double>(static_cast<float>(g)) == g; }

#if defined(__SSE2__)
// The segment's line at two positions: finiteGain(base + slope * (pos - origin)).
struct RampLine {
  __m128d base, slope, origin, magnitude, largest;
  RampLine(double b, double k, double o)
      : base(_mm_set1_pd(b)),
        slope(_mm_set1_pd(k)),
        origin(_mm_set1_pd(o)),
        magnitude(_mm_castsi128_pd(_mm_set1_epi64x(0x7fffffffffffffffLL))),
        largest(_mm_set1_pd(DBL_MAX)) {}
  __m128d operator()(__m128d pos) const {
    const __m128d g = _mm_add_pd(base, _mm_mul_pd(slope, _mm_sub_pd(pos, origin)));
    // |g| <= DBL_MAX is false for infinities and NaN: those become +0.0.
    return _mm_and_pd(g, _mm_cmple_pd(_mm_and_pd(g, magnitude), largest));
  }
};
#endif

bool sameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

bool sameCycle(double a, double b) { return a == b || (a != a && b != b); }

// The first index in (first, end) at which pred fails, or end. pred holds at
// first and, over the indices given, on a prefix only. A good guess settles it
// in one or two probes; whatever is left is bisected.
template <class Pred>
int firstFailing(int first, int end, int guess, Pred pred) {
  int in = first, out = end;
  const auto probe = [&](int t) {
    if (t <= in || t >= out) return;
    if (pred(t))
      in = t;
    else
      out = t;
  };
  probe(guess);
  probe(in == guess ? guess + 1 : out - 1);
  while (out - in > 1) probe(in + (out - in) / 2);
  return out;
}

// A guess at the first sample of a run that starts at sample first (position
// pos) whose position reaches bound: positions advance by about one per sample.
int guessIndex(int first, int end, double pos, double bound) {
  const double d = bound - pos;
  if (!(d < static_cast<double>(end - first))) return end;
  if (!(d > 1.0)) return first + 1;
  return first + static_cast<int>(std::ceil(d));
}

enum SegmentKind { kSegAttack, kSegHold, kSegCrossfadeOut, kSegDecay, kSegClosed };

// The first sample in [from, end) at which one of the watched values reads
// differently, or end. Each sample loads every watched value once and compares
// its bits with one branch each (a load and a fused compare-and-branch, the
// cheapest form found). The values are unpacked by index so the addresses and
// expected bits stay in registers.
template <size_t... I>
int firstChange(const std::atomic<float>* params, const int* index, const uint32_t* bits, int from, int end,
                std::index_sequence<I...>) {
  const std::atomic<float>* const p[] = {params + index[I]...};
  const uint32_t w[] = {bits[I]...};
  const auto same = [&]() { return ((loadBits(p[I]) == w[I]) && ...); };
  int t = from;
  for (; t + 4 <= end; t += 4) {
    if (!same()) return t;
    if (!same()) return t + 1;
    if (!same()) return t + 2;
    if (!same()) return t + 3;
  }
  for (; t < end; ++t)
    if (!same()) return t;
  return end;
}

}  // namespace

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
    if (playing) return ((i + samplePos) / length - cycle) * length;
    return first + (i - begin);
  }

  // gain[t] = finiteGain(base + slope * (at(i + t) - origin)) for t < n.
  void ramp(int i, int n, double base, double slope, double origin, double* gain) const {
    int t = 0;
#if defined(__SSE2__)
    const RampLine line(base, slope, origin);
    const __m128d two = _mm_set1_pd(2.0);
    if (playing) {
      const __m128d p = _mm_set1_pd(samplePos);
      const __m128d l = _mm_set1_pd(length);
      const __m128d c = _mm_set1_pd(cycle);
      __m128d x = _mm_set_pd(i + 1.0, static_cast<double>(i));
      for (; t + 2 <= n; t += 2) {
        _mm_storeu_pd(gain + t, line(_mm_mul_pd(_mm_sub_pd(_mm_div_pd(_mm_add_pd(x, p), l), c), l)));
        x = _mm_add_pd(x, two);
      }
    } else {
      const double p0 = first + (i - begin);
      __m128d x = _mm_set_pd(p0 + 1.0, p0);
      for (; t + 2 <= n; t += 2) {
        _mm_storeu_pd(gain + t, line(x));
        x = _mm_add_pd(x, two);
      }
    }
#endif
    for (; t < n; ++t) gain[t] = finiteGain(base + slope * (at(i + t) - origin));
  }
};

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
  uint32_t changed = 0;
  for (int k = 0; k < kNumSteps + 2; ++k) changed |= bitsOf(raw[k]) ^ bitsOf(derivedFrom_[k]);
  if (hasRun_.load(std::memory_order_relaxed) && changed == 0) return;
  std::memcpy(derivedFrom_, raw, sizeof raw);
  tablesValid_ = false;

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
  // The tables depend on the tempo and rate only through these two values, and
  // on the derived lengths: most blocks can keep the last ones.
  const double minimumRamp = 0.005 * hostSampleRate_;
  if (tablesValid_ && sameBits(samplesPerBar_, tablesBar_) && sameBits(minimumRamp, minimumRamp_)) return true;
  minimumRamp_ = minimumRamp;
  tablesBar_ = samplesPerBar_;
  tablesValid_ = true;
  stepStartsPublished_ = false;
  for (int k = 0; k <= kNumSteps; ++k) stepStartTable_[k] = k * samplesPerStep_;
  for (int k = 0; k < kNumSteps; ++k) {
    noteSamples_[k] = noteLength_[k] * samplesPerBar_;
    noteEnd_[k] = stepStartTable_[k] + noteSamples_[k];
    fills_[k] = noteSamples_[k] == samplesPerStep_;
  }
  if (cachedStep_ >= steps_) cachedStep_ = 0;
  return true;
}


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

// The stretch that starts at sample first; advances the free-running counter
// over it.
GateEngine::Stretch GateEngine::nextStretch(int first, int end) {
  Stretch st;
  st.begin = first;
  st.length = patternLength_;
  if (playing_) {
    st.playing = true;
    st.samplePos = samplePos_;
    const double cycles = (first + samplePos_) / patternLength_;
    st.cycle = std::trunc(cycles);
    // The count changes where the position wraps: at the pattern length, or at
    // zero for a negative count.
    const double pos = st.at(first);
    const double bound = st.cycle < 0.0 ? 0.0 : patternLength_;
    st.end = firstFailing(first, end, guessIndex(first, end, pos, bound), [&](int t) {
      return sameCycle(std::trunc((t + samplePos_) / patternLength_), st.cycle);
    });
    return st;
  }
  VstInt32 counter = freeRun_;
  if (counter < 0) counter = 0;
  counter = counter == std::numeric_limits<VstInt32>::max() ? 0 : counter + 1;
  if (static_cast<double>(counter) >= patternLength_) counter = 0;
  st.first = counter;
  // The largest value the counter reaches before it wraps to 0.
  int64_t top = std::numeric_limits<VstInt32>::max();
  if (patternLength_ <= static_cast<double>(top)) top = static_cast<int64_t>(std::ceil(patternLength_)) - 1;
  int64_t count = top - counter + 1;
  if (count > end - first) count = end - first;
  st.end = first + static_cast<int>(count);
  freeRun_ = counter + static_cast<VstInt32>(count - 1);
  return st;
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

GateEngine::Segment GateEngine::segmentFor(const std::atomic<float>* params, int s, double pos) const {
  Segment seg{};
  // Each parameter is loaded once and remembered: the segment is built from, and
  // later checked against, exactly these values. Only what this segment depends
  // on is read, so only that is watched.
  Watched& w = seg.watched;
  const auto read = [&](int index) {
    for (int v = 0; v < w.count; ++v)
      if (w.index[v] == index) return w.value[v];
    const float value = load(params, index);
    w.index[w.count] = index;
    w.value[w.count] = value;
    w.bits[w.count] = bitsOf(value);
    ++w.count;
    return value;
  };
  const double start = stepStartTable_[s];
  seg.lo = start;
  seg.hi = stepStartTable_[s + 1];
  seg.noteEnd = noteEnd_[s];
  seg.attackEnd = attackEndOf(s, read(kAttack + s));
  if (pos < seg.attackEnd) {
    seg.kind = kSegAttack;
    seg.linear = true;
    seg.origin = start;
    seg.upper = seg.attackEnd < seg.hi ? seg.attackEnd : seg.hi;
    const double level = read(kGate + s);
    const double attackSamples = seg.attackEnd - start;
    const int prev = s == 0 ? lastStep_ : s - 1;
    const bool prevMerged = fills_[prev] && read(kMerge + prev) >= 0.5f;
    if (!prevMerged) {
      seg.base = kClosedLevel;
      seg.slope = (level - kClosedLevel) / attackSamples;
    } else {
      // Crossfade in: the rest of the line the previous step started.
      const double a = read(kGate + prev), b = level;
      const double prevDecaySamples = noteEnd_[prev] - decayStartOf(prev, read(kDecay + prev));
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
    return seg;
  }
  seg.decayStart = decayStartOf(s, read(kDecay + s));
  if (pos < seg.decayStart) {
    seg.kind = kSegHold;
    seg.base = read(kGate + s);
    seg.upper = seg.decayStart < seg.hi ? seg.decayStart : seg.hi;
    return seg;
  }
  seg.merged = fills_[s] && read(kMerge + s) >= 0.5f;
  if (seg.merged) {
    // Crossfade out toward the next step; it also covers the rounding sliver
    // between the note end and the next step start.
    seg.kind = kSegCrossfadeOut;
    seg.linear = true;
    seg.origin = seg.decayStart;
    seg.upper = seg.hi;
    const int next = s + 1 < steps_ ? s + 1 : 0;
    const double a = read(kGate + s), b = read(kGate + next);
    const double decaySamples = seg.noteEnd - seg.decayStart;
    const double nextAttackSamples = attackEndOf(next, read(kAttack + next)) - stepStartTable_[next];
    const double mergeSamples = decaySamples + nextAttackSamples;
    const double mergeSlope = std::fabs(b - a) / mergeSamples;
    seg.base = a;
    seg.slope = a > b ? -mergeSlope : mergeSlope;
  } else if (pos < seg.noteEnd) {
    seg.kind = kSegDecay;
    seg.linear = true;
    seg.origin = seg.decayStart;
    seg.upper = seg.noteEnd < seg.hi ? seg.noteEnd : seg.hi;
    const double level = read(kGate + s);
    seg.base = level;
    seg.slope = -((level - kClosedLevel) / (seg.noteEnd - seg.decayStart));
  } else {
    seg.kind = kSegClosed;
    seg.base = kClosedLevel;
    seg.upper = seg.hi;
  }
  return seg;
}

// The first sample in [from, end) at which a watched parameter reads
// differently, or end: a change takes effect at the next sample.
int GateEngine::unchangedRun(const std::atomic<float>* params, const Watched& w, int from, int end) {
  switch (w.count) {
    case 1: return firstChange(params, w.index, w.bits, from, end, std::make_index_sequence<1>());
    case 2: return firstChange(params, w.index, w.bits, from, end, std::make_index_sequence<2>());
    case 3: return firstChange(params, w.index, w.bits, from, end, std::make_index_sequence<3>());
    case 4: return firstChange(params, w.index, w.bits, from, end, std::make_index_sequence<4>());
    case 5: return firstChange(params, w.index, w.bits, from, end, std::make_index_sequence<5>());
    case 6: return firstChange(params, w.index, w.bits, from, end, std::make_index_sequence<6>());
    default: return end;
  }
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

// Samples first .. end-1 at one gain g.
void GateEngine::constantRun(double g, const Output& io, int first, int end) {
  const int n = end - first;
  if (gainTrace_ != nullptr)
    for (int t = first; t < end; ++t) gainTrace_[t] = g;
  // Left channel fully before the right: with the same buffer passed as input
  // and output of a channel every sample is still read before it is written.
  if (isFloat(g)) {
    const float f = static_cast<float>(g);
    applyFloatGain(f, io.in0 + first, io.out0 + first, n);
    applyFloatGain(f, io.in1 + first, io.out1 + first, n);
    return;
  }
  alignas(16) double gain[kChunk];
  for (int t = 0; t < kChunk; ++t) gain[t] = g;
  for (int t = first; t < end; t += kChunk) {
    const int m = end - t < kChunk ? end - t : kChunk;
    applyGain(gain, io.in0 + t, io.out0 + t, m);
    applyGain(gain, io.in1 + t, io.out1 + t, m);
  }
}

// Samples first .. end-1 of one segment, or fewer: the parameters the segment
// was built from are checked for every sample of a chunk before its output is
// written, and the run ends at the first sample that sees one changed. Checking
// and writing alternate in short chunks so the integer work of the one overlaps
// the floating-point work of the other. Returns where the run ended.
int GateEngine::segmentRun(const std::atomic<float>* params, const Segment& seg, const Stretch& st,
                           const Output& io, int first, int end) {
  const double g = finiteGain(seg.base);
  for (int t = first; t < end;) {
    const int chunkEnd = end - t < kChunk ? end : t + kChunk;
    // The segment itself was built from what sample first read.
    const int stop = unchangedRun(params, seg.watched, t == first ? first + 1 : t, chunkEnd);
    if (seg.linear)
      linearRun(seg, st, io, t, stop);
    else
      constantRun(g, io, t, stop);
    if (stop < chunkEnd) return stop;
    t = stop;
  }
  return end;
}

// Samples first .. end-1 on the segment's line, at their exact positions.
void GateEngine::linearRun(const Segment& seg, const Stretch& st, const Output& io, int first, int end) {
  alignas(16) double gain[kChunk];
  for (int t = first; t < end; t += kChunk) {
    const int m = end - t < kChunk ? end - t : kChunk;
    st.ramp(t, m, seg.base, seg.slope, seg.origin, gain);
    if (gainTrace_ != nullptr) std::memcpy(gainTrace_ + t, gain, sizeof(double) * static_cast<size_t>(m));
    applyGain(gain, io.in0 + t, io.out0 + t, m);
    applyGain(gain, io.in1 + t, io.out1 + t, m);
  }
}

void GateEngine::runStretch(const std::atomic<float>* params, const Stretch& st, const Output& io) {
  if (!st.usable()) {  // no usable position: pass through, publish nothing
    constantRun(gate_rules::kBypassGain, io, st.begin, st.end);
    return;
  }
  for (int i = st.begin; i < st.end;) {
    const double q = st.at(i);
    const int s = findStep(q);
    int end;
    if (s < 0) {
      // Before the pattern (pre-roll) or past its last step: the gate is closed.
      // Past it, the rest of the stretch is too.
      end = st.end;
      if (q < 0.0)
        end = firstFailing(i, st.end, guessIndex(i, st.end, q, 0.0), [&](int t) { return st.at(t) < 0.0; });
      constantRun(kClosedLevel, io, i, end);
    } else {
      cachedStep_ = s;
      const Segment seg = segmentFor(params, s, q);
      // Each segment is an interval of positions, so over the stretch's
      // non-decreasing positions its samples form a prefix.
      end = firstFailing(i, st.end, guessIndex(i, st.end, q, seg.upper),
                         [&](int t) { return inSegment(seg, st.at(t)); });
      end = segmentRun(params, seg, st, io, i, end);
    }
    lastPosition_ = st.at(end - 1);
    positioned_ = true;
    i = end;
  }
}

void GateEngine::publish() {
  publishedPosition_.store(lastPosition_, std::memory_order_relaxed);
  if (stepStartsPublished_) return;
  stepStartsPublished_ = true;
  for (int k = 0; k <= kNumSteps; ++k)
    publishedStepStart_[k].store(stepStartTable_[k], std::memory_order_relaxed);
}

void GateEngine::processBlock(const VstTimeInfo* timeInfo, const std::atomic<float>* params,
                              float* const* inputs, float* const* outputs, VstInt32 sampleFrames) {
  if (params == nullptr) return;
  deriveLengths(params);
  if (sampleFrames <= 0 || inputs == nullptr || outputs == nullptr) return;
  const Output io{inputs[0], inputs[1], outputs[0], outputs[1]};
  if (io.in0 == nullptr || io.in1 == nullptr || io.out0 == nullptr || io.out1 == nullptr) return;

  positioned_ = false;
  if (!prepareClock(timeInfo)) {
    constantRun(gate_rules::kBypassGain, io, 0, sampleFrames);
    return;
  }
  for (int first = 0; first < sampleFrames;) {
    const Stretch st = nextStretch(first, sampleFrames);
    runStretch(params, st, io);
    first = st.end;
  }
  if (positioned_) publish();
}

}  // namespace zendrel
