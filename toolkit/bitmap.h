// Images from the module's resources (or from memory), decoded once and drawn
// as sub-rectangles into a drawing context.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <map>

#include "toolkit/base.h"

namespace Toolkit {

class CDrawContext;
class CFrame;

namespace platform {
struct Image;
}

// How an image is named: by a 16-bit numeric id or by a zero-terminated ASCII
// name (looked up without regard to case). The name is not copied: it must
// outlive the description (the editor passes string literals).
struct CResourceDescription {
  enum Kind : int32_t { kIntegerType = 0, kStringType = 1 };

  int32_t type = kIntegerType;
  union {
    uint16_t id;
    const char* name;
  } u{};

  CResourceDescription() { u.id = 0; }
  CResourceDescription(uint16_t id) : type(kIntegerType) { u.id = id; }  // NOLINT: implicit by design
  CResourceDescription(const char* name) : type(kStringType) { u.name = name; }  // NOLINT: implicit by design
};

// A decoded image. Width and height stay 0 when the resource is missing or
// cannot be decoded; such a bitmap draws nothing.
class CBitmap : public CBaseObject {
 public:
  // Loads the named image: a "PNG"-type resource through the portable libpng
  // decoder, otherwise a "DATA" resource through the platform's decoder.
  explicit CBitmap(const CResourceDescription& desc);
  // A blank, fully transparent image for off-screen drawing: width × height
  // logical pixels held at `scale` device pixels each.
  CBitmap(CFrame* frame, int32_t width, int32_t height, double scale = 1.0);
  ~CBitmap() override;

  CBitmap(const CBitmap&) = delete;
  CBitmap& operator=(const CBitmap&) = delete;

  // Draws the source rectangle (offset.h, offset.v, rect width, rect height)
  // of the image unscaled at rect's top-left (plus the context's offset),
  // composited source-over. A vertical strip shows frame n with offset.v = n × frame height.
  // In a context of a larger scale the image's denser set is drawn instead
  // (a named image's "NAME@2X.EXT" / "NAME@3X.EXT" resources, the smallest at
  // or above the scale), resized where the scale lies between sets.
  virtual void draw(CDrawContext* context, const CRect& rect, const CPoint& offset = CPoint());
  // Same as draw: transparency always comes from the image's alpha channel.
  virtual void drawTransparent(CDrawContext* context, const CRect& rect, const CPoint& offset = CPoint());
  // As draw, with the image's alpha multiplied by alpha / 255.
  virtual void drawAlphaBlend(CDrawContext* context, const CRect& rect, const CPoint& offset,
                              unsigned char alpha);
  // Frees the decoded image; the bitmap becomes 0 × 0.
  virtual void dispose();
  // Answers true when an image was decoded (width and height are then set).
  virtual bool loadFromResource(const CResourceDescription& desc);
  // Kept for the operation order of the original interface: disposes and answers false.
  virtual bool loadFromPath(const void* platformPath);

  // The size in logical pixels (a named image's 1× size).
  int32_t getWidth() const { return width; }
  int32_t getHeight() const { return height; }
  // Device pixels per logical pixel of the image itself: 1 for a decoded
  // image, the scale a blank one was made for.
  double getDensity() const { return density; }
  // The size of the image's own pixels (of getPlatformImage()).
  int32_t getPixelWidth() const { return pixelWidth; }
  int32_t getPixelHeight() const { return pixelHeight; }
  const CResourceDescription& getResourceDescription() const { return resourceDesc; }
  void setTransparentColor(const CColor& color) { transparentColor = color; }
  CColor getTransparentColor() const { return transparentColor; }
  // False once a decode produced premultiplied alpha.
  bool getNoAlpha() const { return noAlpha; }

  // Builds a bitmap from PNG file bytes in memory, decoded like a "DATA"
  // resource (the platform decoder). Never null; 0 × 0 when the bytes are not a PNG.
  static CBitmap* createFromPngData(const unsigned char* data, std::size_t size);
  // Builds a bitmap from PNG file bytes in memory through the "PNG"-type path
  // (portable libpng decoder, colour × alpha ÷ 256). Never null.
  static CBitmap* createFromPngTypeData(const unsigned char* data, std::size_t size);
  // Builds a bitmap from premultiplied pixels, one 32-bit 0xAARRGGBB value per
  // pixel, rows top to bottom. Never null; 0 × 0 for a null or empty buffer.
  static CBitmap* createFromPixels(const uint32_t* premultipliedArgb, int32_t width, int32_t height);

  // The platform image, for the drawing contexts.
  platform::Image* getPlatformImage() const { return image; }

 private:
  CBitmap();
  void adoptImage(platform::Image* decoded);
  void disposeScaled();
  void drawScaled(CDrawContext* context, const CRect& source, const CPoint& destination, uint8_t alpha);
  // The image to draw at `scale` and its density (decoding a denser set on first use).
  platform::Image* imageFor(double scale, double& imageDensity);
  platform::Image* denserSet(int32_t setDensity);
  // `from` (the set's own pixels) resized to width × height: made once, and
  // for a resource once in the process, its pixels shared by every bitmap.
  platform::Image* resized(platform::Image* set, int32_t setDensity, const CRect& from, int32_t toWidth,
                           int32_t toHeight);

  CResourceDescription resourceDesc;
  int32_t width = 0;
  int32_t height = 0;
  CColor transparentColor{255, 255, 255, 0};
  bool noAlpha = true;
  // Owned. Holds whatever the platform keeps per image (on Windows the GDI+
  // image and, for "PNG"-type resources, the device-independent bitmap and its pixels).
  platform::Image* image = nullptr;
  double density = 1.0;
  int32_t pixelWidth = 0;
  int32_t pixelHeight = 0;
  // Owned, a named image's denser sets (index: density − 2), decoded when a
  // context of a larger scale first draws the image; and which were looked for.
  platform::Image* denser[2] = {};
  uint32_t lookedFor = 1;  // bit d − 1: density d
  // Where each set's resource lies (index: density − 1): what tells parts of
  // the same image apart across bitmaps. Null for images from elsewhere.
  const unsigned char* setBytes[3] = {};
  // Owned, what the image was resized to for scales between sets, by the set's
  // density, the source rectangle in its pixels and the size.
  std::map<std::array<int32_t, 7>, platform::Image*> resizedParts;
};

// The shared start-up of the platform's graphics library: one instance exists
// while any bitmap or frame needs it.
class GDIPlusGlobals : public CBaseObject {
 public:
  GDIPlusGlobals();
  ~GDIPlusGlobals() override;
  GDIPlusGlobals(const GDIPlusGlobals&) = delete;
  GDIPlusGlobals& operator=(const GDIPlusGlobals&) = delete;

 private:
  uintptr_t token = 0;
};

extern GDIPlusGlobals* gdiplusUser;

// Retains the shared instance, creating it (and starting the graphics library) on first use.
void ensureGdiplus();
// The matching release: clears the shared pointer when this was the last user.
void releaseGdiplus();

}  // namespace Toolkit
