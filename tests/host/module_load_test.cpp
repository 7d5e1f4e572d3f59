// The entry and the host library, with a small test effect in a module of its
// own: loading by path and its failures, both export names, the version query,
// the recorded requests and the transport, from two threads at once.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "host/lib/host.h"
#include "tests/support/strict_host.h"

namespace {

const std::string kTestModule = ZENDREL_TESTFX_PATH;

TEST(Load, MissingFileSaysSo) {
  zendrel::host::Host host;
  EXPECT_FALSE(host.load("no-such-dir/no-such-module.bin"));
  EXPECT_NE(host.error().find("no such file"), std::string::npos) << host.error();
  EXPECT_NE(host.error().find("no-such-module.bin"), std::string::npos) << host.error();
  EXPECT_EQ(host.effect(), nullptr);
  EXPECT_EQ(host.dispatch(effGetVstVersion), 0);  // nothing loaded: quiet zeros
}

TEST(Load, AFileThatIsNoLibraryIsRefused) {
  const std::string path = "host-not-a-module.txt";
  {
    std::ofstream out(path);
    out << "plain text, not a library\n";
  }
  zendrel::host::Host host;
  EXPECT_FALSE(host.load(path));
  EXPECT_NE(host.error().find("cannot load"), std::string::npos) << host.error();
  std::remove(path.c_str());
}

TEST(Load, ALibraryWithoutTheEntryIsNoPlugin) {
  zendrel::host::Host host;
  EXPECT_FALSE(host.load(kTestModule, "NoSuchEntry"));
  EXPECT_NE(host.error().find("exports no function NoSuchEntry"), std::string::npos)
      << host.error();
}

TEST(Load, EntryGivesUpWhenTheHostAnswersZeroToTheVersionQuery) {
  zendrel::host::Host host;
  host.setVersionAnswer(0);
  EXPECT_FALSE(host.load(kTestModule));
  EXPECT_NE(host.error().find("returned no effect"), std::string::npos) << host.error();
  std::vector<zendrel::host::Request> log = host.requests();
  ASSERT_EQ(log.size(), 1u);  // the version query, and nothing was created
  EXPECT_EQ(log[0].opcode, audioMasterVersion);
  EXPECT_EQ(log[0].effect, nullptr);
  EXPECT_EQ(log[0].index, 0);
  EXPECT_EQ(log[0].value, 0);
  EXPECT_EQ(log[0].ptr, nullptr);
  EXPECT_EQ(log[0].opt, 0.0f);
  // Any other non-zero answer is accepted.
  host.setVersionAnswer(1);
  EXPECT_TRUE(host.load(kTestModule)) << host.error();
}

TEST(Load, BothExportNamesCreateTheSameEffect) {
  for (const char* entry : {"VSTPluginMain", "main"}) {
    zendrel::host::Host host;
    ASSERT_TRUE(host.load(kTestModule, entry)) << host.error();
    AEffect* e = host.effect();
    EXPECT_EQ(e->magic, kEffectMagic);
    EXPECT_EQ(e->uniqueID, fourCharCode('T', 's', 'F', 'x'));
    EXPECT_EQ(e->numParams, 4);
    EXPECT_EQ(host.effectName(), "TestFx");
    // Requests made while the effect was built carry the record's address.
    std::vector<zendrel::host::Request> log = host.requests();
    ASSERT_EQ(log.size(), 5u);
    EXPECT_EQ(log[0].opcode, audioMasterVersion);
    for (std::size_t i = 1; i < log.size(); ++i) {
      EXPECT_EQ(log[i].opcode, audioMasterUpdateDisplay);
      EXPECT_EQ(log[i].effect, e);
    }
    EXPECT_EQ(host.getParameter(3), 0.75f);
    EXPECT_EQ(host.parameterDisplay(3), "0.750000");
    EXPECT_EQ(host.close(), 1);
    EXPECT_EQ(host.effect(), nullptr);
  }
}

TEST(Load, TheModuleKnowsItsOwnInstanceHandle) {
  zendrel::host::Host host;
  ASSERT_TRUE(host.load(kTestModule)) << host.error();
  VstIntPtr stored = host.dispatch(effVendorSpecific);
#ifdef _WIN32
  // DllMain stored the DLL's own instance, the handle the loader gave us.
  EXPECT_EQ(stored, reinterpret_cast<VstIntPtr>(host.module().handle()));
#else
  EXPECT_EQ(stored, 0);  // no loader entry here: the toolkit uses built-in images
#endif
}

TEST(Transport, TimeRecordFollowsTheSettableTransport) {
  zendrel::host::Host host;
  ASSERT_TRUE(host.load(kTestModule)) << host.error();
  host.setParameter(0, 0.5f);
  host.setTempo(90.0);
  host.setSampleRate(48000.0);
  host.setSamplePosition(1000.0);
  host.setPpqPosition(2.0);
  host.setPlaying(true);
  host.clearRequests();

  std::vector<float> l(480, 1.0f), r(480, 2.0f);
  float* io[2] = {l.data(), r.data()};
  host.processReplacing(io, io, 480);
  EXPECT_EQ(l[0], 0.5f);
  EXPECT_EQ(r[479], 1.0f);
  std::vector<zendrel::host::Request> log = host.requests();
  ASSERT_EQ(log.size(), 1u);
  EXPECT_EQ(log[0].opcode, audioMasterGetTime);
  EXPECT_EQ(log[0].value, 0x603);

  zendrel::host::Transport t = host.transport();
  EXPECT_EQ(t.samplePos, 1480.0);
  EXPECT_DOUBLE_EQ(t.ppqPos, 2.0 + 480.0 / 48000.0 * 90.0 / 60.0);
  host.setPlaying(false);
  host.advance(1000);
  EXPECT_EQ(host.transport().samplePos, 1480.0);  // a stopped transport stays

  host.setTimeInfoNull(true);
  host.processReplacing(io, io, 16);
  EXPECT_EQ(l[0], 0.0f);
}

TEST(Transport, RecordFlagsAndFields) {
  // The record handed out, read through a raw callback call as a plug-in would.
  zendrel::host::Host host;
  ASSERT_TRUE(host.load(kTestModule)) << host.error();
  zendrel::host::Transport t;
  t.tempo = 133.0;
  t.playing = true;
  t.samplePos = 64.0;
  host.setTransport(t);
  auto* info = reinterpret_cast<VstTimeInfo*>(
      zendrel::host::Host::callback(host.effect(), audioMasterGetTime, 0, 0x603, nullptr, 0.0f));
  ASSERT_NE(info, nullptr);
  EXPECT_EQ(info->tempo, 133.0);
  EXPECT_EQ(info->samplePos, 64.0);
  EXPECT_EQ(info->sampleRate, 44100.0);
  EXPECT_EQ(info->flags & 0x603, 0x603);
  info = reinterpret_cast<VstTimeInfo*>(
      zendrel::host::Host::callback(host.effect(), audioMasterGetTime, 0, 0x603, nullptr, 0.0f));
  EXPECT_EQ(info->flags & 0x603, 0x602);  // changed only once
  EXPECT_EQ(zendrel::host::Host::callback(host.effect(), audioMasterVersion, 0, 0, nullptr, 0.0f), 2400);
}

// An audio thread and a user-interface thread call the plug-in, and through it
// the host, at the same time; the log must hold every request.
TEST(Threads, AudioAndInterfaceThreadsShareTheLog) {
  zendrel::host::Host host;
  ASSERT_TRUE(host.load(kTestModule)) << host.error();
  host.clearRequests();
  constexpr int kBlocks = 200;
  constexpr int kEdits = 300;
  std::thread audio([&] {
    std::vector<float> l(64, 1.0f), r(64, 1.0f);
    float* io[2] = {l.data(), r.data()};
    for (int b = 0; b < kBlocks; ++b) host.processReplacing(io, io, 64);
  });
  std::thread ui([&] {
    for (int i = 0; i < kEdits; ++i) {
      host.setParameter(i % 4, 0.5f);
      if (i % 50 == 0) host.setTempo(100.0 + i);
    }
  });
  audio.join();
  ui.join();
  EXPECT_EQ(host.count(audioMasterGetTime), static_cast<std::size_t>(kBlocks));
  EXPECT_EQ(host.count(audioMasterUpdateDisplay), static_cast<std::size_t>(kEdits));
  EXPECT_EQ(host.requestCount(), static_cast<std::size_t>(kBlocks + kEdits));
}

TEST(Hosts, TwoInstancesKeepTheirOwnLogs) {
  zendrel::host::Host a, b;
  ASSERT_TRUE(a.load(kTestModule)) << a.error();
  ASSERT_TRUE(b.load(kTestModule)) << b.error();
  EXPECT_NE(a.effect(), b.effect());
  a.clearRequests();
  b.clearRequests();
  a.setParameter(1, 0.1f);
  EXPECT_EQ(a.requestCount(), 1u);
  EXPECT_EQ(b.requestCount(), 0u);
  EXPECT_EQ(a.requests()[0].effect, a.effect());
}

}  // namespace
