// Audio: every rate with every block size (blocks beyond the declared size
// too), under a transport that plays, stops, jumps, loops and changes tempo;
// in place against separate buffers; and what the audio path allocates.
#include <algorithm>
#include <cmath>

#include "host/validate/state.h"
#include "host/validate/transport_script.h"

namespace zendrel::validate {

namespace {

const double kRates[] = {22050, 44100, 48000, 88200, 96000, 192000};
const int kBlocks[] = {1, 16, 64, 512, 1024, 4096, 8192};
constexpr int kDeclaredBlock = 1024;

struct Tally {
  long blocks = 0, frames = 0, faultyBlocks = 0;
  std::string first;
};

// One rate and block size, through every transport phase in turn.
void runCombination(Check& c, Instance& a, double rate, int block, long frames, Tally& tally) {
  const AEffect* e = a.effect();
  Buffers buffers(e->numInputs, e->numOutputs, block);
  Signal signal;
  signal.seed = c.seed();
  signal.rate = rate;
  TransportScript script(rate);
  long done = 0;
  for (int phase = 0; phase < kTransportPhases; ++phase) {
    const long end = frames * (phase + 1) / kTransportPhases;
    script.start(a, static_cast<TransportPhase>(phase));
    for (; done < end; done += block) {
      script.beforeBlock(a, c.rng());
      buffers.prepare(signal, done, block);
      a.process(buffers.inputs(), buffers.outputs(false), block);
      const BlockFaults f = buffers.check(block, false);
      ++tally.blocks;
      tally.frames += block;
      if (!f.any()) continue;
      if (tally.faultyBlocks++ == 0)
        tally.first = format("at %.0f Hz, %d-frame blocks, transport %s: a block %s", rate, block,
                             phaseName(static_cast<TransportPhase>(phase)), f.describe().c_str());
    }
  }
}

void audioRatesAndBlocks(Check& c) {
  auto a = openInstance(c);
  if (!a) return;
  Tally tally;
  for (double rate : kRates) {
    a->configure(rate, kDeclaredBlock);
    for (int block : kBlocks) {
      const double seconds = c.level() >= 3 ? 1.0 : c.level() == 2 ? 0.25 : 0.05;
      const long frames = std::max<long>(static_cast<long>(rate * seconds), 2L * kTransportPhases * block);
      runCombination(c, *a, rate, block, frames, tally);
    }
  }
  c.saw(format("6 rates x 7 block sizes (declared %d), 5 transport phases: %ld blocks, %ld frames", kDeclaredBlock,
               tally.blocks, tally.frames));
  if (tally.faultyBlocks) {
    c.fail(tally.first);
    c.fail(format("%ld faulty blocks in all", tally.faultyBlocks));
  }
}

// Two instances in the same state, one given separate buffers and one the
// same buffer for input and output: the outputs must match.
void audioInPlace(Check& c) {
  auto a = openInstance(c);
  auto b = openInstance(c);
  if (!a || !b) return;
  if (a->effect()->numInputs != a->effect()->numOutputs)
    c.saw("inputs and outputs differ in number: shared channels only");
  std::vector<float> values;
  for (int i = 0; i < a->numParams(); ++i) values.push_back(c.unit());
  a->setParameters(values);
  b->setParameters(values);
  Signal signal;
  signal.seed = c.seed();
  int compared = 0;
  for (int block : {1, 37, 512, 4096}) {
    const int frames = block * (block < 64 ? 256 : 8);
    const std::vector<float> x = render(*a, signal, frames, block, false);
    const std::vector<float> y = render(*b, signal, frames, block, true);
    const long at = firstDifference(x, y);
    if (at >= 0)
      c.fail(format("%d-frame blocks: in place differs from separate buffers at frame %ld (%s against %s)", block,
                    at / a->effect()->numOutputs, floatText(y[static_cast<std::size_t>(at)]).c_str(),
                    floatText(x[static_cast<std::size_t>(at)]).c_str()));
    compared += frames;
  }
  c.saw(format("%d frames compared sample for sample", compared));
}

// What the audio path allocates and locks, with automation between blocks.
void audioAllocations(Check& c) {
  if (!pathCountingAvailable()) {
    c.skip("allocations cannot be counted in this build (sanitizers own the allocator)");
    return;
  }
  auto a = openInstance(c, 48000.0, 512);
  if (!a) return;
  Buffers buffers(a->effect()->numInputs, a->effect()->numOutputs, 4096);
  Signal signal;
  TransportScript script(48000.0);
  script.start(*a, TransportPhase::kPlaying);
  const int blocks = c.level() >= 2 ? 2000 : 400;
  long done = 0;
  for (int i = 0; i < blocks; ++i) {
    const int frames = i % 50 == 49 ? 4096 : 512;
    if (a->numParams() > 0) a->host().setParameter(c.uniform(0, a->numParams() - 1), c.unit());
    if (i == blocks / 2) script.start(*a, TransportPhase::kStopped);
    buffers.prepare(signal, done, frames);
    a->process(buffers.inputs(), buffers.outputs(false), frames);
    done += frames;
  }
  const PathCounts& first = a->firstBlockCounts();
  const PathCounts& later = a->laterBlockCounts();
  c.saw(format("%d blocks: first block %ld allocations, %ld frees, %ld locks; later blocks %ld allocations, %ld frees, "
               "%ld locks",
               blocks, first.allocations, first.frees, first.locks, later.allocations, later.frees, later.locks));
  if (later.allocations || later.frees) c.fail("the audio path allocates or frees after its first block");
  if (first.allocations) c.warn("the first block after a resume allocates");
  if (later.locks) c.warn("the audio path takes locks");
}

}  // namespace

const std::vector<TestInfo>& audioTests() {
  static const std::vector<TestInfo> tests = {
      {"audio.allocations", 1, false, audioAllocations},
      {"audio.in-place", 1, false, audioInPlace},
      {"audio.rates-and-blocks", 1, false, audioRatesAndBlocks},
  };
  return tests;
}

}  // namespace zendrel::validate
