// The editor base as the host's dispatcher drives it (headless frames), the
// paced idle cycle and the frame-level additions: mouse observer, wheel,
// window loss.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "plugin/vst/audio_effect.h"
#include "toolkit/draw_context.h"
#include "toolkit/frame.h"
#include "toolkit/gui_editor.h"
#include "toolkit/idle_pacing.h"

namespace zendrel::test {
namespace {

using namespace Toolkit;
using Log = std::vector<std::string>;

// ---- the idle cycle's pacing --------------------------------------------------

TEST(IdlePacing, SoonerThanTheNextCycleSleepsAndRunsOnlyInItsLastHalf) {
  const uint32_t t0 = 1000;
  const uint32_t last = t0 + kIdlePeriodMs;  // what the cycle at t0 left
  const IdlePacing at20 = paceIdle(t0 + 20, last);
  EXPECT_TRUE(at20.sleepFirst);
  EXPECT_FALSE(at20.run);
  const IdlePacing at60 = paceIdle(t0 + 60, last);
  EXPECT_TRUE(at60.sleepFirst);
  EXPECT_TRUE(at60.run);
  EXPECT_EQ(at60.now, t0 + 64);
  for (uint32_t later : {100u, 101u, 5000u}) {
    const IdlePacing p = paceIdle(t0 + later, last);
    EXPECT_FALSE(p.sleepFirst);
    EXPECT_TRUE(p.run);
    EXPECT_EQ(p.now, t0 + later);
  }
}

TEST(IdlePacing, TheTickCounterWrappingAroundChangesNothing) {
  const uint32_t t0 = 0xffffffffu - 30;  // the cycle ran 31 ms before the wrap
  const uint32_t last = t0 + kIdlePeriodMs;  // wraps to 69
  EXPECT_FALSE(paceIdle(t0 + 20, last).run);
  EXPECT_TRUE(paceIdle(t0 + 60, last).run);  // after the wrap: tick 29
  EXPECT_TRUE(paceIdle(t0 + 120, last).run);
  EXPECT_FALSE(paceIdle(t0 + 120, last).sleepFirst);
}

// ---- the editor base through the dispatcher ----------------------------------

Log hostLog;
class Effect;
Effect* current = nullptr;

VstIntPtr host(AEffect*, VstInt32 opcode, VstInt32 index, VstIntPtr, void*, float);

class Effect : public AudioEffectX {
 public:
  Effect() : AudioEffectX(host, 1, 8) {}
  void processReplacing(float**, float**, VstInt32) override {}
};

// A frame that counts its idle calls.
class CountingFrame : public CFrame {
 public:
  CountingFrame(EditorInterface* e) : CFrame(CRect(0, 0, 100, 80), nullptr, e) {}
  void idle() override {
    ++idles;
    CFrame::idle();
  }
  int idles = 0;
};

class KeyView : public CView {
 public:
  KeyView() : CView(CRect(0, 0, 10, 10)) { setWantsFocus(true); }
  int32_t onKeyDown(VstKeyCode& key) override { return key.character == 'a' ? 1 : -1; }
  int32_t onKeyUp(VstKeyCode&) override { return 0; }
};

class Editor : public AEffGUIEditor {
 public:
  explicit Editor(AudioEffect* fx) : AEffGUIEditor(fx) { rect = {0, 0, 80, 100}; }
  ~Editor() override { close(); }
  bool open(void* parent) override {
    if (frame) close();
    AEffGUIEditor::open(parent);
    frame = counting = new CountingFrame(this);
    keys = new KeyView;
    frame->addView(keys);
    frame->setFocusView(keys);
    return true;
  }
  void close() override {
    if (frame) frame->release();
    frame = nullptr;
    AEffGUIEditor::close();
  }
  CountingFrame* counting = nullptr;
  KeyView* keys = nullptr;
};

VstIntPtr host(AEffect*, VstInt32 opcode, VstInt32 index, VstIntPtr, void*, float) {
  switch (opcode) {
    case audioMasterBeginEdit: hostLog.push_back("begin " + std::to_string(index)); break;
    case audioMasterEndEdit: hostLog.push_back("end " + std::to_string(index)); break;
    case audioMasterIdle:
      hostLog.push_back("idle");
      // A host that answers its idle request by idling the editor at once.
      if (current) current->dispatcher(effEditIdle, 0, 0, nullptr, 0.0f);
      break;
    default: break;
  }
  return 0;
}

class EditorBase : public ::testing::Test {
 protected:
  void SetUp() override {
    hostLog.clear();
    current = &effect;
    editor = new Editor(&effect);  // registers itself with the effect
  }
  void TearDown() override { current = nullptr; }
  VstIntPtr dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr, float opt = 0) {
    return effect.dispatcher(opcode, index, value, ptr, opt);
  }
  Effect effect;
  Editor* editor = nullptr;
};

TEST_F(EditorBase, AnswersTheEditorOpcodes) {
  EXPECT_EQ(effect.getEditor(), editor);
  EXPECT_TRUE(effect.getAeffect()->flags & effFlagsHasEditor);
  ERect* r = nullptr;
  EXPECT_EQ(dispatch(effEditGetRect, 0, 0, &r), 1);
  ASSERT_NE(r, nullptr);
  EXPECT_EQ(r->right, 100);
  EXPECT_EQ(r->bottom, 80);

  int parent = 0;
  EXPECT_EQ(dispatch(effEditOpen, 0, 0, &parent), 1);  // what the editor's open answers
  EXPECT_TRUE(editor->isOpen());
  dispatch(effEditIdle);
  EXPECT_EQ(editor->counting->idles, 1);
  dispatch(effEditClose);
  EXPECT_FALSE(editor->isOpen());
  EXPECT_EQ(editor->getFrame(), nullptr);
}

TEST(EditorBasePlain, OpenStoresTheWindowAndAnswersZero) {
  Effect fx;
  auto* plain = new AEffGUIEditor(&fx);
  int parent = 0;
  EXPECT_EQ(fx.dispatcher(effEditOpen, 0, 0, &parent, 0.0f), 0);
  EXPECT_TRUE(plain->isOpen());
  fx.dispatcher(effEditIdle, 0, 0, nullptr, 0.0f);  // no frame: nothing
  fx.dispatcher(effEditClose, 0, 0, nullptr, 0.0f);
  EXPECT_FALSE(plain->isOpen());
}

TEST_F(EditorBase, KeysCountOnlyWhenTheFrameUsedThem) {
  dispatch(effEditOpen);
  EXPECT_EQ(dispatch(effEditKeyDown, 'a'), 1);
  EXPECT_EQ(dispatch(effEditKeyDown, 'b'), 0);
  EXPECT_EQ(dispatch(effEditKeyUp, 'a'), 0);  // the view answered 0: not positive
  dispatch(effEditClose);
  EXPECT_EQ(dispatch(effEditKeyDown, 'a'), 0);  // no frame
}

TEST_F(EditorBase, KnobModeIsOneForTheWholeProcess) {
  Effect other;
  auto* second = new Editor(&other);
  EXPECT_EQ(dispatch(effSetEditKnobMode, 0, 2), 1);
  EXPECT_EQ(second->getKnobMode(), 2);
  EXPECT_EQ(other.dispatcher(effSetEditKnobMode, 0, 0, nullptr, 0.0f), 1);
  EXPECT_EQ(editor->getKnobMode(), 0);
}

TEST_F(EditorBase, EditGesturesOfDeclaredParametersReachTheHost) {
  editor->beginEdit(7);
  editor->endEdit(7);
  editor->beginEdit(8);  // beyond the eight the effect declares
  editor->endEdit(8);
  EXPECT_EQ(hostLog, (Log{"begin 7", "end 7"}));
}

TEST_F(EditorBase, TheIdleCycleIdlesThenAsksTheHostWhichCannotReenter) {
  dispatch(effEditOpen);
  // Long enough after construction for the cycle to run at once.
  std::this_thread::sleep_for(std::chrono::milliseconds(kIdlePeriodMs + 10));
  editor->runIdleCycle();
  EXPECT_EQ(hostLog, (Log{"idle"}));
  // The cycle's own idle ran; the host's idle from inside the request did not.
  EXPECT_EQ(editor->counting->idles, 1);
  dispatch(effEditIdle);
  EXPECT_EQ(editor->counting->idles, 2);
}

TEST_F(EditorBase, IdleAndCloseWithoutAWindowAreHarmless) {
  dispatch(effEditIdle);
  dispatch(effEditClose);
  dispatch(effEditClose);
  editor->drawEditorRect(nullptr);
  dispatch(effEditOpen);
  dispatch(effEditOpen);  // a second open without a close replaces nothing it must keep
  dispatch(effEditClose);
  SUCCEED();
}

TEST_F(EditorBase, DrawEditorRectPaintsThroughTheSharedContext) {
  dispatch(effEditOpen);
  CFrame* frame = editor->getFrame();
  frame->setBackgroundColor(CColor(10, 200, 30));
  auto* context = new COffscreenContext(frame, 100, 80);
  frame->setFrameContext(context);
  ERect area{5, 5, 15, 25};  // top, left, bottom, right
  editor->drawEditorRect(&area);
  EXPECT_EQ(context->getPixel(10, 10), 0xff0ac81eu);
  EXPECT_EQ(context->getPixel(30, 10), 0u);  // outside the rectangle: untouched
  frame->setFrameContext(nullptr);
  context->release();
}

// ---- frame additions --------------------------------------------------------------

class Observer : public IMouseObserver {
 public:
  void onMouseEntered(CView*, CFrame*) override { log.push_back("entered"); }
  void onMouseExited(CView*, CFrame*) override { log.push_back("exited"); }
  void onMouseMoved(CFrame*, const CPoint& where) override {
    log.push_back("moved " + std::to_string(where.h));
  }
  void onMouseDown(CFrame*, const CPoint& where) override { log.push_back("down " + std::to_string(where.h)); }
  Log log;
};

class WheelView : public CView {
 public:
  WheelView() : CView(CRect(0, 0, 50, 50)) {}
  bool onWheel(const CPoint&, float distance, MouseButtons) override {
    wheel += distance;
    return true;
  }
  float wheel = 0;
};

TEST(FrameAdditions, TheMouseObserverHearsFirst) {
  auto* frame = new CFrame(CRect(0, 0, 100, 100), nullptr, nullptr);
  auto* view = new WheelView;
  frame->addView(view);
  Observer observer;
  frame->setMouseObserver(&observer);
  frame->onMouseMoved(CPoint(10, 10), 0);
  frame->onMouseMoved(CPoint(70, 10), 0);
  frame->onMouseMoved(CPoint(20, 10), 0);
  frame->onMouseDown(CPoint(30, 10), kLeftButton);
  EXPECT_EQ(observer.log, (Log{"moved 10", "entered", "moved 70", "exited", "moved 20", "entered", "exited",
                               "down 30"}));
  frame->release();
}

TEST(FrameAdditions, WheelNotchesReachTheViewUnderThePointer) {
  auto* frame = new CFrame(CRect(0, 0, 100, 100), nullptr, nullptr);
  auto* view = new WheelView;
  frame->addView(view);
  EXPECT_TRUE(frame->onWheel(CPoint(10, 10), 1.0f, 0));
  EXPECT_TRUE(frame->onWheel(CPoint(10, 10), -3.0f, 0));
  EXPECT_FALSE(frame->onWheel(CPoint(80, 80), 1.0f, 0));
  EXPECT_EQ(view->wheel, -2.0f);
  frame->release();
}

TEST(FrameAdditions, ALostWindowStopsIdleAndSizes) {
  auto* frame = new CFrame(CRect(0, 0, 100, 100), nullptr, nullptr);
  auto* view = new WheelView;
  frame->addView(view);
  frame->takeInvalidRect();
  view->setDirty(true);
  frame->windowDestroyed();
  frame->idle();
  EXPECT_FALSE(frame->hasInvalidRect());
  EXPECT_FALSE(frame->setSize(200, 100));
  EXPECT_FALSE(frame->setPosition(1, 1));
  CPoint where(5, 5);
  EXPECT_FALSE(frame->getCurrentMouseLocation(where));
  EXPECT_EQ(frame->getCurrentMouseButtons(), 0u);
  frame->release();
}

}  // namespace
}  // namespace zendrel::test
