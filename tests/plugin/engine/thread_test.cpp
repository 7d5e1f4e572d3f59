// Parameters change on another thread while blocks run, and a third thread reads
// the published values as the editor and the display would. Meant to run clean
// under ThreadSanitizer. Whatever the interleaving, every sample a block writes
// is its input times a gain between the lowest and highest gate level written
// (0 and 1 here), and every published value lies on its grid.
#include <gtest/gtest.h>

#include <atomic>
#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <thread>
#include <vector>

#include "plugin/engine/gate_engine.h"
#include "plugin/step_grid.h"
#include "tests/plugin/engine/effect_fixture.h"
#include "tests/plugin/engine/engine_harness.h"

using namespace zendrel::test;

namespace {

// 0, or one of the note values a length is derived to.
bool onNoteGrid(double v) {
  if (v == 0.0) return true;
  for (double fraction : zendrel::kNoteValueFraction)
    if (v == fraction) return true;
  return false;
}

// A display text's value: 0 (nothing derived yet) or one of the note values, to
// the eight characters shown.
bool nearNoteGrid(double v) {
  if (v == 0.0) return true;
  for (double fraction : zendrel::kNoteValueFraction)
    if (std::fabs(v - fraction) < 1e-5) return true;
  return false;
}

// 0 (before the first block), or a whole number of steps from 1 to 32.
bool onStepGrid(double v) { return v == 0.0 || (v >= 1.0 && v <= 32.0 && v == std::floor(v)); }

}  // namespace

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
  std::atomic<long> offGrid{0}, badPosition{0};
  std::thread reader([&] {
    for (unsigned n = 0; !stop.load(std::memory_order_relaxed); ++n) {
      const int k = static_cast<int>(n & 31u);
      if (!onStepGrid(engine.stepCount()) || !onNoteGrid(engine.stepLength()) || !onNoteGrid(engine.noteLength(k)))
        ++offGrid;
      const double position = engine.patternPosition(), start = engine.stepStart(k);
      if (!(position >= 0.0 && position <= DBL_MAX) || !(start >= 0.0 && start <= DBL_MAX)) ++badPosition;
    }
  });

  std::vector<float> l(512), r(512), inL(512), inR(512);
  std::vector<double> gains(512);
  engine.traceGains(gains.data());
  Rng rng(5);
  double pos = 0;
  long wrong = 0, checked = 0;
  for (int block = 0; block < 400; ++block) {
    const int frames = 1 + block % 512;
    fillSignal(rng, inL.data(), inR.data(), frames);
    l = inL;
    r = inR;
    float* io[2] = {l.data(), r.data()};
    VstTimeInfo t = makeTime(133.0, pos, block % 50 < 40);
    engine.processBlock(&t, params.v, io, io, frames);
    for (int i = 0; i < frames; ++i, ++checked) {
      const double g = gains[static_cast<size_t>(i)];
      const bool inRange = g >= 0.0 && g <= 1.0;
      const bool applied = bitsOf(l[static_cast<size_t>(i)]) == bitsOf(static_cast<float>(g * inL[static_cast<size_t>(i)])) &&
                           bitsOf(r[static_cast<size_t>(i)]) == bitsOf(static_cast<float>(g * inR[static_cast<size_t>(i)]));
      if (!inRange || !applied) ++wrong;
    }
    pos += frames;
  }
  stop = true;
  writer.join();
  reader.join();
  EXPECT_EQ(wrong, 0) << "of " << checked << " samples";
  EXPECT_EQ(offGrid.load(), 0);
  EXPECT_EQ(badPosition.load(), 0);
}

// The same through the effect: host automation on one thread (every editing
// rule and the normalisation pass), display texts and the editor's published
// values on another, blocks on the audio thread. Every written sample is at
// most its input in magnitude (gate levels stay within 0 and 1), and every
// display text shows a step count or a note value.
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
  std::atomic<long> badText{0}, badPosition{0};
  std::thread display([&] {
    char text[64];
    for (unsigned n = 0; !stop.load(std::memory_order_relaxed); ++n) {
      effect.getParameterDisplay(zendrel::kNumOfSteps, text);
      if (!onStepGrid(std::strtod(text, nullptr))) ++badText;
      const int index = n % 2 ? zendrel::kStepLength : zendrel::kNoteLength + static_cast<int>(n & 31u);
      effect.getParameterDisplay(index, text);
      if (!nearNoteGrid(std::strtod(text, nullptr))) ++badText;
      const double position = effect.gateEngine().patternPosition();
      const double start = effect.gateEngine().stepStart(static_cast<int>(n % 33u));
      if (!(position >= 0.0 && position <= DBL_MAX) || !(start >= 0.0 && start <= DBL_MAX)) ++badPosition;
    }
  });
  std::vector<float> l(1024), r(1024), inL(1024), inR(1024);
  Rng rng(8);
  long louder = 0;
  hostTime() = makeTime(128.0, 0.0, true);
  for (int block = 0; block < 3000; ++block) {
    const int frames = 1 + (block * 37) % 1024;
    fillSignal(rng, inL.data(), inR.data(), frames);
    l = inL;
    r = inR;
    float* io[2] = {l.data(), r.data()};
    effect.processReplacing(io, io, frames);
    for (size_t i = 0; i < static_cast<size_t>(frames); ++i)
      if (!(std::fabs(l[i]) <= std::fabs(inL[i])) || !(std::fabs(r[i]) <= std::fabs(inR[i]))) ++louder;
    hostTime().samplePos += frames;
  }
  stop = true;
  automation.join();
  display.join();
  EXPECT_EQ(louder, 0);
  EXPECT_EQ(badText.load(), 0);
  EXPECT_EQ(badPosition.load(), 0);
}
