// Drawing on Windows through GDI+: the graphics object with its pen and
// brushes, fills, outlines, clipping and image drawing.
#include "toolkit/platform/win32/gdiplus.h"
#include "toolkit/platform_seam.h"

namespace Toolkit {
namespace platform {

struct Surface {
  Gdiplus::Graphics* graphics = nullptr;
  Gdiplus::Pen* pen = nullptr;
  Gdiplus::SolidBrush* fillBrush = nullptr;
  Gdiplus::SolidBrush* fontBrush = nullptr;
  HWND window = nullptr;
  HDC windowDc = nullptr;  // taken from the window, given back on destruction
};

namespace {

Gdiplus::Color argb(const CColor& c) { return Gdiplus::Color(c.alpha, c.red, c.green, c.blue); }

Surface* wrap(Gdiplus::Graphics* graphics) {
  if (!graphics || graphics->GetLastStatus() != Gdiplus::Ok) {
    delete graphics;
    return nullptr;
  }
  graphics->SetInterpolationMode(Gdiplus::InterpolationModeLowQuality);  // 1
  graphics->SetPageUnit(Gdiplus::UnitPixel);
  graphics->SetPixelOffsetMode(Gdiplus::PixelOffsetModeNone);  // 3
  graphics->SetSmoothingMode(Gdiplus::SmoothingModeNone);      // 3
  auto* surface = new Surface;
  surface->graphics = graphics;
  surface->pen = new Gdiplus::Pen(Gdiplus::Color(255, 0, 0, 0), 1.0f);
  surface->fillBrush = new Gdiplus::SolidBrush(Gdiplus::Color(255, 0, 0, 0));
  surface->fontBrush = new Gdiplus::SolidBrush(Gdiplus::Color(255, 255, 255, 255));
  return surface;
}

}  // namespace

uintptr_t startGraphics() {
  Gdiplus::GdiplusStartupInput input;  // version 1, no debug callback, nothing suppressed
  ULONG_PTR token = 0;
  if (Gdiplus::GdiplusStartup(&token, &input, nullptr) != Gdiplus::Ok) return 0;
  return token;
}

void stopGraphics(uintptr_t token) {
  if (token) Gdiplus::GdiplusShutdown(token);
}

Surface* createDeviceSurface(void* systemContext, void* window) {
  HDC dc = static_cast<HDC>(systemContext);
  HDC windowDc = nullptr;
  if (!dc && window) dc = windowDc = GetDC(static_cast<HWND>(window));
  if (!dc) return nullptr;
  Surface* surface = wrap(new Gdiplus::Graphics(dc));
  if (!surface) {
    if (windowDc) ReleaseDC(static_cast<HWND>(window), windowDc);
    return nullptr;
  }
  surface->window = static_cast<HWND>(window);
  surface->windowDc = windowDc;
  return surface;
}

Surface* createImageSurface(Image* image) {
  if (!image || !image->gdiImage || !makeBitmapPrivate(image)) return nullptr;
  return wrap(new Gdiplus::Graphics(image->gdiImage));
}

void destroySurface(Surface* surface) {
  if (!surface) return;
  delete surface->fontBrush;
  delete surface->fillBrush;
  delete surface->pen;
  delete surface->graphics;
  if (surface->windowDc) ReleaseDC(surface->window, surface->windowDc);
  delete surface;
}

CPoint windowScreenOrigin(void* window) {
  RECT r{};
  if (!window || !GetWindowRect(static_cast<HWND>(window), &r)) return CPoint();
  return CPoint(r.left, r.top);
}

void setClip(Surface* surface, const CRect& clip) {
  surface->graphics->SetClip(Gdiplus::Rect(clip.left, clip.top, clip.getWidth() > 0 ? clip.getWidth() : 0,
                                           clip.getHeight() > 0 ? clip.getHeight() : 0),
                             Gdiplus::CombineModeReplace);
}

void setPen(Surface* surface, const CColor& color, int32_t width) {
  surface->pen->SetColor(argb(color));
  surface->pen->SetWidth(static_cast<Gdiplus::REAL>(width));
}

void setFillColor(Surface* surface, const CColor& color) { surface->fillBrush->SetColor(argb(color)); }

void fillRect(Surface* surface, const CRect& rect) {
  surface->graphics->FillRectangle(surface->fillBrush, rect.left, rect.top, rect.getWidth(), rect.getHeight());
}

void frameRect(Surface* surface, const CRect& rect) {
  surface->graphics->DrawRectangle(surface->pen, rect.left, rect.top, rect.getWidth() - 1, rect.getHeight() - 1);
}

void drawImage(Surface* surface, Image* image, const CRect& source, const CPoint& destination, uint8_t alpha) {
  if (!image || !image->gdiImage || alpha == 0) return;
  Gdiplus::Graphics* graphics = surface->graphics;
  const INT w = source.getWidth();
  const INT h = source.getHeight();
  if (alpha == 255) {
    graphics->DrawImage(image->gdiImage, destination.h, destination.v, source.left, source.top, w, h,
                        Gdiplus::UnitPixel);
    return;
  }
  // Below 255: the source rectangle goes through a temporary bitmap, drawn
  // with a colour matrix that scales alpha only.
  Gdiplus::Bitmap temporary(w, h, PixelFormat32bppARGB);
  if (temporary.GetLastStatus() != Gdiplus::Ok) return;
  {
    Gdiplus::Graphics copy(&temporary);
    copy.SetCompositingMode(Gdiplus::CompositingModeSourceCopy);
    copy.SetPageUnit(Gdiplus::UnitPixel);
    copy.DrawImage(image->gdiImage, 0, 0, source.left, source.top, w, h, Gdiplus::UnitPixel);
  }
  Gdiplus::ColorMatrix matrix = {{{1, 0, 0, 0, 0},
                                  {0, 1, 0, 0, 0},
                                  {0, 0, 1, 0, 0},
                                  {0, 0, 0, static_cast<Gdiplus::REAL>(alpha / 255.0), 0},
                                  {0, 0, 0, 0, 1}}};
  Gdiplus::ImageAttributes attributes;
  attributes.SetColorMatrix(&matrix, Gdiplus::ColorMatrixFlagsDefault, Gdiplus::ColorAdjustTypeBitmap);
  graphics->DrawImage(&temporary, Gdiplus::Rect(destination.h, destination.v, w, h), 0, 0, w, h, Gdiplus::UnitPixel,
                      &attributes);
}

}  // namespace platform
}  // namespace Toolkit
