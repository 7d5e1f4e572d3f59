// The bank of ten programs: names, switching, and loading a program so that it
// comes back as it was saved.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "plugin/model/parameters.h"
#include "tests/plugin/model/model_harness.h"

using namespace zendrel::test;
using namespace zendrel;

namespace {

std::string programName(Zendrel& effect) {
  char text[64] = "untouched";
  effect.getProgramName(text);
  return text;
}

std::string indexedName(Zendrel& effect, VstInt32 index, bool& answered) {
  char text[64] = "untouched";
  answered = effect.getProgramNameIndexed(0, index, text);
  return text;
}

// A program that exercises every coupling: merges, a longer step, unequal
// note lengths, attack and decay, fewer steps.
// One press up the note-value grid from 0.4995 (an eighth).
const float kDottedEighth = static_cast<float>(static_cast<double>(0.4995f) + 0.077);

void editIntoProgram(Zendrel& effect, VstInt32 program) {
  effect.setProgram(program);
  effect.setParameter(kStepLength, kDottedEighth);
  effect.setParameter(kNumOfSteps, 0.3f);
  effect.setParameter(kNoteLength + 1, 0.1145f);
  effect.setParameter(kNoteLength + 0, 0.4995f);
  effect.setParameter(kNlfIncrement + 0, 1.0f);  // note 1 reaches the step: merged
  effect.setParameter(kNlfIncrement + 0, 0.0f);
  effect.setParameter(kMerge + 3, 1.0f);         // note 4 -> the step length
  effect.setParameter(kMerge + 9, 0.75f);
  effect.setParameter(kAttack + 2, 0.6f);
  effect.setParameter(kDecay + 2, 0.3f);
  effect.setParameter(kGate + 5, 0.25f);
}

void expectSameBits(const std::vector<float>& a, const std::vector<float>& b, const char* what) {
  ASSERT_EQ(a.size(), b.size());
  for (size_t i = 0; i < a.size(); ++i) EXPECT_TRUE(sameBits(a[i], b[i])) << what << " " << i << ": " << a[i] << " vs " << b[i];
}

}  // namespace

TEST(ProgramBank, NamesAndNumbering) {
  auto effect = makeEffect();
  bool answered = false;
  EXPECT_EQ(programName(*effect), "Default 1");
  EXPECT_EQ(indexedName(*effect, 3, answered), "Default");
  EXPECT_TRUE(answered);
  EXPECT_EQ(indexedName(*effect, 10, answered), "untouched");
  EXPECT_FALSE(answered);
  EXPECT_EQ(indexedName(*effect, -1, answered), "untouched");
  EXPECT_FALSE(answered);

  effect->setProgram(9);
  EXPECT_EQ(programName(*effect), "Default 10");
  effect->setProgram(4);
  EXPECT_EQ(programName(*effect), "Default 5");
  char pad[] = "Pad";
  effect->setProgramName(pad);
  EXPECT_EQ(programName(*effect), "Pad");
  EXPECT_EQ(indexedName(*effect, 4, answered), "Pad");
  char back[] = "Default";
  effect->setProgramName(back);
  EXPECT_EQ(programName(*effect), "Default 5");
  char longer[] = "Default ";
  effect->setProgramName(longer);
  EXPECT_EQ(programName(*effect), "Default ");
}

TEST(ProgramBank, LongNamesAreCutInsideTheField) {
  auto effect = makeEffect();
  effect->setProgram(1);
  std::string huge(1000, 'n');
  effect->setProgramName(&huge[0]);
  EXPECT_EQ(programName(*effect), std::string(23, 'n'));
  const GateProgram* next = effect->programRecord(2);
  EXPECT_STREQ(next->name, "Default");
  EXPECT_EQ(next->value(0), 1.0f);
  effect->setProgramName(nullptr);
  EXPECT_EQ(programName(*effect), std::string(23, 'n'));
}

TEST(ProgramBank, NumbersOutsideTheBankAreIgnored) {
  auto effect = makeEffect();
  effect->setProgram(3);
  Log::instance().clear();
  for (VstInt32 p : {-1, 10, -2147483647 - 1, 2147483647}) effect->setProgram(p);
  EXPECT_EQ(effect->getProgram(), 3);
  EXPECT_TRUE(Log::instance().events().empty());
  EXPECT_EQ(effect->programRecord(-1), nullptr);
  EXPECT_EQ(effect->programRecord(10), nullptr);
}

TEST(ProgramBank, SwitchingKeepsEachProgramsValues) {
  auto effect = makeEffect();
  effect->setParameter(kGate, 0.0f);
  effect->setProgram(1);
  EXPECT_EQ(effect->getParameter(kGate), 1.0f);
  effect->setProgram(0);
  EXPECT_EQ(effect->getParameter(kGate), 0.0f);
}

// A program change replays the 230 values in index order, and every call, nested
// ones included, tells the editor and asks the host for one display update.
TEST(ProgramBank, LoadingReplaysEveryValueInOrder) {
  auto effect = makeEffect();
  Log& log = Log::instance();
  log.clear();
  effect->setProgram(1);
  const auto calls = log.editorCalls();
  EXPECT_EQ(log.hostCount(audioMasterUpdateDisplay), static_cast<int>(calls.size()));
  EXPECT_EQ(static_cast<int>(log.events().size()), 2 * static_cast<int>(calls.size()));
  // 230 replayed values, 32 merges switched off by the release of "SF Increment"
  // (the step is longer than every note) and 32 more by the releases of
  // "NLF Decrement 1..32".
  EXPECT_EQ(calls.size(), 294u);
  size_t next = 0;
  for (const auto& call : calls) {
    if (next < static_cast<size_t>(kNumParams) && call.first == static_cast<VstInt32>(next) &&
        call.second == defaultValueOf(static_cast<int>(next)))
      ++next;
  }
  EXPECT_EQ(next, static_cast<size_t>(kNumParams));
}

TEST(ProgramBank, MergesSurviveLeavingAndSelectingAgain) {
  auto effect = makeEffect();
  editIntoProgram(*effect, 2);
  ASSERT_EQ(effect->getParameter(kMerge + 3), 1.0f);
  ASSERT_EQ(effect->getParameter(kMerge + 0), 1.0f);
  const auto saved = workingValues(*effect);
  effect->setProgram(5);
  effect->setProgram(2);
  EXPECT_EQ(effect->getParameter(kMerge + 0), 1.0f);
  EXPECT_EQ(effect->getParameter(kMerge + 3), 1.0f);
  EXPECT_EQ(effect->getParameter(kMerge + 9), 0.75f);
  EXPECT_EQ(effect->getParameter(kNoteLength + 3), kDottedEighth);
  expectSameBits(workingValues(*effect), saved, "working");
  EXPECT_EQ(effect->programRecord(2)->value(kMerge + 3), 1.0f);
}

// Shortening a merged note directly unmerges the step, so the program keeps the
// short note: a merge replayed after it would otherwise stretch it again.
TEST(ProgramBank, AShortenedMergedNoteSurvivesLeavingAndSelectingAgain) {
  auto effect = makeEffect();
  effect->setParameter(kMerge + 6, 1.0f);
  effect->setParameter(kNoteLength + 6, 0.1f);
  EXPECT_EQ(effect->getParameter(kMerge + 6), 0.0f);
  effect->setProgram(1);
  effect->setProgram(0);
  EXPECT_EQ(effect->getParameter(kNoteLength + 6), 0.1f);
  EXPECT_EQ(effect->getParameter(kMerge + 6), 0.0f);
}

TEST(ProgramBank, SelectingGivesTheSameStateWhateverCameBefore) {
  auto effect = makeEffect();
  editIntoProgram(*effect, 2);
  // Other programs that leave very different states behind.
  effect->setProgram(3);
  effect->setParameter(kStepLength, 0.0375f);
  effect->setParameter(kSfIncrement, 1.0f);  // a press recorded without release
  effect->setParameter(kNumOfSteps, 0.0f);
  effect->setProgram(4);
  effect->setParameter(kStepLength, 0.9615f);
  for (int k = 0; k < kNumSteps; ++k) effect->setParameter(kMerge + k, 1.0f);
  for (int k = 0; k < kNumSteps; ++k) effect->setParameter(kDecay + k, 0.9f);

  effect->setProgram(2);
  const auto working = workingValues(*effect);
  const auto record = recordValues(*effect, 2);
  for (VstInt32 before : {0, 3, 4, 2, 1, 4}) {
    effect->setProgram(before);
    effect->setProgram(2);
    expectSameBits(workingValues(*effect), working, "working");
    expectSameBits(recordValues(*effect, 2), record, "record");
  }
}

// A host that restores a program by sending its stored values one by one ends
// where selecting the program ends.
TEST(ProgramBank, SelectingEqualsAHostRestoringTheValues) {
  auto source = makeEffect();
  editIntoProgram(*source, 2);
  source->setProgram(0);
  const auto saved = recordValues(*source, 2);
  source->setProgram(2);

  auto restored = makeEffect();
  restored->setProgram(2);
  for (int i = 0; i < kNumParams; ++i) restored->setParameter(i, saved[static_cast<size_t>(i)]);
  expectSameBits(workingValues(*restored), workingValues(*source), "working");
  expectSameBits(recordValues(*restored, 2), recordValues(*source, 2), "record");
}
