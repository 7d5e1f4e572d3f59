#include "toolkit/draw_context.h"

#include <algorithm>

#include "toolkit/bitmap.h"
#include "toolkit/frame.h"
#include "toolkit/platform_seam.h"
#include "toolkit/scaling.h"

namespace Toolkit {

namespace {
CFontDesc systemFont("Arial", 12, 0, CFontDesc::kShared);
CFontDesc symbolFont("Symbol", 12, 0, CFontDesc::kShared);

// Clip of a context without a frame to take it from.
constexpr CRect kDefaultClip(0, 0, 1000, 1000);
}  // namespace

CFontDesc* const kSystemFont = &systemFont;
CFontDesc* const kSymbolFont = &symbolFont;

// ---- CDrawContext ------------------------------------------------------------

CDrawContext::CDrawContext(CFrame* ownerFrame, void* deviceContext, void* deviceWindow)
    : systemContext(deviceContext),
      window(deviceWindow),
      frame(ownerFrame),
      clipRect(ownerFrame ? ownerFrame->getViewSize() : kDefaultClip) {
  surface = platform::createDeviceSurface(systemContext, window);
  if (surface) {
    platform::setPen(surface, frameColor, frameWidth);
    platform::setFillColor(surface, fillColor);
  }
  setFrameColor(kWhiteCColor);
  setLineWidth(1);
  setFillColor(kBlackCColor);
  setFontColor(kWhiteCColor);
  setFont(kSystemFont);
  screenOffset = platform::windowScreenOrigin(window);
  applyClip();
}

CDrawContext::~CDrawContext() {
  if (font) font->release();
  if (surface) platform::destroySurface(surface);
}

void CDrawContext::attachSurface(platform::Surface* s) {
  if (surface) platform::destroySurface(surface);
  surface = s;
  if (surface) {
    platform::setPen(surface, frameColor, frameWidth);
    platform::setFillColor(surface, fillColor);
  }
  applyClip();
}

void CDrawContext::setFrameColor(const CColor& color) {
  if (color == frameColor) return;
  frameColor = color;
  if (surface) platform::setPen(surface, frameColor, frameWidth);
}

void CDrawContext::setFillColor(const CColor& color) {
  if (color == fillColor) return;
  fillColor = color;
  if (surface) platform::setFillColor(surface, fillColor);
}

void CDrawContext::setLineWidth(int32_t lineWidth) {
  if (lineWidth < 1) lineWidth = 1;
  if (lineWidth == frameWidth) return;
  frameWidth = lineWidth;
  if (surface) platform::setPen(surface, frameColor, frameWidth);
}

void CDrawContext::setFont(CFontDesc* newFont) {
  if (newFont == font) return;
  if (newFont) newFont->retain();
  if (font) font->release();
  font = newFont;
}

void CDrawContext::setScaleFactor(double factor) {
  if (!(factor > 0) || factor == scale) return;
  scale = factor;
  applyClip();
}

void CDrawContext::fillOrFrameRect(const CRect& rect, CDrawStyle style) {
  if (!surface) return;
  CRect r = rect;
  r.normalize();
  r.offset(offset);
  if (r.isEmpty()) return;
  const bool fill = style == kDrawFilled || style == kDrawFilledAndStroked;
  const bool stroke = style == kDrawStroked || style == kDrawFilledAndStroked;
  if (scale == 1.0) {
    if (fill) platform::fillRect(surface, r);
    if (stroke) platform::frameRect(surface, r);
    return;
  }
  if (fill) platform::fillRect(surface, scaling::toDevice(r, scale));
  if (!stroke) return;
  // The outline covers the outermost line-width logical pixels, as four bands
  // of whole device pixels.
  const int32_t w = std::min(frameWidth, std::min(r.getWidth(), r.getHeight()));
  const CRect bands[] = {CRect(r.left, r.top, r.right, r.top + w), CRect(r.left, r.bottom - w, r.right, r.bottom),
                         CRect(r.left, r.top + w, r.left + w, r.bottom - w),
                         CRect(r.right - w, r.top + w, r.right, r.bottom - w)};
  platform::setFillColor(surface, frameColor);
  for (const CRect& band : bands)
    if (!band.isEmpty()) platform::fillRect(surface, scaling::toDevice(band, scale));
  platform::setFillColor(surface, fillColor);
}

CRect& CDrawContext::getClipRect(CRect& clip) const {
  clip = clipRect;
  clip.offset(-offset.h, -offset.v);
  return clip;
}

void CDrawContext::setClipRect(const CRect& clip) {
  clipRect = clip;
  clipRect.normalize();
  clipRect.offset(offset);
  applyClip();
}

void CDrawContext::resetClipRect() {
  clipRect = kDefaultClip;
  applyClip();
}

void CDrawContext::applyClip() {
  if (surface) platform::setClip(surface, scale == 1.0 ? clipRect : scaling::toDevice(clipRect, scale));
}

// ---- COffscreenContext -----------------------------------------------------

COffscreenContext::COffscreenContext(CFrame* ownerFrame, int32_t imageWidth, int32_t imageHeight,
                                     const CColor& background, double imageScale)
    : CDrawContext(ownerFrame, nullptr, nullptr),
      bitmap(new CBitmap(ownerFrame, imageWidth, imageHeight, imageScale)),
      height(bitmap->getHeight()),
      width(bitmap->getWidth()),
      backgroundColor(background) {
  setScaleFactor(bitmap->getDensity());
  if (bitmap->getPlatformImage()) attachSurface(platform::createImageSurface(bitmap->getPlatformImage()));
  setClipRect(CRect(0, 0, width, height));
}

COffscreenContext::~COffscreenContext() {
  // The surface draws into the bitmap's image: it goes first.
  attachSurface(nullptr);
  bitmap->release();
}

void COffscreenContext::copyFrom(CDrawContext* context, const CRect& destination, const CPoint& srcOffset) {
  if (context && context != this) bitmap->draw(context, destination, srcOffset);
}

int32_t COffscreenContext::getPixelWidth() const { return bitmap->getPixelWidth(); }
int32_t COffscreenContext::getPixelHeight() const { return bitmap->getPixelHeight(); }

void COffscreenContext::copyPixels(CDrawContext* context, const CRect& pixels) {
  if (!context || context == this || !context->getSurface() || !bitmap->getPlatformImage()) return;
  const CRect inside = pixels.intersected(CRect(0, 0, getPixelWidth(), getPixelHeight()));
  if (!inside.isEmpty())
    platform::drawImage(context->getSurface(), bitmap->getPlatformImage(), inside, inside.getTopLeft(), 255);
}

uint32_t COffscreenContext::getPixel(int32_t x, int32_t y) const {
  const int32_t w = getPixelWidth();
  if (x < 0 || y < 0 || x >= w || y >= getPixelHeight()) return 0;
  std::vector<uint32_t> pixels;
  if (!readPixels(pixels)) return 0;
  return pixels[std::size_t(y) * std::size_t(w) + std::size_t(x)];
}

bool COffscreenContext::readPixels(std::vector<uint32_t>& out) const {
  out.clear();
  platform::Image* image = bitmap->getPlatformImage();
  return image && platform::readImagePixels(image, out) &&
         out.size() == std::size_t(getPixelWidth()) * std::size_t(getPixelHeight());
}

}  // namespace Toolkit
