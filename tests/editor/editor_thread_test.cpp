// Host automation on one thread, audio blocks on another, the editor's idle
// and the user's clicks on a third, all at once for a while: nothing races
// (run under ThreadSanitizer in the test run), and once the threads stop the
// editor shows what the effect holds.
#include <atomic>
#include <chrono>
#include <random>
#include <thread>

#include "tests/editor/editor_support.h"

namespace zendrel::test {
namespace {

using namespace Toolkit;
using namespace zendrel;

VstTimeInfo playing;

VstIntPtr timedHost(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
  if (opcode == audioMasterVersion) return kVstVersion;
  if (opcode == audioMasterGetTime) return reinterpret_cast<VstIntPtr>(&playing);
  return 0;
}

TEST(EditorThreads, AutomationAudioAndTheEditorAtOnce) {
  playing = VstTimeInfo{};
  playing.sampleRate = 44100.0;
  playing.tempo = 133.0;
  playing.flags = kVstTempoValid | kVstPpqPosValid;  // stopped: the pattern runs on by itself
  Zendrel effect(timedHost, &createZendrelEditor);
  std::atomic<bool> stop{false};
  std::atomic<bool> opened{false};

  std::thread editorThread([&] {
    auto* editor = static_cast<ZendrelEditor*>(effect.getEditor());
    effect.dispatcher(effEditOpen, 0, 0, nullptr, 0.0f);
    opened = true;
    std::mt19937 rng(7);
    int round = 0;
    while (!stop) {
      effect.dispatcher(effEditIdle, 0, 0, nullptr, 0.0f);
      CFrame* frame = editor->getFrame();
      const int x = 55 + 50 * int(rng() % 16) + 10;
      switch (round++ % 4) {
        case 0:  // a note length button
          frame->onMouseDown(CPoint(x, 390), kLeftButton);
          frame->onMouseUp(CPoint(x, 390), 0);
          break;
        case 1:  // a slider drag
          frame->onMouseDown(CPoint(x, 100), kLeftButton);
          frame->onMouseMoved(CPoint(x, 60 + int(rng() % 150)), kLeftButton);
          frame->onMouseUp(CPoint(x, 60), 0);
          break;
        case 2:  // a merge
          frame->onMouseDown(CPoint(x, 30), kLeftButton);
          break;
        default:  // the page switch
          frame->onMouseDown(CPoint(rng() % 2 ? 70 : 130, 505), kLeftButton);
          frame->onMouseUp(CPoint(70, 505), 0);
          break;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
  });
  while (!opened) std::this_thread::yield();

  std::thread automation([&] {
    std::mt19937 rng(11);
    while (!stop) {
      effect.setParameter(VstInt32(rng() % kNumParams), float(rng() % 1000) / 999.0f);
      if (rng() % 200 == 0) effect.setProgram(VstInt32(rng() % kNumPrograms));
      std::this_thread::yield();
    }
  });
  std::thread audio([&] {
    std::vector<float> left(256, 0.5f), right(256, 0.5f);
    float* io[] = {left.data(), right.data()};
    while (!stop) {
      effect.processReplacing(io, io, 256);
      std::this_thread::yield();
    }
  });

  std::this_thread::sleep_for(std::chrono::seconds(3));
  stop = true;
  automation.join();
  audio.join();
  editorThread.join();

  // The editor's thread is gone: open afresh here and see the effect's values.
  effect.dispatcher(effEditClose, 0, 0, nullptr, 0.0f);
  effect.dispatcher(effEditOpen, 0, 0, nullptr, 0.0f);
  auto* editor = static_cast<ZendrelEditor*>(effect.getEditor());
  for (int32_t i = 0; i < kNumParams; ++i) EXPECT_EQ(editor->controlByTag(i)->getValue(), effect.getParameter(i)) << i;
  effect.dispatcher(effEditClose, 0, 0, nullptr, 0.0f);
}

}  // namespace
}  // namespace zendrel::test
