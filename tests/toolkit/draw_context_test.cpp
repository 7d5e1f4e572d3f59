// Drawing contexts: fills and outlines, clipping and offsets, and bitmaps
// drawn through them (source-over, frames of a strip, alpha blending).
#include <gtest/gtest.h>

#include <vector>

#include "tests/toolkit/draw_support.h"
#include "toolkit/bitmap.h"
#include "toolkit/draw_context.h"
#include "toolkit/frame.h"
#include "toolkit/platform_seam.h"

using namespace Toolkit;
using zendrel::test::allInsideAre;
using zendrel::test::fill;
using zendrel::test::near;

namespace {

constexpr uint32_t kRed = 0xffff0000u, kGreen = 0xff00ff00u, kBlue = 0xff0000ffu;
constexpr uint32_t kGrey = 0xff808080u, kNone = 0u;
const CColor kGreyColour(128, 128, 128);

std::vector<uint32_t> pixels(const COffscreenContext& context) {
  std::vector<uint32_t> out;
  EXPECT_TRUE(context.readPixels(out));
  return out;
}

TEST(DrawContext, StartsTransparentWithTheDocumentedState) {
  COffscreenContext context(nullptr, 6, 5);
  EXPECT_EQ(context.getWidth(), 6);
  EXPECT_EQ(context.getHeight(), 5);
  CRect clip;
  EXPECT_EQ(context.getClipRect(clip), CRect(0, 0, 6, 5));
  EXPECT_EQ(context.getFrameColor(), kWhiteCColor);
  EXPECT_EQ(context.getFillColor(), kBlackCColor);
  EXPECT_EQ(context.getFontColor(), kWhiteCColor);
  EXPECT_EQ(context.getLineWidth(), 1);
  EXPECT_EQ(context.getFont(), kSystemFont);
  EXPECT_STREQ(context.getFont()->getName(), "Arial");
  EXPECT_EQ(context.getOffset(), CPoint(0, 0));
  EXPECT_EQ(pixels(context), std::vector<uint32_t>(30, kNone));
  EXPECT_EQ(context.getPixel(-1, 0), 0u);
  EXPECT_EQ(context.getPixel(6, 0), 0u);

  // Without a device there is nothing to draw on, and nothing breaks.
  CDrawContext bare(nullptr, nullptr, nullptr);
  EXPECT_EQ(bare.getSurface(), nullptr);
  EXPECT_EQ(bare.getClipRect(clip), CRect(0, 0, 1000, 1000));
  bare.fillOrFrameRect(CRect(0, 0, 10, 10), kDrawFilledAndStroked);
  CBitmap* strip = new CBitmap(CResourceDescription("draw_strip.png"));
  strip->draw(&bare, CRect(0, 0, 4, 4), CPoint());
  strip->draw(nullptr, CRect(0, 0, 4, 4), CPoint());
  strip->release();

  // A context made for a frame starts clipped to the frame's rectangle.
  CFrame* frame = new CFrame(CRect(0, 0, 90, 55), nullptr, nullptr);
  CDrawContext framed(frame, nullptr, nullptr);
  EXPECT_EQ(framed.getClipRect(clip), CRect(0, 0, 90, 55));
  EXPECT_EQ(framed.getFrame(), frame);
  frame->release();
}

TEST(DrawContext, FillsAndOutlinesByStyle) {
  const CRect r(2, 1, 7, 5);
  {
    COffscreenContext context(nullptr, 9, 7);
    fill(context, r, CColor(255, 0, 0));
    EXPECT_TRUE(allInsideAre(pixels(context), 9, r, kRed, kNone));
  }
  {
    COffscreenContext context(nullptr, 9, 7);
    context.setFrameColor(CColor(0, 0, 255));
    context.fillOrFrameRect(r, kDrawStroked);
    const auto p = pixels(context);
    for (int y = 0; y < 7; ++y)
      for (int x = 0; x < 9; ++x) {
        const bool border = r.pointInside(CPoint(x, y)) && (x == 2 || x == 6 || y == 1 || y == 4);
        EXPECT_EQ(p[y * 9 + x], border ? kBlue : kNone) << x << "," << y;
      }
  }
  {
    // Both: the outline over the fill; an inverted rectangle is normalised
    // and the offset moves everything.
    COffscreenContext context(nullptr, 9, 7);
    context.setFillColor(CColor(0, 255, 0));
    context.setFrameColor(CColor(0, 0, 255));
    context.setOffset(CPoint(1, 1));
    context.fillOrFrameRect(CRect(6, 4, 1, 0), kDrawFilledAndStroked);
    const auto p = pixels(context);
    for (int y = 0; y < 7; ++y)
      for (int x = 0; x < 9; ++x) {
        const bool inside = r.pointInside(CPoint(x, y));
        const bool border = inside && (x == 2 || x == 6 || y == 1 || y == 4);
        EXPECT_EQ(p[y * 9 + x], border ? kBlue : inside ? kGreen : kNone) << x << "," << y;
      }
  }
  {
    // Translucent fills composite source-over.
    COffscreenContext context(nullptr, 2, 1);
    fill(context, CRect(0, 0, 2, 1), CColor(0, 0, 0));
    fill(context, CRect(0, 0, 1, 1), CColor(255, 255, 255, 128));
    EXPECT_TRUE(near(context.getPixel(0, 0), 0xff808080u, 1));
    EXPECT_EQ(context.getPixel(1, 0), 0xff000000u);
  }
}

TEST(DrawContext, ClipsInCurrentCoordinates) {
  COffscreenContext context(nullptr, 12, 12);
  context.setClipRect(CRect(3, 2, 6, 8));
  fill(context, CRect(0, 0, 12, 12), CColor(255, 0, 0));
  EXPECT_TRUE(allInsideAre(pixels(context), 12, CRect(3, 2, 6, 8), kRed, kNone));

  // Set under an offset, the clip is stored on the device and answered in
  // whatever coordinates are current.
  context.setOffset(CPoint(4, 4));
  context.setClipRect(CRect(0, 0, 2, 2));
  CRect clip;
  EXPECT_EQ(context.getClipRect(clip), CRect(0, 0, 2, 2));
  fill(context, CRect(-4, -4, 8, 8), CColor(0, 0, 255));
  context.setOffset(CPoint(0, 0));
  EXPECT_EQ(context.getClipRect(clip), CRect(4, 4, 6, 6));
  const auto p = pixels(context);
  EXPECT_EQ(p[4 * 12 + 4], kBlue);
  EXPECT_EQ(p[5 * 12 + 5], kBlue);
  EXPECT_EQ(p[6 * 12 + 6], kNone);
  EXPECT_EQ(p[3 * 12 + 3], kRed);

  // An empty clip lets nothing through; a clip restored from getClipRect is the same area.
  CRect saved;
  context.getClipRect(saved);
  context.setClipRect(CRect(5, 5, 5, 9));
  fill(context, CRect(0, 0, 12, 12), CColor(0, 255, 0));
  context.setClipRect(saved);
  EXPECT_EQ(pixels(context), p);

  CBitmap* strip = new CBitmap(CResourceDescription("draw_strip.png"));
  context.setClipRect(CRect(1, 9, 3, 12));
  strip->draw(&context, CRect(0, 8, 4, 12), CPoint(0, 4));
  const auto q = pixels(context);
  for (int y = 8; y < 12; ++y)
    for (int x = 0; x < 4; ++x)
      EXPECT_EQ(q[y * 12 + x], (x >= 1 && x < 3 && y >= 9) ? kGreen : kNone) << x << "," << y;
  strip->release();
}

TEST(DrawContext, BitmapSelectsFramesOfAStripBySourceOffset) {
  CBitmap* strip = new CBitmap(CResourceDescription("draw_strip.png"));
  ASSERT_EQ(strip->getHeight(), 12);
  const uint32_t frames[] = {kRed, kGreen, kBlue};
  for (int frame = 0; frame < 3; ++frame) {
    COffscreenContext context(nullptr, 10, 10);
    fill(context, CRect(0, 0, 10, 10), kGreyColour);
    const CRect control(3, 2, 7, 6);
    strip->draw(&context, control, CPoint(0, frame * 4));
    EXPECT_TRUE(allInsideAre(pixels(context), 10, control, frames[frame], kGrey)) << "frame " << frame;
  }
  {
    // The context offset moves the destination; drawTransparent is the same drawing.
    COffscreenContext context(nullptr, 10, 10);
    context.setOffset(CPoint(5, 5));
    strip->drawTransparent(&context, CRect(0, 0, 4, 4), CPoint(0, 8));
    EXPECT_TRUE(allInsideAre(pixels(context), 10, CRect(5, 5, 9, 9), kBlue, kNone));
  }
  {
    // A source rectangle reaching past the image draws only what the image has.
    COffscreenContext context(nullptr, 6, 6);
    strip->draw(&context, CRect(0, 0, 6, 6), CPoint(2, 10));
    EXPECT_TRUE(allInsideAre(pixels(context), 6, CRect(0, 0, 2, 2), kBlue, kNone));
    COffscreenContext other(nullptr, 6, 6);
    strip->draw(&other, CRect(2, 2, 6, 6), CPoint(-1, -1));
    EXPECT_TRUE(allInsideAre(pixels(other), 6, CRect(3, 3, 6, 6), kRed, kNone));
    strip->draw(&other, CRect(0, 0, 6, 6), CPoint(0, 12));  // entirely below the image
    strip->draw(&other, CRect(6, 6, 0, 0), CPoint(0, 0));   // inverted rectangle
    EXPECT_TRUE(allInsideAre(pixels(other), 6, CRect(3, 3, 6, 6), kRed, kNone));
  }
  strip->release();
}

TEST(DrawContext, BitmapCompositesSourceOver) {
  CBitmap* alpha = new CBitmap(CResourceDescription("draw_alpha.png"));
  ASSERT_EQ(alpha->getWidth(), 2);
  COffscreenContext context(nullptr, 2, 2);
  fill(context, CRect(0, 0, 2, 2), CColor(10, 20, 30));
  alpha->draw(&context, CRect(0, 0, 2, 2), CPoint());
  // Half red over (10, 20, 30): red ≈ 255·½ + 10·½, green and blue halved.
  EXPECT_TRUE(near(context.getPixel(0, 0), 0xff840a0fu, 2));
  EXPECT_EQ(context.getPixel(1, 0), kBlue);
  EXPECT_EQ(context.getPixel(0, 1), 0xff0a141eu) << "fully transparent pixels leave the destination";
  // A quarter white: 255·¼ + c·¾.
  EXPECT_TRUE(near(context.getPixel(1, 1), 0xff474e56u, 2));
  alpha->release();
}

TEST(DrawContext, AlphaBlendScalesTheImageAlpha) {
  CBitmap* strip = new CBitmap(CResourceDescription("draw_strip.png"));
  COffscreenContext context(nullptr, 12, 4);
  fill(context, CRect(0, 0, 12, 4), CColor(0, 0, 0));
  strip->drawAlphaBlend(&context, CRect(0, 0, 4, 4), CPoint(0, 0), 128);
  strip->drawAlphaBlend(&context, CRect(4, 0, 8, 4), CPoint(0, 4), 255);
  strip->drawAlphaBlend(&context, CRect(8, 0, 12, 4), CPoint(0, 8), 0);
  const auto p = pixels(context);
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 4; ++x) EXPECT_TRUE(near(p[y * 12 + x], 0xff800000u, 2)) << x << "," << y;
    for (int x = 4; x < 8; ++x) EXPECT_EQ(p[y * 12 + x], kGreen);
    for (int x = 8; x < 12; ++x) EXPECT_EQ(p[y * 12 + x], 0xff000000u);
  }

  // Translucent image pixels get both factors: ½ × ½ red over black.
  CBitmap* alpha = new CBitmap(CResourceDescription("draw_alpha.png"));
  COffscreenContext second(nullptr, 2, 2);
  fill(second, CRect(0, 0, 2, 2), CColor(0, 0, 0));
  alpha->drawAlphaBlend(&second, CRect(0, 0, 2, 2), CPoint(), 128);
  EXPECT_TRUE(near(second.getPixel(0, 0), 0xff400000u, 2));
  EXPECT_TRUE(near(second.getPixel(1, 0), 0xff000080u, 2));
  EXPECT_EQ(second.getPixel(0, 1), 0xff000000u);
  alpha->release();
  strip->release();
}

TEST(DrawContext, OffscreenCopiesIntoAnotherContext) {
  COffscreenContext back(nullptr, 4, 4);
  fill(back, CRect(0, 0, 4, 4), CColor(255, 0, 0));
  fill(back, CRect(2, 2, 4, 4), CColor(0, 255, 0));
  COffscreenContext front(nullptr, 6, 6);
  back.copyFrom(&front, CRect(1, 1, 3, 3), CPoint(2, 2));
  EXPECT_TRUE(allInsideAre(pixels(front), 6, CRect(1, 1, 3, 3), kGreen, kNone));
  back.copyFrom(&back, CRect(0, 0, 4, 4), CPoint());  // onto itself: ignored
  back.copyFrom(nullptr, CRect(0, 0, 4, 4), CPoint());
  EXPECT_EQ(back.getPixel(0, 0), kRed);

  // Degenerate sizes make an empty context that draws nothing.
  COffscreenContext empty(nullptr, 0, -3);
  EXPECT_EQ(empty.getWidth(), 0);
  fill(empty, CRect(0, 0, 5, 5), CColor(1, 2, 3));
  std::vector<uint32_t> none;
  EXPECT_FALSE(empty.readPixels(none));
}

}  // namespace

namespace {

TEST(DrawPlatform, TicksAdvanceAcrossASleep) {
  const uint32_t before = Toolkit::platform::tickCount();
  Toolkit::platform::sleepMilliseconds(40);
  const uint32_t elapsed = Toolkit::platform::tickCount() - before;  // unsigned: survives a wrap
  // The tick may be as coarse as ~16 ms and the machine may stall: only ask
  // that it moved forward and by a sane amount.
  EXPECT_GE(elapsed, 1u);
  EXPECT_LT(elapsed, 60000u);
}

}  // namespace
