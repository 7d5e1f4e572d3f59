// The editor's host window on X11, with the window manager's close button.
#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>

#include "host/show/show_window.h"

namespace zshow {

namespace {

xcb_atom_t atom(xcb_connection_t* c, const char* name) {
  xcb_intern_atom_reply_t* r =
      xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, uint16_t(std::strlen(name)), name), nullptr);
  const xcb_atom_t a = r ? r->atom : xcb_atom_t(XCB_ATOM_NONE);
  std::free(r);
  return a;
}

class X11Window : public HostWindow {
 public:
  X11Window(xcb_connection_t* c, int32_t w, int32_t h, const std::string& title) : conn(c) {
    xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(conn)).data;
    window = xcb_generate_id(conn);
    const uint32_t values[] = {screen->black_pixel, XCB_EVENT_MASK_STRUCTURE_NOTIFY};
    xcb_create_window(conn, XCB_COPY_FROM_PARENT, window, screen->root, 0, 0, uint16_t(w), uint16_t(h), 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, XCB_CW_BACK_PIXEL | XCB_CW_EVENT_MASK,
                      values);
    xcb_change_property(conn, XCB_PROP_MODE_REPLACE, window, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8,
                        uint32_t(title.size()), title.data());
    protocols = atom(conn, "WM_PROTOCOLS");
    deleteWindow = atom(conn, "WM_DELETE_WINDOW");
    xcb_change_property(conn, XCB_PROP_MODE_REPLACE, window, protocols, XCB_ATOM_ATOM, 32, 1, &deleteWindow);
    xcb_map_window(conn, window);
    xcb_flush(conn);
  }
  ~X11Window() override {
    xcb_destroy_window(conn, window);
    xcb_flush(conn);
    xcb_disconnect(conn);
  }
  void* handle() const override { return reinterpret_cast<void*>(uintptr_t(window)); }
  bool pump() override {
    bool open = !xcb_connection_has_error(conn);
    while (xcb_generic_event_t* e = xcb_poll_for_event(conn)) {
      if ((e->response_type & 0x7f) == XCB_CLIENT_MESSAGE &&
          reinterpret_cast<xcb_client_message_event_t*>(e)->data.data32[0] == deleteWindow)
        open = false;
      if ((e->response_type & 0x7f) == XCB_DESTROY_NOTIFY) open = false;
      std::free(e);
    }
    return open;
  }

 private:
  xcb_connection_t* conn;
  xcb_window_t window = 0;
  xcb_atom_t protocols = xcb_atom_t(XCB_ATOM_NONE);
  xcb_atom_t deleteWindow = xcb_atom_t(XCB_ATOM_NONE);
};

}  // namespace

std::unique_ptr<HostWindow> HostWindow::create(int32_t width, int32_t height, const std::string& title,
                                               std::string& error) {
  xcb_connection_t* c = xcb_connect(nullptr, nullptr);
  if (xcb_connection_has_error(c)) {
    xcb_disconnect(c);
    error = "cannot connect to the X display: is DISPLAY set? (headless: run it under cmake/with-display.sh)";
    return nullptr;
  }
  return std::make_unique<X11Window>(c, width, height, title);
}

}  // namespace zshow
