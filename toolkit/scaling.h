// Display scaling: the rules, as pure functions. Everything above the platform
// layer works in logical pixels (the editor's 900 × 550); a window, its back
// buffer and every image drawn are in device pixels, `scale` device pixels to a
// logical one. Logical coordinate x starts at device pixel toDevice(x), so each
// logical pixel owns a whole run of device pixels (one or more: scale ≥ 1) and
// shapes drawn on logical rectangles meet without seams or overlaps.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "toolkit/base.h"

namespace Toolkit::scaling {

inline constexpr double kMinimum = 1.0;
inline constexpr double kMaximum = 3.0;
// The densities the images are drawn at, lowest first.
inline constexpr int32_t kDensities[] = {1, 2, 3};
// The resolution of an unscaled screen.
inline constexpr double kUnscaledDpi = 96.0;

// ---- where the factor comes from -----------------------------------------------
// A factor a host or the system states: clamped into [kMinimum, kMaximum];
// none for NaN, infinities, zero and negative values.
std::optional<double> fromStated(double factor);
// A factor the user writes (the environment): a plain decimal number inside
// [kMinimum, kMaximum] with nothing after it; anything else is no factor.
std::optional<double> fromText(std::string_view text);
// A screen resolution in dots per inch, kUnscaledDpi being 1.0.
std::optional<double> fromDpi(double dpi);
// The "Xft.dpi" entry of an X resource database (the text of the root
// window's RESOURCE_MANAGER property); none when it is missing or no number.
std::optional<double> dpiFromResources(std::string_view resources);
// The first factor present: the user's, then the host's, then the system's; else 1.
double choose(std::optional<double> user, std::optional<double> host, std::optional<double> system);

// ---- mapping -----------------------------------------------------------------------
// The device pixel at which logical coordinate x starts: x × scale rounded
// half up. Also the device size of a logical length starting at 0.
int32_t toDevice(int32_t logical, double scale);
// The logical pixel that device pixel `device` belongs to.
int32_t toLogical(int32_t device, double scale);
CPoint toLogical(const CPoint& device, double scale);
// Every device pixel of a logical rectangle (its edges mapped by toDevice).
CRect toDevice(const CRect& logical, double scale);
// The smallest logical rectangle whose device pixels cover `device`.
CRect coverInLogical(const CRect& device, double scale);

// ---- image sets -------------------------------------------------------------------
// The density to draw at `scale` from, among the available ones (bit d − 1 set
// for density d; density 1 is always taken as available): the smallest at or
// above the scale, else the densest there is.
int32_t densityFor(double scale, uint32_t availableMask);
// The resource name of an image's set at `density`: "BASE.PNG" at 2 is
// "BASE@2X.PNG" (the suffix goes before the extension); density 1 is the name itself.
std::string densityName(std::string_view name, int32_t density);

}  // namespace Toolkit::scaling
