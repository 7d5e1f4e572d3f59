// A parent window for a plug-in's editor, as a host gives one: the host
// library's window (X11 or Win32) off the screen when a display is there;
// otherwise none, and editors are opened with null.
#pragma once

#include <memory>

#include "host/lib/host_window.h"

namespace zendrel::validate {

class Instance;

class ParentWindow {
 public:
  ParentWindow(int width, int height);
  ~ParentWindow();
  ParentWindow(const ParentWindow&) = delete;
  ParentWindow& operator=(const ParentWindow&) = delete;

  // What effEditOpen receives: the X11 window id or the HWND, or null.
  void* handle() const { return window_ ? window_->handle() : nullptr; }
  const char* kind() const;
  // Handles what is pending for the window, as a host's event loop would.
  void pump();

 private:
  std::unique_ptr<zendrel::host::HostWindow> window_;
};

// One editor session as a host runs it: getRect, open on the parent, `idles`
// idle calls with the parent's events handled between them, close. False when
// the editor refused to open (then nothing else is sent).
bool editorSession(Instance& a, ParentWindow& parent, int idles);

}  // namespace zendrel::validate
