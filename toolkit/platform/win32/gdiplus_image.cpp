// Decoded images on Windows: GDI+ bitmaps, decoded by GDI+ from "DATA"
// resources or made over the pixels of the portable decoder.
#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <map>
#include <mutex>
#include <string>
#include <tuple>

#include "toolkit/bitmap.h"
#include "toolkit/platform/win32/gdiplus.h"
#include "toolkit/platform/win32/resource_stream.h"
#include "toolkit/platform_seam.h"

namespace Toolkit {
namespace platform {
namespace {

// GDI+ creates an object even when decoding fails; such an object is no image.
Gdiplus::Bitmap* keepIfDecoded(Gdiplus::Bitmap* bitmap) {
  if (bitmap && (bitmap->GetLastStatus() != Gdiplus::Ok || bitmap->GetWidth() == 0 || bitmap->GetHeight() == 0)) {
    delete bitmap;
    return nullptr;
  }
  return bitmap;
}

Gdiplus::Bitmap* decodeStream(const unsigned char* data, std::size_t size) {
  if (!data || size == 0 || size > 0xffffffffu) return nullptr;
  auto* stream = new ResourceStream(data, static_cast<ULONG>(size));
  auto* bitmap = keepIfDecoded(new Gdiplus::Bitmap(stream, TRUE));
  stream->Release();  // GDI+ holds its own reference while it needs one
  return bitmap;
}

Image* wrap(Gdiplus::Bitmap* bitmap) {
  if (!bitmap) return nullptr;
  auto* image = new Image;
  image->gdiImage = bitmap;
  return image;
}

// ---- decoded resources, shared on one thread --------------------------------
// Every open editor shows the same images, and a Windows host opens its editors
// on one user-interface thread. A resource is decoded once per thread while any
// image of that thread shows it: GDI+ objects may not be used from two threads
// at once, so editors opened on different threads never share a bitmap. A
// thread is told apart by a number of its own, which is never reused the way a
// thread id may be; it is plain data, so no thread-exit code of this module
// runs after the module is unloaded.

using SharedBitmap = std::shared_ptr<Gdiplus::Bitmap>;

uint64_t threadNumber() {
  static std::atomic<uint64_t> next{1};
  thread_local uint64_t number = 0;
  if (number == 0) number = next.fetch_add(1, std::memory_order_relaxed);
  return number;
}

struct DecodedResources {
  using Key = std::tuple<uint64_t, const unsigned char*, std::size_t>;
  std::mutex lock;
  std::map<Key, std::weak_ptr<Gdiplus::Bitmap>> byThreadAndBytes;
};

DecodedResources& decodedResources() {
  static DecodedResources resources;
  return resources;
}

// Null when the bytes are no image GDI+ decodes.
SharedBitmap decodeShared(const ResourceBytes& bytes) {
  DecodedResources& cache = decodedResources();
  std::lock_guard<std::mutex> guard(cache.lock);
  const DecodedResources::Key key{threadNumber(), bytes.data, bytes.size};
  auto entry = cache.byThreadAndBytes.find(key);
  if (entry != cache.byThreadAndBytes.end())
    if (SharedBitmap bitmap = entry->second.lock()) return bitmap;
  // Entries of images nobody shows any more (of any thread) go now, so the
  // table stays as small as what is open.
  for (auto it = cache.byThreadAndBytes.begin(); it != cache.byThreadAndBytes.end();)
    it = it->second.expired() ? cache.byThreadAndBytes.erase(it) : std::next(it);
  SharedBitmap bitmap(decodeStream(bytes.data, bytes.size));
  if (bitmap) cache.byThreadAndBytes[key] = bitmap;
  return bitmap;
}

Image* imageSharing(SharedBitmap bitmap) {
  if (!bitmap) return nullptr;
  auto* image = new Image;
  image->gdiImage = bitmap.get();
  image->shared = std::move(bitmap);
  return image;
}

}  // namespace

bool makeBitmapPrivate(Image* image) {
  if (!image || !image->gdiImage) return false;
  if (!image->shared) return true;
  Gdiplus::Bitmap* source = image->gdiImage;
  Gdiplus::Bitmap* own = keepIfDecoded(source->Clone(0, 0, static_cast<INT>(source->GetWidth()),
                                                     static_cast<INT>(source->GetHeight()), source->GetPixelFormat()));
  if (!own) return false;
  image->shared.reset();
  image->gdiImage = own;
  return true;
}

Image* decodeDataResource(const CResourceDescription& desc, bool& found) {
  ResourceBytes bytes;
  found = findResource(desc, ResourceType::kData, bytes);
  if (found) return imageSharing(decodeShared(bytes));

  // No "DATA" resource: perhaps a bitmap resource of that name or id.
  std::wstring wideName;
  const WCHAR* name = nullptr;
  if (desc.type == CResourceDescription::kStringType) {
    if (!desc.u.name) return nullptr;
    for (const char* c = desc.u.name; *c; ++c) wideName.push_back(static_cast<unsigned char>(*c));
    name = wideName.c_str();
  } else {
    name = MAKEINTRESOURCEW(desc.u.id);
  }
  Image* image = wrap(keepIfDecoded(Gdiplus::Bitmap::FromResource(static_cast<HINSTANCE>(resourceModule()), name)));
  found = image != nullptr;
  return image;
}

Image* decodeDataBytes(const unsigned char* data, std::size_t size) {
  if (!data || size == 0) return nullptr;
  auto* image = new Image;
  // GDI+ may read from its stream for as long as the bitmap lives: it reads our copy.
  image->streamBytes.assign(data, data + size);
  image->gdiImage = decodeStream(image->streamBytes.data(), image->streamBytes.size());
  if (!image->gdiImage) {
    delete image;
    return nullptr;
  }
  return image;
}

Image* createImageFromPixels(PngPixels&& pixels) {
  if (pixels.empty() || pixels.width <= 0 || pixels.height <= 0) return nullptr;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);  // 40
  info.bmiHeader.biWidth = pixels.width;
  info.bmiHeader.biHeight = pixels.height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!dib || !bits) {
    if (dib) DeleteObject(dib);
    return nullptr;
  }
  const INT stride = pixels.width * 4;
  // Rows top to bottom, as decoded; the GDI+ bitmap over them reads them so.
  std::memcpy(bits, pixels.bytes.get(), std::size_t(stride) * std::size_t(pixels.height));
  auto* bitmap = new Gdiplus::Bitmap(pixels.width, pixels.height, stride, PixelFormat32bppPARGB,
                                     static_cast<BYTE*>(bits));
  if (bitmap->GetLastStatus() != Gdiplus::Ok) {
    delete bitmap;
    DeleteObject(dib);
    return nullptr;
  }
  auto* image = new Image;
  image->gdiImage = bitmap;
  image->dib = dib;
  image->bits = bits;
  return image;
}

Image* createImageSharingPixels(std::shared_ptr<const PngPixels> pixels) {
  // A GDI+ bitmap may be used on one thread only: each image has its own copy.
  if (!pixels || pixels->empty() || pixels->width <= 0 || pixels->height <= 0) return nullptr;
  const std::size_t bytes = std::size_t(pixels->width) * std::size_t(pixels->height) * 4;
  PngPixels copy;
  copy.width = pixels->width;
  copy.height = pixels->height;
  copy.bytes.reset(static_cast<uint8_t*>(std::malloc(bytes)));
  if (!copy.bytes) return nullptr;
  std::memcpy(copy.bytes.get(), pixels->bytes.get(), bytes);
  return createImageFromPixels(std::move(copy));
}

Image* createBlankImage(int32_t width, int32_t height) {
  if (width <= 0 || height <= 0) return nullptr;
  auto* bitmap = keepIfDecoded(new Gdiplus::Bitmap(width, height, PixelFormat32bppARGB));
  if (!bitmap) return nullptr;
  Gdiplus::Graphics graphics(bitmap);
  graphics.Clear(Gdiplus::Color(0, 0, 0, 0));
  return wrap(bitmap);
}

void destroyImage(Image* image) {
  if (!image) return;
  if (image->shared)
    image->shared.reset();  // the last image of a shared bitmap frees it
  else
    delete image->gdiImage;  // before the pixel memory it may point into
  if (image->dib) DeleteObject(image->dib);
  if (image->mask) DeleteObject(image->mask);
  delete image;
}

void imageSize(const Image* image, int32_t& width, int32_t& height) {
  width = height = 0;
  if (!image || !image->gdiImage) return;
  width = static_cast<int32_t>(image->gdiImage->GetWidth());
  height = static_cast<int32_t>(image->gdiImage->GetHeight());
}

bool readImagePixels(Image* image, const CRect& area, std::vector<uint32_t>& out) {
  out.clear();
  if (!image || !image->gdiImage) return false;
  const INT width = static_cast<INT>(image->gdiImage->GetWidth());
  const INT height = static_cast<INT>(image->gdiImage->GetHeight());
  if (area.isEmpty() || area.left < 0 || area.top < 0 || area.right > width || area.bottom > height) return false;
  Gdiplus::Rect rect(area.left, area.top, area.getWidth(), area.getHeight());
  Gdiplus::BitmapData data{};
  if (image->gdiImage->LockBits(&rect, Gdiplus::ImageLockModeRead, PixelFormat32bppPARGB, &data) != Gdiplus::Ok)
    return false;
  const std::size_t w = std::size_t(area.getWidth());
  out.resize(w * std::size_t(area.getHeight()));
  for (INT y = 0; y < rect.Height; ++y)
    std::memcpy(&out[std::size_t(y) * w], static_cast<const unsigned char*>(data.Scan0) + y * data.Stride, w * 4);
  image->gdiImage->UnlockBits(&data);
  return true;
}

bool readImagePixels(Image* image, std::vector<uint32_t>& out) {
  out.clear();
  if (!image || !image->gdiImage) return false;
  const CRect all(0, 0, static_cast<int32_t>(image->gdiImage->GetWidth()),
                  static_cast<int32_t>(image->gdiImage->GetHeight()));
  return readImagePixels(image, all, out);
}

}  // namespace platform
}  // namespace Toolkit
