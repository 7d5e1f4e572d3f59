// Parameter indices. Per-step groups hold 32 consecutive indices: base + step.
#pragma once

namespace zendrel {

constexpr int kNumSteps = 32;
constexpr int kNumParams = 230;
constexpr int kNumPrograms = 10;

enum ParameterIndex : int {
  kGate = 0,             // 0..31
  kNosIncrement = 32,
  kNosDecrement = 33,
  kNumOfSteps = 34,
  kSfIncrement = 35,
  kSfDecrement = 36,
  kStepLength = 37,
  kNlfIncrement = 38,    // 38..69
  kNlfDecrement = 70,    // 70..101
  kNoteLength = 102,     // 102..133
  kAttack = 134,         // 134..165
  kDecay = 166,          // 166..197
  kMerge = 198,          // 198..229
};
static_assert(kMerge + kNumSteps == kNumParams);

}  // namespace zendrel
