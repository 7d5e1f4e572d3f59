// A parent window for a plug-in's editor, as a host gives one: on Linux an X11
// window made through xcb when a display is there, on Windows a plain
// top-level window; otherwise none, and editors are opened with null.
#pragma once

namespace zvalidate {

class Instance;

class ParentWindow {
 public:
  ParentWindow(int width, int height);
  ~ParentWindow();
  ParentWindow(const ParentWindow&) = delete;
  ParentWindow& operator=(const ParentWindow&) = delete;

  // What effEditOpen receives: the X11 window id or the HWND, or null.
  void* handle() const { return handle_; }
  const char* kind() const;
  // Handles what is pending for the window, as a host's event loop would.
  void pump();

 private:
  void* handle_ = nullptr;
  [[maybe_unused]] void* connection_ = nullptr;
};

// One editor session as a host runs it: getRect, open on the parent, `idles`
// idle calls with the parent's events handled between them, close. False when
// the editor refused to open (then nothing else is sent).
bool editorSession(Instance& a, ParentWindow& parent, int idles);

}  // namespace zvalidate
