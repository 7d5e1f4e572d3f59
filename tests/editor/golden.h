// Golden pictures under tests/golden/: what a window must show, compared with
// a stated tolerance. They are written anew only when the test runs with
// ZENDREL_UPDATE_GOLDEN=1; a missing one fails and says how to make it.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/toolkit/draw_png_writer.h"
#include "toolkit/bitmap.h"
#include "toolkit/draw_context.h"

namespace zendrel::test {

// Every channel of every pixel within this much of the golden picture: the
// platforms' compositing may round a premultiplied colour differently.
inline constexpr int kGoldenTolerance = 6;

struct GoldenVerdict {
  bool same = false;
  std::string detail;
};

inline std::string goldenPath(const std::string& name) { return std::string(ZENDREL_GOLDEN_DIR) + "/" + name + ".png"; }

// pixels: 0x00RRGGBB (or premultiplied opaque 0xFFRRGGBB), rows top to bottom.
inline GoldenVerdict compareWithGolden(const std::string& name, const std::vector<uint32_t>& pixels, int32_t width,
                                       int32_t height) {
  const std::string path = goldenPath(name);
  const char* update = std::getenv("ZENDREL_UPDATE_GOLDEN");
  if (update && std::string(update) == "1") {
    std::vector<uint32_t> opaque(pixels);
    for (uint32_t& p : opaque) p |= 0xff000000u;
    const std::vector<unsigned char> png = zendrel::test::writeRgba(uint32_t(width), uint32_t(height), opaque);
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(png.data()), std::streamsize(png.size()));
    return {true, "written " + path};
  }
  std::ifstream file(path, std::ios::binary);
  const std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  if (bytes.empty()) return {false, path + " is missing: run the test once with ZENDREL_UPDATE_GOLDEN=1"};
  Toolkit::CBitmap* golden = Toolkit::CBitmap::createFromPngData(bytes.data(), bytes.size());
  if (golden->getWidth() != width || golden->getHeight() != height) {
    golden->release();
    return {false, path + " has another size"};
  }
  auto* context = new Toolkit::COffscreenContext(nullptr, width, height);
  golden->draw(context, Toolkit::CRect(0, 0, width, height));
  std::vector<uint32_t> expected;
  context->readPixels(expected);
  context->release();
  golden->release();
  int32_t worst = 0, offX = -1, offY = -1, over = 0;
  for (int32_t y = 0; y < height; ++y)
    for (int32_t x = 0; x < width; ++x) {
      const uint32_t a = pixels[std::size_t(y) * std::size_t(width) + std::size_t(x)];
      const uint32_t b = expected[std::size_t(y) * std::size_t(width) + std::size_t(x)];
      int32_t d = 0;
      for (int s = 0; s < 24; s += 8) {
        const int32_t c = std::abs(int32_t((a >> s) & 0xff) - int32_t((b >> s) & 0xff));
        if (c > d) d = c;
      }
      if (d > kGoldenTolerance) ++over;
      if (d > worst) {
        worst = d;
        offX = x;
        offY = y;
      }
    }
  char text[200];
  std::snprintf(text, sizeof text, "%s: %d pixels beyond %d, largest difference %d at (%d, %d)", name.c_str(), over,
                kGoldenTolerance, worst, offX, offY);
  return {over == 0, text};
}

}  // namespace zendrel::test
