// The display-scale rules: where a factor comes from, the mapping between
// logical and device pixels, the choice of image set, and the resizing of
// images between sets.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "toolkit/resample.h"
#include "toolkit/scaling.h"

namespace Toolkit::scaling {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

TEST(ScaleSources, StatedFactorsAreHeldInRangeAndNonsenseIsNoFactor) {
  EXPECT_EQ(fromStated(1.5), 1.5);
  EXPECT_EQ(fromStated(0.5), 1.0);
  EXPECT_EQ(fromStated(100), 3.0);
  for (double bad : {kNaN, kInf, -kInf, 0.0, -0.0, -1.0}) EXPECT_FALSE(fromStated(bad)) << bad;
  EXPECT_EQ(fromDpi(192), 2.0);
  EXPECT_EQ(fromDpi(144), 1.5);
  EXPECT_EQ(fromDpi(72), 1.0);
  EXPECT_FALSE(fromDpi(0));
}

TEST(ScaleSources, TheUsersTextMustBeANumberInRange) {
  EXPECT_EQ(fromText("2"), 2.0);
  EXPECT_EQ(fromText(" 1.25\n"), 1.25);
  EXPECT_EQ(fromText("3.0"), 3.0);
  EXPECT_EQ(fromText("1."), 1.0);
  for (const char* bad : {"abc", "-2", "1e9", "", " ", "0.99", "3.01", "1,5", "2x", "+2", "nan", "inf", ".", "0x2"})
    EXPECT_FALSE(fromText(bad)) << '"' << bad << '"';
}

TEST(ScaleSources, XftDpiIsReadFromTheResourceDatabase) {
  EXPECT_EQ(dpiFromResources("Xft.dpi:\t192\n"), 192.0);
  EXPECT_EQ(dpiFromResources("*customization:\t-color\nXft.antialias:\t1\nXft.dpi:  144 \nXft.hinting: 1\n"), 144.0);
  EXPECT_EQ(dpiFromResources("Xft.dpi:\t96.5"), 96.5);
  EXPECT_FALSE(dpiFromResources(""));
  EXPECT_FALSE(dpiFromResources("Xft.antialias:\t1\n"));
  EXPECT_FALSE(dpiFromResources("Xft.dpi:\tlarge\n"));
  EXPECT_FALSE(dpiFromResources("Xft.dpix:\t192\n"));
  EXPECT_FALSE(dpiFromResources("Xft.dpi 192\n"));
  // 0 dots per inch reads, but is no factor.
  ASSERT_EQ(dpiFromResources("Xft.dpi: 0\n"), 0.0);
  EXPECT_FALSE(fromDpi(*dpiFromResources("Xft.dpi: 0\n")));
}

TEST(ScaleSources, TheFirstPresentWins) {
  EXPECT_EQ(choose(1.5, 2.0, 3.0), 1.5);
  EXPECT_EQ(choose(std::nullopt, 2.0, 3.0), 2.0);
  EXPECT_EQ(choose(std::nullopt, std::nullopt, 3.0), 3.0);
  EXPECT_EQ(choose(std::nullopt, std::nullopt, std::nullopt), 1.0);
}

TEST(ScaleMapping, EveryDevicePixelBelongsToExactlyOneLogicalPixel) {
  for (double s : {1.0, 1.1, 1.25, 1.5, 1.75, 2.0, 2.5, 2.9, 3.0}) {
    EXPECT_EQ(toDevice(900, s), int32_t(std::floor(900 * s + 0.5))) << s;
    for (int32_t x = -50; x < 1000; ++x) {
      const int32_t run = toDevice(x + 1, s) - toDevice(x, s);
      ASSERT_GE(run, int32_t(std::floor(s))) << s << " at " << x;
      ASSERT_LE(run, int32_t(std::ceil(s))) << s << " at " << x;
    }
    for (int32_t p = -100; p < 3000; ++p) {
      const int32_t x = toLogical(p, s);
      ASSERT_LE(toDevice(x, s), p) << s << " at " << p;
      ASSERT_GT(toDevice(x + 1, s), p) << s << " at " << p;
    }
  }
  EXPECT_EQ(toDevice(550, 1.25), 688);  // 687.5 rounds up
  // Far ends stay in range rather than wrapping.
  EXPECT_EQ(toDevice(std::numeric_limits<int32_t>::max(), 3.0), std::numeric_limits<int32_t>::max());
  EXPECT_EQ(toDevice(std::numeric_limits<int32_t>::min(), 3.0), std::numeric_limits<int32_t>::min());
  EXPECT_LE(toLogical(std::numeric_limits<int32_t>::max(), 1.5), std::numeric_limits<int32_t>::max());
}

TEST(ScaleMapping, AreasMapOntoWholeDevicePixelsAndBack) {
  EXPECT_EQ(toDevice(CRect(1, 1, 3, 3), 1.5), CRect(2, 2, 5, 5));
  // Device pixels 2..4 lie on logical pixels 1..2; pixel 1 on logical 0 too.
  EXPECT_EQ(coverInLogical(CRect(2, 2, 5, 5), 1.5), CRect(1, 1, 3, 3));
  EXPECT_EQ(coverInLogical(CRect(1, 1, 5, 5), 1.5), CRect(0, 0, 3, 3));
  for (double s : {1.25, 1.5, 1.75, 2.5}) {
    for (int32_t a = 0; a < 60; ++a)
      for (int32_t b = a + 1; b < 60; b += 3) {
        const CRect cover = coverInLogical(CRect(a, 0, b, 1), s);
        const CRect back = toDevice(cover, s);
        ASSERT_LE(back.left, a);
        ASSERT_GE(back.right, b);
        // and no wider than needed
        ASSERT_GT(toDevice(cover.left + 1, s), a);
        ASSERT_LT(toDevice(cover.right - 1, s), b);
      }
  }
  EXPECT_TRUE(coverInLogical(CRect(5, 5, 5, 9), 1.5).isEmpty());
}

TEST(ImageSets, TheSmallestDensityAtOrAboveTheScaleElseTheDensest) {
  EXPECT_EQ(densityFor(1.0, 0b111), 1);
  EXPECT_EQ(densityFor(1.25, 0b111), 2);
  EXPECT_EQ(densityFor(2.0, 0b111), 2);
  EXPECT_EQ(densityFor(2.5, 0b111), 3);
  EXPECT_EQ(densityFor(3.0, 0b111), 3);
  EXPECT_EQ(densityFor(1.5, 0b101), 3);  // no 2x set
  EXPECT_EQ(densityFor(2.5, 0b011), 2);  // no 3x set: the densest there is
  EXPECT_EQ(densityFor(2.5, 0), 1);      // 1x is always there
  EXPECT_EQ(densityName("BASE.PNG", 1), "BASE.PNG");
  EXPECT_EQ(densityName("BASE.PNG", 2), "BASE@2X.PNG");
  EXPECT_EQ(densityName("STEP.SMALL.PNG", 3), "STEP.SMALL@3X.PNG");
  EXPECT_EQ(densityName("NOEXT", 2), "NOEXT@2X");
}

uint32_t argb(uint32_t a, uint32_t r, uint32_t g, uint32_t b) { return a << 24 | r << 16 | g << 8 | b; }

TEST(Resample, AveragesByAreaAndReadsNothingOutsideTheSource) {
  // Halving averages pairs exactly.
  const std::vector<uint32_t> pairs = {argb(255, 200, 100, 0), argb(255, 100, 0, 50), argb(0, 0, 0, 0),
                                       argb(255, 255, 255, 255)};
  EXPECT_EQ(resampleArea(pairs, 4, 1, 2, 1), (std::vector<uint32_t>{argb(255, 150, 50, 25), argb(128, 128, 128, 128)}));
  // Doubling repeats each pixel.
  EXPECT_EQ(resampleArea({argb(255, 1, 2, 3), argb(10, 4, 5, 6)}, 2, 1, 4, 2),
            (std::vector<uint32_t>{argb(255, 1, 2, 3), argb(255, 1, 2, 3), argb(10, 4, 5, 6), argb(10, 4, 5, 6),
                                   argb(255, 1, 2, 3), argb(255, 1, 2, 3), argb(10, 4, 5, 6), argb(10, 4, 5, 6)}));
  // A flat colour stays flat at any ratio, up to the edges.
  const std::vector<uint32_t> flat(40 * 28, argb(200, 150, 100, 50));
  for (int32_t to : {21, 30, 35, 49, 55})
    for (uint32_t p : resampleArea(flat, 40, 28, to, to)) ASSERT_EQ(p, argb(200, 150, 100, 50)) << to;
  // 3 to 2: the middle pixel is shared half and half.
  EXPECT_EQ(resampleArea({argb(255, 0, 0, 0), argb(255, 90, 90, 90), argb(255, 180, 180, 180)}, 3, 1, 2, 1),
            (std::vector<uint32_t>{argb(255, 30, 30, 30), argb(255, 150, 150, 150)}));
  // Nothing to do for empty sizes or short input.
  EXPECT_TRUE(resampleArea(flat, 40, 28, 0, 5).empty());
  EXPECT_TRUE(resampleArea(flat, 41, 28, 5, 5).empty());
}

}  // namespace
}  // namespace Toolkit::scaling
