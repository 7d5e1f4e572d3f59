// Automation, program changes, audio blocks and display reads at once, as a host
// may run them: no lock guards the shared values, so this is meant to run clean
// under ThreadSanitizer. Whatever the interleaving, every written sample stays
// within the input's level (every stored gate level lies within 0 and 1), and
// every length ends inside its range.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <thread>
#include <vector>

#include "plugin/model/parameters.h"
#include "tests/plugin/model/model_harness.h"
#include "tests/support/rng.h"

using namespace zendrel::test;
using namespace zendrel;

TEST(Threads, AutomationProgramChangesBlocksAndDisplays) {
  auto effect = makeEffect();
  Log::instance().setRecording(false);
  std::atomic<bool> stop{false};
  std::atomic<bool> bounded{true};

  std::thread automation([&] {
    Rng rng{7};
    while (!stop.load(std::memory_order_relaxed)) {
      const int index = rng.below(kNumParams);
      // Buttons get presses and releases, everything else any normalised value.
      const ParameterGroup* group = groupOf(index);
      const bool button = group->role == Role::kButtonUp || group->role == Role::kButtonDown;
      effect->setParameter(index, button ? static_cast<float>(rng.below(2)) : rng.unit());
    }
  });
  std::thread programs([&] {
    Rng rng{11};
    while (!stop.load(std::memory_order_relaxed)) {
      effect->setProgram(rng.below(kNumPrograms));
      char name[24] = "untouched";
      effect->getProgramName(name);
    }
  });
  std::thread audio([&] {
    std::vector<float> left(128), right(128);
    float* channels[2] = {left.data(), right.data()};
    while (!stop.load(std::memory_order_relaxed)) {
      for (size_t n = 0; n < left.size(); ++n) left[n] = right[n] = 0.5f;
      effect->processReplacing(channels, channels, 128);
      for (size_t n = 0; n < left.size(); ++n)
        if (!(std::fabs(left[n]) <= 0.5f) || !(std::fabs(right[n]) <= 0.5f)) bounded = false;
    }
  });
  std::thread displays([&] {
    Rng rng{13};
    while (!stop.load(std::memory_order_relaxed)) {
      const int index = rng.below(kNumParams);
      char text[64];
      effect->getParameterDisplay(index, text);
      effect->getParameter(index);
    }
  });

  std::this_thread::sleep_for(std::chrono::milliseconds(400));
  stop = true;
  automation.join();
  programs.join();
  audio.join();
  displays.join();
  Log::instance().setRecording(true);

  EXPECT_TRUE(bounded.load()) << "a sample came out louder than the input";
  // Once the writers are quiet, a final change runs the pass on a settled state.
  effect->setProgram(0);
  const auto values = workingValues(*effect);
  EXPECT_GE(values[kNumOfSteps], 0.015625f);
  EXPECT_LE(values[kNumOfSteps], 0.984375f);
  for (int k = 0; k < kNumSteps; ++k)
    EXPECT_LE(values[static_cast<size_t>(kNoteLength + k)], values[kStepLength]);
}
