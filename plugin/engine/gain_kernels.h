// Per-sample rules and kernels the engine's files share: how a gain is held
// finite, how a product becomes a sample, and the vector loops that apply a
// gain or evaluate a ramp. Inside the engine only.
#pragma once

#include <atomic>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace zendrel {
namespace engine_detail {

constexpr double kClosedLevel = 0.0;

inline float load(const std::atomic<float>* params, int index) {
  return params[index].load(std::memory_order_relaxed);
}

inline uint32_t bitsOf(float v) {
  uint32_t b;
  std::memcpy(&b, &v, sizeof b);
  return b;
}

[[gnu::always_inline]] inline uint32_t loadBits(const std::atomic<float>* p) { return bitsOf(p->load(std::memory_order_relaxed)); }

// A gain that came out infinite or not a number (extreme parameter values or
// degenerate crossfades) closes the gate rather than poisoning the output.
[[gnu::always_inline]] inline double finiteGain(double g) { return std::fabs(g) <= DBL_MAX ? g : kClosedLevel; }

// Products beyond the float range are held at its edge instead of turning into
// infinities; anything in range rounds exactly as before. A NaN passes through.
[[gnu::always_inline]] inline float toSample(double v) {
  constexpr double kMax = FLT_MAX;
  v = v < -kMax ? -kMax : v;
  v = kMax < v ? kMax : v;
  return static_cast<float>(v);
}

[[gnu::always_inline]] inline float clampSample(float v) {
  v = v < -FLT_MAX ? -FLT_MAX : v;
  return FLT_MAX < v ? FLT_MAX : v;
}

// out[t] = toSample(gain[t] * in[t]). Every input is read before the output at
// the same index is written, so in and out may be the same buffer.
inline void applyGain(const double* gain, const float* in, float* out, int n) {
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
inline void applyFloatGain(float g, const float* in, float* out, int n) {
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

#if defined(__SSE2__)
// The kernels of a watched run, four frames of one channel at a time: each
// keeps its constants in registers across the loop.

// A gain that is itself a float: gain * in in float, held at the range's edge
// (applyFloatGain's rule).
struct FloatGain4 {
  __m128 g, hi, lo;
  explicit FloatGain4(float gain) : g(_mm_set1_ps(gain)), hi(_mm_set1_ps(FLT_MAX)), lo(_mm_set1_ps(-FLT_MAX)) {}
  [[gnu::always_inline]] void operator()(const float* in, float* out) const {
    _mm_storeu_ps(out, _mm_min_ps(hi, _mm_max_ps(lo, _mm_mul_ps(g, _mm_loadu_ps(in)))));
  }
};

// Gains in double: each product formed in double from the widened input, then
// rounded and held at the range's edge (applyGain's rule).
struct DoubleGain4 {
  __m128 hi, lo;
  DoubleGain4() : hi(_mm_set1_ps(FLT_MAX)), lo(_mm_set1_ps(-FLT_MAX)) {}
  // g01: the gains of frames 0 and 1, g23 of frames 2 and 3.
  [[gnu::always_inline]] void operator()(__m128d g01, __m128d g23, const float* in, float* out) const {
    const __m128d x01 = _mm_cvtps_pd(_mm_castsi128_ps(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(in))));
    const __m128d x23 = _mm_cvtps_pd(_mm_castsi128_ps(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(in + 2))));
    const __m128 v = _mm_movelh_ps(_mm_cvtpd_ps(_mm_mul_pd(g01, x01)), _mm_cvtpd_ps(_mm_mul_pd(g23, x23)));
    _mm_storeu_ps(out, _mm_min_ps(hi, _mm_max_ps(lo, v)));
  }
};
#endif

inline bool isFloat(double g) { return std::fabs(g) <= FLT_MAX && static_cast<double>(static_cast<float>(g)) == g; }

#if defined(__SSE2__)
// A segment's line at two samples, from how far each lies past the line's
// origin (pos - origin): finiteGain(base + slope * since).
struct RampLine {
  __m128d base, slope, magnitude, largest;
  RampLine(double b, double k)
      : base(_mm_set1_pd(b)),
        slope(_mm_set1_pd(k)),
        magnitude(_mm_castsi128_pd(_mm_set1_epi64x(0x7fffffffffffffffLL))),
        largest(_mm_set1_pd(DBL_MAX)) {}
  [[gnu::always_inline]] __m128d operator()(__m128d since) const {
    const __m128d g = _mm_add_pd(base, _mm_mul_pd(slope, since));
    // |g| <= DBL_MAX is false for infinities and NaN: those become +0.0.
    return _mm_and_pd(g, _mm_cmple_pd(_mm_and_pd(g, magnitude), largest));
  }
};

// The same line where no gain of the run can come out infinite or not a number.
struct FiniteLine {
  __m128d base, slope;
  FiniteLine(double b, double k) : base(_mm_set1_pd(b)), slope(_mm_set1_pd(k)) {}
  [[gnu::always_inline]] __m128d operator()(__m128d since) const { return _mm_add_pd(base, _mm_mul_pd(slope, since)); }
};
#endif

// True when a + b is exactly a double (no rounding, no overflow): the error
// term of the rounded sum is zero.
inline bool exactSum(double a, double b) {
  const double s = a + b;
  const double bb = s - a;
  return (a - (s - bb)) + (b - bb) == 0.0;
}

}  // namespace engine_detail
}  // namespace zendrel
