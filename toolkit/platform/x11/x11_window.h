// The X11 window behind a frame, shared by the window files of this folder.
// Each open editor has its own connection: errors come back on it alone, and
// no process-wide handler the host relies on is touched.
#pragma once

#include <cairo.h>
#include <xcb/xcb.h>

#include <vector>

#include "toolkit/platform/x11/x11_input.h"
#include "toolkit/window_seam.h"

namespace Toolkit {
namespace platform {

struct Window {
  CFrame* frame = nullptr;
  xcb_connection_t* connection = nullptr;
  xcb_window_t window = 0;
  xcb_window_t parent = 0;
  int32_t width = 0;
  int32_t height = 0;
  cairo_surface_t* surface = nullptr;  // the window's own, drawn from the back buffer
  cairo_region_t* invalid = nullptr;   // what the next paint covers
  bool gone = false;                   // the host destroyed its window (and ours)
  bool dispatching = false;            // events are being handed to the frame
  std::vector<xcb_generic_event_t*> pending;
  x11::ClickTracker clicks;
  MouseButtons extraButtons = 0;  // held buttons 8 and 9: the state has no bits for them
  xcb_font_t cursorFont = 0;
  xcb_cursor_t cursors[10] = {};
  CursorShape cursor = CursorShape::kDefault;
};

namespace x11 {
// Hands one event of the window's connection to the frame.
void translateEvent(Window* window, const xcb_generic_event_t* event);
}  // namespace x11

}  // namespace platform
}  // namespace Toolkit
