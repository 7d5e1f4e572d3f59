// For the tests' own host callbacks: a request naming a parameter (edit begin
// or end, automation) with an index the record does not declare fails the
// running test. Hosts may index their tables with it.
#pragma once

#include <gtest/gtest.h>

#include "plugin/vst/host_interface.h"

namespace zendrel::test {

inline void expectDeclaredParameter(const AEffect* effect, VstInt32 opcode, VstInt32 index) {
  if (opcode != audioMasterAutomate && opcode != audioMasterBeginEdit && opcode != audioMasterEndEdit) return;
  if (effect && (index < 0 || index >= effect->numParams))
    ADD_FAILURE() << "host request " << opcode << " for parameter " << index << ", outside 0.."
                  << effect->numParams - 1;
}

}  // namespace zendrel::test
