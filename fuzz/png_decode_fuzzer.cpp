// Feeds arbitrary bytes to the PNG decoder the way a "PNG"-type resource
// reaches it, under both premultiplication rules, and checks what comes out.
#include <cstddef>
#include <cstdint>

#include "toolkit/png_decode.h"

namespace {

void check(bool condition) {
  if (!condition) __builtin_trap();
}

void decodeAndCheck(const uint8_t* data, std::size_t size, Toolkit::PremultiplyRule rule) {
  Toolkit::PngPixels pixels;
  const bool ok = Toolkit::decodePng(data, size, rule, pixels);
  check(ok != pixels.empty());
  if (!ok) {
    check(pixels.width == 0 && pixels.height == 0);
    return;
  }
  check(pixels.width > 0 && pixels.height > 0);
  check(uint32_t(pixels.width) <= Toolkit::kMaxPngDimension && uint32_t(pixels.height) <= Toolkit::kMaxPngDimension);
  const std::size_t count = std::size_t(pixels.width) * std::size_t(pixels.height);
  check(count <= Toolkit::kMaxPngPixels);
  // Premultiplied: no colour byte above its alpha. Touching every byte also
  // lets the sanitizer see that the whole buffer was allocated.
  const uint8_t* p = pixels.bytes.get();
  for (std::size_t i = 0; i < count; ++i, p += 4) check(p[0] <= p[3] && p[1] <= p[3] && p[2] <= p[3]);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  decodeAndCheck(data, size, Toolkit::PremultiplyRule::kShift256);
  decodeAndCheck(data, size, Toolkit::PremultiplyRule::kRound255);
  return 0;
}
