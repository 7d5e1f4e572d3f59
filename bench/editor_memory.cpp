// Resources over many editor lifetimes, in real windows (on Linux on the
// display in DISPLAY: start one with cmake/with-display.sh; the Windows build
// runs under Wine): 1,000 open/idle/close cycles of the built module's editor,
// or of the module given, then 16 instances with their editors open at once,
// at a display scale when one is given (the content-scale call before each
// editor opens, each window as large as the editor answers).
// Prints what the process holds before and after; nothing passes or fails.
//   zendrel_editor_memory [--scale S] [CYCLES] [MODULE]
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "host/lib/editor_scale.h"
#include "host/lib/host.h"
#include "host/lib/host_window.h"
#include "host/lib/module_path.h"

namespace {

using zendrel::host::HostWindow;

// A host window on the screen, where the editor is drawn as a user would see
// it, as large as the editor says it is once the host has asked for the scale.
std::unique_ptr<HostWindow> makeWindow(zendrel::host::Host& host, double scale, std::string& error) {
  if (scale > 0) zendrel::host::setContentScale(host, float(scale));
  HostWindow::Options options;
  if (!zendrel::host::editorSize(host, options.width, options.height)) {
    error = "the module has no editor";
    return nullptr;
  }
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
  double scale = 0;  // 0: not asked for
  std::vector<const char*> args;
  for (int i = 1; i < argc; ++i) {
    if (std::string(argv[i]) == "--scale") {
      const std::string error = i + 1 < argc ? zendrel::host::parseScale(argv[++i], scale) : "--scale wants a number";
      if (!error.empty()) {
        std::fprintf(stderr, "editor_memory: %s\n", error.c_str());
        return 1;
      }
    } else {
      args.push_back(argv[i]);
    }
  }
  const int cycles = args.size() > 0 ? std::atoi(args[0]) : 1000;
  // The module beside the program when it is not started from its own folder.
  const std::string module = args.size() > 1 ? args[1] : zendrel::host::defaultModulePath(ZENDREL_MODULE_PATH);
  std::string error;
  zendrel::host::Host host;
  if (!host.load(module)) {
    std::fprintf(stderr, "editor_memory: %s\n", host.error().c_str());
    return 1;
  }
  auto window = makeWindow(host, scale, error);
  if (!window) {
    std::fprintf(stderr, "editor_memory: %s\n", error.c_str());
    return 1;
  }
  int32_t width = 0, height = 0;
  zendrel::host::editorSize(host, width, height);
  if (scale > 0)
    std::printf("Editors of %d x %d pixels (display scale %g asked for)\n", width, height, scale);
  else
    std::printf("Editors of %d x %d pixels (no display scale asked for)\n", width, height);
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
      hosts.push_back(std::make_unique<zendrel::host::Host>());
      hosts.back()->load(module);
      windows.push_back(makeWindow(*hosts.back(), scale, error));
      if (!windows.back()) {
        std::fprintf(stderr, "editor_memory: %s\n", error.c_str());
        return 1;
      }
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
