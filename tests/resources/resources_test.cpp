// The sixteen images the module stores: each under its upper-case name, a
// complete PNG file, with the size and frame layout the editor draws it with,
// and each with its 2x and 3x sets (BASE@2X.PNG, BASE@3X.PNG): the same
// picture at two and three times the size.
#include <gtest/gtest.h>
#include <png.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "tests/resources/resources_lookup.h"
#include "toolkit/bitmap.h"

namespace {

struct ImageLayout {
  const char* name;
  int width;
  int height;
  int frames;
};

// The editor's table, plus the two images it stores but never loads.
constexpr ImageLayout kImages[] = {
    {"BASE.PNG", 900, 550, 1},
    {"SLIDERSLOT1.PNG", 40, 200, 1},
    {"SLIDERBLUEBIG.PNG", 40, 28, 1},
    {"SLIDERSLOT3.PNG", 18, 95, 1},
    {"SLIDERBLUESMALL.PNG", 18, 28, 1},
    {"NOTELENGTHINDICATOR.PNG", 40, 364, 13},
    {"STEPCOUNTINDICATOR.PNG", 40, 896, 32},
    {"STEP.PNG", 790, 408, 17},
    {"STEPSMALL.PNG", 790, 768, 32},
    {"SPLASHSCREEN.PNG", 500, 300, 1},
    {"CURRENTPAGE.PNG", 90, 56, 2},
    {"MERGE.PNG", 40, 40, 2},
    {"INCREMENT.PNG", 20, 36, 2},
    {"DECREMENT.PNG", 20, 36, 2},
    {"TOGGLE.PNG", 40, 54, 2},
    {"INFOBUTTON.PNG", 40, 80, 2},
};

constexpr int kDensities[] = {1, 2, 3};

// The name of an image's set at a density, as the toolkit asks for it: BASE.PNG at 2 is BASE@2X.PNG.
std::string atDensity(const std::string& name, int density) {
  if (density == 1) return name;
  const std::size_t dot = name.rfind('.');
  return name.substr(0, dot) + "@" + std::to_string(density) + "X" + name.substr(dot);
}

uint32_t be32(const unsigned char* p) {
  return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | uint32_t(p[3]);
}

uint32_t crc32(const unsigned char* p, std::size_t n) {
  uint32_t c = 0xffffffffu;
  for (std::size_t i = 0; i < n; ++i) {
    c ^= p[i];
    for (int k = 0; k < 8; ++k) c = (c >> 1) ^ (0xedb88320u & (0u - (c & 1u)));
  }
  return ~c;
}

struct Header {
  uint32_t width = 0, height = 0;
  int depth = 0, colourType = 0, interlace = 0;
};

// Walks the chunks: signature, IHDR first, every CRC right, IEND last and at
// the very end of the bytes (a cut or padded copy fails here).
::testing::AssertionResult wellFormed(const zendrel::test::Bytes& b, Header& h) {
  static const unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
  if (b.size < 8 || std::memcmp(b.data, kSignature, 8) != 0) return ::testing::AssertionFailure() << "no PNG signature";
  std::size_t at = 8;
  bool sawHeader = false, sawData = false;
  while (at + 12 <= b.size) {
    const uint32_t length = be32(b.data + at);
    if (length > b.size - at - 12) return ::testing::AssertionFailure() << "chunk at " << at << " runs past the end";
    const std::string type(reinterpret_cast<const char*>(b.data + at + 4), 4);
    if (crc32(b.data + at + 4, length + 4) != be32(b.data + at + 8 + length))
      return ::testing::AssertionFailure() << "bad CRC in " << type << " chunk at " << at;
    if (!sawHeader && type != "IHDR") return ::testing::AssertionFailure() << "first chunk is " << type;
    if (type == "IHDR") {
      const unsigned char* d = b.data + at + 8;
      h.width = be32(d);
      h.height = be32(d + 4);
      h.depth = d[8];
      h.colourType = d[9];
      h.interlace = d[12];
      sawHeader = true;
    }
    if (type == "IDAT") sawData = true;
    at += 12 + length;
    if (type == "IEND") {
      if (at != b.size) return ::testing::AssertionFailure() << (b.size - at) << " bytes after IEND";
      if (!sawData) return ::testing::AssertionFailure() << "no image data";
      return ::testing::AssertionSuccess();
    }
  }
  return ::testing::AssertionFailure() << "no IEND chunk";
}

// RGBA, 8 bits a channel, rows top to bottom.
std::vector<uint8_t> decode(const zendrel::test::Bytes& b, int& w, int& h) {
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  std::vector<uint8_t> pixels;
  if (!png_image_begin_read_from_memory(&image, b.data, b.size)) return pixels;
  image.format = PNG_FORMAT_RGBA;
  pixels.resize(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) {
    png_image_free(&image);
    pixels.clear();
    return pixels;
  }
  w = int(image.width);
  h = int(image.height);
  return pixels;
}

TEST(Resources, EveryImageIsStoredUnderItsUpperCaseNameAndNothingElse) {
  std::set<std::string> expected;
  for (const ImageLayout& image : kImages)
    for (int density : kDensities) {
      const std::string name = atDensity(image.name, density);
      expected.insert(name);
      zendrel::test::Bytes bytes;
      EXPECT_TRUE(zendrel::test::findImage(name.c_str(), bytes)) << name << " is not stored";
    }
  const std::vector<std::string> stored = zendrel::test::storedNames();
  const std::set<std::string> unique(stored.begin(), stored.end());
  EXPECT_EQ(unique.size(), stored.size()) << "a name is stored twice";
  EXPECT_EQ(unique, expected);
}

TEST(Resources, EveryImageIsACompletePngOfItsSizeAndFrameLayout) {
  for (const ImageLayout& image : kImages)
    for (int density : kDensities) {
      const std::string name = atDensity(image.name, density);
      SCOPED_TRACE(name);
      zendrel::test::Bytes bytes;
      if (!zendrel::test::findImage(name.c_str(), bytes)) {
        ADD_FAILURE() << "not stored";
        continue;
      }
      Header h;
      ASSERT_TRUE(wellFormed(bytes, h));
      EXPECT_EQ(h.width, uint32_t(image.width * density));
      EXPECT_EQ(h.height, uint32_t(image.height * density));
      EXPECT_EQ(h.height % uint32_t(image.frames), 0u) << "frames of unequal height";
      // Eight-bit truecolour, with or without alpha, not interlaced: what every decoder on both platforms
      // takes.
      EXPECT_EQ(h.depth, 8);
      EXPECT_TRUE(h.colourType == 2 || h.colourType == 6) << "colour type " << h.colourType;
      EXPECT_EQ(h.interlace, 0);
      int w = 0, hh = 0;
      EXPECT_FALSE(decode(bytes, w, hh).empty()) << "the image data does not decode";
    }
}

TEST(Resources, DenserSetsLoadThroughTheToolkitAtTwiceAndThriceTheSize) {
  for (const ImageLayout& image : kImages)
    for (int density : {2, 3}) {
      const std::string name = atDensity(image.name, density);
      SCOPED_TRACE(name);
      Toolkit::CBitmap bitmap{Toolkit::CResourceDescription(name.c_str())};
      EXPECT_EQ(bitmap.getWidth(), image.width * density);
      EXPECT_EQ(bitmap.getHeight(), image.height * density);
      // The toolkit finds names without regard to case, on both platforms.
      std::string lower = name;
      std::transform(lower.begin(), lower.end(), lower.begin(), [](char c) { return char(std::tolower(c)); });
      Toolkit::CBitmap asked{Toolkit::CResourceDescription(lower.c_str())};
      EXPECT_EQ(asked.getWidth(), image.width * density) << lower;
    }
}

// Premultiplied RGBA, each pixel the mean of its density × density block: the
// denser picture as it looks at 1x.
std::vector<double> boxDown(const std::vector<uint8_t>& rgba, int w, int h, int density) {
  const int ow = w / density, oh = h / density;
  std::vector<double> out(std::size_t(ow) * oh * 4, 0.0);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const uint8_t* p = &rgba[(std::size_t(y) * w + x) * 4];
      double* o = &out[(std::size_t(y / density) * ow + x / density) * 4];
      for (int c = 0; c < 3; ++c) o[c] += p[c] * (p[3] / 255.0);
      o[3] += p[3];
    }
  for (double& v : out) v /= density * density;
  return out;
}

TEST(Resources, DenserSetsShowThePictureOfTheirOneXSet) {
  // Edges and glyphs are drawn anew at each density, so pixels differ a
  // little; a frame shifted, swapped or drawn from other art differs a lot.
  for (const ImageLayout& image : kImages) {
    zendrel::test::Bytes bytes;
    ASSERT_TRUE(zendrel::test::findImage(image.name, bytes)) << image.name;
    int w = 0, h = 0;
    const std::vector<uint8_t> one = decode(bytes, w, h);
    ASSERT_FALSE(one.empty()) << image.name;
    const std::vector<double> reference = boxDown(one, w, h, 1);
    for (int density : {2, 3}) {
      const std::string name = atDensity(image.name, density);
      SCOPED_TRACE(name);
      ASSERT_TRUE(zendrel::test::findImage(name.c_str(), bytes));
      int dw = 0, dh = 0;
      const std::vector<uint8_t> dense = decode(bytes, dw, dh);
      ASSERT_EQ(dw, w * density);
      ASSERT_EQ(dh, h * density);
      const std::vector<double> down = boxDown(dense, dw, dh, density);
      double sum = 0;
      for (std::size_t i = 0; i < down.size(); ++i) sum += std::abs(down[i] - reference[i]);
      EXPECT_LT(sum / down.size(), 3.0) << "mean difference per channel from the 1x set";
    }
  }
}

TEST(Resources, FramesOfEveryStripDifferFromEachOther) {
  for (const ImageLayout& image : kImages) {
    if (image.frames < 2) continue;
    SCOPED_TRACE(image.name);
    zendrel::test::Bytes bytes;
    ASSERT_TRUE(zendrel::test::findImage(image.name, bytes));
    int w = 0, h = 0;
    const std::vector<uint8_t> pixels = decode(bytes, w, h);
    ASSERT_EQ(pixels.size(), std::size_t(image.width) * image.height * 4);
    const std::size_t frameBytes = pixels.size() / image.frames;
    for (int a = 0; a < image.frames; ++a)
      for (int b = a + 1; b < image.frames; ++b)
        EXPECT_FALSE(std::equal(pixels.begin() + a * frameBytes, pixels.begin() + (a + 1) * frameBytes,
                                pixels.begin() + b * frameBytes))
            << "frames " << a << " and " << b << " are the same picture";
  }
}

TEST(Resources, PanelAndSplashScreenAreOpaque) {
  // The frame's grey would show through a hole in the panel; the splash covers the editor.
  for (const char* image : {"BASE.PNG", "SPLASHSCREEN.PNG"})
    for (int density : kDensities) {
      const std::string name = atDensity(image, density);
      SCOPED_TRACE(name);
      zendrel::test::Bytes bytes;
      ASSERT_TRUE(zendrel::test::findImage(name.c_str(), bytes));
      int w = 0, h = 0;
      const std::vector<uint8_t> pixels = decode(bytes, w, h);
      ASSERT_FALSE(pixels.empty());
      std::size_t holes = 0;
      for (std::size_t i = 3; i < pixels.size(); i += 4) holes += pixels[i] != 255;
      EXPECT_EQ(holes, 0u) << "pixels that are not opaque";
    }
}

}  // namespace
