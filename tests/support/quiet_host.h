// A host callback that answers only what a plug-in needs to run: the version
// and one time record, which the test sets between blocks.
#pragma once

#include "plugin/vst/host_interface.h"

namespace zendrel::test {

// The time record quietHost hands out.
VstTimeInfo& hostTime();

VstIntPtr quietHost(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt);

}  // namespace zendrel::test
