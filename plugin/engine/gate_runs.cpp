// Writing the samples of one segment: a constant gain or a ramp, applied to
// both channels, while the parameters the segment was built from are watched
// for a change.
#include <cmath>
#include <cstring>
#include <type_traits>
#include <utility>

#include "plugin/engine/gain_kernels.h"
#include "plugin/engine/gate_engine.h"
#include "plugin/engine/stretch.h"

namespace zendrel {

using namespace engine_detail;

namespace {

// The watched values are read once per group of this many samples, at its
// first sample, and the whole group uses what was read there. Another thread's
// write lands at no defined sample, so this is one of the outcomes of reading
// at every sample (the one where the write came just before or just after the
// group), while it costs an eighth of the loads and branches.
constexpr int kGroup = 8;

// Where the gains go, already offset to the block's first sample.
struct Io {
  const float* in0;
  const float* in1;
  float* out0;
  float* out1;
  double* trace;  // tests only: each sample's gain, or null
};

// The watched parameters unpacked so their addresses and expected bits stay in
// registers; same() loads each once and compares its bits with one branch each.
template <size_t N, size_t... I>
struct Watch {
  const std::atomic<float>* p[N];
  uint32_t w[N];
  [[gnu::always_inline]] bool same() const { return ((loadBits(p[I]) == w[I]) && ...); }
};

template <size_t... I>
Watch<sizeof...(I), I...> makeWatch(const std::atomic<float>* params, const int* index, const uint32_t* bits,
                                    std::index_sequence<I...>) {
  return {{(params + index[I])...}, {bits[I]...}};
}

// One gain for every sample, itself a float: applied as a float multiply
// (exact in double, so it rounds as the double product does).
struct FloatConstant {
  float g;
  double wide;
#if defined(__SSE2__)
  FloatGain4 apply;
  explicit FloatConstant(double gain) : g(static_cast<float>(gain)), wide(gain), apply(g) {}
#else
  explicit FloatConstant(double gain) : g(static_cast<float>(gain)), wide(gain) {}
#endif
  template <bool Trace>
  [[gnu::always_inline]] void eight(int t, const Io& io) const {
#if defined(__SSE2__)
    apply(io.in0 + t, io.out0 + t);
    apply(io.in0 + t + 4, io.out0 + t + 4);
    apply(io.in1 + t, io.out1 + t);
    apply(io.in1 + t + 4, io.out1 + t + 4);
    if (Trace)
      for (int k = 0; k < kGroup; ++k) io.trace[t + k] = wide;
#else
    for (int k = 0; k < kGroup; ++k) one<Trace>(t + k, io);
#endif
  }
  template <bool Trace>
  void one(int t, const Io& io) const {
    io.out0[t] = clampSample(g * io.in0[t]);
    io.out1[t] = clampSample(g * io.in1[t]);
    if (Trace) io.trace[t] = wide;
  }
};

// One gain for every sample, in double.
struct DoubleConstant {
  double g;
#if defined(__SSE2__)
  __m128d gv;
  DoubleGain4 apply;
  explicit DoubleConstant(double gain) : g(gain), gv(_mm_set1_pd(gain)) {}
#else
  explicit DoubleConstant(double gain) : g(gain) {}
#endif
  template <bool Trace>
  [[gnu::always_inline]] void eight(int t, const Io& io) const {
#if defined(__SSE2__)
    apply(gv, gv, io.in0 + t, io.out0 + t);
    apply(gv, gv, io.in0 + t + 4, io.out0 + t + 4);
    apply(gv, gv, io.in1 + t, io.out1 + t);
    apply(gv, gv, io.in1 + t + 4, io.out1 + t + 4);
    if (Trace)
      for (int k = 0; k < kGroup; ++k) io.trace[t + k] = g;
#else
    for (int k = 0; k < kGroup; ++k) one<Trace>(t + k, io);
#endif
  }
  template <bool Trace>
  void one(int t, const Io& io) const {
    io.out0[t] = toSample(g * static_cast<double>(io.in0[t]));
    io.out1[t] = toSample(g * static_cast<double>(io.in1[t]));
    if (Trace) io.trace[t] = g;
  }
};

// How far each sample of a ramp lies past the line's origin, pos - origin,
// rounded exactly as the per-sample form rounds it; four pairs of samples at a
// time, each from the group's first sample t, so no chain of additions runs
// through the loop. The Exact forms drop additions whose results are exact
// (whole numbers, or a sum shown exact over the whole run), which leaves every
// value as it was.
#if defined(__SSE2__)
struct Pairs {
  __m128d k01 = _mm_set_pd(1.0, 0.0), k23 = _mm_set_pd(3.0, 2.0), k45 = _mm_set_pd(5.0, 4.0),
          k67 = _mm_set_pd(7.0, 6.0);
};
#endif

// A playing transport: the phase of the sample's cycle count times the pattern
// length, as the per-sample clock forms it.
struct PlayingPositions {
  double samplePos, length, cycle;
  double operator()(int i) const { return ((i + samplePos) / length - cycle) * length; }
#if defined(__SSE2__)
  // Exact: t + samplePos is exact for every sample of the run, so the
  // song position of sample t + k is (t + samplePos) + k.
  template <bool Exact>
  struct Vector : Pairs {
    __m128d p, l, c, o;
    Vector(const PlayingPositions& s, double origin)
        : p(_mm_set1_pd(s.samplePos)), l(_mm_set1_pd(s.length)), c(_mm_set1_pd(s.cycle)), o(_mm_set1_pd(origin)) {}
    [[gnu::always_inline]] __m128d since(__m128d song) const {
      return _mm_sub_pd(_mm_mul_pd(_mm_sub_pd(_mm_div_pd(song, l), c), l), o);
    }
    [[gnu::always_inline]] void operator()(int t, __m128d* d) const {
      const __m128d i = _mm_set1_pd(static_cast<double>(t));
      if (Exact) {
        const __m128d ip = _mm_add_pd(i, p);
        d[0] = since(_mm_add_pd(ip, k01));
        d[1] = since(_mm_add_pd(ip, k23));
        d[2] = since(_mm_add_pd(ip, k45));
        d[3] = since(_mm_add_pd(ip, k67));
      } else {
        d[0] = since(_mm_add_pd(_mm_add_pd(i, k01), p));
        d[1] = since(_mm_add_pd(_mm_add_pd(i, k23), p));
        d[2] = since(_mm_add_pd(_mm_add_pd(i, k45), p));
        d[3] = since(_mm_add_pd(_mm_add_pd(i, k67), p));
      }
    }
  };
#endif
  bool exactOver(int first, int last, double) const {
    return exactSum(first, samplePos) && exactSum(last, samplePos) && std::fabs(first + samplePos) < 0x1p53 &&
           std::fabs(last + samplePos) < 0x1p53;
  }
};

// A stopped transport: the free-running counter, one per sample.
struct CounterPositions {
  double offset;  // the counter minus the sample index: whole numbers, so every sum is exact
  double operator()(int i) const { return offset + i; }
#if defined(__SSE2__)
  // Exact: offset - origin is exact, and so is t + (offset - origin) for
  // every sample of the run: then pos - origin is (t + (offset - origin)) + k.
  template <bool Exact>
  struct Vector : Pairs {
    __m128d off, o, r;
    Vector(const CounterPositions& s, double origin)
        : off(_mm_set1_pd(s.offset)), o(_mm_set1_pd(origin)), r(_mm_set1_pd(s.offset - origin)) {}
    [[gnu::always_inline]] void operator()(int t, __m128d* d) const {
      const __m128d i = _mm_set1_pd(static_cast<double>(t));
      if (Exact) {
        const __m128d ir = _mm_add_pd(i, r);
        d[0] = _mm_add_pd(ir, k01);
        d[1] = _mm_add_pd(ir, k23);
        d[2] = _mm_add_pd(ir, k45);
        d[3] = _mm_add_pd(ir, k67);
      } else {
        d[0] = _mm_sub_pd(_mm_add_pd(_mm_add_pd(i, k01), off), o);
        d[1] = _mm_sub_pd(_mm_add_pd(_mm_add_pd(i, k23), off), o);
        d[2] = _mm_sub_pd(_mm_add_pd(_mm_add_pd(i, k45), off), o);
        d[3] = _mm_sub_pd(_mm_add_pd(_mm_add_pd(i, k67), off), o);
      }
    }
  };
#endif
  // A sum of a whole number and r is exact at both ends of the run, and no
  // larger between, so it is exact between too.
  bool exactOver(int first, int last, double origin) const {
    const double r = offset - origin;
    return exactSum(offset, -origin) && exactSum(first, r) && exactSum(last, r) && std::fabs(first + r) < 0x1p53 &&
           std::fabs(last + r) < 0x1p53;
  }
};

// The segment's line at each sample's exact position. Fast: no gain of the run
// can come out infinite or not a number, and the run's sums are exact.
template <class Positions, bool Fast>
struct Ramp {
  Positions at;
  double base, slope, origin;
#if defined(__SSE2__)
  typename Positions::template Vector<Fast> since;
  typename std::conditional<Fast, FiniteLine, RampLine>::type line;
  DoubleGain4 apply;
  Ramp(const Positions& p, double b, double s, double o)
      : at(p), base(b), slope(s), origin(o), since(p, o), line(b, s) {}
#else
  Ramp(const Positions& p, double b, double s, double o) : at(p), base(b), slope(s), origin(o) {}
#endif
  template <bool Trace>
  [[gnu::always_inline]] void eight(int t, const Io& io) const {
#if defined(__SSE2__)
    __m128d d[4];
    since(t, d);
    const __m128d g01 = line(d[0]), g23 = line(d[1]), g45 = line(d[2]), g67 = line(d[3]);
    apply(g01, g23, io.in0 + t, io.out0 + t);
    apply(g45, g67, io.in0 + t + 4, io.out0 + t + 4);
    apply(g01, g23, io.in1 + t, io.out1 + t);
    apply(g45, g67, io.in1 + t + 4, io.out1 + t + 4);
    if (Trace) {
      _mm_storeu_pd(io.trace + t, g01);
      _mm_storeu_pd(io.trace + t + 2, g23);
      _mm_storeu_pd(io.trace + t + 4, g45);
      _mm_storeu_pd(io.trace + t + 6, g67);
    }
#else
    for (int k = 0; k < kGroup; ++k) one<Trace>(t + k, io);
#endif
  }
  template <bool Trace>
  void one(int t, const Io& io) const {
    const double g = finiteGain(base + slope * (at(t) - origin));
    io.out0[t] = toSample(g * static_cast<double>(io.in0[t]));
    io.out1[t] = toSample(g * static_cast<double>(io.in1[t]));
    if (Trace) io.trace[t] = g;
  }
};

// Samples first .. end-1 of a segment, or fewer: group by group, each group
// after the first (whose values the segment was built from) first reloads the
// watched values, and the run ends at the first group that sees one changed.
template <bool Trace, class W, class Gains>
[[gnu::noinline]] int watchedRun(const W& watchedValues, const Gains& gainSource, const Io& buffers, int first,
                                 int end) {
  // Local copies: no output store can alias them, so they stay in registers.
  const W watch = watchedValues;
  const Gains gains = gainSource;
  const Io io = buffers;
  int t = first;
  for (;;) {
    if (end - t < kGroup) {
      for (; t < end; ++t) gains.template one<Trace>(t, io);
      return end;
    }
    gains.template eight<Trace>(t, io);
    t += kGroup;
    if (t == end || !watch.same()) return t;
  }
}

template <class Gains>
int watchedRun(const std::atomic<float>* params, const int* index, const uint32_t* bits, int count,
               const Gains& gains, const Io& io, int first, int end) {
  const auto run = [&](auto seq) {
    const auto watch = makeWatch(params, index, bits, seq);
    return io.trace != nullptr ? watchedRun<true>(watch, gains, io, first, end)
                               : watchedRun<false>(watch, gains, io, first, end);
  };
  switch (count) {
    case 1: return run(std::make_index_sequence<1>());
    case 2: return run(std::make_index_sequence<2>());
    case 3: return run(std::make_index_sequence<3>());
    case 4: return run(std::make_index_sequence<4>());
    case 5: return run(std::make_index_sequence<5>());
    default: return run(std::make_index_sequence<6>());
  }
}

// A ramp over the run, on the fast path when no gain of it can come out
// infinite or not a number and its sums are exact. The run's positions lie
// between pos (its first) and upper (where the segment ends), and the line is
// monotonic in the position, so its gains lie between the line's values at
// those two: when both are finite, so is every gain of the run.
template <class Positions>
int rampRun(const std::atomic<float>* params, const int* index, const uint32_t* bits, int count, double base,
            double slope, double origin, double pos, double upper, const Positions& at, const Io& io, int first,
            int end) {
  const double g0 = base + slope * (pos - origin), g1 = base + slope * (upper - origin);
  if (std::fabs(g0) <= DBL_MAX && std::fabs(g1) <= DBL_MAX && at.exactOver(first, end - 1, origin)) {
    const Ramp<Positions, true> ramp(at, base, slope, origin);
    return watchedRun(params, index, bits, count, ramp, io, first, end);
  }
  const Ramp<Positions, false> ramp(at, base, slope, origin);
  return watchedRun(params, index, bits, count, ramp, io, first, end);
}

}  // namespace

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

// Samples first .. end-1 of one segment, or fewer when a parameter the segment
// was built from changes; returns where the run ended.
int GateEngine::segmentRun(const std::atomic<float>* params, const Segment& seg, const Stretch& st,
                           const Output& out, int first, double pos, int end) {
  const Io io{out.in0, out.in1, out.out0, out.out1, gainTrace_};
  const Watched& w = seg.watched;
  if (seg.linear) {
    if (st.playing)
      return rampRun(params, w.index, w.bits, w.count, seg.base, seg.slope, seg.origin, pos, seg.upper,
                     PlayingPositions{st.samplePos, st.length, st.cycle}, io, first, end);
    return rampRun(params, w.index, w.bits, w.count, seg.base, seg.slope, seg.origin, pos, seg.upper,
                   CounterPositions{st.first - st.begin}, io, first, end);
  }
  const double g = finiteGain(seg.base);
  if (isFloat(g)) return watchedRun(params, w.index, w.bits, w.count, FloatConstant(g), io, first, end);
  return watchedRun(params, w.index, w.bits, w.count, DoubleConstant(g), io, first, end);
}

}  // namespace zendrel
