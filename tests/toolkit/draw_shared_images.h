// What the shared-image tests need to see of a platform: where a bitmap's
// decoded image lives. Bitmaps that share one decode answer the same.
#pragma once

#include <cstdint>
#include <vector>

#include "toolkit/bitmap.h"

namespace zendrel::test {

const void* decodeOf(const Toolkit::CBitmap& bitmap);

// The bitmap drawn whole into an off-screen context, as the context reads back.
std::vector<uint32_t> drawnPixels(Toolkit::CBitmap& bitmap);

}  // namespace zendrel::test
