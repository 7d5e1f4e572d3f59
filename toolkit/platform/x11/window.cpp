// The frame's child window on X11: created through the editor's own xcb
// connection inside the window id the host passes, drawn with cairo from the
// frame's back buffer, and driven entirely from the host's idle calls.
#include <cairo-xcb.h>

#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string_view>

#include "toolkit/frame.h"
#include "toolkit/platform/x11/x11_window.h"
#include "toolkit/scaling.h"

namespace Toolkit {
namespace platform {

namespace {

template <typename T>
struct Reply {
  T* p;
  explicit Reply(T* reply) : p(reply) {}
  ~Reply() { std::free(p); }
  Reply(const Reply&) = delete;
  Reply& operator=(const Reply&) = delete;
  T* operator->() const { return p; }
  explicit operator bool() const { return p != nullptr; }
};

xcb_visualtype_t* findVisual(xcb_connection_t* c, xcb_visualid_t id) {
  for (auto screens = xcb_setup_roots_iterator(xcb_get_setup(c)); screens.rem; xcb_screen_next(&screens))
    for (auto depths = xcb_screen_allowed_depths_iterator(screens.data); depths.rem; xcb_depth_next(&depths))
      for (auto visuals = xcb_depth_visuals_iterator(depths.data); visuals.rem; xcb_visualtype_next(&visuals))
        if (visuals.data->visual_id == id) return visuals.data;
  return nullptr;
}

// Glyphs of the core cursor font for each shape (the default shows the parent's).
uint16_t cursorGlyph(CursorShape shape) {
  switch (shape) {
    case CursorShape::kWait: return 150;      // watch
    case CursorShape::kSizeWE: return 108;    // sb_h_double_arrow
    case CursorShape::kSizeNS: return 116;    // sb_v_double_arrow
    case CursorShape::kSizeAll: return 52;    // fleur
    case CursorShape::kSizeNESW: return 12;   // bottom_left_corner
    case CursorShape::kSizeNWSE: return 14;   // bottom_right_corner
    case CursorShape::kNo: return 0;          // X_cursor
    case CursorShape::kHand: return 60;       // hand2
    default: return 0xffff;
  }
}

// The child window itself, in the parent's depth and visual so that no
// colormap or border has to be made for it. 0 when the server refuses.
xcb_window_t createChild(xcb_connection_t* c, xcb_window_t parent, uint8_t depth, xcb_visualid_t visual,
                         const CRect& size) {
  const xcb_window_t id = xcb_generate_id(c);
  const uint32_t mask = XCB_CW_BACK_PIXMAP | XCB_CW_EVENT_MASK;
  const uint32_t values[] = {
      XCB_BACK_PIXMAP_NONE,  // the frame paints every pixel: no flash of a background
      XCB_EVENT_MASK_EXPOSURE | XCB_EVENT_MASK_BUTTON_PRESS | XCB_EVENT_MASK_BUTTON_RELEASE |
          XCB_EVENT_MASK_POINTER_MOTION | XCB_EVENT_MASK_ENTER_WINDOW | XCB_EVENT_MASK_LEAVE_WINDOW |
          XCB_EVENT_MASK_STRUCTURE_NOTIFY};
  const auto cookie =
      xcb_create_window_checked(c, depth, id, parent, 0, 0, static_cast<uint16_t>(size.getWidth()),
                                static_cast<uint16_t>(size.getHeight()), 0, XCB_WINDOW_CLASS_INPUT_OUTPUT, visual,
                                mask, values);
  if (xcb_generic_error_t* error = xcb_request_check(c, cookie)) {
    std::free(error);
    return 0;
  }
  return id;
}

// Connecting reads the X authority file through a library that keeps its
// state in static buffers: editors opening on two host threads at once must
// take turns.
xcb_connection_t* connectToDisplay(int* screenNumber = nullptr) {
  static std::mutex lock;
  std::lock_guard<std::mutex> guard(lock);
  return xcb_connect(nullptr, screenNumber);
}

void dropPending(Window* w) {
  for (xcb_generic_event_t* e : w->pending) std::free(e);
  w->pending.clear();
}

}  // namespace

bool beginWindowSystemUse() { return false; }  // nothing to start on X11
void endWindowSystemUse() {}

Window* createWindow(CFrame* frame, void* parentWindow, const CRect& size) {
  if (!frame || size.isEmpty() || size.getWidth() > 0xffff || size.getHeight() > 0xffff) return nullptr;
  const auto parent = static_cast<xcb_window_t>(reinterpret_cast<uintptr_t>(parentWindow));
  xcb_connection_t* c = connectToDisplay();
  if (xcb_connection_has_error(c)) {
    xcb_disconnect(c);
    return nullptr;
  }
  // A parent that does not exist answers no geometry: no window, nothing drawn.
  Reply<xcb_get_geometry_reply_t> geometry(xcb_get_geometry_reply(c, xcb_get_geometry(c, parent), nullptr));
  Reply<xcb_get_window_attributes_reply_t> attributes(
      xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, parent), nullptr));
  xcb_visualtype_t* visual = attributes ? findVisual(c, attributes->visual) : nullptr;
  const xcb_window_t id = visual && geometry ? createChild(c, parent, geometry->depth, visual->visual_id, size) : 0;
  if (!id) {
    xcb_disconnect(c);
    return nullptr;
  }
  auto* w = new Window;
  w->frame = frame;
  w->connection = c;
  w->window = id;
  w->parent = parent;
  w->width = size.getWidth();
  w->height = size.getHeight();
  w->surface = cairo_xcb_surface_create(c, id, visual, w->width, w->height);
  w->invalid = cairo_region_create();
  const cairo_rectangle_int_t all = {0, 0, w->width, w->height};
  cairo_region_union_rectangle(w->invalid, &all);
  xcb_map_window(c, id);
  xcb_flush(c);
  return w;
}

void destroyWindow(Window* w) {
  if (!w) return;
  dropPending(w);
  if (w->surface) {
    // cairo keeps a device per connection; it must let go before the connection closes.
    cairo_device_t* device = cairo_device_reference(cairo_surface_get_device(w->surface));
    cairo_surface_finish(w->surface);
    cairo_surface_destroy(w->surface);
    if (device) {
      cairo_device_finish(device);
      cairo_device_destroy(device);
    }
  }
  xcb_connection_t* c = w->connection;
  if (!w->gone) xcb_destroy_window(c, w->window);
  for (xcb_cursor_t cursor : w->cursors)
    if (cursor) xcb_free_cursor(c, cursor);
  if (w->cursorFont) xcb_close_font(c, w->cursorFont);
  xcb_flush(c);
  xcb_disconnect(c);
  cairo_region_destroy(w->invalid);
  delete w;
}

void* nativeHandle(Window* w) { return w ? reinterpret_cast<void*>(static_cast<uintptr_t>(w->window)) : nullptr; }

void invalidateRect(Window* w, const CRect& rect) {
  if (!w || w->gone) return;
  const cairo_rectangle_int_t r = {rect.left, rect.top, rect.getWidth(), rect.getHeight()};
  cairo_region_union_rectangle(w->invalid, &r);
}

void dispatchEvents(Window* w) {
  if (!w || w->dispatching) return;
  w->dispatching = true;
  // Read everything first: consecutive pointer motions then collapse into the last.
  while (xcb_generic_event_t* e = xcb_poll_for_event(w->connection)) w->pending.push_back(e);
  const std::size_t n = w->pending.size();
  for (std::size_t i = 0; i < n; ++i) {
    const xcb_generic_event_t* e = w->pending[i];
    const bool motion = (e->response_type & 0x7f) == XCB_MOTION_NOTIFY;
    if (motion && i + 1 < n && (w->pending[i + 1]->response_type & 0x7f) == XCB_MOTION_NOTIFY) continue;
    x11::translateEvent(w, e);
  }
  dropPending(w);
  // A server that went away is a window that went away.
  if (!w->gone && xcb_connection_has_error(w->connection)) {
    w->gone = true;
    w->frame->windowDestroyed();
  }
  w->dispatching = false;
}

void flushPaint(Window* w) {
  if (!w || w->gone || cairo_region_is_empty(w->invalid)) return;
  cairo_region_t* area = w->invalid;
  w->invalid = cairo_region_create();
  const int count = cairo_region_num_rectangles(area);
  for (int i = 0; i < count; ++i) {
    cairo_rectangle_int_t r;
    cairo_region_get_rectangle(area, i, &r);
    w->frame->paint(w->surface, CRect(r.x, r.y, r.x + r.width, r.y + r.height));
  }
  cairo_region_destroy(area);
  cairo_surface_flush(w->surface);
  xcb_flush(w->connection);
}

void paintNow(Window* w) { flushPaint(w); }

bool wantsBackBuffer() { return true; }

void captureMouse(Window*) {}  // the server's implicit grab between press and release
void releaseMouse(Window*) {}
void trackMouseLeave(Window*) {}  // leave events are always selected

CPoint mouseLocation(Window* w) {
  if (!w || w->gone) return CPoint();
  Reply<xcb_query_pointer_reply_t> p(xcb_query_pointer_reply(w->connection, xcb_query_pointer(w->connection, w->window), nullptr));
  return p ? CPoint(p->win_x, p->win_y) : CPoint();
}

MouseButtons mouseButtons(Window* w) {
  if (!w || w->gone) return 0;
  Reply<xcb_query_pointer_reply_t> p(xcb_query_pointer_reply(w->connection, xcb_query_pointer(w->connection, w->window), nullptr));
  return p ? x11::buttonsFromState(p->mask) | x11::modifiersFromState(p->mask) | w->extraButtons : 0;
}

void setCursor(Window* w, CursorShape shape) {
  if (!w || w->gone || shape == w->cursor) return;
  const uint16_t glyph = cursorGlyph(shape);
  const auto slot = static_cast<std::size_t>(shape);
  uint32_t cursor = XCB_CURSOR_NONE;
  if (glyph != 0xffff && slot < sizeof w->cursors / sizeof w->cursors[0]) {
    if (!w->cursorFont) {
      w->cursorFont = xcb_generate_id(w->connection);
      xcb_open_font(w->connection, w->cursorFont, 6, "cursor");
    }
    if (!w->cursors[slot]) {
      w->cursors[slot] = xcb_generate_id(w->connection);
      xcb_create_glyph_cursor(w->connection, w->cursors[slot], w->cursorFont, w->cursorFont, glyph, glyph + 1, 0,
                              0, 0, 0xffff, 0xffff, 0xffff);
    }
    cursor = w->cursors[slot];
  }
  xcb_change_window_attributes(w->connection, w->window, XCB_CW_CURSOR, &cursor);
  xcb_flush(w->connection);
  w->cursor = shape;
}

bool registerDropTarget(Window*) { return false; }  // no view accepts drops
void revokeDropTarget(Window*) {}

CPoint editorPosition(Window* w) {
  if (!w || w->gone) return CPoint();
  Reply<xcb_get_geometry_reply_t> g(xcb_get_geometry_reply(w->connection, xcb_get_geometry(w->connection, w->parent), nullptr));
  return g ? CPoint(g->x, g->y) : CPoint();
}

CRect parentRect(Window* w) {
  if (!w || w->gone) return CRect();
  Reply<xcb_get_geometry_reply_t> g(xcb_get_geometry_reply(w->connection, xcb_get_geometry(w->connection, w->parent), nullptr));
  return g ? CRect(g->x, g->y, g->x + g->width, g->y + g->height) : CRect();
}

bool resize(Window* w, int32_t width, int32_t height) {
  if (!w || w->gone || width <= 0 || height <= 0 || width > 0xffff || height > 0xffff) return false;
  const uint32_t size[] = {static_cast<uint32_t>(width), static_cast<uint32_t>(height)};
  const uint16_t mask = XCB_CONFIG_WINDOW_WIDTH | XCB_CONFIG_WINDOW_HEIGHT;
  xcb_configure_window(w->connection, w->window, mask, size);
  xcb_configure_window(w->connection, w->parent, mask, size);
  cairo_xcb_surface_set_size(w->surface, width, height);
  w->width = width;
  w->height = height;
  xcb_flush(w->connection);
  return true;
}

std::optional<double> systemScale(void* /*parentWindow*/) {
  int screenNumber = 0;
  xcb_connection_t* c = connectToDisplay(&screenNumber);
  std::optional<double> scale;
  if (!xcb_connection_has_error(c)) {
    auto screens = xcb_setup_roots_iterator(xcb_get_setup(c));
    for (int i = 0; i < screenNumber && screens.rem; ++i) xcb_screen_next(&screens);
    if (screens.rem) {
      // Desktops keep their settings, Xft.dpi among them, on the root window.
      const auto cookie = xcb_get_property(c, 0, screens.data->root, XCB_ATOM_RESOURCE_MANAGER, XCB_ATOM_STRING, 0,
                                           1u << 20);
      Reply<xcb_get_property_reply_t> reply(xcb_get_property_reply(c, cookie, nullptr));
      if (reply && reply->format == 8) {
        const std::string_view text(static_cast<const char*>(xcb_get_property_value(reply.p)),
                                    static_cast<std::size_t>(xcb_get_property_value_length(reply.p)));
        if (const std::optional<double> dpi = scaling::dpiFromResources(text)) scale = scaling::fromDpi(*dpi);
      }
    }
  }
  xcb_disconnect(c);
  return scale;
}

}  // namespace platform
}  // namespace Toolkit
