// Loads the plug-in module the way a host does, runs a fixed set of scenarios
// and writes every output sample (raw 32-bit floats, little-endian) and the
// derived display texts to a file or standard output. The Linux and Windows
// builds must produce the same bytes (scripts/compare-platforms.sh).
//
//   module_scenario_dump [--module PATH] [OUTPUT]
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "host/lib/host.h"
#include "plugin/parameter_ids.h"
#include "tests/module/random_edits.h"
#include "tests/plugin/engine/engine_harness.h"

using namespace zendrel::test;

namespace {

struct Writer {
  std::FILE* f;
  void floats(const float* v, size_t n) { std::fwrite(v, sizeof(float), n, f); }
  void text(const std::string& s) { std::fwrite(s.c_str(), 1, s.size() + 1, f); }
};

void randomEdits(Rng& rng, zendrel::host::Host& host, int count) {
  for (int n = 0; n < count; ++n) randomEdit(rng, host);
}

}  // namespace

int main(int argc, char** argv) {
  std::string module = ZENDREL_MODULE_PATH;
  std::string outPath;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--module") == 0 && i + 1 < argc)
      module = argv[++i];
    else
      outPath = argv[i];
  }
  if (module.empty()) {
    std::fprintf(stderr, "module_scenario_dump: no module given; use --module PATH\n");
    return 2;
  }
  std::FILE* f = stdout;
  if (!outPath.empty()) {
    f = std::fopen(outPath.c_str(), "wb");
    if (!f) {
      std::fprintf(stderr, "module_scenario_dump: cannot write '%s'\n", outPath.c_str());
      return 2;
    }
  } else {
    zendrel::host::setBinaryStdout();
  }
  Writer w{f};

  const double rates[] = {44100.0, 48000.0, 88200.0, 96000.0, 192000.0};
  const int blocks[] = {1, 7, 64, 512, 4096};
  std::vector<float> l(4096), r(4096), ol(4096), orr(4096);
  for (int scenario = 0; scenario < 60; ++scenario) {
    zendrel::host::Host host;
    if (!host.load(module)) {
      std::fprintf(stderr, "module_scenario_dump: %s\n", host.error().c_str());
      return 2;
    }
    Rng rng(500 + scenario);
    const double rate = rates[scenario % 5];
    host.setSampleRate(rate);
    host.dispatch(effSetSampleRate, 0, 0, nullptr, static_cast<float>(rate));
    host.dispatch(effMainsChanged, 0, 1);
    if (scenario % 4 != 0) randomEdits(rng, host, 40);
    const double tempo = scenario % 3 == 0 ? 120.0 : 40.0 + 260.0 * rng.unitDouble();
    host.setTempo(tempo);
    host.setSamplePosition(scenario % 7 == 3 ? -3000.0 : rng.below(1000000));
    host.setPlaying(scenario % 2 == 0);
    for (int block = 0; block < 24; ++block) {
      const int frames = scenario % 6 == 5 ? rng.below(3000) : blocks[scenario % 5];
      if (rng.chance(10)) host.setPlaying(rng.chance(50));
      if (rng.chance(15)) randomEdits(rng, host, 3);
      host.setTimeInfoNull(scenario % 11 == 10 && block % 5 == 2);
      fillSignal(rng, l.data(), r.data(), frames);
      float* in[2] = {l.data(), r.data()};
      float* out[2] = {ol.data(), orr.data()};
      const bool inPlace = scenario % 2 == 1;
      host.processReplacing(in, inPlace ? in : out, frames);
      w.floats(inPlace ? l.data() : ol.data(), static_cast<size_t>(frames));
      w.floats(inPlace ? r.data() : orr.data(), static_cast<size_t>(frames));
    }
    w.text(host.parameterDisplay(zendrel::kNumOfSteps));
    w.text(host.parameterDisplay(zendrel::kStepLength));
    for (int k = 0; k < 32; ++k) w.text(host.parameterDisplay(zendrel::kNoteLength + k));
  }
  if (f != stdout) std::fclose(f);
  return 0;
}
