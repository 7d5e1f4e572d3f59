// zendrel-show: opens a plug-in module's editor in a window of its own, the
// way a host does, and drives it until the window is closed: idle calls about
// thirty times a second and, with --play, audio blocks in real time with the
// transport playing, so the step lights move. With --scale it asks for a
// display scale first, as a host does.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "host/lib/editor_scale.h"
#include "host/lib/host.h"
#include "host/lib/host_window.h"

namespace {

const char* const kUsage =
    "usage: zendrel-show [--play] [--bpm X] [--seconds S] [--scale S] [MODULE]\n"
    "\n"
    "Opens the plug-in's editor in a window and runs it until the window is closed.\n"
    "  --play       the transport plays (audio blocks in real time): the playing step is lit\n"
    "  --bpm X      tempo while playing (default 120)\n"
    "  --seconds S  close by itself after S seconds\n"
    "  --scale S    ask for a display scale from 1 to 3 before the editor opens (2: 1800 x 1100)\n"
    "MODULE defaults to the Zendrel module built with this tool.\n";

constexpr int kIdleMs = 33;
constexpr double kRate = 44100.0;

int fail(const std::string& message) {
  std::fprintf(stderr, "zendrel-show: %s\n", message.c_str());
  return 1;
}

// The host's window at the editor's size, and the editor open in it. A module
// may learn its scale only from the window it opens in (the window's DPI):
// when it then asks for another size, the window is made again at that size,
// as hosts do.
std::unique_ptr<zendrel::host::HostWindow> openInWindow(zendrel::host::Host& host, std::string& error) {
  for (int attempt = 0; attempt < 2; ++attempt) {
    zendrel::host::HostWindow::Options options;
    if (!zendrel::host::editorSize(host, options.width, options.height)) {
      error = "the module has no editor";
      return nullptr;
    }
    options.title = host.effectName() + " (zendrel-show)";
    auto window = zendrel::host::HostWindow::create(options, error);
    if (!window) return nullptr;
    if (host.dispatch(effEditOpen, 0, 0, window->handle()) == 0) {
      error = "the editor did not open";
      return nullptr;
    }
    int32_t width = 0, height = 0;
    if (!zendrel::host::editorSize(host, width, height) || (width == options.width && height == options.height) ||
        attempt == 1)
      return window;
    host.dispatch(effEditClose);
  }
  return nullptr;
}

}  // namespace

int main(int argc, char** argv) {
  std::string module = zendrel::host::executableDirectory() + zendrel::host::moduleFileName("zendrel");
#ifdef ZENDREL_BUILT_MODULE
  module = ZENDREL_BUILT_MODULE;
#endif
  bool play = false;
  double bpm = 120.0, seconds = 0.0, scale = 0.0;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--help") {
      std::fputs(kUsage, stdout);
      return 0;
    } else if (a == "--play") {
      play = true;
    } else if (a == "--scale") {
      if (i + 1 == argc) return fail("--scale wants a number from 1 to 3");
      const std::string error = zendrel::host::parseScale(argv[++i], scale);
      if (!error.empty()) return fail(error);
    } else if ((a == "--bpm" || a == "--seconds") && i + 1 < argc) {
      const double v = std::atof(argv[++i]);
      if (!(v > 0)) return fail(a + " wants a positive number");
      (a == "--bpm" ? bpm : seconds) = v;
    } else if (!a.empty() && a[0] != '-') {
      module = a;
    } else {
      return fail("unknown option '" + a + "' (see --help)");
    }
  }
  zendrel::host::Host host;
  if (!host.load(module)) return fail("cannot load '" + module + "': " + host.error());
  host.setSampleRate(kRate);
  host.setTempo(bpm);
  host.setPlaying(play);
  host.dispatch(effSetSampleRate, 0, 0, nullptr, float(kRate));
  host.dispatch(effMainsChanged, 0, 1);
  if (scale > 0 && !zendrel::host::setContentScale(host, float(scale)))
    std::fprintf(stderr, "zendrel-show: note: the module did not take the scale %g\n", scale);
  std::string error;
  auto window = openInWindow(host, error);
  if (!window) return fail(error);
  int32_t width = 0, height = 0;
  zendrel::host::editorSize(host, width, height);
  std::printf("zendrel-show: the editor in a %d x %d window\n", width, height);
  std::fflush(stdout);
  const int block = int(kRate * kIdleMs / 1000);
  std::vector<float> left(block), right(block);
  float* io[] = {left.data(), right.data()};
  const auto start = std::chrono::steady_clock::now();
  while (window->pump()) {
    if (play) host.processReplacing(io, io, block);
    host.dispatch(effEditIdle);
    std::this_thread::sleep_for(std::chrono::milliseconds(kIdleMs));
    if (seconds > 0 && std::chrono::steady_clock::now() - start > std::chrono::duration<double>(seconds)) break;
  }
  host.dispatch(effEditClose);
  return 0;
}
