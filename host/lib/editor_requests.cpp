#include "host/lib/editor_requests.h"

namespace zendrel::host {

bool snapshotEditor(Host& host, int32_t width, int32_t height, std::vector<uint32_t>& pixels) {
  if (width <= 0 || height <= 0) return false;
  pixels.assign(std::size_t(width) * std::size_t(height), 0);
  zendrel::SnapshotPixels request{width, height, pixels.data()};
  return host.dispatch(effVendorSpecific, zendrel::kToolRequestTag, zendrel::kSnapshotRequest, &request) == 1;
}

bool pointerEvent(Host& host, const zendrel::PointerEvent& event) {
  zendrel::PointerEvent copy = event;
  return host.dispatch(effVendorSpecific, zendrel::kToolRequestTag, zendrel::kPointerRequest, &copy) == 1;
}

bool clickEditor(Host& host, int32_t x, int32_t y, uint32_t buttons) {
  const uint32_t left = 0x2;  // the toolkit's left button
  return pointerEvent(host, {zendrel::PointerEvent::kDown, x, y, buttons, 0.0f}) &&
         pointerEvent(host, {zendrel::PointerEvent::kUp, x, y, buttons & ~left, 0.0f});
}

}  // namespace zendrel::host
