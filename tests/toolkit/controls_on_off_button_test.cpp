// The on/off button: what it shows, and the order in which a click repaints,
// runs the editor's idle cycle and reports to the listener.
#include <limits>

#include "tests/toolkit/controls_support.h"
#include "toolkit/controls/on_off_button.h"

using namespace zendrel::test;

namespace {

class OnOffButtonTest : public ControlsTest {
 protected:
  // The editor's merge button: 40 × 20 at (40, 26), off frame above on frame.
  COnOffButton* addButton(int32_t style = kNotifyAfterIdle, CControlListener* l = nullptr) {
    CBitmap* image = stripOf(40, 20, 2);
    auto* b = add(new COnOffButton(CRect(40, 26, 80, 46), l ? l : &listener, 198, image, style));
    image->release();
    // What the idle cycle finds: the button already asked to be repainted.
    editor.onIdle = [this] {
      log.push_back(frame->hasInvalidRect() && frame->getInvalidRect() == CRect(40, 26, 80, 46) ? "repaint asked"
                                                                                                  : "no repaint");
    };
    frame->takeInvalidRect();
    return b;
  }
  bool showsOn() {
    paint();
    EXPECT_EQ(at(40, 26), at(79, 45));
    return at(60, 36) == frameColour(1);
  }
};

const Log kReport1{"listener begin 198", "editor begin 198", changed(1), "editor end 198", "listener end 198"};

TEST_F(OnOffButtonTest, NotifiesAfterTheIdleCycleWhichFollowsTheRepaintRequest) {
  auto* b = addButton();
  EXPECT_EQ(down(50, 30), MouseResult::HandledNoFollowUp);
  EXPECT_EQ(b->getValue(), 1.0f);
  Log expected{"editor idle", "repaint asked"};
  expected.insert(expected.end(), kReport1.begin(), kReport1.end());
  EXPECT_EQ(log, expected);
  EXPECT_EQ(up(50, 30), MouseResult::NotHandled);  // no follow-up
  EXPECT_TRUE(showsOn());

  log.clear();
  frame->takeInvalidRect();
  down(79, 45);
  EXPECT_EQ(b->getValue(), 0.0f);
  EXPECT_EQ(log, (Log{"editor idle", "repaint asked", "listener begin 198", "editor begin 198", changed(0),
                      "editor end 198", "listener end 198"}));
  EXPECT_FALSE(showsOn());
}

TEST_F(OnOffButtonTest, CanNotifyBeforeTheIdleCycle) {
  auto* b = addButton(kNotifyBeforeIdle);
  EXPECT_EQ(b->getStyle(), kNotifyBeforeIdle);
  down(50, 30);
  Log expected = kReport1;
  expected.push_back("editor idle");
  expected.push_back("repaint asked");
  EXPECT_EQ(log, expected);
}

TEST_F(OnOffButtonTest, AClickFlipsTheWholePartOfTheValue) {
  auto* b = addButton();
  EXPECT_FALSE(showsOn());
  b->setValue(0.5f);  // any value but 0 shows on ...
  EXPECT_TRUE(showsOn());
  down(50, 30);  // ... but a click flips its whole part: fully on
  EXPECT_EQ(b->getValue(), 1.0f);
  EXPECT_TRUE(showsOn());
  down(50, 30);
  EXPECT_EQ(b->getValue(), 0.0f);
  EXPECT_FALSE(showsOn());

  b->setValue(std::numeric_limits<float>::quiet_NaN());  // shown off, so a click turns it on
  EXPECT_FALSE(showsOn());
  down(50, 30);
  EXPECT_EQ(b->getValue(), 1.0f);
  EXPECT_TRUE(showsOn());

  log.clear();
  EXPECT_EQ(down(50, 30, kRightButton), MouseResult::NotHandled);
  EXPECT_EQ(b->getValue(), 1.0f);
  EXPECT_EQ(log, (Log{"modifierClick 8"}));
}

TEST_F(OnOffButtonTest, WithoutListenerItStillTogglesAndRefreshes) {
  auto* b = add(new COnOffButton(CRect(0, 0, 10, 10), nullptr, 5, nullptr));
  EXPECT_EQ(down(5, 5), MouseResult::HandledNoFollowUp);
  EXPECT_EQ(b->getValue(), 1.0f);
  EXPECT_EQ(log, (Log{"editor idle"}));
  EXPECT_TRUE(b->isTypeOf("COnOffButton"));
}

}  // namespace
