// Resources over many editor lifetimes, in real windows on the display in
// DISPLAY (start one with cmake/with-display.sh): 1,000 open/idle/close cycles
// of the built module's editor, then 16 instances with their editors open at
// once. Prints what the process holds before and after; nothing passes or fails.
#include <malloc.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "host/lib/host.h"
#include "tests/toolkit/window_test_host.h"

using zendrel_test::TestWindowHost;

namespace {

void print(const char* when, const TestWindowHost::Resources& r, int32_t windows) {
  std::printf("  %-34s handles %4ld  resident %7ld kB  child windows %d\n", when, r.handles, r.residentKb, windows);
}

}  // namespace

int main(int argc, char** argv) {
  const int cycles = argc > 1 ? std::atoi(argv[1]) : 1000;
  std::string error;
  auto window = TestWindowHost::create(900, 550, error);
  if (!window) {
    std::fprintf(stderr, "editor_memory: %s\n", error.c_str());
    return 1;
  }
  zhost::Host host;
  if (!host.load(ZENDREL_MODULE_PATH)) {
    std::fprintf(stderr, "editor_memory: %s\n", host.error().c_str());
    return 1;
  }
  auto idle = [&] { host.dispatch(effEditIdle); };
  auto cycle = [&] {
    host.dispatch(effEditOpen, 0, 0, window->parentHandle());
    zendrel_test::pumpFor(*window, idle, 1);
    host.dispatch(effEditClose);
  };
  std::printf("Editor open/idle/close cycles in a real window:\n");
  for (int i = 0; i < 20; ++i) cycle();
  const auto before = window->processResources();
  print("after 20 cycles", before, window->countChildWindows());
  for (int i = 0; i < cycles; ++i) cycle();
  const auto after = window->processResources();
  print(("after " + std::to_string(cycles + 20) + " cycles").c_str(), after, window->countChildWindows());
  std::printf("  growth: %ld handles, %ld kB\n", after.handles - before.handles, after.residentKb - before.residentKb);

  std::printf("16 instances, each with its editor open in its own window:\n");
  {
    std::vector<std::unique_ptr<TestWindowHost>> windows;
    std::vector<std::unique_ptr<zhost::Host>> hosts;
    for (int i = 0; i < 16; ++i) {
      windows.push_back(TestWindowHost::create(900, 550, error));
      hosts.push_back(std::make_unique<zhost::Host>());
      hosts.back()->load(ZENDREL_MODULE_PATH);
      hosts.back()->dispatch(effEditOpen, 0, 0, windows.back()->parentHandle());
    }
    for (int round = 0; round < 10; ++round)
      for (auto& h : hosts) h->dispatch(effEditIdle);
    int32_t children = 0;
    for (auto& w : windows) children += w->countChildWindows();
    print("16 editors open", window->processResources(), children);
    for (auto& h : hosts) h->dispatch(effEditClose);
  }
  // The allocator keeps freed pages for later; hand them back to see what is still held.
  malloc_trim(0);
  print("all 16 closed and unloaded", window->processResources(), window->countChildWindows());
  return 0;
}
