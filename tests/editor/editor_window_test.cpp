// The built plug-in module, loaded through the test host as a host loads it,
// with its editor open inside a host window on a real display, driven with
// real input: what the user sees (the screen against golden pictures and
// against the module's own drawing) and what the host hears.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "host/lib/editor_requests.h"
#include "host/lib/host.h"
#include "plugin/parameter_ids.h"
#include "tests/editor/golden.h"
#include "tests/support/strict_host.h"
#include "tests/support/window_test_host.h"
#include "toolkit/base.h"

namespace zendrel::test {
namespace {

using namespace zendrel;
using Toolkit::CRect;
using Log = std::vector<std::string>;

constexpr int32_t kW = 900;
constexpr int32_t kH = 550;

// Device pixels of a logical coordinate at a display scale, as the module maps them.
int32_t device(int32_t logical, double scale) { return int32_t(std::floor(logical * scale + 0.5)); }

std::string fmt(float v) {
  char text[32];
  std::snprintf(text, sizeof text, "%.6f", static_cast<double>(v));
  return text;
}

class EditorWindow : public ::testing::Test {
 protected:
  // How the host window passes the wheel on; the wheel tests try each.
  virtual TestWindowHost::Wheel wheelRoute() const { return TestWindowHost::Wheel::kSystem; }
  // The display scale the host gives the editor before opening it.
  virtual double editorScale() const { return 1.0; }

  void SetUp() override {
    useScale(editorScale());
    std::string error;
    window = TestWindowHost::create(w, h, error, wheelRoute());
    ASSERT_TRUE(window) << error;
    ASSERT_TRUE(host.load(ZENDREL_MODULE_PATH)) << host.error();
    window->moveTo(-15, -15);
    if (scale != 1.0) {
      ASSERT_EQ(contentScale(float(scale)), 1);
    }
    ASSERT_EQ(host.dispatch(effEditOpen, 0, 0, window->parentHandle()), 1);
    idle = [this] { host.dispatch(effEditIdle); };
    ASSERT_TRUE(showsWhatTheModuleDraws());
    host.clearRequests();
  }
  void TearDown() override {
    host.dispatch(effEditClose);
    host.unload();
  }

  // The size the window and the module's drawing have at `factor`.
  void useScale(double factor) {
    scale = factor;
    w = device(kW, scale);
    h = device(kH, scale);
  }
  VstIntPtr contentScale(float factor) {
    return host.dispatch(effVendorSpecific, kContentScaleIndex, kContentScaleValue, nullptr, factor);
  }
  // The middle of the device pixels of logical pixel (x, y).
  void pointTo(int32_t x, int32_t y) {
    auto middle = [this](int32_t v) { return device(v, scale) + (device(v + 1, scale) - device(v, scale)) / 2; };
    window->moveTo(middle(x), middle(y));
  }
  // The golden picture of a name at the fixture's scale ("editor_page2@2x").
  std::string atScale(const std::string& name) const {
    if (scale == 1.0) return name;
    char suffix[16];
    std::snprintf(suffix, sizeof suffix, "@%gx", scale);
    return name + suffix;
  }

  // The screen over the editor, 0x00RRGGBB.
  std::vector<uint32_t> screen() {
    std::vector<uint32_t> px;
    window->readPixels(CRect(0, 0, w, h), px);
    return px;
  }
  // The screen shows what the module draws of its editor now (after idles).
  bool showsWhatTheModuleDraws(int timeoutMs = 4000) {
    return window->pumpUntil(idle, [&] {
      std::vector<uint32_t> drawn;
      if (!zendrel::host::snapshotEditor(host, w, h, drawn)) return false;
      const std::vector<uint32_t> shown = screen();
      if (shown.size() != drawn.size()) return false;
      for (std::size_t i = 0; i < shown.size(); ++i) {
        for (int s = 0; s < 24; s += 8)
          if (std::abs(int((shown[i] >> s) & 0xff) - int((drawn[i] >> s) & 0xff)) > kGoldenTolerance) return false;
      }
      return true;
    }, timeoutMs);
  }
  void expectGolden(const std::string& name) {
    ASSERT_TRUE(showsWhatTheModuleDraws());
    const GoldenVerdict v = compareWithGolden(atScale(name), screen(), w, h);
    EXPECT_TRUE(v.same) << v.detail;
  }
  // What the host heard of edits, in order.
  Log edits() const {
    Log out;
    for (const zendrel::host::Request& r : host.requests()) {
      if (r.opcode == audioMasterBeginEdit) out.push_back("begin " + std::to_string(r.index));
      if (r.opcode == audioMasterEndEdit) out.push_back("end " + std::to_string(r.index));
      if (r.opcode == audioMasterAutomate) out.push_back("automate " + std::to_string(r.index) + " " + fmt(r.opt));
    }
    return out;
  }
  // What the module draws now.
  std::vector<uint32_t> drawn() {
    std::vector<uint32_t> pixels;
    zendrel::host::snapshotEditor(host, w, h, pixels);
    return pixels;
  }
  // The editor's own controls (page switch, splash) reach no host: a click on
  // one has arrived once the module draws something else.
  bool drawsOtherThan(const std::vector<uint32_t>& before) {
    return window->pumpUntil(idle, [&] { return drawn() != before; });
  }
  bool heardEnd(int32_t index) {
    return window->pumpUntil(idle, [&] {
      const Log log = edits();
      return !log.empty() && log.back() == "end " + std::to_string(index);
    });
  }
  void click(int32_t x, int32_t y, TestWindowHost::Button button = TestWindowHost::kLeft) {
    pointTo(x, y);
    window->press(button);
    window->release(button);
  }
  // A click with a key held. The key goes down after the move: under Wine a
  // pointer move takes the modifier state from the X server, which keys given
  // through the Windows side never reach.
  void clickHolding(TestWindowHost::Key key, int32_t x, int32_t y, TestWindowHost::Button button) {
    pointTo(x, y);
    window->keyDown(key);
    window->press(button);
    window->release(button);
    window->keyUp(key);
  }
  // The top of a gate slider's handle for a value, in window pixels.
  static int32_t gateHandleTop(float value) { return 50 + int32_t(172.0f * (1.0f - value)); }

  std::unique_ptr<TestWindowHost> window;
  zendrel::host::Host host;
  std::function<void()> idle;
  double scale = 1.0;
  int32_t w = kW;
  int32_t h = kH;
};

// The same gestures at 1x and at 2x: a press at a logical point does exactly
// what it does unscaled, and the host hears exactly the same.
class EditorWindowAt : public EditorWindow, public ::testing::WithParamInterface<double> {
 protected:
  double editorScale() const override { return GetParam(); }
};

std::string scaleName(const ::testing::TestParamInfo<double>& p) { return p.param == 1.0 ? "At1x" : "At2x"; }

TEST_F(EditorWindow, OpensOnPageOneAsTheGoldenPictureShows) { expectGolden("editor_page1"); }

TEST_P(EditorWindowAt, GateSliderClickDragShiftDragAndDefault) {
  // A click 13 pixels below the top of gate 3 sets 1.0 (it is there already:
  // nothing changes, nothing is reported but the gesture).
  click(165, 50 + 100);
  ASSERT_TRUE(heardEnd(2));
  const float clicked = 1.0f - float(100 - 13) / 172.0f;
  EXPECT_EQ(edits(), (Log{"begin 2", "automate 2 " + fmt(clicked), "end 2"}));
  EXPECT_EQ(host.getParameter(kGate + 2), clicked);

  host.clearRequests();
  pointTo(165, 150);
  window->press(TestWindowHost::kLeft);
  pointTo(165, 120);
  window->release(TestWindowHost::kLeft);
  ASSERT_TRUE(heardEnd(2));
  const float dragged = 1.0f - float(70 - 13) / 172.0f;
  EXPECT_EQ(edits().front(), "begin 2");
  EXPECT_EQ(edits()[edits().size() - 2], "automate 2 " + fmt(dragged));
  EXPECT_EQ(host.getParameter(kGate + 2), dragged);

  host.clearRequests();
  window->keyDown(TestWindowHost::kShift);
  window->press(TestWindowHost::kLeft);
  pointTo(165, 70);
  window->release(TestWindowHost::kLeft);
  window->keyUp(TestWindowHost::kShift);
  ASSERT_TRUE(heardEnd(2));
  EXPECT_NEAR(host.getParameter(kGate + 2) - dragged, 50.0f / 172.0f / 10.0f, 1e-4);

  // Control + left click: the default, 0.5. The slider loses the focus the
  // drag gave it when the next click begins; once repainted it has nothing
  // to report, so only the default is heard, inside the drag's own bracket.
  click(20, 20);
  pumpFor(*window, idle, 100);
  host.clearRequests();
  clickHolding(TestWindowHost::kControl, 165, 200, TestWindowHost::kLeft);
  ASSERT_TRUE(heardEnd(2));
  EXPECT_EQ(edits(), (Log{"begin 2", "begin 2", "automate 2 0.500000", "end 2", "end 2"}));
  EXPECT_EQ(host.getParameter(kGate + 2), 0.5f);
  EXPECT_TRUE(showsWhatTheModuleDraws());
}

// Hosts that pass wheel messages on to the child under the pointer, and hosts
// that do not: one notch is one wheel step, heard once, and the host's window
// never gets the message back.
struct WheelCase {
  TestWindowHost::Wheel route;
  double scale;
};

class EditorWheel : public EditorWindow, public ::testing::WithParamInterface<WheelCase> {
 protected:
  TestWindowHost::Wheel wheelRoute() const override { return GetParam().route; }
  double editorScale() const override { return GetParam().scale; }
  void expectNothingWentBack(std::size_t notches) {
    const TestWindowHost::WheelTrace trace = window->wheelTrace();
    EXPECT_EQ(trace.returned, 0);
    if (TestWindowHost::wheelPassesThroughHost()) {
      EXPECT_EQ(trace.answers, std::vector<intptr_t>(notches, 0));
    }
  }
};

TEST_P(EditorWheel, ANotchStepsAGateByOneWheelStepAndShiftByATenthOfIt) {
  host.setParameter(kGate + 5, 0.5f);
  pointTo(325, 150);
  pumpFor(*window, idle, 60);
  window->wheel(false);
  ASSERT_TRUE(heardEnd(5));
  pumpFor(*window, idle, 150);  // anything more would arrive now
  EXPECT_EQ(edits(), (Log{"begin 5", "automate 5 0.400000", "end 5"}));
  EXPECT_FLOAT_EQ(host.getParameter(kGate + 5), 0.4f);

  // Shift after the move: under Wine a move takes the modifiers from the X server.
  host.clearRequests();
  window->keyDown(TestWindowHost::kShift);
  window->wheel(true);
  window->keyUp(TestWindowHost::kShift);
  ASSERT_TRUE(heardEnd(5));
  pumpFor(*window, idle, 150);
  EXPECT_EQ(edits(), (Log{"begin 5", "automate 5 0.410000", "end 5"}));
  EXPECT_NEAR(host.getParameter(kGate + 5), 0.41f, 1e-6);
  expectNothingWentBack(2);
  EXPECT_TRUE(showsWhatTheModuleDraws());
}

TEST_P(EditorWheel, ANotchOverTheBackgroundChangesNothing) {
  pointTo(450, 500);  // below the step lights, right of the page switch
  pumpFor(*window, idle, 60);
  std::vector<float> before;
  for (int32_t i = 0; i < kNumParams; ++i) before.push_back(host.getParameter(i));
  const std::vector<uint32_t> shown = screen();
  host.clearRequests();
  window->wheel(true);
  pumpFor(*window, idle, 200);
  EXPECT_EQ(edits(), Log{});
  for (int32_t i = 0; i < kNumParams; ++i) EXPECT_EQ(host.getParameter(i), before[std::size_t(i)]) << "parameter " << i;
  EXPECT_TRUE(screen() == shown);
  expectNothingWentBack(1);
}

INSTANTIATE_TEST_SUITE_P(Hosts, EditorWheel,
                         ::testing::Values(WheelCase{TestWindowHost::Wheel::kSystem, 1.0},
                                           WheelCase{TestWindowHost::Wheel::kHostForwards, 1.0},
                                           WheelCase{TestWindowHost::Wheel::kSystem, 2.0},
                                           WheelCase{TestWindowHost::Wheel::kHostForwards, 2.0}),
                         [](const ::testing::TestParamInfo<WheelCase>& p) {
                           return std::string(p.param.route == TestWindowHost::Wheel::kSystem ? "System" : "HostForwards") +
                                  (p.param.scale == 1.0 ? "" : "At2x");
                         });

TEST_P(EditorWindowAt, ButtonsStepTheIndicatorsAndStopAtTheLimits) {
  // Step count: 32 steps is the top; one down, then up twice.
  click(65, 486);  // step count decrement
  ASSERT_TRUE(heardEnd(kNosDecrement));
  EXPECT_EQ(edits(), (Log{"begin 33", "automate 33 1.000000", "automate 33 0.000000", "end 33"}));
  EXPECT_EQ(host.getParameter(kNumOfSteps), 0.953125f);
  host.clearRequests();
  click(85, 486);
  ASSERT_TRUE(heardEnd(kNosIncrement));
  click(85, 486);
  ASSERT_TRUE(window->pumpUntil(idle, [&] { return edits().size() == 8; }));
  EXPECT_EQ(host.getParameter(kNumOfSteps), 0.984375f);

  // Step length up to the whole note, which is the top.
  for (int i = 0; i < 10; ++i) click(135, 486);
  ASSERT_TRUE(window->pumpUntil(idle, [&] { return host.getParameter(kStepLength) == 0.9615f; }));
  // Note length 1 down to the bottom and no further.
  for (int i = 0; i < 6; ++i) click(65, 392);
  ASSERT_TRUE(window->pumpUntil(idle, [&] { return host.getParameter(kNoteLength) == 0.0375f; }));
  EXPECT_TRUE(showsWhatTheModuleDraws());
}

TEST_P(EditorWindowAt, AMergeFillsTheStepAndShowsIt) {
  click(75, 36);  // merge of step 1
  ASSERT_TRUE(heardEnd(kMerge));
  EXPECT_EQ(host.getParameter(kMerge), 1.0f);
  EXPECT_EQ(host.getParameter(kNoteLength), host.getParameter(kStepLength));
  EXPECT_TRUE(showsWhatTheModuleDraws());
}

TEST_P(EditorWindowAt, PageSwitchShowsStepsSeventeenToThirtyTwoAndBack) {
  const std::vector<uint32_t> page1 = drawn();
  click(125, 509);
  ASSERT_TRUE(drawsOtherThan(page1));
  EXPECT_EQ(edits(), Log{});  // no parameter: the host hears nothing of it
  expectGolden("editor_page2");
  // A slider on page 2 is step 17's.
  click(75, 50 + 13);
  ASSERT_TRUE(heardEnd(16));
  click(75, 509);
  expectGolden("editor_page1_after_page2");
}

INSTANTIATE_TEST_SUITE_P(Scales, EditorWindowAt, ::testing::Values(1.0, 2.0), scaleName);

TEST_F(EditorWindow, SplashScreenComesAndGoes) {
  const std::vector<uint32_t> page1 = drawn();
  click(836, 494);
  ASSERT_TRUE(drawsOtherThan(page1));
  expectGolden("editor_splash");
  click(75, 150);  // beside the picture: nothing
  click(450, 200);  // on it: gone
  ASSERT_TRUE(window->pumpUntil(idle, [&] { return drawn() == page1; }));
  EXPECT_EQ(edits(), Log{});  // no parameter: the host hears nothing of it
  expectGolden("editor_page1");
}

TEST_F(EditorWindow, CopyAndPasteBetweenSlidersAndBetweenIndicators) {
  host.setParameter(kGate + 1, 0.25f);
  pumpFor(*window, idle, 60);
  clickHolding(TestWindowHost::kControl, 125, 150, TestWindowHost::kRight);  // copy gate 2
  host.clearRequests();
  click(225, 150, TestWindowHost::kRight);  // paste into gate 4
  ASSERT_TRUE(heardEnd(3));
  EXPECT_EQ(edits(), (Log{"begin 3", "automate 3 0.250000", "end 3"}));
  EXPECT_EQ(host.getParameter(kGate + 3), 0.25f);

  clickHolding(TestWindowHost::kControl, 125, 463, TestWindowHost::kRight);  // copy the step length indicator
  host.clearRequests();
  click(225, 369, TestWindowHost::kRight);  // paste into note length 4
  ASSERT_TRUE(heardEnd(kNoteLength + 3));
  EXPECT_EQ(host.getParameter(kNoteLength + 3), host.getParameter(kStepLength));
  EXPECT_TRUE(showsWhatTheModuleDraws());
}

TEST_F(EditorWindow, HostAutomationAndProgramChangesShowAtTheNextIdle) {
  host.setParameter(kGate + 6, 0.0f);
  ASSERT_TRUE(showsWhatTheModuleDraws());
  const std::vector<uint32_t> shown = screen();
  // The handle sits at the bottom of its slot now.
  const int32_t top = gateHandleTop(0.0f);
  EXPECT_NE(shown[std::size_t(top + 14) * kW + 375], shown[std::size_t(60) * kW + 375]);
  host.dispatch(effSetProgram, 0, 4);
  EXPECT_TRUE(showsWhatTheModuleDraws());
}

TEST_F(EditorWindow, ThePlayingStepIsLitWhileTheTransportPlays) {
  host.setSampleRate(44100.0);
  host.dispatch(effSetSampleRate, 0, 0, nullptr, 44100.0f);
  host.dispatch(effMainsChanged, 0, 1);
  host.setTempo(120.0);
  host.setPlaying(true);
  // Step 7 of sixteenths at 120 beats per minute: 6.5 steps of 5512.5 samples.
  host.setSamplePosition(6.5 * 5512.5);
  host.setPpqPosition(6.5 * 0.25);
  host.setAutoAdvance(false);
  std::vector<float> left(64), right(64);
  float* io[] = {left.data(), right.data()};
  host.processReplacing(io, io, 64);
  expectGolden("editor_playing_step7");
}

TEST_F(EditorWindow, CloseAndReopenShowsPageOne) {
  const std::vector<uint32_t> page1 = drawn();
  click(125, 509);
  ASSERT_TRUE(drawsOtherThan(page1));
  host.dispatch(effEditClose);
  EXPECT_EQ(window->countChildWindows(), 0);
  ASSERT_EQ(host.dispatch(effEditOpen, 0, 0, window->parentHandle()), 1);
  expectGolden("editor_page1");
}

// The size the host reads and the window the editor has, in device pixels.
void expectEditorSize(zendrel::host::Host& host, TestWindowHost& window, int32_t width, int32_t height) {
  ERect* r = nullptr;
  ASSERT_EQ(host.dispatch(effEditGetRect, 0, 0, &r), 1);
  ASSERT_NE(r, nullptr);
  EXPECT_EQ(r->right - r->left, width);
  EXPECT_EQ(r->bottom - r->top, height);
  int32_t shownWidth = 0, shownHeight = 0;
  ASSERT_TRUE(window.childWindowSize(shownWidth, shownHeight));
  EXPECT_EQ(shownWidth, width);
  EXPECT_EQ(shownHeight, height);
}

TEST_F(EditorWindow, TheContentScaleCallResizesTheOpenEditorToTwiceItsSizeAndBack) {
  ASSERT_EQ(contentScale(2.0f), 1);
  useScale(2.0);
  expectEditorSize(host, *window, 1800, 1100);
  bool asked = false;
  for (const zendrel::host::Request& r : host.requests())
    asked |= r.opcode == audioMasterSizeWindow && r.index == 1800 && r.value == 1100;
  EXPECT_TRUE(asked) << "the host was not asked for 1800 x 1100";
  ASSERT_TRUE(showsWhatTheModuleDraws());
  expectGolden("editor_page1");
  // Input follows the new size at once.
  host.clearRequests();
  click(75, 36);  // merge of step 1
  ASSERT_TRUE(heardEnd(kMerge));
  EXPECT_EQ(host.getParameter(kMerge), 1.0f);

  // Between the art's densities, and smaller again.
  ASSERT_EQ(contentScale(1.5f), 1);
  useScale(1.5);
  expectEditorSize(host, *window, 1350, 825);
  expectGolden("editor_page1_merged");
  click(75, 36);  // the merge again, now at 1.5x
  ASSERT_TRUE(window->pumpUntil(idle, [&] { return host.getParameter(kMerge) == 0.0f; }));

  ASSERT_EQ(contentScale(1.0f), 1);
  useScale(1.0);
  expectEditorSize(host, *window, 900, 550);
  EXPECT_TRUE(showsWhatTheModuleDraws());
}

TEST_F(EditorWindow, ADesktopAtTwiceTheResolutionOpensTheEditorAtTwiceItsSize) {
  if (!desktop::setDesktopResources("Xft.dpi:\t192\nXft.antialias:\t1\n"))
    GTEST_SKIP() << "this window system keeps no desktop resource database";
  struct Restore {
    ~Restore() { desktop::setDesktopResources(""); }
  } restore;
  host.dispatch(effEditClose);
  // Asked before opening, as hosts do, to size their window.
  ERect* r = nullptr;
  ASSERT_EQ(host.dispatch(effEditGetRect, 0, 0, &r), 1);
  ASSERT_EQ(r->right - r->left, 1800);
  ASSERT_EQ(r->bottom - r->top, 1100);
  std::string error;
  window = TestWindowHost::create(1800, 1100, error);
  ASSERT_TRUE(window) << error;
  ASSERT_EQ(host.dispatch(effEditOpen, 0, 0, window->parentHandle()), 1);
  useScale(2.0);
  expectEditorSize(host, *window, 1800, 1100);
  EXPECT_TRUE(showsWhatTheModuleDraws());
  // A database without a usable resolution leaves the editor unscaled.
  host.dispatch(effEditClose);
  desktop::setDesktopResources("Xft.dpi: nonsense\n");
  ASSERT_EQ(host.dispatch(effEditGetRect, 0, 0, &r), 1);
  EXPECT_EQ(r->right - r->left, 900);
}

}  // namespace
}  // namespace zendrel::test
