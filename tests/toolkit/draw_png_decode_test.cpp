// The portable "PNG"-type decoder: transformations, premultiplication rules
// and what it does with input that is not a complete PNG.
#include <gtest/gtest.h>

#include <zlib.h>

#include <cstring>
#include <random>
#include <string>
#include <utility>

#include "tests/toolkit/draw_png_writer.h"
#include "toolkit/png_decode.h"

using namespace Toolkit;
using zendrel::test::PngLayout;

namespace {

// Pixel (x, y) of a decode as 0xAARRGGBB.
uint32_t pixel(const PngPixels& p, int x, int y) {
  const uint8_t* b = p.bytes.get() + (std::size_t(y) * std::size_t(p.width) + std::size_t(x)) * 4;
  return uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24;
}

PngPixels decode(const std::vector<unsigned char>& bytes, PremultiplyRule rule = PremultiplyRule::kShift256) {
  PngPixels out;
  EXPECT_TRUE(decodePng(bytes.data(), bytes.size(), rule, out));
  return out;
}

TEST(DrawPngDecode, PremultipliesByShiftingWithBgraLayout) {
  const auto png = zendrel::test::writeRgba(4, 1, {0xffffffff, 0x80c86432, 0x00ff8000, 0x40ffffff});
  const PngPixels p = decode(png);
  ASSERT_EQ(p.width, 4);
  ASSERT_EQ(p.height, 1);
  // 255 × 255 ÷ 256 = 254: opaque white is not 255 on this path.
  EXPECT_EQ(pixel(p, 0, 0), 0xfffefefeu);
  // (200, 100, 50) × 128 ÷ 256; bytes in memory are B, G, R, A.
  EXPECT_EQ(pixel(p, 1, 0), 0x80643219u);
  EXPECT_EQ(p.bytes.get()[4], 25);
  EXPECT_EQ(p.bytes.get()[6], 100);
  // Alpha 0: all zero, whatever the colour was.
  EXPECT_EQ(pixel(p, 2, 0), 0u);
  EXPECT_EQ(pixel(p, 3, 0), 0x403f3f3fu);
}

TEST(DrawPngDecode, ExactRuleKeepsOpaqueColours) {
  const auto png = zendrel::test::writeRgba(3, 1, {0xffffffff, 0x40ffffff, 0x00123456});
  const PngPixels p = decode(png, PremultiplyRule::kRound255);
  EXPECT_EQ(pixel(p, 0, 0), 0xffffffffu);
  EXPECT_EQ(pixel(p, 1, 0), 0x40404040u);  // 255 × 64 ÷ 255
  EXPECT_EQ(pixel(p, 2, 0), 0u);
}

TEST(DrawPngDecode, ColourTypesBecomeBgraWithAlpha) {
  {  // RGB without transparency: opaque filler
    PngLayout s;
    s.width = 2;
    s.colorType = PNG_COLOR_TYPE_RGB;
    s.rows = {{10, 20, 30, 200, 150, 100}};
    const PngPixels p = decode(zendrel::test::writePng(s));
    EXPECT_EQ(pixel(p, 0, 0), (0xffu << 24) | (10u * 255 >> 8) << 16 | (20u * 255 >> 8) << 8 | (30u * 255 >> 8));
    EXPECT_EQ(pixel(p, 1, 0), (0xffu << 24) | (200u * 255 >> 8) << 16 | (150u * 255 >> 8) << 8 | (100u * 255 >> 8));
  }
  {  // palette with a transparency chunk: red stays red (no blue swap), entries past tRNS opaque
    PngLayout s;
    s.width = 3;
    s.colorType = PNG_COLOR_TYPE_PALETTE;
    s.palette = {255, 0, 0, 0, 0, 255, 0, 255, 0};
    s.paletteAlpha = {255, 0};
    s.rows = {{0, 1, 2}};
    const PngPixels p = decode(zendrel::test::writePng(s), PremultiplyRule::kRound255);
    EXPECT_EQ(pixel(p, 0, 0), 0xffff0000u);
    EXPECT_EQ(pixel(p, 1, 0), 0u);
    EXPECT_EQ(pixel(p, 2, 0), 0xff00ff00u);
  }
  {  // 1-bit grey expanded to 0 / 255
    PngLayout s;
    s.width = 8;
    s.colorType = PNG_COLOR_TYPE_GRAY;
    s.bitDepth = 1;
    s.rows = {{0xA0}};
    const PngPixels p = decode(zendrel::test::writePng(s), PremultiplyRule::kRound255);
    EXPECT_EQ(pixel(p, 0, 0), 0xffffffffu);
    EXPECT_EQ(pixel(p, 1, 0), 0xff000000u);
    EXPECT_EQ(pixel(p, 2, 0), 0xffffffffu);
    EXPECT_EQ(pixel(p, 7, 0), 0xff000000u);
  }
  {  // 16-bit grey with alpha: reduced to 8 bits, grey copied to R, G and B
    PngLayout s;
    s.width = 2;
    s.colorType = PNG_COLOR_TYPE_GRAY_ALPHA;
    s.bitDepth = 16;
    s.rows = {{0xff, 0xff, 0x80, 0x00, 0x64, 0x00, 0xff, 0xff}};
    const PngPixels p = decode(zendrel::test::writePng(s), PremultiplyRule::kRound255);
    EXPECT_EQ(pixel(p, 0, 0), 0x80808080u);
    EXPECT_EQ(pixel(p, 1, 0), 0xff646464u);
  }
  {  // grey with a transparent value
    PngLayout s;
    s.width = 2;
    s.colorType = PNG_COLOR_TYPE_GRAY;
    s.greyTransparent = 7;
    s.rows = {{7, 200}};
    const PngPixels p = decode(zendrel::test::writePng(s), PremultiplyRule::kRound255);
    EXPECT_EQ(pixel(p, 0, 0), 0u);
    EXPECT_EQ(pixel(p, 1, 0), 0xffc8c8c8u);
  }
}

TEST(DrawPngDecode, InterlacedImagesMatchPlainOnes) {
  std::vector<uint32_t> argb;
  for (uint32_t i = 0; i < 11 * 9; ++i) argb.push_back(0xff000000u | (i * 2654435761u & 0xffffffu));
  const PngPixels plain = decode(zendrel::test::writeRgba(11, 9, argb, false));
  const PngPixels interlaced = decode(zendrel::test::writeRgba(11, 9, argb, true));
  ASSERT_EQ(interlaced.width, 11);
  ASSERT_EQ(interlaced.height, 9);
  EXPECT_EQ(0, std::memcmp(plain.bytes.get(), interlaced.bytes.get(), 11 * 9 * 4));
}

TEST(DrawPngDecode, RefusesWhatIsNotACompletePng) {
  PngPixels out;
  EXPECT_FALSE(decodePng(nullptr, 100, PremultiplyRule::kShift256, out));
  const unsigned char signature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
  EXPECT_FALSE(decodePng(signature, sizeof signature, PremultiplyRule::kShift256, out));
  EXPECT_TRUE(out.empty());
  EXPECT_EQ(out.width, 0);

  std::mt19937 random(7);
  std::vector<unsigned char> noise(512);
  for (auto& b : noise) b = static_cast<unsigned char>(random());
  EXPECT_FALSE(decodePng(noise.data(), noise.size(), PremultiplyRule::kShift256, out));

  // Every cut of a valid file: refused, or (once all image data is in) the full image.
  std::vector<uint32_t> argb(5 * 4, 0xff336699u);
  argb[7] = 0x80ffffffu;
  const auto png = zendrel::test::writeRgba(5, 4, argb, true);
  const PngPixels whole = decode(png);
  for (std::size_t n = 0; n < png.size(); ++n) {
    std::vector<unsigned char> cut(png.begin(), png.begin() + static_cast<std::ptrdiff_t>(n));
    if (decodePng(cut.data(), cut.size(), PremultiplyRule::kShift256, out)) {
      ASSERT_EQ(out.width, 5) << n;
      EXPECT_EQ(0, std::memcmp(out.bytes.get(), whole.bytes.get(), 5 * 4 * 4)) << n;
    } else {
      EXPECT_TRUE(out.empty()) << n;
      EXPECT_EQ(out.width, 0) << n;
    }
  }
}

TEST(DrawPngDecode, RefusesBrokenChunksAndHugeSizes) {
  auto png = zendrel::test::writeRgba(2, 2, {0xffff0000u, 0xff00ff00u, 0xff0000ffu, 0xffffffffu});
  PngPixels out;
  // Flip one byte of the image data's CRC.
  const std::size_t idat = std::string(png.begin(), png.end()).find("IDAT");
  ASSERT_NE(idat, std::string::npos);
  const std::size_t length = std::size_t(png[idat - 4]) << 24 | std::size_t(png[idat - 3]) << 16 |
                             std::size_t(png[idat - 2]) << 8 | png[idat - 1];
  auto broken = png;
  broken[idat + 4 + length] ^= 0x55;
  EXPECT_FALSE(decodePng(broken.data(), broken.size(), PremultiplyRule::kShift256, out));

  // Headers declaring more than the limits are refused before any allocation.
  for (auto [w, h] : {std::pair<uint32_t, uint32_t>{100000, 100000}, {kMaxPngDimension + 1, 1},
                      {kMaxPngDimension, kMaxPngDimension}, {0x7fffffff, 2}}) {
    PngLayout s;
    s.width = 1;
    s.rows = {{1, 2, 3, 4}};
    auto bytes = zendrel::test::writePng(s);
    // Patch the declared size and the header CRC so only the size is wrong.
    for (int i = 0; i < 4; ++i) {
      bytes[16 + i] = static_cast<unsigned char>(w >> (24 - 8 * i));
      bytes[20 + i] = static_cast<unsigned char>(h >> (24 - 8 * i));
    }
    const uLong crc = crc32(0, bytes.data() + 12, 17);
    for (int i = 0; i < 4; ++i) bytes[29 + i] = static_cast<unsigned char>(crc >> (24 - 8 * i));
    EXPECT_FALSE(decodePng(bytes.data(), bytes.size(), PremultiplyRule::kShift256, out)) << w << "x" << h;
    EXPECT_TRUE(out.empty());
  }
}

TEST(DrawPngDecode, SurvivesRandomDamage) {
  std::vector<uint32_t> argb(6 * 6);
  for (std::size_t i = 0; i < argb.size(); ++i) argb[i] = 0x01010101u * uint32_t(i * 7);
  const auto png = zendrel::test::writeRgba(6, 6, argb, true);
  std::mt19937 random(1234);
  PngPixels out;
  for (int round = 0; round < 3000; ++round) {
    auto damaged = png;
    const int flips = 1 + int(random() % 4);
    for (int f = 0; f < flips; ++f) damaged[random() % damaged.size()] = static_cast<unsigned char>(random());
    if (decodePng(damaged.data(), damaged.size(), PremultiplyRule::kShift256, out)) {
      ASSERT_GT(out.width, 0);
      ASSERT_LE(uint64_t(out.width) * uint64_t(out.height), kMaxPngPixels);
    } else {
      ASSERT_TRUE(out.empty());
    }
  }
}

}  // namespace
