#include "plugin/model/parameters.h"

namespace zendrel {

namespace {
constexpr const ButtonGrid* kNoGrid = nullptr;
constexpr const char* kNoLabel = nullptr;
}  // namespace

// clang-format off
const ParameterGroup kParameterGroups[kNumGroups] = {
  // first           count      name               label       labelled display                 default    role               target        grid                follow-up
  {kGate,          kNumSteps, "Gate",            "velocity", 16, DisplaySource::kStored,  1.0f,      Role::kStoredOnly, 0,            kNoGrid,            MergeFollowUp::kNone},
  {kNosIncrement,  1,         "NOS Increment",   kNoLabel,   0,  DisplaySource::kStored,  0.0f,      Role::kButtonUp,   kNumOfSteps,  &kStepCountButtons, MergeFollowUp::kNone},
  {kNosDecrement,  1,         "NOS Decrement",   kNoLabel,   0,  DisplaySource::kStored,  0.0f,      Role::kButtonDown, kNumOfSteps,  &kStepCountButtons, MergeFollowUp::kNone},
  {kNumOfSteps,    1,         "Num Of Steps",    "Steps",    1,  DisplaySource::kDerived, 0.984375f, Role::kStoredOnly, 0,            kNoGrid,            MergeFollowUp::kNone},
  {kSfIncrement,   1,         "SF Increment",    kNoLabel,   0,  DisplaySource::kStored,  0.0f,      Role::kButtonUp,   kStepLength,  &kNoteValueButtons, MergeFollowUp::kUnmergeShorterNotes},
  {kSfDecrement,   1,         "SF Decrement",    kNoLabel,   0,  DisplaySource::kStored,  0.0f,      Role::kButtonDown, kStepLength,  &kNoteValueButtons, MergeFollowUp::kNone},
  {kStepLength,    1,         "Step Length",     "Note",     1,  DisplaySource::kDerived, 0.3455f,   Role::kStoredOnly, 0,            kNoGrid,            MergeFollowUp::kUnmergeUnfilledNotes},
  {kNlfIncrement,  kNumSteps, "NLF Increment",   kNoLabel,   0,  DisplaySource::kStored,  0.0f,      Role::kButtonUp,   kNoteLength,  &kNoteValueButtons, MergeFollowUp::kMergeWhenFilling},
  {kNlfDecrement,  kNumSteps, "NLF Decrement",   kNoLabel,   0,  DisplaySource::kStored,  0.0f,      Role::kButtonDown, kNoteLength,  &kNoteValueButtons, MergeFollowUp::kUnmergeWhenShorter},
  {kNoteLength,    kNumSteps, "Note Length",     "Note",     16, DisplaySource::kDerived, 0.2685f,   Role::kStoredOnly, 0,            kNoGrid,            MergeFollowUp::kUnmergeIfUnfilled},
  {kAttack,        kNumSteps, "Attack",          kNoLabel,   0,  DisplaySource::kNone,    0.0f,      Role::kAttack,     kDecay,       kNoGrid,            MergeFollowUp::kNone},
  {kDecay,         kNumSteps, "Decay",           kNoLabel,   0,  DisplaySource::kNone,    0.0f,      Role::kDecay,      kAttack,      kNoGrid,            MergeFollowUp::kNone},
  {kMerge,         kNumSteps, "Merge",           kNoLabel,   0,  DisplaySource::kNone,    0.0f,      Role::kMerge,      kNoteLength,  kNoGrid,            MergeFollowUp::kNone},
};
// clang-format on

const ParameterGroup* groupOf(int index) {
  if (!isParameterIndex(index)) return nullptr;
  for (const ParameterGroup& group : kParameterGroups) {
    if (index >= group.first && index < group.first + group.count) return &group;
  }
  return nullptr;
}

float defaultValueOf(int index) {
  const ParameterGroup* group = groupOf(index);
  return group ? group->defaultValue : 0.0f;
}

}  // namespace zendrel
