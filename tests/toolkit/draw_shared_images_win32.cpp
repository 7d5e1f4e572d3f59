// On Windows one decode is shared by the bitmaps of one thread (GDI+ objects
// are not to be used from two threads at once): another thread decodes its own.
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "tests/toolkit/draw_shared_images.h"
#include "toolkit/platform/win32/gdiplus.h"

using namespace Toolkit;

namespace zendrel::test {

const void* decodeOf(const CBitmap& bitmap) { return bitmap.getPlatformImage()->gdiImage; }

namespace {

TEST(DrawSharedImages, AnotherThreadDecodesItsOwnAndDrawsTheSame) {
  CBitmap first{CResourceDescription("draw_strip.png")};
  const void* elsewhere = nullptr;
  std::vector<uint32_t> drawnThere;
  std::thread([&] {
    CBitmap there{CResourceDescription("draw_strip.png")};
    elsewhere = decodeOf(there);
    drawnThere = drawnPixels(there);
  }).join();
  EXPECT_NE(elsewhere, decodeOf(first));
  EXPECT_EQ(drawnThere, drawnPixels(first));
}

}  // namespace
}  // namespace zendrel::test
