// The portable PNG decoder: PNG file bytes in memory to premultiplied 8-bit
// BGRA pixels (one little-endian 0xAARRGGBB word per pixel, rows top to
// bottom, width × 4 bytes apart) — the layout of both platforms' images.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

namespace Toolkit {

enum class PremultiplyRule {
  // colour × alpha ÷ 256, rounded down: the rule of "PNG"-type resources
  // (an opaque white pixel keeps colour bytes of 254).
  kShift256,
  // colour × alpha ÷ 255, rounded to nearest: exact, opaque pixels unchanged.
  kRound255,
};

// Larger images are refused before anything is allocated for them: a damaged
// or hostile header cannot make the decoder ask for gigabytes.
inline constexpr uint32_t kMaxPngDimension = 16384;
inline constexpr uint64_t kMaxPngPixels = uint64_t{1} << 24;

struct PngPixels {
  struct FreeDeleter {
    void operator()(uint8_t* p) const { std::free(p); }
  };
  int32_t width = 0;
  int32_t height = 0;
  std::unique_ptr<uint8_t, FreeDeleter> bytes;  // width × height × 4, null after a failure

  bool empty() const { return !bytes; }
};

// Decodes with libpng: palette and grey images below 8 bits expanded, grey
// turned into RGB, a transparency chunk into alpha (opaque filler otherwise),
// 16-bit samples reduced to 8, blue-green-red-alpha order, interlacing
// resolved, then alpha premultiplied by `rule` (alpha 0 gives an all-zero pixel).
// Answers false (and leaves `out` empty) for anything that is not a complete,
// valid PNG within the size limits; never reads outside [data, data + size).
bool decodePng(const unsigned char* data, std::size_t size, PremultiplyRule rule, PngPixels& out);

}  // namespace Toolkit
