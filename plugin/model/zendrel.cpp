// The effect object: construction, the audio entry, the parameter map's texts,
// program selection and names, and the identity the host reads. The editing
// rules are in editing_rules.cpp.
#include "plugin/model/zendrel.h"

#include <cstdio>
#include <cstring>
#include <new>

#include "plugin/step_grid.h"
#include "plugin/tool_requests.h"
#include "plugin/vst/editor_base.h"

using namespace zendrel;

namespace {

constexpr VstInt32 kUniqueId = fourCharCode('Z', 'd', 'R', 'l');
constexpr VstInt32 kVendorVersion = 1000;
constexpr char kEffectName[] = "Zendrel";
constexpr char kVendorName[] = "Brindlecove";
// What one block asks of the host's time record.
constexpr VstInt32 kTimeInfoFilter =
    kVstTempoValid | kVstPpqPosValid | kVstTransportPlaying | kVstTransportChanged;
// Longest parameter name ("NLF Increment 32") and its NUL.
constexpr std::size_t kParameterNameSize = 17;
// Display texts are at most eight characters.
constexpr VstInt32 kDisplayLength = 8;

void copyText(char* destination, const char* source) {
  if (destination) std::memcpy(destination, source, std::strlen(source) + 1);
}

}  // namespace

Zendrel* createZendrel(audioMasterCallback master, EditorFactory makeEditor) {
  Zendrel* effect = new (std::nothrow) Zendrel(master, makeEditor);
  // Without its bank the effect could neither store nor load a value: better no
  // effect than a half-built one.
  if (effect && !effect->hasProgramBank()) {
    delete effect;
    return nullptr;
  }
  return effect;
}

Zendrel::Zendrel(audioMasterCallback master, EditorFactory makeEditor) : AudioEffectX(master, kNumPrograms, kNumParams) {
  canProcessReplacing();
  hostSampleRate = sampleRate;
  engine.setSampleRate(hostSampleRate);
  programs = new (std::nothrow) GateProgram[kNumPrograms];
  for (std::atomic<float>& v : paramValues) v.store(0.0f, std::memory_order_relaxed);
  if (programs) setProgram(0);
  setNumInputs(2);
  setNumOutputs(2);
  setUniqueID(kUniqueId);
  if (makeEditor) setEditor(makeEditor(this, this));
  resume();
}

Zendrel::~Zendrel() {
  delete[] programs;
  programs = nullptr;
}

void Zendrel::resume() {
  hostSampleRate = getSampleRate();
  engine.setSampleRate(hostSampleRate);
  char receiveMidi[] = "receiveVstMidiEvent";
  if ((cEffect.flags & effFlagsIsSynth) != 0 || canDo(receiveMidi) == 1) wantEvents(1);
}

void Zendrel::processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) {
  timeInfo = getTimeInfo(kTimeInfoFilter);
  engine.processBlock(timeInfo, paramValues, inputs, outputs, sampleFrames);
}

const GateProgram* Zendrel::programRecord(VstInt32 i) const {
  if (!programs || i < 0 || i >= kNumPrograms) return nullptr;
  return &programs[i];
}

// ---- parameter map ----

float Zendrel::getParameter(VstInt32 index) {
  return isParameterIndex(index) ? value(index) : 0.0f;
}

void Zendrel::getParameterName(VstInt32 index, char* text) {
  const ParameterGroup* group = groupOf(index);
  if (!group || !text) return;
  if (group->count == 1)
    copyText(text, group->name);
  else
    std::snprintf(text, kParameterNameSize, "%s %d", group->name, index - group->first + 1);
}

void Zendrel::getParameterLabel(VstInt32 index, char* label) {
  const ParameterGroup* group = groupOf(index);
  if (!group || !group->label || index - group->first >= group->labelledCount) return;
  copyText(label, group->label);
}

void Zendrel::getParameterDisplay(VstInt32 index, char* text) {
  const ParameterGroup* group = groupOf(index);
  if (!group || !text) return;
  switch (group->display) {
    case DisplaySource::kStored:
      float2string(value(index), text, kDisplayLength);
      break;
    case DisplaySource::kDerived:
      float2string(derivedDisplayValue(index), text, kDisplayLength);
      break;
    case DisplaySource::kNone:
      break;
  }
}

// What the last block derived; before the first block, the same derivation from
// the working values, so the text does not change when audio starts.
float Zendrel::derivedDisplayValue(int index) const {
  const bool ran = engine.hasRun();
  if (index == kNumOfSteps)
    return static_cast<float>(ran ? engine.stepCount() : stepCountFor(value(index), 0.0));
  if (index == kStepLength)
    return static_cast<float>(ran ? engine.stepLength() : noteValueFor(value(index), 0.0));
  const int step = index - kNoteLength;
  return static_cast<float>(ran ? engine.noteLength(step) : noteValueFor(value(index), 0.0));
}

// ---- program bank ----

VstInt32 Zendrel::getProgram() { return currentProgram.load(std::memory_order_relaxed); }

void Zendrel::setProgram(VstInt32 program) {
  if (!programs || program < 0 || program >= kNumPrograms) return;
  curProgram = program;
  currentProgram.store(program, std::memory_order_relaxed);
  // The replay writes into the record it reads: a button's release replayed
  // early may switch a merge off before the stored merge is replayed. Replaying
  // the values held when the selection began keeps the program as it was saved.
  float snapshot[kNumParams];
  for (int i = 0; i < kNumParams; ++i) snapshot[i] = programs[program].value(i);
  for (int i = 0; i < kNumParams; ++i) setParameter(i, snapshot[i]);
}

void Zendrel::setProgramName(char* name) {
  if (programs) programs[getProgram()].rename(name);
}

void Zendrel::getProgramName(char* name) {
  if (!programs || !name) return;
  const VstInt32 program = getProgram();
  const GateProgram& stored = programs[program];
  if (stored.hasDefaultName())
    std::snprintf(name, kProgramNameSize, "%s %d", kDefaultProgramName, program + 1);
  else
    copyText(name, stored.name);
}

bool Zendrel::getProgramNameIndexed(VstInt32 category, VstInt32 index, char* text) {
  if (!programs || !text || index < 0 || index >= kNumPrograms) return false;
  copyText(text, programs[index].name);
  return true;
}

// ---- identity ----

bool Zendrel::getEffectName(char* name) {
  copyText(name, kEffectName);
  return true;
}

bool Zendrel::getVendorString(char* text) {
  copyText(text, kVendorName);
  return true;
}

bool Zendrel::getProductString(char* text) {
  copyText(text, kEffectName);
  return true;
}

VstInt32 Zendrel::getVendorVersion() { return kVendorVersion; }

VstInt32 Zendrel::getPlugCategory() { return kPlugCategEffect; }

VstIntPtr Zendrel::vendorSpecific(VstInt32 lArg, VstIntPtr lArg2, void* ptrArg, float floatArg) {
  if (lArg == kContentScaleIndex && lArg2 == kContentScaleValue) return editor && editor->setContentScale(floatArg) ? 1 : 0;
  if (lArg != kToolRequestTag || !editor || !ptrArg) return 0;
  return editor->toolRequest(static_cast<VstInt32>(lArg2), ptrArg);
}

VstInt32 Zendrel::canDo(char* text) {
  return text && std::strcmp(text, kCanDoViewDpiScaling) == 0 ? 1 : 0;
}
