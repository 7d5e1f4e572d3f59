// Decoded images on Linux: cairo ARGB32 image surfaces.
#include "toolkit/platform/x11/cairo_image.h"

#include <cstring>
#include <utility>

#include "toolkit/platform_seam.h"

namespace Toolkit {
namespace Platform {
namespace {

Image* wrap(cairo_surface_t* surface) {
  if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(surface);
    return nullptr;
  }
  auto* image = new Image;
  image->surface = surface;
  return image;
}

}  // namespace

Image* createImageFromPixels(PngPixels&& pixels) {
  if (pixels.empty() || pixels.width <= 0 || pixels.height <= 0) return nullptr;
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, pixels.width, pixels.height);
  if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(surface);
    return nullptr;
  }
  cairo_surface_flush(surface);
  unsigned char* dst = cairo_image_surface_get_data(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  const std::size_t rowBytes = std::size_t(pixels.width) * 4;
  for (int32_t y = 0; y < pixels.height; ++y)
    std::memcpy(dst + std::size_t(y) * std::size_t(stride), pixels.bytes.get() + std::size_t(y) * rowBytes, rowBytes);
  cairo_surface_mark_dirty(surface);
  return wrap(surface);
}

Image* createBlankImage(int32_t width, int32_t height) {
  if (width <= 0 || height <= 0) return nullptr;
  // cairo clears new image surfaces to transparent black.
  return wrap(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height));
}

void destroyImage(Image* image) {
  if (!image) return;
  cairo_surface_destroy(image->surface);
  delete image;
}

void imageSize(const Image* image, int32_t& width, int32_t& height) {
  width = height = 0;
  if (!image || !image->surface) return;
  width = cairo_image_surface_get_width(image->surface);
  height = cairo_image_surface_get_height(image->surface);
}

bool readImagePixels(Image* image, std::vector<uint32_t>& out) {
  out.clear();
  if (!image || !image->surface) return false;
  cairo_surface_flush(image->surface);
  const int width = cairo_image_surface_get_width(image->surface);
  const int height = cairo_image_surface_get_height(image->surface);
  const int stride = cairo_image_surface_get_stride(image->surface);
  const unsigned char* data = cairo_image_surface_get_data(image->surface);
  if (!data) return false;
  out.resize(std::size_t(width) * std::size_t(height));
  for (int y = 0; y < height; ++y)
    std::memcpy(&out[std::size_t(y) * std::size_t(width)], data + std::size_t(y) * std::size_t(stride),
                std::size_t(width) * 4);
  return true;
}

// "DATA" images on Linux go through the same libpng decoder as "PNG"-type
// ones, premultiplied exactly (colour × alpha ÷ 255, rounded), which is what
// cairo's compositing expects; opaque pixels keep their colours.
Image* decodeDataBytes(const unsigned char* data, std::size_t size) {
  PngPixels pixels;
  if (!decodePng(data, size, PremultiplyRule::kRound255, pixels)) return nullptr;
  return createImageFromPixels(std::move(pixels));
}

Image* decodeDataResource(const CResourceDescription& desc, bool& found) {
  ResourceBytes bytes;
  found = findResource(desc, ResourceType::kData, bytes);
  return found ? decodeDataBytes(bytes.data, bytes.size) : nullptr;
}

}  // namespace Platform
}  // namespace Toolkit
