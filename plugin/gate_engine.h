// The audio half of the effect: the step clock that follows the host's tempo and
// position, and the gate envelope that turns the pattern into one gain per sample.
#pragma once

#include <atomic>

#include "plugin/host_interface.h"
#include "plugin/parameter_ids.h"

namespace zendrel {

class GateEngine {
 public:
  GateEngine();

  // hostSampleRate: the rate the effect took on its last resume.
  void setSampleRate(double hostSampleRate);
  double sampleRate() const;

  // One block: derives the lengths from `params` (the 230 working values), then
  // writes sampleFrames gated frames. timeInfo may be null; buffers may alias.
  void processBlock(const VstTimeInfo* timeInfo, const std::atomic<float>* params,
                    float* const* inputs, float* const* outputs, VstInt32 sampleFrames);

  // What the last block derived; all zero before the first block (hasRun false).
  bool hasRun() const;
  double stepCount() const;
  double stepLength() const;
  double noteLength(int step) const;

  // Published for the editor's step lights: read on another thread.
  double patternPosition() const;
  double stepStart(int index) const;  // index 0..32; 32 is the end of the last step

 private:
};

}  // namespace zendrel
