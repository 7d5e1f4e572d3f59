// The engine's measured behaviour: worked numbers of the clock and envelope, and
// the rules for what the host can get wrong.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "plugin/engine/gate_engine.h"
#include "tests/plugin/engine/engine_harness.h"

using namespace zendrel::test;
using zendrel::GateEngine;

namespace {

// Runs frames of constant input 1.0 and returns each sample's gain (double).
struct Probe {
  GateEngine engine;
  Params params;
  std::vector<float> l, r;
  std::vector<double> gains;

  explicit Probe(double rate = 44100.0) { engine.setSampleRate(rate); }

  const std::vector<double>& run(const VstTimeInfo* t, int frames) {
    const size_t n = static_cast<size_t>(frames > 0 ? frames : 0);
    l.assign(n, 1.0f);
    r.assign(n, 1.0f);
    gains.assign(n, -1.0);
    float* io[2] = {l.data(), r.data()};
    engine.traceGains(gains.data());
    engine.processBlock(t, params.v, io, io, frames);
    engine.traceGains(nullptr);
    return gains;
  }
  // Gains of a playing transport from samplePos = start.
  const std::vector<double>& play(double start, int frames, double tempo = 120.0) {
    VstTimeInfo t = makeTime(tempo, start, true);
    return run(&t, frames);
  }
};

}  // namespace

TEST(Clock, DefaultProgramAt120Bpm) {
  Probe p;
  EXPECT_FALSE(p.engine.hasRun());
  EXPECT_EQ(p.engine.stepCount(), 0.0);
  EXPECT_EQ(p.engine.stepLength(), 0.0);
  EXPECT_EQ(p.engine.patternPosition(), 0.0);

  // The last sample of this block sits at song position 200 000.
  p.play(200000.0 - 99, 100);
  EXPECT_TRUE(p.engine.hasRun());
  EXPECT_EQ(p.engine.stepCount(), 32.0);
  EXPECT_EQ(p.engine.stepLength(), 0.0625);
  for (int k = 0; k < 32; ++k) EXPECT_EQ(p.engine.noteLength(k), 0.046875);
  EXPECT_EQ(p.engine.patternPosition(), 23600.0);
  EXPECT_EQ(p.engine.stepStart(1), 5512.5);
  EXPECT_EQ(p.engine.stepStart(32), 176400.0);  // two bars
  EXPECT_LE(p.engine.stepStart(4), 23600.0);
  EXPECT_GT(p.engine.stepStart(5), 23600.0);  // step 5 plays
  EXPECT_EQ(p.engine.noteLength(-1), 0.0);
  EXPECT_EQ(p.engine.stepStart(33), 0.0);
}

TEST(Clock, FreeRunningCounterWrapsAtThePatternLength) {
  Probe p;
  VstTimeInfo stopped = makeTime(120.0, 999.0, false);
  p.run(&stopped, 1);
  EXPECT_EQ(p.engine.patternPosition(), 1.0);  // first sample after creation
  p.run(&stopped, 176398);
  EXPECT_EQ(p.engine.patternPosition(), 176399.0);
  p.run(&stopped, 1);
  EXPECT_EQ(p.engine.patternPosition(), 0.0);
  p.run(&stopped, 1);
  EXPECT_EQ(p.engine.patternPosition(), 1.0);

  // Playing neither resets nor advances it; stopping again resumes from it.
  p.play(5000.0, 700);
  EXPECT_EQ(p.engine.freeRunPosition(), 1);
  p.run(&stopped, 2);
  EXPECT_EQ(p.engine.patternPosition(), 3.0);
}

TEST(Clock, BinsAndOutOfRangeValuesKeepTheLastDerivation) {
  Probe p;
  p.params.set(zendrel::kNumOfSteps, 0.5f);
  p.params.set(zendrel::kStepLength, 0.5f);
  p.play(0, 1);
  EXPECT_EQ(p.engine.stepCount(), 17.0);
  EXPECT_EQ(p.engine.stepLength(), 0.125);
  p.params.set(zendrel::kNumOfSteps, 0.015625f);
  p.params.set(zendrel::kStepLength, 0.923f);
  p.play(0, 1);
  EXPECT_EQ(p.engine.stepCount(), 1.0);
  // The float nearest 0.923 lies just below 0.923 in double: dotted half.
  EXPECT_EQ(p.engine.stepLength(), 0.75);
  p.params.set(zendrel::kStepLength, 0.9615f);
  p.play(0, 1);
  EXPECT_EQ(p.engine.stepLength(), 1.0);
  p.params.set(zendrel::kStepLength, 0.0762f);
  p.params.set(zendrel::kNumOfSteps, 1.0f);
  p.play(0, 0);  // a block of no frames still derives
  EXPECT_EQ(p.engine.stepLength(), 0.0234375);
  EXPECT_EQ(p.engine.stepCount(), 32.0);

  p.params.set(zendrel::kNumOfSteps, 1.5f);
  p.params.set(zendrel::kStepLength, -0.1f);
  p.params.set(zendrel::kNoteLength + 3, std::nanf(""));
  p.play(0, -5);
  EXPECT_EQ(p.engine.stepCount(), 32.0);
  EXPECT_EQ(p.engine.stepLength(), 0.0234375);
  EXPECT_EQ(p.engine.noteLength(3), 0.046875);
}

TEST(Envelope, DefaultStepRampsHoldsAndCloses) {
  Probe p;
  const auto& g = p.play(0.0, 5600);
  EXPECT_EQ(g[0], 0.0);
  EXPECT_DOUBLE_EQ(g[110], 110 / 220.5);
  EXPECT_DOUBLE_EQ(g[220], 220 / 220.5);
  EXPECT_EQ(g[221], 1.0);
  EXPECT_EQ(g[3913], 1.0);  // hold until 3913.875
  EXPECT_DOUBLE_EQ(g[3914], 1.0 - (3914 - 3913.875) / 220.5);
  EXPECT_DOUBLE_EQ(g[4134], 1.0 - (4134 - 3913.875) / 220.5);
  EXPECT_EQ(g[4135], 0.0);  // the note ended at 4134.375
  EXPECT_EQ(g[5512], 0.0);
  EXPECT_DOUBLE_EQ(g[5513], 0.5 / 220.5);  // step 2 starts at 5512.5
  EXPECT_EQ(p.l[221], 1.0f);
  EXPECT_EQ(p.r[4135], 0.0f);
}

TEST(Envelope, TriangleAndFullAttack) {
  Probe p;
  p.params.set(zendrel::kAttack, 0.5f);
  p.params.set(zendrel::kDecay, 0.5f);
  const double peak = 0.5 * 4134.375;
  auto g = p.play(0.0, 4200);
  EXPECT_DOUBLE_EQ(g[2067], 2067 / peak);
  EXPECT_DOUBLE_EQ(g[2068], 1.0 - (2068 - peak) / peak);  // no hold in between
  EXPECT_EQ(g[4135], 0.0);

  p.params.set(zendrel::kAttack, 1.0f);
  p.params.set(zendrel::kDecay, 0.0f);
  g = p.play(0.0, 4200);
  const double attackEnd = 4134.375 - 220.5;
  EXPECT_DOUBLE_EQ(g[3000], 3000 / attackEnd);
  EXPECT_DOUBLE_EQ(g[4000], 1.0 - (4000 - attackEnd) / 220.5);
}

TEST(Envelope, MergeCrossfadesIntoTheNextLevel) {
  Probe p;
  p.params.set(zendrel::kGate + 1, 0.25f);
  p.params.set(zendrel::kNoteLength, 0.3455f);  // note 1 fills its step
  p.params.set(zendrel::kMerge, 1.0f);
  // Half-sample offset puts a sample exactly on the boundary at 5512.5.
  const auto& g = p.play(0.5, 6000);
  const double slope = 0.75 / 441.0;
  EXPECT_EQ(g[5291], 1.0);  // position 5291.5: the crossfade starts at 5292
  EXPECT_DOUBLE_EQ(g[5400], 1.0 - slope * (5400.5 - 5292.0));
  EXPECT_NEAR(g[5401] - g[5400], -slope, 1e-12);
  EXPECT_DOUBLE_EQ(g[5512], 0.625);  // on the boundary, in step 2
  EXPECT_DOUBLE_EQ(g[5511], 1.0 - slope * 219.5);
  EXPECT_DOUBLE_EQ(g[5600], 0.625 - slope * 88.0);
  EXPECT_EQ(g[5733], 0.25);  // 220.5 samples into step 2 it holds
  EXPECT_FLOAT_EQ(p.l[5512], 0.625f);
}

TEST(Envelope, LastStepMergesAcrossTheWrapAndASingleStepNeverCloses) {
  Probe p;
  p.params.set(zendrel::kNumOfSteps, stepsValue(4));
  p.params.set(zendrel::kGate + 0, 0.5f);
  p.params.set(zendrel::kNoteLength + 3, 0.3455f);
  p.params.set(zendrel::kMerge + 3, 1.0f);
  // Pattern of 4 steps: 22 050 samples. Sample 0 of the block sits on a cycle start.
  const auto& g = p.play(22050.0 * 3 - 300, 600);
  EXPECT_DOUBLE_EQ(g[300], 0.75);  // step 1 starts half way through the crossfade
  EXPECT_DOUBLE_EQ(g[299], 1.0 - (0.5 / 441.0) * 219.5);
  EXPECT_NEAR(g[400], 0.75 - (0.5 / 441.0) * 100.0, 1e-12);
  EXPECT_EQ(g[521], 0.5);

  Probe one;
  one.params.set(zendrel::kNumOfSteps, stepsValue(1));
  one.params.set(zendrel::kNoteLength, 0.3455f);
  one.params.set(zendrel::kMerge, 1.0f);
  for (double start : {0.0, 5000.0, 1e6}) {
    for (double v : one.play(start, 12000)) ASSERT_EQ(v, 1.0);
  }
}

TEST(Envelope, LevelsScaleBothChannelsAndChangesActAtTheNextBlock) {
  Probe p;
  p.params.set(zendrel::kGate, 0.5f);
  p.params.set(zendrel::kGate + 1, 0.0f);
  p.play(0.0, 7000);
  EXPECT_EQ(p.l[1000], 0.5f);
  EXPECT_EQ(p.r[1000], 0.5f);
  EXPECT_EQ(p.l[6000], 0.0f);
  p.params.set(zendrel::kGate, 1.0f);
  p.play(7000.0 - 6000.0, 1);  // back in step 1's hold
  EXPECT_EQ(p.l[0], 1.0f);
}

// A merge left on while its note no longer fills the step (note or step length
// set directly) gives that side the plain shape.
TEST(OpenCases, MergeWithoutAFullNoteUsesThePlainShape) {
  Probe merged, plain;
  merged.params.set(zendrel::kMerge, 1.0f);  // note 3/64 in a 1/16 step
  merged.params.set(zendrel::kMerge + 31, 1.0f);
  const std::vector<double> a = merged.play(0.0, 12000);
  const std::vector<double> b = plain.play(0.0, 12000);
  EXPECT_EQ(a, b);
}

TEST(OpenCases, PreRollAndPpqSign) {
  Probe p;
  p.play(-10000.0, 1000);  // before the song: the pattern has not started
  for (double v : p.gains) EXPECT_EQ(v, 0.0);
  EXPECT_LT(p.engine.patternPosition(), 0.0);
  EXPECT_EQ(p.engine.patternPosition(), -9001.0);

  // A negative ppqPos with positions inside step 1 still plays step 1.
  VstTimeInfo t = makeTime(120.0, 1000.0, true, -1.0);
  p.run(&t, 10);
  EXPECT_EQ(p.gains[0], 1.0);
  VstTimeInfo nanPpq = makeTime(120.0, 1000.0, true, std::nan(""));
  p.run(&nanPpq, 10);
  EXPECT_EQ(p.gains[0], 1.0);
}

// No time record, or timing that gives no finite positive pattern length: the
// input passes through, nothing advances, nothing is published; the pattern
// picks up where it was once the host is sane again.
TEST(OpenCases, UnusableTimingPassesThroughAndResumes) {
  const double inf = std::numeric_limits<double>::infinity();
  const double tempos[] = {0.0, -1.0, std::nan(""), inf, -inf, 1e-320};
  for (double tempo : tempos) {
    Probe p;
    VstTimeInfo stopped = makeTime(120.0, 0.0, false);
    p.run(&stopped, 500);
    const double position = p.engine.patternPosition();
    VstTimeInfo bad = makeTime(tempo, 100.0, tempo < 0);
    Rng rng(3);
    std::vector<float> l(300), r(300), ol(300, 9.0f), orr(300, 9.0f);
    fillSignal(rng, l.data(), r.data(), 300);
    float* in[2] = {l.data(), r.data()};
    float* out[2] = {ol.data(), orr.data()};
    p.engine.processBlock(&bad, p.params.v, in, out, 300);
    EXPECT_EQ(ol, l) << "tempo " << tempo;
    EXPECT_EQ(orr, r);
    EXPECT_EQ(p.engine.patternPosition(), position);
    p.engine.processBlock(nullptr, p.params.v, in, out, 300);
    EXPECT_EQ(ol, l);
    EXPECT_EQ(p.engine.freeRunPosition(), 500);
    p.run(&stopped, 1);
    EXPECT_EQ(p.engine.patternPosition(), 501.0);
  }
  for (double rate : {0.0, -48000.0, std::nan(""), inf}) {
    Probe p(rate);
    const auto& g = p.play(1000.0, 64);
    for (double v : g) EXPECT_EQ(v, 1.0) << "rate " << rate;
    EXPECT_EQ(p.engine.patternPosition(), 0.0);
    p.engine.setSampleRate(44100.0);
    p.play(1000.0, 64);
    EXPECT_EQ(p.engine.patternPosition(), 1063.0);
  }
  Probe p;
  VstTimeInfo nanPos = makeTime(120.0, std::nan(""), true);
  for (double v : p.run(&nanPos, 64)) EXPECT_EQ(v, 1.0);
}

TEST(OpenCases, NothingIsWrittenWithoutFramesOrBuffers) {
  Probe p;
  VstTimeInfo t = makeTime(120.0, 0.0, true);
  float l[4] = {7, 7, 7, 7}, r[4] = {7, 7, 7, 7};
  float* io[2] = {l, r};
  float* half[2] = {l, nullptr};
  p.engine.processBlock(&t, p.params.v, io, io, 0);
  p.engine.processBlock(&t, p.params.v, io, io, -4);
  p.engine.processBlock(&t, p.params.v, nullptr, io, 4);
  p.engine.processBlock(&t, p.params.v, io, nullptr, 4);
  p.engine.processBlock(&t, p.params.v, io, half, 4);
  p.engine.processBlock(&t, p.params.v, half, io, 4);
  p.engine.processBlock(&t, nullptr, io, io, 4);
  for (float v : l) EXPECT_EQ(v, 7.0f);
  for (float v : r) EXPECT_EQ(v, 7.0f);
  EXPECT_TRUE(p.engine.hasRun());  // the lengths were still derived
  EXPECT_EQ(p.engine.freeRunPosition(), 0);
}

TEST(OpenCases, ExtremeValuesStayFinite) {
  Probe p;
  p.params.set(zendrel::kGate, 3e38f);
  p.params.set(zendrel::kGate + 1, std::nanf(""));
  p.params.set(zendrel::kAttack + 2, std::numeric_limits<float>::infinity());
  VstTimeInfo t = makeTime(120.0, 0.0, true);
  std::vector<float> l(17000, 1000.0f), r(17000, -1000.0f);
  float* io[2] = {l.data(), r.data()};
  p.engine.processBlock(&t, p.params.v, io, io, 17000);
  for (size_t i = 0; i < l.size(); ++i) {
    ASSERT_TRUE(std::isfinite(l[i]) && std::isfinite(r[i])) << i;
  }
  EXPECT_EQ(l[1000], std::numeric_limits<float>::max());
  EXPECT_EQ(r[1000], -std::numeric_limits<float>::max());
  EXPECT_EQ(l[6000], 0.0f);  // a level that is not a number closes the gate

  for (double pos : {1e15, 1e300, -1e300}) {
    const auto& g = p.play(pos, 256);
    for (double v : g) ASSERT_TRUE(std::isfinite(v)) << pos;
  }
}
