// How the open editor follows the effect: raw values from any thread, the
// playing step lit from the engine's position, odd values drawn inside their
// controls only.
#include <atomic>
#include <cmath>
#include <limits>
#include <thread>

#include "editor/step_lights.h"
#include "tests/editor/editor_support.h"
#include "toolkit/controls/movie_bitmap.h"
#include "toolkit/draw_context.h"

namespace zendrel::test {
namespace {

using namespace Toolkit;
using namespace zendrel;
using namespace zendrel::editor;

using EditorRefresh = PlainEditor;

TEST_F(EditorRefresh, TheRawValueReachesTheControlWhateverThePage) {
  editor->setParameter(kNumOfSteps, 0.3f);
  EXPECT_EQ(shown(kNumOfSteps), 0.3f);  // no snapping
  editor->setParameter(5, 1.0f);
  EXPECT_EQ(shown(5), 1.0f);
  editor->setParameter(kGate + 20, 0.25f);  // a hidden page-2 slider
  EXPECT_EQ(shown(kGate + 20), 0.25f);
  editor->setParameter(kPageSwitch, 1.0f);  // the switch moves, the page does not
  EXPECT_EQ(shown(kPageSwitch), 1.0f);
  EXPECT_TRUE(control(kGate)->isVisible());
  for (VstInt32 outside : {-1, 230, 500, 1000, 1002, 1005, std::numeric_limits<VstInt32>::min()})
    editor->setParameter(outside, 0.5f);  // ignored
  effect->dispatcher(effEditClose, 0, 0, nullptr, 0.0f);
  editor->setParameter(kNumOfSteps, 0.7f);  // closed: nothing to set
  EXPECT_EQ(editor->controlByTag(kNumOfSteps), nullptr);
}

TEST(StepLights, OnlyAPositionInsideAStepLightsIt) {
  double starts[33];
  for (int k = 0; k <= 32; ++k) starts[k] = 1000.0 * k;
  StepLights l{0.5f, 0.5f, 0.5f};
  lightPlayingStep(2500.0, starts, l);  // inside step 3
  EXPECT_EQ(l.page1, 2.0f / 16);
  EXPECT_EQ(l.page2, 1.0f);
  EXPECT_EQ(l.overview, 2.0f / 31);
  lightPlayingStep(19500.0, starts, l);  // inside step 20
  EXPECT_EQ(l.page1, 1.0f);
  EXPECT_EQ(l.page2, 3.0f / 16);
  EXPECT_EQ(l.overview, 19.0f / 31);
  lightPlayingStep(31999.0, starts, l);
  EXPECT_EQ(l.overview, 1.0f);  // 31/31

  l = StepLights{0.25f, 0.5f, 0.75f};
  lightPlayingStep(5000.0, starts, l);  // exactly on a boundary of page 1
  EXPECT_EQ(l.page1, 0.25f);
  EXPECT_EQ(l.overview, 0.75f);
  EXPECT_EQ(l.page2, 1.0f);
  l = StepLights{0.25f, 0.5f, 0.75f};
  lightPlayingStep(std::numeric_limits<double>::quiet_NaN(), starts, l);
  EXPECT_EQ(l.page1, 0.25f);
  EXPECT_EQ(l.page2, 0.5f);
  EXPECT_EQ(l.overview, 0.75f);
  lightPlayingStep(-10.0, starts, l);  // pre-roll: page 2 dark, the rest kept
  EXPECT_EQ(l.page1, 0.25f);
  EXPECT_EQ(l.page2, 1.0f);
  EXPECT_EQ(l.overview, 0.75f);
  l = StepLights{0.25f, 0.5f, 0.75f};
  lightPlayingStep(40000.0, starts, l);  // beyond the pattern
  EXPECT_EQ(l.page1, 1.0f);
  EXPECT_EQ(l.page2, 0.5f);
}

using EditorFollowsTheEngine = OpenEditor;

TEST_F(EditorFollowsTheEngine, IdleLightsThePlayingStep) {
  // 120 beats per minute, 44.1 kHz, step length 1/16: a step lasts 5512.5
  // samples. Song position 3.3 steps in: step 4 plays.
  effect->dispatcher(effSetSampleRate, 0, 0, nullptr, 44100.0f);
  effect->dispatcher(effMainsChanged, 0, 1, nullptr, 0.0f);
  static VstTimeInfo info;
  info = VstTimeInfo{};
  info.sampleRate = 44100.0;
  info.tempo = 120.0;
  info.samplePos = 3.3 * 5512.5;
  info.ppqPos = 3.3 * 0.25;
  info.flags = kVstTransportPlaying | kVstTempoValid | kVstPpqPosValid;
  auto* host = +[](AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) -> VstIntPtr {
    if (opcode == audioMasterVersion) return kVstVersion;
    return opcode == audioMasterGetTime ? reinterpret_cast<VstIntPtr>(&info) : 0;
  };
  Zendrel playing(host, &createZendrelEditor);
  auto* ed = static_cast<ZendrelEditor*>(playing.getEditor());
  playing.dispatcher(effEditOpen, 0, 0, nullptr, 0.0f);
  float left[16] = {}, right[16] = {};
  float* io[] = {left, right};
  playing.processReplacing(io, io, 16);
  playing.dispatcher(effEditIdle, 0, 0, nullptr, 0.0f);
  EXPECT_EQ(ed->pageStepIndicator(1)->getValue(), 3.0f / 16);
  EXPECT_EQ(ed->pageStepIndicator(2)->getValue(), 1.0f);
  EXPECT_EQ(ed->overviewIndicator()->getValue(), 3.0f / 31);
}

TEST_F(EditorFollowsTheEngine, ValuesFromAnotherThreadShowAtTheNextIdle) {
  std::thread automation([this] {
    effect->setParameter(kGate + 7, 0.125f);
    effect->setProgram(3);
    effect->setParameter(kGate + 7, 0.375f);
  });
  automation.join();
  // Not yet: the controls belong to the editor's thread.
  EXPECT_NE(shown(kGate + 7), 0.375f);
  effect->dispatcher(effEditIdle, 0, 0, nullptr, 0.0f);
  for (int32_t i = 0; i < kNumParams; ++i) EXPECT_EQ(shown(i), effect->getParameter(i)) << i;
  EXPECT_EQ(shown(kGate + 7), 0.375f);
}

TEST_F(EditorFollowsTheEngine, TheEffectsOwnRulesShowAtOnceOnTheEditorsThread) {
  // A merge asks for a full note, which the pass lowers to the step length.
  effect->setParameter(kMerge + 4, 1.0f);
  EXPECT_EQ(shown(kMerge + 4), 1.0f);
  EXPECT_EQ(shown(kNoteLength + 4), effect->getParameter(kStepLength));
  effect->setProgram(0);
  for (int32_t i = 0; i < kNumParams; ++i) EXPECT_EQ(shown(i), effect->getParameter(i)) << i;
}

// Host values outside 0..1, infinities and NaN: drawn somehow, never outside
// the control, never a crash.
TEST_F(EditorRefresh, OddValuesAreDrawnInsideTheirControls) {
  auto render = [this](std::vector<uint32_t>& px) {
    auto* context = new COffscreenContext(frame, 900, 550);
    frame->drawRect(context, CRect(0, 0, 900, 550));
    ASSERT_TRUE(context->readPixels(px));
    context->release();
  };
  std::vector<uint32_t> before;
  render(before);
  const float odd[] = {-1.0f, 2.0f, 1e30f, -1e30f, std::numeric_limits<float>::infinity(),
                       -std::numeric_limits<float>::infinity(), std::numeric_limits<float>::quiet_NaN()};
  for (int32_t tag : {int32_t(kGate + 2), int32_t(kAttack + 2), int32_t(kNumOfSteps), int32_t(kStepLength),
                      int32_t(kNoteLength + 2), int32_t(kMerge + 2), int32_t(kNlfIncrement + 2), int32_t(kPageSwitch)})
    for (float v : odd) {
      editor->setParameter(tag, v);
      std::vector<uint32_t> after;
      render(after);
      const CRect& r = control(tag)->getViewSize();
      for (int32_t y = 0; y < 550; ++y)
        for (int32_t x = 0; x < 900; ++x) {
          if (r.pointInside(CPoint(x, y))) continue;
          ASSERT_EQ(after[y * 900 + x], before[y * 900 + x]) << "tag " << tag << " value " << v << " at " << x << "," << y;
        }
      editor->setParameter(tag, effect->getParameter(tag));
    }
}

}  // namespace
}  // namespace zendrel::test
