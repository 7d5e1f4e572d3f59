// The extended dispatcher, opcodes 25..79 (anything else goes to the base
// dispatcher): each group of opcodes is answered by a short function of
// ExtendedDispatch, which the first switch that knows the opcode answers for.
#include <cmath>

#include "plugin/vst/audio_effect.h"
#include "plugin/vst/dispatch_call.h"
#include "plugin/vst/editor_base.h"

using zendrel::dispatch::fromBool;
using zendrel::dispatch::truncateToInt;

struct ExtendedDispatch {
  using Answer = std::optional<VstIntPtr>;

  // Opcodes that read or write through ptr do nothing with a null ptr.
  static bool refused(const DispatchCall& c) {
    switch (c.opcode) {
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
        return !c.ptr;
      case effGetSpeakerArrangement:
        return !c.ptr || c.value == 0;
      default:
        return false;
    }
  }

  // Events, parameter properties and the programs' names and copies.
  static Answer parametersAndPrograms(AudioEffectX& fx, const DispatchCall& c) {
    char* text = static_cast<char*>(c.ptr);
    switch (c.opcode) {
      case effProcessEvents:
        return fx.processEvents(static_cast<VstEvents*>(c.ptr));
      case effCanBeAutomated:
        return fromBool(fx.canParameterBeAutomated(c.index));
      case effString2Parameter:
        return fromBool(fx.string2parameter(c.index, text));
      case effGetParameterProperties:
        return fromBool(fx.getParameterProperties(c.index, static_cast<VstParameterProperties*>(c.ptr)));
      case effGetNumProgramCategories:
        return fx.getNumCategories();
      case effGetProgramNameIndexed:
        // Only existing programs have names; anything else would index outside the bank.
        if (c.index < 0 || c.index >= fx.numPrograms) return 0;
        return fromBool(fx.getProgramNameIndexed(static_cast<VstInt32>(c.value), c.index, text));
      case effCopyProgram:
        return fromBool(fx.copyProgram(c.index));
      case effBeginSetProgram:
        return fromBool(fx.beginSetProgram());
      case effEndSetProgram:
        return fromBool(fx.endSetProgram());
      default:
        return std::nullopt;
    }
  }

  // Inputs and outputs: connections, pin properties, speaker arrangements.
  static Answer connections(AudioEffectX& fx, const DispatchCall& c) {
    switch (c.opcode) {
      case effConnectInput:
        fx.inputConnected(c.index, c.value != 0);
        return 1;
      case effConnectOutput:
        fx.outputConnected(c.index, c.value != 0);
        return 1;
      case effGetInputProperties:
        return fromBool(fx.getInputProperties(c.index, static_cast<VstPinProperties*>(c.ptr)));
      case effGetOutputProperties:
        return fromBool(fx.getOutputProperties(c.index, static_cast<VstPinProperties*>(c.ptr)));
      case effSetSpeakerArrangement:
        return fromBool(fx.setSpeakerArrangement(reinterpret_cast<VstSpeakerArrangement*>(c.value),
                                                 static_cast<VstSpeakerArrangement*>(c.ptr)));
      case effGetSpeakerArrangement:
        return fromBool(fx.getSpeakerArrangement(reinterpret_cast<VstSpeakerArrangement**>(c.value),
                                                 static_cast<VstSpeakerArrangement**>(c.ptr)));
      default:
        return std::nullopt;
    }
  }

  // Offline processing and variable input/output.
  static Answer offline(AudioEffectX& fx, const DispatchCall& c) {
    const VstInt32 count = static_cast<VstInt32>(c.value);
    switch (c.opcode) {
      case effGetCurrentPosition:
        return fx.reportCurrentPosition();
      case effGetDestinationBuffer:
        return reinterpret_cast<VstIntPtr>(fx.reportDestinationBuffer());
      case effOfflineNotify:
        return fromBool(fx.offlineNotify(static_cast<VstAudioFile*>(c.ptr), count, c.index != 0));
      case effOfflinePrepare:
        return fromBool(fx.offlinePrepare(static_cast<VstOfflineTask*>(c.ptr), count));
      case effOfflineRun:
        return fromBool(fx.offlineRun(static_cast<VstOfflineTask*>(c.ptr), count));
      case effProcessVarIo:
        return fromBool(fx.processVariableIo(static_cast<VstVariableIo*>(c.ptr)));
      default:
        return std::nullopt;
    }
  }

  // Processing settings and the start and end of processing and loading.
  static Answer processing(AudioEffectX& fx, const DispatchCall& c) {
    const VstInt32 value = static_cast<VstInt32>(c.value);
    switch (c.opcode) {
      case effSetBlockSizeAndSampleRate:
        // As effSetSampleRate: an unusable rate keeps the previous one.
        fx.setBlockSizeAndSampleRate(value, std::isfinite(c.opt) && c.opt > 0.0f ? c.opt : fx.sampleRate);
        return 1;
      case effSetBypass:
        return fromBool(fx.setBypass(c.value != 0));
      case effGetTailSize:
        return fx.getGetTailSize();
      case effIdle:
        return fx.fxIdle();
      case effStartProcess:
        return fx.startProcess();
      case effStopProcess:
        return fx.stopProcess();
      case effSetTotalSampleToProcess:
        return fx.setTotalSampleToProcess(value);
      case effSetPanLaw:
        return fromBool(fx.setPanLaw(value, c.opt));
      case effBeginLoadBank:
        return fx.beginLoadBank(static_cast<VstPatchChunkInfo*>(c.ptr));
      case effBeginLoadProgram:
        return fx.beginLoadProgram(static_cast<VstPatchChunkInfo*>(c.ptr));
      case effSetProcessPrecision:
        return fromBool(fx.setProcessPrecision(value));
      default:
        return std::nullopt;
    }
  }

  // What the plug-in is: names, category, versions and capabilities.
  static Answer identity(AudioEffectX& fx, const DispatchCall& c) {
    char* text = static_cast<char*>(c.ptr);
    switch (c.opcode) {
      case effGetPlugCategory:
        return fx.getPlugCategory();
      case effGetEffectName:
        return fromBool(fx.getEffectName(text));
      case effGetErrorText:
        return fromBool(fx.getErrorText(text));
      case effGetVendorString:
        return fromBool(fx.getVendorString(text));
      case effGetProductString:
        return fromBool(fx.getProductString(text));
      case effGetVendorVersion:
        return fx.getVendorVersion();
      case effVendorSpecific:
        return fx.vendorSpecific(c.index, c.value, c.ptr, c.opt);
      case effCanDo:
        return fx.canDo(text);
      case effGetVstVersion:
        return fx.getVstVersion();
      case effShellGetNextPlugin:
        return fx.getNextShellPlugin(text);
      default:
        return std::nullopt;
    }
  }

  // The editor's icon, position, keys and knob mode.
  static Answer editor(AudioEffectX& fx, const DispatchCall& c) {
    switch (c.opcode) {
      case effGetIcon:
        return reinterpret_cast<VstIntPtr>(fx.getIcon());
      case effSetViewPosition:
        return fromBool(fx.setViewPosition(c.index, static_cast<VstInt32>(c.value)));
      case effKeysRequired:
        return fx.keysRequired() ? 0 : 1;
      case effEditKeyDown:
      case effEditKeyUp:
        return key(fx.editor, c);
      case effSetEditKnobMode:
        return fx.editor ? fromBool(fx.editor->setKnobMode(static_cast<VstInt32>(c.value))) : 0;
      default:
        return std::nullopt;
    }
  }

  static VstIntPtr key(AEffEditor* editor, const DispatchCall& c) {
    if (!editor) return 0;
    VstKeyCode key{};
    key.character = c.index;
    key.virt = static_cast<unsigned char>(c.value & 0xff);
    key.modifier = static_cast<unsigned char>(truncateToInt(c.opt) & 0xff);
    return fromBool(c.opcode == effEditKeyDown ? editor->onKeyDown(key) : editor->onKeyUp(key));
  }

  // MIDI programs, key names and channel counts.
  static Answer midi(AudioEffectX& fx, const DispatchCall& c) {
    switch (c.opcode) {
      case effGetMidiProgramName:
        return fx.getMidiProgramName(c.index, static_cast<MidiProgramName*>(c.ptr));
      case effGetCurrentMidiProgram:
        return fx.getCurrentMidiProgram(c.index, static_cast<MidiProgramName*>(c.ptr));
      case effGetMidiProgramCategory:
        return fx.getMidiProgramCategory(c.index, static_cast<MidiProgramCategory*>(c.ptr));
      case effHasMidiProgramsChanged:
        return fromBool(fx.hasMidiProgramsChanged(c.index));
      case effGetMidiKeyName:
        return fromBool(fx.getMidiKeyName(c.index, static_cast<MidiKeyName*>(c.ptr)));
      case effGetNumMidiInputChannels:
        return fx.getNumMidiInputChannels();
      case effGetNumMidiOutputChannels:
        return fx.getNumMidiOutputChannels();
      default:
        return std::nullopt;
    }
  }
};

VstIntPtr AudioEffectX::dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                   float opt) {
  if (opcode < effProcessEvents || opcode > effGetNumMidiOutputChannels)
    return AudioEffect::dispatcher(opcode, index, value, ptr, opt);
  static constexpr zendrel::dispatch::Group<AudioEffectX> kGroups[] = {
      ExtendedDispatch::parametersAndPrograms, ExtendedDispatch::connections, ExtendedDispatch::offline,
      ExtendedDispatch::processing, ExtendedDispatch::identity, ExtendedDispatch::editor,
      ExtendedDispatch::midi};
  const DispatchCall call{opcode, index, value, ptr, opt};
  if (ExtendedDispatch::refused(call)) return 0;
  return zendrel::dispatch::firstAnswer(kGroups, *this, call);
}

bool AudioEffectX::getSpeakerArrangement(VstSpeakerArrangement** pluginInput,
                                         VstSpeakerArrangement** pluginOutput) {
  if (pluginInput) *pluginInput = nullptr;
  if (pluginOutput) *pluginOutput = nullptr;
  return false;
}
