// The editor's parent on Linux with a display: an X11 window made through xcb.
#include "host/validate/editor_window.h"

#include <xcb/xcb.h>

#include <cstdint>
#include <cstdlib>

namespace zvalidate {

namespace {

// One connection for every parent window, made once: connecting reads the X
// authority file through a library that is not safe on two threads at once,
// and the plug-in under test may be connecting on another thread. Requests on
// one connection may come from any thread.
xcb_connection_t* hostConnection() {
  static xcb_connection_t* const connection = []() -> xcb_connection_t* {
    if (!std::getenv("DISPLAY")) return nullptr;
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (!xcb_connection_has_error(c)) return c;
    xcb_disconnect(c);
    return nullptr;
  }();
  return connection;
}

}  // namespace

ParentWindow::ParentWindow(int width, int height) {
  xcb_connection_t* c = hostConnection();
  if (!c) return;
  xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
  const xcb_window_t w = xcb_generate_id(c);
  const uint32_t mask = XCB_CW_BACK_PIXEL | XCB_CW_EVENT_MASK;
  const uint32_t values[] = {screen->black_pixel, XCB_EVENT_MASK_STRUCTURE_NOTIFY};
  // Off the screen: nothing here looks at pixels, and a window lying over
  // another program's on a shared display would take that program's clicks.
  const int16_t offScreen = static_cast<int16_t>(-width - 100);
  xcb_create_window(c, XCB_COPY_FROM_PARENT, w, screen->root, offScreen, 0, static_cast<uint16_t>(width),
                    static_cast<uint16_t>(height), 0, XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, mask,
                    values);
  xcb_map_window(c, w);
  xcb_flush(c);
  connection_ = c;
  handle_ = reinterpret_cast<void*>(static_cast<uintptr_t>(w));
}

ParentWindow::~ParentWindow() {
  if (!connection_) return;
  auto* c = static_cast<xcb_connection_t*>(connection_);
  xcb_destroy_window(c, static_cast<xcb_window_t>(reinterpret_cast<uintptr_t>(handle_)));
  xcb_flush(c);
}

const char* ParentWindow::kind() const { return handle_ ? "an X11 window" : "no window (null)"; }

void ParentWindow::pump() {
  if (!connection_) return;
  // The shared connection's events belong to every parent; none needs handling.
  auto* c = static_cast<xcb_connection_t*>(connection_);
  while (xcb_generic_event_t* event = xcb_poll_for_event(c)) std::free(event);
}

}  // namespace zvalidate
