// A host's window for a plug-in's editor: a top-level window of a given size
// whose handle goes to effEditOpen, its events handled when the host pumps
// them. One implementation per window system (host_window_x11.cpp through
// xcb, host_window_win32.cpp; host_window_headless.cpp where there is none),
// used by zendrel-show, the validator, the real-window tests and the editor
// memory figures.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace zendrel::host {

class HostWindow {
 public:
  enum class Place {
    kDecorated,  // a titled window placed by the window system, that the user can close
    kAt,         // borderless, its client area at (x, y) of the screen, in front with the focus
    kOffScreen,  // borderless beyond the screen's left edge: it takes nobody's clicks
  };
  // How wheel messages reach the editor (Windows; on X11 the server gives the
  // wheel to the window under the pointer and both are the same).
  enum class Wheel {
    // As Windows gives it: to the window under the pointer. Wine gives it to
    // the focus window instead (the host's), so the host's message loop
    // re-addresses those to the child under the pointer.
    kSystem,
    // As hosts that "scroll inactive windows" do: the host's window procedure
    // passes every wheel message it receives on to the child under the pointer.
    kHostForwards,
  };
  struct Options {
    int32_t width = 0;  // the client area
    int32_t height = 0;
    Place place = Place::kDecorated;
    int32_t x = 0;  // kAt only
    int32_t y = 0;
    std::string title;  // kDecorated only
    Wheel wheel = Wheel::kSystem;
  };

  // The window, shown; null with `error` set when there is no display or no
  // window can be made. Windows may be made and pumped on several threads,
  // each pumping its own.
  static std::unique_ptr<HostWindow> create(const Options& options, std::string& error);
  // What the windows are made with: "an X11 window", "a Win32 window" or
  // "no window system".
  static const char* kind();
  virtual ~HostWindow() = default;

  // What effEditOpen receives: the X11 window id or the HWND.
  virtual void* handle() const = 0;
  // Handles what is pending, as a host's event loop does (on Windows every
  // message of the calling thread, the editor's windows' too). False once
  // the user has closed the window or it was destroyed.
  virtual bool pump() = 0;
  // The host destroys its window (before or without closing the editor).
  virtual void destroy() = 0;
  // Native windows that are children of this one now (-1 when it cannot be
  // asked): an editor's leaked windows show up here.
  virtual int32_t childWindowCount() = 0;
  // The size of the first of those (the editor's window); false when there is none.
  virtual bool childWindowSize(int32_t& width, int32_t& height) = 0;

  // What became of wheel messages over the host's children: what a child
  // answered to each one that the host's message loop delivered to it or its
  // window procedure passed on, and how many came back up to the host's
  // window from a child. Always empty where the host does not see the wheel
  // (see wheelPassesThroughHost).
  struct WheelTrace {
    std::vector<intptr_t> answers;
    int32_t returned = 0;
  };
  virtual WheelTrace wheelTrace() const = 0;
  // Whether wheel messages over a child pass through the host's message loop
  // (Win32; on X11 the server gives them to the child's own connection).
  static bool wheelPassesThroughHost();
};

// What the process holds of the system, for leak checks: open handles (file
// descriptors on Linux, where each editor's display connection is one; kernel
// handles on Windows), window-system objects (Windows: GDI and USER objects;
// 0 on X11, where they live in the connection) and resident memory.
struct ProcessResources {
  long handles = 0;
  long windowObjects = 0;
  long residentKb = 0;
};
ProcessResources processResources();

// Whether a window of the options' size can be made on any platform; when not,
// `error` says why.
inline bool sizeIsPossible(const HostWindow::Options& options, std::string& error) {
  if (options.width > 0 && options.height > 0 && options.width <= 32767 && options.height <= 32767) return true;
  error = "a window of " + std::to_string(options.width) + " x " + std::to_string(options.height) +
          " pixels cannot be made (1 to 32767 each way)";
  return false;
}
// Hands the heap pages the allocator keeps for later back to the system, so
// that what the process holds shows what is still in use.
void returnFreedMemory();

}  // namespace zendrel::host
