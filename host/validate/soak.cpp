// Soak: many instances, each with its own audio thread (paced as a host's
// audio device would pace it), automation thread and editor thread, with
// program changes, for a set time. Reports what ran and every fault.
#include <atomic>
#include <chrono>
#include <cstdio>
#include <memory>
#include <thread>
#include <vector>

#include "host/validate/editor_window.h"
#include "host/validate/instance.h"
#include "host/validate/transport_script.h"

namespace zendrel::validate {

namespace {

using Clock = std::chrono::steady_clock;

struct SoakCounts {
  std::atomic<long> blocks{0}, frames{0}, faulty{0}, writes{0}, programChanges{0}, editorSessions{0};
  std::atomic<long> allocations{0};
};

void audioThread(Instance& a, int id, const std::atomic<bool>& stop, SoakCounts& n) {
  const int block = 64 << (id % 4);  // 64 .. 512 frames
  Buffers buffers(a.effect()->numInputs, a.effect()->numOutputs, block);
  Signal signal;
  signal.seed = static_cast<uint64_t>(id) + 1;
  TransportScript script(a.rate());
  std::mt19937_64 rng(static_cast<uint64_t>(id) * 7919);
  auto next = Clock::now();
  const auto period = std::chrono::duration<double>(block / a.rate());
  long frame = 0;
  for (int b = 0; !stop.load(); ++b) {
    if (b % 2000 == 0) script.start(a, static_cast<TransportPhase>((b / 2000) % kTransportPhases));
    script.beforeBlock(a, rng);
    buffers.prepare(signal, frame, block);
    a.process(buffers.inputs(), buffers.outputs(false), block);
    const BlockFaults f = buffers.check(block, false);
    if (f.any() && n.faulty++ < 5) std::printf("  instance %d, block %d: %s\n", id, b, f.describe().c_str());
    ++n.blocks;
    n.frames += block;
    frame += block;
    next += std::chrono::duration_cast<Clock::duration>(period);
    std::this_thread::sleep_until(next);
  }
}

void automationThread(Instance& a, int id, const std::atomic<bool>& stop, SoakCounts& n) {
  std::mt19937_64 rng(static_cast<uint64_t>(id) * 104729);
  for (long k = 0; !stop.load(); ++k) {
    if (a.numParams() > 0) a.host().setParameter(static_cast<VstInt32>(rng() % a.numParams()), (rng() >> 40) / 16777216.0f);
    ++n.writes;
    if (a.numPrograms() > 1 && k % 400 == 399) {
      a.dispatch(effSetProgram, 0, static_cast<VstIntPtr>(rng() % a.numPrograms()));
      ++n.programChanges;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
}

void editorThread(Instance& a, const std::atomic<bool>& stop, SoakCounts& n) {
  if (!a.hasEditor()) return;
  ParentWindow parent(1024, 768);
  int refusals = 0;
  while (!stop.load() && refusals < 3) {
    // A session of about two seconds at 30 idles a second, then a pause.
    if (!a.dispatch(effEditOpen, 0, 0, parent.handle())) {
      ++refusals;
      continue;
    }
    for (int i = 0; i < 60 && !stop.load(); ++i) {
      parent.pump();
      a.dispatch(effEditIdle);
      std::this_thread::sleep_for(std::chrono::milliseconds(33));
    }
    a.dispatch(effEditClose);
    ++n.editorSessions;
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
  }
}

}  // namespace

int runSoak(const Options& options) {
  const std::vector<double> rates = {44100.0, 48000.0, 96000.0};
  std::vector<std::unique_ptr<Instance>> instances;
  for (int i = 0; i < options.soakInstances; ++i) {
    auto a = std::make_unique<Instance>();
    if (!a->load(options.module)) {
      std::printf("FAIL  soak: cannot load: %s\n", a->error().c_str());
      return 1;
    }
    a->host().setRecording(false);
    a->configure(rates[static_cast<std::size_t>(i) % rates.size()], 512);
    instances.push_back(std::move(a));
  }
  SoakCounts n;
  std::atomic<bool> stop{false};
  std::vector<std::thread> threads;
  for (int i = 0; i < options.soakInstances; ++i) {
    Instance& a = *instances[static_cast<std::size_t>(i)];
    threads.emplace_back(audioThread, std::ref(a), i, std::cref(stop), std::ref(n));
    threads.emplace_back(automationThread, std::ref(a), i, std::cref(stop), std::ref(n));
    if (options.editor) threads.emplace_back(editorThread, std::ref(a), std::cref(stop), std::ref(n));
  }
  setCurrentTest("soak");
  const auto start = Clock::now();
  while (std::chrono::duration<double>(Clock::now() - start).count() < options.soakSeconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(250));
    setCurrentTest("soak");  // a live soak is not a hang
  }
  stop = true;
  for (auto& t : threads) t.join();
  long allocations = 0;
  for (auto& a : instances) allocations += a->laterBlockCounts().allocations;
  instances.clear();
  const bool failed = n.faulty > 0 || allocations > 0;
  std::printf("%s  soak: %d instances for %.0f s: %ld blocks, %ld frames, %ld automation writes, %ld program changes, "
              "%ld editor sessions; %ld faulty blocks; %s\n",
              failed ? "FAIL" : "PASS", options.soakInstances, options.soakSeconds, n.blocks.load(), n.frames.load(),
              n.writes.load(), n.programChanges.load(), n.editorSessions.load(), n.faulty.load(),
              pathCountingAvailable() ? format("%ld allocations on the audio path after the first block", allocations).c_str()
                                      : "allocations not counted in this build");
  return failed ? 1 : 0;
}

}  // namespace zendrel::validate
