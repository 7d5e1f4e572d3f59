// The base classes behind the effect record: construction of the record, the
// six proxies the host calls through it, and the simple base operations. The
// rest lives beside this file: number formatting (number_format.cpp), the two
// dispatchers (dispatcher.cpp, dispatcher_extended.cpp) and the requests to the
// host (host_calls.cpp).
#include "plugin/vst/audio_effect.h"

#include <cstring>

#include "plugin/vst/editor_base.h"

AudioEffect::AudioEffect(audioMasterCallback master, VstInt32 programCount,
                         VstInt32 paramCount)
    : audioMaster(master),
      editor(nullptr),
      sampleRate(44100.0f),
      blockSize(1024),
      numPrograms(programCount),
      numParams(paramCount),
      curProgram(0) {
  std::memset(&cEffect, 0, sizeof cEffect);
  cEffect.magic = kEffectMagic;
  cEffect.dispatcher = dispatchEffectClass;
  cEffect.process = processClass;
  cEffect.setParameter = setParameterClass;
  cEffect.getParameter = getParameterClass;
  cEffect.numPrograms = numPrograms;
  cEffect.numParams = numParams;
  cEffect.numInputs = 1;
  cEffect.numOutputs = 2;
  cEffect.flags = 0;
  cEffect.ioRatio = 1.0f;
  cEffect.object = this;
  cEffect.user = nullptr;
  cEffect.uniqueID = fourCharCode('N', 'o', 'E', 'f');
  cEffect.version = 1;
  cEffect.processReplacing = processClassReplacing;
  cEffect.processDoubleReplacing = processClassDoubleReplacing;
  canProcessReplacing();
}

AudioEffect::~AudioEffect() { delete editor; }

void AudioEffect::setEditor(AEffEditor* newEditor) {
  editor = newEditor;
  setFlag(effFlagsHasEditor, newEditor != nullptr);
}

void AudioEffect::setFlag(VstInt32 flag, bool state) {
  if (state)
    cEffect.flags |= flag;
  else
    cEffect.flags &= ~flag;
}

VstIntPtr AudioEffect::callHost(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                float opt) {
  if (!audioMaster) return 0;
  return audioMaster(&cEffect, opcode, index, value, ptr, opt);
}

// ---- proxies ----

namespace {
AudioEffect* objectOf(AEffect* e) {
  return e ? static_cast<AudioEffect*>(e->object) : nullptr;
}
}  // namespace

VstIntPtr AudioEffect::dispatchEffectClass(AEffect* e, VstInt32 opcode, VstInt32 index,
                                           VstIntPtr value, void* ptr, float opt) {
  AudioEffect* effect = objectOf(e);
  if (!effect) return 0;
  if (opcode == effClose) {
    effect->dispatcher(opcode, index, value, ptr, opt);
    delete effect;
    return 1;
  }
  return effect->dispatcher(opcode, index, value, ptr, opt);
}

void AudioEffect::processClass(AEffect* e, float** inputs, float** outputs,
                               VstInt32 sampleFrames) {
  if (AudioEffect* effect = objectOf(e)) effect->process(inputs, outputs, sampleFrames);
}

void AudioEffect::setParameterClass(AEffect* e, VstInt32 index, float value) {
  if (AudioEffect* effect = objectOf(e)) effect->setParameter(index, value);
}

float AudioEffect::getParameterClass(AEffect* e, VstInt32 index) {
  AudioEffect* effect = objectOf(e);
  return effect ? effect->getParameter(index) : 0.0f;
}

void AudioEffect::processClassReplacing(AEffect* e, float** inputs, float** outputs,
                                        VstInt32 sampleFrames) {
  if (AudioEffect* effect = objectOf(e)) effect->processReplacing(inputs, outputs, sampleFrames);
}

void AudioEffect::processClassDoubleReplacing(AEffect* e, double** inputs, double** outputs,
                                              VstInt32 sampleFrames) {
  if (AudioEffect* effect = objectOf(e))
    effect->processDoubleReplacing(inputs, outputs, sampleFrames);
}

// ---- simple base operations ----

void AudioEffect::setParameterAutomated(VstInt32 index, float value) {
  setParameter(index, value);
  // Other tags (the editor's own controls) keep their local handling only.
  if (isHostParameter(index)) callHost(audioMasterAutomate, index, 0, nullptr, value);
}

void AudioEffect::getProgramName(char* name) {
  if (name) *name = '\0';
}

void AudioEffect::getParameterLabel(VstInt32 index, char* label) {
  if (label) *label = '\0';
}

void AudioEffect::getParameterDisplay(VstInt32 index, char* text) {
  if (text) *text = '\0';
}

void AudioEffect::getParameterName(VstInt32 index, char* text) {
  if (text) *text = '\0';
}

VstInt32 AudioEffect::getMasterVersion() {
  if (!audioMaster) return 1;
  VstIntPtr version = callHost(audioMasterVersion);
  return version == 0 ? 1 : static_cast<VstInt32>(version);
}

VstInt32 AudioEffect::getCurrentUniqueId() {
  return static_cast<VstInt32>(callHost(audioMasterCurrentId));
}

void AudioEffect::masterIdle() { callHost(audioMasterIdle); }

bool AudioEffect::isInputConnected(VstInt32 input) {
  if (!audioMaster) return true;
  return callHost(audioMasterPinConnected, input, 0) == 0;
}

bool AudioEffect::isOutputConnected(VstInt32 output) {
  if (!audioMaster) return true;
  return callHost(audioMasterPinConnected, output, 1) == 0;
}
