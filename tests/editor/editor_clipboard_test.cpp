// The right-button clipboards of the editor's slider and indicator. A program
// of its own: the clipboards live as long as the process, and the first test
// sees them as the library left them when it was loaded.
#include <limits>
#include <thread>

#include "editor/zd_controls.h"
#include "tests/editor/editor_support.h"

namespace zendrel::test {
namespace {

using namespace Toolkit;
using namespace zendrel;

using Clipboard = PlainEditor;

TEST_F(Clipboard, ARightClickBeforeAnyCopyPastesZero) {
  ASSERT_EQ(sliderClipboardValue(), 0.0f);
  ASSERT_EQ(indicatorClipboardValue(), 0.0f);
  editor->setParameter(kGate + 1, 0.7f);
  draw();  // no longer dirty
  clickOn(kGate + 1, kRightButton);
  EXPECT_EQ(shown(kGate + 1), 0.0f);
  EXPECT_EQ(heard(), (Log{"begin 1", "automate 1 0.000000", "end 1"}));
}

TEST_F(Clipboard, ControlRightCopiesAndRightPastesWithinOneFamily) {
  editor->setParameter(kGate + 2, 0.3f);
  draw();
  clickOn(kGate + 2, kRightButton | kControlKey);
  EXPECT_EQ(sliderClipboardValue(), 0.3f);
  EXPECT_EQ(heard(), Log{});  // it was drawn: nobody is told of a copy
  clickOn(kAttack + 5, kRightButton);
  EXPECT_EQ(shown(kAttack + 5), 0.3f);
  clickOn(kDecay + 9, kRightButton | kShiftKey);
  EXPECT_EQ(shown(kDecay + 9), 0.3f);
  // Indicators keep their own clipboard.
  clickOn(kNumOfSteps, kRightButton);
  EXPECT_EQ(shown(kNumOfSteps), indicatorClipboardValue());
  EXPECT_NE(shown(kNumOfSteps), 0.3f);
  // Shift or Alt besides Control still copy.
  editor->setParameter(kGate + 3, 0.6f);
  clickOn(kGate + 3, kRightButton | kControlKey | kShiftKey | kAltKey);
  EXPECT_EQ(sliderClipboardValue(), 0.6f);
}

TEST_F(Clipboard, ACopyOfADirtyControlReportsItAsAnEdit) {
  editor->setParameter(kGate + 4, 0.45f);  // set, not yet drawn
  clickOn(kGate + 4, kRightButton | kControlKey);
  EXPECT_EQ(heard(), (Log{"begin 4", "automate 4 0.450000", "end 4"}));
}

// The host may set any value; a press that copies or pastes reports, and
// carries to another control, only a value inside the control's range.
TEST_F(Clipboard, AValueTheHostSetOutsideTheRangeIsHeldAtItsEnd) {
  editor->setParameter(kGate + 7, -2.9f);
  draw();
  clickOn(kGate + 7, kRightButton | kControlKey);
  EXPECT_EQ(sliderClipboardValue(), 0.0f);
  EXPECT_EQ(heard(), (Log{"begin 7", "automate 7 0.000000", "end 7"}));
  EXPECT_EQ(effect->values[kGate + 7], 0.0f);

  HostEars::instance().clear();
  editor->setParameter(kAttack + 2, 7.5f);
  clickOn(kAttack + 2, kRightButton | kControlKey);
  clickOn(kDecay + 3, kRightButton);
  EXPECT_EQ(shown(kDecay + 3), 1.0f);
  EXPECT_EQ(heard(), (Log{"begin 136", "automate 136 1.000000", "end 136", "begin 169", "automate 169 1.000000",
                          "end 169"}));

  HostEars::instance().clear();
  editor->setParameter(kGate + 8, std::numeric_limits<float>::quiet_NaN());
  clickOn(kGate + 8, kRightButton | kControlKey);
  EXPECT_EQ(shown(kGate + 8), 0.0f);
  EXPECT_EQ(heard(), (Log{"begin 8", "automate 8 0.000000", "end 8"}));
}

TEST_F(Clipboard, PastingTheShownValueTellsNobody) {
  clickOn(kGate + 6, kRightButton | kControlKey);
  draw();
  HostEars::instance().clear();
  clickOn(kGate + 6, kRightButton);
  EXPECT_EQ(heard(), Log{});
}

TEST_F(Clipboard, IndicatorsCopyAndPasteBetweenStepsAndReportTheTag) {
  editor->setParameter(kNoteLength + 1, 0.5765f);
  draw();
  clickOn(kNoteLength + 1, kRightButton | kControlKey);
  clickOn(kStepLength, kRightButton);
  EXPECT_EQ(shown(kStepLength), 0.5765f);
  EXPECT_EQ(effect->values[kStepLength], 0.5765f);
  EXPECT_EQ(heard(), (Log{"begin 37", "automate 37 0.576500", "end 37"}));
  // A left click on an indicator reports it only while it waits to be drawn.
  HostEars::instance().clear();
  clickOn(kStepLength);
  EXPECT_EQ(heard(), (Log{"begin 37", "automate 37 0.576500", "end 37"}));
  draw();
  HostEars::instance().clear();
  clickOn(kStepLength);
  EXPECT_EQ(heard(), Log{});
}

TEST(ClipboardFrames, IndicatorsAlwaysUseFramesOf28Pixels) {
  ZdMovieBitmap indicator(CRect(0, 0, 40, 28), nullptr, 0, 13, 7, nullptr, CPoint());
  EXPECT_EQ(indicator.getFrameHeight(), 28);
}

// Two instances' editors on two threads share the clipboards without a race.
TEST(ClipboardThreads, TwoEditorsOnTwoThreads) {
  auto run = [](float value) {
    PlainEffect fx(listeningHost);
    auto* ed = static_cast<ZendrelEditor*>(fx.getEditor());
    fx.dispatcher(effEditOpen, 0, 0, nullptr, 0.0f);
    CFrame* frame = ed->getFrame();
    for (int i = 0; i < 200; ++i) {
      ed->setParameter(kGate, value);
      frame->onMouseDown(CPoint(70, 100), kRightButton | kControlKey);
      frame->onMouseDown(CPoint(120, 100), kRightButton);
      frame->onMouseDown(CPoint(70, 360), kRightButton | kControlKey);
      fx.dispatcher(effEditIdle, 0, 0, nullptr, 0.0f);
    }
    fx.dispatcher(effEditClose, 0, 0, nullptr, 0.0f);
  };
  std::thread a(run, 0.25f), b(run, 0.75f);
  a.join();
  b.join();
  const float last = sliderClipboardValue();
  EXPECT_TRUE(last == 0.25f || last == 0.75f);
}

}  // namespace
}  // namespace zendrel::test
