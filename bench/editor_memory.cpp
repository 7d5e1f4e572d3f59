// Resources over many editor lifetimes, in real windows (on Linux on the
// display in DISPLAY: start one with cmake/with-display.sh; the Windows build
// runs under Wine): 1,000 open/idle/close cycles of the built module's editor,
// or of the module given, then 16 instances with their editors open at once.
// Prints what the process holds before and after; nothing passes or fails.
//   zendrel_editor_memory [CYCLES] [MODULE]
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "host/lib/host.h"
#include "host/lib/host_window.h"

namespace {

using zendrel::host::HostWindow;

// A host window on the screen, where the editor is drawn as a user would see it.
std::unique_ptr<HostWindow> makeWindow(std::string& error) {
  HostWindow::Options options;
  options.width = 900;
  options.height = 550;
  options.place = HostWindow::Place::kAt;
  options.x = 40;
  options.y = 30;
  return HostWindow::create(options, error);
}

void print(const char* when, const zendrel::host::ProcessResources& r, int32_t windows) {
  std::printf("  %-34s handles %4ld  resident %7ld kB  child windows %d\n", when, r.handles, r.residentKb, windows);
}

}  // namespace

int main(int argc, char** argv) {
  const int cycles = argc > 1 ? std::atoi(argv[1]) : 1000;
  const char* module = argc > 2 ? argv[2] : ZENDREL_MODULE_PATH;
  std::string error;
  auto window = makeWindow(error);
  if (!window) {
    std::fprintf(stderr, "editor_memory: %s\n", error.c_str());
    return 1;
  }
  zendrel::host::Host host;
  if (!host.load(module)) {
    std::fprintf(stderr, "editor_memory: %s\n", host.error().c_str());
    return 1;
  }
  auto idle = [&] { host.dispatch(effEditIdle); };
  auto cycle = [&] {
    host.dispatch(effEditOpen, 0, 0, window->handle());
    window->pump();
    idle();
    host.dispatch(effEditClose);
  };
  std::printf("Editor open/idle/close cycles in a real window:\n");
  for (int i = 0; i < 20; ++i) cycle();
  const auto before = zendrel::host::processResources();
  print("after 20 cycles", before, window->childWindowCount());
  for (int i = 0; i < cycles; ++i) cycle();
  const auto after = zendrel::host::processResources();
  print(("after " + std::to_string(cycles + 20) + " cycles").c_str(), after, window->childWindowCount());
  std::printf("  growth: %ld handles, %ld kB\n", after.handles - before.handles, after.residentKb - before.residentKb);

  std::printf("16 instances, each with its editor open in its own window:\n");
  {
    std::vector<std::unique_ptr<HostWindow>> windows;
    std::vector<std::unique_ptr<zendrel::host::Host>> hosts;
    for (int i = 0; i < 16; ++i) {
      windows.push_back(makeWindow(error));
      if (!windows.back()) {
        std::fprintf(stderr, "editor_memory: %s\n", error.c_str());
        return 1;
      }
      hosts.push_back(std::make_unique<zendrel::host::Host>());
      hosts.back()->load(module);
      hosts.back()->dispatch(effEditOpen, 0, 0, windows.back()->handle());
    }
    for (int round = 0; round < 10; ++round)
      for (auto& h : hosts) h->dispatch(effEditIdle);
    int32_t children = 0;
    for (auto& w : windows) children += w->childWindowCount();
    print("16 editors open", zendrel::host::processResources(), children);
    for (auto& h : hosts) h->dispatch(effEditClose);
  }
  // The allocator keeps freed pages for later; hand them back to see what is still held.
  zendrel::host::returnFreedMemory();
  print("all 16 closed and unloaded", zendrel::host::processResources(), window->childWindowCount());
  return 0;
}
