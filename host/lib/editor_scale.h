// Display scaling as a host asks for it: the content-scale call some Windows
// hosts send to a plug-in that answers "supportsViewDpiScaling", made before
// the editor opens, and the editor's size in device pixels read back from
// effEditGetRect. The tools' --scale option is parsed here once.
#pragma once

#include <cstdint>
#include <string>

#include "host/lib/host.h"

namespace zendrel::host {

constexpr double kMinScale = 1.0;
constexpr double kMaxScale = 3.0;

// Sends the content-scale call (effVendorSpecific, kContentScaleIndex,
// kContentScaleValue, the factor in opt); true when the module took it.
bool setContentScale(Host& host, float factor);

// The editor's width and height from effEditGetRect; false when the module
// gives no rectangle or an empty or inverted one.
bool editorSize(Host& host, int32_t& width, int32_t& height);

// A --scale argument: a number from 1 to 3. An empty string on success, else
// what is wrong with it.
std::string parseScale(const char* text, double& factor);

}  // namespace zendrel::host
