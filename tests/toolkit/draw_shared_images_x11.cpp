// On Linux one decode is shared by every bitmap of the process, each drawing
// through a cairo surface of its own over the same read-only pixels.
#include <gtest/gtest.h>

#include <thread>

#include "tests/toolkit/draw_shared_images.h"
#include "toolkit/platform/x11/cairo_image.h"

using namespace Toolkit;

namespace zendrel::test {

const void* decodeOf(const CBitmap& bitmap) { return cairo_image_surface_get_data(bitmap.getPlatformImage()->surface); }

namespace {

TEST(DrawSharedImages, EveryThreadSharesThePixelsButNoSurface) {
  CBitmap first{CResourceDescription("draw_strip.png")};
  const void* elsewhere = nullptr;
  std::thread([&] {
    CBitmap there{CResourceDescription("draw_strip.png")};
    elsewhere = decodeOf(there);
  }).join();
  EXPECT_EQ(elsewhere, decodeOf(first));
  CBitmap second{CResourceDescription("draw_strip.png")};
  EXPECT_EQ(decodeOf(second), decodeOf(first));
  EXPECT_NE(second.getPlatformImage()->surface, first.getPlatformImage()->surface);
}

}  // namespace
}  // namespace zendrel::test
