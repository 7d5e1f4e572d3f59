// The parameter model as data: one row per group of parameters (host name,
// label, display source, default and role in the editing rules), and the grids
// and limits the rules step and clamp along. The code reads these tables; no
// rule repeats a constant.
#pragma once

#include "plugin/parameter_ids.h"

namespace zendrel {

// What getParameterDisplay formats for a parameter.
enum class DisplaySource {
  kStored,   // the working value
  kDerived,  // the step count or note value the step clock derives from it
  kNone,     // nothing is written
};

// What setParameter does after storing a value of the group.
enum class Role {
  kStoredOnly,
  kButtonUp,    // a press steps the target up the group's grid
  kButtonDown,  // a press steps the target down
  kAttack,      // keeps attack + decay of the step within 1
  kDecay,
  kMerge,       // switching on stretches the step's note to the whole step
};

// What a button checks after it has (or has not) stepped.
enum class MergeFollowUp {
  kNone,
  kUnmergeShorterNotes,  // every step whose note is now shorter than the step
  kMergeWhenFilling,     // this step, when its note equals the step length
  kUnmergeWhenShorter,   // this step, when its note is shorter than the step
  // After a direct change of a length: a merged step whose note no longer
  // fills its step is unmerged, so no state has a merge on a shorter note and
  // a host that restores values in index order gets back what it saved.
  kUnmergeUnfilledNotes,  // every merged step
  kUnmergeIfUnfilled,     // this step, if merged
};

// A button grid. The limits are compared with the stored value widened to
// double; the step-count limits are exact in float, so this is also the float
// compare they call for.
struct ButtonGrid {
  double step;
  double upperLimit;    // increments act only below it
  double lowerLimit;    // decrements act only above it (or at it, if inclusive)
  bool lowerInclusive;
};

// Range the normalisation pass keeps a value in: compared in double, replaced
// by the float nearest to the limit.
struct RangeClamp {
  double low;
  double high;
  float lowStored;
  float highStored;
};

inline constexpr ButtonGrid kStepCountButtons{0.03125, 0.96875, 0.03125, true};
inline constexpr ButtonGrid kNoteValueButtons{0.077, 0.923, 0.0375, false};
inline constexpr RangeClamp kStepCountRange{0.015625, 0.984375, 0.015625f, 0.984375f};
inline constexpr RangeClamp kNoteValueRange{0.0375, 0.9615, 0.0375f, 0.9615f};

// A button acts only on exactly this value, so its release only stores.
inline constexpr float kPressValue = 1.0f;
// A merge switch counts as on at or above this.
inline constexpr float kMergeThreshold = 0.5f;

struct ParameterGroup {
  int first;                // index of the group's first parameter
  int count;                // 1, or kNumSteps for a per-step group
  const char* name;         // host name; per-step groups append the step number
  const char* label;        // or null
  int labelledCount;        // how many of the group's parameters carry the label
  DisplaySource display;
  float defaultValue;       // value in the default program
  Role role;
  int target;               // first index a button steps (per-step: plus the step)
  const ButtonGrid* grid;   // for buttons
  MergeFollowUp followUp;   // for buttons, and the direct length changes
};

inline constexpr int kNumGroups = 13;
extern const ParameterGroup kParameterGroups[kNumGroups];

// The group holding index, or null for an index outside 0..kNumParams-1.
const ParameterGroup* groupOf(int index);

// True for 0..kNumParams-1, whatever integer type the host passed.
constexpr bool isParameterIndex(long long index) { return index >= 0 && index < kNumParams; }

// Default value of a parameter (0 outside the range).
float defaultValueOf(int index);

}  // namespace zendrel
