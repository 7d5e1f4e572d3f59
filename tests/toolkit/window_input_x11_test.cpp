// The X11 layer's pure input rules: flags from event states, wheel buttons and
// double clicks made from two presses.
#include <gtest/gtest.h>

#include "toolkit/platform/x11/x11_input.h"

namespace zendrel::test {
namespace {

using namespace Toolkit;
using namespace Toolkit::platform::x11;

TEST(X11Input, StateBitsBecomeTheToolkitsFlags) {
  EXPECT_EQ(modifiersFromState(kShiftMask | kControlMask | kMod1Mask), kShiftKey | kControlKey | kAltKey);
  EXPECT_EQ(modifiersFromState(1 << 1), 0u);  // Lock is no modifier of ours
  EXPECT_EQ(buttonsFromState(kButton1Mask | kButton3Mask), kLeftButton | kRightButton);
  EXPECT_EQ(buttonsFromState(kButton2Mask | kShiftMask), kMiddleButton);
  EXPECT_EQ(buttonFlag(kButtonBack), kExtraButton1);
  EXPECT_EQ(buttonFlag(kButtonForward), kExtraButton2);
  EXPECT_EQ(buttonFlag(kWheelUp), 0u);
  EXPECT_EQ(buttonFlag(12), 0u);
}

TEST(X11Input, WheelButtonsAreNotchesOfOne) {
  EXPECT_EQ(wheelDistance(kWheelUp), 1.0f);
  EXPECT_EQ(wheelDistance(kWheelDown), -1.0f);
  EXPECT_EQ(wheelDistance(kWheelRight), 1.0f);
  EXPECT_EQ(wheelDistance(kWheelLeft), -1.0f);
  EXPECT_TRUE(isWheelButton(kWheelLeft));
  EXPECT_FALSE(isWheelButton(kButtonBack));
}

TEST(X11Input, TwoPressesCloseInTimeAndPlaceMakeADoubleClick) {
  ClickTracker t;
  EXPECT_FALSE(t.press(1, 1000, 50, 50));
  EXPECT_TRUE(t.press(1, 1000 + kDoubleClickMs, 50 + kDoubleClickSlop, 50 - kDoubleClickSlop));
  EXPECT_FALSE(t.press(1, 1600, 52, 48));  // a third press starts over
  EXPECT_TRUE(t.press(1, 1700, 52, 48));

  ClickTracker late;
  late.press(1, 0, 0, 0);
  EXPECT_FALSE(late.press(1, kDoubleClickMs + 1, 0, 0));
  ClickTracker far;
  far.press(1, 0, 0, 0);
  EXPECT_FALSE(far.press(1, 10, kDoubleClickSlop + 1, 0));
  ClickTracker other;
  other.press(1, 0, 0, 0);
  EXPECT_FALSE(other.press(3, 10, 0, 0));
  // Server time wraps around too.
  ClickTracker wrap;
  wrap.press(1, 0xffffffffu - 10, 0, 0);
  EXPECT_TRUE(wrap.press(1, 100, 0, 0));
}

}  // namespace
}  // namespace zendrel::test
