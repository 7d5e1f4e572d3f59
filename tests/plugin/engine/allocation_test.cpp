// The audio path allocates nothing: every allocation function of the program is
// replaced by a counting one, armed only while blocks run.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <vector>

#include "plugin/engine/gate_engine.h"
#include "tests/plugin/engine/effect_fixture.h"
#include "tests/plugin/engine/engine_harness.h"

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define ZENDREL_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
#define ZENDREL_SANITIZED 1
#endif
#endif

#if defined(__GNUC__) && !defined(__clang__)
// The replacements pair malloc with free on purpose; inlined into library code
// they look mismatched to GCC.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif

namespace {
std::atomic<bool> armed{false};
std::atomic<long> allocations{0};
[[maybe_unused]] void count() {
  if (armed.load(std::memory_order_relaxed)) allocations.fetch_add(1, std::memory_order_relaxed);
}
}  // namespace

#if !defined(ZENDREL_SANITIZED)
void* operator new(std::size_t n) {
  count();
  if (void* p = std::malloc(n ? n : 1)) return p;
  throw std::bad_alloc();
}
void* operator new[](std::size_t n) {
  count();
  if (void* p = std::malloc(n ? n : 1)) return p;
  throw std::bad_alloc();
}
void* operator new(std::size_t n, const std::nothrow_t&) noexcept {
  count();
  return std::malloc(n ? n : 1);
}
void* operator new[](std::size_t n, const std::nothrow_t&) noexcept {
  count();
  return std::malloc(n ? n : 1);
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

#if defined(__GLIBC__)
// The C allocator too, forwarded to glibc's own entry points.
extern "C" void* __libc_malloc(std::size_t);
extern "C" void* __libc_calloc(std::size_t, std::size_t);
extern "C" void* __libc_realloc(void*, std::size_t);
extern "C" void* malloc(std::size_t n) {
  count();
  return __libc_malloc(n);
}
extern "C" void* calloc(std::size_t a, std::size_t b) {
  count();
  return __libc_calloc(a, b);
}
extern "C" void* realloc(void* p, std::size_t n) {
  count();
  return __libc_realloc(p, n);
}
#endif
#endif

using namespace zendrel::test;

TEST(Allocation, BlocksAllocateNothing) {
#if defined(ZENDREL_SANITIZED)
  GTEST_SKIP() << "the sanitizers own the allocator; this runs in the plain builds";
#else
  // The counter itself must see allocations outside the armed window.
  armed = true;
  { std::vector<int> probe(10); EXPECT_EQ(probe.size(), 10u); }
  armed = false;
  ASSERT_GT(allocations.load(), 0);
  allocations = 0;

  zendrel::GateEngine engine;
  engine.setSampleRate(48000.0);
  Params params;
  params.set(zendrel::kMerge + 2, 1.0f);
  params.set(zendrel::kNoteLength + 2, 0.3455f);
  std::vector<float> l(4096, 0.5f), r(4096, -0.5f);
  float* io[2] = {l.data(), r.data()};
  const int blocks[] = {1, 7, 64, 512, 4096, 0, -3};
  double pos = -2000;
  armed = true;
  for (int round = 0; round < 40; ++round) {
    for (int frames : blocks) {
      VstTimeInfo t = makeTime(97.25 + round, pos, round % 3 != 0);
      engine.processBlock(round % 7 == 6 ? nullptr : &t, params.v, io, io, frames);
      params.set(zendrel::kGate + round % 32, 0.25f * (round % 5));
      pos += frames > 0 ? frames : 0;
    }
  }
  armed = false;
  EXPECT_EQ(allocations.load(), 0);
#endif
}

// The whole audio entry of the effect: time request, derivation, envelope.
TEST(Allocation, ProcessReplacingAllocatesNothing) {
#if defined(ZENDREL_SANITIZED)
  GTEST_SKIP() << "the sanitizers own the allocator; this runs in the plain builds";
#else
  Zendrel effect(quietHost);
  setRate(effect, 96000.0);
  effect.setParameter(zendrel::kNlfIncrement + 4, 1.0f);  // merges step 5
  effect.setParameter(zendrel::kNlfIncrement + 4, 0.0f);
  std::vector<float> l(4096, 0.25f), r(4096, -0.25f), ol(4096), orr(4096);
  float* in[2] = {l.data(), r.data()};
  float* out[2] = {ol.data(), orr.data()};
  hostTime() = makeTime(140.0, 0.0, true);
  allocations = 0;
  armed = true;
  for (int round = 0; round < 60; ++round) {
    const int frames = (round * 613) % 4097;
    effect.processReplacing(in, round % 2 ? in : out, frames);
    hostTime().samplePos += frames;
    hostTime().flags ^= round % 5 == 0 ? kVstTransportPlaying : 0;
  }
  armed = false;
  EXPECT_EQ(allocations.load(), 0);
#endif
}
