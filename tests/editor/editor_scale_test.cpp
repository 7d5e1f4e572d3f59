// The editor at display scales other than 1, opened headless: where the
// factor comes from and what a host can throw at it, the pictures at 1.5x and
// 2x, partial repaints that leave no seam, and input that means what it
// means unscaled.
#include <cmath>
#include <cstdlib>
#include <limits>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "tests/editor/editor_support.h"
#include "tests/editor/golden.h"
#include "toolkit/draw_context.h"
#include "toolkit/scaling.h"

namespace zendrel::test {
namespace {

using namespace Toolkit;
using namespace zendrel;

void setUserScale(const char* text) {
#ifdef _WIN32
  _putenv_s("ZENDREL_SCALE", text ? text : "");
#else
  if (text)
    setenv("ZENDREL_SCALE", text, 1);
  else
    unsetenv("ZENDREL_SCALE");
#endif
}

// Each test starts without the user's factor and leaves none behind.
class ScaledEditor : public OpenEditor {
 protected:
  void SetUp() override {
    setUserScale(nullptr);
    OpenEditor::SetUp();
  }
  void TearDown() override {
    OpenEditor::TearDown();
    setUserScale(nullptr);
  }
  VstIntPtr contentScale(float factor) {
    return effect->dispatcher(effVendorSpecific, kContentScaleIndex, kContentScaleValue, nullptr, factor);
  }
  // What the host reads of the editor's size.
  std::pair<int, int> rect() {
    ERect* r = nullptr;
    effect->dispatcher(effEditGetRect, 0, 0, &r, 0.0f);
    return r ? std::make_pair(r->right - r->left, r->bottom - r->top) : std::make_pair(0, 0);
  }
  void reopen() {
    effect->dispatcher(effEditClose, 0, 0, nullptr, 0.0f);
    ASSERT_EQ(effect->dispatcher(effEditOpen, 0, 0, nullptr, 0.0f), 1);
    frame = editor->getFrame();
  }
  // The whole editor drawn at its scale, as the snapshot request draws it.
  std::vector<uint32_t> picture(int32_t& width, int32_t& height) {
    const double s = frame->getScaleFactor();
    auto* context = new COffscreenContext(frame, 900, 550, kBlackCColor, s);
    frame->drawRect(context, frame->getViewSize());
    std::vector<uint32_t> pixels;
    context->readPixels(pixels);
    width = context->getPixelWidth();
    height = context->getPixelHeight();
    context->release();
    return pixels;
  }
  // A drag of gate 3's handle from the middle of its slot to a device pixel,
  // as the window passes it on; answers the value it leaves.
  float dragGateTo(int32_t x, int32_t y) {
    const double s = frame->getScaleFactor();
    effect->setParameter(kGate + 2, 0.5f);
    frame->onMouseDown(frame->toLogical(CPoint(scaling::toDevice(165, s), scaling::toDevice(150, s))), kLeftButton);
    frame->onMouseMoved(frame->toLogical(CPoint(x, y)), kLeftButton);
    frame->onMouseUp(frame->toLogical(CPoint(x, y)), 0);
    return effect->getParameter(kGate + 2);
  }
};

TEST_F(ScaledEditor, TheHostsContentScaleCallIsAnsweredAndSizesTheEditor) {
  char canDo[] = "supportsViewDpiScaling";
  EXPECT_EQ(effect->dispatcher(effCanDo, 0, 0, canDo, 0.0f), 1);
  char other[] = "supportsViewDpiScalingToo";
  EXPECT_EQ(effect->dispatcher(effCanDo, 0, 0, other, 0.0f), 0);
  char midi[] = "receiveVstMidiEvent";
  EXPECT_EQ(effect->dispatcher(effCanDo, 0, 0, midi, 0.0f), 0);

  EXPECT_EQ(rect(), std::make_pair(900, 550));
  EXPECT_EQ(contentScale(1.5f), 1);
  EXPECT_EQ(rect(), std::make_pair(1350, 825));
  EXPECT_EQ(frame->getScaleFactor(), 1.5);
  EXPECT_EQ(contentScale(1.25f), 1);
  EXPECT_EQ(rect(), std::make_pair(1125, 688));  // 687.5 rounds up
  EXPECT_EQ(contentScale(100.0f), 1);  // held at the largest
  EXPECT_EQ(rect(), std::make_pair(2700, 1650));
  EXPECT_EQ(contentScale(0.5f), 1);  // and at the smallest
  EXPECT_EQ(rect(), std::make_pair(900, 550));

  // Nothing usable: refused, nothing changes.
  ASSERT_EQ(contentScale(2.0f), 1);
  for (float bad : {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
                    -std::numeric_limits<float>::infinity(), 0.0f, -1.0f, -0.0f})
    EXPECT_EQ(contentScale(bad), 0) << bad;
  EXPECT_EQ(rect(), std::make_pair(1800, 1100));
  // Other vendor calls answer 0 as ever, and change nothing.
  EXPECT_EQ(effect->dispatcher(effVendorSpecific, kContentScaleIndex, 0, nullptr, 1.0f), 0);
  EXPECT_EQ(effect->dispatcher(effVendorSpecific, 0, kContentScaleValue, nullptr, 1.0f), 0);
  EXPECT_EQ(effect->dispatcher(effVendorSpecific, kContentScaleValue, kContentScaleIndex, nullptr, 1.0f), 0);
  EXPECT_EQ(rect(), std::make_pair(1800, 1100));

  // Before the window opens the call applies at the next open; after close too.
  effect->dispatcher(effEditClose, 0, 0, nullptr, 0.0f);
  EXPECT_EQ(contentScale(3.0f), 1);
  EXPECT_EQ(rect(), std::make_pair(2700, 1650));
  ASSERT_EQ(effect->dispatcher(effEditOpen, 0, 0, nullptr, 0.0f), 1);
  EXPECT_EQ(editor->getFrame()->getScaleFactor(), 3.0);
}

TEST_F(ScaledEditor, TheUsersFactorComesFirstWhenItIsANumberInRange) {
  ASSERT_EQ(contentScale(2.0f), 1);
  for (const char* ignored : {"abc", "-2", "1e9", "", "0.5", "3.5", "1,5", "2x", "nan", "inf", " "}) {
    setUserScale(ignored);
    reopen();
    EXPECT_EQ(rect(), std::make_pair(1800, 1100)) << '"' << ignored << '"';
  }
  setUserScale(" 1.5 ");
  reopen();
  EXPECT_EQ(rect(), std::make_pair(1350, 825));
  EXPECT_EQ(frame->getScaleFactor(), 1.5);
  setUserScale("3");
  EXPECT_EQ(contentScale(1.0f), 1);  // taken, but the user's factor wins
  reopen();
  EXPECT_EQ(rect(), std::make_pair(2700, 1650));
}

TEST_F(ScaledEditor, ACallFromAnotherThreadWaitsForTheEditorsIdle) {
  VstIntPtr answer = 0;
  std::thread([&] { answer = contentScale(2.0f); }).join();
  EXPECT_EQ(answer, 1);
  EXPECT_EQ(frame->getScaleFactor(), 1.0);  // the frame belongs to the editor's thread
  editor->idle();
  EXPECT_EQ(frame->getScaleFactor(), 2.0);
  EXPECT_EQ(rect(), std::make_pair(1800, 1100));
}

TEST_F(ScaledEditor, AScaleChangeDuringADragEndsTheDragAndTheHostHearsTheEnd) {
  frame->onMouseDown(CPoint(165, 150), kLeftButton);
  frame->onMouseMoved(CPoint(165, 120), kLeftButton);
  ASSERT_EQ(heard().front(), "begin 2");
  ASSERT_EQ(contentScale(2.0f), 1);
  ASSERT_FALSE(heard().empty());
  EXPECT_EQ(heard().back(), "end 2");
  const Log before = heard();
  // The release that follows belongs to no drag any more.
  frame->onMouseMoved(CPoint(165, 60), kLeftButton);
  frame->onMouseUp(CPoint(165, 60), 0);
  EXPECT_EQ(heard(), before);
  EXPECT_EQ(rect(), std::make_pair(1800, 1100));
}

TEST_F(ScaledEditor, APointerAnywhereOnALogicalPixelActsAsThatPixelDoesUnscaled) {
  std::vector<float> unscaled;
  for (int32_t y = 40; y < 240; y += 7) unscaled.push_back(dragGateTo(165, y));
  for (float s : {1.25f, 1.5f, 2.0f, 2.5f, 3.0f}) {
    ASSERT_EQ(contentScale(s), 1);
    std::size_t i = 0;
    for (int32_t y = 40; y < 240; y += 7, ++i)
      for (int32_t dy = scaling::toDevice(y, s); dy < scaling::toDevice(y + 1, s); ++dy)
        EXPECT_EQ(dragGateTo(scaling::toDevice(165, s) + 1, dy), unscaled[i]) << "at " << s << "x, logical row " << y;
  }
}

// Pictures at scales between the art's densities and at one of them; the
// golden pictures are shared by both products.
TEST_F(ScaledEditor, ThePicturesAtOneAndAHalfAndTwiceTheScale) {
  for (float s : {1.5f, 2.0f}) {
    ASSERT_EQ(contentScale(s), 1);
    int32_t w = 0, h = 0;
    const std::vector<uint32_t> pixels = picture(w, h);
    ASSERT_EQ(w, scaling::toDevice(900, s));
    ASSERT_EQ(h, scaling::toDevice(550, s));
    const std::string name = s == 2.0f ? "editor_page1_drawn@2x" : "editor_page1_drawn@1.5x";
    const GoldenVerdict v = compareWithGolden(name, pixels, w, h);
    EXPECT_TRUE(v.same) << v.detail;
  }
  // Page 2 with a few values set, between densities.
  ASSERT_EQ(contentScale(1.5f), 1);
  effect->setParameter(kGate + 17, 0.25f);
  effect->setParameter(kMerge + 18, 1.0f);
  clickOn(editor::kPageSwitch);
  int32_t w = 0, h = 0;
  const std::vector<uint32_t> pixels = picture(w, h);
  const GoldenVerdict v = compareWithGolden("editor_page2_drawn@1.5x", pixels, w, h);
  EXPECT_TRUE(v.same) << v.detail;
}

// What a window shows after any number of partial repaints is what a whole
// drawing shows: every device pixel of a changed area is drawn again, fully.
TEST_F(ScaledEditor, PartialRepaintsLeaveNoSeamsAndNoStaleLines) {
  std::mt19937 random(7);
  for (float s : {1.25f, 1.5f, 1.75f, 2.5f}) {
    ASSERT_EQ(contentScale(s), 1);
    auto* window = new COffscreenContext(frame, 900, 550, kBlackCColor, s);
    frame->drawRect(window, frame->getViewSize());
    frame->takeInvalidRect();
    for (int round = 0; round < 12; ++round) {
      for (int n = 0; n < 6; ++n) {
        const int32_t index = int32_t(random() % uint32_t(kNumParams));
        effect->setParameter(index, float(random() % 1000) / 999.0f);
      }
      editor->idle();
      if (!frame->hasInvalidRect()) continue;
      // As the window layer does: the invalid area in device pixels, then the
      // logical area that covers them drawn again.
      const CRect pixels = scaling::toDevice(frame->takeInvalidRect(), s);
      frame->drawRect(window, scaling::coverInLogical(pixels, s));
    }
    std::vector<uint32_t> repainted, fresh;
    window->readPixels(repainted);
    window->release();
    int32_t w = 0, h = 0;
    fresh = picture(w, h);
    ASSERT_EQ(repainted.size(), fresh.size());
    std::size_t differing = 0;
    for (std::size_t i = 0; i < fresh.size(); ++i) differing += repainted[i] != fresh[i];
    EXPECT_EQ(differing, 0u) << "at " << s << "x";
  }
}

}  // namespace
}  // namespace zendrel::test
