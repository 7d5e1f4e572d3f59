// The horizontal switch: the click's place picks the position, the value
// picks the frame, and odd switches (one position, no image) still give
// numbers.
#include <limits>

#include "tests/toolkit/controls_support.h"
#include "toolkit/controls/horizontal_switch.h"

using namespace zendrel::test;

namespace {

class HorizontalSwitchTest : public ControlsTest {
 protected:
  // 40 × 28 at (100, 50), one frame per position.
  CHorizontalSwitch* addSwitch(int32_t positions = 2, bool withImage = true, CPoint offset = CPoint()) {
    CBitmap* image = withImage ? stripOf(40, 28, positions) : nullptr;
    auto* s = add(new CHorizontalSwitch(CRect(100, 50, 140, 78), &listener, 1004, positions, 28, positions, image,
                                        offset));
    if (image) image->release();
    return s;
  }
  float clickAt(CHorizontalSwitch* s, int32_t x) {
    EXPECT_EQ(down(x, 60), MouseResult::Handled);
    up(x, 60);
    return s->getValue();
  }
  int32_t shownFrame() {
    paint();
    for (int32_t k = 0; k < 8; ++k)
      if (at(120, 64) == frameColour(k)) return k;
    return -1;
  }
};

TEST_F(HorizontalSwitchTest, TwoPositionsSplitTheImageWidth) {
  auto* s = addSwitch();
  EXPECT_EQ(s->getDefaultValue(), 0.0f);
  for (int32_t dx = 0; dx <= 40; ++dx) EXPECT_EQ(clickAt(s, 100 + dx), dx < 20 ? 0.0f : 1.0f) << dx;

  clickAt(s, 105);
  paint();
  log.clear();
  clickAt(s, 125);
  EXPECT_EQ(log, (Log{"listener begin 1004", "editor begin 1004", changed(1), "editor end 1004",
                      "listener end 1004"}));
  log.clear();
  clickAt(s, 139);  // already there: nothing to report
  EXPECT_EQ(log, (Log{"listener begin 1004", "editor begin 1004", "editor end 1004", "listener end 1004"}));
}

TEST_F(HorizontalSwitchTest, DraggingFollowsThePointerWithinTheEnds) {
  auto* s = addSwitch(3);
  down(105, 60);
  EXPECT_EQ(s->getValue(), 0.0f);
  move(120, 60);
  EXPECT_EQ(s->getValue(), 0.5f);
  move(500, 60);
  EXPECT_EQ(s->getValue(), 1.0f);
  move(20, 60);
  EXPECT_EQ(s->getValue(), 0.0f);
  // A pointer as far out as the coordinates go: held at the ends.
  move(std::numeric_limits<int32_t>::max(), 60);
  EXPECT_EQ(s->getValue(), 1.0f);
  move(std::numeric_limits<int32_t>::min(), 60);
  EXPECT_EQ(s->getValue(), 0.0f);
  up(20, 60);
}

TEST_F(HorizontalSwitchTest, FrameComesFromPositionsAndStaysOnTheStrip) {
  auto* s = addSwitch(3, true, CPoint(0, 28));  // the offset is not used for drawing
  const float values[] = {0.0f, 0.5f, 1.0f, 0.24f, 0.26f, 2.0f, -2.0f, std::numeric_limits<float>::quiet_NaN()};
  const int32_t frames[] = {0, 1, 2, 0, 1, 2, 0, 0};
  for (int i = 0; i < 8; ++i) {
    s->setValue(values[i]);
    EXPECT_EQ(shownFrame(), frames[i]) << values[i];
  }
}

TEST_F(HorizontalSwitchTest, ControlLeftRestoresTheDefault) {
  auto* s = addSwitch();
  s->setValue(1.0f);
  paint();  // a change is noticed against what was last drawn
  EXPECT_EQ(down(130, 60, kControlKey | kLeftButton), MouseResult::HandledNoFollowUp);
  EXPECT_EQ(s->getValue(), 0.0f);
  EXPECT_EQ(log, (Log{"modifierClick 34", "listener begin 1004", "editor begin 1004", "listener begin 1004",
                      "editor begin 1004", changed(0), "editor end 1004", "listener end 1004", "editor end 1004",
                      "listener end 1004"}));
  log.clear();
  EXPECT_EQ(down(130, 60, kRightButton), MouseResult::NotHandled);
  EXPECT_EQ(log, (Log{"modifierClick 8"}));
}

TEST_F(HorizontalSwitchTest, OnePositionOrNoImageStillGiveNumbers) {
  auto* single = addSwitch(1);
  EXPECT_EQ(clickAt(single, 130), 0.0f);
  frame->removeView(single);

  auto* none = addSwitch(0);
  EXPECT_EQ(clickAt(none, 130), 0.0f);
  EXPECT_FALSE(drawsOutside(none));
  frame->removeView(none);

  // Without an image the positions share the control's own width.
  auto* bare = addSwitch(2, false);
  EXPECT_EQ(clickAt(bare, 119), 0.0f);
  EXPECT_EQ(clickAt(bare, 120), 1.0f);
  paint();
  EXPECT_EQ(at(120, 64), kBackdrop);
  EXPECT_TRUE(bare->isTypeOf("CHorizontalSwitch"));
}

}  // namespace
