// The desktop as a user meets it, for the real-window tests: input given the
// way a user gives it (XTest on X11, SendInput on Windows and under Wine) and
// the screen's pixels as the user sees them. Coordinates are the screen's.
// One implementation per window system: desktop_x11.cpp, desktop_win32.cpp.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zendrel::test {
namespace desktop {

enum Button { kLeft = 1, kMiddle = 2, kRight = 3 };
enum Key { kShift, kControl, kAlt };

// Whether input can be given here; `error` says why not.
bool available(std::string& error);

// Each call returns once the window system has taken the input.
void movePointer(int32_t x, int32_t y);
void button(Button b, bool down);
void key(Key k, bool down);
// One wheel notch, up (away from the user) when `up`.
void wheelNotch(bool up);

// The screen's pixels over a rectangle, 0x00RRGGBB, rows top to bottom.
bool readScreen(int32_t x, int32_t y, int32_t width, int32_t height, std::vector<uint32_t>& out);

// Replaces the desktop's settings database (X11: the root window's resource
// database, where desktops put Xft.dpi); empty text removes it. False where
// the window system keeps no such thing (Windows).
bool setDesktopResources(const std::string& text);

}  // namespace desktop
}  // namespace zendrel::test
