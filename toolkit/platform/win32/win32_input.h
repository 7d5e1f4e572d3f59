// Pure pieces of the Win32 input translation: the toolkit's button and
// modifier flags from a mouse message's key-state word, and wheel notches.
#pragma once

#include <cstdint>

#include "toolkit/base.h"

namespace Toolkit {
namespace platform {
namespace win32 {

// Key-state bits of a mouse message's wParam (low word).
inline constexpr uint32_t kMkLButton = 0x0001;
inline constexpr uint32_t kMkRButton = 0x0002;
inline constexpr uint32_t kMkShift = 0x0004;
inline constexpr uint32_t kMkControl = 0x0008;
inline constexpr uint32_t kMkMButton = 0x0010;
inline constexpr uint32_t kMkXButton1 = 0x0020;
inline constexpr uint32_t kMkXButton2 = 0x0040;

constexpr MouseButtons buttonsFromKeyState(uint32_t keyState, bool altDown) {
  return ((keyState & kMkLButton) ? kLeftButton : 0u) | ((keyState & kMkRButton) ? kRightButton : 0u) |
         ((keyState & kMkMButton) ? kMiddleButton : 0u) | ((keyState & kMkXButton1) ? kExtraButton1 : 0u) |
         ((keyState & kMkXButton2) ? kExtraButton2 : 0u) | ((keyState & kMkControl) ? kControlKey : 0u) |
         ((keyState & kMkShift) ? kShiftKey : 0u) | (altDown ? kAltKey : 0u);
}

// Whole notches of a wheel delta (120 per notch), truncated toward zero: a
// half notch of a fine-grained wheel is no notch yet.
constexpr float wheelNotches(int16_t delta) { return static_cast<float>(delta / 120); }

}  // namespace win32
}  // namespace platform
}  // namespace Toolkit
