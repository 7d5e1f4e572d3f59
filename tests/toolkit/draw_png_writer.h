// Writes PNG files in memory with libpng, so decoder tests can state the
// exact pixels, colour type, depth and interlacing of their input.
#pragma once

#include <png.h>

#include <csetjmp>
#include <cstdint>
#include <vector>

namespace zendrel::test {

struct PngLayout {
  uint32_t width = 1;
  uint32_t height = 1;
  int colorType = PNG_COLOR_TYPE_RGB_ALPHA;
  int bitDepth = 8;
  bool interlaced = false;
  std::vector<uint8_t> palette;  // RGB triples
  std::vector<uint8_t> paletteAlpha;
  int greyTransparent = -1;  // grey value made transparent by a tRNS chunk
  std::vector<std::vector<uint8_t>> rows;  // packed samples as the format stores them
};

inline void appendBytes(png_structp png, png_bytep data, png_size_t size) {
  auto* out = static_cast<std::vector<unsigned char>*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + size);
}
inline void flushNothing(png_structp) {}

inline std::vector<unsigned char> writePng(const PngLayout& layout) {
  std::vector<unsigned char> out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  std::vector<png_bytep> rows;
  for (const auto& r : layout.rows) rows.push_back(const_cast<png_bytep>(r.data()));
  std::vector<png_color> colours;
  for (std::size_t i = 0; i + 2 < layout.palette.size(); i += 3)
    colours.push_back(png_color{layout.palette[i], layout.palette[i + 1], layout.palette[i + 2]});
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return {};
  }
  png_set_write_fn(png, &out, appendBytes, flushNothing);
  png_set_IHDR(png, info, layout.width, layout.height, layout.bitDepth, layout.colorType,
               layout.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  if (!colours.empty()) png_set_PLTE(png, info, colours.data(), static_cast<int>(colours.size()));
  if (!layout.paletteAlpha.empty())
    png_set_tRNS(png, info, layout.paletteAlpha.data(), static_cast<int>(layout.paletteAlpha.size()), nullptr);
  if (layout.greyTransparent >= 0) {
    png_color_16 grey{};
    grey.gray = static_cast<png_uint_16>(layout.greyTransparent);
    png_set_tRNS(png, info, nullptr, 0, &grey);
  }
  png_write_info(png, info);
  if (layout.interlaced) png_set_interlace_handling(png);
  png_write_image(png, rows.data());
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return out;
}

// An 8-bit RGBA image from 0xAARRGGBB words (not premultiplied).
inline std::vector<unsigned char> writeRgba(uint32_t width, uint32_t height, const std::vector<uint32_t>& argb,
                                            bool interlaced = false) {
  PngLayout layout;
  layout.width = width;
  layout.height = height;
  layout.interlaced = interlaced;
  for (uint32_t y = 0; y < height; ++y) {
    std::vector<uint8_t> row;
    for (uint32_t x = 0; x < width; ++x) {
      const uint32_t v = argb[y * width + x];
      row.insert(row.end(), {uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v), uint8_t(v >> 24)});
    }
    layout.rows.push_back(row);
  }
  return writePng(layout);
}

}  // namespace zendrel::test
