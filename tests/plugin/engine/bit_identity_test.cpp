// The product engine against the literal per-sample formulation: output bits,
// published position and step starts, and the derived lengths, over many
// patterns, tempos, rates, block sizes, transports and buffer layouts.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <limits>
#include <string>
#include <thread>
#include <vector>

#include "plugin/engine/gate_engine.h"
#include "tests/plugin/engine/engine_harness.h"
#include "tests/plugin/engine/reference/reference_engine.h"

using namespace zendrel::test;
using zendrel::GateEngine;

namespace {

constexpr double kRates[] = {44100.0, 48000.0, 88200.0, 96000.0, 192000.0};
constexpr int kFixedBlocks[] = {1, 7, 64, 512, 4096};

// A pattern the editing rules could produce: notes no longer than the step,
// merges where the note fills it, attack + decay within 1.
void rulePattern(Rng& rng, Params& p) {
  p.setDefaults();
  p.set(zendrel::kNumOfSteps, stepsValue(1 + rng.below(32)));
  const int stepRow = rng.below(13);
  p.set(zendrel::kStepLength, noteValue(stepRow));
  for (int k = 0; k < 32; ++k) {
    const int row = rng.chance(40) ? stepRow : rng.below(stepRow + 1);
    p.set(zendrel::kNoteLength + k, noteValue(row));
    p.set(zendrel::kMerge + k, row == stepRow && rng.chance(50) ? 1.0f : 0.0f);
    const int kind = rng.below(4);
    p.set(zendrel::kGate + k, kind == 0 ? 0.0f : kind == 1 ? 1.0f : rng.unit());
    const float a = rng.chance(30) ? 0.0f : rng.unit();
    p.set(zendrel::kAttack + k, a);
    p.set(zendrel::kDecay + k, rng.chance(30) ? 0.0f : static_cast<float>((1.0 - a) * rng.unit()));
  }
}

// Values no rule would leave behind: out of range, merges whose note does not
// fill the step, attack + decay above 1, raw stored values between grid points.
void wildPattern(Rng& rng, Params& p) {
  rulePattern(rng, p);
  for (int n = 0; n < 12; ++n) {
    const int k = rng.below(32);
    switch (rng.below(7)) {
      case 0: p.set(zendrel::kMerge + k, 1.0f); break;
      case 1: p.set(zendrel::kGate + k, rng.unit() * 4.0f - 2.0f); break;
      case 2: p.set(zendrel::kAttack + k, rng.unit() * 1.5f); break;
      case 3: p.set(zendrel::kDecay + k, rng.unit() * 1.5f); break;
      case 4: p.set(zendrel::kNoteLength + k, rng.unit()); break;
      case 5: p.set(zendrel::kStepLength, rng.unit() * 1.2f - 0.1f); break;
      default: p.set(zendrel::kNumOfSteps, rng.unit() * 1.2f - 0.1f); break;
    }
  }
}

// A small edit between blocks, like automation would make.
void editBetweenBlocks(Rng& rng, Params& p) {
  const int k = rng.below(32);
  switch (rng.below(6)) {
    case 0: p.set(zendrel::kGate + k, rng.unit()); break;
    case 1: p.set(zendrel::kAttack + k, rng.unit() * 0.5f); break;
    case 2: p.set(zendrel::kDecay + k, rng.unit() * 0.5f); break;
    case 3: p.set(zendrel::kMerge + k, rng.chance(50) ? 1.0f : 0.0f); break;
    case 4: p.set(zendrel::kNoteLength + k, p.get(zendrel::kStepLength)); break;
    default: p.set(zendrel::kNumOfSteps, stepsValue(1 + rng.below(32))); break;
  }
}

struct Pair {
  GateEngine product;
  ReferenceEngine reference;
  Params params;
  std::vector<float> in[2], out[2], refOut[2], refIn[2];
  std::vector<double> gains, refGains;

  explicit Pair(double rate) {
    product.setSampleRate(rate);
    reference.setSampleRate(rate);
  }

  // Runs one block through both; returns an empty string or what differed.
  std::string run(const VstTimeInfo* time, Rng& rng, int frames, bool inPlace) {
    const size_t n = static_cast<size_t>(frames > 0 ? frames : 0);
    for (int c = 0; c < 2; ++c) {
      in[c].resize(n);
      out[c].assign(n, 12345.0f);
      refOut[c].assign(n, 12345.0f);
    }
    fillSignal(rng, in[0].data(), in[1].data(), frames);
    refIn[0] = in[0];
    refIn[1] = in[1];
    float* pin[2] = {in[0].data(), in[1].data()};
    float* pout[2] = {out[0].data(), out[1].data()};
    float* rin[2] = {refIn[0].data(), refIn[1].data()};
    float* rout[2] = {refOut[0].data(), refOut[1].data()};
    gains.assign(n, -7.0);
    refGains.assign(n, -7.0);
    product.traceGains(gains.data());
    reference.gainTrace = refGains.data();
    product.processBlock(time, params.v, pin, inPlace ? pin : pout, frames);
    reference.processReplacing(time, params.v, rin, rout, frames);
    const std::vector<float>* got = inPlace ? in : out;
    for (size_t i = 0; i < n; ++i)
      if (bitsOf(gains[i]) != bitsOf(refGains[i]))
        return "gain at sample " + std::to_string(i) + ": " + std::to_string(gains[i]) + " vs reference " +
               std::to_string(refGains[i]) + " (reference position " + std::to_string(reference.patternPosition) + ")";
    for (int c = 0; c < 2; ++c) {
      for (size_t i = 0; i < n; ++i) {
        if (bitsOf(got[c][i]) != bitsOf(refOut[c][i]))
          return "channel " + std::to_string(c) + " sample " + std::to_string(i) + ": " +
                 std::to_string(got[c][i]) + " vs reference " + std::to_string(refOut[c][i]) +
                 " (reference position " + std::to_string(reference.patternPosition) + ")";
      }
    }
    if (bitsOf(product.patternPosition()) != bitsOf(reference.publishedPosition()))
      return "position " + std::to_string(product.patternPosition()) + " vs " +
             std::to_string(reference.publishedPosition());
    for (int k = 0; k <= 32; ++k)
      if (bitsOf(product.stepStart(k)) != bitsOf(reference.publishedStepStart(k)))
        return "stepStart " + std::to_string(k);
    if (product.stepCount() != reference.stepCount || product.stepLength() != reference.stepLength)
      return "derived step count or length";
    for (int k = 0; k < 32; ++k)
      if (product.noteLength(k) != reference.noteLength[k]) return "note length " + std::to_string(k);
    if (product.freeRunPosition() != reference.freeRunPosition) return "free-running counter";
    return {};
  }
};

int blockSize(Rng& rng, int mode) {
  if (mode < 5) return kFixedBlocks[mode];
  return rng.chance(3) ? 0 : 1 + rng.below(rng.chance(50) ? 100 : 5000);
}

double randomTempo(Rng& rng) {
  switch (rng.below(4)) {
    case 0: return 40.0 + rng.below(261);                    // whole numbers 40..300
    case 1: return 120.0;
    default: return 40.0 + 260.0 * rng.unitDouble();          // fractional
  }
}

}  // namespace

TEST(BitIdentity, DefaultProgramEveryRateAndBlockSize) {
  for (double rate : kRates) {
    for (int mode = 0; mode < 6; ++mode) {
      for (int transport = 0; transport < 2; ++transport) {
        Pair pair(rate);
        Rng rng(static_cast<uint64_t>(rate) + static_cast<uint64_t>(mode * 10 + transport));
        double pos = transport ? 0.0 : 123.0;
        for (int done = 0; done < 24000;) {
          const int frames = blockSize(rng, mode);
          VstTimeInfo t = makeTime(120.0, pos, transport == 0);
          const std::string diff = pair.run(&t, rng, frames, mode % 2 == 1);
          ASSERT_EQ(diff, "") << "rate " << rate << " mode " << mode << " transport " << transport;
          pos += frames;
          done += frames > 0 ? frames : 1;
        }
      }
    }
  }
}

TEST(BitIdentity, RandomPatternsTemposTransportsAndEdits) {
  for (int scenario = 0; scenario < 150; ++scenario) {
    Rng rng(1000 + scenario);
    const double rate = kRates[scenario % 5];
    Pair pair(rate);
    if (scenario % 3 == 2)
      wildPattern(rng, pair.params);
    else
      rulePattern(rng, pair.params);
    const int mode = rng.below(6);
    const bool inPlace = rng.chance(50);
    double tempo = randomTempo(rng);
    const int transportMode = rng.below(3);  // playing, stopped, switching
    bool playing = transportMode != 1;
    double pos = rng.chance(20) ? -rng.below(50000) : rng.below(10000000);
    for (int done = 0, block = 0; done < 20000; ++block) {
      const int frames = blockSize(rng, mode);
      if (transportMode == 2 && rng.chance(15)) playing = !playing;
      if (rng.chance(5)) tempo = randomTempo(rng);
      if (rng.chance(30)) editBetweenBlocks(rng, pair.params);
      VstTimeInfo t = makeTime(tempo, pos, playing, pos / 22050.0);
      const std::string diff = pair.run(&t, rng, frames, inPlace);
      ASSERT_EQ(diff, "") << "scenario " << scenario << " block " << block << " rate " << rate
                          << " tempo " << tempo << (playing ? " playing" : " stopped");
      if (playing) pos += frames;
      done += frames > 0 ? frames : 1;
    }
  }
}

// Hosts that get the timing wrong, and positions at the edge of what a double holds.
TEST(BitIdentity, MisbehavingHosts) {
  const double badTempos[] = {0.0, -120.0, std::nan(""), std::numeric_limits<double>::infinity(),
                              1e-300, 1e300, 5000.0};
  const double badRates[] = {0.0, -44100.0, std::nan(""), std::numeric_limits<double>::infinity()};
  const double positions[] = {0.0, -1e6, 1e15, 1e300, std::nan(""), -std::numeric_limits<double>::infinity()};
  int scenario = 0;
  for (double tempo : badTempos) {
    for (double position : positions) {
      for (int playing = 0; playing < 2; ++playing) {
        Rng rng(77 + scenario++);
        Pair pair(44100.0);
        rulePattern(rng, pair.params);
        for (int block = 0; block < 6; ++block) {
          // Alternate sane and broken blocks so recovery is compared too.
          VstTimeInfo t = makeTime(block % 2 ? tempo : 120.0, position + block * 300.0, playing != 0);
          const std::string diff = pair.run(block == 4 ? nullptr : &t, rng, 300, block % 2 == 0);
          ASSERT_EQ(diff, "") << "tempo " << tempo << " position " << position << " block " << block;
        }
      }
    }
  }
  for (double rate : badRates) {
    Rng rng(5);
    Pair pair(rate);
    rulePattern(rng, pair.params);
    VstTimeInfo t = makeTime(120.0, 0.0, false);
    ASSERT_EQ(pair.run(&t, rng, 500, false), "") << "rate " << rate;
    pair.product.setSampleRate(44100.0);
    pair.reference.setSampleRate(44100.0);
    ASSERT_EQ(pair.run(&t, rng, 500, false), "") << "after rate " << rate;
  }
}

// Very short notes (extreme tempo, high rate): ramps longer than the note and
// crossfades with non-positive lengths must still agree and stay finite.
TEST(BitIdentity, NotesShorterThanTheMinimumRamp) {
  for (int scenario = 0; scenario < 40; ++scenario) {
    Rng rng(9000 + scenario);
    Pair pair(kRates[scenario % 5]);
    rulePattern(rng, pair.params);
    for (int k = 0; k < 32; ++k)
      if (rng.chance(60)) pair.params.set(zendrel::kMerge + k, 1.0f);
    const double tempo = 600.0 + 3000.0 * rng.unitDouble();
    double pos = rng.below(100000);
    for (int block = 0; block < 8; ++block) {
      VstTimeInfo t = makeTime(tempo, pos, scenario % 2 == 0);
      ASSERT_EQ(pair.run(&t, rng, 1000, false), "") << "scenario " << scenario;
      for (float v : pair.out[0]) ASSERT_TRUE(std::isfinite(v));
      pos += 1000;
    }
  }
}

// A value written on another thread while a block runs is picked up at the
// sample that first sees it, from there on: the product's gains equal the
// reference run as two blocks split at the first sample that differs, the old
// value before and the new one after. The block lies inside one long hold, so
// an engine that looked at the values only where a segment or a block begins
// would never show the change at all.
//
// When the write lands is up to the scheduler, so every attempt is checked
// whatever it gives: a write that came only after the block must leave the
// whole block at the old value. Attempts go on until writes have landed inside
// blocks; a machine that never lets the writer run during a block fails the
// test instead of passing it unchecked.
TEST(BitIdentity, EditDuringABlockActsFromTheNextSample) {
  using Clock = std::chrono::steady_clock;
  constexpr int kFrames = 200000;
  constexpr int kAttempts = 400;
  constexpr int kLandingsWanted = 3;
  constexpr double kStart = 1000.0;  // 30 beats per minute: the hold runs to about 352 580
  const struct {
    int index;
    float value;
  } edits[] = {{zendrel::kGate, 0.25f}, {zendrel::kAttack, 0.9f}, {zendrel::kDecay, 0.8f}};
  const auto setUp = [](Params& p) {
    p.set(zendrel::kNumOfSteps, stepsValue(1));
    p.set(zendrel::kStepLength, noteValue(12));
    p.set(zendrel::kNoteLength, noteValue(12));
  };
  const VstTimeInfo time = makeTime(30.0, kStart, true);
  std::vector<float> in(kFrames, 1.0f), out(kFrames), refOut(kFrames), beforeOut(kFrames);
  std::vector<double> gains(kFrames), before(kFrames), expected(kFrames);
  const auto reference = [&](Params& p, double* trace, int first, int frames) {
    ReferenceEngine r;
    float* ri[2] = {in.data() + first, in.data() + first};
    float* ro[2] = {refOut.data() + first, refOut.data() + first};
    r.gainTrace = trace + first;
    const VstTimeInfo t = makeTime(30.0, kStart + first, true);
    r.processReplacing(&t, p.v, ri, ro, frames);
  };
  Rng rng(31);
  for (const auto& edit : edits) {
    {
      Params p;
      setUp(p);
      reference(p, before.data(), 0, kFrames);
      beforeOut = refOut;
    }
    float* io[2] = {in.data(), in.data()};
    float* o[2] = {out.data(), out.data()};
    Clock::duration blockTime;
    {
      GateEngine engine;
      Params p;
      setUp(p);
      const Clock::time_point begin = Clock::now();
      engine.processBlock(&time, p.v, io, o, kFrames);
      blockTime = Clock::now() - begin;
    }
    int landed = 0;
    for (int attempt = 0; attempt < kAttempts && landed < kLandingsWanted; ++attempt) {
      GateEngine engine;
      Params p;
      setUp(p);
      std::atomic<bool> ready{false}, started{false};
      Clock::time_point begin;
      // Somewhere in the first three quarters of the block, a different place each time.
      const Clock::duration delay = blockTime * (5 + rng.below(70)) / 100;
      std::thread writer([&] {
        ready.store(true, std::memory_order_release);
        while (!started.load(std::memory_order_acquire)) {
        }
        while (Clock::now() < begin + delay) {
        }
        p.set(edit.index, edit.value);
      });
      engine.traceGains(gains.data());
      while (!ready.load(std::memory_order_acquire)) {
      }
      begin = Clock::now();
      started.store(true, std::memory_order_release);
      engine.processBlock(&time, p.v, io, o, kFrames);
      writer.join();

      int split = 0;
      while (split < kFrames && bitsOf(gains[split]) == bitsOf(before[split])) ++split;
      if (split > 0 && split < kFrames) ++landed;
      if (split == kFrames) {
        expected = before;
        refOut = beforeOut;
      } else {
        Params q;
        setUp(q);
        reference(q, expected.data(), 0, split);
        q.set(edit.index, edit.value);
        reference(q, expected.data(), split, kFrames - split);
      }
      for (int i = 0; i < kFrames; ++i) {
        ASSERT_EQ(bitsOf(gains[i]), bitsOf(expected[i])) << "parameter " << edit.index << " sample " << i
                                                         << " after a change seen at " << split;
        ASSERT_EQ(bitsOf(out[i]), bitsOf(refOut[i])) << "parameter " << edit.index << " sample " << i;
      }
    }
    EXPECT_EQ(landed, kLandingsWanted) << "parameter " << edit.index << ": in " << kAttempts
                                       << " blocks the writer thread landed inside a block only " << landed
                                       << " times; this test needs the writer to run while a block does";
  }
}
