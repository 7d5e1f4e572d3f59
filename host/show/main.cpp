// zendrel-show: opens a plug-in module's editor in a window of its own, the
// way a host does, and drives it until the window is closed: idle calls about
// thirty times a second and, with --play, audio blocks in real time with the
// transport playing, so the step lights move.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "host/lib/host.h"
#include "host/lib/host_window.h"

namespace {

const char* const kUsage =
    "usage: zendrel-show [--play] [--bpm X] [--seconds S] [MODULE]\n"
    "\n"
    "Opens the plug-in's editor in a window and runs it until the window is closed.\n"
    "  --play       the transport plays (audio blocks in real time): the playing step is lit\n"
    "  --bpm X      tempo while playing (default 120)\n"
    "  --seconds S  close by itself after S seconds\n"
    "MODULE defaults to the Zendrel module built with this tool.\n";

constexpr int kIdleMs = 33;
constexpr double kRate = 44100.0;

int fail(const std::string& message) {
  std::fprintf(stderr, "zendrel-show: %s\n", message.c_str());
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  std::string module = zendrel::host::executableDirectory() + zendrel::host::moduleFileName("zendrel");
#ifdef ZENDREL_BUILT_MODULE
  module = ZENDREL_BUILT_MODULE;
#endif
  bool play = false;
  double bpm = 120.0, seconds = 0.0;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--help") {
      std::fputs(kUsage, stdout);
      return 0;
    } else if (a == "--play") {
      play = true;
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
  ERect* rect = nullptr;
  if (!host.dispatch(effEditGetRect, 0, 0, &rect) || !rect) return fail("the module has no editor");
  std::string error;
  zendrel::host::HostWindow::Options options;
  options.width = rect->right - rect->left;
  options.height = rect->bottom - rect->top;
  options.title = host.effectName() + " (zendrel-show)";
  auto window = zendrel::host::HostWindow::create(options, error);
  if (!window) return fail(error);
  host.setSampleRate(kRate);
  host.setTempo(bpm);
  host.setPlaying(play);
  host.dispatch(effSetSampleRate, 0, 0, nullptr, float(kRate));
  host.dispatch(effMainsChanged, 0, 1);
  if (host.dispatch(effEditOpen, 0, 0, window->handle()) == 0) return fail("the editor did not open");
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
