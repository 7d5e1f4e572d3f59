// No window system built in: no host window can be made, and editors are
// opened with a null parent by those that can do without one.
#include "host/lib/host_window.h"

namespace zendrel::host {

std::unique_ptr<HostWindow> HostWindow::create(const Options&, std::string& error) {
  error = "this build has no window system (on Linux it needs xcb's development files)";
  return nullptr;
}

const char* HostWindow::kind() { return "no window system"; }

bool HostWindow::wheelPassesThroughHost() { return false; }

ProcessResources processResources() { return {}; }

void returnFreedMemory() {}

}  // namespace zendrel::host
