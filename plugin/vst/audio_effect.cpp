// The base classes behind the effect record: construction of the record and its
// proxies, number formatting for display texts, the two dispatcher switches and
// the wrappers of every request the plug-in can make to its host.
#include "plugin/vst/audio_effect.h"

#include <climits>
#include <cmath>
#include <cstring>

#include "plugin/vst/editor_base.h"

namespace {

// Copies at most maxLen characters of source, then terminates: after the
// copied text and, always, at position maxLen (text holds maxLen + 1 bytes).
void copyLimited(char* text, const char* source, VstInt32 maxLen) {
  std::size_t n = std::strlen(source);
  if (n > static_cast<std::size_t>(maxLen)) n = static_cast<std::size_t>(maxLen);
  std::memcpy(text, source, n);
  text[n] = '\0';
  text[maxLen] = '\0';
}

// Appends source so that text holds at most maxLen characters in all.
void appendLimited(char* text, const char* source, VstInt32 maxLen) {
  std::size_t have = std::strlen(text);
  if (have >= static_cast<std::size_t>(maxLen)) return;
  std::size_t room = static_cast<std::size_t>(maxLen) - have;
  std::size_t n = std::strlen(source);
  if (n > room) n = room;
  std::memcpy(text + have, source, n);
  text[have + n] = '\0';
}

// A float the host passes for an integer argument: truncated toward zero,
// 0 when it has no int32 value (NaN, infinities, out of range), never UB.
VstInt32 truncateToInt(double value) {
  if (!(value > -2147483649.0 && value < 2147483648.0)) return 0;
  return static_cast<VstInt32>(value);
}

VstIntPtr fromBool(bool b) { return b ? 1 : 0; }

}  // namespace

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
  callHost(audioMasterAutomate, index, 0, nullptr, value);
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

// ---- number formatting ----

void AudioEffect::float2string(float value, char* text, VstInt32 maxLen) {
  if (!text || maxLen < 0) return;
  double v = value;
  // Not in the digit algorithm's domain: its digit casts would be undefined.
  if (std::isnan(v)) {
    copyLimited(text, "NaN", maxLen);
    return;
  }
  VstInt32 used = 0;
  bool negative = false;
  bool huge = false;
  if (v < 0) {
    v = -v;
    used = 1;
    negative = true;
    huge = v > 9999999.0;
  } else {
    huge = v > 99999999.0;
  }
  if (huge) {
    copyLimited(text, "Huge!", maxLen);
    return;
  }

  char scratch[32];
  int pos = 31;
  scratch[pos--] = '\0';
  scratch[pos--] = '.';
  double ip = std::floor(v);
  scratch[pos--] = static_cast<char>('0' + static_cast<int>(std::fmod(ip, 10.0)));
  ip /= 10.0;
  used += 2;
  while (ip >= 1.0 && used < 8) {
    scratch[pos--] = static_cast<char>('0' + static_cast<int>(std::fmod(ip, 10.0)));
    ip /= 10.0;
    used++;
  }
  if (negative) scratch[pos--] = '-';
  copyLimited(text, scratch + pos + 1, maxLen);
  if (used >= 8) return;

  int places = 8 - used;
  double frac = std::pow(10.0, places) * std::fmod(v, 1.0);
  char digits[16];
  digits[places] = '\0';
  for (int i = places - 1; i >= 0; --i) {
    if (frac <= 0) {
      digits[i] = '0';
    } else {
      digits[i] = static_cast<char>('0' + static_cast<int>(std::fmod(frac, 10.0)));
      frac /= 10.0;
    }
  }
  appendLimited(text, digits, maxLen);
  text[maxLen] = '\0';
}

void AudioEffect::int2string(VstInt32 value, char* text, VstInt32 maxLen) {
  if (!text || maxLen < 0) return;
  // Magnitudes of ten digits would give a "digit" above 9 for the first
  // divisor; negating INT32_MIN would overflow.
  if (value >= 100000000 || value <= -1000000000) {
    copyLimited(text, "Huge!", maxLen);
    return;
  }
  char out[16];
  int n = 0;
  if (value < 0) {
    out[n++] = '-';
    value = -value;
  }
  bool started = false;
  for (VstInt32 divisor = 100000000; divisor >= 1; divisor /= 10) {
    VstInt32 digit = value / divisor;
    value %= divisor;
    if (digit != 0 || started) {
      out[n++] = static_cast<char>('0' + digit);
      started = true;
    }
  }
  // The digit loop emits nothing for zero; "0" reads better than an empty text.
  if (!started) out[n++] = '0';
  out[n] = '\0';
  copyLimited(text, out, maxLen);
}

void AudioEffect::dB2string(float value, char* text, VstInt32 maxLen) {
  if (!text || maxLen < 0) return;
  if (value <= 0) {
    copyLimited(text, "-oo", maxLen);
    return;
  }
  float2string(static_cast<float>(20.0 * std::log10(static_cast<double>(value))), text, maxLen);
}

void AudioEffect::Hz2string(float samples, char* text, VstInt32 maxLen) {
  float rate = getSampleRate();
  if (samples == 0.0f)
    float2string(0.0f, text, maxLen);
  else
    float2string(rate / samples, text, maxLen);
}

void AudioEffect::ms2string(float samples, char* text, VstInt32 maxLen) {
  float2string(static_cast<float>(samples * 1000.0 / getSampleRate()), text, maxLen);
}

// ---- dispatcher, opcodes 0..24 ----

VstIntPtr AudioEffect::dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                  float opt) {
  switch (opcode) {
    // Opcodes that read or write through ptr do nothing with a null ptr.
    case effSetProgramName:
    case effGetProgramName:
    case effGetParamLabel:
    case effGetParamDisplay:
    case effGetParamName:
    case effEditGetRect:
    case effGetChunk:
    case effSetChunk:
      if (!ptr) return 0;
      break;
    default:
      break;
  }

  switch (opcode) {
    case effOpen:
      open();
      return 0;
    case effClose:
      close();
      return 0;
    case effSetProgram:
      // Negative numbers are no program either: ignored like those too large.
      if (value >= 0 && value < numPrograms) setProgram(static_cast<VstInt32>(value));
      return 0;
    case effGetProgram:
      return getProgram();
    case effSetProgramName:
      setProgramName(static_cast<char*>(ptr));
      return 0;
    case effGetProgramName:
      getProgramName(static_cast<char*>(ptr));
      return 0;
    case effGetParamLabel:
      getParameterLabel(index, static_cast<char*>(ptr));
      return 0;
    case effGetParamDisplay:
      getParameterDisplay(index, static_cast<char*>(ptr));
      return 0;
    case effGetParamName:
      getParameterName(index, static_cast<char*>(ptr));
      return 0;
    case effGetVu:
      return truncateToInt(static_cast<double>(getVu()) * 32767.0);
    case effSetSampleRate:
      // A rate that is not a positive finite number would poison every length
      // derived from it; the previous rate stays.
      if (std::isfinite(opt) && opt > 0.0f) setSampleRate(opt);
      return 0;
    case effSetBlockSize:
      setBlockSize(static_cast<VstInt32>(value));
      return 0;
    case effMainsChanged:
      if (value != 0)
        resume();
      else
        suspend();
      return 0;
    case effEditGetRect:
      return editor ? fromBool(editor->getRect(static_cast<ERect**>(ptr))) : 0;
    case effEditOpen:
      return editor ? fromBool(editor->open(ptr)) : 0;
    case effEditClose:
      if (editor) editor->close();
      return 0;
    case effEditIdle:
      if (editor) editor->idle();
      return 0;
    case effIdentify:
      return fourCharCode('N', 'v', 'E', 'f');
    case effGetChunk:
      return getChunk(static_cast<void**>(ptr), index != 0);
    case effSetChunk:
      return setChunk(ptr, static_cast<VstInt32>(value), index != 0);
    default:
      return 0;
  }
}

// ---- dispatcher, opcodes 25..79 ----

VstIntPtr AudioEffectX::dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                   float opt) {
  if (opcode < effProcessEvents || opcode > effGetNumMidiOutputChannels)
    return AudioEffect::dispatcher(opcode, index, value, ptr, opt);

  switch (opcode) {
    // Opcodes that read or write through ptr do nothing with a null ptr.
    case effProcessEvents:
    case effString2Parameter:
    case effGetProgramNameIndexed:
    case effGetInputProperties:
    case effGetOutputProperties:
    case effGetEffectName:
    case effGetErrorText:
    case effGetVendorString:
    case effGetProductString:
    case effCanDo:
    case effGetParameterProperties:
    case effGetMidiProgramName:
    case effGetCurrentMidiProgram:
    case effGetMidiProgramCategory:
    case effGetMidiKeyName:
    case effShellGetNextPlugin:
      if (!ptr) return 0;
      break;
    case effGetSpeakerArrangement:
      if (!ptr || value == 0) return 0;
      break;
    default:
      break;
  }

  switch (opcode) {
    case effProcessEvents:
      return processEvents(static_cast<VstEvents*>(ptr));
    case effCanBeAutomated:
      return fromBool(canParameterBeAutomated(index));
    case effString2Parameter:
      return fromBool(string2parameter(index, static_cast<char*>(ptr)));
    case effGetNumProgramCategories:
      return getNumCategories();
    case effGetProgramNameIndexed:
      // Only existing programs have names; anything else would index outside the bank.
      if (index < 0 || index >= numPrograms) return 0;
      return fromBool(
          getProgramNameIndexed(static_cast<VstInt32>(value), index, static_cast<char*>(ptr)));
    case effCopyProgram:
      return fromBool(copyProgram(index));
    case effConnectInput:
      inputConnected(index, value != 0);
      return 1;
    case effConnectOutput:
      outputConnected(index, value != 0);
      return 1;
    case effGetInputProperties:
      return fromBool(getInputProperties(index, static_cast<VstPinProperties*>(ptr)));
    case effGetOutputProperties:
      return fromBool(getOutputProperties(index, static_cast<VstPinProperties*>(ptr)));
    case effGetPlugCategory:
      return getPlugCategory();
    case effGetCurrentPosition:
      return reportCurrentPosition();
    case effGetDestinationBuffer:
      return reinterpret_cast<VstIntPtr>(reportDestinationBuffer());
    case effOfflineNotify:
      return fromBool(offlineNotify(static_cast<VstAudioFile*>(ptr),
                                    static_cast<VstInt32>(value), index != 0));
    case effOfflinePrepare:
      return fromBool(
          offlinePrepare(static_cast<VstOfflineTask*>(ptr), static_cast<VstInt32>(value)));
    case effOfflineRun:
      return fromBool(offlineRun(static_cast<VstOfflineTask*>(ptr), static_cast<VstInt32>(value)));
    case effProcessVarIo:
      return fromBool(processVariableIo(static_cast<VstVariableIo*>(ptr)));
    case effSetSpeakerArrangement:
      return fromBool(setSpeakerArrangement(reinterpret_cast<VstSpeakerArrangement*>(value),
                                            static_cast<VstSpeakerArrangement*>(ptr)));
    case effSetBlockSizeAndSampleRate:
      // As effSetSampleRate: an unusable rate keeps the previous one.
      setBlockSizeAndSampleRate(static_cast<VstInt32>(value),
                                std::isfinite(opt) && opt > 0.0f ? opt : sampleRate);
      return 1;
    case effSetBypass:
      return fromBool(setBypass(value != 0));
    case effGetEffectName:
      return fromBool(getEffectName(static_cast<char*>(ptr)));
    case effGetErrorText:
      return fromBool(getErrorText(static_cast<char*>(ptr)));
    case effGetVendorString:
      return fromBool(getVendorString(static_cast<char*>(ptr)));
    case effGetProductString:
      return fromBool(getProductString(static_cast<char*>(ptr)));
    case effGetVendorVersion:
      return getVendorVersion();
    case effVendorSpecific:
      return vendorSpecific(index, value, ptr, opt);
    case effCanDo:
      return canDo(static_cast<char*>(ptr));
    case effGetTailSize:
      return getGetTailSize();
    case effIdle:
      return fxIdle();
    case effGetIcon:
      return reinterpret_cast<VstIntPtr>(getIcon());
    case effSetViewPosition:
      return fromBool(setViewPosition(index, static_cast<VstInt32>(value)));
    case effGetParameterProperties:
      return fromBool(getParameterProperties(index, static_cast<VstParameterProperties*>(ptr)));
    case effKeysRequired:
      return keysRequired() ? 0 : 1;
    case effGetVstVersion:
      return getVstVersion();
    case effEditKeyDown:
    case effEditKeyUp: {
      if (!editor) return 0;
      VstKeyCode key{};
      key.character = index;
      key.virt = static_cast<unsigned char>(value & 0xff);
      key.modifier = static_cast<unsigned char>(truncateToInt(opt) & 0xff);
      bool used = opcode == effEditKeyDown ? editor->onKeyDown(key) : editor->onKeyUp(key);
      return fromBool(used);
    }
    case effSetEditKnobMode:
      return editor ? fromBool(editor->setKnobMode(static_cast<VstInt32>(value))) : 0;
    case effGetMidiProgramName:
      return getMidiProgramName(index, static_cast<MidiProgramName*>(ptr));
    case effGetCurrentMidiProgram:
      return getCurrentMidiProgram(index, static_cast<MidiProgramName*>(ptr));
    case effGetMidiProgramCategory:
      return getMidiProgramCategory(index, static_cast<MidiProgramCategory*>(ptr));
    case effHasMidiProgramsChanged:
      return fromBool(hasMidiProgramsChanged(index));
    case effGetMidiKeyName:
      return fromBool(getMidiKeyName(index, static_cast<MidiKeyName*>(ptr)));
    case effBeginSetProgram:
      return fromBool(beginSetProgram());
    case effEndSetProgram:
      return fromBool(endSetProgram());
    case effGetSpeakerArrangement:
      return fromBool(getSpeakerArrangement(reinterpret_cast<VstSpeakerArrangement**>(value),
                                            static_cast<VstSpeakerArrangement**>(ptr)));
    case effShellGetNextPlugin:
      return getNextShellPlugin(static_cast<char*>(ptr));
    case effStartProcess:
      return startProcess();
    case effStopProcess:
      return stopProcess();
    case effSetTotalSampleToProcess:
      return setTotalSampleToProcess(static_cast<VstInt32>(value));
    case effSetPanLaw:
      return fromBool(setPanLaw(static_cast<VstInt32>(value), opt));
    case effBeginLoadBank:
      return beginLoadBank(static_cast<VstPatchChunkInfo*>(ptr));
    case effBeginLoadProgram:
      return beginLoadProgram(static_cast<VstPatchChunkInfo*>(ptr));
    case effSetProcessPrecision:
      return fromBool(setProcessPrecision(static_cast<VstInt32>(value)));
    case effGetNumMidiInputChannels:
      return getNumMidiInputChannels();
    case effGetNumMidiOutputChannels:
      return getNumMidiOutputChannels();
    default:
      return 0;
  }
}

bool AudioEffectX::getSpeakerArrangement(VstSpeakerArrangement** pluginInput,
                                         VstSpeakerArrangement** pluginOutput) {
  if (pluginInput) *pluginInput = nullptr;
  if (pluginOutput) *pluginOutput = nullptr;
  return false;
}

// ---- host-call wrappers ----

VstTimeInfo* AudioEffectX::getTimeInfo(VstInt32 filter) {
  return reinterpret_cast<VstTimeInfo*>(callHost(audioMasterGetTime, 0, filter));
}

bool AudioEffectX::beginEdit(VstInt32 index) { return callHost(audioMasterBeginEdit, index) != 0; }

bool AudioEffectX::endEdit(VstInt32 index) { return callHost(audioMasterEndEdit, index) != 0; }

bool AudioEffectX::updateDisplay() { return callHost(audioMasterUpdateDisplay) != 0; }

void AudioEffectX::wantEvents(VstInt32 filter) { callHost(audioMasterWantMidi, 0, filter); }

VstInt32 AudioEffectX::getHostTempoAt(VstInt32 pos) {
  return static_cast<VstInt32>(callHost(audioMasterTempoAt, 0, pos));
}

VstInt32 AudioEffectX::getNumAutomatableParameters() {
  return static_cast<VstInt32>(callHost(audioMasterGetNumAutomatableParameters));
}

VstInt32 AudioEffectX::getParameterQuantization() {
  return static_cast<VstInt32>(callHost(audioMasterGetParameterQuantization));
}

bool AudioEffectX::ioChanged() { return callHost(audioMasterIOChanged) != 0; }

bool AudioEffectX::needIdle() { return callHost(audioMasterNeedIdle) != 0; }

bool AudioEffectX::sizeWindow(VstInt32 width, VstInt32 height) {
  return callHost(audioMasterSizeWindow, width, height) != 0;
}

double AudioEffectX::updateSampleRate() {
  VstIntPtr rate = callHost(audioMasterGetSampleRate);
  if (rate > 0) sampleRate = static_cast<float>(rate);
  return sampleRate;
}

VstInt32 AudioEffectX::updateBlockSize() {
  VstIntPtr size = callHost(audioMasterGetBlockSize);
  if (size > 0 && size <= INT32_MAX) blockSize = static_cast<VstInt32>(size);
  return blockSize;
}

VstInt32 AudioEffectX::getInputLatency() {
  return static_cast<VstInt32>(callHost(audioMasterGetInputLatency));
}

VstInt32 AudioEffectX::getOutputLatency() {
  return static_cast<VstInt32>(callHost(audioMasterGetOutputLatency));
}

AEffect* AudioEffectX::getPreviousPlug(VstInt32 input) {
  return reinterpret_cast<AEffect*>(callHost(audioMasterGetPreviousPlug));
}

AEffect* AudioEffectX::getNextPlug(VstInt32 output) {
  return reinterpret_cast<AEffect*>(callHost(audioMasterGetNextPlug));
}

VstInt32 AudioEffectX::willProcessReplacing() {
  return static_cast<VstInt32>(callHost(audioMasterWillReplaceOrAccumulate));
}

VstInt32 AudioEffectX::getCurrentProcessLevel() {
  return static_cast<VstInt32>(callHost(audioMasterGetCurrentProcessLevel));
}

VstInt32 AudioEffectX::getAutomationState() {
  return static_cast<VstInt32>(callHost(audioMasterGetAutomationState));
}

bool AudioEffectX::offlineStart(VstAudioFile* ptr, VstInt32 numAudioFiles,
                                VstInt32 numNewAudioFiles) {
  return callHost(audioMasterOfflineStart, numNewAudioFiles, numAudioFiles, ptr) != 0;
}

bool AudioEffectX::offlineRead(VstOfflineTask* offline, VstInt32 option, bool readSource) {
  return callHost(audioMasterOfflineRead, readSource ? 1 : 0, option, offline) != 0;
}

bool AudioEffectX::offlineWrite(VstOfflineTask* offline, VstInt32 option) {
  return callHost(audioMasterOfflineWrite, 0, option, offline) != 0;
}

bool AudioEffectX::offlineGetCurrentPass() {
  return callHost(audioMasterOfflineGetCurrentPass) != 0;
}

bool AudioEffectX::offlineGetCurrentMetaPass() {
  return callHost(audioMasterOfflineGetCurrentMetaPass) != 0;
}

VstInt32 AudioEffectX::setOutputSampleRate(float samplerate) {
  return static_cast<VstInt32>(callHost(audioMasterSetOutputSampleRate, 0, 0, nullptr, samplerate));
}

VstSpeakerArrangement* AudioEffectX::getOutputSpeakerArrangement() {
  return reinterpret_cast<VstSpeakerArrangement*>(
      callHost(audioMasterGetOutputSpeakerArrangement));
}

bool AudioEffectX::getHostVendorString(char* text) {
  return callHost(audioMasterGetVendorString, 0, 0, text) != 0;
}

bool AudioEffectX::getHostProductString(char* text) {
  return callHost(audioMasterGetProductString, 0, 0, text) != 0;
}

VstInt32 AudioEffectX::getHostVendorVersion() {
  return static_cast<VstInt32>(callHost(audioMasterGetVendorVersion));
}

VstIntPtr AudioEffectX::hostVendorSpecific(VstInt32 lArg1, VstIntPtr lArg2, void* ptrArg,
                                           float floatArg) {
  return callHost(audioMasterVendorSpecific, lArg1, lArg2, ptrArg, floatArg);
}

VstInt32 AudioEffectX::canHostDo(char* text) {
  return callHost(audioMasterCanDo, 0, 0, text) != 0 ? 1 : 0;
}

VstInt32 AudioEffectX::getHostLanguage() {
  return static_cast<VstInt32>(callHost(audioMasterGetLanguage));
}

void* AudioEffectX::openWindow(void* window) {
  return reinterpret_cast<void*>(callHost(audioMasterOpenWindow, 0, 0, window));
}

bool AudioEffectX::closeWindow(void* window) {
  return callHost(audioMasterCloseWindow, 0, 0, window) != 0;
}

void* AudioEffectX::getDirectory() {
  return reinterpret_cast<void*>(callHost(audioMasterGetDirectory));
}

bool AudioEffectX::openFileSelector(void* ptr) {
  return ptr && callHost(audioMasterOpenFileSelector, 0, 0, ptr) != 0;
}

bool AudioEffectX::closeFileSelector(void* ptr) {
  return ptr && callHost(audioMasterCloseFileSelector, 0, 0, ptr) != 0;
}

bool AudioEffectX::getChunkFile(void* nativePath) {
  return nativePath && callHost(audioMasterGetChunkFile, 0, 0, nativePath) != 0;
}

VstSpeakerArrangement* AudioEffectX::getInputSpeakerArrangement() {
  return reinterpret_cast<VstSpeakerArrangement*>(callHost(audioMasterGetInputSpeakerArrangement));
}
