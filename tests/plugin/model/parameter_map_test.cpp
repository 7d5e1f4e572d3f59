// Names, labels and display texts of the 230 parameters, and reads at indices
// the host should never send.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "plugin/model/parameters.h"
#include "tests/plugin/model/model_harness.h"

using namespace zendrel::test;
using namespace zendrel;

namespace {
const VstInt32 kBadIndices[] = {-1, 230, 100000, INT_MIN, INT_MAX};
}

TEST(ParameterMap, NamesOfEveryIndex) {
  auto effect = makeEffect();
  const struct {
    int first;
    const char* base;
  } groups[] = {{kGate, "Gate"},          {kNlfIncrement, "NLF Increment"},
                {kNlfDecrement, "NLF Decrement"}, {kNoteLength, "Note Length"},
                {kAttack, "Attack"},      {kDecay, "Decay"},
                {kMerge, "Merge"}};
  for (const auto& g : groups)
    for (int k = 0; k < kNumSteps; ++k)
      EXPECT_EQ(name(*effect, g.first + k), std::string(g.base) + " " + std::to_string(k + 1));
  EXPECT_EQ(name(*effect, kNosIncrement), "NOS Increment");
  EXPECT_EQ(name(*effect, kNosDecrement), "NOS Decrement");
  EXPECT_EQ(name(*effect, kNumOfSteps), "Num Of Steps");
  EXPECT_EQ(name(*effect, kSfIncrement), "SF Increment");
  EXPECT_EQ(name(*effect, kSfDecrement), "SF Decrement");
  EXPECT_EQ(name(*effect, kStepLength), "Step Length");
  EXPECT_EQ(name(*effect, 100), "NLF Decrement 31");
  EXPECT_EQ(name(*effect, 69).size(), 16u);  // the longest, whole
}

TEST(ParameterMap, LabelsOnlyWhereTheTableHasThem) {
  auto effect = makeEffect();
  for (int i = 0; i < kNumParams; ++i) {
    std::string expected = "untouched";
    if (i < 16) expected = "velocity";
    if (i == kNumOfSteps) expected = "Steps";
    if (i == kStepLength || (i >= kNoteLength && i < kNoteLength + 16)) expected = "Note";
    EXPECT_EQ(label(*effect, i), expected) << i;
  }
}

TEST(ParameterMap, StoredValuesDisplayCutToSixDecimals) {
  auto effect = makeEffect();
  EXPECT_EQ(display(*effect, kGate), "1.000000");
  EXPECT_EQ(display(*effect, kNosIncrement), "0.000000");
  effect->setParameter(kGate + 4, 0.1234567f);
  EXPECT_EQ(display(*effect, kGate + 4), "0.123456");
  // Attack, decay and merge display nothing.
  for (int i = kAttack; i < kNumParams; ++i) EXPECT_EQ(display(*effect, i), "untouched") << i;
}

TEST(ParameterMap, DerivedDisplayBeforeAndAfterTheFirstBlock) {
  auto effect = makeEffect();
  EXPECT_FALSE(effect->gateEngine().hasRun());
  EXPECT_EQ(display(*effect, kNumOfSteps), "32.00000");
  EXPECT_EQ(display(*effect, kStepLength), "0.062500");
  EXPECT_EQ(display(*effect, kNoteLength), "0.046875");
  runBlock(*effect);
  ASSERT_TRUE(effect->gateEngine().hasRun());
  EXPECT_EQ(display(*effect, kNumOfSteps), "32.00000");
  EXPECT_EQ(display(*effect, kStepLength), "0.062500");
  EXPECT_EQ(display(*effect, kNoteLength), "0.046875");
  // After the first block the text follows the next block, not the stored value.
  effect->setParameter(kNumOfSteps, 0.5f);
  EXPECT_EQ(display(*effect, kNumOfSteps), "32.00000");
  runBlock(*effect);
  EXPECT_EQ(display(*effect, kNumOfSteps), "17.00000");
}

// The derivation made before any audio gives the texts the first block gives.
TEST(ParameterMap, PreBlockDerivationMatchesTheEngine) {
  const char* noteTexts[] = {"0.015625", "0.023437", "0.031250", "0.046875", "0.062500",
                             "0.093750", "0.125000", "0.187500", "0.250000", "0.375000",
                             "0.500000", "0.750000", "1.000000"};
  for (int row = 0; row < 13; ++row) {
    auto effect = makeEffect();
    const float centre = static_cast<float>(0.0375 + 0.077 * row);
    effect->setParameter(kStepLength, centre);
    effect->setParameter(kNoteLength + 7, centre);
    effect->setParameter(kNumOfSteps, (2 * (row + 1) - 1) / 64.0f);
    const std::string before[] = {display(*effect, kStepLength),
                                  display(*effect, kNoteLength + 7),
                                  display(*effect, kNumOfSteps)};
    EXPECT_EQ(before[0], noteTexts[row]);
    runBlock(*effect);
    EXPECT_EQ(display(*effect, kStepLength), before[0]) << row;
    EXPECT_EQ(display(*effect, kNoteLength + 7), before[1]) << row;
    EXPECT_EQ(display(*effect, kNumOfSteps), before[2]) << row;
  }
}

TEST(ParameterMap, IndicesOutsideTheMapReadNothing) {
  auto effect = makeEffect();
  for (VstInt32 index : kBadIndices) {
    EXPECT_EQ(effect->getParameter(index), 0.0f) << index;
    EXPECT_EQ(name(*effect, index), "untouched") << index;
    EXPECT_EQ(label(*effect, index), "untouched") << index;
    EXPECT_EQ(display(*effect, index), "untouched") << index;
  }
  // Null text pointers are not written through.
  effect->getParameterName(0, nullptr);
  effect->getParameterLabel(0, nullptr);
  effect->getParameterDisplay(0, nullptr);
  effect->getParameterDisplay(kNumOfSteps, nullptr);
  // None of the reads calls the host.
  EXPECT_EQ(Log::instance().hostCount(audioMasterUpdateDisplay), 262);
}
