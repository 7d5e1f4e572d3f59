// The slider driven through a headless frame: free and gripped clicks, Shift
// dragging with its anchor, Control+left defaults, wheel and arrow keys, where
// the handle is drawn, and values no drag could produce.
#include <limits>

#include "tests/toolkit/controls_support.h"
#include "toolkit/controls/slider.h"

using namespace zendrel::test;

namespace {

constexpr uint32_t kSlot = 0xff404040;
constexpr uint32_t kKnob = 0xffe0a000;

// The editor's gate slider: 20 × 200 at (10, 20), a handle 28 high, travel 200.
class SliderTest : public ControlsTest {
 protected:
  void SetUp() override {
    ControlsTest::SetUp();
    back = strip(20, 200, {kSlot});
    knob = strip(20, 28, {kKnob});
  }
  void TearDown() override {
    back->release();
    knob->release();
    ControlsTest::TearDown();
  }
  CVerticalSlider* addEditorSlider(int32_t travel = 200) {
    return add(new CVerticalSlider(CRect(10, 20, 30, 220), &listener, 7, CPoint(0, 0), travel, knob, back));
  }
  // The first row of the handle in column 15, or -1.
  int32_t handleTop() {
    paint();
    for (int32_t y = 0; y < kH; ++y)
      if (at(15, y) == kKnob) return y;
    return -1;
  }
  CBitmap* back = nullptr;
  CBitmap* knob = nullptr;
};

TEST_F(SliderTest, FreeClickPutsTheHandleCentreUnderThePointer) {
  auto* s = addEditorSlider();
  EXPECT_EQ(s->getRangeHandle(), 172);
  EXPECT_TRUE(s->wantsFocus());
  frame->takeInvalidRect();

  EXPECT_EQ(down(15, 20 + 13), MouseResult::Handled);
  EXPECT_EQ(s->getValue(), 1.0f);
  EXPECT_EQ(move(15, 20 + 13 + 86), MouseResult::Handled);
  EXPECT_EQ(s->getValue(), 0.5f);
  EXPECT_EQ(move(15, 20 + 185), MouseResult::Handled);
  EXPECT_EQ(s->getValue(), 0.0f);
  EXPECT_EQ(move(15, 239), MouseResult::Handled);  // beyond the end: held at min
  EXPECT_EQ(s->getValue(), 0.0f);
  EXPECT_EQ(up(15, 239), MouseResult::Handled);

  EXPECT_EQ(log, (Log{"listener begin 7", "editor begin 7", changed(1), changed(0.5f), changed(0), "editor end 7",
                      "listener end 7"}));
  EXPECT_EQ(frame->getFocusView(), s);  // keys go to it from now on
  EXPECT_TRUE(frame->getInvalidRect().overlapsInclusive(s->getViewSize()));
  EXPECT_FALSE(s->isDirty());
}

// A drag to a pointer as far out as the coordinates go, either way: the
// handle is held at the ends (and nothing overflows on the way).
TEST_F(SliderTest, AFarAwayPointerHoldsTheHandleAtTheEnds) {
  auto* s = addEditorSlider();
  down(15, 100);
  move(15, std::numeric_limits<int32_t>::min());
  EXPECT_EQ(s->getValue(), 1.0f);
  move(15, std::numeric_limits<int32_t>::max());
  EXPECT_EQ(s->getValue(), 0.0f);
  up(15, 100);
}

// A window delivers a second button's press during a drag: the drag ends there
// as a release would end it, so the edit the host heard begin is ended, and
// the new press starts its own.
TEST_F(SliderTest, ASecondPressDuringADragEndsTheDragFirst) {
  addEditorSlider();
  down(15, 20 + 13);
  move(15, 20 + 13 + 86);
  log.clear();
  EXPECT_EQ(down(15, 20 + 13 + 86, kLeftButton | kRightButton), MouseResult::Handled);
  up(15, 20 + 13 + 86);
  EXPECT_EQ(log, (Log{"editor end 7", "listener end 7", "modifierClick 10", "listener begin 7",
                      "editor begin 7", changed(0.5f), "editor end 7", "listener end 7"}));
  log.clear();
  EXPECT_EQ(down(40, 240, kRightButton), MouseResult::NotHandled);  // nothing tracked: nothing ended
  EXPECT_EQ(log, Log{});
}

TEST_F(SliderTest, HandleTopIsTruncOfRangeTimesOneMinusValue) {
  auto* s = addEditorSlider();
  for (float v : {0.0f, 0.25f, 0.3f, 0.77f, 0.999f, 1.0f}) {
    s->setValue(v);
    const int32_t top = 20 + int32_t(172.0f * (1.0f - v));
    EXPECT_EQ(handleTop(), top) << v;
    EXPECT_EQ(at(15, top + 27), kKnob) << v;
    if (top + 28 < 220) {
      EXPECT_EQ(at(15, top + 28), kSlot) << v;
    }
    EXPECT_EQ(at(15, 20), top == 20 ? kKnob : kSlot) << v;
    EXPECT_EQ(at(15, 220), kBackdrop);
  }
  // A wider range is drawn by the normalised value, as dragging sets it.
  s->setMax(2.0f);
  s->setValue(1.0f);
  EXPECT_EQ(handleTop(), 20 + 86);
}

TEST_F(SliderTest, ShiftDragIsTenTimesFinerAndAnchoredWhereShiftWasPressed) {
  auto* s = addEditorSlider();
  s->setValue(0.5f);
  // On the handle's centre: a Shift press moves nothing.
  EXPECT_EQ(down(15, 119, kLeftButton | kShiftKey), MouseResult::Handled);
  EXPECT_EQ(s->getValue(), 0.5f);
  move(15, 94, kLeftButton | kShiftKey);
  move(15, 69, kLeftButton | kShiftKey);
  const float fine = s->getValue();
  EXPECT_NEAR(fine - 0.5f, 50.0f / 172.0f / 10.0f, 1e-5);  // about 0.029

  // Shift let go: the handle is under the pointer again.
  move(15, 69, kLeftButton);
  EXPECT_NEAR(s->getValue(), 1.0f - 36.0f / 172.0f, 1e-6);
  // Pressed again: a new anchor at the current value.
  const float anchored = s->getValue();
  move(15, 19, kLeftButton | kShiftKey);
  EXPECT_NEAR(s->getValue() - anchored, 50.0f / 172.0f / 10.0f, 1e-5);
  up(15, 19);
}

TEST_F(SliderTest, ShiftDragAnchorHoldsAtTheBottomOfAnyRange) {
  // Value at min gives the anchor 0; with min 1 that equals min - 1, which
  // must not read as "no anchor yet" (the drag would creep).
  auto* s = addEditorSlider();
  s->setMin(1.0f);
  s->setMax(2.0f);
  s->setValue(1.0f);
  down(15, 205, kLeftButton | kShiftKey);
  move(15, 180, kLeftButton | kShiftKey);
  move(15, 155, kLeftButton | kShiftKey);
  EXPECT_NEAR(s->getValue(), 1.0f + 50.0f / 172.0f / 10.0f, 1e-5);
  up(15, 155);
}

TEST_F(SliderTest, ControlLeftRestoresTheDefaultAndControlShiftLeftDoesNot) {
  auto* s = addEditorSlider();
  s->setDefaultValue(0.25f);
  s->setValue(0.9f);
  EXPECT_EQ(down(15, 100, kControlKey | kLeftButton), MouseResult::HandledNoFollowUp);
  EXPECT_EQ(s->getValue(), 0.25f);
  EXPECT_EQ(log, (Log{"modifierClick 34", "listener begin 7", "editor begin 7", "listener begin 7", "editor begin 7",
                      changed(0.25f), "editor end 7", "listener end 7", "editor end 7", "listener end 7"}));
  // No follow-up: the drag ends with the click.
  move(15, 30);
  move(15, 31);
  EXPECT_EQ(up(15, 31), MouseResult::NotHandled);
  EXPECT_EQ(s->getValue(), 0.25f);

  s->setValue(0.9f);
  log.clear();
  EXPECT_EQ(down(15, 100, kControlKey | kShiftKey | kLeftButton), MouseResult::Handled);
  EXPECT_EQ(s->getValue(), 0.9f);
  up(15, 100);
  EXPECT_EQ(log, (Log{"modifierClick 50", "listener begin 7", "editor begin 7", "editor end 7", "listener end 7"}));
}

TEST_F(SliderTest, GrippedClickMustHitTheHandleAndKeepsItsGrip) {
  auto* s = addEditorSlider();
  s->setFreeClick(false);
  s->setValue(0.5f);  // handle rows 106 .. 134 (edges inclusive)
  EXPECT_EQ(down(15, 105), MouseResult::NotHandled);
  EXPECT_TRUE(log.empty());
  EXPECT_EQ(down(30, 134), MouseResult::Handled);
  EXPECT_EQ(s->getValue(), 0.5f);
  move(15, 124);
  EXPECT_NEAR(s->getValue(), 0.5f + 10.0f / 172.0f, 1e-6);
  up(15, 124);
  EXPECT_EQ(down(15, 135), MouseResult::NotHandled);
}

TEST_F(SliderTest, WheelAndArrowKeysStepAsCompleteEdits) {
  auto* s = addEditorSlider();
  down(15, 119);  // value 0.5, and the slider takes the focus
  up(15, 119);
  log.clear();

  EXPECT_TRUE(frame->onWheelAxis(CPoint(15, 100), kMouseWheelAxisY, 1.0f, 0));
  EXPECT_FLOAT_EQ(s->getValue(), 0.6f);
  EXPECT_TRUE(frame->onWheelAxis(CPoint(15, 100), kMouseWheelAxisY, -2.0f, kShiftKey));
  EXPECT_FLOAT_EQ(s->getValue(), 0.58f);
  EXPECT_EQ(log, (Log{"listener begin 7", "editor begin 7", changed(0.6f), "editor end 7",
                      "listener end 7", "listener begin 7", "editor begin 7", changed(0.58f), "editor end 7",
                      "listener end 7"}));

  VstKeyCode key{0, VKEY_UP, 0};
  EXPECT_EQ(frame->onKeyDown(key), 1);
  EXPECT_FLOAT_EQ(s->getValue(), 0.68f);
  key = VstKeyCode{0, VKEY_LEFT, MODIFIER_SHIFT};
  EXPECT_EQ(frame->onKeyDown(key), 1);
  EXPECT_FLOAT_EQ(s->getValue(), 0.67f);
  key = VstKeyCode{0, VKEY_DOWN, 0};
  EXPECT_EQ(frame->onKeyDown(key), 1);
  key = VstKeyCode{0, VKEY_RIGHT, MODIFIER_SHIFT};
  EXPECT_EQ(frame->onKeyDown(key), 1);
  EXPECT_FLOAT_EQ(s->getValue(), 0.58f);
  key = VstKeyCode{'a', VKEY_SPACE, 0};
  EXPECT_EQ(frame->onKeyDown(key), -1);
  EXPECT_FLOAT_EQ(s->getValue(), 0.58f);

  // Held at max; once drawn there, a further step reports nothing.
  s->setValue(0.95f);
  frame->onWheelAxis(CPoint(15, 100), kMouseWheelAxisY, 1.0f, 0);
  EXPECT_EQ(s->getValue(), 1.0f);
  paint();
  log.clear();
  EXPECT_TRUE(frame->onWheelAxis(CPoint(15, 100), kMouseWheelAxisY, 1.0f, 0));
  EXPECT_TRUE(log.empty());

  s->setMouseEnabled(false);
  EXPECT_FALSE(s->onWheel(CPoint(15, 100), -1.0f, 0));
  EXPECT_EQ(s->getValue(), 1.0f);
}

TEST_F(SliderTest, EveryStyleKeepsTheHandleUnderThePointer) {
  const int32_t styles[] = {kSliderHorizontal | kSliderLeft, kSliderHorizontal | kSliderRight, kSliderHorizontal,
                            kSliderHorizontal | kSliderLeft | kSliderRight, kSliderVertical | kSliderTop,
                            kSliderVertical | kSliderBottom, kSliderVertical};
  for (int32_t style : styles) {
    const bool horizontal = (style & kSliderHorizontal) != 0;
    CBitmap* knobH = strip(28, 20, {kKnob});
    const CRect r = horizontal ? CRect(20, 100, 220, 120) : CRect(100, 20, 120, 220);
    auto* s = add(new CSlider(r, &listener, 3, CPoint(0, 0), 200, horizontal ? knobH : knob, back, CPoint(), style));
    knobH->release();
    // 13 pixels in: the value at one end or the other.
    const CPoint p1 = horizontal ? CPoint(33, 110) : CPoint(110, 33);
    const CPoint p2 = horizontal ? CPoint(150, 110) : CPoint(110, 150);
    for (const CPoint& p : {p1, p2}) {
      down(p.h, p.v);
      up(p.h, p.v);
      paint();
      EXPECT_EQ(at(p.h, p.v), kKnob) << "style " << style << " at " << pt(p) << " value " << s->getValue();
    }
    const bool zeroAtStart = (style & (kSliderLeft | kSliderTop)) != 0;
    down(p1.h, p1.v);
    EXPECT_EQ(s->getValue(), zeroAtStart ? 0.0f : 1.0f) << style;
    up(p1.h, p1.v);
    frame->removeView(s);
  }
}

TEST_F(SliderTest, NoTravelNoRangeAndNotANumberStayHarmless) {
  // Travel equal to the handle: nothing to drag along.
  auto* stuck = addEditorSlider(28);
  EXPECT_EQ(stuck->getRangeHandle(), 0);
  stuck->setValue(0.3f);
  EXPECT_EQ(down(15, 30), MouseResult::Handled);
  move(15, 60);
  up(15, 60);
  EXPECT_EQ(stuck->getValue(), 0.3f);
  EXPECT_EQ(handleTop(), 20);
  frame->removeView(stuck);

  // min == max, dragged with Shift: min, not a number.
  auto* flat = addEditorSlider();
  flat->setMin(0.5f);
  flat->setMax(0.5f);
  flat->setValue(0.5f);
  down(15, 100, kLeftButton | kShiftKey);
  move(15, 50, kLeftButton | kShiftKey);
  up(15, 50);
  EXPECT_EQ(flat->getValue(), 0.5f);
  frame->removeView(flat);

  // A fine factor of 0 gives a plain drag rather than an infinite one.
  auto* s = addEditorSlider();
  s->setFineFactor(0.0f);
  down(15, 20 + 13 + 43, kLeftButton | kShiftKey);
  move(15, 20 + 13 + 43, kLeftButton | kShiftKey);
  EXPECT_EQ(s->getValue(), 0.75f);
  up(15, 0);

  // Not a number: drawn as min, and the wheel steps from min.
  s->setValue(std::numeric_limits<float>::quiet_NaN());
  EXPECT_EQ(handleTop(), 20 + 172);
  frame->onWheelAxis(CPoint(15, 100), kMouseWheelAxisY, 1.0f, 0);
  EXPECT_FLOAT_EQ(s->getValue(), 0.1f);
}

TEST_F(SliderTest, DrawingStaysInsideTheControl) {
  // A handle wider than the control, offsets that push it out, odd values.
  CBitmap* wide = strip(60, 40, {kKnob});
  auto* s = new CSlider(CRect(50, 50, 70, 150), nullptr, 0, CPoint(-20, -30), 300, wide, back, CPoint(0, 5));
  wide->release();
  for (float v : {0.0f, 0.5f, 1.0f, -3.0f, 7.0f, std::numeric_limits<float>::quiet_NaN(),
                  std::numeric_limits<float>::infinity(), -std::numeric_limits<float>::max()}) {
    s->setValue(v);
    EXPECT_FALSE(drawsOutside(s)) << v;
  }
  s->release();
}

TEST_F(SliderTest, CloneSharesTheImages) {
  auto* s = addEditorSlider();
  const int32_t before = knob->getNbReference();
  CView* copy = s->clone();
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(knob->getNbReference(), before + 1);
  EXPECT_TRUE(copy->isTypeOf("CVerticalSlider"));
  EXPECT_TRUE(copy->isTypeOf("CSlider"));
  EXPECT_TRUE(copy->isTypeOf("CControl"));
  EXPECT_TRUE(copy->isTypeOf("CView"));
  EXPECT_FALSE(copy->isTypeOf("CKickButton"));
  EXPECT_FALSE(copy->isAttached());
  EXPECT_EQ(static_cast<CSlider*>(copy)->getRangeHandle(), 172);
  copy->release();
  EXPECT_EQ(knob->getNbReference(), before);
}

}  // namespace
