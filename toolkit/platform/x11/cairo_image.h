// The cairo image behind a Platform::Image, shared by the x11 drawing files.
#pragma once

#include <cairo.h>

namespace Toolkit {
namespace Platform {

// An ARGB32 image surface: premultiplied, native-endian 0xAARRGGBB words,
// i.e. the B, G, R, A bytes the decoder produces.
struct Image {
  cairo_surface_t* surface = nullptr;
};

}  // namespace Platform
}  // namespace Toolkit
