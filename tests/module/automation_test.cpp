// Automation from the effect itself (what the editor does on a control edit):
// the plug-in applies its own change first, with its display requests, and
// only then reports the value to the host, which can already read it back.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "plugin/vst/audio_effect.h"
#include "plugin/vst/effect_factory.h"

namespace {

struct Seen {
  VstInt32 opcode, index;
  float opt;
  float valueThen;  // the parameter as the plug-in answered it at that moment
};
std::vector<Seen> seen;

VstIntPtr host(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
               float opt) {
  if (opcode == audioMasterVersion) return kVstVersion;
  float now = 0.0f;
  if (effect && opcode == audioMasterAutomate) now = effect->getParameter(effect, index);
  seen.push_back({opcode, index, opt, now});
  return 0;
}

TEST(Automation, OwnChangeFirstThenTheAutomateRequest) {
  std::unique_ptr<AudioEffect> fx(createEffectInstance(host));
  ASSERT_NE(fx, nullptr);
  seen.clear();
  fx->setParameterAutomated(0, 0.5f);
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0].opcode, audioMasterUpdateDisplay);
  EXPECT_EQ(seen[1].opcode, audioMasterAutomate);
  EXPECT_EQ(seen[1].index, 0);
  EXPECT_EQ(seen[1].opt, 0.5f);
  EXPECT_EQ(seen[1].valueThen, 0.5f);

  // "NLF Increment 1" pressed at the defaults: the note reaches the step
  // length, merge 1 switches on, which stretches the note and lowers it again:
  // four calls, four display requests, then one automate of the button only.
  seen.clear();
  fx->setParameterAutomated(38, 1.0f);
  ASSERT_EQ(seen.size(), 5u);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(seen[i].opcode, audioMasterUpdateDisplay) << i;
  EXPECT_EQ(seen[4].opcode, audioMasterAutomate);
  EXPECT_EQ(seen[4].index, 38);
  EXPECT_EQ(seen[4].opt, 1.0f);
  EXPECT_EQ(fx->getParameter(198), 1.0f);
}

}  // namespace
