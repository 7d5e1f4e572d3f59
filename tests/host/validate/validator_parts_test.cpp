// The validator's own detectors: the opcode table, the buffer checks that
// catch writes outside a block, unwritten and bad samples and changed inputs,
// the verdicts, and the audio-path counters.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "host/lib/opcodes.h"
#include "host/validate/instance.h"
#include "host/validate/validate.h"
#include "tests/support/strict_host.h"

namespace {

using namespace zendrel::validate;

TEST(ValidatorParts, OpcodeTableIsIndexedByOpcode) {
  for (VstInt32 op = 0; op < zendrel::host::kOpcodeCount; ++op) {
    EXPECT_EQ(zendrel::host::opcodeShape(op).opcode, op);
    EXPECT_NE(std::strlen(zendrel::host::opcodeName(op)), 0u);
  }
  EXPECT_STREQ(zendrel::host::opcodeName(effGetNumMidiOutputChannels), "effGetNumMidiOutputChannels");
  EXPECT_STREQ(zendrel::host::opcodeName(97), "opcode 97");
  EXPECT_EQ(zendrel::host::opcodeShape(effGetParamName).ptr, zendrel::host::PtrKind::kTextOut);
  EXPECT_EQ(zendrel::host::opcodeShape(effGetChunk).ptr, zendrel::host::PtrKind::kPointerOut);
}

// A block the plug-in processed by copying input to output.
struct CopiedBlock {
  Buffers buffers{2, 2, 64};
  explicit CopiedBlock(int frames) {
    buffers.prepare(Signal{}, 0, frames);
    for (int c = 0; c < 2; ++c) std::memcpy(buffers.outputs(false)[c], buffers.inputs()[c], sizeof(float) * frames);
  }
};

TEST(ValidatorParts, BuffersPassAFaithfulBlock) {
  CopiedBlock b(48);
  EXPECT_FALSE(b.buffers.check(48, false).any()) << b.buffers.check(48, false).describe();
}

TEST(ValidatorParts, BuffersCatchEachFault) {
  {
    CopiedBlock b(48);
    b.buffers.outputs(false)[1][48] = 0.0f;  // one past the block
    EXPECT_TRUE(b.buffers.check(48, false).guardBroken);
  }
  {
    CopiedBlock b(64);
    b.buffers.outputs(false)[0][-1] = 0.0f;  // before the buffer
    EXPECT_TRUE(b.buffers.check(64, false).guardBroken);
  }
  {
    CopiedBlock b(48);
    b.buffers.prepare(Signal{}, 0, 48);  // outputs marked again, then only partly written
    std::memcpy(b.buffers.outputs(false)[0], b.buffers.inputs()[0], sizeof(float) * 48);
    std::memcpy(b.buffers.outputs(false)[1], b.buffers.inputs()[1], sizeof(float) * 40);
    const BlockFaults f = b.buffers.check(48, false);
    EXPECT_EQ(f.unwritten, 8);
    EXPECT_EQ(f.firstBad, 40);
  }
  {
    CopiedBlock b(48);
    b.buffers.outputs(false)[0][3] = std::numeric_limits<float>::infinity();
    b.buffers.outputs(false)[1][5] = std::numeric_limits<float>::denorm_min();
    const BlockFaults f = b.buffers.check(48, false);
    EXPECT_EQ(f.nonFinite, 1);
    EXPECT_EQ(f.denormals, 1);
    EXPECT_EQ(f.firstBad, 3);
  }
  {
    CopiedBlock b(48);
    b.buffers.inputs()[1][7] = 0.125f;
    EXPECT_TRUE(b.buffers.check(48, false).inputChanged);
    EXPECT_FALSE(b.buffers.check(48, true).inputChanged);  // in place the plug-in writes there
  }
}

// A shorter block after a longer one: what the longer one left is no fault,
// but a write past the shorter one is.
TEST(ValidatorParts, BuffersFollowTheBlockLength) {
  CopiedBlock b(64);
  b.buffers.prepare(Signal{}, 64, 16);
  for (int c = 0; c < 2; ++c) std::memcpy(b.buffers.outputs(false)[c], b.buffers.inputs()[c], sizeof(float) * 16);
  EXPECT_FALSE(b.buffers.check(16, false).any()) << b.buffers.check(16, false).describe();
  b.buffers.outputs(false)[0][20] = 0.5f;
  EXPECT_TRUE(b.buffers.check(16, false).guardBroken);
}

TEST(ValidatorParts, SignalIsDeterministicFiniteAndNeverDenormal) {
  Signal s;
  s.seed = 42;
  for (int64_t n = 0; n < 200000; n += 7) {
    const float v = s.sample(n % 3, n);
    ASSERT_TRUE(std::isfinite(v));
    ASSERT_FALSE(isDenormal(v));
    ASSERT_LE(std::fabs(v), 0.9f);
    ASSERT_EQ(v, s.sample(n % 3, n));
  }
}

TEST(ValidatorParts, VerdictsRankFailuresFirst) {
  Options o;
  Check c(o, "group.test", 1);
  EXPECT_EQ(c.verdict(), Verdict::kPass);
  c.warn("odd");
  EXPECT_EQ(c.verdict(), Verdict::kWarn);
  c.skip("no editor window");
  EXPECT_EQ(c.verdict(), Verdict::kSkip);
  c.fail("broke");
  EXPECT_EQ(c.verdict(), Verdict::kFail);
  EXPECT_NE(c.line().find("broke"), std::string::npos);
  EXPECT_NE(c.line().find("skipped: no editor window"), std::string::npos);
  for (int i = 0; i < 20; ++i) c.fail("again");
  EXPECT_TRUE(c.enough());
  EXPECT_NE(c.line().find("21 faults in all"), std::string::npos);
  for (int i = 0; i < 1000; ++i) {
    const float u = c.unit();
    ASSERT_TRUE(u >= 0.0f && u < 1.0f);
  }
}

// The counters see the audio thread's own allocations, and nothing the host
// callback does on its behalf.
TEST(ValidatorParts, PathCountersSeeAllocationsOutsideTheHostCallback) {
  if (!pathCountingAvailable()) GTEST_SKIP() << "the sanitizers own the allocator in this build";
#ifdef _WIN32
  GTEST_SKIP() << "on Windows the counters patch a module's imports; the validator's tests load one";
#else
  armPathCounting();
  void* volatile p = std::malloc(100);
  std::free(p);
  zendrel::host::Host::callback(nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f);
  const PathCounts c = disarmPathCounting();
  EXPECT_EQ(c.allocations, 1);
  EXPECT_EQ(c.frees, 1);
  armPathCounting();
  const PathCounts none = disarmPathCounting();
  EXPECT_EQ(none.allocations, 0);
#endif
}

}  // namespace
