// Frames in real windows on a real display (Xvfb natively; the same display
// under Wine for the Windows build): a host-like window, input injected as a
// user gives it, and the pixels the user sees read back from the screen.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/support/window_test_host.h"
#include "toolkit/control.h"
#include "toolkit/draw_context.h"
#include "toolkit/frame.h"

// clang names the sanitizer through __has_feature, gcc through __SANITIZE_ADDRESS__.
#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ZENDREL_ADDRESS_SANITIZER 1
#endif
#endif

namespace zendrel::test {
namespace {

using namespace Toolkit;

using Log = std::vector<std::string>;

constexpr uint32_t kGrey = 0x7f7f7f;
constexpr uint32_t kRed = 0xd01010;
constexpr uint32_t kGreen = 0x10c020;

// Colour channels may be rounded on their way to the screen; nothing more.
constexpr int kTolerance = 2;

bool close(uint32_t a, uint32_t b) {
  for (int shift = 0; shift < 24; shift += 8) {
    const int d = int((a >> shift) & 0xff) - int((b >> shift) & 0xff);
    if (d > kTolerance || d < -kTolerance) return false;
  }
  return true;
}

CColor rgb(uint32_t v) { return CColor(uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v), 255); }

std::string pt(const CPoint& p) { return std::to_string(p.h) + "," + std::to_string(p.v); }

// A control that shows its value as one of two colours and records every event.
class Swatch : public CControl {
 public:
  Swatch(const CRect& r, std::string n, Log* l) : CControl(r), name(std::move(n)), log(l) {}
  void draw(CDrawContext* context) override {
    context->setFillColor(rgb(value != 0.0f ? kGreen : kRed));
    context->fillOrFrameRect(size, kDrawFilled);
    setDirty(false);
  }
  MouseResult onMouseDown(const CPoint& where, MouseButtons buttons) override {
    record("down " + pt(where) + " " + std::to_string(buttons));
    return MouseResult::Handled;
  }
  MouseResult onMouseMoved(const CPoint& where, MouseButtons buttons) override {
    record("moved " + pt(where) + " " + std::to_string(buttons));
    return MouseResult::Handled;
  }
  MouseResult onMouseUp(const CPoint& where, MouseButtons buttons) override {
    record("up " + pt(where) + " " + std::to_string(buttons));
    return MouseResult::Handled;
  }
  MouseResult onMouseEntered(const CPoint&, MouseButtons) override {
    record("entered");
    return MouseResult::Handled;
  }
  MouseResult onMouseExited(const CPoint&, MouseButtons) override {
    record("exited");
    return MouseResult::Handled;
  }
  bool onWheel(const CPoint& where, float distance, MouseButtons buttons) override {
    record("wheel " + pt(where) + " " + std::to_string(int(distance)) + " " + std::to_string(buttons));
    return true;
  }

 private:
  void record(const std::string& what) { log->push_back(name + " " + what); }
  std::string name;
  Log* log;
};

class RealWindow : public ::testing::Test {
 protected:
  static constexpr int32_t kHostW = 400;
  static constexpr int32_t kHostH = 260;
  static constexpr int32_t kFrameW = 300;
  static constexpr int32_t kFrameH = 200;

  // How the host window passes the wheel on; the wheel tests try each.
  virtual TestWindowHost::Wheel wheelRoute() const { return TestWindowHost::Wheel::kSystem; }

  void SetUp() override {
    std::string error;
    host = TestWindowHost::create(kHostW, kHostH, error, wheelRoute());
    ASSERT_TRUE(host) << error;
    frame = openFrame(host->parentHandle());
    ASSERT_TRUE(frame->hasWindow());
    a = new Swatch(CRect(10, 10, 110, 60), "a", &log);
    b = new Swatch(CRect(150, 10, 250, 60), "b", &log);
    frame->addView(a);
    frame->addView(b);
    idle = [this] {
      if (frame) frame->idle();
    };
    // The pointer starts off the window, so that every move below is a move.
    host->moveTo(-15, -15);
    ASSERT_TRUE(waitForPixel(20, 20, kRed));
    log.clear();
  }
  void TearDown() override {
    if (frame) frame->release();
  }

  static CFrame* openFrame(void* parent) {
    auto* f = new CFrame(CRect(0, 0, kFrameW, kFrameH), parent, nullptr);
    f->setBackgroundColor(rgb(kGrey));
    return f;
  }

  uint32_t pixel(int32_t x, int32_t y) {
    std::vector<uint32_t> px;
    return host->readPixels(CRect(x, y, x + 1, y + 1), px) ? px[0] : 0xff000000;
  }
  bool waitForPixel(int32_t x, int32_t y, uint32_t want) {
    return host->pumpUntil(idle, [&] { return close(pixel(x, y), want); });
  }
  bool waitForLog(std::size_t entries) {
    return host->pumpUntil(idle, [&] { return log.size() >= entries; });
  }
  bool waitForEntry(const std::string& prefix) {
    return host->pumpUntil(idle, [&] {
      for (const auto& e : log)
        if (e.rfind(prefix, 0) == 0) return true;
      return false;
    });
  }
  // The presses and releases in the log, without the moves and hover changes.
  Log clicks() const {
    Log out;
    for (const auto& e : log)
      if (e.find(" down ") != std::string::npos || e.find(" up ") != std::string::npos) out.push_back(e);
    return out;
  }
  // Events settle: the window layer has taken everything the input produced.
  void settle() { pumpFor(*host, idle, 120); }

  std::unique_ptr<TestWindowHost> host;
  CFrame* frame = nullptr;
  Swatch* a = nullptr;
  Swatch* b = nullptr;
  Log log;
  std::function<void()> idle;
};

TEST_F(RealWindow, PaintsTheTreeInsideTheFrameOnly) {
  EXPECT_TRUE(close(pixel(5, 5), kGrey));
  EXPECT_TRUE(close(pixel(160, 59), kRed));
  EXPECT_TRUE(close(pixel(109, 10), kRed));
  EXPECT_TRUE(close(pixel(110, 10), kGrey));
  // The host's own area around the frame stays as the host drew it.
  EXPECT_TRUE(close(pixel(kFrameW, 50), 0x000000)) << std::hex << pixel(kFrameW, 50);
  EXPECT_TRUE(close(pixel(50, kFrameH), 0x000000));
}

TEST_F(RealWindow, RepaintsAChangedViewAtTheNextIdleAndNothingElse) {
  a->setValue(1.0f);
  ASSERT_TRUE(waitForPixel(20, 20, kGreen));
  EXPECT_TRUE(close(pixel(200, 20), kRed));
  EXPECT_TRUE(close(pixel(5, 5), kGrey));
}

TEST_F(RealWindow, ClicksReachTheViewWithButtonsAndModifiers) {
  host->moveTo(20, 30);
  host->press(TestWindowHost::kLeft);
  host->release(TestWindowHost::kLeft);
  ASSERT_TRUE(waitForEntry("a up"));
  EXPECT_EQ(clicks(), (Log{"a down 20,30 2", "a up 20,30 0"}));

  log.clear();
  // Keys after the move: under Wine a pointer move takes the modifier state
  // from the X server, which the keys given through the Windows side never reach.
  host->moveTo(200, 40);
  host->keyDown(TestWindowHost::kShift);
  host->keyDown(TestWindowHost::kControl);
  host->press(TestWindowHost::kRight);
  host->release(TestWindowHost::kRight);
  host->keyUp(TestWindowHost::kControl);
  host->keyUp(TestWindowHost::kShift);
  ASSERT_TRUE(waitForEntry("b up"));
  const std::string mods = std::to_string(kShiftKey | kControlKey);
  EXPECT_EQ(clicks(), (Log{"b down 200,40 " + std::to_string(kRightButton | kShiftKey | kControlKey),
                           "b up 200,40 " + mods}));
}

TEST_F(RealWindow, ADragKeepsTheViewEvenOutsideTheWindow) {
  host->moveTo(30, 30);
  host->press(TestWindowHost::kLeft);
  host->moveTo(kHostW + 50, kHostH + 40);  // off the host window altogether
  host->release(TestWindowHost::kLeft);
  ASSERT_TRUE(host->pumpUntil(idle, [&] { return !log.empty() && log.back().rfind("a up", 0) == 0; }));
  EXPECT_EQ(log.back(), "a up " + pt(CPoint(kHostW + 50, kHostH + 40)) + " 0");
  bool movedOutside = false;
  for (const auto& e : log)
    if (e == "a moved " + pt(CPoint(kHostW + 50, kHostH + 40)) + " 2") movedOutside = true;
  EXPECT_TRUE(movedOutside) << ::testing::PrintToString(log);
}

TEST_F(RealWindow, TwoQuickPressesMakeADoubleClick) {
  host->moveTo(60, 30);
  for (int i = 0; i < 2; ++i) {
    host->press(TestWindowHost::kLeft);
    host->release(TestWindowHost::kLeft);
  }
  ASSERT_TRUE(host->pumpUntil(idle, [&] {
    int ups = 0;
    for (const auto& e : log) ups += e.rfind("a up", 0) == 0;
    return ups == 2;
  }));
  std::vector<std::string> downs;
  for (const auto& e : log)
    if (e.rfind("a down", 0) == 0) downs.push_back(e);
  ASSERT_EQ(downs.size(), 2u);
  EXPECT_EQ(downs[0], "a down 60,30 2");
  EXPECT_EQ(downs[1], "a down 60,30 " + std::to_string(kLeftButton | kDoubleClick));
}

// Hosts that pass wheel messages on to the child under the pointer, and hosts
// that do not: either way one notch is one call, and nothing goes back up.
class RealWindowWheel : public RealWindow, public ::testing::WithParamInterface<TestWindowHost::Wheel> {
 protected:
  TestWindowHost::Wheel wheelRoute() const override { return GetParam(); }
};

TEST_P(RealWindowWheel, ANotchIsOneUnitEachWayAndGoesNoFurther) {
  host->moveTo(200, 30);
  settle();
  log.clear();
  host->wheel(true);
  ASSERT_TRUE(waitForLog(1));
  host->wheel(false);
  ASSERT_TRUE(waitForLog(2));
  // Shift goes down after the move (under Wine a move takes the modifiers
  // from the X server, which keys given on the Windows side never reach).
  host->keyDown(TestWindowHost::kShift);
  host->wheel(true);
  host->keyUp(TestWindowHost::kShift);
  ASSERT_TRUE(waitForLog(3));
  settle();
  EXPECT_EQ(log, (Log{"b wheel 200,30 1 0", "b wheel 200,30 -1 0", "b wheel 200,30 1 " + std::to_string(kShiftKey)}));

  // Over the frame's background no view takes it; it still goes no further.
  host->moveTo(130, 120);
  settle();
  log.clear();
  host->wheel(true);
  settle();
  EXPECT_EQ(log, Log{});

  const TestWindowHost::WheelTrace trace = host->wheelTrace();
  EXPECT_EQ(trace.returned, 0);
  if (TestWindowHost::wheelPassesThroughHost()) {
    EXPECT_EQ(trace.answers, (std::vector<intptr_t>{0, 0, 0, 0}));
  }
}

INSTANTIATE_TEST_SUITE_P(Hosts, RealWindowWheel,
                         ::testing::Values(TestWindowHost::Wheel::kSystem, TestWindowHost::Wheel::kHostForwards),
                         [](const ::testing::TestParamInfo<TestWindowHost::Wheel>& p) {
                           return p.param == TestWindowHost::Wheel::kSystem ? "System" : "HostForwards";
                         });

TEST_F(RealWindow, LeavingTheFrameTellsTheHoverView) {
  host->moveTo(20, 20);
  ASSERT_TRUE(waitForLog(1));
  EXPECT_EQ(log[0], "a entered");
  host->moveTo(kFrameW + 40, 20);  // still inside the host's window
  ASSERT_TRUE(waitForLog(2));
  EXPECT_EQ(log[1], "a exited");
  EXPECT_EQ(frame->getHoverView(), nullptr);
}

TEST_F(RealWindow, TheHostDestroyingItsWindowFirstCostsNothing) {
  host->destroyWindow();
  pumpFor(*host, idle, 100);
  EXPECT_FALSE(frame->getOpenFlag());
  a->setValue(1.0f);
  frame->idle();  // nothing to paint on, nothing to crash on
  frame->release();
  frame = nullptr;
}

TEST_F(RealWindow, TwoFramesShareTheWindowSystemAndOutliveEachOther) {
  std::string error;
  auto other = TestWindowHost::create(kHostW, kHostH, error);
  ASSERT_TRUE(other) << error;
  CFrame* second = openFrame(other->parentHandle());
  ASSERT_TRUE(second->hasWindow());
  frame->release();
  frame = nullptr;
  auto* c = new Swatch(CRect(10, 10, 110, 60), "c", &log);
  second->addView(c);
  // The second host window lies over the first: the same screen place.
  EXPECT_TRUE(other->pumpUntil([&] { second->idle(); }, [&] {
    std::vector<uint32_t> px;
    return other->readPixels(CRect(20, 20, 21, 21), px) && close(px[0], kRed);
  }));
  c->setValue(1.0f);
  EXPECT_TRUE(other->pumpUntil([&] { second->idle(); }, [&] {
    std::vector<uint32_t> px;
    return other->readPixels(CRect(20, 20, 21, 21), px) && close(px[0], kGreen);
  }));
  second->release();
}

// 200 frames opened in the host's window, painted and closed again: every
// window, handle and object comes back, and memory stays where it was.
TEST(RealWindowCycles, OpenAndCloseLeaveNothingBehind) {
  std::string error;
  auto host = TestWindowHost::create(300, 200, error);
  ASSERT_TRUE(host) << error;
  Log log;
  auto cycle = [&] {
    auto* frame = new CFrame(CRect(0, 0, 300, 200), host->parentHandle(), nullptr);
    frame->addView(new Swatch(CRect(10, 10, 60, 60), "s", &log));
    frame->setCursor(kCursorHand);
    pumpFor(*host, [&] { frame->idle(); }, 5);
    frame->release();
    return host->countChildWindows();
  };
  for (int i = 0; i < 20; ++i) ASSERT_EQ(cycle(), 0);  // caches and pools settle first
  const TestWindowHost::Resources before = host->processResources();
  for (int i = 0; i < 200; ++i) ASSERT_EQ(cycle(), 0) << "cycle " << i;
  const TestWindowHost::Resources after = host->processResources();
  std::printf("200 open/close cycles: handles %ld -> %ld, window objects %ld -> %ld, resident %ld -> %ld kB\n",
              before.handles, after.handles, before.windowObjects, after.windowObjects, before.residentKb,
              after.residentKb);
  EXPECT_EQ(after.handles, before.handles);
  EXPECT_EQ(after.windowObjects, before.windowObjects);
#if defined(__SANITIZE_ADDRESS__) || defined(ZENDREL_ADDRESS_SANITIZER)
  // Freed memory waits in the sanitizer's quarantine; its leak checker stands in.
#else
  EXPECT_LT(after.residentKb - before.residentKb, 2048);
#endif
}

TEST(RealWindowParents, AHostThatNeverIdlesLosesNothing) {
  std::string error;
  auto host = TestWindowHost::create(300, 200, error);
  ASSERT_TRUE(host) << error;
  Log log;
  for (int i = 0; i < 3; ++i) {
    auto* frame = new CFrame(CRect(0, 0, 300, 200), host->parentHandle(), nullptr);
    ASSERT_TRUE(frame->hasWindow());
    frame->addView(new Swatch(CRect(10, 10, 60, 60), "s", &log));
    frame->invalidate();
    frame->release();  // never idled, never painted
    EXPECT_EQ(host->countChildWindows(), 0);
  }
}

TEST(RealWindowParents, AParentThatDoesNotExistGivesAFrameWithoutWindow) {
  std::string error;
  auto host = TestWindowHost::create(100, 100, error);  // so that the display is up
  ASSERT_TRUE(host) << error;
  for (uintptr_t bogus : {uintptr_t(0x3fffff0), uintptr_t(0x7ffffff0)}) {
    auto* frame = new CFrame(CRect(0, 0, 50, 50), reinterpret_cast<void*>(bogus), nullptr);
    EXPECT_FALSE(frame->hasWindow());
    frame->addView(new Swatch(CRect(0, 0, 10, 10), "x", nullptr));
    frame->idle();
    frame->paintNow();
    frame->release();
  }
}

}  // namespace
}  // namespace zendrel::test
