// The editing rules: what a stored value sets off. Every parameter change passes
// through setParameter, which tells the editor, stores the value in the current
// program and the working values, applies the rule of its group, and then runs
// the normalisation pass that keeps the pattern inside its ranges.
#include "plugin/model/zendrel.h"

#include <cmath>

#include "plugin/vst/editor_base.h"

using namespace zendrel;

namespace {

// A merged step's note asks for the whole range; the pass then lowers it to the
// step length.
constexpr float kFullNote = 1.0f;

}  // namespace

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
  // A NaN step length (a host may send one) would pass every compare below and
  // leave the notes unchecked: it takes the low end of its range first.
  if (std::isnan(value(kStepLength))) setValue(kStepLength, kNoteValueRange.lowStored);
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

// Working value only: the program keeps what was set. A NaN (a host may send
// one) compares false both ways; it takes the low end rather than staying.
void Zendrel::clampValue(int index, const RangeClamp& range) {
  if (static_cast<double>(value(index)) > range.high) setValue(index, range.highStored);
  if (!(static_cast<double>(value(index)) >= range.low)) setValue(index, range.lowStored);
}
