// The effect inside the test module: four parameters, the base classes'
// answers, and a process that reads the host's time once per block.
#include <atomic>
#include <cstring>

#include "plugin/vst/audio_effect.h"
#include "plugin/vst/effect_factory.h"
#include "plugin/vst/module_instance.h"

namespace {

class TestFx : public AudioEffectX {
 public:
  explicit TestFx(audioMasterCallback master) : AudioEffectX(master, 2, 4) {
    setNumInputs(2);
    setNumOutputs(2);
    setUniqueID(fourCharCode('T', 's', 'F', 'x'));
    for (VstInt32 i = 0; i < 4; ++i) setParameter(i, 0.25f * static_cast<float>(i));
  }
  void setParameter(VstInt32 index, float value) override {
    if (index >= 0 && index < 4) values_[index].store(value, std::memory_order_relaxed);
    updateDisplay();
  }
  float getParameter(VstInt32 index) override {
    return index >= 0 && index < 4 ? values_[index].load(std::memory_order_relaxed) : 0.0f;
  }
  void getParameterName(VstInt32 index, char* text) override {
    if (index >= 0 && index < 4) std::strcpy(text, index == 0 ? "Gain" : "Other");
  }
  void getParameterDisplay(VstInt32 index, char* text) override {
    if (index >= 0 && index < 4) float2string(getParameter(index), text, 8);
  }
  bool getEffectName(char* name) override {
    std::strcpy(name, "TestFx");
    return true;
  }
  // Lets the test see what the module's loader entry stored.
  VstIntPtr vendorSpecific(VstInt32 lArg, VstIntPtr lArg2, void* ptrArg, float floatArg) override {
    return reinterpret_cast<VstIntPtr>(moduleInstance);
  }
  // Output = input * gain while the host reports a tempo, silence otherwise.
  void processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) override {
    VstTimeInfo* time = getTimeInfo(kVstTransportChanged | kVstTransportPlaying |
                                    kVstPpqPosValid | kVstTempoValid);
    float gain = time && (time->flags & kVstTempoValid) ? getParameter(0) : 0.0f;
    for (VstInt32 c = 0; c < 2; ++c)
      for (VstInt32 n = 0; n < sampleFrames; ++n) outputs[c][n] = inputs[c][n] * gain;
  }

 private:
  // Shared with the audio thread without a lock, as the real effect does.
  std::atomic<float> values_[4] = {};
};

}  // namespace

AudioEffect* createEffectInstance(audioMasterCallback audioMaster) {
  return new TestFx(audioMaster);
}
