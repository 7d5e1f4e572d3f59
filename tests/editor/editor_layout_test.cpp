// The editor's window contents: every control in its place, with its tag,
// image and visibility, showing its parameter; opening afresh each time.
#include "editor/zd_controls.h"
#include "tests/editor/editor_support.h"
#include "toolkit/bitmap.h"
#include "toolkit/controls.h"
#include "toolkit/draw_context.h"

namespace zendrel::test {
namespace {

using namespace Toolkit;
using namespace zendrel;
using namespace zendrel::editor;

using EditorLayout = OpenEditor;

TEST_F(EditorLayout, EveryControlInTheTablesOrderAboveAnEmptyBaseView) {
  // Base view, splash, 32 merges, 32 gates, 64 attack/decay, 3 step lights,
  // 2 indicators, 32 note lengths, 64 note buttons, 4 buttons, the switch.
  ASSERT_EQ(frame->getNbViews(), 236);
  EXPECT_EQ(frame->getView(0)->getViewSize(), CRect(0, 0, 900, 550));
  EXPECT_EQ(dynamic_cast<CControl*>(frame->getView(0)), nullptr);
  std::vector<int32_t> tags;
  for (int32_t i = 1; i < frame->getNbViews(); ++i) tags.push_back(static_cast<CControl*>(frame->getView(i))->getTag());
  std::vector<int32_t> expected{kSplash};
  for (int32_t i = 0; i < 32; ++i) expected.push_back(kMerge + i);
  for (int32_t i = 0; i < 32; ++i) expected.push_back(kGate + i);
  for (int32_t i = 0; i < 32; ++i) {
    expected.push_back(kAttack + i);
    expected.push_back(kDecay + i);
  }
  for (int32_t t : {1000, 1001, 1002, int32_t(kNumOfSteps), int32_t(kStepLength)}) expected.push_back(t);
  for (int32_t i = 0; i < 32; ++i) expected.push_back(kNoteLength + i);
  for (int32_t i = 0; i < 32; ++i) {
    expected.push_back(kNlfDecrement + i);
    expected.push_back(kNlfIncrement + i);
  }
  for (int32_t t : {int32_t(kNosDecrement), int32_t(kNosIncrement), int32_t(kSfDecrement), int32_t(kSfIncrement), 1004})
    expected.push_back(t);
  EXPECT_EQ(tags, expected);
}

TEST_F(EditorLayout, StepsShareTheSixteenColumnsAndPageTwoIsHidden) {
  EXPECT_EQ(control(kGate)->getViewSize(), CRect(55, 50, 95, 250));
  EXPECT_EQ(control(kGate + 15)->getViewSize(), CRect(805, 50, 845, 250));
  EXPECT_EQ(control(kGate + 16)->getViewSize(), CRect(55, 50, 95, 250));
  EXPECT_FALSE(control(kGate + 16)->isVisible());
  EXPECT_EQ(control(kDecay + 16)->getViewSize(), CRect(77, 255, 95, 350));  // parameter 182
  EXPECT_FALSE(control(182)->isVisible());
  EXPECT_EQ(control(kAttack + 3)->getViewSize(), CRect(205, 255, 223, 350));
  EXPECT_EQ(control(kMerge + 1)->getViewSize(), CRect(105, 26, 145, 46));
  EXPECT_EQ(control(kNoteLength + 2)->getViewSize(), CRect(155, 355, 195, 383));
  EXPECT_EQ(control(kNlfDecrement + 2)->getViewSize(), CRect(155, 383, 175, 401));
  EXPECT_EQ(control(kNlfIncrement + 2)->getViewSize(), CRect(175, 383, 195, 401));
  for (int32_t step = 0; step < 32; ++step)
    for (int32_t base : kStepControlBases) EXPECT_EQ(control(base + step)->isVisible(), step < 16) << base + step;
  EXPECT_TRUE(editor->pageStepIndicator(1)->isVisible());
  EXPECT_FALSE(editor->pageStepIndicator(2)->isVisible());
  EXPECT_TRUE(editor->overviewIndicator()->isVisible());
  EXPECT_EQ(control(kPageSwitch)->getValue(), 0.0f);
  EXPECT_EQ(control(kSplash)->getViewSize(), CRect(816, 476, 856, 512));
  EXPECT_EQ(editor->controlByTag(1000), nullptr);  // only parameters, splash and switch by tag
}

TEST_F(EditorLayout, ControlsAreTheRightKindsWithTheirImagesAndFrames) {
  auto* gate = dynamic_cast<ZdVerticalSlider*>(control(kGate));
  ASSERT_NE(gate, nullptr);
  EXPECT_EQ(gate->getRangeHandle(), 200 - 28);
  EXPECT_EQ(gate->getBackground()->getWidth(), 40);
  auto* attack = dynamic_cast<ZdVerticalSlider*>(control(kAttack));
  ASSERT_NE(attack, nullptr);
  EXPECT_EQ(attack->getRangeHandle(), 95 - 28);
  auto* steps = dynamic_cast<ZdMovieBitmap*>(control(kNumOfSteps));
  ASSERT_NE(steps, nullptr);
  EXPECT_EQ(steps->getFrameCount(), 32);
  EXPECT_EQ(steps->getFrameHeight(), 28);
  EXPECT_EQ(steps->getBackground()->getHeight(), 896);
  EXPECT_EQ(dynamic_cast<ZdMovieBitmap*>(control(kStepLength))->getFrameCount(), 13);
  EXPECT_EQ(editor->pageStepIndicator(1)->getFrameCount(), 17);
  EXPECT_EQ(editor->pageStepIndicator(1)->getFrameHeight(), 24);
  EXPECT_EQ(editor->overviewIndicator()->getFrameCount(), 32);
  EXPECT_NE(dynamic_cast<COnOffButton*>(control(kMerge)), nullptr);
  EXPECT_NE(dynamic_cast<CKickButton*>(control(kNosIncrement)), nullptr);
  EXPECT_NE(dynamic_cast<CHorizontalSwitch*>(control(kPageSwitch)), nullptr);
  auto* splash = dynamic_cast<CSplashScreen*>(control(kSplash));
  ASSERT_NE(splash, nullptr);
  EXPECT_EQ(splash->getSplashArea(), CRect(200, 55, 700, 355));
  EXPECT_EQ(frame->getBackground()->getWidth(), 900);
  EXPECT_EQ(frame->getBackgroundColor(), CColor(127, 127, 127, 255));
}

TEST_F(EditorLayout, EveryControlShowsItsParameterAtOpen) {
  for (int32_t i = 0; i < kNumParams; ++i) EXPECT_EQ(shown(i), effect->getParameter(i)) << i;
  // The step lights start on frame 0 until the first idle.
  EXPECT_EQ(editor->pageStepIndicator(1)->getValue(), 0.0f);
  EXPECT_EQ(editor->overviewIndicator()->getValue(), 0.0f);
}

TEST_F(EditorLayout, FewerStepsHideNothing) {
  effect->setParameter(kNumOfSteps, 0.1f);
  for (int32_t step = 0; step < 32; ++step) EXPECT_NE(control(kGate + step), nullptr);
  EXPECT_TRUE(control(kGate + 10)->isVisible());
}

TEST_F(EditorLayout, ReopeningStartsOnPageOneAndTwiceOpenKeepsOneWindow) {
  clickOn(kPageSwitch);  // the switch's left half: page 1
  const CRect& r = control(kPageSwitch)->getViewSize();
  click(r.right - 5, r.top + 5);  // its right half: page 2
  ASSERT_TRUE(control(kGate + 16)->isVisible());
  effect->dispatcher(effEditClose, 0, 0, nullptr, 0.0f);
  EXPECT_EQ(editor->getFrame(), nullptr);
  EXPECT_EQ(editor->controlByTag(kGate), nullptr);
  effect->dispatcher(effEditOpen, 0, 0, nullptr, 0.0f);
  effect->dispatcher(effEditOpen, 0, 0, nullptr, 0.0f);
  EXPECT_TRUE(control(kGate)->isVisible());
  EXPECT_FALSE(control(kGate + 16)->isVisible());
  EXPECT_EQ(control(kPageSwitch)->getValue(), 0.0f);
}

TEST_F(EditorLayout, DrawsTheArtworkAtTheTablesPlaces) {
  auto* context = new COffscreenContext(editor->getFrame(), 900, 550);
  editor->getFrame()->drawRect(context, CRect(0, 0, 900, 550));
  // Opaque everywhere: the panel covers the window.
  std::vector<uint32_t> px;
  ASSERT_TRUE(context->readPixels(px));
  for (uint32_t p : px) ASSERT_EQ(p >> 24, 0xffu);
  // Where a control lies, its image shows: the gate slot differs from the
  // panel behind it (drawn without the slot by the empty base view only).
  const uint32_t slot = context->getPixel(75, 120);
  auto* base = new CBitmap("base.png");
  auto* panel = new COffscreenContext(editor->getFrame(), 900, 550);
  base->draw(panel, CRect(0, 0, 900, 550));
  EXPECT_NE(slot, panel->getPixel(75, 120));
  EXPECT_EQ(context->getPixel(10, 10), panel->getPixel(10, 10));  // no control in the corner
  base->release();
  panel->release();
  context->release();
}

}  // namespace
}  // namespace zendrel::test

namespace zendrel::test {
namespace {

using namespace Toolkit;
using namespace zendrel;

using EditorLifetime = PlainEditor;

TEST_F(EditorLifetime, ClosingDuringADragEndsTheEdit) {
  const CRect& r = control(kGate + 3)->getViewSize();
  frame->onMouseDown(CPoint(r.left + 10, r.top + 100), kLeftButton);
  frame->onMouseMoved(CPoint(r.left + 10, r.top + 90), kLeftButton);
  effect->dispatcher(effEditClose, 0, 0, nullptr, 0.0f);
  const Log log = heard();
  ASSERT_FALSE(log.empty());
  EXPECT_EQ(log.front(), "begin 3");
  EXPECT_EQ(log.back(), "end 3");
}

TEST(EditorLifetimeReal, ClosingTheEffectWithItsWindowOpenFreesEverything) {
  for (int i = 0; i < 3; ++i) {
    auto effect = std::make_unique<Zendrel>(listeningHost, &createZendrelEditor);
    effect->dispatcher(effEditOpen, 0, 0, nullptr, 0.0f);
    auto* editor = static_cast<ZendrelEditor*>(effect->getEditor());
    editor->getFrame()->onMouseDown(CPoint(75, 150), kLeftButton);  // and in the middle of a drag
    // The host's close: the dispatcher's proxy destroys the effect, which
    // destroys its editor and the open window with it.
    AEffect* record = effect.release()->getAeffect();
    EXPECT_EQ(record->dispatcher(record, effClose, 0, 0, nullptr, 0.0f), 1);
  }
}

}  // namespace
}  // namespace zendrel::test
