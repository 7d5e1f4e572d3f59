// How often the editor's own idle cycle may run while the user drags or clicks:
// at most every 100 ms at full speed, with a short sleep when called sooner.
#pragma once

#include <cstdint>

namespace Toolkit {

struct IdlePacing {
  bool sleepFirst;  // sleep kIdleSleepMs before deciding
  bool run;         // run the cycle
  uint32_t now;     // the tick the cycle counts as its own
};

inline constexpr uint32_t kIdleSleepMs = 4;
inline constexpr uint32_t kIdlePeriodMs = 100;
inline constexpr uint32_t kIdleEarlyMs = 50;

// a is earlier than b on a tick counter that wraps around every 2^32 ms.
constexpr bool tickBefore(uint32_t a, uint32_t b) { return static_cast<int32_t>(a - b) < 0; }

// The cycle at tick `now`, the previous one having set `lastTicks` (its own
// tick plus the period). Called before its time, the cycle sleeps a little and
// then runs only when less than 50 ms of the period remain.
constexpr IdlePacing paceIdle(uint32_t now, uint32_t lastTicks) {
  if (!tickBefore(now, lastTicks)) return {false, true, now};
  const uint32_t later = now + kIdleSleepMs;
  return {true, !tickBefore(later, lastTicks - kIdleEarlyMs), later};
}

}  // namespace Toolkit
