#include "tests/support/quiet_host.h"

namespace zendrel::test {

VstTimeInfo& hostTime() {
  static VstTimeInfo t{};
  return t;
}

VstIntPtr quietHost(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
  if (opcode == audioMasterVersion) return kVstVersion;
  if (opcode == audioMasterGetTime) return reinterpret_cast<VstIntPtr>(&hostTime());
  return 0;
}

}  // namespace zendrel::test
