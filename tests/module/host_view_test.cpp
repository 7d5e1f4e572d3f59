// The built plug-in module, loaded through its entry exactly as a host would:
// identity, the dispatcher's fixed answers, bad indices and pointers, program
// names that do not fit, and the requests the plug-in makes to the host.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "host/lib/host.h"
#include "tests/support/strict_host.h"

namespace {

constexpr VstInt32 kIntMin = std::numeric_limits<VstInt32>::min();

class Zendrel : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(host.load(ZENDREL_MODULE_PATH)) << host.error(); }
  VstIntPtr d(VstInt32 op, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
              float opt = 0.0f) {
    return host.dispatch(op, index, value, ptr, opt);
  }
  zendrel::host::Host host;
};

TEST_F(Zendrel, Identity) {
  AEffect* e = host.effect();
  EXPECT_EQ(e->magic, kEffectMagic);
  EXPECT_EQ(e->numPrograms, 10);
  EXPECT_EQ(e->numParams, 230);
  EXPECT_EQ(e->numInputs, 2);
  EXPECT_EQ(e->numOutputs, 2);
  EXPECT_EQ(e->flags, 0x11);
  EXPECT_EQ(e->uniqueID, fourCharCode('Z', 'd', 'R', 'l'));
  EXPECT_EQ(e->version, 1);
  EXPECT_EQ(e->ioRatio, 1.0f);
  EXPECT_EQ(e->initialDelay, 0);
  char text[64] = {};
  EXPECT_EQ(d(effGetEffectName, 0, 0, text), 1);
  EXPECT_STREQ(text, "Zendrel");
  EXPECT_EQ(d(effGetVendorString, 0, 0, text), 1);
  EXPECT_STREQ(text, "Brindlecove");
  EXPECT_EQ(d(effGetProductString, 0, 0, text), 1);
  EXPECT_STREQ(text, "Zendrel");
  EXPECT_EQ(d(effGetVendorVersion), 1000);
  EXPECT_EQ(d(effGetPlugCategory), 1);
  EXPECT_EQ(d(effGetVstVersion), 2400);
}

TEST_F(Zendrel, FixedDispatcherAnswers) {
  char text[64] = "receiveVstMidiEvent";
  EXPECT_EQ(d(effCanDo, 0, 0, text), 0);
  for (const char* what : {"sendVstEvents", "bypass", "", "plugAsChannelInsert"}) {
    std::strcpy(text, what);
    EXPECT_EQ(d(effCanDo, 0, 0, text), 0) << what;
  }
  EXPECT_EQ(d(effGetTailSize), 0);
  EXPECT_EQ(d(effKeysRequired), 1);
  EXPECT_EQ(d(effConnectInput, 0, 1), 1);
  EXPECT_EQ(d(effConnectOutput, 1, 0), 1);
  EXPECT_EQ(d(effSetTotalSampleToProcess, 0, 4096), 4096);
  void* chunk = &text;
  EXPECT_EQ(d(effGetChunk, 0, 0, &chunk), 0);
  EXPECT_EQ(d(effGetChunk, 1, 0, &chunk), 0);
  EXPECT_EQ(d(effIdentify), fourCharCode('N', 'v', 'E', 'f'));
  EXPECT_EQ(d(effCanBeAutomated, 229), 1);
  EXPECT_EQ(d(effGetNumProgramCategories), 1);
  EXPECT_EQ(d(effCopyProgram, 1), 0);
  EXPECT_EQ(d(effSetBypass, 0, 1), 0);
  EXPECT_EQ(d(effMainsChanged, 0, 1), 0);
  EXPECT_EQ(d(effMainsChanged, 0, 0), 0);
  EXPECT_EQ(d(effSetBlockSizeAndSampleRate, 0, 512, nullptr, 48000.0f), 1);
  EXPECT_EQ(d(80), 0);
  EXPECT_EQ(d(-1), 0);
}

TEST_F(Zendrel, CreationMakesItsDisplayRequestsBeforeTheEntryReturns) {
  std::vector<zendrel::host::Request> log = host.requests();
  ASSERT_FALSE(log.empty());
  EXPECT_EQ(log[0].opcode, audioMasterVersion);
  EXPECT_EQ(log[0].effect, nullptr);
  std::size_t displays = 0;
  for (std::size_t i = 1; i < log.size(); ++i) {
    EXPECT_EQ(log[i].opcode, audioMasterUpdateDisplay) << "request " << i;
    EXPECT_EQ(log[i].effect, host.effect()) << "request " << i;
    EXPECT_EQ(log[i].index, 0);
    EXPECT_EQ(log[i].value, 0);
    EXPECT_EQ(log[i].ptr, nullptr);
    displays++;
  }
  // Program 0 is replayed into zeroed working values: 230 calls, and each of
  // the 32 released "NLF Decrement" buttons finds the step length above its
  // (clamped) note length and switches its merge off by a nested call.
  EXPECT_EQ(displays, 230u + 32u);
}

TEST_F(Zendrel, LoadingAProgramAsksForDisplayUpdatesOnly) {
  host.clearRequests();
  EXPECT_EQ(d(effSetProgram, 0, 4), 0);
  EXPECT_EQ(d(effGetProgram), 4);
  // 230 calls; with the working values of a loaded default program both the
  // released "SF Increment" and each released "NLF Decrement" find the step
  // length above the note lengths and switch the 32 merges off: 2 x 32 nested.
  EXPECT_EQ(host.count(audioMasterUpdateDisplay), 230u + 64u);
  EXPECT_EQ(host.requestCount(), host.count(audioMasterUpdateDisplay));
}

TEST_F(Zendrel, BadProgramNumbersAreIgnored) {
  d(effSetProgram, 0, 2);
  host.clearRequests();
  for (VstIntPtr bad : {VstIntPtr{-1}, VstIntPtr{10}, VstIntPtr{230}, VstIntPtr{100000},
                        VstIntPtr{kIntMin}, VstIntPtr{1} << 33}) {
    EXPECT_EQ(d(effSetProgram, 0, bad), 0);
    EXPECT_EQ(d(effGetProgram), 2) << bad;
  }
  EXPECT_EQ(host.requestCount(), 0u);
  char text[64];
  for (VstInt32 bad : {-1, 10, 230, 100000, kIntMin}) {
    std::memset(text, '#', sizeof text);
    EXPECT_EQ(d(effGetProgramNameIndexed, bad, -1, text), 0) << bad;
    EXPECT_EQ(text[0], '#') << bad;
  }
  EXPECT_EQ(d(effGetProgramNameIndexed, 3, -1, text), 1);
  EXPECT_STREQ(text, "Default");
}

TEST_F(Zendrel, BadParameterIndicesChangeAndWriteNothing) {
  std::vector<float> before(230);
  for (VstInt32 i = 0; i < 230; ++i) before[i] = host.getParameter(i);
  char text[64];
  for (VstInt32 bad : {-1, 230, 100000, kIntMin}) {
    EXPECT_EQ(host.getParameter(bad), 0.0f);
    host.setParameter(bad, 1.0f);
    for (VstInt32 op : {effGetParamName, effGetParamLabel, effGetParamDisplay}) {
      std::memset(text, '#', sizeof text);
      d(op, bad, 0, text);
      EXPECT_EQ(text[0], '#') << "opcode " << op << " index " << bad;
    }
    EXPECT_EQ(d(effCanBeAutomated, bad), 1);
  }
  for (VstInt32 i = 0; i < 230; ++i) EXPECT_EQ(host.getParameter(i), before[i]) << i;
}

TEST_F(Zendrel, NullPointersOnEveryOpcode) {
  // effClose ends the instance and effEditOpen would open a headless editor;
  // every other opcode gets a null pointer and awkward indices.
  for (VstInt32 index : {0, -1, 230, 100000, kIntMin})
    for (VstInt32 op = 0; op <= 79; ++op) {
      if (op == effClose || op == effEditOpen || op == effSetProgram) continue;
      d(op, index, 0, nullptr, 0.0f);
    }
  char text[64] = {};
  EXPECT_EQ(d(effGetEffectName, 0, 0, text), 1);
  EXPECT_STREQ(text, "Zendrel");
}

TEST_F(Zendrel, LongProgramNamesStayInTheirField) {
  std::string longName(1000, 'x');
  longName[0] = 'A';
  d(effSetProgram, 0, 0);
  EXPECT_EQ(d(effSetProgramName, 0, 0, &longName[0]), 0);
  char text[1100];
  std::memset(text, '#', sizeof text);
  d(effGetProgramName, 0, 0, text);
  ASSERT_NE(std::memchr(text, '\0', sizeof text), nullptr);
  EXPECT_LE(std::strlen(text), 23u);
  EXPECT_EQ(text[0], 'A');
  EXPECT_EQ(d(effGetProgramNameIndexed, 0, -1, text), 1);
  EXPECT_LE(std::strlen(text), 23u);
  // The next program's name and values are intact.
  EXPECT_EQ(d(effGetProgramNameIndexed, 1, -1, text), 1);
  EXPECT_STREQ(text, "Default");
  d(effSetProgram, 0, 1);
  for (VstInt32 i = 0; i < 32; ++i) EXPECT_EQ(host.getParameter(i), 1.0f) << i;
}

TEST_F(Zendrel, ProgramNames) {
  char text[64];
  d(effGetProgramName, 0, 0, text);
  EXPECT_STREQ(text, "Default 1");
  d(effSetProgram, 0, 4);
  d(effGetProgramName, 0, 0, text);
  EXPECT_STREQ(text, "Default 5");
  char pad[] = "Pad";
  d(effSetProgramName, 0, 0, pad);
  d(effGetProgramName, 0, 0, text);
  EXPECT_STREQ(text, "Pad");
}

TEST_F(Zendrel, EveryBlockAsksForTheTimeOnceAndNeverForMidi) {
  d(effSetSampleRate, 0, 0, nullptr, 48000.0f);
  d(effSetBlockSize, 0, 256);
  d(effMainsChanged, 0, 1);
  host.setPlaying(true);
  host.clearRequests();
  std::vector<float> l(256, 0.5f), r(256, -0.5f), ol(256), orr(256);
  float* in[2] = {l.data(), r.data()};
  float* out[2] = {ol.data(), orr.data()};
  for (int b = 0; b < 10; ++b) host.processReplacing(in, out, 256);
  std::vector<zendrel::host::Request> log = host.requests();
  ASSERT_EQ(log.size(), 10u);
  for (const zendrel::host::Request& q : log) {
    EXPECT_EQ(q.opcode, audioMasterGetTime);
    EXPECT_EQ(q.value, 0x603);
    EXPECT_EQ(q.effect, host.effect());
  }
  // No time information at all: still finite output, no crash.
  host.setTimeInfoNull(true);
  for (int b = 0; b < 4; ++b) host.processReplacing(in, out, 256);
  for (int n = 0; n < 256; ++n) {
    EXPECT_TRUE(std::isfinite(ol[n]));
    EXPECT_TRUE(std::isfinite(orr[n]));
  }
  std::strcpy(reinterpret_cast<char*>(l.data()), "receiveVstMidiEvent");
  d(effCanDo, 0, 0, l.data());
  d(effMainsChanged, 0, 0);
  d(effMainsChanged, 0, 1);
  EXPECT_EQ(host.count(audioMasterWantMidi), 0u);
}

TEST_F(Zendrel, CloseAnswersOne) {
  EXPECT_EQ(host.close(), 1);
  EXPECT_EQ(host.effect(), nullptr);
  // A second instance after the first is gone starts from the defaults again.
  ASSERT_TRUE(host.load(ZENDREL_MODULE_PATH)) << host.error();
  EXPECT_EQ(host.getParameter(34), 0.984375f);
}

TEST(ZendrelEntry, VersionZeroGivesNoEffectAndBothNamesWork) {
  zendrel::host::Host refused;
  refused.setVersionAnswer(0);
  EXPECT_FALSE(refused.load(ZENDREL_MODULE_PATH));
  EXPECT_EQ(refused.requestCount(), 1u);
  zendrel::host::Host viaMain;
  ASSERT_TRUE(viaMain.load(ZENDREL_MODULE_PATH, "main")) << viaMain.error();
  EXPECT_EQ(viaMain.effectName(), "Zendrel");
  EXPECT_EQ(viaMain.effect()->numParams, 230);
}

}  // namespace
