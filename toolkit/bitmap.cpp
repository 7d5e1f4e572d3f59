#include "toolkit/bitmap.h"

#include <cstdlib>
#include <cstring>
#include <mutex>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "toolkit/draw_context.h"
#include "toolkit/platform_seam.h"
#include "toolkit/resample.h"
#include "toolkit/scaling.h"

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

namespace {

// Resized parts a bitmap keeps before it starts over: far more than the
// frames an editor shows, far less than memory would allow.
constexpr std::size_t kMaxResizedParts = 1024;

// 0xAARRGGBB words stored little-endian are the B, G, R, A bytes both platforms use.
bool pixelsFrom(const uint32_t* argb, int32_t width, int32_t height, PngPixels& pixels) {
  const uint64_t count = uint64_t(width) * uint64_t(height);
  pixels.width = width;
  pixels.height = height;
  pixels.bytes.reset(static_cast<uint8_t*>(std::malloc(count * 4)));
  if (!pixels.bytes) return false;
  uint8_t* out = pixels.bytes.get();
  for (uint64_t i = 0; i < count; ++i) {
    const uint32_t v = argb[i];
    out[i * 4 + 0] = static_cast<uint8_t>(v);
    out[i * 4 + 1] = static_cast<uint8_t>(v >> 8);
    out[i * 4 + 2] = static_cast<uint8_t>(v >> 16);
    out[i * 4 + 3] = static_cast<uint8_t>(v >> 24);
  }
  return true;
}

// The named resource decoded as loadFromResource does; null when missing or
// damaged. `pngType` tells which decoder it went through, `where` where the
// resource's bytes lie (null for a bitmap resource).
platform::Image* decodeNamed(const CResourceDescription& desc, bool& pngType, const unsigned char*& where) {
  platform::ResourceBytes bytes;
  pngType = platform::findResource(desc, platform::ResourceType::kPng, bytes);
  if (!pngType) platform::findResource(desc, platform::ResourceType::kData, bytes);
  where = bytes.data;
  if (pngType) {
    PngPixels pixels;
    if (!decodePng(bytes.data, bytes.size, PremultiplyRule::kShift256, pixels)) return nullptr;
    return platform::createImageFromPixels(std::move(pixels));
  }
  bool found = false;
  return platform::decodeDataResource(desc, found);
}

// ---- resized parts, shared ------------------------------------------------------
// Every editor open at the same scale shows the same parts of the same
// images: each is resized once while any image shows it.
using SharedPixels = std::shared_ptr<const PngPixels>;
using PartKey = std::tuple<const unsigned char*, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t>;

struct SharedParts {
  std::mutex lock;
  std::map<PartKey, std::weak_ptr<const PngPixels>> byKey;
};

SharedParts& sharedParts() {
  static SharedParts parts;
  return parts;
}

// The pixels of `from` (of `set`) resized to width × height.
SharedPixels resize(platform::Image* set, const CRect& from, int32_t toWidth, int32_t toHeight) {
  std::vector<uint32_t> pixels;
  if (!platform::readImagePixels(set, from, pixels)) return nullptr;
  const std::vector<uint32_t> scaled = resampleArea(pixels, from.getWidth(), from.getHeight(), toWidth, toHeight);
  auto part = std::make_shared<PngPixels>();
  if (scaled.empty() || !pixelsFrom(scaled.data(), toWidth, toHeight, *part)) return nullptr;
  return part;
}

// As resize, made once for a resource while any image shows the part; resized
// under the lock, so editors opening at once resize each part once.
SharedPixels resizeShared(const unsigned char* source, platform::Image* set, const CRect& from, int32_t toWidth,
                          int32_t toHeight) {
  SharedParts& parts = sharedParts();
  std::lock_guard<std::mutex> guard(parts.lock);
  const PartKey key{source, from.left, from.top, from.right, from.bottom, toWidth, toHeight};
  auto entry = parts.byKey.find(key);
  if (entry != parts.byKey.end())
    if (SharedPixels pixels = entry->second.lock()) return pixels;
  SharedPixels made = resize(set, from, toWidth, toHeight);
  if (!made) return nullptr;
  // Parts no image shows any more are forgotten now and then.
  if (parts.byKey.size() >= kMaxResizedParts)
    for (auto i = parts.byKey.begin(); i != parts.byKey.end();) i = i->second.expired() ? parts.byKey.erase(i) : ++i;
  parts.byKey[key] = made;
  return made;
}

}  // namespace

CBitmap::CBitmap() { ensureGdiplus(); }

CBitmap::CBitmap(const CResourceDescription& desc) : resourceDesc(desc) {
  ensureGdiplus();
  loadFromResource(desc);
}

CBitmap::CBitmap(CFrame* /*frame*/, int32_t blankWidth, int32_t blankHeight, double scale) {
  ensureGdiplus();
  if (blankWidth <= 0 || blankHeight <= 0) return;
  if (!(scale > 0) || scale == 1.0) {
    adoptImage(platform::createBlankImage(blankWidth, blankHeight));
    return;
  }
  adoptImage(platform::createBlankImage(scaling::toDevice(blankWidth, scale), scaling::toDevice(blankHeight, scale)));
  if (!image) return;
  density = scale;
  width = blankWidth;
  height = blankHeight;
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
  pixelWidth = width;
  pixelHeight = height;
}

void CBitmap::disposeScaled() {
  for (auto& part : resizedParts) platform::destroyImage(part.second);
  resizedParts.clear();
  for (platform::Image*& set : denser) {
    if (set) platform::destroyImage(set);
    set = nullptr;
  }
  lookedFor = 1;
}

void CBitmap::dispose() {
  disposeScaled();
  if (image) platform::destroyImage(image);
  image = nullptr;
  width = 0;
  height = 0;
  pixelWidth = 0;
  pixelHeight = 0;
  density = 1.0;
  setBytes[0] = setBytes[1] = setBytes[2] = nullptr;
}

bool CBitmap::loadFromResource(const CResourceDescription& desc) {
  dispose();
  resourceDesc = desc;
  // A failed decode leaves the bitmap empty and answers false, so a caller
  // can tell a damaged resource from a loaded one.
  bool pngType = false;
  const unsigned char* where = nullptr;
  adoptImage(decodeNamed(desc, pngType, where));
  if (pngType && image) noAlpha = false;
  if (image) setBytes[0] = where;
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

CBitmap* CBitmap::createFromPixels(const uint32_t* premultipliedArgb, int32_t argbWidth, int32_t argbHeight) {
  auto* bitmap = new CBitmap();
  if (!premultipliedArgb || argbWidth <= 0 || argbHeight <= 0) return bitmap;
  const uint64_t count = uint64_t(argbWidth) * uint64_t(argbHeight);
  if (uint32_t(argbWidth) > kMaxPngDimension || uint32_t(argbHeight) > kMaxPngDimension || count > kMaxPngPixels)
    return bitmap;
  PngPixels pixels;
  if (!pixelsFrom(premultipliedArgb, argbWidth, argbHeight, pixels)) return bitmap;
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
  if (context->getScaleFactor() == 1.0 && density == 1.0)
    platform::drawImage(context->getSurface(), image, inside, destination, alpha);
  else
    drawScaled(context, inside, destination, alpha);
}

void CBitmap::drawScaled(CDrawContext* context, const CRect& source, const CPoint& destination, uint8_t alpha) {
  const double scale = context->getScaleFactor();
  const CRect target = scaling::toDevice(
      CRect(destination.h, destination.v, destination.h + source.getWidth(), destination.v + source.getHeight()), scale);
  if (target.isEmpty()) return;
  double setDensity = 1.0;
  platform::Image* set = imageFor(scale, setDensity);
  const CRect from = scaling::toDevice(source, setDensity);
  if (from.isEmpty()) return;
  // A set of the context's own density is drawn pixel for pixel.
  if (from.getWidth() == target.getWidth() && from.getHeight() == target.getHeight()) {
    platform::drawImage(context->getSurface(), set, from, target.getTopLeft(), alpha);
    return;
  }
  const int32_t key = setDensity == density ? 0 : static_cast<int32_t>(setDensity);
  if (platform::Image* part = resized(set, key, from, target.getWidth(), target.getHeight()))
    platform::drawImage(context->getSurface(), part, CRect(0, 0, target.getWidth(), target.getHeight()),
                        target.getTopLeft(), alpha);
}

platform::Image* CBitmap::imageFor(double scale, double& imageDensity) {
  imageDensity = density;
  if (resourceDesc.type != CResourceDescription::kStringType || !resourceDesc.u.name || density != 1.0) return image;
  // Look for the set the scale wants; a missing one falls back to the next best.
  for (;;) {
    uint32_t available = 1;
    for (int32_t d = 2; d <= 3; ++d)
      if (!(lookedFor & (1u << (d - 1))) || denser[d - 2]) available |= 1u << (d - 1);
    const int32_t wanted = scaling::densityFor(scale, available);
    if (wanted == 1) return image;
    if (platform::Image* set = denserSet(wanted)) {
      imageDensity = wanted;
      return set;
    }
  }
}

platform::Image* CBitmap::denserSet(int32_t setDensity) {
  platform::Image*& set = denser[setDensity - 2];
  if (set || (lookedFor & (1u << (setDensity - 1)))) return set;
  lookedFor |= 1u << (setDensity - 1);
  const std::string name = scaling::densityName(resourceDesc.u.name, setDensity);
  bool pngType = false;
  set = decodeNamed(CResourceDescription(name.c_str()), pngType, setBytes[setDensity - 1]);
  // A set of any other size would put the art in the wrong place: unused.
  int32_t w = 0, h = 0;
  if (set) platform::imageSize(set, w, h);
  if (set && (w != width * setDensity || h != height * setDensity)) {
    platform::destroyImage(set);
    set = nullptr;
  }
  return set;
}

platform::Image* CBitmap::resized(platform::Image* set, int32_t setDensity, const CRect& from, int32_t toWidth,
                                  int32_t toHeight) {
  const std::array<int32_t, 7> key{setDensity, from.left, from.top, from.right, from.bottom, toWidth, toHeight};
  auto found = resizedParts.find(key);
  if (found != resizedParts.end()) return found->second;
  if (resizedParts.size() >= kMaxResizedParts) {
    for (auto& part : resizedParts) platform::destroyImage(part.second);
    resizedParts.clear();
  }
  const unsigned char* source = setDensity >= 1 && setDensity <= 3 ? setBytes[setDensity - 1] : nullptr;
  SharedPixels pixels = source ? resizeShared(source, set, from, toWidth, toHeight) : resize(set, from, toWidth, toHeight);
  platform::Image* part = pixels ? platform::createImageSharingPixels(std::move(pixels)) : nullptr;
  if (part) resizedParts.emplace(key, part);
  return part;
}

}  // namespace Toolkit
