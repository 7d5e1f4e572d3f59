// What every platform folder (toolkit/platform/<name>/) defines, and nothing
// more. The portable toolkit reaches the system only through these functions;
// each platform keeps its own state in the structs declared opaque here.
//
//   graphics library lifetime   startGraphics, stopGraphics
//   resource lookup             findResource
//   decoded image               Image: decodeDataResource, decodeDataBytes,
//                               createImageFromPixels, createBlankImage, ...
//   graphics surface            Surface: createDeviceSurface, createImageSurface,
//                               fills, outlines, clipping, image drawing
//   ticks and sleep             tickCount, sleepMilliseconds
//
// The window layer has a seam of its own, apart from drawing: window_seam.h.
//
// Private to the toolkit: views and editors never include it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "toolkit/base.h"
#include "toolkit/png_decode.h"

namespace Toolkit {

struct CResourceDescription;

namespace platform {

// ---- graphics library lifetime ------------------------------------------
// Starts the platform's graphics library; the answer is handed back to stop.
uintptr_t startGraphics();
void stopGraphics(uintptr_t token);

// ---- resource lookup ----------------------------------------------------
enum class ResourceType {
  kPng,   // "PNG": decoded by the portable libpng path, colour × alpha ÷ 256
  kData,  // "DATA": decoded by the platform's own decoder (the plug-in's images)
};

struct ResourceBytes {
  const unsigned char* data = nullptr;
  std::size_t size = 0;
};

// Finds the resource of `type` named by `desc` (names compared without regard
// to case) in the plug-in module. The bytes stay valid while the module is loaded.
bool findResource(const CResourceDescription& desc, ResourceType type, ResourceBytes& out);

// ---- decoded image ------------------------------------------------------
struct Image;

// Decodes the "DATA" resource named by `desc` (or, where the platform has
// them, a bitmap resource of that name). `found` tells whether any resource
// existed; the answer is null when none did or decoding failed.
Image* decodeDataResource(const CResourceDescription& desc, bool& found);
// Decodes PNG file bytes with the same decoder the "DATA" path uses.
Image* decodeDataBytes(const unsigned char* data, std::size_t size);
// An image over premultiplied BGRA pixels (taken over or copied, as the
// platform needs); null for empty input.
Image* createImageFromPixels(PngPixels&& pixels);
// An image showing pixels that other images may show too; nothing is ever
// drawn into them through it. Where the platform cannot share pixels between
// images (Windows), over a copy. Null for empty pixels.
Image* createImageSharingPixels(std::shared_ptr<const PngPixels> pixels);
// A fully transparent width × height image to draw into; null when it cannot be made.
Image* createBlankImage(int32_t width, int32_t height);
void destroyImage(Image* image);
// 0 × 0 for an image that holds no pixels.
void imageSize(const Image* image, int32_t& width, int32_t& height);
// Premultiplied 0xAARRGGBB, rows top to bottom.
bool readImagePixels(Image* image, std::vector<uint32_t>& out);
// The pixels of `area` only (inside the image), rows top to bottom.
bool readImagePixels(Image* image, const CRect& area, std::vector<uint32_t>& out);

// ---- graphics surface ---------------------------------------------------
struct Surface;

// A surface on a device (Windows: a device context, or the window's own
// when `systemContext` is null; Linux: a cairo surface). Null without either.
Surface* createDeviceSurface(void* systemContext, void* window);
// A surface drawing into `image` (which must outlive it).
Surface* createImageSurface(Image* image);
void destroySurface(Surface* surface);
// Screen position of the window's top-left corner; (0, 0) without a window.
CPoint windowScreenOrigin(void* window);

// All rectangles below are in device pixels, normalised.
void setClip(Surface* surface, const CRect& clip);
void setPen(Surface* surface, const CColor& color, int32_t width);
void setFillColor(Surface* surface, const CColor& color);
// Source-over fill of the whole rectangle.
void fillRect(Surface* surface, const CRect& rect);
// Outline through the outermost pixels of the rectangle (width − 1 by height − 1 path).
void frameRect(Surface* surface, const CRect& rect);
// Draws the image's `source` sub-rectangle (already inside the image) unscaled
// with its top-left at `destination`, source-over; alpha below 255 scales the
// image's alpha by alpha / 255.
void drawImage(Surface* surface, Image* image, const CRect& source, const CPoint& destination, uint8_t alpha);

// ---- ticks and sleep ----------------------------------------------------
// Milliseconds since some fixed start (wraps around).
uint32_t tickCount();
void sleepMilliseconds(uint32_t milliseconds);

}  // namespace platform
}  // namespace Toolkit
