// Frames per second of the gate engine, of the literal per-sample reference and
// of a bare loop that multiplies both channels by one constant gain, then the
// ratios between them.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "plugin/engine/gate_engine.h"
#include "tests/plugin/engine/engine_harness.h"
#include "tests/plugin/engine/reference/reference_engine.h"

using namespace zendrel::test;

namespace {

constexpr int kBlock = 512;

// A busy pattern: varied levels, attacks and decays, two merges, 16 steps.
void busyPattern(Params& p) {
  p.setDefaults();
  p.set(zendrel::kNumOfSteps, stepsValue(16));
  p.set(zendrel::kStepLength, noteValue(4));
  Rng rng(42);
  for (int k = 0; k < 32; ++k) {
    p.set(zendrel::kGate + k, 0.2f + 0.8f * rng.unit());
    p.set(zendrel::kNoteLength + k, noteValue(rng.below(5)));
    p.set(zendrel::kAttack + k, 0.3f * rng.unit());
    p.set(zendrel::kDecay + k, 0.5f * rng.unit());
  }
  for (int k : {3, 11}) {
    p.set(zendrel::kNoteLength + k, noteValue(4));
    p.set(zendrel::kMerge + k, 1.0f);
  }
}

struct Buffers {
  std::vector<float> in[2], out[2];
  float* pin[2];
  float* pout[2];
  Buffers() {
    Rng rng(1);
    for (int c = 0; c < 2; ++c) {
      in[c].resize(kBlock);
      out[c].resize(kBlock);
    }
    fillSignal(rng, in[0].data(), in[1].data(), kBlock);
    for (int c = 0; c < 2; ++c) {
      pin[c] = in[c].data();
      pout[c] = out[c].data();
    }
  }
};

template <class Engine, class Process>
void runBlocks(benchmark::State& state, bool busy, bool playing, Process process) {
  Engine engine;
  engine.setSampleRate(44100.0);
  Params params;
  if (busy) busyPattern(params);
  Buffers b;
  double pos = 0;
  for (auto _ : state) {
    VstTimeInfo t = makeTime(128.5, pos, playing);
    process(engine, &t, params, b);
    benchmark::DoNotOptimize(b.out[0].data());
    benchmark::ClobberMemory();
    pos += kBlock;
  }
  state.SetItemsProcessed(state.iterations() * kBlock);
}

void engineProcess(zendrel::GateEngine& e, const VstTimeInfo* t, Params& p, Buffers& b) {
  e.processBlock(t, p.v, b.pin, b.pout, kBlock);
}
void referenceProcess(ReferenceEngine& e, const VstTimeInfo* t, Params& p, Buffers& b) {
  e.processReplacing(t, p.v, b.pin, b.pout, kBlock);
}

void BM_Engine_Default_Playing(benchmark::State& s) { runBlocks<zendrel::GateEngine>(s, false, true, engineProcess); }
void BM_Engine_Busy_Playing(benchmark::State& s) { runBlocks<zendrel::GateEngine>(s, true, true, engineProcess); }
void BM_Engine_Busy_Stopped(benchmark::State& s) { runBlocks<zendrel::GateEngine>(s, true, false, engineProcess); }
void BM_Reference_Default_Playing(benchmark::State& s) { runBlocks<ReferenceEngine>(s, false, true, referenceProcess); }
void BM_Reference_Busy_Playing(benchmark::State& s) { runBlocks<ReferenceEngine>(s, true, true, referenceProcess); }
void BM_Reference_Busy_Stopped(benchmark::State& s) { runBlocks<ReferenceEngine>(s, true, false, referenceProcess); }

// The floor: both channels times one gain, with the engine's product rule
// (widen, multiply in double, round to float) and with a plain float multiply.
void BM_BareGain_Double(benchmark::State& state) {
  Buffers b;
  volatile double gainSource = 0.75;
  for (auto _ : state) {
    const double g = gainSource;
    for (int i = 0; i < kBlock; ++i) b.pout[0][i] = static_cast<float>(g * static_cast<double>(b.pin[0][i]));
    for (int i = 0; i < kBlock; ++i) b.pout[1][i] = static_cast<float>(g * static_cast<double>(b.pin[1][i]));
    benchmark::DoNotOptimize(b.out[0].data());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * kBlock);
}
void BM_BareGain_Float(benchmark::State& state) {
  Buffers b;
  volatile float gainSource = 0.75f;
  for (auto _ : state) {
    const float g = gainSource;
    for (int i = 0; i < kBlock; ++i) b.pout[0][i] = g * b.pin[0][i];
    for (int i = 0; i < kBlock; ++i) b.pout[1][i] = g * b.pin[1][i];
    benchmark::DoNotOptimize(b.out[0].data());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * kBlock);
}

BENCHMARK(BM_Engine_Default_Playing);
BENCHMARK(BM_Engine_Busy_Playing);
BENCHMARK(BM_Engine_Busy_Stopped);
BENCHMARK(BM_Reference_Default_Playing);
BENCHMARK(BM_Reference_Busy_Playing);
BENCHMARK(BM_Reference_Busy_Stopped);
BENCHMARK(BM_BareGain_Double);
BENCHMARK(BM_BareGain_Float);

// Keeps every benchmark's frames per second for the summary: the median when
// it ran with repetitions (--benchmark_repetitions=N), otherwise its one run.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  std::map<std::string, double> framesPerSecond;
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& r : runs) {
      if (r.run_type == Run::RT_Aggregate && r.aggregate_name != "median") continue;
      auto it = r.counters.find("items_per_second");
      if (it != r.counters.end()) framesPerSecond[r.run_name.function_name] = it->second.value;
    }
  }
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  auto& f = reporter.framesPerSecond;
  // target 0: shown for scale only.
  auto ratio = [&](const char* a, const char* b, double target = 0.0) {
    if (!f.count(a) || !f.count(b) || f[b] == 0) return;
    const double r = f[a] / f[b];
    const char* verdict = target == 0.0 ? "" : r >= target ? "  (target met)" : "  (BELOW TARGET)";
    std::printf("  %-30s / %-30s = %8.2f%s\n", a, b, r, verdict);
  };
  std::printf(
      "\nRatios of frames per second. Targets: engine >= 20x the reference; engine >= 0.5x the bit-exact\n"
      "floor, BareGain_Double, which forms the product as the engine must (widen, multiply in double,\n"
      "round); engine >= 0.1x BareGain_Float, a plain float multiply.\n");
  ratio("BM_Engine_Default_Playing", "BM_Reference_Default_Playing", 20.0);
  ratio("BM_Engine_Busy_Playing", "BM_Reference_Busy_Playing", 20.0);
  ratio("BM_Engine_Busy_Stopped", "BM_Reference_Busy_Stopped", 20.0);
  ratio("BM_Engine_Default_Playing", "BM_BareGain_Double", 0.5);
  ratio("BM_Engine_Busy_Playing", "BM_BareGain_Double", 0.5);
  ratio("BM_Engine_Busy_Stopped", "BM_BareGain_Double", 0.5);
  ratio("BM_Engine_Default_Playing", "BM_BareGain_Float", 0.1);
  ratio("BM_Engine_Busy_Playing", "BM_BareGain_Float", 0.1);
  ratio("BM_Engine_Busy_Stopped", "BM_BareGain_Float", 0.1);
  benchmark::Shutdown();
  return 0;
}
