// The editor's parent: the host library's window, off the screen.
#include "host/validate/editor_window.h"

#include <string>

namespace zendrel::validate {

ParentWindow::ParentWindow(int width, int height) {
  zendrel::host::HostWindow::Options options;
  options.width = width;
  options.height = height;
  // Off the screen: nothing here looks at pixels, and a window lying over
  // another program's on a shared display would take that program's clicks.
  options.place = zendrel::host::HostWindow::Place::kOffScreen;
  options.title = "zendrel-validate";
  std::string error;  // no display: editors are opened with null, and say so
  window_ = zendrel::host::HostWindow::create(options, error);
}

ParentWindow::~ParentWindow() = default;

const char* ParentWindow::kind() const { return window_ ? zendrel::host::HostWindow::kind() : "no window (null)"; }

void ParentWindow::pump() {
  if (window_) window_->pump();
}

}  // namespace zendrel::validate
