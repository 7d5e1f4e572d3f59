// Parameters change on another thread while blocks run, and a third thread reads
// the published values as the editor and the display would. Meant to run clean
// under ThreadSanitizer; natively it checks the output stays finite.
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <thread>
#include <vector>

#include "plugin/engine/gate_engine.h"
#include "tests/plugin/engine/effect_fixture.h"
#include "tests/plugin/engine/engine_harness.h"

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

// The same through the effect: host automation on one thread (every editing
// rule and the normalisation pass), display texts and the editor's published
// values on another, blocks on the audio thread.
TEST(Threads, EffectAutomationDisplayAndBlocks) {
  Zendrel effect(quietHost);
  setRate(effect, 48000.0);
  std::atomic<bool> stop{false};
  std::thread automation([&] {
    Rng rng(21);
    while (!stop.load(std::memory_order_relaxed)) {
      const int k = rng.below(32);
      switch (rng.below(6)) {
        case 0: effect.setParameter(zendrel::kGate + k, rng.unit()); break;
        case 1: effect.setParameter(zendrel::kAttack + k, rng.unit()); break;
        case 2: effect.setParameter(zendrel::kMerge + k, rng.chance(50) ? 1.0f : 0.0f); break;
        case 3: effect.setParameter(zendrel::kNlfIncrement + k, 1.0f); break;
        case 4: effect.setParameter(zendrel::kSfDecrement, 1.0f); break;
        default: effect.setParameter(zendrel::kNumOfSteps, rng.unit()); break;
      }
    }
  });
  std::thread display([&] {
    char text[64];
    double sink = 0;
    for (unsigned n = 0; !stop.load(std::memory_order_relaxed); ++n) {
      effect.getParameterDisplay(zendrel::kNumOfSteps, text);
      effect.getParameterDisplay(zendrel::kStepLength, text);
      effect.getParameterDisplay(zendrel::kNoteLength + static_cast<int>(n & 31u), text);
      sink += effect.gateEngine().patternPosition() + effect.gateEngine().stepStart(static_cast<int>(n % 33u));
    }
    EXPECT_FALSE(std::isnan(sink));
  });
  std::vector<float> l(1024), r(1024);
  Rng rng(8);
  bool finite = true;
  hostTime() = makeTime(128.0, 0.0, true);
  for (int block = 0; block < 3000; ++block) {
    fillSignal(rng, l.data(), r.data(), 1024);
    float* io[2] = {l.data(), r.data()};
    const int frames = 1 + (block * 37) % 1024;
    effect.processReplacing(io, io, frames);
    for (int i = 0; i < frames; ++i) finite = finite && std::isfinite(l[i]) && std::isfinite(r[i]);
    hostTime().samplePos += frames;
  }
  stop = true;
  automation.join();
  display.join();
  EXPECT_TRUE(finite);
}
