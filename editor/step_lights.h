// Which step the three step indicators light, from the engine's playing
// position and step starts (in samples). The page indicators have 17 frames:
// value f/16 lights column f of the page, 1.0 lights none; the overview has 32,
// value k/31 lighting step k.
#pragma once

namespace zendrel::editor {

inline constexpr int kLitSteps = 32;

struct StepLights {
  float page1 = 0.0f;
  float page2 = 0.0f;
  float overview = 0.0f;
};

// Updates `lights` for the position `pos`; stepStart holds 33 entries (the
// last is the end of step 32). Only a position strictly inside a step lights
// it; on a boundary or outside every step the lights keep what they had,
// except that a page with no step before the position goes dark.
inline void lightPlayingStep(double pos, const double* stepStart, StepLights& lights) {
  for (int k = 0; k < 16; ++k)
    if (stepStart[k] < pos && pos < stepStart[k + 1]) {
      lights.page1 = k / 16.0f;
      lights.overview = k / 31.0f;
    }
  if (pos > stepStart[16]) lights.page1 = 1.0f;
  for (int k = 16; k < kLitSteps; ++k)
    if (stepStart[k] < pos && pos < stepStart[k + 1]) {
      lights.page2 = (k - 16) / 16.0f;
      lights.overview = k / 31.0f;
    }
  if (pos <= stepStart[16]) lights.page2 = 1.0f;
}

}  // namespace zendrel::editor
