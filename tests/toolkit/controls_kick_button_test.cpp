// The kick button: pressed while held inside, reported on release.
#include <limits>

#include "tests/toolkit/controls_support.h"
#include "toolkit/controls/kick_button.h"

using namespace zendrel::test;

namespace {

class KickButtonTest : public ControlsTest {
 protected:
  // 20 × 18 at (100, 100): released frame above pressed frame.
  CKickButton* addButton() {
    CBitmap* image = stripOf(20, 18, 2);
    auto* b = add(new CKickButton(CRect(100, 100, 120, 118), &listener, 35, image));
    image->release();
    return b;
  }
  bool showsPressed() {
    paint();
    EXPECT_EQ(at(100, 100), at(119, 117));
    return at(110, 110) == frameColour(1);
  }
};

TEST_F(KickButtonTest, ReleasedInsideReportsOneThenZero) {
  auto* b = addButton();
  EXPECT_EQ(b->getFrameHeight(), 18);
  EXPECT_EQ(down(110, 110), MouseResult::Handled);
  EXPECT_EQ(b->getValue(), 1.0f);
  EXPECT_TRUE(showsPressed());
  EXPECT_EQ(move(119, 117), MouseResult::Handled);
  EXPECT_EQ(log, (Log{"listener begin 35", "editor begin 35"}));  // nothing reported while held

  EXPECT_EQ(up(119, 117), MouseResult::Handled);
  EXPECT_EQ(b->getValue(), 0.0f);
  EXPECT_EQ(log, (Log{"listener begin 35", "editor begin 35", changed(1), changed(0), "editor end 35",
                      "listener end 35"}));
  EXPECT_FALSE(showsPressed());
}

TEST_F(KickButtonTest, DraggedOutAndReleasedReportsOnlyZero) {
  auto* b = addButton();
  down(110, 110);
  move(150, 150);
  EXPECT_EQ(b->getValue(), 0.0f);
  EXPECT_FALSE(showsPressed());
  move(120, 118);  // the edges count as inside
  EXPECT_EQ(b->getValue(), 1.0f);
  EXPECT_TRUE(showsPressed());
  move(121, 110);
  EXPECT_EQ(b->getValue(), 0.0f);
  up(121, 110);
  EXPECT_EQ(log, (Log{"listener begin 35", "editor begin 35", changed(0), "editor end 35", "listener end 35"}));
}

TEST_F(KickButtonTest, DrawingClampsAndOddValuesStartReleased) {
  auto* b = addButton();
  b->setValue(3.0f);
  EXPECT_TRUE(showsPressed());
  EXPECT_EQ(b->getValue(), 1.0f);
  b->setValue(-2.0f);
  EXPECT_FALSE(showsPressed());
  EXPECT_EQ(b->getValue(), 0.0f);

  // Not a number: shown released, and a press still reports 1 then 0.
  b->setValue(std::numeric_limits<float>::quiet_NaN());
  EXPECT_FALSE(showsPressed());
  log.clear();
  down(110, 110);
  up(110, 110);
  EXPECT_EQ(log, (Log{"listener begin 35", "editor begin 35", changed(1), changed(0), "editor end 35",
                      "listener end 35"}));

  log.clear();
  EXPECT_EQ(down(110, 110, kRightButton), MouseResult::NotHandled);
  EXPECT_EQ(log, (Log{"modifierClick 8"}));
  EXPECT_TRUE(b->isTypeOf("CKickButton"));
}

}  // namespace
