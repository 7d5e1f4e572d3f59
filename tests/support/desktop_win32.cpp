// The desktop on Windows (under Wine on the test display): SendInput for the
// pointer, keys and wheel, and the screen's pixels through the desktop's
// device context.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include "tests/support/desktop.h"

namespace zendrel::test {
namespace desktop {

namespace {

void sendMouse(DWORD flags, LONG dx = 0, LONG dy = 0, DWORD data = 0) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = dx;
  input.mi.dy = dy;
  input.mi.mouseData = data;
  input.mi.dwFlags = flags;
  SendInput(1, &input, sizeof input);
}

}  // namespace

bool available(std::string&) { return true; }

void movePointer(int32_t x, int32_t y) {
  const int sw = GetSystemMetrics(SM_CXSCREEN);
  const int sh = GetSystemMetrics(SM_CYSCREEN);
  const LONG dx = static_cast<LONG>((x * 65536LL + sw - 1) / sw);
  const LONG dy = static_cast<LONG>((y * 65536LL + sh - 1) / sh);
  sendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, dx, dy);
}

void button(Button b, bool down) {
  if (b == kLeft) sendMouse(down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP);
  if (b == kRight) sendMouse(down ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_RIGHTUP);
  if (b == kMiddle) sendMouse(down ? MOUSEEVENTF_MIDDLEDOWN : MOUSEEVENTF_MIDDLEUP);
}

void key(Key k, bool down) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = k == kShift ? VK_SHIFT : k == kControl ? VK_CONTROL : VK_MENU;
  input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
  SendInput(1, &input, sizeof input);
}

void wheelNotch(bool up) {
  sendMouse(MOUSEEVENTF_WHEEL, 0, 0, static_cast<DWORD>(up ? WHEEL_DELTA : -WHEEL_DELTA));
}

bool readScreen(int32_t x, int32_t y, int32_t width, int32_t height, std::vector<uint32_t>& out) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP dib = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  bool ok = false;
  if (dib) {
    HGDIOBJ old = SelectObject(memory, dib);
    ok = BitBlt(memory, 0, 0, width, height, screen, x, y, SRCCOPY) != 0;
    GdiFlush();
    const auto* p = static_cast<const uint32_t*>(bits);
    out.assign(p, p + std::size_t(width) * std::size_t(height));
    for (uint32_t& px : out) px &= 0x00ffffff;
    SelectObject(memory, old);
    DeleteObject(dib);
  }
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return ok;
}

bool setDesktopResources(const std::string&) { return false; }

}  // namespace desktop
}  // namespace zendrel::test
