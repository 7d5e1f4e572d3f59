#include "toolkit/resample.h"

#include <algorithm>
#include <cmath>

namespace Toolkit {

namespace {

// The source pixels one target pixel averages, with their weights (summing to 1).
struct Taps {
  std::vector<int32_t> first;   // per target pixel, its first source pixel
  std::vector<int32_t> count;   // per target pixel, how many follow
  std::vector<float> weights;   // all target pixels' weights, in order
};

Taps tapsFor(int32_t from, int32_t to) {
  Taps taps;
  taps.first.resize(std::size_t(to));
  taps.count.resize(std::size_t(to));
  const double step = double(from) / double(to);
  for (int32_t i = 0; i < to; ++i) {
    const double begin = i * step;
    const double end = (i + 1) * step;
    const int32_t j0 = std::min(from - 1, int32_t(std::floor(begin)));
    const int32_t j1 = std::min(from, std::max(j0 + 1, int32_t(std::ceil(end))));
    taps.first[std::size_t(i)] = j0;
    taps.count[std::size_t(i)] = j1 - j0;
    for (int32_t j = j0; j < j1; ++j) {
      const double cover = std::min(end, double(j + 1)) - std::max(begin, double(j));
      taps.weights.push_back(float(std::max(0.0, cover) / step));
    }
  }
  return taps;
}

uint32_t pack(const float* c) {
  uint32_t channel[4];
  for (int k = 0; k < 4; ++k) channel[k] = uint32_t(std::clamp(std::lround(c[k]), 0L, 255L));
  // Premultiplied: no colour above its alpha, whatever the rounding did.
  for (int k = 0; k < 3; ++k) channel[k] = std::min(channel[k], channel[3]);
  return channel[3] << 24 | channel[2] << 16 | channel[1] << 8 | channel[0];
}

}  // namespace

std::vector<uint32_t> resampleArea(const std::vector<uint32_t>& pixels, int32_t width, int32_t height,
                                   int32_t toWidth, int32_t toHeight) {
  if (width < 1 || height < 1 || toWidth < 1 || toHeight < 1 ||
      pixels.size() < std::size_t(width) * std::size_t(height))
    return {};
  const Taps across = tapsFor(width, toWidth);
  const Taps down = tapsFor(height, toHeight);

  // Rows first, into four floats a pixel (blue, green, red, alpha).
  std::vector<float> rows(std::size_t(toWidth) * std::size_t(height) * 4);
  for (int32_t y = 0; y < height; ++y) {
    const uint32_t* in = &pixels[std::size_t(y) * std::size_t(width)];
    float* out = &rows[std::size_t(y) * std::size_t(toWidth) * 4];
    const float* w = across.weights.data();
    for (int32_t x = 0; x < toWidth; ++x, out += 4) {
      float c[4] = {0, 0, 0, 0};
      const int32_t j0 = across.first[std::size_t(x)];
      for (int32_t n = 0; n < across.count[std::size_t(x)]; ++n, ++w) {
        const uint32_t p = in[j0 + n];
        for (int k = 0; k < 4; ++k) c[k] += float((p >> (8 * k)) & 0xff) * *w;
      }
      for (int k = 0; k < 4; ++k) out[k] = c[k];
    }
  }

  std::vector<uint32_t> result(std::size_t(toWidth) * std::size_t(toHeight));
  const float* w = down.weights.data();
  for (int32_t y = 0; y < toHeight; ++y) {
    const int32_t j0 = down.first[std::size_t(y)];
    const int32_t n = down.count[std::size_t(y)];
    for (int32_t x = 0; x < toWidth; ++x) {
      float c[4] = {0, 0, 0, 0};
      for (int32_t t = 0; t < n; ++t) {
        const float* in = &rows[(std::size_t(j0 + t) * std::size_t(toWidth) + std::size_t(x)) * 4];
        for (int k = 0; k < 4; ++k) c[k] += in[k] * w[t];
      }
      result[std::size_t(y) * std::size_t(toWidth) + std::size_t(x)] = pack(c);
    }
    w += n;
  }
  return result;
}

}  // namespace Toolkit
