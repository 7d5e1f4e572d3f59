// The effect object: what it tells the host about itself, what its construction
// asks of the host, resume and the sample rate, and the audio path's host calls.
#include <gtest/gtest.h>

#include <cstring>

#include "plugin/model/parameters.h"
#include "tests/plugin/model/model_harness.h"

using namespace zendrel::test;
using namespace zendrel;

namespace {

VstIntPtr dispatch(Zendrel& effect, VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0,
                   void* ptr = nullptr, float opt = 0.0f) {
  AEffect* record = effect.getAeffect();
  return record->dispatcher(record, opcode, index, value, ptr, opt);
}

}  // namespace

TEST(Effect, IdentityAnsweredToTheHost) {
  auto effect = makeEffect();
  const AEffect* record = effect->getAeffect();
  EXPECT_EQ(record->uniqueID, fourCharCode('Z', 'd', 'R', 'l'));
  EXPECT_EQ(record->version, 1);
  EXPECT_EQ(record->numInputs, 2);
  EXPECT_EQ(record->numOutputs, 2);
  EXPECT_EQ(record->numPrograms, 10);
  EXPECT_EQ(record->numParams, 230);
  EXPECT_EQ(record->flags, effFlagsHasEditor | effFlagsCanReplacing);

  char text[64];
  std::memset(text, 'x', sizeof text);
  EXPECT_EQ(dispatch(*effect, effGetEffectName, 0, 0, text), 1);
  EXPECT_STREQ(text, "Zendrel");
  EXPECT_EQ(dispatch(*effect, effGetVendorString, 0, 0, text), 1);
  EXPECT_STREQ(text, "Brindlecove");
  EXPECT_EQ(dispatch(*effect, effGetProductString, 0, 0, text), 1);
  EXPECT_STREQ(text, "Zendrel");
  EXPECT_EQ(dispatch(*effect, effGetVendorVersion), 1000);
  EXPECT_EQ(dispatch(*effect, effGetPlugCategory), kPlugCategEffect);
  EXPECT_EQ(dispatch(*effect, effGetVstVersion), 2400);
  char midi[] = "receiveVstMidiEvent";
  EXPECT_EQ(dispatch(*effect, effCanDo, 0, 0, midi), 0);
  EXPECT_EQ(dispatch(*effect, effCanBeAutomated, 229), 1);
}

TEST(Effect, CreationLoadsProgramZeroWithOneDisplayRequestPerCall) {
  auto effect = makeEffect();
  for (int i = 0; i < kNumParams; ++i) EXPECT_EQ(effect->getParameter(i), defaultValueOf(i)) << i;
  EXPECT_EQ(effect->getProgram(), 0);
  EXPECT_EQ(effect->engineSampleRate(), 44100.0);

  // The editor comes after the program, so it is told nothing; each of the 230
  // replayed values, and each of the 32 merges switched off on the way (the
  // release of "NLF Decrement k" while the step is longer than the note), asks
  // for one display update. Nothing else reaches the host.
  Log& log = Log::instance();
  EXPECT_EQ(log.editorCount(), 0);
  EXPECT_EQ(log.hostCount(audioMasterUpdateDisplay), 262);
  EXPECT_EQ(static_cast<int>(log.events().size()), 262);
}

TEST(Effect, SampleRateReachesTheEngineOnlyOnResume) {
  auto effect = makeEffect();
  dispatch(*effect, effMainsChanged, 0, 0);
  dispatch(*effect, effSetSampleRate, 0, 0, nullptr, 48000.0f);
  EXPECT_EQ(effect->engineSampleRate(), 44100.0);
  EXPECT_EQ(effect->gateEngine().sampleRate(), 44100.0);
  dispatch(*effect, effMainsChanged, 0, 1);
  EXPECT_EQ(effect->engineSampleRate(), 48000.0);
  EXPECT_EQ(effect->gateEngine().sampleRate(), 48000.0);
  EXPECT_EQ(Log::instance().hostCount(audioMasterWantMidi), 0);
}

TEST(Effect, EachBlockAsksForTheTimeOnceAndNothingElse) {
  auto effect = makeEffect();
  Log& log = Log::instance();
  log.clear();
  runBlock(*effect, 64);
  runBlock(*effect, 0);
  runBlock(*effect, -5);
  const auto events = log.events();
  ASSERT_EQ(events.size(), 3u);
  for (const Event& e : events) {
    EXPECT_EQ(e.code, audioMasterGetTime);
    EXPECT_EQ(e.hostValue, 0x603);
  }
  // A host without time information gets no crash either.
  log.answerTime = false;
  runBlock(*effect, 64);
  EXPECT_EQ(log.hostCount(audioMasterGetTime), 4);
}

TEST(Effect, FactoryMakesAWholeEffect) {
  Log::instance().clear();
  AudioEffect* effect = createZendrel(fakeHost, &makeRecordingEditor);
  ASSERT_NE(effect, nullptr);
  EXPECT_NE(dynamic_cast<Zendrel*>(effect), nullptr);
  EXPECT_EQ(effect->getAeffect()->object, effect);
  delete effect;
}
