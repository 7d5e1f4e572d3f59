// The editing rules of setParameter: the buttons, the couplings, the nested
// calls and their order, the normalisation pass, and values no host should send.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <utility>
#include <vector>

#include "plugin/model/parameters.h"
#include "tests/plugin/model/model_harness.h"

using namespace zendrel::test;
using namespace zendrel;

namespace {

using Calls = std::vector<std::pair<VstInt32, float>>;

float stepUp(float v, double step) { return static_cast<float>(static_cast<double>(v) + step); }
float stepDown(float v, double step) { return static_cast<float>(static_cast<double>(v) - step); }

// Effect with the default program and an empty log.
std::unique_ptr<Zendrel> freshEffect() {
  auto effect = makeEffect();
  Log::instance().clear();
  return effect;
}

// The current program's stored value.
float stored(Zendrel& effect, int index) {
  return effect.programRecord(effect.getProgram())->value(index);
}

}  // namespace

TEST(EditingRules, NlfIncrementReachingTheStepMergesInThisOrder) {
  auto effect = freshEffect();
  effect->setParameter(kNlfIncrement, 1.0f);
  const Calls expected = {{38, 1.0f}, {198, 1.0f}, {102, 1.0f}, {102, 0.3455f}};
  EXPECT_EQ(Log::instance().editorCalls(), expected);
  EXPECT_EQ(Log::instance().hostCount(audioMasterUpdateDisplay), 4);
  EXPECT_EQ(stored(*effect, kMerge), 1.0f);
  EXPECT_EQ(stored(*effect, kNoteLength), 0.3455f);
  EXPECT_EQ(effect->getParameter(kNoteLength), 0.3455f);

  // The release only stores, but the equality test runs again and merges again.
  effect->setParameter(kMerge, 0.0f);
  Log::instance().clear();
  effect->setParameter(kNlfIncrement, 0.0f);
  const Calls release = {{38, 0.0f}, {198, 1.0f}, {102, 1.0f}, {102, 0.3455f}};
  EXPECT_EQ(Log::instance().editorCalls(), release);
  EXPECT_EQ(effect->getParameter(kNlfIncrement), 0.0f);
}

// Every editor notification precedes its display request, and the editor sees the
// raw value before it is stored.
TEST(EditingRules, EditorIsToldBeforeTheStoreAndDisplayUpdateComesLast) {
  auto effect = freshEffect();
  struct Probe : RecordingEditor {
    using RecordingEditor::RecordingEditor;
    void setParameter(VstInt32 index, float value) override {
      seen.push_back(getEffect()->getParameter(index));
      RecordingEditor::setParameter(index, value);
    }
    std::vector<float> seen;
  };
  auto* probe = new Probe(effect.get());
  delete effect->getEditor();  // setEditor only replaces the pointer
  effect->setEditor(probe);
  effect->setParameter(kGate + 3, 0.25f);
  ASSERT_EQ(probe->seen.size(), 1u);
  EXPECT_EQ(probe->seen[0], 1.0f);
  const auto events = Log::instance().events();
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(events[0].kind, EventKind::kEditor);
  EXPECT_EQ(events[1].code, audioMasterUpdateDisplay);
  EXPECT_EQ(Log::instance().hostCount(audioMasterAutomate), 0);
}

TEST(EditingRules, NlfDecrementAtTheMinimum) {
  auto effect = freshEffect();
  effect->setParameter(kNoteLength, 0.0375f);
  Log::instance().clear();
  effect->setParameter(kNlfDecrement, 1.0f);
  const Calls expected = {{70, 1.0f}, {198, 0.0f}};
  EXPECT_EQ(Log::instance().editorCalls(), expected);
  EXPECT_EQ(effect->getParameter(kNoteLength), 0.0375f);
  // The step went below the grid to about -0.0395 before the pass restored it.
  EXPECT_LT(stepDown(0.0375f, 0.077), -0.0394f);
}

TEST(EditingRules, StepLengthButtonsAndTheirClamps) {
  auto effect = freshEffect();
  // SF Decrement at the minimum steps below it; the pass restores 0.0375f.
  effect->setParameter(kStepLength, 0.0375f);
  effect->setParameter(kSfDecrement, 1.0f);
  EXPECT_EQ(effect->getParameter(kStepLength), 0.0375f);
  EXPECT_EQ(stored(*effect, kStepLength), 0.0375f);
  for (int k = 0; k < kNumSteps; ++k) EXPECT_EQ(effect->getParameter(kNoteLength + k), 0.0375f);

  // SF Increment from 0.8845 gives 0.9615001, above the limit in double.
  effect->setParameter(kStepLength, 0.8845f);
  ASSERT_GT(static_cast<double>(stepUp(0.8845f, 0.077)), 0.9615);
  effect->setParameter(kSfIncrement, 1.0f);
  EXPECT_EQ(effect->getParameter(kStepLength), 0.9615f);
  EXPECT_EQ(stored(*effect, kStepLength), 0.8845f);  // steps reach the working value only
  // At the top nothing steps.
  effect->setParameter(kSfIncrement, 1.0f);
  EXPECT_EQ(effect->getParameter(kStepLength), 0.9615f);

  // From the default one press moves one row.
  effect->setParameter(kStepLength, 0.3455f);
  effect->setParameter(kSfIncrement, 1.0f);
  EXPECT_EQ(effect->getParameter(kStepLength), stepUp(0.3455f, 0.077));
  effect->setParameter(kSfDecrement, 1.0f);
  EXPECT_EQ(effect->getParameter(kStepLength), stepDown(stepUp(0.3455f, 0.077), 0.077));
}

TEST(EditingRules, SfIncrementUnmergesAndSfDecrementKeepsMerges) {
  auto effect = freshEffect();
  effect->setParameter(kNlfIncrement, 1.0f);  // merge 1 on, note 1 = step
  effect->setParameter(kNlfIncrement, 0.0f);
  effect->setParameter(kSfDecrement, 1.0f);   // notes follow the shorter step
  EXPECT_EQ(effect->getParameter(kMerge), 1.0f);
  EXPECT_EQ(effect->getParameter(kNoteLength), effect->getParameter(kStepLength));
  EXPECT_LE(effect->getParameter(kNoteLength + 1), effect->getParameter(kStepLength));

  effect->setParameter(kSfIncrement, 1.0f);   // the step grows past every note
  for (int k = 0; k < kNumSteps; ++k) EXPECT_EQ(effect->getParameter(kMerge + k), 0.0f) << k;
  EXPECT_EQ(stored(*effect, kMerge), 0.0f);
}

TEST(EditingRules, StepCountButtonLimits) {
  auto effect = freshEffect();
  effect->setParameter(kNosIncrement, 1.0f);  // at 32 steps: nothing
  EXPECT_EQ(effect->getParameter(kNumOfSteps), 0.984375f);
  effect->setParameter(kNumOfSteps, 0.96875f);  // the limit itself does not step
  effect->setParameter(kNosIncrement, 1.0f);
  EXPECT_EQ(effect->getParameter(kNumOfSteps), 0.96875f);
  effect->setParameter(kNumOfSteps, 0.953125f);
  effect->setParameter(kNosIncrement, 1.0f);
  EXPECT_EQ(effect->getParameter(kNumOfSteps), 0.984375f);

  effect->setParameter(kNumOfSteps, 0.046875f);
  effect->setParameter(kNosDecrement, 1.0f);
  EXPECT_EQ(effect->getParameter(kNumOfSteps), 0.015625f);
  effect->setParameter(kNosDecrement, 1.0f);  // below 0.03125: nothing
  EXPECT_EQ(effect->getParameter(kNumOfSteps), 0.015625f);
  effect->setParameter(kNumOfSteps, 0.03125f);  // at the limit it steps, to 0, then clamps
  effect->setParameter(kNosDecrement, 1.0f);
  EXPECT_EQ(effect->getParameter(kNumOfSteps), 0.015625f);
  // A value that is not exactly 1.0 is no press.
  effect->setParameter(kNosIncrement, 0.999f);
  EXPECT_EQ(effect->getParameter(kNumOfSteps), 0.015625f);
}

TEST(EditingRules, AttackAndDecayShareTheNote) {
  auto effect = freshEffect();
  effect->setParameter(kDecay + 2, 0.5f);
  Log::instance().clear();
  effect->setParameter(kAttack + 2, 0.7f);
  const float room = static_cast<float>(1.0 - static_cast<double>(0.7f));
  const Calls expected = {{kAttack + 2, 0.7f}, {kDecay + 2, room}};
  EXPECT_EQ(Log::instance().editorCalls(), expected);
  EXPECT_EQ(stored(*effect, kDecay + 2), room);
  effect->setParameter(kDecay + 2, 0.9f);
  EXPECT_NEAR(effect->getParameter(kAttack + 2), 0.1f, 1e-6f);
  EXPECT_EQ(effect->getParameter(kDecay + 2), 0.9f);
  // Within the note nothing else changes.
  Log::instance().clear();
  effect->setParameter(kAttack + 2, 0.05f);
  EXPECT_EQ(Log::instance().editorCount(), 1);
}

TEST(EditingRules, MergeStretchesTheNoteToTheStep) {
  auto effect = freshEffect();
  effect->setParameter(kMerge + 4, 0.5f);
  const Calls expected = {{kMerge + 4, 0.5f}, {kNoteLength + 4, 1.0f}, {kNoteLength + 4, 0.3455f}};
  EXPECT_EQ(Log::instance().editorCalls(), expected);
  EXPECT_EQ(stored(*effect, kMerge + 4), 0.5f);
  EXPECT_EQ(stored(*effect, kNoteLength + 4), 0.3455f);
  Log::instance().clear();
  effect->setParameter(kMerge + 5, 0.49f);
  EXPECT_EQ(Log::instance().editorCount(), 1);
}

// A merge stays on only while its note fills the step, whatever order a host
// restores the values in: a direct length change that leaves a merged note
// shorter than the step unmerges it; one that keeps it filling does not.
TEST(EditingRules, DirectLengthChangesUnmergeNotesThatNoLongerFill) {
  auto effect = freshEffect();
  effect->setParameter(kMerge + 4, 0.5f);
  effect->setParameter(kMerge + 6, 0.7f);
  effect->setParameter(kStepLength, 0.2f);  // shorter: the merged notes follow it down
  EXPECT_EQ(effect->getParameter(kMerge + 4), 0.5f);
  EXPECT_EQ(effect->getParameter(kNoteLength + 4), 0.2f);
  Log::instance().clear();
  effect->setParameter(kNoteLength + 4, 0.1f);
  EXPECT_EQ(effect->getParameter(kMerge + 4), 0.0f);
  EXPECT_EQ(stored(*effect, kMerge + 4), 0.0f);
  EXPECT_EQ(effect->getParameter(kMerge + 6), 0.7f);
  effect->setParameter(kStepLength, 0.9f);  // longer: step 7's note no longer fills
  EXPECT_EQ(effect->getParameter(kMerge + 6), 0.0f);
  // Unmerged steps are left alone: no nested call for them.
  Log::instance().clear();
  effect->setParameter(kNoteLength + 9, 0.1f);
  EXPECT_EQ(Log::instance().editorCount(), 1);
}

TEST(EditingRules, StepLengthZeroNestsThirtyThreeDeep) {
  auto effect = freshEffect();
  effect->setParameter(kStepLength, 0.0f);
  const auto events = Log::instance().events();
  ASSERT_EQ(events.size(), 66u);
  // All 33 notifications come before the first display request: 33 calls deep.
  for (size_t i = 0; i < 33; ++i) {
    ASSERT_EQ(events[i].kind, EventKind::kEditor) << i;
    EXPECT_EQ(events[i].code, i == 0 ? kStepLength : static_cast<VstInt32>(kNoteLength + i - 1));
    EXPECT_EQ(events[i].value, 0.0f);
    EXPECT_EQ(events[i + 33].code, audioMasterUpdateDisplay);
  }
  EXPECT_EQ(effect->getParameter(kStepLength), 0.0375f);
  EXPECT_EQ(stored(*effect, kStepLength), 0.0f);
  for (int k = 0; k < kNumSteps; ++k) {
    EXPECT_EQ(effect->getParameter(kNoteLength + k), 0.0375f);
    EXPECT_EQ(stored(*effect, kNoteLength + k), 0.0f);
  }
}

TEST(EditingRules, IndicesOutsideTheMapStoreNothing) {
  auto effect = freshEffect();
  const auto working = workingValues(*effect);
  const auto record = recordValues(*effect, 0);
  for (VstInt32 index : {-1, 230, 100000, INT_MIN, INT_MAX}) {
    Log::instance().clear();
    effect->setParameter(index, 0.5f);
    const Calls expected = {{index, 0.5f}};
    EXPECT_EQ(Log::instance().editorCalls(), expected);
    EXPECT_EQ(Log::instance().hostCount(audioMasterUpdateDisplay), 1);
  }
  EXPECT_EQ(workingValues(*effect), working);
  EXPECT_EQ(recordValues(*effect, 0), record);
}

TEST(EditingRules, ValuesOutsideTheRangeAreStoredAsTheyCome) {
  auto effect = freshEffect();
  effect->setParameter(kGate, 2.5f);
  effect->setParameter(kMerge + 1, -3.0f);
  effect->setParameter(kNumOfSteps, 7.0f);
  EXPECT_EQ(effect->getParameter(kGate), 2.5f);
  EXPECT_EQ(effect->getParameter(kMerge + 1), -3.0f);
  EXPECT_EQ(effect->getParameter(kNumOfSteps), 0.984375f);
  EXPECT_EQ(stored(*effect, kNumOfSteps), 7.0f);
}

// NaN, infinities, denormals and huge values on every kind of parameter end
// after a bounded number of calls, and the lengths end inside their ranges (a
// NaN length takes the low end: no compare would hold for it), no note longer
// than its step.
TEST(EditingRules, HostileValuesEndAndLeaveTheLengthsInRange) {
  const float values[] = {std::numeric_limits<float>::quiet_NaN(),
                          std::numeric_limits<float>::infinity(),
                          -std::numeric_limits<float>::infinity(),
                          std::numeric_limits<float>::denorm_min(),
                          -std::numeric_limits<float>::denorm_min(),
                          -1e30f, 1e30f, -0.0f};
  const int indices[] = {kGate, kNosIncrement, kNosDecrement, kNumOfSteps, kSfIncrement,
                         kSfDecrement, kStepLength, kNlfIncrement + 4, kNlfDecrement + 4,
                         kNoteLength + 4, kAttack + 4, kDecay + 4, kMerge + 4};
  for (int index : indices) {
    for (float value : values) {
      auto effect = freshEffect();
      effect->setParameter(index, value);
      EXPECT_LE(Log::instance().hostCount(audioMasterUpdateDisplay), 40) << index << " " << value;
      for (int i : {static_cast<int>(kNumOfSteps), static_cast<int>(kStepLength),
                    static_cast<int>(kNoteLength) + 4}) {
        const float v = effect->getParameter(i);
        const RangeClamp& range = i == kNumOfSteps ? kStepCountRange : kNoteValueRange;
        if (std::isnan(value) && i == index) {
          EXPECT_EQ(v, range.lowStored) << index;
        }
        EXPECT_GE(static_cast<double>(v), range.low) << index << " " << value << " -> " << i;
        EXPECT_LE(static_cast<double>(v), range.high) << index << " " << value << " -> " << i;
      }
      EXPECT_LE(effect->getParameter(kNoteLength + 4), effect->getParameter(kStepLength))
          << index << " " << value;
      // The engine still makes finite output from finite input.
      std::vector<float> left(256, 0.5f), right(256, -0.5f);
      float* channels[2] = {left.data(), right.data()};
      effect->processReplacing(channels, channels, 256);
      for (size_t n = 0; n < left.size(); ++n) {
        ASSERT_TRUE(std::isfinite(left[n]) && std::isfinite(right[n])) << index << " " << value;
      }
    }
  }
}
