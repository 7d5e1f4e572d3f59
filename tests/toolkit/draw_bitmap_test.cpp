// Bitmaps: lookup by name in the resources, the two decode paths, damaged
// resources, reference counts and the shared graphics start-up.
#include <gtest/gtest.h>

#include <vector>

#include "tests/toolkit/draw_png_writer.h"
#include "tests/toolkit/draw_support.h"
#include "toolkit/bitmap.h"
#include "toolkit/draw_context.h"
#include "toolkit/frame.h"
#include "toolkit/platform_seam.h"

using namespace Toolkit;
using zendrel::test::near;

namespace {

std::vector<uint32_t> pixelsOf(const CBitmap& bitmap) {
  std::vector<uint32_t> out;
  if (bitmap.getPlatformImage()) platform::readImagePixels(bitmap.getPlatformImage(), out);
  return out;
}

// Draws `bitmap` whole onto an opaque grey 8 × 8 canvas and answers whether the canvas changed.
bool drawsAnything(CBitmap& bitmap) {
  COffscreenContext context(nullptr, 8, 8);
  zendrel::test::fill(context, CRect(0, 0, 8, 8), CColor(128, 128, 128));
  bitmap.draw(&context, CRect(0, 0, 8, 8), CPoint(0, 0));
  bitmap.drawAlphaBlend(&context, CRect(0, 0, 8, 8), CPoint(0, 0), 100);
  std::vector<uint32_t> pixels;
  EXPECT_TRUE(context.readPixels(pixels));
  for (uint32_t p : pixels)
    if (p != 0xff808080u) return true;
  return false;
}

TEST(DrawBitmap, FindsDataResourcesByNameInAnyCase) {
  for (const char* name : {"draw_strip.png", "DRAW_STRIP.PNG", "Draw_Strip.Png"}) {
    CBitmap* bitmap = new CBitmap(CResourceDescription(name));
    EXPECT_EQ(bitmap->getWidth(), 4) << name;
    EXPECT_EQ(bitmap->getHeight(), 12) << name;
    EXPECT_TRUE(bitmap->getNoAlpha()) << "the \"DATA\" path is the platform's decoder";
    EXPECT_EQ(bitmap->getNbReference(), 1);
    bitmap->release();
  }
  CBitmap alpha{CResourceDescription("draw_alpha.png")};
  const auto pixels = pixelsOf(alpha);
  ASSERT_EQ(pixels.size(), 4u);
  EXPECT_TRUE(near(pixels[1], 0xff0000ffu));
  EXPECT_TRUE(near(pixels[2], 0x00000000u));
  EXPECT_TRUE(near(pixels[0], 0x80800000u, 1));  // half red, premultiplied
}

TEST(DrawBitmap, PngTypeResourcesUseTheShiftRule) {
  CBitmap bitmap{CResourceDescription("draw_premul.png")};
  ASSERT_EQ(bitmap.getWidth(), 3);
  ASSERT_EQ(bitmap.getHeight(), 1);
  EXPECT_FALSE(bitmap.getNoAlpha());
  const auto pixels = pixelsOf(bitmap);
  ASSERT_EQ(pixels.size(), 3u);
  EXPECT_EQ(pixels[0], 0xfffefefeu) << "opaque white has colour bytes 254";
  EXPECT_EQ(pixels[1], 0x80643219u);
  EXPECT_EQ(pixels[2], 0u);

  // Drawn onto transparent pixels, the opaque one arrives unchanged.
  COffscreenContext context(nullptr, 3, 1);
  bitmap.draw(&context, CRect(0, 0, 3, 1), CPoint());
  EXPECT_EQ(context.getPixel(0, 0), 0xfffefefeu);
  EXPECT_TRUE(near(context.getPixel(1, 0), 0x80643219u, 1));
  EXPECT_EQ(context.getPixel(2, 0), 0u);
}

TEST(DrawBitmap, MissingOrDamagedResourcesStayEmptyAndDrawNothing) {
  for (const char* name : {"no_such_image.png", "draw_random.png", "draw_random_pngtype.png", "draw_truncated.png",
                           "draw_truncated_pngtype.png", "draw_badcrc_pngtype.png",
                           "draw_huge.png", "draw_huge_pngtype.png", ""}) {
    SCOPED_TRACE(name);
    CBitmap bitmap{CResourceDescription(name)};
    EXPECT_EQ(bitmap.getWidth(), 0);
    EXPECT_EQ(bitmap.getHeight(), 0);
    EXPECT_FALSE(drawsAnything(bitmap));
    EXPECT_FALSE(bitmap.loadFromResource(CResourceDescription(name)));
  }
  {
    // A wrong CRC on intact image data: the platform's own "DATA" decoder may
    // refuse the image or decode it, but never produce anything else.
    CBitmap badCrc{CResourceDescription("draw_badcrc.png")};
    if (badCrc.getWidth() != 0) {
      CBitmap intact{CResourceDescription("draw_alpha.png")};
      EXPECT_EQ(badCrc.getHeight(), 2);
      EXPECT_EQ(pixelsOf(badCrc), pixelsOf(intact));
    } else {
      EXPECT_FALSE(drawsAnything(badCrc));
    }
  }
  CBitmap byId{CResourceDescription(uint16_t{4711})};
  EXPECT_EQ(byId.getWidth(), 0);
  CBitmap nullName{CResourceDescription(static_cast<const char*>(nullptr))};
  EXPECT_EQ(nullName.getWidth(), 0);
}

TEST(DrawBitmap, MemoryConstructorsAndDispose) {
  const auto png = zendrel::test::writeRgba(2, 3, std::vector<uint32_t>(6, 0xff204060u));
  CBitmap* fromData = CBitmap::createFromPngData(png.data(), png.size());
  CBitmap* fromPngType = CBitmap::createFromPngTypeData(png.data(), png.size());
  const uint32_t raw[] = {0xff112233u, 0x80402010u};
  CBitmap* fromPixels = CBitmap::createFromPixels(raw, 2, 1);
  EXPECT_EQ(fromData->getWidth(), 2);
  EXPECT_EQ(fromData->getHeight(), 3);
  EXPECT_EQ(fromPngType->getHeight(), 3);
  EXPECT_EQ(pixelsOf(*fromPngType)[0], 0xff1f3f5fu);
  EXPECT_EQ(pixelsOf(*fromPixels), std::vector<uint32_t>(raw, raw + 2));
  EXPECT_TRUE(near(pixelsOf(*fromData)[5], 0xff204060u));

  fromPixels->dispose();
  EXPECT_EQ(fromPixels->getWidth(), 0);
  EXPECT_FALSE(drawsAnything(*fromPixels));
  EXPECT_FALSE(fromData->loadFromPath("anything"));
  EXPECT_EQ(fromData->getWidth(), 0);

  for (CBitmap* empty : {CBitmap::createFromPngData(nullptr, 0), CBitmap::createFromPngTypeData(png.data(), 10),
                         CBitmap::createFromPixels(nullptr, 4, 4), CBitmap::createFromPixels(raw, 0, 1),
                         CBitmap::createFromPixels(raw, -2, 1)}) {
    EXPECT_EQ(empty->getWidth(), 0);
    EXPECT_FALSE(drawsAnything(*empty));
    empty->release();
  }
  fromData->release();
  fromPngType->release();
  fromPixels->release();
}

TEST(DrawBitmap, SharedGraphicsUserFollowsTheBitmaps) {
  ASSERT_EQ(gdiplusUser, nullptr) << "no bitmap alive between tests";
  CBitmap* a = new CBitmap(CResourceDescription("draw_strip.png"));
  ASSERT_NE(gdiplusUser, nullptr);
  EXPECT_EQ(gdiplusUser->getNbReference(), 1);
  CBitmap* b = new CBitmap(CResourceDescription("draw_alpha.png"));
  b->retain();  // a view showing it
  EXPECT_EQ(gdiplusUser->getNbReference(), 2);
  {
    COffscreenContext context(nullptr, 4, 4);  // owns a blank bitmap of its own
    EXPECT_EQ(gdiplusUser->getNbReference(), 3);
    a->draw(&context, CRect(0, 0, 4, 4), CPoint());
    a->release();  // gone while the context that drew it lives
    EXPECT_EQ(gdiplusUser->getNbReference(), 2);
    b->release();
  }
  EXPECT_EQ(gdiplusUser->getNbReference(), 1);
  EXPECT_EQ(b->getNbReference(), 1);
  b->release();
  EXPECT_EQ(gdiplusUser, nullptr);

  // Start-up works again after the last user went away, and in reverse order of creation.
  CBitmap* c = new CBitmap(CResourceDescription("draw_strip.png"));
  CBitmap* d = CBitmap::createFromPngData(nullptr, 0);
  EXPECT_EQ(c->getWidth(), 4);
  c->release();
  ASSERT_NE(gdiplusUser, nullptr);
  d->release();
  EXPECT_EQ(gdiplusUser, nullptr);
  ensureGdiplus();
  releaseGdiplus();
  releaseGdiplus();  // one too many: harmless
  EXPECT_EQ(gdiplusUser, nullptr);

  // A frame is a user too: it outlives the last bitmap.
  CFrame* frame = new CFrame(CRect(0, 0, 10, 10), nullptr, nullptr);
  CBitmap* e = new CBitmap(CResourceDescription("draw_strip.png"));
  EXPECT_EQ(gdiplusUser->getNbReference(), 2);
  e->release();
  ASSERT_NE(gdiplusUser, nullptr);
  frame->release();
  EXPECT_EQ(gdiplusUser, nullptr);
}

TEST(DrawBitmap, FindsThePluginImagesByLowerCaseName) {
  CBitmap base{CResourceDescription("base.png")};
  EXPECT_EQ(base.getWidth(), 900);
  EXPECT_EQ(base.getHeight(), 550);
  CBitmap steps{CResourceDescription("stepcountindicator.png")};
  EXPECT_EQ(steps.getWidth(), 40);
  EXPECT_EQ(steps.getHeight(), 896);
}

}  // namespace
