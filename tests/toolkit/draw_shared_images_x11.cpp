// Decoded resources on Linux are shared by every bitmap that shows them: one
// decode, one copy of the pixels, a cairo surface per bitmap.
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "tests/toolkit/draw_support.h"
#include "toolkit/bitmap.h"
#include "toolkit/draw_context.h"
#include "toolkit/platform/x11/cairo_image.h"
#include "toolkit/platform_seam.h"

using namespace Toolkit;

namespace {

const unsigned char* pixelMemory(const CBitmap& bitmap) {
  return cairo_image_surface_get_data(bitmap.getPlatformImage()->surface);
}

std::vector<uint32_t> pixelsOf(const CBitmap& bitmap) {
  std::vector<uint32_t> out;
  platform::readImagePixels(bitmap.getPlatformImage(), out);
  return out;
}

TEST(DrawSharedImages, BitmapsOfOneResourceShareTheirPixelsButNoSurface) {
  CBitmap first{CResourceDescription("draw_strip.png")};
  CBitmap second{CResourceDescription("DRAW_STRIP.PNG")};
  ASSERT_EQ(second.getWidth(), 4);
  EXPECT_EQ(pixelMemory(first), pixelMemory(second));
  EXPECT_NE(first.getPlatformImage()->surface, second.getPlatformImage()->surface);

  CBitmap other{CResourceDescription("draw_alpha.png")};
  EXPECT_NE(pixelMemory(other), pixelMemory(first));
}

TEST(DrawSharedImages, PixelsOutliveTheBitmapsThatLoadedThemOnlyWhileShown) {
  auto* first = new CBitmap(CResourceDescription("draw_alpha.png"));
  const std::vector<uint32_t> expected = pixelsOf(*first);
  auto* second = new CBitmap(CResourceDescription("draw_alpha.png"));
  first->release();
  EXPECT_EQ(pixelsOf(*second), expected) << "the second bitmap keeps the shared pixels alive";
  second->release();
  // Nothing shows the image now: the next load decodes it again, to the same pixels.
  CBitmap third{CResourceDescription("draw_alpha.png")};
  EXPECT_EQ(pixelsOf(third), expected);
}

TEST(DrawSharedImages, DrawingIntoOneBitmapLeavesTheOthersAlone) {
  CBitmap drawn{CResourceDescription("draw_strip.png")};
  CBitmap shown{CResourceDescription("draw_strip.png")};
  const std::vector<uint32_t> before = pixelsOf(shown);

  platform::Surface* surface = platform::createImageSurface(drawn.getPlatformImage());
  ASSERT_NE(surface, nullptr);
  platform::setFillColor(surface, CColor(0, 0, 255));
  platform::fillRect(surface, CRect(0, 0, 4, 12));
  platform::destroySurface(surface);

  EXPECT_NE(pixelMemory(drawn), pixelMemory(shown));
  EXPECT_EQ(pixelsOf(shown), before);
  for (uint32_t p : pixelsOf(drawn)) EXPECT_EQ(p, 0xff0000ffu);
}

TEST(DrawSharedImages, DamagedResourcesStayEmptyEveryTime) {
  for (int i = 0; i < 2; ++i) {
    CBitmap truncated{CResourceDescription("draw_truncated.png")};
    EXPECT_EQ(truncated.getWidth(), 0);
    EXPECT_EQ(truncated.getPlatformImage(), nullptr);
  }
}

// Editors of several instances load, draw and free the same images on their
// own threads: every one sees the decoded pixels (and ThreadSanitizer sees no race).
TEST(DrawSharedImages, EditorsOnSeveralThreadsLoadAndDrawTheSameImages) {
  std::vector<uint32_t> expected;
  {
    CBitmap reference{CResourceDescription("draw_strip.png")};
    COffscreenContext canvas(nullptr, 4, 12);
    reference.draw(&canvas, CRect(0, 0, 4, 12));
    ASSERT_TRUE(canvas.readPixels(expected));
  }
  std::vector<int> mismatches(4, 0);
  std::vector<std::thread> editors;
  for (int t = 0; t < 4; ++t)
    editors.emplace_back([&, t] {
      for (int i = 0; i < 100; ++i) {
        auto* bitmap = new CBitmap(CResourceDescription("draw_strip.png"));
        COffscreenContext canvas(nullptr, 4, 12);
        bitmap->draw(&canvas, CRect(0, 0, 4, 12));
        std::vector<uint32_t> seen;
        if (!canvas.readPixels(seen) || seen != expected) ++mismatches[t];
        bitmap->release();
      }
    });
  for (auto& editor : editors) editor.join();
  EXPECT_EQ(mismatches, std::vector<int>(4, 0));
}

}  // namespace
