// The base classes in-process: the record they build, both dispatcher switches
// with their conversions and guards, the proxies, and the host-call wrappers.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "tests/plugin/vst/test_effect.h"

namespace {

using zendrel::test::EditorLog;
using zendrel::test::EffectLog;
using zendrel::test::RecordingEditor;
using zendrel::test::TestEffect;

struct Call {
  AEffect* effect;
  VstInt32 opcode, index;
  VstIntPtr value;
  void* ptr;
  float opt;
};
std::vector<Call> calls;
VstIntPtr nextAnswer = 0;

VstIntPtr recordingHost(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                        void* ptr, float opt) {
  calls.push_back({effect, opcode, index, value, ptr, opt});
  return nextAnswer;
}

class Base : public ::testing::Test {
 protected:
  void SetUp() override {
    calls.clear();
    nextAnswer = 0;
    fx = new TestEffect(recordingHost, &log);
    fx->setEditor(new RecordingEditor(fx, &editorLog));
    e = fx->getAeffect();
  }
  void TearDown() override {
    if (fx) AudioEffect::dispatchEffectClass(e, effClose, 0, 0, nullptr, 0.0f);
  }
  VstIntPtr d(VstInt32 op, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
              float opt = 0.0f) {
    return e->dispatcher(e, op, index, value, ptr, opt);
  }

  EffectLog log;
  EditorLog editorLog;
  TestEffect* fx = nullptr;
  AEffect* e = nullptr;
};

TEST(Record, BaseConstructionFillsThePublishedLayout) {
  TestEffect fx(nullptr, nullptr, 7, 3);
  AEffect* e = fx.getAeffect();
  const unsigned char* raw = reinterpret_cast<const unsigned char*>(e);
  EXPECT_EQ(*reinterpret_cast<const VstInt32*>(raw + 0), 0x56737450);
  EXPECT_EQ(e->numPrograms, 7);
  EXPECT_EQ(e->numParams, 3);
  EXPECT_EQ(e->numInputs, 1);
  EXPECT_EQ(e->numOutputs, 2);
  EXPECT_EQ(e->flags, effFlagsCanReplacing);
  EXPECT_EQ(e->resvd1, 0);
  EXPECT_EQ(e->resvd2, 0);
  EXPECT_EQ(e->initialDelay, 0);
  EXPECT_EQ(e->realQualities, 0);
  EXPECT_EQ(e->offQualities, 0);
  EXPECT_EQ(e->ioRatio, 1.0f);
  EXPECT_EQ(e->object, &fx);
  EXPECT_EQ(e->user, nullptr);
  EXPECT_EQ(e->uniqueID, 0x4e6f4566);
  EXPECT_EQ(e->version, 1);
  EXPECT_NE(e->dispatcher, nullptr);
  EXPECT_NE(e->process, nullptr);
  EXPECT_NE(e->setParameter, nullptr);
  EXPECT_NE(e->getParameter, nullptr);
  EXPECT_NE(e->processReplacing, nullptr);
  EXPECT_NE(e->processDoubleReplacing, nullptr);
  for (unsigned char c : e->future) EXPECT_EQ(c, 0);
  EXPECT_EQ(fx.getSampleRate(), 44100.0f);
  EXPECT_EQ(fx.getBlockSize(), 1024);
  EXPECT_EQ(fx.getProgram(), 0);
  EXPECT_EQ(fx.getEditor(), nullptr);
}

TEST(Record, FlagOperationsAndSetters) {
  TestEffect fx(nullptr, nullptr);
  AEffect* e = fx.getAeffect();
  fx.canProcessReplacing(false);
  EXPECT_EQ(e->flags, 0);
  fx.canDoubleReplacing();
  fx.programsAreChunks();
  fx.hasVu();
  fx.hasClip();
  fx.canMono();
  fx.isSynth();
  fx.noTail();
  EXPECT_EQ(e->flags, 0x1000 | 0x20 | 0x4 | 0x2 | 0x8 | 0x100 | 0x200);
  fx.isSynth(false);
  fx.noTail(false);
  EXPECT_EQ(e->flags, 0x1000 | 0x20 | 0x4 | 0x2 | 0x8);
  fx.setUniqueID(fourCharCode('Z', 'd', 'R', 'l'));
  fx.setNumInputs(2);
  fx.setNumOutputs(2);
  fx.setInitialDelay(64);
  fx.setRealtimeQualities(3);
  fx.setOfflineQualities(4);
  EXPECT_EQ(e->uniqueID, 0x5a64526c);
  EXPECT_EQ(e->numInputs, 2);
  EXPECT_EQ(e->numOutputs, 2);
  EXPECT_EQ(e->initialDelay, 64);
  EXPECT_EQ(e->realQualities, 3);
  EXPECT_EQ(e->offQualities, 4);
  EditorLog editorLog;
  fx.setEditor(new RecordingEditor(&fx, &editorLog));
  EXPECT_TRUE(e->flags & effFlagsHasEditor);
  AEffEditor* ed = fx.getEditor();
  fx.setEditor(nullptr);
  EXPECT_FALSE(e->flags & effFlagsHasEditor);
  delete ed;
}

TEST_F(Base, CloseThroughTheProxyAnswersOneAndDestroysEffectAndEditor) {
  EXPECT_EQ(d(effClose), 1);
  fx = nullptr;
  EXPECT_EQ(log.destroyed, 1);
  EXPECT_EQ(editorLog.destroyed, 1);
  ASSERT_FALSE(log.calls.empty());
  EXPECT_EQ(log.calls.back(), "close");
  // The base dispatcher itself answers 0 to effClose; only the proxy answers 1.
  TestEffect other(nullptr, nullptr);
  EXPECT_EQ(other.dispatcher(effClose, 0, 0, nullptr, 0.0f), 0);
}

TEST_F(Base, ProgramsAndLifecycleOpcodes) {
  EXPECT_EQ(d(effOpen), 0);
  EXPECT_EQ(d(effMainsChanged, 0, 1), 0);
  EXPECT_EQ(d(effMainsChanged, 0, 0), 0);
  EXPECT_EQ((std::vector<std::string>{"open", "resume", "suspend"}), log.calls);

  EXPECT_EQ(d(effSetProgram, 0, 4), 0);
  EXPECT_EQ(d(effGetProgram), 4);
  for (VstIntPtr bad : {VstIntPtr{10}, VstIntPtr{11}, VstIntPtr{-1}, VstIntPtr{-100000},
                        VstIntPtr{std::numeric_limits<VstInt32>::min()},
                        VstIntPtr{1} << 40, -(VstIntPtr{1} << 40)}) {
    EXPECT_EQ(d(effSetProgram, 0, bad), 0);
    EXPECT_EQ(d(effGetProgram), 4) << bad;
  }
  EXPECT_EQ(log.programs, std::vector<VstInt32>{4});
  EXPECT_EQ(d(effSetProgram, 0, 9), 0);
  EXPECT_EQ(d(effGetProgram), 9);
}

TEST_F(Base, SampleRateAndBlockSize) {
  EXPECT_EQ(d(effSetSampleRate, 0, 0, nullptr, 48000.0f), 0);
  EXPECT_EQ(fx->getSampleRate(), 48000.0f);
  // Unusable rates keep the previous one.
  for (float bad : {0.0f, -44100.0f, std::numeric_limits<float>::quiet_NaN(),
                    std::numeric_limits<float>::infinity()}) {
    d(effSetSampleRate, 0, 0, nullptr, bad);
    EXPECT_EQ(fx->getSampleRate(), 48000.0f);
    EXPECT_EQ(d(effSetBlockSizeAndSampleRate, 0, 256, nullptr, bad), 1);
    EXPECT_EQ(fx->getSampleRate(), 48000.0f);
  }
  EXPECT_EQ(d(effSetBlockSize, 0, 512), 0);
  EXPECT_EQ(fx->getBlockSize(), 512);
  EXPECT_EQ(d(effSetBlockSizeAndSampleRate, 0, 128, nullptr, 96000.0f), 1);
  EXPECT_EQ(fx->getBlockSize(), 128);
  EXPECT_EQ(fx->getSampleRate(), 96000.0f);
}

TEST_F(Base, FixedAnswersOfBothSwitches) {
  char text[64] = "";
  EXPECT_EQ(d(effIdentify), 0x4e764566);
  EXPECT_EQ(d(effGetVu), 0);
  EXPECT_EQ(d(effGetChunk, 0, 0, text), 0);
  EXPECT_EQ(d(effSetChunk, 0, 16, text), 0);
  for (VstInt32 op : {effEditDraw, effEditMouse, effEditKey, effEditTop, effEditSleep})
    EXPECT_EQ(d(op, 1, 1, text, 1.0f), 0);
  EXPECT_EQ(d(effCanBeAutomated, 3), 1);
  EXPECT_EQ(d(effCanBeAutomated, -1), 1);
  EXPECT_EQ(d(effString2Parameter, 0, 0, text), 0);
  EXPECT_EQ(d(effGetNumProgramCategories), 1);
  EXPECT_EQ(d(effCopyProgram, 1), 0);
  EXPECT_EQ(d(effConnectInput, 0, 1), 1);
  EXPECT_EQ(d(effConnectOutput, 1, 0), 1);
  EXPECT_EQ(d(effGetPlugCategory), 0);
  EXPECT_EQ(d(effGetCurrentPosition), 0);
  EXPECT_EQ(d(effGetDestinationBuffer), 0);
  EXPECT_EQ(d(effSetBypass, 0, 1), 0);
  EXPECT_EQ(d(effGetEffectName, 0, 0, text), 0);
  EXPECT_EQ(d(effGetVendorVersion), 0);
  std::strcpy(text, "receiveVstMidiEvent");
  EXPECT_EQ(d(effCanDo, 0, 0, text), 0);
  EXPECT_EQ(d(effGetTailSize), 0);
  EXPECT_EQ(d(effIdle), 0);
  EXPECT_EQ(d(effGetIcon), 0);
  EXPECT_EQ(d(effKeysRequired), 1);
  EXPECT_EQ(d(effGetVstVersion), 2400);
  EXPECT_EQ(d(effGetCurrentMidiProgram, 0, 0, text), -1);
  EXPECT_EQ(d(effSetTotalSampleToProcess, 0, 4096), 4096);
  EXPECT_EQ(d(effSetTotalSampleToProcess, 0, -7), -7);  // sign-extended
  EXPECT_EQ(d(effSetPanLaw, 0, 1, nullptr, 0.5f), 0);
  EXPECT_EQ(d(effSetProcessPrecision, 0, 1), 0);
  EXPECT_EQ(d(effGetNumMidiInputChannels), 0);
  EXPECT_EQ(d(effGetNumMidiOutputChannels), 0);
  // Every other opcode lands in the first switch and gets 0.
  for (VstInt32 op : {-1, 80, 81, 1000, std::numeric_limits<VstInt32>::min(),
                      std::numeric_limits<VstInt32>::max()})
    EXPECT_EQ(d(op, 1, 1, text, 1.0f), 0) << op;
  EXPECT_TRUE(calls.empty()) << "no opcode asks the host anything";
}

TEST_F(Base, SpeakerArrangementQueryWritesNullThroughBothPointers) {
  int dummy = 0;
  VstSpeakerArrangement* in = reinterpret_cast<VstSpeakerArrangement*>(&dummy);
  VstSpeakerArrangement* out = in;
  EXPECT_EQ(d(effGetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&in), &out), 0);
  EXPECT_EQ(in, nullptr);
  EXPECT_EQ(out, nullptr);
  EXPECT_EQ(d(effGetSpeakerArrangement, 0, 0, &out), 0);
  EXPECT_EQ(d(effGetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&in), nullptr), 0);
}

TEST_F(Base, EditorOpcodesReachTheEditor) {
  ERect* rect = nullptr;
  EXPECT_EQ(d(effEditGetRect, 0, 0, &rect), 1);
  ASSERT_NE(rect, nullptr);
  EXPECT_EQ(rect->right, 900);
  int window = 0;
  EXPECT_EQ(d(effEditOpen, 0, 0, &window), 1);
  EXPECT_EQ(d(effEditIdle), 0);
  EXPECT_EQ(d(effEditClose), 0);
  EXPECT_EQ(d(effSetEditKnobMode, 0, 2), 1);
  EXPECT_EQ(editorLog.knobMode, 2);
  EXPECT_EQ(d(effEditKeyDown, 'a', 0x1234, nullptr, 259.9f), 1);
  EXPECT_EQ(editorLog.lastKey.character, 'a');
  EXPECT_EQ(editorLog.lastKey.virt, 0x34);
  EXPECT_EQ(editorLog.lastKey.modifier, 3);  // (int)259.9 = 259, low byte 3
  EXPECT_EQ(d(effEditKeyUp, -5, -1, nullptr, -1.5f), 0);
  EXPECT_EQ(editorLog.lastKey.character, -5);
  EXPECT_EQ(editorLog.lastKey.virt, 0xff);
  EXPECT_EQ(editorLog.lastKey.modifier, 0xff);  // (int)-1.5 = -1
  // Options without an integer value give modifier 0 instead of undefined behaviour.
  for (float odd : {std::numeric_limits<float>::quiet_NaN(), 1e30f, -1e30f}) {
    d(effEditKeyDown, 1, 2, nullptr, odd);
    EXPECT_EQ(editorLog.lastKey.modifier, 0);
  }
  EXPECT_EQ((std::vector<std::string>{"getRect", "open", "idle", "close", "knobMode", "keyDown",
                                      "keyUp", "keyDown", "keyDown", "keyDown"}),
            editorLog.calls);
  // A null parent is the headless open: it still reaches the editor.
  EXPECT_EQ(d(effEditOpen, 0, 0, nullptr), 1);
}

TEST_F(Base, EditorOpcodesWithoutEditorAnswerZero) {
  AEffEditor* ed = fx->getEditor();
  fx->setEditor(nullptr);
  delete ed;
  ERect* rect = nullptr;
  int window = 0;
  EXPECT_EQ(d(effEditGetRect, 0, 0, &rect), 0);
  EXPECT_EQ(rect, nullptr);
  EXPECT_EQ(d(effEditOpen, 0, 0, &window), 0);
  EXPECT_EQ(d(effEditClose), 0);
  EXPECT_EQ(d(effEditIdle), 0);
  EXPECT_EQ(d(effEditKeyDown, 'a', 1), 0);
  EXPECT_EQ(d(effEditKeyUp, 'a', 1), 0);
  EXPECT_EQ(d(effSetEditKnobMode, 0, 1), 0);
  EXPECT_EQ(editorLog.destroyed, 1);
  EXPECT_TRUE(editorLog.calls.empty());
}

TEST_F(Base, NullPointersAreNeverWrittenThrough) {
  for (VstInt32 op :
       {effSetProgramName, effGetProgramName, effGetParamLabel, effGetParamDisplay,
        effGetParamName, effEditGetRect, effGetChunk, effSetChunk, effProcessEvents,
        effString2Parameter, effGetProgramNameIndexed, effGetInputProperties,
        effGetOutputProperties, effGetEffectName, effGetErrorText, effGetVendorString,
        effGetProductString, effCanDo, effGetParameterProperties, effGetMidiProgramName,
        effGetCurrentMidiProgram, effGetMidiProgramCategory, effGetMidiKeyName,
        effGetSpeakerArrangement, effShellGetNextPlugin})
    EXPECT_EQ(d(op, 0, 0, nullptr), 0) << op;
  EXPECT_TRUE(editorLog.calls.empty());
}

TEST_F(Base, BaseTextsAreEmptyAndProgramNamesOnlyForExistingPrograms) {
  char text[32];
  for (VstInt32 op : {effGetProgramName, effGetParamLabel, effGetParamDisplay, effGetParamName}) {
    std::memset(text, '#', sizeof text);
    EXPECT_EQ(d(op, 1, 0, text), 0);
    EXPECT_EQ(text[0], '\0');
    EXPECT_EQ(text[1], '#');
  }
  std::memset(text, '#', sizeof text);
  EXPECT_EQ(d(effGetProgramNameIndexed, 3, -1, text), 1);
  EXPECT_STREQ(text, "P");
  for (VstInt32 bad : {-1, 10, 230, 100000, std::numeric_limits<VstInt32>::min()}) {
    std::memset(text, '#', sizeof text);
    EXPECT_EQ(d(effGetProgramNameIndexed, bad, -1, text), 0);
    EXPECT_EQ(text[0], '#');
  }
  EXPECT_EQ(log.calls, std::vector<std::string>{"getProgramNameIndexed 3"});
}

TEST_F(Base, ParameterProxiesAndAutomationOrder) {
  e->setParameter(e, 2, 0.25f);
  EXPECT_EQ(e->getParameter(e, 2), 0.0f);
  calls.clear();
  log.calls.clear();
  fx->setParameterAutomated(3, 0.75f);
  EXPECT_EQ(log.calls, std::vector<std::string>{"setParameter 3"});
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0].opcode, audioMasterUpdateDisplay);  // the plug-in's own change first
  EXPECT_EQ(calls[1].opcode, audioMasterAutomate);
  EXPECT_EQ(calls[1].effect, e);
  EXPECT_EQ(calls[1].index, 3);
  EXPECT_EQ(calls[1].value, 0);
  EXPECT_EQ(calls[1].ptr, nullptr);
  EXPECT_EQ(calls[1].opt, 0.75f);
}

// Hosts may index their tables with what they receive: an index outside the
// declared parameters (an editor's own control, a careless caller) keeps its
// local handling, but no edit or automation request for it reaches the host.
TEST_F(Base, OnlyDeclaredParametersReachTheHost) {
  nextAnswer = 1;
  calls.clear();
  log.calls.clear();
  const VstInt32 foreign[] = {-1, 4, 1003, 1004, INT_MAX, INT_MIN};
  for (VstInt32 index : foreign) {
    EXPECT_FALSE(fx->beginEdit(index)) << index;
    fx->setParameterAutomated(index, 0.5f);
    EXPECT_FALSE(fx->endEdit(index)) << index;
  }
  EXPECT_EQ(log.calls.size(), std::size(foreign));  // setParameter ran for each
  for (const auto& c : calls)
    EXPECT_TRUE(c.opcode != audioMasterBeginEdit && c.opcode != audioMasterEndEdit &&
                c.opcode != audioMasterAutomate)
        << c.opcode << " " << c.index;
  // The last declared index still goes through.
  calls.clear();
  EXPECT_TRUE(fx->beginEdit(3));
  fx->setParameterAutomated(3, 0.5f);
  EXPECT_TRUE(fx->endEdit(3));
  ASSERT_EQ(calls.size(), 4u);
  EXPECT_EQ(calls[0].opcode, audioMasterBeginEdit);
  EXPECT_EQ(calls[2].opcode, audioMasterAutomate);
  EXPECT_EQ(calls[3].opcode, audioMasterEndEdit);
}

TEST_F(Base, RequestsCarryTheRecordAndTheirArguments) {
  char text[64] = "x";
  auto last = [&]() { return calls.back(); };
  calls.clear();
  nextAnswer = 0;
  EXPECT_EQ(fx->getTimeInfo(0x603), nullptr);
  EXPECT_EQ(last().opcode, audioMasterGetTime);
  EXPECT_EQ(last().value, 0x603);
  EXPECT_EQ(last().effect, e);
  EXPECT_EQ(fx->getMasterVersion(), 1);  // a 0 answer counts as version 1
  nextAnswer = 2400;
  EXPECT_EQ(fx->getMasterVersion(), 2400);
  nextAnswer = 1;
  EXPECT_TRUE(fx->beginEdit(3));
  EXPECT_EQ(last().opcode, audioMasterBeginEdit);
  EXPECT_EQ(last().index, 3);
  EXPECT_TRUE(fx->endEdit(3));
  EXPECT_EQ(last().opcode, audioMasterEndEdit);
  EXPECT_FALSE(fx->isInputConnected(1));  // connected means the host answered 0
  EXPECT_EQ(last().opcode, audioMasterPinConnected);
  EXPECT_EQ(last().index, 1);
  EXPECT_EQ(last().value, 0);
  EXPECT_FALSE(fx->isOutputConnected(0));
  EXPECT_EQ(last().value, 1);
  fx->wantEvents();
  EXPECT_EQ(last().opcode, audioMasterWantMidi);
  EXPECT_EQ(last().value, 1);
  EXPECT_TRUE(fx->sizeWindow(900, 550));
  EXPECT_EQ(last().opcode, audioMasterSizeWindow);
  EXPECT_EQ(last().index, 900);
  EXPECT_EQ(last().value, 550);
  fx->getHostTempoAt(1234);
  EXPECT_EQ(last().opcode, audioMasterTempoAt);
  EXPECT_EQ(last().value, 1234);
  fx->setOutputSampleRate(22050.0f);
  EXPECT_EQ(last().opcode, audioMasterSetOutputSampleRate);
  EXPECT_EQ(last().opt, 22050.0f);
  fx->offlineStart(nullptr, 3, 2);
  EXPECT_EQ(last().opcode, audioMasterOfflineStart);
  EXPECT_EQ(last().index, 2);
  EXPECT_EQ(last().value, 3);
  fx->offlineRead(nullptr, 5, true);
  EXPECT_EQ(last().index, 1);
  EXPECT_EQ(last().value, 5);
  fx->hostVendorSpecific(11, 12, text, 1.5f);
  EXPECT_EQ(last().opcode, audioMasterVendorSpecific);
  EXPECT_EQ(last().index, 11);
  EXPECT_EQ(last().value, 12);
  EXPECT_EQ(last().ptr, text);
  EXPECT_EQ(last().opt, 1.5f);
  EXPECT_EQ(fx->canHostDo(text), 1);
  EXPECT_EQ(last().opcode, audioMasterCanDo);
  EXPECT_EQ(last().ptr, text);

  // A positive answer updates the rate and block size; anything else keeps them.
  nextAnswer = 96000;
  EXPECT_EQ(fx->updateSampleRate(), 96000.0);
  nextAnswer = -1;
  EXPECT_EQ(fx->updateSampleRate(), 96000.0);
  nextAnswer = 256;
  EXPECT_EQ(fx->updateBlockSize(), 256);
  nextAnswer = 0;
  EXPECT_EQ(fx->updateBlockSize(), 256);

  // File selectors and chunk files refuse a null pointer without asking.
  std::size_t before = calls.size();
  nextAnswer = 1;
  EXPECT_FALSE(fx->openFileSelector(nullptr));
  EXPECT_FALSE(fx->closeFileSelector(nullptr));
  EXPECT_FALSE(fx->getChunkFile(nullptr));
  EXPECT_EQ(calls.size(), before);
  EXPECT_TRUE(fx->openFileSelector(text));
  EXPECT_EQ(last().opcode, audioMasterOpenFileSelector);

  // Every remaining wrapper: its opcode, and the record as first argument.
  const std::vector<std::pair<VstInt32, std::function<void()>>> rows = {
      {audioMasterCurrentId, [&] { fx->getCurrentUniqueId(); }},
      {audioMasterIdle, [&] { fx->masterIdle(); }},
      {audioMasterUpdateDisplay, [&] { fx->updateDisplay(); }},
      {audioMasterGetNumAutomatableParameters, [&] { fx->getNumAutomatableParameters(); }},
      {audioMasterGetParameterQuantization, [&] { fx->getParameterQuantization(); }},
      {audioMasterIOChanged, [&] { fx->ioChanged(); }},
      {audioMasterNeedIdle, [&] { fx->needIdle(); }},
      {audioMasterGetInputLatency, [&] { fx->getInputLatency(); }},
      {audioMasterGetOutputLatency, [&] { fx->getOutputLatency(); }},
      {audioMasterGetPreviousPlug, [&] { fx->getPreviousPlug(0); }},
      {audioMasterGetNextPlug, [&] { fx->getNextPlug(0); }},
      {audioMasterWillReplaceOrAccumulate, [&] { fx->willProcessReplacing(); }},
      {audioMasterGetCurrentProcessLevel, [&] { fx->getCurrentProcessLevel(); }},
      {audioMasterGetAutomationState, [&] { fx->getAutomationState(); }},
      {audioMasterOfflineWrite, [&] { fx->offlineWrite(nullptr, 1); }},
      {audioMasterOfflineGetCurrentPass, [&] { fx->offlineGetCurrentPass(); }},
      {audioMasterOfflineGetCurrentMetaPass, [&] { fx->offlineGetCurrentMetaPass(); }},
      {audioMasterGetOutputSpeakerArrangement, [&] { fx->getOutputSpeakerArrangement(); }},
      {audioMasterGetVendorString, [&] { fx->getHostVendorString(text); }},
      {audioMasterGetProductString, [&] { fx->getHostProductString(text); }},
      {audioMasterGetVendorVersion, [&] { fx->getHostVendorVersion(); }},
      {audioMasterGetLanguage, [&] { fx->getHostLanguage(); }},
      {audioMasterOpenWindow, [&] { fx->openWindow(text); }},
      {audioMasterCloseWindow, [&] { fx->closeWindow(text); }},
      {audioMasterGetDirectory, [&] { fx->getDirectory(); }},
      {audioMasterCloseFileSelector, [&] { fx->closeFileSelector(text); }},
      {audioMasterGetChunkFile, [&] { fx->getChunkFile(text); }},
      {audioMasterGetInputSpeakerArrangement, [&] { fx->getInputSpeakerArrangement(); }},
  };
  for (const auto& row : rows) {
    calls.clear();
    row.second();
    ASSERT_EQ(calls.size(), 1u) << row.first;
    EXPECT_EQ(calls[0].opcode, row.first);
    EXPECT_EQ(calls[0].effect, e);
  }
}

TEST(NoHost, EveryWrapperAnswersItsDefaultAndCallsNothing) {
  TestEffect fx(nullptr, nullptr);
  char text[8] = "x";
  EXPECT_EQ(fx.getTimeInfo(0x603), nullptr);
  EXPECT_EQ(fx.getMasterVersion(), 1);
  EXPECT_EQ(fx.getCurrentUniqueId(), 0);
  EXPECT_TRUE(fx.isInputConnected(0));
  EXPECT_TRUE(fx.isOutputConnected(0));
  EXPECT_FALSE(fx.beginEdit(0));
  EXPECT_FALSE(fx.endEdit(0));
  EXPECT_FALSE(fx.updateDisplay());
  fx.masterIdle();
  fx.wantEvents();
  EXPECT_FALSE(fx.sizeWindow(1, 1));
  EXPECT_EQ(fx.updateSampleRate(), 44100.0);
  EXPECT_EQ(fx.updateBlockSize(), 1024);
  EXPECT_EQ(fx.getDirectory(), nullptr);
  EXPECT_EQ(fx.getInputSpeakerArrangement(), nullptr);
  EXPECT_FALSE(fx.getHostVendorString(text));
  EXPECT_EQ(fx.canHostDo(text), 0);
  EXPECT_FALSE(fx.openFileSelector(text));
  // setParameterAutomated still applies the change.
  fx.setParameterAutomated(1, 0.5f);
}

}  // namespace
