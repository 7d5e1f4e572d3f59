// Placeholder until the engine lands: silence out, nothing derived.
#include "plugin/gate_engine.h"

namespace zendrel {

GateEngine::GateEngine() = default;
void GateEngine::setSampleRate(double) {}
double GateEngine::sampleRate() const { return 44100.0; }
void GateEngine::processBlock(const VstTimeInfo*, const std::atomic<float>*, float* const*,
                              float* const* outputs, VstInt32 sampleFrames) {
  for (VstInt32 i = 0; i < sampleFrames; ++i) outputs[0][i] = outputs[1][i] = 0.0f;
}
bool GateEngine::hasRun() const { return false; }
double GateEngine::stepCount() const { return 0.0; }
double GateEngine::stepLength() const { return 0.0; }
double GateEngine::noteLength(int) const { return 0.0; }
double GateEngine::patternPosition() const { return 0.0; }
double GateEngine::stepStart(int) const { return 0.0; }

}  // namespace zendrel
