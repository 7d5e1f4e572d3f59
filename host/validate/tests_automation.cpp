// Automation as hosts send it: random values for random parameters every 32
// frames between blocks, the same from a second thread while blocks run, and
// automation, audio and the editor on three threads at once.
#include <atomic>
#include <chrono>
#include <thread>

#include "host/validate/editor_window.h"
#include "host/validate/instance.h"
#include "host/validate/transport_script.h"

namespace zendrel::validate {

namespace {

double secondsFor(const Check& c) { return c.level() >= 3 ? 5.0 : c.level() == 2 ? 1.5 : 0.3; }

using Clock = std::chrono::steady_clock;

bool elapsed(Clock::time_point start, double seconds) {
  return std::chrono::duration<double>(Clock::now() - start).count() >= seconds;
}

// Blocks on the calling thread until stop; counts blocks and faulty ones.
struct AudioLoop {
  std::atomic<long> blocks{0}, faulty{0};
  std::string first;  // written by the audio thread only, read after join

  void run(Instance& a, int block, const std::atomic<bool>& stop) {
    Buffers buffers(a.effect()->numInputs, a.effect()->numOutputs, block);
    Signal signal;
    TransportScript script(a.rate());
    script.start(a, TransportPhase::kPlaying);
    long frame = 0;
    while (!stop.load(std::memory_order_relaxed)) {
      buffers.prepare(signal, frame, block);
      a.process(buffers.inputs(), buffers.outputs(false), block);
      const BlockFaults f = buffers.check(block, false);
      if (f.any() && faulty++ == 0) first = format("block %ld ", blocks.load()) + f.describe();
      ++blocks;
      frame += block;
      // Hosts pace their audio; an unpaced loop would starve the other threads
      // of the host's own lock.
      std::this_thread::yield();
    }
  }
  void report(Check& c) const {
    if (faulty) c.fail(format("%ld of %ld blocks faulty; %s", faulty.load(), blocks.load(), first.c_str()));
  }
};

void automationEvery32(Check& c) {
  auto a = openInstance(c, 48000.0, 32);
  if (!a || a->numParams() == 0) return;
  Buffers buffers(a->effect()->numInputs, a->effect()->numOutputs, 32);
  Signal signal;
  TransportScript script(48000.0);
  script.start(*a, TransportPhase::kPlaying);
  const long total = static_cast<long>(48000.0 * secondsFor(c) * 4);
  long faulty = 0, writes = 0, programChanges = 0;
  for (long frame = 0; frame < total; frame += 32) {
    for (int k = c.uniform(1, 4); k > 0; --k, ++writes) a->host().setParameter(c.uniform(0, a->numParams() - 1), c.unit());
    if (a->numPrograms() > 1 && c.uniform(0, 999) == 0) {
      a->dispatch(effSetProgram, 0, c.uniform(0, a->numPrograms() - 1));
      ++programChanges;
    }
    buffers.prepare(signal, frame, 32);
    a->process(buffers.inputs(), buffers.outputs(false), 32);
    const BlockFaults f = buffers.check(32, false);
    if (f.any() && faulty++ == 0) c.fail(format("frame %ld: a block ", frame) + f.describe());
  }
  if (faulty > 1) c.fail(format("%ld faulty blocks in all", faulty));
  c.saw(format("%ld frames in 32-frame blocks, %ld parameter writes, %ld program changes", total, writes,
               programChanges));
}

// Automation from a second thread while the blocks run.
void automationSecondThread(Check& c) {
  auto a = openInstance(c, 44100.0, 256);
  if (!a || a->numParams() == 0) return;
  std::atomic<bool> stop{false};
  AudioLoop loop;
  std::thread audio([&] { loop.run(*a, 256, stop); });
  long writes = 0;
  const auto start = Clock::now();
  while (!elapsed(start, secondsFor(c))) {
    a->host().setParameter(c.uniform(0, a->numParams() - 1), c.unit());
    (void)a->host().getParameter(c.uniform(0, a->numParams() - 1));
    if (++writes % 64 == 0) std::this_thread::yield();
  }
  stop = true;
  audio.join();
  loop.report(c);
  c.saw(format("%ld writes from a second thread during %ld blocks", writes, loop.blocks.load()));
}

// Automation, audio and the editor, each on its own thread.
void threadsThree(Check& c) {
  auto a = openInstance(c, 48000.0, 512);
  if (!a) return;
  std::atomic<bool> stop{false};
  AudioLoop loop;
  std::atomic<long> sessions{0}, refusals{0};
  const bool editor = a->hasEditor() && c.options().editor;
  std::thread audio([&] { loop.run(*a, 512, stop); });
  std::thread ui([&] {
    if (!editor) return;
    ParentWindow parent(1024, 768);
    while (!stop.load()) {
      if (editorSession(*a, parent, 4))
        ++sessions;
      else if (++refusals > 3)
        break;  // an editor that does not open: the thread has nothing to do
    }
  });
  std::mt19937_64 rng(c.seed() ^ 0x5eed);
  long writes = 0;
  const auto start = Clock::now();
  while (!elapsed(start, secondsFor(c))) {
    if (a->numParams() > 0) a->host().setParameter(static_cast<VstInt32>(rng() % a->numParams()), (rng() >> 40) / 16777216.0f);
    if (a->numPrograms() > 1 && rng() % 5000 == 0) a->dispatch(effSetProgram, 0, static_cast<VstIntPtr>(rng() % a->numPrograms()));
    if (++writes % 64 == 0) std::this_thread::yield();
  }
  stop = true;
  audio.join();
  ui.join();
  loop.report(c);
  std::string editorText = !editor ? "no editor" : sessions ? format("%ld editor sessions", sessions.load())
                                                            : "the editor refused to open (no editor window)";
  c.saw(format("%ld blocks, %ld automation writes, %s", loop.blocks.load(), writes, editorText.c_str()));
}

}  // namespace

const std::vector<TestInfo>& automationTests() {
  static const std::vector<TestInfo> tests = {
      {"automation.every-32-frames", 1, false, automationEvery32},
      {"automation.second-thread", 1, false, automationSecondThread},
  };
  return tests;
}

// After the editor's own tests: this one runs everything at once.
const std::vector<TestInfo>& threadTests() {
  static const std::vector<TestInfo> tests = {
      {"threads.audio-automation-editor", 1, false, threadsThree},
  };
  return tests;
}

}  // namespace zendrel::validate
