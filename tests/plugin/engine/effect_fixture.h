// The effect class in-process, for the engine tests that need its
// processReplacing and setParameter: a quiet host callback that answers the
// version and hands out one time record, and no editor.
#pragma once

#include "plugin/model/zendrel.h"
#include "plugin/vst/host_interface.h"
#include "tests/support/quiet_host.h"

namespace zendrel::test {

// effSetSampleRate followed by effMainsChanged 1, as a host does.
inline void setRate(Zendrel& effect, double rate) {
  AEffect* e = effect.getAeffect();
  e->dispatcher(e, effSetSampleRate, 0, 0, nullptr, static_cast<float>(rate));
  e->dispatcher(e, effMainsChanged, 0, 1, nullptr, 0.0f);
}

}  // namespace zendrel::test
