// Literal per-sample formulation of the step clock and the gate envelope. Kept
// deliberately naive: no caching, every table for every sample, in the order the
// algorithm lists them. Where the algorithm leaves a case open, the rules are the
// product's (see gate_rules in plugin/engine/gate_engine.h), written out here again.
#include "tests/plugin/engine/reference/reference_engine.h"

#include <cfloat>
#include <cmath>
#include <limits>

#include "plugin/engine/gate_engine.h"

namespace zendrel::test {

namespace {

// Step count bins, compared in float; -1 outside 0..1.
double stepCountBin(float v, double previous) {
  for (int n = 0; n <= 30; ++n) {
    if (v >= static_cast<float>(n) / 32.0f && v < static_cast<float>(n + 1) / 32.0f) return n + 1;
  }
  if (v >= 31.0f / 32.0f && v <= 1.0f) return 32;
  return previous;
}

// The thirteen rows of the note-value table, written out one by one.
double noteValue(float v, double previous) {
  const double d = v;
  if (v >= 0.0f && d < 0.076) return 1.0 / 64;
  if (d >= 0.076 && d < 0.153) return 3.0 / 128;
  if (d >= 0.153 && d < 0.23) return 1.0 / 32;
  if (d >= 0.23 && d < 0.307) return 3.0 / 64;
  if (d >= 0.307 && d < 0.384) return 1.0 / 16;
  if (d >= 0.384 && d < 0.461) return 3.0 / 32;
  if (d >= 0.461 && d < 0.538) return 1.0 / 8;
  if (d >= 0.538 && d < 0.615) return 3.0 / 16;
  if (d >= 0.615 && d < 0.692) return 1.0 / 4;
  if (d >= 0.692 && d < 0.769) return 3.0 / 8;
  if (d >= 0.769 && d < 0.846) return 1.0 / 2;
  if (d >= 0.846 && d < 0.923) return 3.0 / 4;
  if (d >= 0.923 && v <= 1.0f) return 1.0;
  return previous;
}

float value(const std::atomic<float>* p, int index) { return p[index].load(std::memory_order_relaxed); }

float narrowClamped(double v) {
  if (v > FLT_MAX) v = FLT_MAX;
  if (v < -FLT_MAX) v = -FLT_MAX;
  return static_cast<float>(v);
}

}  // namespace

void ReferenceEngine::processReplacing(const VstTimeInfo* info, const std::atomic<float>* paramValues,
                                       float* const* inputs, float* const* outputs,
                                       VstInt32 sampleFrames) {
  timeInfo = info;
  sampleInBlock = 0;
  closedLevel = 0.0;
  stepCount = stepCountBin(value(paramValues, 34), stepCount);
  lastStep = static_cast<int32_t>(stepCount - 1.0);
  stepLength = noteValue(value(paramValues, 37), stepLength);
  for (int k = 0; k < 32; ++k) noteLength[k] = noteValue(value(paramValues, 102 + k), noteLength[k]);

  if (inputs == nullptr || outputs == nullptr || inputs[0] == nullptr || inputs[1] == nullptr ||
      outputs[0] == nullptr || outputs[1] == nullptr)
    return;

  for (VstInt32 i = 0; i < sampleFrames; ++i) {
    double g = zendrel::gate_rules::kBypassGain;
    bool usable = timeInfo != nullptr;
    if (usable) {
      currentTempo = timeInfo->tempo;
      sampleInBlock = i;
      songPosition = i + timeInfo->samplePos;
      secondsPerBeat = 60 / currentTempo;
      samplesPerBeat = secondsPerBeat * hostSampleRate;
      samplesPerBar = samplesPerBeat * 4;
      samplesPerStep = samplesPerBar * stepLength;
      patternLength = (samplesPerBar * stepCount) * stepLength;
      usable = patternLength > 0 && std::isfinite(patternLength);
    }
    double position = 0;
    if (usable) {
      patternCycles = songPosition / patternLength;
      if (std::fabs(patternCycles) < zendrel::gate_rules::kInt32Limit)
        patternCycle = static_cast<double>(static_cast<int32_t>(patternCycles));
      else
        patternCycle = std::trunc(patternCycles);
      patternPhase = patternCycles - patternCycle;
      if (timeInfo->flags & 2) {
        position = patternPhase * patternLength;
        usable = !std::isnan(position);
      } else {
        if (freeRunPosition < 0) freeRunPosition = 0;
        if (freeRunPosition == std::numeric_limits<int32_t>::max())
          freeRunPosition = 0;
        else
          freeRunPosition = freeRunPosition + 1;
        if (static_cast<double>(freeRunPosition) >= patternLength) freeRunPosition = 0;
        position = freeRunPosition;
      }
    }
    if (usable) {
      patternPosition = position;
      for (int k = 0; k < 32; ++k) noteSamples[k] = noteLength[k] * samplesPerBar;
      for (int k = 0; k <= 32; ++k) stepStart[k] = k * samplesPerStep;
      published_patternPosition = patternPosition;
      for (int k = 0; k <= 32; ++k) published_stepStart[k] = stepStart[k];

      const double minimumRamp = 0.005 * hostSampleRate;
      for (int k = 0; k < 32; ++k) {
        stepLevel[k] = value(paramValues, k);
        noteEnd[k] = stepStart[k] + noteSamples[k];
        attackEnd[k] = stepStart[k] + value(paramValues, 134 + k) * noteSamples[k];
        if (attackEnd[k] == noteEnd[k]) {
          attackEnd[k] = noteEnd[k] - minimumRamp;
        } else if (attackEnd[k] == stepStart[k]) {
          attackEnd[k] = stepStart[k] + minimumRamp;
        }
        decayStart[k] = noteEnd[k] - value(paramValues, 166 + k) * noteSamples[k];
        if (decayStart[k] == noteEnd[k]) {
          decayStart[k] = noteEnd[k] - minimumRamp;
        } else if (stepStart[k] + minimumRamp > decayStart[k]) {
          decayStart[k] = stepStart[k] + minimumRamp;
        }
        attackSamples[k] = attackEnd[k] - stepStart[k];
        decaySamples[k] = noteEnd[k] - decayStart[k];
        sinceStepStart[k] = patternPosition - stepStart[k];
        sinceDecayStart[k] = patternPosition - decayStart[k];
      }
      for (int k = 0; k <= 30; ++k) {
        if (stepCount == k + 1)
          mergeSamples[k] = decaySamples[k] + attackSamples[0];
        else
          mergeSamples[k] = decaySamples[k] + attackSamples[k + 1];
      }
      mergeSamples[31] = decaySamples[31] + attackSamples[0];

      // The playing step; the pre-roll sign of ppqPos is not consulted, and a
      // step beyond the pattern's count counts as no step.
      int s = -1;
      for (int k = 0; k < 32; ++k) {
        if (stepStart[k] <= patternPosition && patternPosition < stepStart[k + 1]) {
          s = k;
          break;
        }
      }
      if (s >= stepCount) s = -1;

      if (s < 0) {
        g = closedLevel;
      } else {
        const int p = s == 0 ? lastStep : s - 1;
        const int next = s + 1 < stepCount ? s + 1 : 0;
        const bool mergeP = value(paramValues, 198 + p) >= 0.5f;
        const bool mergeS = value(paramValues, 198 + s) >= 0.5f;
        // A merge whose note does not fill its step gives that side the plain shape.
        const bool crossfadeIn = mergeP && noteSamples[p] == samplesPerStep;
        const bool crossfadeOut = mergeS && noteSamples[s] == samplesPerStep;
        if (patternPosition < attackEnd[s]) {
          if (!crossfadeIn) {
            rampSlope = (stepLevel[s] - closedLevel) / attackSamples[s];
            rampAmount = rampSlope * sinceStepStart[s];
            g = closedLevel + rampAmount;
          } else {
            const double A = stepLevel[p], B = stepLevel[s];
            mergeSlope = std::fabs(B - A) / mergeSamples[p];
            mergeInAmount = mergeSlope * sinceStepStart[s];
            if (A > B) {
              mergeStartLevel = A - mergeSlope * decaySamples[p];
              g = mergeStartLevel - mergeInAmount;
            } else {
              mergeStartLevel = A + mergeSlope * decaySamples[p];
              g = mergeStartLevel + mergeInAmount;
            }
          }
        } else if (patternPosition < decayStart[s]) {
          g = stepLevel[s];
        } else if (crossfadeOut) {
          // Also past the note end, in the rounding sliver before the next step.
          const double A = stepLevel[s], B = stepLevel[next];
          mergeSlope = std::fabs(B - A) / mergeSamples[s];
          mergeAmount = mergeSlope * sinceDecayStart[s];
          g = A > B ? A - mergeAmount : A + mergeAmount;
        } else if (patternPosition < noteEnd[s]) {
          rampSlope = (stepLevel[s] - closedLevel) / decaySamples[s];
          rampAmount = rampSlope * sinceDecayStart[s];
          g = stepLevel[s] - rampAmount;
        } else {
          g = closedLevel;
        }
      }
      if (!std::isfinite(g)) g = closedLevel;
    }
    lastGain = g;
    if (gainTrace != nullptr) gainTrace[i] = g;
    outputs[0][i] = narrowClamped(g * static_cast<double>(inputs[0][i]));
    outputs[1][i] = narrowClamped(g * static_cast<double>(inputs[1][i]));
  }
}

}  // namespace zendrel::test
