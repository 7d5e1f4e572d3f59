// Parameters change on another thread while blocks run, and a third thread reads
// the published values as the editor and the display would. Meant to run clean
// under ThreadSanitizer; natively it checks the output stays finite.
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <thread>
#include <vector>

#include "plugin/gate_engine.h"
#include "tests/engine/engine_harness.h"

using namespace zendrel_test;

TEST(Threads, EditsAndReadersDuringBlocks) {
  zendrel::GateEngine engine;
  engine.setSampleRate(44100.0);
  Params params;
  std::atomic<bool> stop{false};

  std::thread writer([&] {
    Rng rng(11);
    while (!stop.load(std::memory_order_relaxed)) {
      const int k = rng.below(32);
      params.set(zendrel::kGate + k, rng.unit());
      params.set(zendrel::kAttack + k, rng.unit() * 0.5f);
      params.set(zendrel::kDecay + k, rng.unit() * 0.5f);
      params.set(zendrel::kMerge + k, rng.chance(50) ? 1.0f : 0.0f);
      params.set(zendrel::kNoteLength + k, noteValue(rng.below(5)));
      params.set(zendrel::kNumOfSteps, stepsValue(1 + rng.below(32)));
      params.set(zendrel::kStepLength, noteValue(4 + rng.below(3)));
    }
  });
  std::thread reader([&] {
    double sink = 0;
    for (unsigned n = 0; !stop.load(std::memory_order_relaxed); ++n) {
      sink += engine.patternPosition() + engine.stepStart(static_cast<int>(n & 31u)) + engine.stepCount() +
              engine.stepLength() + engine.noteLength(static_cast<int>(n & 31u)) + (engine.hasRun() ? 1 : 0);
    }
    EXPECT_FALSE(std::isnan(sink));
  });

  std::vector<float> l(512), r(512);
  Rng rng(5);
  double pos = 0;
  bool finite = true;
  for (int block = 0; block < 400; ++block) {
    fillSignal(rng, l.data(), r.data(), 512);
    float* io[2] = {l.data(), r.data()};
    VstTimeInfo t = makeTime(133.0, pos, block % 50 < 40);
    engine.processBlock(&t, params.v, io, io, 1 + block % 512);
    for (int i = 0; i < 512; ++i) finite = finite && std::isfinite(l[i]) && std::isfinite(r[i]);
    pos += 1 + block % 512;
  }
  stop = true;
  writer.join();
  reader.join();
  EXPECT_TRUE(finite);
}
