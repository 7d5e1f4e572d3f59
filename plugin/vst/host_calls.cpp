// Requests the plug-in makes to its host, one wrapper each. Every wrapper goes
// through callHost, so each tolerates a missing host callback.
#include <climits>
#include <cstdint>

#include "plugin/vst/audio_effect.h"

VstTimeInfo* AudioEffectX::getTimeInfo(VstInt32 filter) {
  return reinterpret_cast<VstTimeInfo*>(callHost(audioMasterGetTime, 0, filter));
}

bool AudioEffectX::beginEdit(VstInt32 index) {
  return isHostParameter(index) && callHost(audioMasterBeginEdit, index) != 0;
}

bool AudioEffectX::endEdit(VstInt32 index) {
  return isHostParameter(index) && callHost(audioMasterEndEdit, index) != 0;
}

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
