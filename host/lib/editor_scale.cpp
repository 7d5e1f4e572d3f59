#include "host/lib/editor_scale.h"

#include <cmath>
#include <cstdlib>

namespace zendrel::host {

bool setContentScale(Host& host, float factor) {
  return host.dispatch(effVendorSpecific, kContentScaleIndex, kContentScaleValue, nullptr, factor) == 1;
}

bool editorSize(Host& host, int32_t& width, int32_t& height) {
  ERect* rect = nullptr;
  if (!host.dispatch(effEditGetRect, 0, 0, &rect) || !rect) return false;
  width = int32_t(rect->right) - rect->left;
  height = int32_t(rect->bottom) - rect->top;
  return width > 0 && height > 0;
}

std::string parseScale(const char* text, double& factor) {
  char* end = nullptr;
  const double v = std::strtod(text, &end);
  // Written out so that NaN fails too.
  if (end == text || *end != '\0' || !(v >= kMinScale && v <= kMaxScale))
    return "--scale wants a number from 1 to 3, got '" + std::string(text) + "'";
  factor = v;
  return "";
}

}  // namespace zendrel::host
