#include "host/lib/opcodes.h"

#include <cstdio>

namespace zendrel::host {

namespace {

using K = PtrKind;

const OpcodeShape kShapes[kOpcodeCount] = {
    {effOpen, "effOpen", K::kNone, 0, kReadOnly},
    {effClose, "effClose", K::kNone, 0, kClosesEffect},
    {effSetProgram, "effSetProgram", K::kNone, 0, kChangesState},
    {effGetProgram, "effGetProgram", K::kNone, 0, kReadOnly},
    {effSetProgramName, "effSetProgramName", K::kTextIn, kProgramNameSize, kChangesState},
    {effGetProgramName, "effGetProgramName", K::kTextOut, kProgramNameSize, kReadOnly},
    {effGetParamLabel, "effGetParamLabel", K::kTextOut, kParamTextSize, kReadOnly},
    {effGetParamDisplay, "effGetParamDisplay", K::kTextOut, kParamTextSize, kReadOnly},
    {effGetParamName, "effGetParamName", K::kTextOut, kParamTextSize, kReadOnly},
    {effGetVu, "effGetVu", K::kNone, 0, kDeprecated},
    {effSetSampleRate, "effSetSampleRate", K::kNone, 0, kChangesState},
    {effSetBlockSize, "effSetBlockSize", K::kNone, 0, kChangesState},
    {effMainsChanged, "effMainsChanged", K::kNone, 0, kChangesState},
    {effEditGetRect, "effEditGetRect", K::kPointerOut, 0, kEditor},
    {effEditOpen, "effEditOpen", K::kWindow, 0, kEditor | kChangesState},
    {effEditClose, "effEditClose", K::kNone, 0, kEditor | kChangesState},
    {effEditDraw, "effEditDraw", K::kRecordIn, sizeof(ERect), kEditor | kDeprecated},
    {effEditMouse, "effEditMouse", K::kNone, 0, kEditor | kDeprecated},
    {effEditKey, "effEditKey", K::kNone, 0, kEditor | kDeprecated},
    {effEditIdle, "effEditIdle", K::kNone, 0, kEditor},
    {effEditTop, "effEditTop", K::kNone, 0, kEditor | kDeprecated},
    {effEditSleep, "effEditSleep", K::kNone, 0, kEditor | kDeprecated},
    {effIdentify, "effIdentify", K::kNone, 0, kDeprecated},
    {effGetChunk, "effGetChunk", K::kPointerOut, 0, kReadOnly},
    {effSetChunk, "effSetChunk", K::kChunkIn, 0, kChangesState},
    {effProcessEvents, "effProcessEvents", K::kRecordIn, kEventsSize, kReadOnly},
    {effCanBeAutomated, "effCanBeAutomated", K::kNone, 0, kReadOnly},
    {effString2Parameter, "effString2Parameter", K::kTextIn, 64, kChangesState},
    {effGetNumProgramCategories, "effGetNumProgramCategories", K::kNone, 0, kReadOnly},
    {effGetProgramNameIndexed, "effGetProgramNameIndexed", K::kTextOut, kProgramNameSize, kReadOnly},
    {effCopyProgram, "effCopyProgram", K::kNone, 0, kChangesState | kDeprecated},
    {effConnectInput, "effConnectInput", K::kNone, 0, kDeprecated},
    {effConnectOutput, "effConnectOutput", K::kNone, 0, kDeprecated},
    {effGetInputProperties, "effGetInputProperties", K::kRecordOut, kPinPropertiesSize, kReadOnly},
    {effGetOutputProperties, "effGetOutputProperties", K::kRecordOut, kPinPropertiesSize, kReadOnly},
    {effGetPlugCategory, "effGetPlugCategory", K::kNone, 0, kReadOnly},
    {effGetCurrentPosition, "effGetCurrentPosition", K::kNone, 0, kDeprecated},
    {effGetDestinationBuffer, "effGetDestinationBuffer", K::kNone, 0, kDeprecated},
    {effOfflineNotify, "effOfflineNotify", K::kRecordIn, kOfflineRecordSize, kReadOnly},
    {effOfflinePrepare, "effOfflinePrepare", K::kRecordIn, kOfflineRecordSize, kReadOnly},
    {effOfflineRun, "effOfflineRun", K::kRecordIn, kOfflineRecordSize, kReadOnly},
    {effProcessVarIo, "effProcessVarIo", K::kRecordIn, kVariableIoSize, kReadOnly},
    {effSetSpeakerArrangement, "effSetSpeakerArrangement", K::kRecordIn, kSpeakerArrangementSize,
     kChangesState | kValuePointer},
    {effSetBlockSizeAndSampleRate, "effSetBlockSizeAndSampleRate", K::kNone, 0, kChangesState | kDeprecated},
    {effSetBypass, "effSetBypass", K::kNone, 0, kChangesState},
    {effGetEffectName, "effGetEffectName", K::kTextOut, kEffectNameSize, kReadOnly},
    {effGetErrorText, "effGetErrorText", K::kTextOut, 256, kDeprecated},
    {effGetVendorString, "effGetVendorString", K::kTextOut, kVendorTextSize, kReadOnly},
    {effGetProductString, "effGetProductString", K::kTextOut, kVendorTextSize, kReadOnly},
    {effGetVendorVersion, "effGetVendorVersion", K::kNone, 0, kReadOnly},
    {effVendorSpecific, "effVendorSpecific", K::kNone, 0, kReadOnly},
    {effCanDo, "effCanDo", K::kTextIn, 64, kReadOnly},
    {effGetTailSize, "effGetTailSize", K::kNone, 0, kReadOnly},
    {effIdle, "effIdle", K::kNone, 0, kDeprecated},
    {effGetIcon, "effGetIcon", K::kNone, 0, kDeprecated},
    {effSetViewPosition, "effSetViewPosition", K::kNone, 0, kDeprecated},
    {effGetParameterProperties, "effGetParameterProperties", K::kRecordOut, kParameterPropertiesSize,
     kReadOnly},
    {effKeysRequired, "effKeysRequired", K::kNone, 0, kDeprecated},
    {effGetVstVersion, "effGetVstVersion", K::kNone, 0, kReadOnly},
    {effEditKeyDown, "effEditKeyDown", K::kNone, 0, kEditor},
    {effEditKeyUp, "effEditKeyUp", K::kNone, 0, kEditor},
    {effSetEditKnobMode, "effSetEditKnobMode", K::kNone, 0, kEditor},
    {effGetMidiProgramName, "effGetMidiProgramName", K::kRecordOut, kMidiProgramNameSize, kReadOnly},
    {effGetCurrentMidiProgram, "effGetCurrentMidiProgram", K::kRecordOut, kMidiProgramNameSize, kReadOnly},
    {effGetMidiProgramCategory, "effGetMidiProgramCategory", K::kRecordOut, kMidiProgramCategorySize,
     kReadOnly},
    {effHasMidiProgramsChanged, "effHasMidiProgramsChanged", K::kNone, 0, kReadOnly},
    {effGetMidiKeyName, "effGetMidiKeyName", K::kRecordOut, kMidiKeyNameSize, kReadOnly},
    {effBeginSetProgram, "effBeginSetProgram", K::kNone, 0, kReadOnly},
    {effEndSetProgram, "effEndSetProgram", K::kNone, 0, kReadOnly},
    {effGetSpeakerArrangement, "effGetSpeakerArrangement", K::kPointerOut, 0, kValuePointer},
    {effShellGetNextPlugin, "effShellGetNextPlugin", K::kTextOut, 64, kReadOnly},
    {effStartProcess, "effStartProcess", K::kNone, 0, kChangesState},
    {effStopProcess, "effStopProcess", K::kNone, 0, kChangesState},
    {effSetTotalSampleToProcess, "effSetTotalSampleToProcess", K::kNone, 0, kReadOnly},
    {effSetPanLaw, "effSetPanLaw", K::kNone, 0, kChangesState},
    {effBeginLoadBank, "effBeginLoadBank", K::kRecordIn, kPatchChunkInfoSize, kReadOnly},
    {effBeginLoadProgram, "effBeginLoadProgram", K::kRecordIn, kPatchChunkInfoSize, kReadOnly},
    {effSetProcessPrecision, "effSetProcessPrecision", K::kNone, 0, kChangesState},
    {effGetNumMidiInputChannels, "effGetNumMidiInputChannels", K::kNone, 0, kReadOnly},
    {effGetNumMidiOutputChannels, "effGetNumMidiOutputChannels", K::kNone, 0, kReadOnly},
};

}  // namespace

const OpcodeShape& opcodeShape(VstInt32 opcode) { return kShapes[opcode]; }

const char* opcodeName(VstInt32 opcode) {
  if (opcode >= 0 && opcode < kOpcodeCount) return kShapes[opcode].name;
  thread_local char text[24];
  std::snprintf(text, sizeof text, "opcode %d", static_cast<int>(opcode));
  return text;
}

}  // namespace zendrel::host
