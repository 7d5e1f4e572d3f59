// The cairo image behind a platform::Image, shared by the x11 drawing files.
#pragma once

#include <cairo.h>

namespace Toolkit {
namespace platform {

// An ARGB32 image surface: premultiplied, native-endian 0xAARRGGBB words,
// i.e. the B, G, R, A bytes the decoder produces.
struct Image {
  cairo_surface_t* surface = nullptr;
  // True while the surface reads pixels that other images read too (a decoded
  // resource): they are never written through it.
  bool sharesPixels = false;
};

// Gives `image` pixels of its own, copied from what it shows, before anything
// draws into it. False when no new surface could be made.
bool makePixelsPrivate(Image* image);

}  // namespace platform
}  // namespace Toolkit
