// The desktop on X11: XTest input and the root window's pixels, on a
// connection of its own made once.
#include <xcb/xcb.h>
#include <xcb/xtest.h>

#include <cstdlib>

#include "tests/support/desktop.h"

namespace zendrel::test {
namespace desktop {

namespace {

constexpr uint32_t kKeysymShift = 0xffe1;
constexpr uint32_t kKeysymControl = 0xffe3;
constexpr uint32_t kKeysymAlt = 0xffe9;

xcb_connection_t* connection() {
  static xcb_connection_t* const c = []() -> xcb_connection_t* {
    if (!std::getenv("DISPLAY")) return nullptr;
    xcb_connection_t* made = xcb_connect(nullptr, nullptr);
    if (!xcb_connection_has_error(made)) return made;
    xcb_disconnect(made);
    return nullptr;
  }();
  return c;
}

xcb_window_t root(xcb_connection_t* c) { return xcb_setup_roots_iterator(xcb_get_setup(c)).data->root; }

// A round trip: the server has carried out everything sent before it.
void sync(xcb_connection_t* c) { std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr)); }

void fake(uint8_t type, uint8_t detail) {
  xcb_connection_t* c = connection();
  if (!c) return;
  xcb_test_fake_input(c, type, detail, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
  sync(c);
}

uint8_t keycode(xcb_connection_t* c, Key k) {
  const uint32_t wanted = k == kShift ? kKeysymShift : k == kControl ? kKeysymControl : kKeysymAlt;
  const xcb_setup_t* setup = xcb_get_setup(c);
  const uint8_t first = setup->min_keycode;
  const uint8_t count = uint8_t(setup->max_keycode - first + 1);
  xcb_get_keyboard_mapping_reply_t* map =
      xcb_get_keyboard_mapping_reply(c, xcb_get_keyboard_mapping(c, first, count), nullptr);
  uint8_t found = 0;
  if (map) {
    const xcb_keysym_t* syms = xcb_get_keyboard_mapping_keysyms(map);
    const int per = map->keysyms_per_keycode;
    for (int i = 0; i < count && !found; ++i)
      for (int j = 0; j < per; ++j)
        if (syms[i * per + j] == wanted) {
          found = uint8_t(first + i);
          break;
        }
    std::free(map);
  }
  return found;
}

}  // namespace

bool available(std::string& error) {
  if (connection()) return true;
  error = "cannot connect to the X display (DISPLAY is unset or the server is gone)";
  return false;
}

void movePointer(int32_t x, int32_t y) {
  xcb_connection_t* c = connection();
  if (!c) return;
  xcb_test_fake_input(c, XCB_MOTION_NOTIFY, 0, XCB_CURRENT_TIME, root(c), int16_t(x), int16_t(y), 0);
  sync(c);
}

void button(Button b, bool down) { fake(down ? XCB_BUTTON_PRESS : XCB_BUTTON_RELEASE, uint8_t(b)); }

void key(Key k, bool down) {
  if (xcb_connection_t* c = connection()) fake(down ? XCB_KEY_PRESS : XCB_KEY_RELEASE, keycode(c, k));
}

void wheelNotch(bool up) {
  const uint8_t b = up ? 4 : 5;
  fake(XCB_BUTTON_PRESS, b);
  fake(XCB_BUTTON_RELEASE, b);
}

bool readScreen(int32_t x, int32_t y, int32_t width, int32_t height, std::vector<uint32_t>& out) {
  xcb_connection_t* c = connection();
  if (!c) return false;
  sync(c);
  xcb_get_image_reply_t* image =
      xcb_get_image_reply(c,
                          xcb_get_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, root(c), int16_t(x), int16_t(y),
                                        uint16_t(width), uint16_t(height), ~0u),
                          nullptr);
  if (!image) return false;
  const auto* data = reinterpret_cast<const uint32_t*>(xcb_get_image_data(image));
  const int length = xcb_get_image_data_length(image) / 4;
  out.assign(data, data + length);
  for (uint32_t& p : out) p &= 0x00ffffff;
  std::free(image);
  return int(out.size()) == width * height;
}

bool setDesktopResources(const std::string& text) {
  xcb_connection_t* c = connection();
  if (!c) return false;
  if (text.empty())
    xcb_delete_property(c, root(c), XCB_ATOM_RESOURCE_MANAGER);
  else
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, root(c), XCB_ATOM_RESOURCE_MANAGER, XCB_ATOM_STRING, 8,
                        uint32_t(text.size()), text.data());
  sync(c);
  return true;
}

}  // namespace desktop
}  // namespace zendrel::test
