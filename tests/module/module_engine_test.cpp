// The engine as a host meets it: the built module loaded through its entry,
// patterns set through setParameter (so the editing rules apply), rates set with
// effSetSampleRate and effMainsChanged, and every output sample compared bit for
// bit with the reference formulation fed the module's own working values.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "host/lib/host.h"
#include "tests/plugin/engine/engine_harness.h"
#include "tests/module/random_edits.h"
#include "tests/plugin/engine/reference/reference_engine.h"
#include "tests/support/strict_host.h"

using namespace zendrel::test;

namespace {

struct Rig {
  zendrel::host::Host host;
  ReferenceEngine reference;
  Params values;  // the module's working values, read back with getParameter

  bool load(double rate) {
    if (!host.load(ZENDREL_MODULE_PATH)) return false;
    host.setAutoAdvance(false);
    setRate(rate);
    return true;
  }
  void setRate(double rate) {
    host.setSampleRate(rate);
    host.dispatch(effSetSampleRate, 0, 0, nullptr, static_cast<float>(rate));
    host.dispatch(effMainsChanged, 0, 1);
    reference.setSampleRate(rate);
  }
  // One block through both; empty string when every bit matches.
  std::string block(Rng& rng, int frames, bool inPlace) {
    for (int i = 0; i < zendrel::kNumParams; ++i) values.set(i, host.getParameter(i));
    const zendrel::host::Transport t = host.transport();
    VstTimeInfo info = makeTime(t.tempo, t.samplePos, t.playing, t.ppqPos);
    std::vector<float> l(static_cast<size_t>(frames)), r(l.size());
    fillSignal(rng, l.data(), r.data(), frames);
    std::vector<float> rl = l, rr = r, ol(l.size()), orr(l.size()), refL(l.size()), refR(l.size());
    float* in[2] = {l.data(), r.data()};
    float* out[2] = {ol.data(), orr.data()};
    host.processReplacing(in, inPlace ? in : out, frames);
    float* rin[2] = {rl.data(), rr.data()};
    float* rout[2] = {refL.data(), refR.data()};
    reference.processReplacing(&info, values.v, rin, rout, frames);
    const std::vector<float>& gotL = inPlace ? l : ol;
    const std::vector<float>& gotR = inPlace ? r : orr;
    for (size_t i = 0; i < l.size(); ++i)
      if (bitsOf(gotL[i]) != bitsOf(refL[i]) || bitsOf(gotR[i]) != bitsOf(refR[i]))
        return "sample " + std::to_string(i) + ": " + std::to_string(gotL[i]) + " vs reference " +
               std::to_string(refL[i]);
    if (t.playing) host.advance(frames);
    return {};
  }
};

}  // namespace

TEST(ModuleEngine, DisplaysWhatTheFirstBlockDerived) {
  Rig rig;
  ASSERT_TRUE(rig.load(44100.0)) << rig.host.error();
  Rng rng(1);
  rig.host.setPlaying(true);
  ASSERT_EQ(rig.block(rng, 64, false), "");
  EXPECT_EQ(rig.host.parameterDisplay(zendrel::kNumOfSteps), "32.00000");
  EXPECT_EQ(rig.host.parameterDisplay(zendrel::kStepLength), "0.062500");
  EXPECT_EQ(rig.host.parameterDisplay(zendrel::kNoteLength), "0.046875");
  // A change shows once the next block has derived it.
  rig.host.setParameter(zendrel::kNumOfSteps, 0.5f);
  rig.host.setParameter(zendrel::kStepLength, 0.5f);
  ASSERT_EQ(rig.block(rng, 1, false), "");
  EXPECT_EQ(rig.host.parameterDisplay(zendrel::kNumOfSteps), "17.00000");
  EXPECT_EQ(rig.host.parameterDisplay(zendrel::kStepLength), "0.125000");
}

TEST(ModuleEngine, RandomPatternsThroughTheEditingRules) {
  const double rates[] = {44100.0, 48000.0, 88200.0, 96000.0, 192000.0};
  const int sizes[] = {1, 7, 64, 512, 4096};
  for (int scenario = 0; scenario < 25; ++scenario) {
    Rig rig;
    ASSERT_TRUE(rig.load(44100.0)) << rig.host.error();
    rig.setRate(rates[scenario % 5]);
    Rng rng(300 + scenario);
    if (scenario % 5 == 4) rig.host.dispatch(effSetProgram, 0, 1 + scenario % 9);
    for (int n = 0; n < 60; ++n) randomEdit(rng, rig.host);
    zendrel::host::Transport t = rig.host.transport();
    t.tempo = scenario % 4 == 0 ? 120.0 : 40.0 + 260.0 * rng.unitDouble();
    t.samplePos = rng.below(2000000);
    t.ppqPos = t.samplePos / 22050.0;
    t.playing = scenario % 3 != 1;
    rig.host.setTransport(t);
    for (int b = 0, done = 0; done < 12000; ++b) {
      const int frames = scenario % 6 == 5 ? 1 + rng.below(3000) : sizes[scenario % 5];
      if (scenario % 3 == 2 && rng.chance(15)) rig.host.setPlaying(!rig.host.transport().playing);
      if (rng.chance(20)) randomEdit(rng, rig.host);
      const std::string diff = rig.block(rng, frames, scenario % 2 == 1);
      ASSERT_EQ(diff, "") << "scenario " << scenario << " block " << b;
      done += frames;
    }
  }
}
