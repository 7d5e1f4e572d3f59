// One control of every kind in a frame opened by an editor in a real window,
// driven through the dispatcher as a host drives it, with real input: what the
// user sees (pixels from the screen) and what the host hears (edit gestures,
// automation, idle requests).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "plugin/vst/audio_effect.h"
#include "tests/support/parameter_calls.h"
#include "tests/support/pixels.h"
#include "tests/support/window_test_host.h"
#include "toolkit/bitmap.h"
#include "toolkit/controls.h"
#include "toolkit/frame.h"
#include "toolkit/gui_editor.h"

namespace zendrel::test {
namespace {

using namespace Toolkit;

using Log = std::vector<std::string>;

Log hostLog;

std::string fmt(float v) {
  char text[32];
  std::snprintf(text, sizeof text, "%.6f", static_cast<double>(v));
  return text;
}

VstIntPtr recordingHost(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr, void*, float opt) {
  expectDeclaredParameter(effect, opcode, index);
  switch (opcode) {
    case audioMasterVersion: return 2400;
    case audioMasterAutomate: hostLog.push_back("automate " + std::to_string(index) + " " + fmt(opt)); break;
    case audioMasterBeginEdit: hostLog.push_back("begin " + std::to_string(index)); break;
    case audioMasterEndEdit: hostLog.push_back("end " + std::to_string(index)); break;
    case audioMasterIdle: hostLog.push_back("idle"); break;
    default: break;
  }
  return 0;
}

class Effect : public AudioEffectX {
 public:
  Effect() : AudioEffectX(recordingHost, 1, 8) {}
  void processReplacing(float**, float**, VstInt32) override {}
  void setParameter(VstInt32 index, float value) override {
    if (index >= 0 && index < 8) values[index] = value;
  }
  float getParameter(VstInt32 index) override { return index >= 0 && index < 8 ? values[index] : 0.0f; }
  float values[8] = {};
};

// Colours of the synthetic images; each strip frame has its own.
constexpr uint32_t kSlot = 0x303030;
constexpr uint32_t kHandle = 0x2030e0;
constexpr uint32_t kKickUp = 0x808000, kKickDown = 0xffff00;
constexpr uint32_t kOff = 0x004040, kOn = 0x00ffff;
constexpr uint32_t kSwitch0 = 0x800000, kSwitch1 = 0xff0000;
constexpr uint32_t kMovie[3] = {0x101080, 0x108010, 0x801010};
constexpr uint32_t kSplash = 0xe0e0e0;
constexpr uint32_t kBack = 0x7f7f7f;

enum Tag { kSliderTag = 1, kKickTag, kOnOffTag, kSwitchTag, kMovieTag, kSplashTag };

CBitmap* strip(int32_t w, int32_t frameHeight, std::initializer_list<uint32_t> colours) {
  std::vector<uint32_t> px;
  for (uint32_t c : colours) px.insert(px.end(), std::size_t(w) * std::size_t(frameHeight), 0xff000000 | c);
  return CBitmap::createFromPixels(px.data(), w, frameHeight * int32_t(colours.size()));
}

class Editor : public AEffGUIEditor, public CControlListener {
 public:
  explicit Editor(AudioEffect* fx) : AEffGUIEditor(fx) { rect = {0, 0, 300, 400}; }
  ~Editor() override { close(); }

  bool open(void* parent) override {
    AEffGUIEditor::open(parent);
    frame = new CFrame(CRect(0, 0, 400, 300), parent, this);
    frame->setBackgroundColor(CColor(0x7f, 0x7f, 0x7f));
    CBitmap* slot = strip(40, 200, {kSlot});
    CBitmap* handle = strip(40, 28, {kHandle});
    frame->addView(slider = new CVerticalSlider(CRect(20, 20, 60, 220), this, kSliderTag, CPoint(0, 0), 200, handle,
                                                slot, CPoint(0, 0)));
    CBitmap* kick = strip(20, 18, {kKickUp, kKickDown});
    frame->addView(kickButton = new CKickButton(CRect(100, 20, 120, 38), this, kKickTag, kick, CPoint(0, 0)));
    CBitmap* onOff = strip(40, 20, {kOff, kOn});
    frame->addView(onOffButton = new COnOffButton(CRect(100, 60, 140, 80), this, kOnOffTag, onOff));
    CBitmap* sw = strip(40, 28, {kSwitch0, kSwitch1});
    frame->addView(horizontalSwitch =
                       new CHorizontalSwitch(CRect(100, 100, 140, 128), this, kSwitchTag, 2, 28, 2, sw, CPoint(0, 0)));
    CBitmap* movie = strip(40, 28, {kMovie[0], kMovie[1], kMovie[2]});
    frame->addView(movieBitmap = new CMovieBitmap(CRect(160, 20, 200, 48), this, kMovieTag, 3, 28, movie, CPoint()));
    CBitmap* splash = strip(200, 100, {kSplash});
    frame->addView(splashScreen = new CSplashScreen(CRect(300, 250, 340, 290), this, kSplashTag, splash,
                                                    CRect(100, 100, 300, 200), CPoint(0, 0)));
    for (CBitmap* b : {slot, handle, kick, onOff, sw, movie, splash}) b->release();
    return true;
  }
  void close() override {
    if (frame) frame->release();
    frame = nullptr;
    AEffGUIEditor::close();
  }
  void setParameter(VstInt32 index, float value) override {
    if (!frame) return;
    for (CControl* c : {static_cast<CControl*>(slider), static_cast<CControl*>(movieBitmap)})
      if (c->getTag() == index) c->setValue(value);
  }
  void valueChanged(CControl* control) override {
    effect->setParameterAutomated(control->getTag(), control->getValue());
  }

  CVerticalSlider* slider = nullptr;
  CKickButton* kickButton = nullptr;
  COnOffButton* onOffButton = nullptr;
  CHorizontalSwitch* horizontalSwitch = nullptr;
  CMovieBitmap* movieBitmap = nullptr;
  CSplashScreen* splashScreen = nullptr;
};

// Screen pixels carry no alpha: the colour channels within 2.
bool onScreen(uint32_t a, uint32_t b) { return static_cast<bool>(near(a | 0xff000000u, b | 0xff000000u, 2)); }

class WindowControls : public ::testing::Test {
 protected:
  void SetUp() override {
    hostLog.clear();
    std::string error;
    host = TestWindowHost::create(400, 300, error);
    ASSERT_TRUE(host) << error;
    editor = new Editor(&effect);
    ERect* r = nullptr;
    ASSERT_EQ(effect.dispatcher(effEditGetRect, 0, 0, &r, 0.0f), 1);
    ASSERT_EQ(r->right, 400);
    ASSERT_EQ(effect.dispatcher(effEditOpen, 0, 0, host->parentHandle(), 0.0f), 1);
    idle = [this] { effect.dispatcher(effEditIdle, 0, 0, nullptr, 0.0f); };
    host->moveTo(-15, -15);
    ASSERT_TRUE(waitFor(30, 30, kSlot));
    hostLog.clear();
  }
  void TearDown() override { effect.dispatcher(effEditClose, 0, 0, nullptr, 0.0f); }

  uint32_t pixel(int32_t x, int32_t y) {
    std::vector<uint32_t> px;
    return host->readPixels(CRect(x, y, x + 1, y + 1), px) ? px[0] : 0xff000000;
  }
  bool waitFor(int32_t x, int32_t y, uint32_t colour) {
    return host->pumpUntil(idle, [&] { return onScreen(pixel(x, y), colour); });
  }
  bool waitForHost(const std::string& entry) {
    return host->pumpUntil(idle, [&] {
      for (const auto& e : hostLog)
        if (e == entry) return true;
      return false;
    });
  }
  void click(int32_t x, int32_t y) {
    host->moveTo(x, y);
    host->press(TestWindowHost::kLeft);
    host->release(TestWindowHost::kLeft);
  }
  // What the host heard, without the idle requests.
  Log edits() const {
    Log out;
    for (const auto& e : hostLog)
      if (e != "idle") out.push_back(e);
    return out;
  }

  Effect effect;
  Editor* editor = nullptr;  // owned by the effect
  std::unique_ptr<TestWindowHost> host;
  std::function<void()> idle;
};

TEST_F(WindowControls, SliderClicksAtTheTravelsEnds) {
  click(30, 20 + 13);
  ASSERT_TRUE(waitForHost("end 1"));
  EXPECT_EQ(edits(), (Log{"begin 1", "automate 1 1.000000", "end 1"}));
  EXPECT_TRUE(waitFor(30, 22, kHandle));  // handle at the top
  EXPECT_TRUE(onScreen(pixel(30, 20 + 30), kSlot));

  hostLog.clear();
  click(30, 20 + 185);
  ASSERT_TRUE(waitForHost("end 1"));
  EXPECT_EQ(edits(), (Log{"begin 1", "automate 1 0.000000", "end 1"}));
  EXPECT_TRUE(waitFor(30, 20 + 172 + 2, kHandle));  // top at trunc(172 × (1 − 0))
  EXPECT_TRUE(onScreen(pixel(30, 20 + 170), kSlot));
  EXPECT_EQ(effect.values[kSliderTag], 0.0f);
}

TEST_F(WindowControls, SliderDragAndShiftDrag) {
  host->moveTo(30, 70);
  host->press(TestWindowHost::kLeft);
  host->moveTo(30, 120);
  host->release(TestWindowHost::kLeft);
  ASSERT_TRUE(waitForHost("end 1"));
  EXPECT_EQ(edits().front(), "begin 1");
  EXPECT_EQ(edits().back(), "end 1");
  const float plain = 1.0f - float(120 - 20 - 13) / 172.0f;
  EXPECT_NEAR(effect.values[kSliderTag], plain, 1e-6);

  // Shift, gripping the handle where it is: 50 pixels move the value ten
  // times less than they would without it.
  hostLog.clear();
  host->keyDown(TestWindowHost::kShift);
  host->press(TestWindowHost::kLeft);
  host->moveTo(30, 70);
  host->release(TestWindowHost::kLeft);
  host->keyUp(TestWindowHost::kShift);
  ASSERT_TRUE(waitForHost("end 1"));
  EXPECT_NEAR(effect.values[kSliderTag] - plain, 50.0f / 172.0f / 10.0f, 1e-4);  // about 0.029
  EXPECT_EQ(edits().front(), "begin 1");
}

TEST_F(WindowControls, KickButtonReportsOnReleaseInsideAndOnlyTheReleaseOutside) {
  host->moveTo(110, 28);
  host->press(TestWindowHost::kLeft);
  EXPECT_TRUE(waitFor(110, 28, kKickDown));  // shown pressed while held
  host->release(TestWindowHost::kLeft);
  ASSERT_TRUE(waitForHost("end 2"));
  EXPECT_EQ(edits(), (Log{"begin 2", "automate 2 1.000000", "automate 2 0.000000", "end 2"}));
  EXPECT_TRUE(waitFor(110, 28, kKickUp));

  hostLog.clear();
  host->moveTo(110, 28);
  host->press(TestWindowHost::kLeft);
  host->moveTo(110, 90);
  EXPECT_TRUE(waitFor(110, 28, kKickUp));  // dragged off: released again
  host->release(TestWindowHost::kLeft);
  ASSERT_TRUE(waitForHost("end 2"));
  EXPECT_EQ(edits(), (Log{"begin 2", "automate 2 0.000000", "end 2"}));
}

TEST_F(WindowControls, OnOffButtonSwitchAndMovieBitmap) {
  click(120, 70);
  ASSERT_TRUE(waitForHost("end 3"));
  EXPECT_TRUE(waitFor(120, 70, kOn));
  // The button runs an idle cycle at once: the host is asked for idle time.
  EXPECT_EQ(hostLog, (Log{"idle", "begin 3", "automate 3 1.000000", "end 3"}));

  hostLog.clear();
  click(100 + 30, 110);
  ASSERT_TRUE(waitForHost("end 4"));
  EXPECT_EQ(edits(), (Log{"begin 4", "automate 4 1.000000", "end 4"}));
  EXPECT_TRUE(waitFor(110, 110, kSwitch1));
  hostLog.clear();
  click(100 + 10, 110);
  ASSERT_TRUE(waitForHost("end 4"));
  EXPECT_EQ(edits(), (Log{"begin 4", "automate 4 0.000000", "end 4"}));
  EXPECT_TRUE(waitFor(130, 110, kSwitch0));

  // The host sets a value: the strip shows its frame at the next idle.
  editor->setParameter(kMovieTag, 0.5f);
  EXPECT_TRUE(waitFor(170, 30, kMovie[1]));
  editor->setParameter(kMovieTag, 1.0f);
  EXPECT_TRUE(waitFor(170, 30, kMovie[2]));
}

TEST_F(WindowControls, SplashScreenIsModalUntilClicked) {
  click(320, 270);
  EXPECT_TRUE(waitFor(150, 150, kSplash));
  EXPECT_TRUE(editor->splashScreen->isSplashShown());
  // Clicks beside the picture reach nothing.
  click(110, 28);
  pumpFor(*host, idle, 100);
  EXPECT_EQ(edits(), (Log{"automate 6 1.000000"}));
  click(150, 150);
  ASSERT_TRUE(waitFor(150, 150, kBack));
  EXPECT_FALSE(editor->splashScreen->isSplashShown());
  EXPECT_EQ(edits(), (Log{"automate 6 1.000000", "automate 6 0.000000"}));
}

TEST_F(WindowControls, AWheelNotchStepsTheSliderByItsWheelStep) {
  editor->setParameter(kSliderTag, 0.5f);
  host->moveTo(30, 100);
  pumpFor(*host, idle, 50);
  host->wheel(true);
  ASSERT_TRUE(waitForHost("end 1"));
  EXPECT_EQ(edits(), (Log{"begin 1", "automate 1 0.600000", "end 1"}));
}

}  // namespace
}  // namespace zendrel::test
