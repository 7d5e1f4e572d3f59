// The test host window on X11: its own connection, a top-level window with no
// window manager to move it, XTest input and the root window's pixels.
#include <xcb/xcb.h>
#include <xcb/xtest.h>

#include <dirent.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "tests/toolkit/window_test_host.h"

namespace zendrel_test {

namespace {

constexpr int32_t kScreenX = 40;
constexpr int32_t kScreenY = 30;

constexpr uint32_t kKeysymShift = 0xffe1;
constexpr uint32_t kKeysymControl = 0xffe3;
constexpr uint32_t kKeysymAlt = 0xffe9;

class X11Host : public TestWindowHost {
 public:
  X11Host(xcb_connection_t* c, int32_t w, int32_t h) : conn(c) {
    screen = xcb_setup_roots_iterator(xcb_get_setup(conn)).data;
    window = xcb_generate_id(conn);
    const uint32_t values[] = {screen->black_pixel, 1, XCB_EVENT_MASK_STRUCTURE_NOTIFY};
    xcb_create_window(conn, XCB_COPY_FROM_PARENT, window, screen->root, kScreenX, kScreenY, uint16_t(w), uint16_t(h),
                      0, XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual,
                      XCB_CW_BACK_PIXEL | XCB_CW_OVERRIDE_REDIRECT | XCB_CW_EVENT_MASK, values);
    xcb_map_window(conn, window);
    sync();
  }
  ~X11Host() override {
    if (!destroyed) xcb_destroy_window(conn, window);
    sync();
    xcb_disconnect(conn);
  }

  void* parentHandle() const override { return reinterpret_cast<void*>(uintptr_t(window)); }

  void moveTo(int32_t x, int32_t y) override {
    xcb_test_fake_input(conn, XCB_MOTION_NOTIFY, 0, XCB_CURRENT_TIME, screen->root, int16_t(kScreenX + x),
                        int16_t(kScreenY + y), 0);
    sync();
  }
  void press(Button b) override { fake(XCB_BUTTON_PRESS, uint8_t(b)); }
  void release(Button b) override { fake(XCB_BUTTON_RELEASE, uint8_t(b)); }
  void keyDown(Key k) override { fake(XCB_KEY_PRESS, keycode(k)); }
  void keyUp(Key k) override { fake(XCB_KEY_RELEASE, keycode(k)); }
  void wheel(bool up) override {
    const uint8_t button = up ? 4 : 5;
    fake(XCB_BUTTON_PRESS, button);
    fake(XCB_BUTTON_RELEASE, button);
  }

  bool pumpUntil(const std::function<void()>& idle, const std::function<bool()>& done, int timeoutMs) override {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
      while (xcb_generic_event_t* e = xcb_poll_for_event(conn)) std::free(e);
      if (idle) idle();
      if (done()) return true;
      if (std::chrono::steady_clock::now() >= end) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
  }

  bool readPixels(const Toolkit::CRect& area, std::vector<uint32_t>& out) override {
    sync();
    xcb_get_image_reply_t* image = xcb_get_image_reply(
        conn,
        xcb_get_image(conn, XCB_IMAGE_FORMAT_Z_PIXMAP, screen->root, int16_t(kScreenX + area.left),
                      int16_t(kScreenY + area.top), uint16_t(area.getWidth()), uint16_t(area.getHeight()), ~0u),
        nullptr);
    if (!image) return false;
    const auto* data = reinterpret_cast<const uint32_t*>(xcb_get_image_data(image));
    const int length = xcb_get_image_data_length(image) / 4;
    out.assign(data, data + length);
    for (uint32_t& p : out) p &= 0x00ffffff;
    std::free(image);
    return int(out.size()) == area.getWidth() * area.getHeight();
  }

  void destroyWindow() override {
    if (destroyed) return;
    xcb_destroy_window(conn, window);
    destroyed = true;
    sync();
  }

  int32_t countChildWindows() override {
    if (destroyed) return 0;
    xcb_query_tree_reply_t* tree = xcb_query_tree_reply(conn, xcb_query_tree(conn, window), nullptr);
    if (!tree) return -1;
    const int32_t n = xcb_query_tree_children_length(tree);
    std::free(tree);
    return n;
  }

  Resources processResources() override {
    Resources r;
    if (DIR* fds = opendir("/proc/self/fd")) {
      while (readdir(fds)) ++r.handles;
      closedir(fds);
    }
    long pages = 0, resident = 0;
    if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
      if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2) resident = 0;
      std::fclose(statm);
    }
    r.residentKb = resident * (sysconf(_SC_PAGESIZE) / 1024);
    return r;
  }

 private:
  void sync() { std::free(xcb_get_input_focus_reply(conn, xcb_get_input_focus(conn), nullptr)); }

  void fake(uint8_t type, uint8_t detail) {
    xcb_test_fake_input(conn, type, detail, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
    sync();
  }

  uint8_t keycode(Key k) {
    const uint32_t wanted = k == kShift ? kKeysymShift : k == kControl ? kKeysymControl : kKeysymAlt;
    const xcb_setup_t* setup = xcb_get_setup(conn);
    const uint8_t first = setup->min_keycode;
    const uint8_t count = uint8_t(setup->max_keycode - first + 1);
    xcb_get_keyboard_mapping_reply_t* map =
        xcb_get_keyboard_mapping_reply(conn, xcb_get_keyboard_mapping(conn, first, count), nullptr);
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

  xcb_connection_t* conn;
  xcb_screen_t* screen = nullptr;
  xcb_window_t window = 0;
  bool destroyed = false;
};

}  // namespace

std::unique_ptr<TestWindowHost> TestWindowHost::create(int32_t width, int32_t height, std::string& error) {
  xcb_connection_t* c = xcb_connect(nullptr, nullptr);
  if (xcb_connection_has_error(c)) {
    xcb_disconnect(c);
    error = "cannot connect to the X display (DISPLAY is unset or the server is gone)";
    return nullptr;
  }
  return std::make_unique<X11Host>(c, width, height);
}

}  // namespace zendrel_test
