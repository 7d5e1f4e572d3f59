#include "toolkit/png_decode.h"

#include <png.h>

#include <csetjmp>
#include <cstring>

namespace Toolkit {
namespace {

struct ReadState {
  const unsigned char* data;
  std::size_t size;
  std::size_t position;
};

void readFromMemory(png_structp png, png_bytep out, png_size_t count) {
  auto* state = static_cast<ReadState*>(png_get_io_ptr(png));
  // A request past the end copies nothing; libpng must not go on with the
  // bytes it did not get, so the decode stops here.
  if (count > state->size - state->position) png_error(png, "PNG data ends early");
  std::memcpy(out, state->data + state->position, count);
  state->position += count;
}

// Ancillary chunks that carry nothing the pixels need. libpng would buffer
// each one whole (a damaged length can ask for gigabytes, which it only warns
// about); skipped, they are read through in small pieces and dropped.
constexpr png_byte kSkippedChunks[] =
    "tEXt\0zTXt\0iTXt\0iCCP\0sPLT\0eXIf\0bKGD\0cHRM\0gAMA\0hIST\0oFFs\0pCAL\0pHYs\0sBIT\0sCAL\0sRGB\0tIME";
constexpr int kSkippedChunkCount = static_cast<int>(sizeof kSkippedChunks / 5);

void onError(png_structp png, png_const_charp /*message*/) { png_longjmp(png, 1); }
void onWarning(png_structp /*png*/, png_const_charp /*message*/) {}

void premultiply(uint8_t* p, std::size_t pixelCount, PremultiplyRule rule) {
  for (std::size_t i = 0; i < pixelCount; ++i, p += 4) {
    const unsigned a = p[3];
    if (a == 0) {
      p[0] = p[1] = p[2] = 0;
    } else if (rule == PremultiplyRule::kShift256) {
      for (int c = 0; c < 3; ++c) p[c] = static_cast<uint8_t>((p[c] * a) >> 8);
    } else if (a != 255) {
      for (int c = 0; c < 3; ++c) p[c] = static_cast<uint8_t>((p[c] * a + 127) / 255);
    }
  }
}

// Kept free of C++ objects with destructors: libpng's error path leaves this
// frame by longjmp. Answers the pixel buffer (malloc'ed) or null.
uint8_t* decodeRaw(ReadState* state, int32_t* widthOut, int32_t* heightOut) {
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, onError, onWarning);
  if (!png) return nullptr;
  png_infop info = png_create_info_struct(png);
  if (!info) {
    png_destroy_read_struct(&png, nullptr, nullptr);
    return nullptr;
  }
  uint8_t* volatile pixels = nullptr;
  png_bytep* volatile rows = nullptr;
  if (setjmp(png_jmpbuf(png))) {
    std::free(pixels);
    std::free(rows);
    png_destroy_read_struct(&png, &info, nullptr);
    return nullptr;
  }

  png_set_user_limits(png, kMaxPngDimension, kMaxPngDimension);
  png_set_chunk_malloc_max(png, 8u << 20);
  png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, nullptr, 0);
  png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, kSkippedChunks, kSkippedChunkCount);
  png_set_read_fn(png, state, readFromMemory);
  png_read_info(png, info);

  png_uint_32 width = 0, height = 0;
  int bitDepth = 0, colorType = 0, interlace = 0;
  png_get_IHDR(png, info, &width, &height, &bitDepth, &colorType, &interlace, nullptr, nullptr);
  if (width == 0 || height == 0 || uint64_t{width} * height > kMaxPngPixels) png_error(png, "image too large");

  if (colorType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
  if (colorType == PNG_COLOR_TYPE_GRAY && bitDepth < 8) png_set_expand_gray_1_2_4_to_8(png);
  if (colorType == PNG_COLOR_TYPE_GRAY || colorType == PNG_COLOR_TYPE_GRAY_ALPHA) png_set_gray_to_rgb(png);
  if (png_get_valid(png, info, PNG_INFO_tRNS)) {
    png_set_tRNS_to_alpha(png);
  } else if (!(colorType & PNG_COLOR_MASK_ALPHA)) {
    png_set_filler(png, 0xff, PNG_FILLER_AFTER);
  }
  if (bitDepth == 16) png_set_strip_16(png);
  // Every image is RGB(A) by now, palette ones included: all of them in BGRA order.
  png_set_bgr(png);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  if (png_get_rowbytes(png, info) != std::size_t{width} * 4) png_error(png, "unexpected row layout");

  pixels = static_cast<uint8_t*>(std::malloc(std::size_t{width} * height * 4));
  rows = static_cast<png_bytep*>(std::malloc(sizeof(png_bytep) * height));
  if (!pixels || !rows) png_error(png, "out of memory");
  for (png_uint_32 y = 0; y < height; ++y) rows[y] = pixels + std::size_t{y} * width * 4;
  png_read_image(png, rows);

  std::free(rows);
  png_destroy_read_struct(&png, &info, nullptr);
  *widthOut = static_cast<int32_t>(width);
  *heightOut = static_cast<int32_t>(height);
  return pixels;
}

}  // namespace

bool decodePng(const unsigned char* data, std::size_t size, PremultiplyRule rule, PngPixels& out) {
  out = PngPixels();
  if (!data || size < 8 || png_sig_cmp(data, 0, 8) != 0) return false;
  ReadState state{data, size, 0};
  int32_t width = 0, height = 0;
  uint8_t* pixels = decodeRaw(&state, &width, &height);
  if (!pixels) return false;
  premultiply(pixels, std::size_t(width) * std::size_t(height), rule);
  out.width = width;
  out.height = height;
  out.bytes.reset(pixels);
  return true;
}

}  // namespace Toolkit
