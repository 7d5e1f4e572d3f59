// X11 events of an editor's window, turned into the frame's calls. Linux hosts
// run no event loop for the plug-in: the frame's idle drains the connection and
// passes every event through translateEvent.
#include "toolkit/frame.h"
#include "toolkit/platform/x11/x11_window.h"

namespace Toolkit {
namespace platform {
namespace x11 {

namespace {

// The frame works in logical pixels; events carry the window's device pixels.
CPoint pointOf(const Window* w, int16_t x, int16_t y) { return w->frame->toLogical(CPoint(x, y)); }

void onExpose(Window* w, const xcb_expose_event_t* e) {
  const cairo_rectangle_int_t r = {e->x, e->y, e->width, e->height};
  cairo_region_union_rectangle(w->invalid, &r);
}

void onWheelButton(Window* w, const xcb_button_press_event_t* e) {
  const int32_t axis = (e->detail == kWheelUp || e->detail == kWheelDown) ? kMouseWheelAxisY : kMouseWheelAxisX;
  w->frame->onWheelAxis(pointOf(w, e->event_x, e->event_y), axis, wheelDistance(e->detail), modifiersFromState(e->state));
}

void onButtonPress(Window* w, const xcb_button_press_event_t* e) {
  if (isWheelButton(e->detail)) {
    onWheelButton(w, e);
    return;
  }
  const MouseButtons flag = buttonFlag(e->detail);
  if (!flag) return;
  w->extraButtons |= flag & (kExtraButton1 | kExtraButton2);
  MouseButtons buttons = buttonsFromState(e->state) | modifiersFromState(e->state) | w->extraButtons | flag;
  if (w->clicks.press(e->detail, e->time, e->event_x, e->event_y)) buttons |= kDoubleClick;
  // The server grabs the pointer for us until the release: that is the capture.
  w->frame->onMouseDown(pointOf(w, e->event_x, e->event_y), buttons);
}

void onButtonRelease(Window* w, const xcb_button_release_event_t* e) {
  const MouseButtons flag = buttonFlag(e->detail);
  if (!flag) return;
  w->extraButtons &= ~flag;
  // The state still holds the released button; the frame wants what is held after it.
  const MouseButtons buttons =
      (buttonsFromState(e->state) & ~flag) | modifiersFromState(e->state) | w->extraButtons;
  w->frame->onMouseUp(pointOf(w, e->event_x, e->event_y), buttons);
}

void onMotion(Window* w, const xcb_motion_notify_event_t* e) {
  const MouseButtons buttons = buttonsFromState(e->state) | modifiersFromState(e->state) | w->extraButtons;
  w->frame->onMouseMoved(pointOf(w, e->event_x, e->event_y), buttons);
}

void onLeave(Window* w, const xcb_leave_notify_event_t* e) {
  // Leaving into a child window or because of a grab is no leave for the frame.
  if (e->mode != XCB_NOTIFY_MODE_NORMAL || e->detail == XCB_NOTIFY_DETAIL_INFERIOR) return;
  const MouseButtons buttons = buttonsFromState(e->state) | modifiersFromState(e->state) | w->extraButtons;
  w->frame->onMouseExited(pointOf(w, e->event_x, e->event_y), buttons);
}

void onDestroy(Window* w, const xcb_destroy_notify_event_t* e) {
  if (e->window != w->window) return;
  w->gone = true;
  w->frame->windowDestroyed();
}

}  // namespace

void translateEvent(Window* w, const xcb_generic_event_t* event) {
  switch (event->response_type & 0x7f) {
    case XCB_EXPOSE:
      onExpose(w, reinterpret_cast<const xcb_expose_event_t*>(event));
      break;
    case XCB_BUTTON_PRESS:
      onButtonPress(w, reinterpret_cast<const xcb_button_press_event_t*>(event));
      break;
    case XCB_BUTTON_RELEASE:
      onButtonRelease(w, reinterpret_cast<const xcb_button_release_event_t*>(event));
      break;
    case XCB_MOTION_NOTIFY:
      onMotion(w, reinterpret_cast<const xcb_motion_notify_event_t*>(event));
      break;
    case XCB_LEAVE_NOTIFY:
      onLeave(w, reinterpret_cast<const xcb_leave_notify_event_t*>(event));
      break;
    case XCB_DESTROY_NOTIFY:
      onDestroy(w, reinterpret_cast<const xcb_destroy_notify_event_t*>(event));
      break;
    default:
      // Errors (requests on a window the host destroyed) and everything else
      // cost nothing but being read.
      break;
  }
}

}  // namespace x11
}  // namespace platform
}  // namespace Toolkit
