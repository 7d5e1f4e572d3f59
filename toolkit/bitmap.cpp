#include "toolkit/bitmap.h"

#include <cstring>
#include <mutex>
#include <utility>

#include "toolkit/draw_context.h"
#include "toolkit/platform_seam.h"

namespace Toolkit {

// ---- shared graphics library start-up ---------------------------------------

GDIPlusGlobals* gdiplusUser = nullptr;

GDIPlusGlobals::GDIPlusGlobals() : token(platform::startGraphics()) {}

GDIPlusGlobals::~GDIPlusGlobals() {
  // The static font descriptions cache no platform font objects (no text is
  // drawn), so only the library itself is shut down.
  platform::stopGraphics(token);
}

namespace {
// Editors of several instances may create and free bitmaps on several host
// threads at once: the shared instance and its count change under this lock.
std::mutex& gdiplusLock() {
  static std::mutex lock;
  return lock;
}
}  // namespace

void ensureGdiplus() {
  std::lock_guard<std::mutex> guard(gdiplusLock());
  if (gdiplusUser)
    gdiplusUser->retain();
  else
    gdiplusUser = new GDIPlusGlobals();
}

void releaseGdiplus() {
  std::lock_guard<std::mutex> guard(gdiplusLock());
  if (!gdiplusUser) return;
  const bool last = gdiplusUser->getNbReference() == 1;
  gdiplusUser->release();
  if (last) gdiplusUser = nullptr;
}

// ---- CBitmap ---------------------------------------------------------------

CBitmap::CBitmap() { ensureGdiplus(); }

CBitmap::CBitmap(const CResourceDescription& desc) : resourceDesc(desc) {
  ensureGdiplus();
  loadFromResource(desc);
}

CBitmap::CBitmap(CFrame* /*frame*/, int32_t blankWidth, int32_t blankHeight) {
  ensureGdiplus();
  if (blankWidth > 0 && blankHeight > 0) adoptImage(platform::createBlankImage(blankWidth, blankHeight));
}

CBitmap::~CBitmap() {
  dispose();
  releaseGdiplus();
}

void CBitmap::adoptImage(platform::Image* decoded) {
  dispose();
  image = decoded;
  if (image) platform::imageSize(image, width, height);
  if (width <= 0 || height <= 0) dispose();
}

void CBitmap::dispose() {
  if (image) platform::destroyImage(image);
  image = nullptr;
  width = 0;
  height = 0;
}

bool CBitmap::loadFromResource(const CResourceDescription& desc) {
  dispose();
  resourceDesc = desc;

  platform::ResourceBytes bytes;
  if (platform::findResource(desc, platform::ResourceType::kPng, bytes)) {
    PngPixels pixels;
    // A failed decode leaves the bitmap empty and answers false, so a caller
    // can tell a damaged resource from a loaded one.
    if (!decodePng(bytes.data, bytes.size, PremultiplyRule::kShift256, pixels)) return false;
    adoptImage(platform::createImageFromPixels(std::move(pixels)));
    noAlpha = false;
    return image != nullptr;
  }

  bool found = false;
  adoptImage(platform::decodeDataResource(desc, found));
  return image != nullptr;
}

bool CBitmap::loadFromPath(const void* /*platformPath*/) {
  dispose();
  return false;
}

CBitmap* CBitmap::createFromPngData(const unsigned char* data, std::size_t size) {
  auto* bitmap = new CBitmap();
  if (data && size) bitmap->adoptImage(platform::decodeDataBytes(data, size));
  return bitmap;
}

CBitmap* CBitmap::createFromPngTypeData(const unsigned char* data, std::size_t size) {
  auto* bitmap = new CBitmap();
  PngPixels pixels;
  if (decodePng(data, size, PremultiplyRule::kShift256, pixels)) {
    bitmap->adoptImage(platform::createImageFromPixels(std::move(pixels)));
    bitmap->noAlpha = false;
  }
  return bitmap;
}

CBitmap* CBitmap::createFromPixels(const uint32_t* premultipliedArgb, int32_t pixelWidth, int32_t pixelHeight) {
  auto* bitmap = new CBitmap();
  if (!premultipliedArgb || pixelWidth <= 0 || pixelHeight <= 0) return bitmap;
  const uint64_t count = uint64_t(pixelWidth) * uint64_t(pixelHeight);
  if (uint32_t(pixelWidth) > kMaxPngDimension || uint32_t(pixelHeight) > kMaxPngDimension || count > kMaxPngPixels)
    return bitmap;
  PngPixels pixels;
  pixels.width = pixelWidth;
  pixels.height = pixelHeight;
  pixels.bytes.reset(static_cast<uint8_t*>(std::malloc(count * 4)));
  if (!pixels.bytes) return bitmap;
  // 0xAARRGGBB words stored little-endian are the B, G, R, A bytes both platforms use.
  uint8_t* out = pixels.bytes.get();
  for (uint64_t i = 0; i < count; ++i) {
    const uint32_t v = premultipliedArgb[i];
    out[i * 4 + 0] = static_cast<uint8_t>(v);
    out[i * 4 + 1] = static_cast<uint8_t>(v >> 8);
    out[i * 4 + 2] = static_cast<uint8_t>(v >> 16);
    out[i * 4 + 3] = static_cast<uint8_t>(v >> 24);
  }
  bitmap->adoptImage(platform::createImageFromPixels(std::move(pixels)));
  bitmap->noAlpha = false;
  return bitmap;
}

void CBitmap::draw(CDrawContext* context, const CRect& rect, const CPoint& offset) {
  drawAlphaBlend(context, rect, offset, 255);
}

void CBitmap::drawTransparent(CDrawContext* context, const CRect& rect, const CPoint& offset) {
  drawAlphaBlend(context, rect, offset, 255);
}

void CBitmap::drawAlphaBlend(CDrawContext* context, const CRect& rect, const CPoint& offset, unsigned char alpha) {
  if (!image || !context || !context->getSurface()) return;
  // Source rectangle (offset, rect's size), cut to the image; the destination
  // moves with any part cut from the left or top, so pixels stay where they belong.
  CRect source(offset.h, offset.v, offset.h + rect.getWidth(), offset.v + rect.getHeight());
  CPoint destination(rect.left + context->getOffset().h, rect.top + context->getOffset().v);
  CRect inside = source.intersected(CRect(0, 0, width, height));
  if (inside.isEmpty()) return;
  destination.offset(inside.left - source.left, inside.top - source.top);
  platform::drawImage(context->getSurface(), image, inside, destination, alpha);
}

}  // namespace Toolkit
