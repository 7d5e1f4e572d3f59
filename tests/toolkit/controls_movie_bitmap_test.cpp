// The movie bitmap picks its frame from the value the way the editor's step
// indicators need it: rounding half up, holding values above 1 at 1.
#include <limits>

#include "tests/toolkit/controls_support.h"
#include "toolkit/controls/movie_bitmap.h"

using namespace zendrel::test;

namespace {

class MovieBitmapTest : public ControlsTest {
 protected:
  // 32 frames of 8 × 4 at (20, 10), each frame its own colour.
  CMovieBitmap* addStrip(int32_t frames = 32, CPoint offset = CPoint()) {
    CBitmap* image = stripOf(8, 4, 32);
    auto* m = add(new CMovieBitmap(CRect(20, 10, 28, 14), &listener, 1002, frames, 4, image, offset));
    image->release();
    return m;
  }
  // The frame whose colour shows at the control's middle, or -1.
  int32_t shownFrame() {
    paint();
    for (int32_t k = 0; k < 32; ++k)
      if (at(24, 12) == frameColour(k)) return k;
    return -1;
  }
};

TEST_F(MovieBitmapTest, ValueChoosesTheFrameRoundingHalfUp) {
  auto* m = addStrip();
  m->setValue(0.5f);  // 31 × 0.5 = 15.5 → 16
  EXPECT_EQ(shownFrame(), 16);
  m->setValue(0.49f);  // 15.19 → 15
  EXPECT_EQ(shownFrame(), 15);
  for (int32_t k = 0; k < 32; ++k) {
    m->setValue(float(k) / 31.0f);
    EXPECT_EQ(shownFrame(), k);
  }
  // The whole control shows one frame and nothing beyond it.
  EXPECT_EQ(at(20, 10), frameColour(31));
  EXPECT_EQ(at(27, 13), frameColour(31));
  EXPECT_EQ(at(28, 13), kBackdrop);
  EXPECT_EQ(at(27, 14), kBackdrop);
}

TEST_F(MovieBitmapTest, ValuesOutsideTheRange) {
  auto* m = addStrip();
  m->setValue(1.7f);
  EXPECT_EQ(shownFrame(), 31);
  EXPECT_EQ(m->getValue(), 1.0f);  // held at 1 by drawing
  EXPECT_FALSE(m->isDirty());

  m->setValue(-0.3f);
  EXPECT_EQ(shownFrame(), 0);
  EXPECT_EQ(m->getValue(), -0.3f);  // left as it is
  m->setValue(std::numeric_limits<float>::quiet_NaN());
  EXPECT_EQ(shownFrame(), 0);
  m->setValue(std::numeric_limits<float>::infinity());
  EXPECT_EQ(shownFrame(), 31);
}

TEST_F(MovieBitmapTest, OffsetShiftsTheStripAndFewFramesNeverGoNegative) {
  // Offset one frame down: value 0 shows frame 1.
  auto* m = addStrip(31, CPoint(0, 4));
  m->setValue(0.0f);
  EXPECT_EQ(shownFrame(), 1);
  m->setValue(1.0f);
  EXPECT_EQ(shownFrame(), 31);
  frame->removeView(m);

  // A strip said to have no frames shows its first one.
  for (int32_t count : {0, -5}) {
    auto* none = addStrip(count);
    none->setValue(1.0f);
    EXPECT_EQ(shownFrame(), 0) << count;
    EXPECT_FALSE(drawsOutside(none));
    frame->removeView(none);
  }
}

TEST_F(MovieBitmapTest, HasNoMouseBehaviourOfItsOwn) {
  auto* m = addStrip();
  m->setValue(0.25f);
  EXPECT_EQ(down(24, 12), MouseResult::NotImplemented);
  EXPECT_EQ(m->getValue(), 0.25f);
  EXPECT_TRUE(log.empty());
  EXPECT_TRUE(m->isTypeOf("CMovieBitmap"));
  EXPECT_FALSE(m->isTypeOf("CSlider"));
  EXPECT_EQ(m->getFrameHeight(), 4);
}

}  // namespace
