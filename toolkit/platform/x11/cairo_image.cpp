// Decoded images on Linux: cairo ARGB32 image surfaces.
#include "toolkit/platform/x11/cairo_image.h"

#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <utility>

#include "toolkit/platform_seam.h"

namespace Toolkit {
namespace platform {
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

// A new surface holding a copy of width × height pixels laid out width × 4 bytes apart.
cairo_surface_t* surfaceCopying(const uint8_t* bytes, int32_t width, int32_t height) {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
  if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) return surface;
  cairo_surface_flush(surface);
  unsigned char* dst = cairo_image_surface_get_data(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  const std::size_t rowBytes = std::size_t(width) * 4;
  for (int32_t y = 0; y < height; ++y)
    std::memcpy(dst + std::size_t(y) * std::size_t(stride), bytes + std::size_t(y) * rowBytes, rowBytes);
  cairo_surface_mark_dirty(surface);
  return surface;
}

// ---- decoded resources, shared ----------------------------------------------
// Every open editor shows the same images. A resource is decoded once while any
// image shows it, and each image is a cairo surface of its own over the same
// read-only pixels: editors on different threads share memory but no cairo
// object (cairo's objects may not be used from two threads at once). The keys
// are the resource bytes' addresses, which stay put while this code is loaded.

using SharedPixels = std::shared_ptr<const PngPixels>;

struct DecodedResources {
  std::mutex lock;
  std::map<std::pair<const unsigned char*, std::size_t>, std::weak_ptr<const PngPixels>> byBytes;
};

DecodedResources& decodedResources() {
  static DecodedResources resources;
  return resources;
}

// Null when the bytes are no PNG. Decodes under the lock, so two editors
// opening at once decode each image once.
SharedPixels decodeShared(const ResourceBytes& bytes) {
  DecodedResources& cache = decodedResources();
  std::lock_guard<std::mutex> guard(cache.lock);
  const auto key = std::make_pair(bytes.data, bytes.size);
  auto entry = cache.byBytes.find(key);
  if (entry != cache.byBytes.end())
    if (SharedPixels pixels = entry->second.lock()) return pixels;
  auto decoded = std::make_shared<PngPixels>();
  if (!decodePng(bytes.data, bytes.size, PremultiplyRule::kRound255, *decoded)) return nullptr;
  cache.byBytes[key] = decoded;
  return decoded;
}

const cairo_user_data_key_t kSharedPixelsKey{};

void releaseSharedPixels(void* holder) { delete static_cast<SharedPixels*>(holder); }

// The surface keeps its share of the pixels until cairo frees it, however
// long cairo itself holds on to it.
Image* imageOver(SharedPixels pixels) {
  const int stride = pixels->width * 4;
  if (cairo_format_stride_for_width(CAIRO_FORMAT_ARGB32, pixels->width) != stride)
    return wrap(surfaceCopying(pixels->bytes.get(), pixels->width, pixels->height));
  cairo_surface_t* surface = cairo_image_surface_create_for_data(pixels->bytes.get(), CAIRO_FORMAT_ARGB32,
                                                                 pixels->width, pixels->height, stride);
  auto* holder = new SharedPixels(std::move(pixels));
  if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS ||
      cairo_surface_set_user_data(surface, &kSharedPixelsKey, holder, releaseSharedPixels) != CAIRO_STATUS_SUCCESS) {
    delete holder;
    cairo_surface_destroy(surface);
    return nullptr;
  }
  Image* image = wrap(surface);
  if (image) image->sharesPixels = true;
  return image;
}

}  // namespace

Image* createImageFromPixels(PngPixels&& pixels) {
  if (pixels.empty() || pixels.width <= 0 || pixels.height <= 0) return nullptr;
  return wrap(surfaceCopying(pixels.bytes.get(), pixels.width, pixels.height));
}

Image* createImageSharingPixels(std::shared_ptr<const PngPixels> pixels) {
  if (!pixels || pixels->empty() || pixels->width <= 0 || pixels->height <= 0) return nullptr;
  return imageOver(std::move(pixels));
}

bool makePixelsPrivate(Image* image) {
  if (!image || !image->surface) return false;
  if (!image->sharesPixels) return true;
  cairo_surface_t* own = surfaceCopying(cairo_image_surface_get_data(image->surface),
                                        cairo_image_surface_get_width(image->surface),
                                        cairo_image_surface_get_height(image->surface));
  if (cairo_surface_status(own) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(own);
    return false;
  }
  cairo_surface_destroy(image->surface);
  image->surface = own;
  image->sharesPixels = false;
  return true;
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

bool readImagePixels(Image* image, const CRect& area, std::vector<uint32_t>& out) {
  out.clear();
  if (!image || !image->surface) return false;
  cairo_surface_flush(image->surface);
  const int width = cairo_image_surface_get_width(image->surface);
  const int height = cairo_image_surface_get_height(image->surface);
  const int stride = cairo_image_surface_get_stride(image->surface);
  const unsigned char* data = cairo_image_surface_get_data(image->surface);
  if (!data || area.isEmpty() || area.left < 0 || area.top < 0 || area.right > width || area.bottom > height)
    return false;
  const std::size_t w = std::size_t(area.getWidth());
  out.resize(w * std::size_t(area.getHeight()));
  for (int y = area.top; y < area.bottom; ++y)
    std::memcpy(&out[std::size_t(y - area.top) * w], data + std::size_t(y) * std::size_t(stride) + std::size_t(area.left) * 4,
                w * 4);
  return true;
}

bool readImagePixels(Image* image, std::vector<uint32_t>& out) {
  out.clear();
  if (!image || !image->surface) return false;
  const CRect all(0, 0, cairo_image_surface_get_width(image->surface), cairo_image_surface_get_height(image->surface));
  return readImagePixels(image, all, out);
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
  if (!found) return nullptr;
  SharedPixels pixels = decodeShared(bytes);
  return pixels ? imageOver(std::move(pixels)) : nullptr;
}

}  // namespace platform
}  // namespace Toolkit
