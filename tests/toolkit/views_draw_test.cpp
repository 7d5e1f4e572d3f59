// A small view tree drawn headless into an off-screen context, checked pixel by
// pixel: compositing, strip frames, clipping, painting order, offsets and the
// update rectangle. Runs on cairo natively and on GDI+ under Wine.
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "tests/support/pixels.h"
#include "tests/toolkit/views_support.h"
#include "toolkit/bitmap.h"
#include "toolkit/draw_context.h"

using namespace zendrel::test;

namespace {

constexpr uint32_t kBlue = 0xff0000ff;
constexpr uint32_t kRed = 0xffff0000;
constexpr uint32_t kGreen = 0xff00ff00;
constexpr uint32_t kWhite = 0xffffffff;

CColor argb(uint32_t v) {
  return CColor(uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v), uint8_t(v >> 24));
}

// A w × h bitmap of one premultiplied colour per band of bandHeight rows.
CBitmap* bands(int32_t w, int32_t bandHeight, const std::vector<uint32_t>& colours) {
  std::vector<uint32_t> px;
  for (uint32_t c : colours) px.insert(px.end(), std::size_t(w) * std::size_t(bandHeight), c);
  return CBitmap::createFromPixels(px.data(), w, bandHeight * int32_t(colours.size()));
}

// Fills fillArea (its own rectangle by default) with a colour: lets a test see
// both its painting and where the clip stops it.
class FillView : public CView {
 public:
  FillView(const CRect& r, uint32_t c, CRect area = CRect()) : CView(r), colour(c), fillArea(area) {}
  void draw(CDrawContext* context) override {
    context->setFillColor(argb(colour));
    context->fillOrFrameRect(fillArea.isEmpty() ? size : fillArea, kDrawFilled);
    setDirty(false);
  }
  uint32_t colour;
  CRect fillArea;
};

// Shows frame n of a vertical strip by source offset, as strip controls do.
class StripView : public CView {
 public:
  StripView(const CRect& r, CBitmap* strip, int32_t n) : CView(r), frameIndex(n) { setBackground(strip); }
  void draw(CDrawContext* context) override {
    background->draw(context, size, CPoint(0, frameIndex * size.getHeight()));
    setDirty(false);
  }
  int32_t frameIndex;
};

class ViewsDraw : public ::testing::Test {
 protected:
  void SetUp() override {
    frame = new CFrame(CRect(0, 0, kW, kH), nullptr, nullptr);
    frame->setBackgroundColor(argb(kBlue));
    context = new COffscreenContext(frame, kW, kH);
  }
  void TearDown() override {
    context->release();
    frame->release();
  }
  // Draws the frame (or the given part of it) and reads the pixels back.
  void paint(const CRect& update = CRect(0, 0, kW, kH)) {
    frame->drawRect(context, update);
    ASSERT_TRUE(context->readPixels(pixels));
  }
  uint32_t at(int32_t x, int32_t y) const { return pixels[std::size_t(y) * kW + std::size_t(x)]; }

  static constexpr int32_t kW = 40;
  static constexpr int32_t kH = 30;
  CFrame* frame = nullptr;
  COffscreenContext* context = nullptr;
  std::vector<uint32_t> pixels;
};

TEST_F(ViewsDraw, HalfTransparentImageIsCompositedSourceOver) {
  CBitmap* half = bands(10, 10, {0x80800000});  // red at alpha 128, premultiplied
  auto* v = new CView(CRect(5, 5, 15, 15));
  v->setBackground(half);
  half->release();
  frame->addView(v);
  paint();
  EXPECT_EQ(at(2, 2), kBlue);
  // 128 of red over 255 × (1 − 128/255) of blue.
  EXPECT_TRUE(near(at(5, 5), 0xff80007f, 2));
  EXPECT_TRUE(near(at(14, 14), 0xff80007f, 2));
  EXPECT_EQ(at(15, 15), kBlue);

  // The transparent path composites the same way.
  v->setTransparency(true);
  paint();
  EXPECT_TRUE(near(at(10, 10), 0xff80007f, 2));
}

TEST_F(ViewsDraw, SourceOffsetSelectsTheFrameOfAVerticalStrip) {
  CBitmap* strip = bands(10, 10, {kRed, kGreen, kWhite});
  for (int32_t n = 0; n < 3; ++n) frame->addView(new StripView(CRect(n * 10, 0, n * 10 + 10, 10), strip, 2 - n));
  auto* plain = new CView(CRect(30, 0, 40, 10));  // a plain view shows frame 0
  plain->setBackground(strip);
  frame->addView(plain);
  strip->release();
  paint();
  EXPECT_EQ(at(0, 0), kWhite);
  EXPECT_EQ(at(9, 9), kWhite);
  EXPECT_EQ(at(10, 0), kGreen);
  EXPECT_EQ(at(19, 9), kGreen);
  EXPECT_EQ(at(20, 0), kRed);
  EXPECT_EQ(at(35, 5), kRed);
  EXPECT_EQ(at(5, 10), kBlue);  // only a control-sized window of the strip shows
}

TEST_F(ViewsDraw, ChildrenAreClippedToTheirRectangleAndTheirContainer) {
  frame->addView(new FillView(CRect(5, 5, 10, 10), kGreen, CRect(-100, -100, 100, 100)));
  auto* group = new CViewContainer(CRect(20, 0, 30, 10));
  group->setBackgroundColor(argb(kWhite));
  group->addView(new FillView(CRect(5, 5, 20, 20), kRed));  // sticks out of the group
  frame->addView(group);
  paint();
  EXPECT_EQ(at(4, 4), kBlue);
  EXPECT_EQ(at(5, 5), kGreen);
  EXPECT_EQ(at(9, 9), kGreen);
  EXPECT_EQ(at(10, 10), kBlue);
  EXPECT_EQ(at(10, 5), kBlue);
  EXPECT_EQ(at(24, 4), kWhite);
  EXPECT_EQ(at(25, 5), kRed);  // the child at its origin inside the group
  EXPECT_EQ(at(29, 9), kRed);
  EXPECT_EQ(at(30, 9), kBlue);
  EXPECT_EQ(at(25, 10), kBlue);
}

TEST_F(ViewsDraw, ChildrenPaintInListOrder) {
  auto* first = new FillView(CRect(0, 0, 10, 10), kRed);
  frame->addView(first);
  frame->addView(new FillView(CRect(5, 5, 15, 15), kGreen));
  frame->addViewBefore(new FillView(CRect(2, 2, 8, 8), kWhite), first);  // below the red one
  paint();
  EXPECT_EQ(at(1, 1), kRed);
  EXPECT_EQ(at(3, 3), kRed);
  EXPECT_EQ(at(7, 7), kGreen);
  EXPECT_EQ(at(12, 12), kGreen);
}

TEST_F(ViewsDraw, MissingImageDrawsNothing) {
  CBitmap* missing = new CBitmap(CResourceDescription("no_such_image.png"));
  EXPECT_EQ(missing->getWidth(), 0);
  EXPECT_EQ(missing->getHeight(), 0);
  auto* v = new CView(CRect(0, 0, 20, 20));
  v->setBackground(missing);
  frame->addView(v);
  auto* strip = new StripView(CRect(20, 0, 30, 10), missing, 1);
  frame->addView(strip);
  missing->release();
  paint();
  for (int32_t y = 0; y < kH; ++y)
    for (int32_t x = 0; x < kW; ++x) ASSERT_EQ(at(x, y), kBlue) << x << "," << y;
  EXPECT_FALSE(v->isDirty());  // drawn all the same
}

TEST_F(ViewsDraw, OnlyTheUpdateRectangleIsPainted) {
  frame->addView(new FillView(CRect(0, 0, 40, 30), kGreen));
  paint(CRect(10, 10, 20, 15));
  EXPECT_FALSE(frame->getFirstDraw());
  EXPECT_EQ(at(10, 10), kGreen);
  EXPECT_EQ(at(19, 14), kGreen);
  EXPECT_EQ(at(9, 10), 0u);  // untouched: still the context's transparent start
  EXPECT_EQ(at(20, 14), 0u);
  EXPECT_EQ(at(10, 15), 0u);
}

TEST_F(ViewsDraw, NestedContainersOffsetTheirChildren) {
  auto* outer = new CViewContainer(CRect(10, 10, 35, 28));
  outer->setBackgroundColor(argb(kRed));
  auto* inner = new CViewContainer(CRect(5, 5, 20, 15));
  inner->setBackgroundColor(argb(kWhite));
  inner->addView(new FillView(CRect(2, 2, 4, 4), kGreen));
  outer->addView(inner);
  frame->addView(outer);
  paint();
  EXPECT_EQ(at(9, 9), kBlue);
  EXPECT_EQ(at(10, 10), kRed);
  EXPECT_EQ(at(15, 15), kWhite);
  EXPECT_EQ(at(16, 16), kWhite);
  EXPECT_EQ(at(17, 17), kGreen);
  EXPECT_EQ(at(18, 18), kGreen);
  EXPECT_EQ(at(19, 19), kWhite);
  EXPECT_EQ(at(34, 27), kRed);
  EXPECT_EQ(at(35, 27), kBlue);
}

TEST_F(ViewsDraw, ContainerBackgroundImageAndColourRules) {
  // An image background at (0, 0) of its own size, shifted by the offset.
  auto* withImage = new CViewContainer(CRect(0, 0, 10, 10));
  CBitmap* strip = bands(10, 10, {kRed, kGreen, kWhite});
  withImage->setBackground(strip);
  strip->release();
  withImage->setContainerBackgroundOffset(CPoint(0, 10));
  frame->addView(withImage);
  // A transparent container with an opaque colour paints no background.
  auto* seeThrough = new CViewContainer(CRect(20, 0, 30, 10));
  seeThrough->setTransparency(true);
  seeThrough->setBackgroundColor(argb(kRed));
  frame->addView(seeThrough);
  paint();
  EXPECT_EQ(at(0, 0), kGreen);
  EXPECT_EQ(at(9, 9), kGreen);
  EXPECT_EQ(at(25, 5), kBlue);
}

TEST_F(ViewsDraw, OffscreenContainerLooksTheSameAsADirectOne) {
  auto build = [](bool offscreen) {
    auto* c = new CViewContainer(CRect(10, 5, 30, 25));
    c->setBackgroundColor(argb(kWhite));
    c->setDrawOffscreen(offscreen);
    c->addView(new FillView(CRect(3, 3, 8, 8), kRed));
    c->addView(new FillView(CRect(6, 6, 12, 12), kGreen));
    return c;
  };
  CViewContainer* direct = build(false);
  frame->addView(direct);
  paint();
  const std::vector<uint32_t> want = pixels;
  frame->removeView(direct, true);
  frame->addView(build(true));
  paint();
  EXPECT_EQ(pixels, want);
  paint();  // the second time reuses its off-screen image
  EXPECT_EQ(pixels, want);
}

TEST_F(ViewsDraw, DrawingClearsWhatIdleWouldRepaint) {
  auto* c = new ProbeControl(CRect(0, 0, 10, 10));
  frame->addView(c);
  c->setValue(0.3f);
  EXPECT_TRUE(c->isDirty());
  EXPECT_TRUE(frame->isDirty());
  paint();
  EXPECT_FALSE(c->isDirty());
  EXPECT_FALSE(frame->isDirty());
  frame->takeInvalidRect();
  frame->idle();
  EXPECT_FALSE(frame->hasInvalidRect());
}

}  // namespace
