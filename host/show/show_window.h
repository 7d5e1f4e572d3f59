// A top-level window for the editor, the way a host makes one: one
// implementation per platform (X11 through xcb, Win32).
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace zshow {

class HostWindow {
 public:
  // A window of width × height with the title; null with `error` set when
  // there is no display or no window can be made.
  static std::unique_ptr<HostWindow> create(int32_t width, int32_t height, const std::string& title,
                                            std::string& error);
  virtual ~HostWindow() = default;
  // What the editor's open receives.
  virtual void* handle() const = 0;
  // Handles the window's own events; false once the user has closed it.
  virtual bool pump() = 0;
};

}  // namespace zshow
