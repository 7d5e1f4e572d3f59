// The editor as hosts drive it: its size, open/idle/close cycles on a real
// parent window where there is one, the same while audio runs, and opening at
// the moments hosts choose (before the first block, after a 0-frame block,
// after a rate change). An editor that refuses to open is noted, not failed.
#include <atomic>
#include <thread>

#include "host/validate/editor_window.h"
#include "host/validate/instance.h"

namespace zendrel::validate {

bool editorSession(Instance& a, ParentWindow& parent, int idles) {
  ERect* rect = nullptr;
  a.dispatch(effEditGetRect, 0, 0, &rect);
  if (!a.dispatch(effEditOpen, 0, 0, parent.handle())) return false;
  for (int i = 0; i < idles; ++i) {
    parent.pump();
    a.dispatch(effEditIdle);
  }
  a.dispatch(effEditClose);
  parent.pump();
  return true;
}

namespace {

// The editor's size; false (and the test skipped) without an editor.
bool hasEditor(Check& c, Instance& a) {
  if (!a.hasEditor()) {
    c.skip("the module has no editor");
    return false;
  }
  return true;
}

void refused(Check& c, const ParentWindow& parent) {
  c.skip(format("no editor window (effEditOpen answered 0 with %s as parent)", parent.kind()));
}

// A block of audio must still come out clean between editor sessions.
void cleanBlock(Check& c, Instance& a, const char* when) {
  Buffers buffers(a.effect()->numInputs, a.effect()->numOutputs, 256);
  buffers.prepare(Signal{}, 0, 256);
  a.process(buffers.inputs(), buffers.outputs(false), 256);
  const BlockFaults f = buffers.check(256, false);
  if (f.any()) c.fail(format("%s, a block ", when) + f.describe());
}

void editorRect(Check& c) {
  auto a = openInstance(c);
  if (!a || !hasEditor(c, *a)) return;
  ERect* first = nullptr;
  ERect* second = nullptr;
  const VstIntPtr answer = a->dispatch(effEditGetRect, 0, 0, &first);
  a->dispatch(effEditGetRect, 0, 0, &second);
  if (!answer || !first) {
    c.saw("effEditGetRect gives no size before the editor opens");
    return;
  }
  const int w = first->right - first->left, h = first->bottom - first->top;
  if (w <= 0 || h <= 0 || w > 8192 || h > 8192) c.fail(format("implausible editor size %d x %d", w, h));
  if (!second || second->right - second->left != w || second->bottom - second->top != h)
    c.fail("the editor size changes between two asks");
  c.saw(format("%d x %d", w, h));
}

void editorCycles(Check& c) {
  auto a = openInstance(c);
  if (!a || !hasEditor(c, *a)) return;
  ParentWindow parent(1024, 768);
  const int cycles = c.level() >= 2 ? 100 : 10;
  for (int i = 0; i < cycles && !c.enough(); ++i) {
    if (!editorSession(*a, parent, 3)) return refused(c, parent);
    cleanBlock(c, *a, format("after editor cycle %d", i + 1).c_str());
  }
  c.saw(format("%d cycles of open, 3 idles, close on %s", cycles, parent.kind()));
}

void editorWhileProcessing(Check& c) {
  auto a = openInstance(c);
  if (!a || !hasEditor(c, *a)) return;
  ParentWindow parent(1024, 768);
  std::atomic<bool> stop{false};
  std::atomic<long> faults{0}, blocks{0};
  std::thread audio([&] {
    Buffers buffers(a->effect()->numInputs, a->effect()->numOutputs, 128);
    long frame = 0;
    while (!stop.load()) {
      buffers.prepare(Signal{}, frame, 128);
      a->process(buffers.inputs(), buffers.outputs(false), 128);
      if (buffers.check(128, false).any()) ++faults;
      ++blocks;
      frame += 128;
    }
  });
  const int cycles = c.level() >= 3 ? 100 : c.level() == 2 ? 30 : 5;
  bool opened = true;
  for (int i = 0; i < cycles && opened; ++i) opened = editorSession(*a, parent, 5);
  stop = true;
  audio.join();
  if (!opened) return refused(c, parent);
  if (faults) c.fail(format("%ld faulty blocks while the editor opened and closed", faults.load()));
  c.saw(format("%d editor cycles during %ld audio blocks", cycles, blocks.load()));
}

void editorOpenMoments(Check& c) {
  ParentWindow parent(1024, 768);
  {
    auto a = openInstance(c);
    if (!a || !hasEditor(c, *a)) return;
    if (!editorSession(*a, parent, 2)) return refused(c, parent);
    cleanBlock(c, *a, "after opening before the first block");
  }
  {
    auto a = openInstance(c);
    if (!a) return;
    Buffers buffers(a->effect()->numInputs, a->effect()->numOutputs, 16);
    a->process(buffers.inputs(), buffers.outputs(false), 0);
    editorSession(*a, parent, 2);
    cleanBlock(c, *a, "after opening at 0 frames");
  }
  {
    auto a = openInstance(c);
    if (!a) return;
    cleanBlock(c, *a, "before a rate change");
    a->configure(96000.0, 64);
    editorSession(*a, parent, 2);
    cleanBlock(c, *a, "after opening after a rate change");
  }
  c.saw("opened before the first block, after a 0-frame block and after a rate change");
}

}  // namespace

const std::vector<TestInfo>& editorTests() {
  static const std::vector<TestInfo> tests = {
      {"editor.size", 1, true, editorRect},
      {"editor.open-moments", 1, true, editorOpenMoments},
      {"editor.cycles", 1, true, editorCycles},
      {"editor.while-processing", 1, true, editorWhileProcessing},
  };
  return tests;
}

}  // namespace zendrel::validate
