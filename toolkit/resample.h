// Resizing an image for a display scale between the densities it is drawn at:
// an area average (every source pixel weighs by how much of it a target pixel
// covers), the sharpest filter that neither aliases when shrinking nor blurs a
// pixel beyond its neighbours. Portable on purpose: both products draw scaled
// images with exactly the same pixels.
#pragma once

#include <cstdint>
#include <vector>

namespace Toolkit {

// Resizes width × height premultiplied 0xAARRGGBB pixels (rows top to bottom)
// to toWidth × toHeight. Pixels outside the source are never read, so a frame
// of a strip takes nothing from its neighbours. Empty for any size under 1.
std::vector<uint32_t> resampleArea(const std::vector<uint32_t>& pixels, int32_t width, int32_t height,
                                   int32_t toWidth, int32_t toHeight);

}  // namespace Toolkit
