// Requests the project's own tools make through effVendorSpecific (index
// kToolRequestTag, value the request, ptr its data): drawing the open editor
// into a pixel buffer and giving it pointer events, so that the snapshot tool
// and headless tests see the editor exactly as the module draws it. No host
// sends these codes; an unknown one answers 0.
#pragma once

#include <cstdint>

#include "plugin/vst/host_interface.h"

namespace zendrel {

constexpr VstInt32 kToolRequestTag = fourCharCode('Z', 'd', 'R', 'l');

enum ToolRequest : VstInt32 {
  kSnapshotRequest = fourCharCode('S', 'n', 'a', 'p'),  // data: SnapshotPixels
  kPointerRequest = fourCharCode('P', 'n', 't', 'r'),   // data: PointerEvent
};

// The editor's pixels, premultiplied 0xAARRGGBB, rows top to bottom; width
// and height must be the editor's.
struct SnapshotPixels {
  int32_t width;
  int32_t height;
  uint32_t* pixels;
};

struct PointerEvent {
  enum Kind : int32_t { kDown = 0, kMoved = 1, kUp = 2, kWheel = 3 };
  int32_t kind;
  int32_t x;
  int32_t y;
  uint32_t buttons;  // the toolkit's button and modifier flags
  float distance;    // wheel notches
};

}  // namespace zendrel
