// The splash screen: a left click on the trigger shows the picture as the
// frame's modal view; while it shows, clicks elsewhere reach nothing; a click
// on it takes it away and reports value 0.
#include "tests/toolkit/controls_support.h"
#include "toolkit/controls.h"

using namespace zendrel::test;

namespace {

constexpr uint32_t kUnder = 0xff00a050;

class SplashScreenTest : public ControlsTest {
 protected:
  void SetUp() override {
    ControlsTest::SetUp();
    // Something clickable beneath the picture, away from the trigger.
    CBitmap* underImage = strip(240, 190, {kUnder});
    under = add(new ProbeControl(CRect(0, 0, 240, 190), nullptr, 0, underImage, &log));
    underImage->release();
  }
  // Trigger (200, 200, 220, 220); the picture is the lower half of a two-band
  // image (offset (0, 60)) shown in (40, 40, 140, 100).
  CSplashScreen* addSplash() {
    CBitmap* image = strip(100, 60, {frameColour(2), frameColour(3)});
    auto* s = add(new CSplashScreen(CRect(200, 200, 220, 220), &listener, 1003, image, CRect(40, 40, 140, 100),
                                    CPoint(0, 60)));
    image->release();
    return s;
  }
  ProbeControl* under = nullptr;
};

TEST_F(SplashScreenTest, ClickShowsThePictureAsTheModalView) {
  auto* s = addSplash();
  paint();
  EXPECT_EQ(at(210, 210), kBackdrop);  // the trigger itself draws nothing
  EXPECT_EQ(at(90, 70), kUnder);

  EXPECT_EQ(down(210, 210), MouseResult::HandledNoFollowUp);
  EXPECT_EQ(s->getValue(), 1.0f);
  EXPECT_EQ(frame->getModalView(), s->getSplashView());
  EXPECT_EQ(frame->getView(frame->getNbViews() - 1), s->getSplashView());  // topmost
  EXPECT_EQ(log, (Log{changed(1)}));
  paint();
  EXPECT_EQ(at(40, 40), frameColour(3));
  EXPECT_EQ(at(139, 99), frameColour(3));
  EXPECT_EQ(at(140, 99), kUnder);
  EXPECT_EQ(at(39, 40), kUnder);
}

TEST_F(SplashScreenTest, WhileShownOtherClicksReachNothing) {
  auto* s = addSplash();
  down(210, 210);
  log.clear();
  EXPECT_EQ(down(10, 10), MouseResult::NotHandled);
  EXPECT_EQ(down(210, 210), MouseResult::NotHandled);
  EXPECT_EQ(down(90, 70, kRightButton), MouseResult::NotHandled);
  EXPECT_TRUE(log.empty());
  EXPECT_EQ(s->getValue(), 1.0f);
  EXPECT_EQ(frame->getModalView(), s->getSplashView());
}

TEST_F(SplashScreenTest, ClickOnThePictureRemovesItAndReportsZero) {
  auto* s = addSplash();
  down(210, 210);
  CView* picture = s->getSplashView();
  log.clear();
  EXPECT_EQ(down(140, 100), MouseResult::HandledNoFollowUp);  // its edge still counts
  EXPECT_EQ(s->getValue(), 0.0f);
  EXPECT_EQ(frame->getModalView(), nullptr);
  EXPECT_FALSE(picture->isAttached());
  EXPECT_EQ(picture->getNbReference(), 1);  // the splash screen's own
  EXPECT_EQ(log, (Log{changed(0)}));
  paint();
  EXPECT_EQ(at(90, 70), kUnder);

  // The editor underneath takes clicks again.
  log.clear();
  down(90, 70);
  EXPECT_EQ(log, (Log{"control down 90,70 2"}));
}

TEST_F(SplashScreenTest, OnlyALeftClickOnTheTriggerCounts) {
  auto* s = addSplash();
  EXPECT_EQ(down(210, 210, kRightButton), MouseResult::NotHandled);
  EXPECT_FALSE(s->hitTest(CPoint(210, 210), kShiftKey));
  EXPECT_TRUE(s->hitTest(CPoint(220, 220), kLeftButton));
  EXPECT_EQ(frame->getModalView(), nullptr);
  EXPECT_EQ(s->getValue(), 0.0f);
}

TEST_F(SplashScreenTest, ShowsWhateverValueAHostLeftBehind) {
  auto* s = addSplash();
  s->setValue(1.0f);  // automation, with nothing shown
  down(210, 210);
  EXPECT_EQ(frame->getModalView(), s->getSplashView());
  EXPECT_EQ(s->getValue(), 1.0f);
  EXPECT_EQ(log, (Log{changed(1)}));
  // The frame goes away with the picture up: nothing may be left behind.
}

TEST_F(SplashScreenTest, RemovingTheTriggerTakesThePictureDown) {
  auto* s = addSplash();
  s->setSplashArea(CRect(10, 10, 60, 40));
  down(210, 210);
  EXPECT_EQ(frame->getModalView()->getViewSize(), CRect(10, 10, 60, 40));
  frame->removeView(s);
  EXPECT_EQ(frame->getModalView(), nullptr);
  EXPECT_EQ(frame->getNbViews(), 1);
  log.clear();
  down(20, 20);
  EXPECT_EQ(log, (Log{"control down 20,20 2"}));
}

TEST_F(SplashScreenTest, CloneHasAPictureOfItsOwn) {
  auto* s = addSplash();
  down(210, 210);
  CView* copy = s->clone();
  ASSERT_NE(copy, nullptr);
  auto* other = static_cast<CSplashScreen*>(copy);
  EXPECT_NE(other->getSplashView(), s->getSplashView());
  EXPECT_EQ(other->getValue(), 0.0f);
  EXPECT_EQ(other->getSplashArea(), CRect(40, 40, 140, 100));
  EXPECT_TRUE(other->isTypeOf("CSplashScreen"));
  EXPECT_TRUE(other->getSplashView()->isTypeOf("CDefaultSplashScreenView"));
  EXPECT_TRUE(other->getSplashView()->isTypeOf("CControl"));
  copy->release();
  EXPECT_EQ(frame->getModalView(), s->getSplashView());
}

}  // namespace
