// Drawing on Linux through cairo: fills, outlines, clipping and image drawing
// with source-over compositing, on image surfaces or a window's surface.
#include <cairo.h>

#include "toolkit/platform/x11/cairo_image.h"
#include "toolkit/platform_seam.h"

namespace Toolkit {
namespace platform {

struct Surface {
  cairo_t* cr = nullptr;
  CColor pen = kBlackCColor;
  int32_t penWidth = 1;
  CColor fill = kBlackCColor;
};

namespace {

Surface* wrap(cairo_surface_t* target) {
  cairo_t* cr = cairo_create(target);
  if (cairo_status(cr) != CAIRO_STATUS_SUCCESS) {
    cairo_destroy(cr);
    return nullptr;
  }
  // Pixel-exact output like the Windows path: no smoothing of edges.
  cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
  cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
  auto* surface = new Surface;
  surface->cr = cr;
  return surface;
}

void setSource(cairo_t* cr, const CColor& c) {
  cairo_set_source_rgba(cr, c.red / 255.0, c.green / 255.0, c.blue / 255.0, c.alpha / 255.0);
}

}  // namespace

uintptr_t startGraphics() { return 1; }  // cairo needs no start-up
void stopGraphics(uintptr_t /*token*/) {}

Surface* createDeviceSurface(void* systemContext, void* /*window*/) {
  // The window code hands in its cairo surface; a bare window id is not drawn
  // on directly.
  if (!systemContext) return nullptr;
  return wrap(static_cast<cairo_surface_t*>(systemContext));
}

Surface* createImageSurface(Image* image) {
  // Drawing into a decoded resource must not reach the other images showing it.
  if (!makePixelsPrivate(image)) return nullptr;
  return wrap(image->surface);
}

void destroySurface(Surface* surface) {
  if (!surface) return;
  cairo_surface_t* target = cairo_get_target(surface->cr);
  cairo_destroy(surface->cr);
  cairo_surface_flush(target);
  delete surface;
}

CPoint windowScreenOrigin(void* /*window*/) { return CPoint(); }

void setClip(Surface* surface, const CRect& clip) {
  cairo_reset_clip(surface->cr);
  cairo_rectangle(surface->cr, clip.left, clip.top, clip.getWidth() > 0 ? clip.getWidth() : 0,
                  clip.getHeight() > 0 ? clip.getHeight() : 0);
  cairo_clip(surface->cr);
}

void setPen(Surface* surface, const CColor& color, int32_t width) {
  surface->pen = color;
  surface->penWidth = width;
}

void setFillColor(Surface* surface, const CColor& color) { surface->fill = color; }

void fillRect(Surface* surface, const CRect& rect) {
  cairo_t* cr = surface->cr;
  setSource(cr, surface->fill);
  cairo_rectangle(cr, rect.left, rect.top, rect.getWidth(), rect.getHeight());
  cairo_fill(cr);
}

void frameRect(Surface* surface, const CRect& rect) {
  cairo_t* cr = surface->cr;
  setSource(cr, surface->pen);
  cairo_set_line_width(cr, surface->penWidth);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_MITER);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_SQUARE);
  // Pixel centres: the path runs through the outermost pixels.
  cairo_rectangle(cr, rect.left + 0.5, rect.top + 0.5, rect.getWidth() - 1, rect.getHeight() - 1);
  cairo_stroke(cr);
}

void drawImage(Surface* surface, Image* image, const CRect& source, const CPoint& destination, uint8_t alpha) {
  if (!image || !image->surface || alpha == 0) return;
  cairo_t* cr = surface->cr;
  cairo_save(cr);
  cairo_set_source_surface(cr, image->surface, destination.h - source.left, destination.v - source.top);
  cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
  cairo_rectangle(cr, destination.h, destination.v, source.getWidth(), source.getHeight());
  if (alpha == 255) {
    cairo_fill(cr);
  } else {
    cairo_clip(cr);
    cairo_paint_with_alpha(cr, alpha / 255.0);
  }
  cairo_restore(cr);
}

}  // namespace platform
}  // namespace Toolkit
