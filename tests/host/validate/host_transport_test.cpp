// What the validator needs from the test host: requests answered without being
// recorded, hooks around the callback, a reported loop, and the transport
// phases the audio tests run through.
#include <gtest/gtest.h>

#include <random>

#include "host/lib/host.h"
#include "host/validate/transport_script.h"

namespace {

using namespace zendrel::validate;

int entered = 0, left = 0;
void onEnter() { ++entered; }
void onLeave() { ++left; }

// The time record a plug-in would get now.
VstTimeInfo timeOf(zendrel::host::Host& host) {
  AEffect fake{};
  fake.user = &host;
  return *reinterpret_cast<VstTimeInfo*>(zendrel::host::Host::callback(&fake, audioMasterGetTime, 0, 0, nullptr, 0.0f));
}

TEST(HostForValidator, RequestsAreAnsweredWithoutBeingRecorded) {
  zendrel::host::Host host;
  AEffect fake{};
  fake.user = &host;
  host.setRecording(false);
  EXPECT_EQ(zendrel::host::Host::callback(&fake, audioMasterGetBlockSize, 0, 0, nullptr, 0.0f), 1024);
  EXPECT_EQ(host.requestCount(), 0u);
  host.setRecording(true);
  zendrel::host::Host::callback(&fake, audioMasterUpdateDisplay, 0, 0, nullptr, 0.0f);
  EXPECT_EQ(host.count(audioMasterUpdateDisplay), 1u);
}

TEST(HostForValidator, HooksRunAroundEveryCallback) {
  zendrel::host::Host::setCallbackHooks(&onEnter, &onLeave);
  entered = left = 0;
  zendrel::host::Host::callback(nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f);
  zendrel::host::Host host;
  timeOf(host);
  zendrel::host::Host::setCallbackHooks(nullptr, nullptr);
  zendrel::host::Host::callback(nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f);
  EXPECT_EQ(entered, 2);
  EXPECT_EQ(left, 2);
}

TEST(HostForValidator, ALoopIsReportedWithItsBounds) {
  zendrel::host::Host host;
  zendrel::host::Transport t;
  t.playing = true;
  t.cycleActive = true;
  t.cycleStartPpq = 4.0;
  t.cycleEndPpq = 8.0;
  host.setTransport(t);
  const VstTimeInfo info = timeOf(host);
  EXPECT_TRUE(info.flags & kVstTransportCycleActive);
  EXPECT_TRUE(info.flags & kVstCyclePosValid);
  EXPECT_EQ(info.cycleStartPos, 4.0);
  EXPECT_EQ(info.cycleEndPos, 8.0);
  t.cycleActive = false;
  host.setTransport(t);
  EXPECT_FALSE(timeOf(host).flags & kVstTransportCycleActive);
}

// The script drives an instance's host; no module is needed for that.
TEST(HostForValidator, TransportPhasesMoveAsTheyShould) {
  Instance a;
  std::mt19937_64 rng(3);
  TransportScript script(48000.0);

  script.start(a, TransportPhase::kStopped);
  EXPECT_FALSE(a.host().transport().playing);

  script.start(a, TransportPhase::kLooping);
  EXPECT_TRUE(a.host().transport().playing);
  a.host().advance(48000 * 5);  // 5 s at 120 beats per minute: quarter note 10
  script.beforeBlock(a, rng);
  EXPECT_EQ(a.host().transport().ppqPos, 4.0);
  EXPECT_EQ(a.host().transport().samplePos, 96000.0);

  script.start(a, TransportPhase::kJumping);
  bool jumped = false, preRoll = false;
  for (int i = 0; i < 400; ++i) {
    const double before = a.host().transport().ppqPos;
    script.beforeBlock(a, rng);
    jumped = jumped || a.host().transport().ppqPos != before;
    preRoll = preRoll || a.host().transport().ppqPos < 0.0;
  }
  EXPECT_TRUE(jumped);
  EXPECT_TRUE(preRoll);

  script.start(a, TransportPhase::kTempoChanges);
  bool changed = false;
  for (int i = 0; i < 50; ++i) {
    script.beforeBlock(a, rng);
    changed = changed || a.host().transport().tempo != 120.0;
  }
  EXPECT_TRUE(changed);
}

}  // namespace
