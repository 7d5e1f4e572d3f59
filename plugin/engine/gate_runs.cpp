// Writing the samples of one segment: a constant gain or a ramp, applied to
// both channels chunk by chunk, while the parameters the segment was built
// from are watched for a change.
#include <cstring>
#include <utility>

#include "plugin/engine/gain_kernels.h"
#include "plugin/engine/gate_engine.h"
#include "plugin/engine/stretch.h"

namespace zendrel {

using namespace engine_detail;

namespace {

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

void GateEngine::Stretch::ramp(int i, int n, double base, double slope, double origin, double* gain) const {
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

}  // namespace zendrel
