// Pure pieces of the X11 input translation: the toolkit's button and modifier
// flags from an event's state, and double clicks made from two presses.
#pragma once

#include <cstdint>

#include "toolkit/base.h"

namespace Toolkit {
namespace platform {
namespace x11 {

// Core protocol key and button masks of an event's state field.
inline constexpr uint16_t kShiftMask = 1 << 0;
inline constexpr uint16_t kControlMask = 1 << 2;
inline constexpr uint16_t kMod1Mask = 1 << 3;  // Alt
inline constexpr uint16_t kButton1Mask = 1 << 8;
inline constexpr uint16_t kButton2Mask = 1 << 9;
inline constexpr uint16_t kButton3Mask = 1 << 10;

// Pointer buttons as the core protocol numbers them.
inline constexpr uint8_t kButtonLeft = 1;
inline constexpr uint8_t kButtonMiddle = 2;
inline constexpr uint8_t kButtonRight = 3;
inline constexpr uint8_t kWheelUp = 4;
inline constexpr uint8_t kWheelDown = 5;
inline constexpr uint8_t kWheelLeft = 6;
inline constexpr uint8_t kWheelRight = 7;
inline constexpr uint8_t kButtonBack = 8;
inline constexpr uint8_t kButtonForward = 9;

constexpr MouseButtons modifiersFromState(uint16_t state) {
  return ((state & kShiftMask) ? kShiftKey : 0u) | ((state & kControlMask) ? kControlKey : 0u) |
         ((state & kMod1Mask) ? kAltKey : 0u);
}

// The buttons held according to the state; the extra buttons have no state
// bits and are tracked by the caller.
constexpr MouseButtons buttonsFromState(uint16_t state) {
  return ((state & kButton1Mask) ? kLeftButton : 0u) | ((state & kButton2Mask) ? kMiddleButton : 0u) |
         ((state & kButton3Mask) ? kRightButton : 0u);
}

// The flag of a pressed or released button; 0 for wheel buttons and unknown ones.
constexpr MouseButtons buttonFlag(uint8_t button) {
  switch (button) {
    case kButtonLeft: return kLeftButton;
    case kButtonMiddle: return kMiddleButton;
    case kButtonRight: return kRightButton;
    case kButtonBack: return kExtraButton1;
    case kButtonForward: return kExtraButton2;
    default: return 0;
  }
}

// Wheel notches of a wheel button press: +1 up or right, -1 down or left.
constexpr float wheelDistance(uint8_t button) {
  return (button == kWheelUp || button == kWheelRight) ? 1.0f : -1.0f;
}
constexpr bool isWheelButton(uint8_t button) { return button >= kWheelUp && button <= kWheelRight; }

// Two presses of one button make a double click when the second comes within
// this time and this distance of the first, as on the desktop systems' defaults.
inline constexpr uint32_t kDoubleClickMs = 500;
inline constexpr int32_t kDoubleClickSlop = 2;

class ClickTracker {
 public:
  // Whether this press completes a double click. A third press starts over.
  bool press(uint8_t button, uint32_t time, int32_t x, int32_t y) {
    const bool dx = x - lastX <= kDoubleClickSlop && lastX - x <= kDoubleClickSlop;
    const bool dy = y - lastY <= kDoubleClickSlop && lastY - y <= kDoubleClickSlop;
    const bool isDouble = armed && button == lastButton && time - lastTime <= kDoubleClickMs && dx && dy;
    armed = !isDouble;
    lastButton = button;
    lastTime = time;
    lastX = x;
    lastY = y;
    return isDouble;
  }

 private:
  bool armed = false;
  uint8_t lastButton = 0;
  uint32_t lastTime = 0;
  int32_t lastX = 0;
  int32_t lastY = 0;
};

}  // namespace x11
}  // namespace platform
}  // namespace Toolkit
