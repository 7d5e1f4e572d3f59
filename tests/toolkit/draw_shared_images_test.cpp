// Every open editor shows the same images: a decoded image resource is shared
// by the bitmaps that show it (on Linux by every bitmap, on Windows by those of
// one thread), lives while any of them shows it, and is copied before anything
// draws into it.
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "tests/toolkit/draw_shared_images.h"
#include "tests/toolkit/draw_support.h"
#include "toolkit/draw_context.h"
#include "toolkit/platform_seam.h"

using namespace Toolkit;
using zendrel::test::decodeOf;
using zendrel::test::drawnPixels;

std::vector<uint32_t> zendrel::test::drawnPixels(CBitmap& bitmap) {
  COffscreenContext canvas(nullptr, bitmap.getWidth(), bitmap.getHeight());
  bitmap.draw(&canvas, CRect(0, 0, bitmap.getWidth(), bitmap.getHeight()));
  std::vector<uint32_t> seen;
  canvas.readPixels(seen);
  return seen;
}

namespace {

std::vector<uint32_t> pixelsOf(const CBitmap& bitmap) {
  std::vector<uint32_t> out;
  platform::readImagePixels(bitmap.getPlatformImage(), out);
  return out;
}

TEST(DrawSharedImages, BitmapsOfOneResourceShareOneDecode) {
  CBitmap first{CResourceDescription("draw_strip.png")};
  CBitmap second{CResourceDescription("DRAW_STRIP.PNG")};
  ASSERT_EQ(second.getWidth(), 4);
  EXPECT_EQ(decodeOf(first), decodeOf(second));

  CBitmap other{CResourceDescription("draw_alpha.png")};
  EXPECT_NE(decodeOf(other), decodeOf(first));
}

TEST(DrawSharedImages, TheDecodeLivesWhileAnyBitmapShowsIt) {
  auto* first = new CBitmap(CResourceDescription("draw_alpha.png"));
  const std::vector<uint32_t> expected = drawnPixels(*first);
  auto* second = new CBitmap(CResourceDescription("draw_alpha.png"));
  first->release();
  EXPECT_EQ(drawnPixels(*second), expected) << "the second bitmap keeps the shared decode alive";
  second->release();
  // Nothing shows the image now: the next load decodes it again, to the same pixels.
  CBitmap third{CResourceDescription("draw_alpha.png")};
  EXPECT_EQ(drawnPixels(third), expected);
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

  EXPECT_NE(decodeOf(drawn), decodeOf(shown));
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

// Editors of several instances, each on a thread of its own, load, draw and
// free the same images at once: every one sees the decoded pixels (and
// ThreadSanitizer sees no race).
TEST(DrawSharedImages, EditorsOnSeveralThreadsLoadAndDrawTheSameImages) {
  std::vector<uint32_t> expected;
  {
    CBitmap reference{CResourceDescription("draw_strip.png")};
    expected = drawnPixels(reference);
  }
  std::vector<int> mismatches(4, 0);
  std::vector<std::thread> editors;
  for (int t = 0; t < 4; ++t)
    editors.emplace_back([&, t] {
      for (int i = 0; i < 50; ++i) {
        auto* bitmap = new CBitmap(CResourceDescription("draw_strip.png"));
        auto* again = new CBitmap(CResourceDescription("draw_strip.png"));
        if (drawnPixels(*bitmap) != expected || drawnPixels(*again) != expected) ++mismatches[t];
        again->release();
        bitmap->release();
      }
    });
  for (auto& editor : editors) editor.join();
  EXPECT_EQ(mismatches, std::vector<int>(4, 0));
}

}  // namespace
