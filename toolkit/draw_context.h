// Drawing contexts: what views paint through. A CDrawContext paints onto a
// window's (or a given) device; a COffscreenContext paints into its own bitmap
// and is used for double buffering and for headless drawing.
#pragma once

#include <cstdint>
#include <vector>

#include "toolkit/base.h"

namespace Toolkit {

class CBitmap;
class CFrame;

namespace platform {
struct Surface;
}

// A font description. The editor draws no text; every context still carries
// a default font so views that would draw text have one.
class CFontDesc : public CBaseObject {
 public:
  enum Sharing { kCounted, kShared };
  CFontDesc(const char* fontName, int32_t fontSize, int32_t fontStyle = 0, Sharing sharing = kCounted)
      : name(fontName), size(fontSize), style(fontStyle), isStatic(sharing == kShared) {}
  const char* getName() const { return name; }
  int32_t getSize() const { return size; }
  // The static descriptions are shared by every context of every editor, on
  // whatever thread: they are never destroyed, so they count nothing.
  void retain() override {
    if (!isStatic) CBaseObject::retain();
  }
  void release() override {
    if (!isStatic) CBaseObject::release();
  }
  int32_t getStyle() const { return style; }

 private:
  const char* name;
  int32_t size;
  int32_t style;
  bool isStatic;
};

// The toolkit's static font descriptions (never destroyed).
extern CFontDesc* const kSystemFont;  // "Arial" 12, the default of every context
extern CFontDesc* const kSymbolFont;  // "Symbol" 12

enum CDrawStyle : int32_t {
  kDrawStroked = 0,
  kDrawFilled = 1,
  kDrawFilledAndStroked = 2,
};

enum CLineStyle : int32_t { kLineSolid = 0, kLineOnOffDash = 1 };
enum CDrawMode : int32_t { kCopyMode = 0, kAntialias = 1 };

class CDrawContext : public CBaseObject {
 public:
  // Paints onto systemContext (a device context on Windows, a cairo surface on
  // Linux) or, when that is null, onto window's own device. With neither, the
  // context has no graphics and every drawing call does nothing.
  CDrawContext(CFrame* frame, void* systemContext, void* window = nullptr);
  ~CDrawContext() override;

  CDrawContext(const CDrawContext&) = delete;
  CDrawContext& operator=(const CDrawContext&) = delete;

  // No effect when equal to the current colour.
  void setFrameColor(const CColor& color);
  CColor getFrameColor() const { return frameColor; }
  void setFillColor(const CColor& color);
  CColor getFillColor() const { return fillColor; }
  void setFontColor(const CColor& color) { fontColor = color; }
  CColor getFontColor() const { return fontColor; }
  void setFont(CFontDesc* font);
  CFontDesc* getFont() const { return font; }
  void setLineWidth(int32_t width);
  int32_t getLineWidth() const { return frameWidth; }
  void setLineStyle(CLineStyle style) { lineStyle = style; }
  CLineStyle getLineStyle() const { return lineStyle; }
  void setDrawMode(CDrawMode mode) { drawMode = mode; }
  CDrawMode getDrawMode() const { return drawMode; }

  // The rectangle is normalised and moved by the offset; the fill covers it,
  // the outline (frame colour, one pixel wide) runs along its outermost pixels.
  void fillOrFrameRect(const CRect& rect, CDrawStyle style);
  void drawRect(const CRect& rect, CDrawStyle style = kDrawStroked) { fillOrFrameRect(rect, style); }
  void fillRect(const CRect& rect) { fillOrFrameRect(rect, kDrawFilled); }

  // The clip rectangle is given and answered in the context's current
  // coordinates: it is stored with the offset in effect when it is set, so
  // moving the offset later does not move the clipped area on the device.
  CRect& getClipRect(CRect& clip) const;
  void setClipRect(const CRect& clip);
  void resetClipRect();

  // Added to every destination coordinate.
  void setOffset(const CPoint& newOffset) { offset = newOffset; }
  const CPoint& getOffset() const { return offset; }
  // The window's top-left position on the screen ((0, 0) without a window).
  const CPoint& getScreenOffset() const { return screenOffset; }

  // Device pixels per logical pixel. Every coordinate a context is given is
  // logical; it maps them to its device once, each logical pixel onto whole
  // device pixels (scaling.h). 1 for a window's own device and by default.
  double getScaleFactor() const { return scale; }
  void setScaleFactor(double factor);

  CFrame* getFrame() const { return frame; }
  void* getSystemContext() const { return systemContext; }
  void* getWindow() const { return window; }
  // The platform surface, for bitmaps; null when the context cannot draw.
  platform::Surface* getSurface() const { return surface; }

 protected:
  // For COffscreenContext: draws onto the surface it makes itself.
  void attachSurface(platform::Surface* s);

 private:
  void applyClip();

  double scale = 1.0;
  CPoint screenOffset;
  CPoint offset;
  void* systemContext = nullptr;
  void* window = nullptr;
  CFrame* frame = nullptr;
  CFontDesc* font = nullptr;
  CColor fontColor;
  CLineStyle lineStyle = kLineSolid;
  int32_t frameWidth = 1;
  CColor frameColor;
  CColor fillColor;
  CDrawMode drawMode = kCopyMode;
  // Device coordinates (offset applied).
  CRect clipRect;
  // Owned: the platform's graphics, pen and brushes.
  platform::Surface* surface = nullptr;
};

class COffscreenContext : public CDrawContext {
 public:
  // A width × height (logical), fully transparent image to draw into at
  // `scale`, so of the device size of width × height; clip (0, 0, width, height).
  COffscreenContext(CFrame* frame, int32_t width, int32_t height, const CColor& backgroundColor = kBlackCColor,
                    double scale = 1.0);
  ~COffscreenContext() override;

  // Draws the off-screen image into context at destination with source offset srcOffset.
  void copyFrom(CDrawContext* context, const CRect& destination, const CPoint& srcOffset = CPoint());
  // Copies the image's device pixels `pixels` to the same place on context's
  // device, whatever the scales: how a back buffer reaches its window.
  void copyPixels(CDrawContext* context, const CRect& pixels);

  int32_t getWidth() const { return width; }
  int32_t getHeight() const { return height; }
  // The image's size in device pixels: what getPixel and readPixels address.
  int32_t getPixelWidth() const;
  int32_t getPixelHeight() const;
  CColor getBackgroundColor() const { return backgroundColor; }
  // The image drawn into (owned by the context).
  CBitmap* getBitmap() const { return bitmap; }

  // Pixel read-back (device pixels), premultiplied 0xAARRGGBB; 0 outside the image.
  uint32_t getPixel(int32_t x, int32_t y) const;
  // All pixels, rows top to bottom, premultiplied 0xAARRGGBB; false when
  // the image could not be read.
  bool readPixels(std::vector<uint32_t>& out) const;

 private:
  CBitmap* bitmap = nullptr;
  int32_t height = 0;
  int32_t width = 0;
  CColor backgroundColor;
};

}  // namespace Toolkit
