// What the editor does with each edit: the buttons step their indicators along
// the two snapping tables, a merge copies the step length, the page switch
// shows a page, and every control is reported to the effect (the host hears of
// the 230 parameters only).
#include "editor/indicator_steps.h"
#include "tests/editor/editor_support.h"
#include "toolkit/controls/movie_bitmap.h"
#include "toolkit/controls/splash_screen.h"

#include <cmath>
#include <limits>

namespace zendrel::test {
namespace {

using namespace Toolkit;
using namespace zendrel;
using namespace zendrel::editor;

using EditorHandling = PlainEditor;

// A kick button pressed and released inside (or dragged off before release).
void press(CFrame* frame, const CControl* button, bool releaseInside = true) {
  const CRect& r = button->getViewSize();
  const CPoint in(r.left + 5, r.top + 5);
  frame->onMouseDown(in, kLeftButton);
  const CPoint out(r.left + 5, r.bottom + 40);
  if (!releaseInside) frame->onMouseMoved(out, kLeftButton);
  frame->onMouseUp(releaseInside ? in : out, 0);
}

TEST(IndicatorSteps, SnappingTables) {
  EXPECT_EQ(snapStepCount(0.5f), 0.515625f);
  EXPECT_EQ(snapStepCount(0.52f), 0.515625f);
  EXPECT_EQ(snapStepCount(0.0f), 0.015625f);
  EXPECT_EQ(snapStepCount(0.96875f), 0.984375f);
  EXPECT_EQ(snapStepCount(1.0f), 0.984375f);
  EXPECT_EQ(snapLength(0.0f), 0.0375f);
  EXPECT_EQ(snapLength(0.5f), 0.4995f);
  EXPECT_EQ(snapLength(0.923f), 0.8845f);  // the float below 0.923 lies in the row beneath
  EXPECT_EQ(snapLength(0.9615f), 0.9615f);
  for (float outside : {-0.1f, 1.5f, std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity()}) {
    EXPECT_TRUE(std::isnan(outside) ? std::isnan(snapStepCount(outside)) : snapStepCount(outside) == outside);
    EXPECT_TRUE(std::isnan(outside) ? std::isnan(snapLength(outside)) : snapLength(outside) == outside);
  }
  EXPECT_EQ(snapLength(1.0f), 1.0f);  // the last bin excludes 1
  // Every snapped length is the grid value 0.0375 + 0.077 k.
  for (int k = 0; k < 13; ++k) EXPECT_EQ(snapLength(float(0.0375 + 0.077 * k)), float(0.0375 + 0.077 * k));
}

TEST_F(EditorHandling, StepCountIncrementSnapsThenStepsOnThePressOnly) {
  editor->setParameter(kNumOfSteps, 0.5f);
  press(frame, control(kNosIncrement));
  EXPECT_EQ(shown(kNumOfSteps), 0.546875f);
  EXPECT_EQ(heard(), (Log{"begin 32", "automate 32 1.000000", "automate 32 0.000000", "end 32"}));

  HostEars::instance().clear();
  editor->setParameter(kNumOfSteps, 0.5f);
  press(frame, control(kNosIncrement), false);  // released outside: only snapped
  EXPECT_EQ(shown(kNumOfSteps), 0.515625f);
  EXPECT_EQ(heard(), (Log{"begin 32", "automate 32 0.000000", "end 32"}));
}

TEST_F(EditorHandling, ButtonsStopAtTheLimits) {
  editor->setParameter(kNumOfSteps, 0.984375f);
  press(frame, control(kNosIncrement));
  EXPECT_EQ(shown(kNumOfSteps), 0.984375f);
  editor->setParameter(kNumOfSteps, 0.015625f);
  press(frame, control(kNosDecrement));
  EXPECT_EQ(shown(kNumOfSteps), 0.015625f);
  editor->setParameter(kNumOfSteps, 0.52f);
  press(frame, control(kNosDecrement));
  EXPECT_EQ(shown(kNumOfSteps), 0.484375f);

  editor->setParameter(kNoteLength + 4, 0.9615f);
  press(frame, control(kNlfIncrement + 4));
  EXPECT_EQ(shown(kNoteLength + 4), 0.9615f);
  editor->setParameter(kNoteLength + 4, 0.0375f);
  press(frame, control(kNlfDecrement + 4));
  EXPECT_EQ(shown(kNoteLength + 4), 0.0375f);
  editor->setParameter(kNoteLength + 4, 0.1145f);
  press(frame, control(kNlfDecrement + 4));
  EXPECT_EQ(shown(kNoteLength + 4), 0.0375f);
  // Exactly 1.0 is no bin's value: not snapped, no step up, one step down to
  // 0.923 on the press; the release then snaps 0.923f, which lies just below
  // 0.923, into the bin beneath.
  editor->setParameter(kNoteLength + 4, 1.0f);
  press(frame, control(kNlfIncrement + 4));
  EXPECT_EQ(shown(kNoteLength + 4), 1.0f);
  CControl* down = control(kNlfDecrement + 4);
  down->setValue(1.0f);
  editor->valueChanged(down);
  EXPECT_EQ(shown(kNoteLength + 4), 0.923f);
  down->setValue(0.0f);
  editor->valueChanged(down);
  EXPECT_EQ(shown(kNoteLength + 4), 0.8845f);

  editor->setParameter(kStepLength, 0.8845f);
  press(frame, control(kSfIncrement));
  EXPECT_EQ(shown(kStepLength), 0.9615f);
  press(frame, control(kSfIncrement));
  EXPECT_EQ(shown(kStepLength), 0.9615f);
  press(frame, control(kSfDecrement));
  EXPECT_EQ(shown(kStepLength), 0.8845f);
}

TEST_F(EditorHandling, PressesStepTheRightStepsIndicatorOnBothPages) {
  editor->setParameter(kNoteLength + 20, 0.2685f);
  const CRect& sw = control(kPageSwitch)->getViewSize();
  click(sw.right - 5, sw.top + 5);
  press(frame, control(kNlfIncrement + 20));
  EXPECT_EQ(shown(kNoteLength + 20), float(double(0.2685f) + 0.077));
  EXPECT_EQ(shown(kNoteLength + 4), 0.0f);  // the step in the same column on page 1
}

TEST_F(EditorHandling, AMergeCopiesTheStepLengthEitherWay) {
  editor->setParameter(kStepLength, 0.5765f);
  editor->setParameter(kNoteLength + 2, 0.1145f);
  clickOn(kMerge + 2);
  EXPECT_EQ(shown(kMerge + 2), 1.0f);
  EXPECT_EQ(shown(kNoteLength + 2), 0.5765f);
  EXPECT_EQ(heard(), (Log{"begin 200", "automate 200 1.000000", "end 200"}));
  editor->setParameter(kNoteLength + 2, 0.1145f);
  clickOn(kMerge + 2);
  EXPECT_EQ(shown(kMerge + 2), 0.0f);
  EXPECT_EQ(shown(kNoteLength + 2), 0.5765f);
}

TEST_F(EditorHandling, ThePageSwitchShowsOnePageAndHidesTheOther) {
  const CRect& sw = control(kPageSwitch)->getViewSize();
  click(sw.right - 5, sw.top + 5);
  for (int32_t step = 0; step < 32; ++step)
    for (int32_t base : kStepControlBases) EXPECT_EQ(control(base + step)->isVisible(), step >= 16) << base + step;
  EXPECT_FALSE(editor->pageStepIndicator(1)->isVisible());
  EXPECT_TRUE(editor->pageStepIndicator(2)->isVisible());
  EXPECT_TRUE(editor->overviewIndicator()->isVisible());
  EXPECT_TRUE(control(kNumOfSteps)->isVisible());
  // The switch is no parameter: it keeps its value, and the host hears nothing of it.
  EXPECT_EQ(shown(kPageSwitch), 1.0f);
  EXPECT_EQ(heard(), Log{});
  click(sw.left + 5, sw.top + 5);
  for (int32_t step = 0; step < 32; ++step) EXPECT_EQ(control(kGate + step)->isVisible(), step < 16);
  EXPECT_TRUE(editor->pageStepIndicator(1)->isVisible());
  // A value of exactly 0.5 changes nothing.
  control(kPageSwitch)->setValue(0.5f);
  editor->valueChanged(control(kPageSwitch));
  EXPECT_TRUE(control(kGate)->isVisible());
}

TEST_F(EditorHandling, ADragReportsOnlyTheSlidersOwnTag) {
  const CRect& r = control(kGate + 3)->getViewSize();
  frame->onMouseDown(CPoint(r.left + 10, r.top + 100), kLeftButton);
  frame->onMouseMoved(CPoint(r.left + 10, r.top + 60), kLeftButton);
  frame->onMouseUp(CPoint(r.left + 10, r.top + 60), 0);
  const Log log = heard();
  ASSERT_GE(log.size(), 3u);
  EXPECT_EQ(log.front(), "begin 3");
  EXPECT_EQ(log.back(), "end 3");
  for (std::size_t i = 1; i + 1 < log.size(); ++i) EXPECT_EQ(log[i].rfind("automate 3 ", 0), 0u) << log[i];
  EXPECT_EQ(shown(kGate + 3), 1.0f - float(60 - 13) / 172.0f);
  EXPECT_EQ(effect->values[kGate + 3], shown(kGate + 3));
  for (int32_t i = 0; i < kNumParams; ++i) {
    if (i == kGate + 3) continue;
    EXPECT_EQ(shown(i), 0.0f) << i;
  }
}

TEST_F(EditorHandling, TheSplashComesAndGoesWithoutTheHostHearingOfIt) {
  clickOn(kSplash);
  EXPECT_EQ(frame->getModalView(), static_cast<CSplashScreen*>(control(kSplash))->getSplashView());
  EXPECT_EQ(shown(kSplash), 1.0f);
  click(450, 200);
  EXPECT_EQ(frame->getModalView(), nullptr);
  EXPECT_EQ(shown(kSplash), 0.0f);
  EXPECT_EQ(heard(), Log{});
}

}  // namespace
}  // namespace zendrel::test
