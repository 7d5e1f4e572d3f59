// The effect class in-process, for the engine tests that need its
// processReplacing and setParameter: a quiet host callback that answers the
// version and hands out one time record, and no editor.
#pragma once

#include <atomic>
#include <cstring>

#include "plugin/vst/host_interface.h"
#include "plugin/model/zendrel.h"

namespace zendrel_test {

// The time record the host hands out; written only between blocks.
inline VstTimeInfo& hostTime() {
  static VstTimeInfo t{};
  return t;
}

inline VstIntPtr quietHost(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
  if (opcode == audioMasterVersion) return kVstVersion;
  if (opcode == audioMasterGetTime) return reinterpret_cast<VstIntPtr>(&hostTime());
  return 0;
}

// effSetSampleRate followed by effMainsChanged 1, as a host does.
inline void setRate(Zendrel& effect, double rate) {
  AEffect* e = effect.getAeffect();
  e->dispatcher(e, effSetSampleRate, 0, 0, nullptr, static_cast<float>(rate));
  e->dispatcher(e, effMainsChanged, 0, 1, nullptr, 0.0f);
}

}  // namespace zendrel_test
