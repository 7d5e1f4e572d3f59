// What both dispatchers share: the arguments of one call, the conversions of
// host-given values, and the walk over a dispatcher's opcode groups.
#pragma once

#include <cstddef>
#include <optional>

#include "plugin/vst/host_interface.h"

struct DispatchCall {
  VstInt32 opcode;
  VstInt32 index;
  VstIntPtr value;
  void* ptr;
  float opt;
};

namespace zendrel::dispatch {

// A float the host passes for an integer argument: truncated toward zero,
// 0 when it has no int32 value (NaN, infinities, out of range), never UB.
inline VstInt32 truncateToInt(double value) {
  if (!(value > -2147483649.0 && value < 2147483648.0)) return 0;
  return static_cast<VstInt32>(value);
}

inline VstIntPtr fromBool(bool b) { return b ? 1 : 0; }

// A group answers the opcodes it knows and leaves the others (nullopt).
template <class Effect>
using Group = std::optional<VstIntPtr> (*)(Effect& effect, const DispatchCall& call);

// The answer of the group that knows the opcode, or 0 when none does.
template <class Effect, std::size_t N>
VstIntPtr firstAnswer(const Group<Effect> (&groups)[N], Effect& effect, const DispatchCall& call) {
  for (Group<Effect> group : groups)
    if (std::optional<VstIntPtr> answer = group(effect, call)) return *answer;
  return 0;
}

}  // namespace zendrel::dispatch
