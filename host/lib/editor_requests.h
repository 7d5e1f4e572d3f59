// The Zendrel module's own tool requests, made through the host: draw the
// open editor into pixels, give it pointer events. Other modules answer 0.
#pragma once

#include <cstdint>
#include <vector>

#include "host/lib/host.h"
#include "plugin/tool_requests.h"

namespace zendrel::host {

// The open editor's width × height pixels (premultiplied 0xAARRGGBB, rows top
// to bottom); false when the module drew nothing.
bool snapshotEditor(Host& host, int32_t width, int32_t height, std::vector<uint32_t>& pixels);

// A left click (down and up) at (x, y) of the editor; false when refused.
bool clickEditor(Host& host, int32_t x, int32_t y, uint32_t buttons);

bool pointerEvent(Host& host, const zendrel::PointerEvent& event);

}  // namespace zendrel::host
