// Decoded images on Windows: GDI+ bitmaps, decoded by GDI+ from "DATA"
// resources or made over the pixels of the portable decoder.
#include <cstring>
#include <string>

#include "toolkit/bitmap.h"
#include "toolkit/platform/win32/gdiplus.h"
#include "toolkit/platform/win32/resource_stream.h"
#include "toolkit/platform_seam.h"

namespace Toolkit {
namespace Platform {
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

}  // namespace

Image* decodeDataResource(const CResourceDescription& desc, bool& found) {
  ResourceBytes bytes;
  found = findResource(desc, ResourceType::kData, bytes);
  if (found) return wrap(decodeStream(bytes.data, bytes.size));

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

bool readImagePixels(Image* image, std::vector<uint32_t>& out) {
  out.clear();
  if (!image || !image->gdiImage) return false;
  const INT width = static_cast<INT>(image->gdiImage->GetWidth());
  const INT height = static_cast<INT>(image->gdiImage->GetHeight());
  Gdiplus::Rect all(0, 0, width, height);
  Gdiplus::BitmapData data{};
  if (image->gdiImage->LockBits(&all, Gdiplus::ImageLockModeRead, PixelFormat32bppPARGB, &data) != Gdiplus::Ok)
    return false;
  out.resize(std::size_t(width) * std::size_t(height));
  for (INT y = 0; y < height; ++y)
    std::memcpy(&out[std::size_t(y) * std::size_t(width)], static_cast<const unsigned char*>(data.Scan0) + y * data.Stride,
                std::size_t(width) * 4);
  image->gdiImage->UnlockBits(&data);
  return true;
}

}  // namespace Platform
}  // namespace Toolkit
