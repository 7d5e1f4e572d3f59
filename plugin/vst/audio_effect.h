// Base classes of the effect: AudioEffect fills the record the host receives and
// gives every host request a virtual operation with a default answer;
// AudioEffectX adds the extended dispatcher (opcodes 25..79) and the host-call
// wrappers. The effect overrides only what it needs.
#pragma once

#include "plugin/vst/host_interface.h"

class AEffEditor;
// The dispatchers' opcode groups (dispatcher.cpp, dispatcher_extended.cpp).
struct BaseDispatch;
struct ExtendedDispatch;

class AudioEffect {
 public:
  AudioEffect(audioMasterCallback audioMaster, VstInt32 numPrograms, VstInt32 numParams);
  AudioEffect(const AudioEffect&) = delete;
  AudioEffect& operator=(const AudioEffect&) = delete;

  // Virtual operations in slot order.
  virtual ~AudioEffect();
  virtual VstIntPtr dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                               float opt);
  virtual void open() {}
  virtual void close() {}
  virtual void suspend() {}
  virtual void resume() {}
  virtual void setSampleRate(float newRate) { sampleRate = newRate; }
  virtual void setBlockSize(VstInt32 newSize) { blockSize = newSize; }
  virtual void processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) = 0;
  virtual void processDoubleReplacing(double** inputs, double** outputs, VstInt32 sampleFrames) {}
  virtual void setParameter(VstInt32 index, float value) {}
  virtual float getParameter(VstInt32 index) { return 0.0f; }
  virtual void setParameterAutomated(VstInt32 index, float value);
  virtual VstInt32 getProgram() { return curProgram; }
  virtual void setProgram(VstInt32 program) { curProgram = program; }
  virtual void setProgramName(char* name) {}
  virtual void getProgramName(char* name);
  virtual void getParameterLabel(VstInt32 index, char* label);
  virtual void getParameterDisplay(VstInt32 index, char* text);
  virtual void getParameterName(VstInt32 index, char* text);
  virtual VstInt32 getChunk(void** data, bool isPreset = false) { return 0; }
  virtual VstInt32 setChunk(void* data, VstInt32 byteSize, bool isPreset = false) { return 0; }
  virtual void setUniqueID(VstInt32 iD) { cEffect.uniqueID = iD; }
  virtual void setNumInputs(VstInt32 inputs) { cEffect.numInputs = inputs; }
  virtual void setNumOutputs(VstInt32 outputs) { cEffect.numOutputs = outputs; }
  virtual void canProcessReplacing(bool state = true) { setFlag(effFlagsCanReplacing, state); }
  virtual void canDoubleReplacing(bool state = true) { setFlag(effFlagsCanDoubleReplacing, state); }
  virtual void programsAreChunks(bool state = true) { setFlag(effFlagsProgramChunks, state); }
  virtual void setInitialDelay(VstInt32 delay) { cEffect.initialDelay = delay; }
  virtual AEffEditor* getEditor() { return editor; }
  virtual AEffect* getAeffect() { return &cEffect; }
  virtual float getSampleRate() { return sampleRate; }
  virtual VstInt32 getBlockSize() { return blockSize; }
  virtual VstInt32 getMasterVersion();
  virtual VstInt32 getCurrentUniqueId();
  virtual void masterIdle();
  virtual void dB2string(float value, char* text, VstInt32 maxLen);
  virtual void Hz2string(float samples, char* text, VstInt32 maxLen);
  virtual void ms2string(float samples, char* text, VstInt32 maxLen);
  virtual void float2string(float value, char* text, VstInt32 maxLen);
  virtual void int2string(VstInt32 value, char* text, VstInt32 maxLen);
  // Deprecated operations, kept for the slot layout.
  virtual void process(float** inputs, float** outputs, VstInt32 sampleFrames) {}
  virtual float getVu() { return 0.0f; }
  virtual void hasVu(bool state = true) { setFlag(effFlagsHasVu, state); }
  virtual void hasClip(bool state = true) { setFlag(effFlagsHasClip, state); }
  virtual void canMono(bool state = true) { setFlag(effFlagsCanMono, state); }
  virtual void setRealtimeQualities(VstInt32 qualities) { cEffect.realQualities = qualities; }
  virtual void setOfflineQualities(VstInt32 qualities) { cEffect.offQualities = qualities; }
  virtual bool isInputConnected(VstInt32 input);
  virtual bool isOutputConnected(VstInt32 output);

  // Not virtual: stores the editor and sets or clears effFlagsHasEditor.
  void setEditor(AEffEditor* newEditor);

  // The six proxies stored in the record.
  static VstIntPtr dispatchEffectClass(AEffect* e, VstInt32 opcode, VstInt32 index,
                                       VstIntPtr value, void* ptr, float opt);
  static void processClass(AEffect* e, float** inputs, float** outputs, VstInt32 sampleFrames);
  static void setParameterClass(AEffect* e, VstInt32 index, float value);
  static float getParameterClass(AEffect* e, VstInt32 index);
  static void processClassReplacing(AEffect* e, float** inputs, float** outputs,
                                    VstInt32 sampleFrames);
  static void processClassDoubleReplacing(AEffect* e, double** inputs, double** outputs,
                                          VstInt32 sampleFrames);

 protected:
  friend struct BaseDispatch;

  void setFlag(VstInt32 flag, bool state);
  // Calls the host callback with this record; 0 without a host.
  VstIntPtr callHost(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0,
                     void* ptr = nullptr, float opt = 0.0f);
  // An index the host knows: one of the numParams it was told of. Hosts may
  // index their own tables with what they receive, so only these reach them.
  bool isHostParameter(VstInt32 index) const { return index >= 0 && index < cEffect.numParams; }

  audioMasterCallback audioMaster;
  AEffEditor* editor;
  float sampleRate;
  VstInt32 blockSize;
  VstInt32 numPrograms;
  VstInt32 numParams;
  VstInt32 curProgram;
  AEffect cEffect;
};

class AudioEffectX : public AudioEffect {
  friend struct ExtendedDispatch;

 public:
  AudioEffectX(audioMasterCallback master, VstInt32 programCount, VstInt32 paramCount)
      : AudioEffect(master, programCount, paramCount) {}

  VstIntPtr dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                       float opt) override;

  // Operations behind opcodes 25..79, with the default answers.
  virtual VstInt32 processEvents(VstEvents* events) { return 0; }
  virtual bool canParameterBeAutomated(VstInt32 index) { return true; }
  virtual bool string2parameter(VstInt32 index, char* text) { return false; }
  virtual VstInt32 getNumCategories() { return 1; }
  virtual bool getProgramNameIndexed(VstInt32 category, VstInt32 index, char* text) {
    return false;
  }
  virtual bool copyProgram(VstInt32 destination) { return false; }
  virtual void inputConnected(VstInt32 index, bool state) {}
  virtual void outputConnected(VstInt32 index, bool state) {}
  virtual bool getInputProperties(VstInt32 index, VstPinProperties* properties) { return false; }
  virtual bool getOutputProperties(VstInt32 index, VstPinProperties* properties) { return false; }
  virtual VstInt32 getPlugCategory() { return kPlugCategUnknown; }
  virtual VstInt32 reportCurrentPosition() { return 0; }
  virtual float* reportDestinationBuffer() { return nullptr; }
  virtual bool offlineNotify(VstAudioFile* ptr, VstInt32 numAudioFiles, bool start) {
    return false;
  }
  virtual bool offlinePrepare(VstOfflineTask* offline, VstInt32 count) { return false; }
  virtual bool offlineRun(VstOfflineTask* offline, VstInt32 count) { return false; }
  virtual bool processVariableIo(VstVariableIo* varIo) { return false; }
  virtual bool setSpeakerArrangement(VstSpeakerArrangement* pluginInput,
                                     VstSpeakerArrangement* pluginOutput) {
    return false;
  }
  virtual bool setBlockSizeAndSampleRate(VstInt32 newBlockSize, float newSampleRate) {
    blockSize = newBlockSize;
    sampleRate = newSampleRate;
    return true;
  }
  virtual bool setBypass(bool onOff) { return false; }
  virtual bool getEffectName(char* name) { return false; }
  virtual bool getErrorText(char* text) { return false; }
  virtual bool getVendorString(char* text) { return false; }
  virtual bool getProductString(char* text) { return false; }
  virtual VstInt32 getVendorVersion() { return 0; }
  virtual VstIntPtr vendorSpecific(VstInt32 lArg, VstIntPtr lArg2, void* ptrArg, float floatArg) {
    return 0;
  }
  virtual VstInt32 canDo(char* text) { return 0; }
  virtual VstInt32 getGetTailSize() { return 0; }
  virtual VstInt32 fxIdle() { return 0; }
  virtual void* getIcon() { return nullptr; }
  virtual bool setViewPosition(VstInt32 x, VstInt32 y) { return false; }
  virtual bool getParameterProperties(VstInt32 index, VstParameterProperties* p) { return false; }
  virtual bool keysRequired() { return false; }
  virtual VstInt32 getVstVersion() { return kVstVersion; }
  virtual VstInt32 getMidiProgramName(VstInt32 channel, MidiProgramName* name) { return 0; }
  virtual VstInt32 getCurrentMidiProgram(VstInt32 channel, MidiProgramName* current) {
    return -1;
  }
  virtual VstInt32 getMidiProgramCategory(VstInt32 channel, MidiProgramCategory* category) {
    return 0;
  }
  virtual bool hasMidiProgramsChanged(VstInt32 channel) { return false; }
  virtual bool getMidiKeyName(VstInt32 channel, MidiKeyName* keyName) { return false; }
  virtual bool beginSetProgram() { return false; }
  virtual bool endSetProgram() { return false; }
  virtual bool getSpeakerArrangement(VstSpeakerArrangement** pluginInput,
                                     VstSpeakerArrangement** pluginOutput);
  virtual VstInt32 getNextShellPlugin(char* name) { return 0; }
  virtual VstInt32 startProcess() { return 0; }
  virtual VstInt32 stopProcess() { return 0; }
  virtual VstInt32 setTotalSampleToProcess(VstInt32 value) { return value; }
  virtual bool setPanLaw(VstInt32 type, float val) { return false; }
  virtual VstInt32 beginLoadBank(VstPatchChunkInfo* ptr) { return 0; }
  virtual VstInt32 beginLoadProgram(VstPatchChunkInfo* ptr) { return 0; }
  virtual bool setProcessPrecision(VstInt32 precision) { return false; }
  virtual VstInt32 getNumMidiInputChannels() { return 0; }
  virtual VstInt32 getNumMidiOutputChannels() { return 0; }

  // Host-call wrappers. Each tolerates a missing host callback; the edit
  // notifications (and automation) for an index the host does not know are
  // not sent, and answer false.
  virtual VstTimeInfo* getTimeInfo(VstInt32 filter);
  virtual bool beginEdit(VstInt32 index);
  virtual bool endEdit(VstInt32 index);
  virtual bool updateDisplay();
  virtual void wantEvents(VstInt32 filter = 1);
  virtual VstInt32 getHostTempoAt(VstInt32 pos);
  virtual VstInt32 getNumAutomatableParameters();
  virtual VstInt32 getParameterQuantization();
  virtual bool ioChanged();
  virtual bool needIdle();
  virtual bool sizeWindow(VstInt32 width, VstInt32 height);
  virtual double updateSampleRate();
  virtual VstInt32 updateBlockSize();
  virtual VstInt32 getInputLatency();
  virtual VstInt32 getOutputLatency();
  virtual AEffect* getPreviousPlug(VstInt32 input);
  virtual AEffect* getNextPlug(VstInt32 output);
  virtual VstInt32 willProcessReplacing();
  virtual VstInt32 getCurrentProcessLevel();
  virtual VstInt32 getAutomationState();
  virtual bool offlineStart(VstAudioFile* ptr, VstInt32 numAudioFiles, VstInt32 numNewAudioFiles);
  virtual bool offlineRead(VstOfflineTask* offline, VstInt32 option, bool readSource = true);
  virtual bool offlineWrite(VstOfflineTask* offline, VstInt32 option);
  virtual bool offlineGetCurrentPass();
  virtual bool offlineGetCurrentMetaPass();
  virtual VstInt32 setOutputSampleRate(float samplerate);
  virtual VstSpeakerArrangement* getOutputSpeakerArrangement();
  virtual bool getHostVendorString(char* text);
  virtual bool getHostProductString(char* text);
  virtual VstInt32 getHostVendorVersion();
  virtual VstIntPtr hostVendorSpecific(VstInt32 lArg1, VstIntPtr lArg2, void* ptrArg,
                                       float floatArg);
  virtual VstInt32 canHostDo(char* text);
  virtual VstInt32 getHostLanguage();
  virtual void* openWindow(void* window);
  virtual bool closeWindow(void* window);
  virtual void* getDirectory();
  virtual bool openFileSelector(void* ptr);
  virtual bool closeFileSelector(void* ptr);
  virtual bool getChunkFile(void* nativePath);
  virtual VstSpeakerArrangement* getInputSpeakerArrangement();

  // Flag operations (no host call).
  virtual void isSynth(bool state = true) { setFlag(effFlagsIsSynth, state); }
  virtual void noTail(bool state = true) { setFlag(effFlagsNoSoundInStop, state); }
};
