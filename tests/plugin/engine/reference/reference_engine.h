// The gate engine written the slow, plain way: every table recomputed for every
// sample, fields named as the algorithm names them. The product engine must
// match it bit for bit; the benchmark measures against it.
#pragma once

#include <atomic>
#include <cstdint>

#include "plugin/vst/host_interface.h"

namespace zendrel::test {

class ReferenceEngine {
 public:
  void setSampleRate(double rate) { hostSampleRate = rate; }
  void processReplacing(const VstTimeInfo* timeInfo, const std::atomic<float>* paramValues,
                        float* const* inputs, float* const* outputs, VstInt32 sampleFrames);

  // Published values.
  double publishedPosition() const { return published_patternPosition; }
  double publishedStepStart(int k) const { return published_stepStart[k]; }

  double hostSampleRate = 44100.0;
  const VstTimeInfo* timeInfo = nullptr;
  double currentTempo = 0;
  double sampleInBlock = 0;
  int32_t freeRunPosition = 0;
  double stepCount = 0;
  double stepLength = 0;
  double samplesPerStep = 0;
  double patternPosition = 0;
  double closedLevel = 0;
  double rampSlope = 0, mergeSlope = 0, rampAmount = 0, mergeAmount = 0, mergeInAmount = 0;
  double secondsPerBeat = 0;
  double samplesPerBeat = 0;
  double patternLength = 0;
  double samplesPerBar = 0;
  double songPosition = 0;
  double patternCycles = 0;
  double patternCycle = 0;
  double patternPhase = 0;
  double stepLevel[32] = {};
  double noteLength[32] = {};
  double noteSamples[32] = {};
  double stepStart[33] = {};
  double attackEnd[32] = {};
  double attackSamples[32] = {};
  double sinceStepStart[32] = {};
  double decayStart[32] = {};
  double decaySamples[32] = {};
  double sinceDecayStart[32] = {};
  double noteEnd[32] = {};
  double mergeSamples[32] = {};
  double mergeStartLevel = 0;
  int32_t lastStep = 0;

  // Last values of a sample whose timing was usable.
  double published_patternPosition = 0;
  double published_stepStart[33] = {};

  // The gain of the last sample, and optionally of every sample of a block.
  double lastGain = 0;
  double* gainTrace = nullptr;
};

}  // namespace zendrel::test
