#include "toolkit/scaling.h"

#include <cmath>
#include <limits>

namespace Toolkit::scaling {

namespace {

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && isSpace(text.front())) text.remove_prefix(1);
  while (!text.empty() && isSpace(text.back())) text.remove_suffix(1);
  return text;
}

// digits [. digits] or . digits; read without the C library, whose reading
// follows the process's locale (a host may have set a decimal comma).
std::optional<double> decimal(std::string_view text) {
  double value = 0;
  double unit = 1;
  bool point = false;
  bool digits = false;
  for (char c : text) {
    if (c == '.' && !point) {
      point = true;
    } else if (c >= '0' && c <= '9') {
      digits = true;
      if (point) {
        unit /= 10;
        value += (c - '0') * unit;
      } else {
        value = value * 10 + (c - '0');
      }
    } else {
      return std::nullopt;
    }
  }
  if (!digits || !std::isfinite(value)) return std::nullopt;
  return value;
}

// Keeps a device or logical coordinate inside what a CRect holds.
int32_t toInt(double v) {
  constexpr double kLow = std::numeric_limits<int32_t>::min();
  constexpr double kHigh = std::numeric_limits<int32_t>::max();
  if (!(v > kLow)) return std::numeric_limits<int32_t>::min();
  if (!(v < kHigh)) return std::numeric_limits<int32_t>::max();
  return static_cast<int32_t>(v);
}

double usable(double scale) { return std::isfinite(scale) && scale > 0 ? scale : 1.0; }

}  // namespace

std::optional<double> fromStated(double factor) {
  if (!std::isfinite(factor) || factor <= 0) return std::nullopt;
  if (factor < kMinimum) return kMinimum;
  if (factor > kMaximum) return kMaximum;
  return factor;
}

std::optional<double> fromText(std::string_view text) {
  const std::optional<double> value = decimal(trimmed(text));
  if (!value || *value < kMinimum || *value > kMaximum) return std::nullopt;
  return value;
}

std::optional<double> fromDpi(double dpi) { return fromStated(dpi / kUnscaledDpi); }

std::optional<double> dpiFromResources(std::string_view resources) {
  constexpr std::string_view kKey = "Xft.dpi";
  while (!resources.empty()) {
    const std::size_t end = resources.find('\n');
    std::string_view line = trimmed(resources.substr(0, end));
    resources.remove_prefix(end == std::string_view::npos ? resources.size() : end + 1);
    if (line.substr(0, kKey.size()) != kKey) continue;
    line.remove_prefix(kKey.size());
    line = trimmed(line);
    if (line.empty() || line.front() != ':') continue;
    return decimal(trimmed(line.substr(1)));
  }
  return std::nullopt;
}

double choose(std::optional<double> user, std::optional<double> host, std::optional<double> system) {
  if (user) return *user;
  if (host) return *host;
  if (system) return *system;
  return 1.0;
}

int32_t toDevice(int32_t logical, double scale) {
  if (scale == 1.0) return logical;
  return toInt(std::floor(logical * usable(scale) + 0.5));
}

int32_t toLogical(int32_t device, double scale) {
  if (scale == 1.0) return device;
  scale = usable(scale);
  // Far beyond any window; inside it toDevice never saturates, so the search ends.
  constexpr int32_t kFar = 1 << 29;
  device = device < -kFar ? -kFar : device > kFar ? kFar : device;
  // A first guess by division, then settled against toDevice itself, so the
  // two mappings agree exactly whatever the rounding of the division.
  int32_t x = toInt(std::floor((device + 0.5) / scale));
  while (x > std::numeric_limits<int32_t>::min() && toDevice(x, scale) > device) --x;
  while (x < std::numeric_limits<int32_t>::max() && toDevice(x + 1, scale) <= device) ++x;
  return x;
}

CPoint toLogical(const CPoint& device, double scale) {
  return CPoint(toLogical(device.h, scale), toLogical(device.v, scale));
}

CRect toDevice(const CRect& logical, double scale) {
  return CRect(toDevice(logical.left, scale), toDevice(logical.top, scale), toDevice(logical.right, scale),
               toDevice(logical.bottom, scale));
}

CRect coverInLogical(const CRect& device, double scale) {
  if (device.isEmpty()) return CRect(device.left, device.top, device.left, device.top);
  return CRect(toLogical(device.left, scale), toLogical(device.top, scale), toLogical(device.right - 1, scale) + 1,
               toLogical(device.bottom - 1, scale) + 1);
}

int32_t densityFor(double scale, uint32_t availableMask) {
  availableMask |= 1u;
  int32_t densest = 1;
  for (int32_t d : kDensities) {
    if (!(availableMask & (1u << (d - 1)))) continue;
    if (d >= scale) return d;
    densest = d;
  }
  return densest;
}

std::string densityName(std::string_view name, int32_t density) {
  if (density == 1) return std::string(name);
  const std::size_t dot = name.rfind('.');
  const std::size_t at = dot == std::string_view::npos ? name.size() : dot;
  std::string out(name.substr(0, at));
  out += '@';
  out += std::to_string(density);
  out += 'X';
  out += name.substr(at);
  return out;
}

}  // namespace Toolkit::scaling
