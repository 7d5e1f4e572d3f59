#include "plugin/zendrel.h"

#include <cstdio>
#include <cstring>
#include <new>

#include "plugin/editor_base.h"
#include "plugin/effect_factory.h"
#include "plugin/step_grid.h"
#include "plugin/tool_requests.h"

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
// A merged step's note asks for the whole range; the pass then lowers it to the
// step length.
constexpr float kFullNote = 1.0f;

void copyText(char* destination, const char* source) {
  if (destination) std::memcpy(destination, source, std::strlen(source) + 1);
}

}  // namespace

AudioEffect* createEffectInstance(audioMasterCallback audioMaster) {
  Zendrel* effect = new (std::nothrow) Zendrel(audioMaster);
  // Without its bank the effect could neither store nor load a value: better no
  // effect than a half-built one.
  if (effect && !effect->hasProgramBank()) {
    delete effect;
    return nullptr;
  }
  return effect;
}

Zendrel::Zendrel(audioMasterCallback master) : AudioEffectX(master, kNumPrograms, kNumParams) {
  canProcessReplacing();
  hostSampleRate = sampleRate;
  engine.setSampleRate(hostSampleRate);
  programs = new (std::nothrow) GateProgram[kNumPrograms];
  for (std::atomic<float>& v : paramValues) v.store(0.0f, std::memory_order_relaxed);
  if (programs) setProgram(0);
  setNumInputs(2);
  setNumOutputs(2);
  setUniqueID(kUniqueId);
  setEditor(createZendrelEditor(this));
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

// ---- editing rules ----

void Zendrel::setParameter(VstInt32 index, float value) {
  // The editor sees the raw incoming value, before anything is stored.
  if (editor) editor->setParameter(index, value);
  if (isParameterIndex(index)) {
    if (programs) programs[currentProgram.load(std::memory_order_relaxed)].setValue(index, value);
    setValue(index, value);
    applyRule(index, value);
  }
  normalise();
  updateDisplay();
}

void Zendrel::applyRule(int index, float value) {
  const ParameterGroup* group = groupOf(index);
  if (!group) return;
  const int step = index - group->first;
  switch (group->role) {
    case Role::kStoredOnly:
      followUpButton(group->followUp, step);
      break;
    case Role::kButtonUp:
    case Role::kButtonDown:
      pressButton(*group, step, value);
      break;
    case Role::kAttack:
    case Role::kDecay:
      limitPartner(group->target + step, value);
      break;
    case Role::kMerge:
      if (value >= kMergeThreshold) setParameter(group->target + step, kFullNote);
      break;
  }
}

// Steps are computed in double from the stored float and stored rounded to float;
// only the press value steps, but the follow-up checks run on every value.
void Zendrel::pressButton(const ParameterGroup& button, int step, float value) {
  const int target = button.target + step;
  const ButtonGrid& grid = *button.grid;
  if (value == kPressValue) {
    const double current = this->value(target);
    if (button.role == Role::kButtonUp) {
      if (current < grid.upperLimit) setValue(target, static_cast<float>(current + grid.step));
    } else {
      const bool above = grid.lowerInclusive ? current >= grid.lowerLimit : current > grid.lowerLimit;
      if (above) setValue(target, static_cast<float>(current - grid.step));
    }
  }
  followUpButton(button.followUp, step);
}

void Zendrel::followUpButton(MergeFollowUp followUp, int step) {
  switch (followUp) {
    case MergeFollowUp::kNone:
      break;
    case MergeFollowUp::kUnmergeShorterNotes:
      for (int k = 0; k < kNumSteps; ++k) {
        if (value(kStepLength) > value(kNoteLength + k)) setParameter(kMerge + k, 0.0f);
      }
      break;
    case MergeFollowUp::kMergeWhenFilling:
      if (value(kNoteLength + step) == value(kStepLength)) setParameter(kMerge + step, 1.0f);
      break;
    case MergeFollowUp::kUnmergeWhenShorter:
      if (value(kStepLength) > value(kNoteLength + step)) setParameter(kMerge + step, 0.0f);
      break;
    case MergeFollowUp::kUnmergeUnfilledNotes:
      for (int k = 0; k < kNumSteps; ++k) unmergeIfUnfilled(k);
      break;
    case MergeFollowUp::kUnmergeIfUnfilled:
      unmergeIfUnfilled(step);
      break;
  }
}

void Zendrel::unmergeIfUnfilled(int step) {
  if (value(kMerge + step) >= kMergeThreshold && value(kStepLength) > value(kNoteLength + step))
    setParameter(kMerge + step, 0.0f);
}

// Attack and decay of a step share its note: the other one shrinks to 1 - value.
void Zendrel::limitPartner(int partner, float value) {
  const float room = static_cast<float>(1.0 - static_cast<double>(value));
  if (this->value(partner) > room) setParameter(partner, room);
}

void Zendrel::normalise() {
  // A note never stays longer than its step. The step length is read afresh for
  // each step: a nested call may have clamped it.
  for (int k = 0; k < kNumSteps; ++k) {
    const float stepLength = value(kStepLength);
    if (value(kNoteLength + k) > stepLength) setParameter(kNoteLength + k, stepLength);
  }
  clampValue(kNumOfSteps, kStepCountRange);
  clampValue(kStepLength, kNoteValueRange);
  for (int k = 0; k < kNumSteps; ++k) clampValue(kNoteLength + k, kNoteValueRange);
}

// Working value only: the program keeps what was set.
void Zendrel::clampValue(int index, const RangeClamp& range) {
  if (static_cast<double>(value(index)) > range.high) setValue(index, range.highStored);
  if (static_cast<double>(value(index)) < range.low) setValue(index, range.lowStored);
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

VstIntPtr Zendrel::vendorSpecific(VstInt32 lArg, VstIntPtr lArg2, void* ptrArg, float) {
  if (lArg != kToolRequestTag || !editor || !ptrArg) return 0;
  return editor->toolRequest(static_cast<VstInt32>(lArg2), ptrArg);
}
