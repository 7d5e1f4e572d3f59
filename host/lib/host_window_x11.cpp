// Host windows on X11, through xcb: every window of the process on one
// connection, its events handed to the window they are for.
#include <dirent.h>
#include <malloc.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>

#include "host/lib/host_window.h"

namespace zendrel::host {

namespace {

// One connection for every host window, made once and kept: connecting reads
// the X authority file through a library that is not safe on two threads at
// once, and the plug-in under test may be connecting on another thread.
// Requests on one connection may come from any thread.
xcb_connection_t* hostConnection(std::string& error) {
  static xcb_connection_t* const connection = []() -> xcb_connection_t* {
    if (!std::getenv("DISPLAY")) return nullptr;
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (!xcb_connection_has_error(c)) return c;
    xcb_disconnect(c);
    return nullptr;
  }();
  if (!connection)
    error = "cannot connect to the X display: is DISPLAY set? (headless: run it under cmake/with-display.sh)";
  return connection;
}

xcb_atom_t atom(xcb_connection_t* c, const char* name) {
  xcb_intern_atom_reply_t* r =
      xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, uint16_t(std::strlen(name)), name), nullptr);
  const xcb_atom_t a = r ? r->atom : xcb_atom_t(XCB_ATOM_NONE);
  std::free(r);
  return a;
}

// A round trip: everything sent before it has been carried out.
void sync(xcb_connection_t* c) { std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr)); }

// Whether each live window is still open. Any thread's pump takes the shared
// connection's events, so each lands here for the window it is for.
std::mutex registryLock;
std::map<xcb_window_t, bool> openWindows;

void markClosed(xcb_window_t w) {
  std::lock_guard<std::mutex> guard(registryLock);
  auto it = openWindows.find(w);
  if (it != openWindows.end()) it->second = false;
}

class X11Window : public HostWindow {
 public:
  X11Window(xcb_connection_t* c, const Options& options) : conn(c) {
    xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(conn)).data;
    window = xcb_generate_id(conn);
    int16_t x = 0, y = 0;
    if (options.place == Place::kAt) {
      x = int16_t(options.x);
      y = int16_t(options.y);
    } else if (options.place == Place::kOffScreen) {
      x = int16_t(-options.width - 100);
    }
    // No window manager moves a window placed by the host (there is none on
    // the test display, and a managed one would be moved and framed).
    const uint32_t overrideRedirect = options.place == Place::kAt ? 1 : 0;
    const uint32_t values[] = {screen->black_pixel, overrideRedirect, XCB_EVENT_MASK_STRUCTURE_NOTIFY};
    {
      std::lock_guard<std::mutex> guard(registryLock);
      openWindows[window] = true;
    }
    xcb_create_window(conn, XCB_COPY_FROM_PARENT, window, screen->root, x, y, uint16_t(options.width),
                      uint16_t(options.height), 0, XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual,
                      XCB_CW_BACK_PIXEL | XCB_CW_OVERRIDE_REDIRECT | XCB_CW_EVENT_MASK, values);
    if (options.place == Place::kDecorated) {
      xcb_change_property(conn, XCB_PROP_MODE_REPLACE, window, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8,
                          uint32_t(options.title.size()), options.title.data());
      const xcb_atom_t protocols = atom(conn, "WM_PROTOCOLS");
      deleteWindow = atom(conn, "WM_DELETE_WINDOW");
      xcb_change_property(conn, XCB_PROP_MODE_REPLACE, window, protocols, XCB_ATOM_ATOM, 32, 1,
                          &deleteWindow);
    }
    xcb_map_window(conn, window);
    sync(conn);
  }
  ~X11Window() override {
    destroy();
    std::lock_guard<std::mutex> guard(registryLock);
    openWindows.erase(window);
  }

  void* handle() const override { return reinterpret_cast<void*>(uintptr_t(window)); }

  bool pump() override {
    while (xcb_generic_event_t* e = xcb_poll_for_event(conn)) {
      const uint8_t type = e->response_type & 0x7f;
      if (type == XCB_CLIENT_MESSAGE) {
        auto* m = reinterpret_cast<xcb_client_message_event_t*>(e);
        if (m->format == 32 && m->data.data32[0] == deleteWindow && deleteWindow != XCB_ATOM_NONE)
          markClosed(m->window);
      } else if (type == XCB_DESTROY_NOTIFY) {
        markClosed(reinterpret_cast<xcb_destroy_notify_event_t*>(e)->window);
      }
      std::free(e);
    }
    if (xcb_connection_has_error(conn)) return false;
    std::lock_guard<std::mutex> guard(registryLock);
    const auto it = openWindows.find(window);
    return !destroyed && it != openWindows.end() && it->second;
  }

  void destroy() override {
    if (destroyed) return;
    destroyed = true;
    xcb_destroy_window(conn, window);
    sync(conn);
  }

  int32_t childWindowCount() override {
    if (destroyed) return 0;
    xcb_query_tree_reply_t* tree = xcb_query_tree_reply(conn, xcb_query_tree(conn, window), nullptr);
    if (!tree) return -1;
    const int32_t n = xcb_query_tree_children_length(tree);
    std::free(tree);
    return n;
  }

  bool childWindowSize(int32_t& width, int32_t& height) override {
    if (destroyed) return false;
    xcb_query_tree_reply_t* tree = xcb_query_tree_reply(conn, xcb_query_tree(conn, window), nullptr);
    if (!tree) return false;
    const bool any = xcb_query_tree_children_length(tree) > 0;
    const xcb_window_t child = any ? xcb_query_tree_children(tree)[0] : 0;
    std::free(tree);
    if (!any) return false;
    xcb_get_geometry_reply_t* g = xcb_get_geometry_reply(conn, xcb_get_geometry(conn, child), nullptr);
    if (!g) return false;
    width = g->width;
    height = g->height;
    std::free(g);
    return true;
  }

  WheelTrace wheelTrace() const override { return {}; }

 private:
  xcb_connection_t* conn;
  xcb_window_t window = 0;
  xcb_atom_t deleteWindow = xcb_atom_t(XCB_ATOM_NONE);
  bool destroyed = false;
};

}  // namespace

std::unique_ptr<HostWindow> HostWindow::create(const Options& options, std::string& error) {
  if (!sizeIsPossible(options, error)) return nullptr;
  xcb_connection_t* c = hostConnection(error);
  if (!c) return nullptr;
  return std::make_unique<X11Window>(c, options);
}

const char* HostWindow::kind() { return "an X11 window"; }

bool HostWindow::wheelPassesThroughHost() { return false; }

ProcessResources processResources() {
  ProcessResources r;
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

void returnFreedMemory() { malloc_trim(0); }

}  // namespace zendrel::host
