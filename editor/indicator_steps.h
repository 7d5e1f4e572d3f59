// How the editor's increment and decrement buttons move an indicator: first
// the value is snapped to the centre of its bin, then, on the press, moved one
// position. The step count has 32 bins of 1/32; the lengths have the thirteen
// note-value bins. Values outside 0..1 (or not a number) are never snapped.
#pragma once

namespace zendrel::editor {

inline constexpr int kStepCountBins = 32;
inline constexpr double kStepCountStep = 1.0 / kStepCountBins;  // 0.03125
inline constexpr double kStepCountTopBin = 31.0 / 32.0;         // 0.96875
inline constexpr double kLengthStep = 0.077;
inline constexpr float kLengthTop = 0.9615f;
inline constexpr int kLengthBins = 13;
inline constexpr double kLengthBinUpper[kLengthBins] = {0.076, 0.153, 0.23,  0.307, 0.384, 0.461, 0.538,
                                                        0.615, 0.692, 0.769, 0.846, 0.923, 1.0};

// The value moved to its bin's centre (k + 0.5) / 32; 0.984375 for 31/32..1.
inline float snapStepCount(float value) {
  const double v = value;
  if (!(v >= 0.0 && v <= 1.0)) return value;
  for (int k = 0; k < kStepCountBins - 1; ++k)
    if (v >= k / 32.0 && v < (k + 1) / 32.0) return static_cast<float>((k + 0.5) / 32.0);
  return static_cast<float>(31.5 / 32.0);
}

// The value moved to its bin's centre 0.0375 + 0.077 k; exactly 1.0 stays.
inline float snapLength(float value) {
  const double v = value;
  if (!(v >= 0.0 && v < 1.0)) return value;
  int k = 0;
  while (v >= kLengthBinUpper[k]) ++k;
  return static_cast<float>(0.0375 + 0.077 * k);
}

// One press of a step count button, after snapping; the sums in double.
inline float stepCountUp(float value) {
  return value < kStepCountTopBin ? static_cast<float>(value + kStepCountStep) : value;
}
inline float stepCountDown(float value) {
  return value >= kStepCountStep ? static_cast<float>(value - kStepCountStep) : value;
}

// One press of a length button, after snapping. The top test is made in
// single precision, so the snapped top 0.9615 is not below the top.
inline float lengthUp(float value) { return value < kLengthTop ? static_cast<float>(value + kLengthStep) : value; }
inline float lengthDown(float value) { return value > kLengthStep ? static_cast<float>(value - kLengthStep) : value; }

}  // namespace zendrel::editor
