// One program of the bank: a complete snapshot of the 230 parameter values and
// a name. The values are written by setParameter on whatever thread the host or
// the editor uses while a program change may read them on another, so each is a
// relaxed atomic of the float's width.
#pragma once

#include <atomic>
#include <cstddef>

#include "plugin/parameter_ids.h"

namespace zendrel {

// 23 characters and the NUL: the host's limit for program names.
constexpr std::size_t kProgramNameSize = 24;
// The name every program starts with; shown with its number while it is unchanged.
constexpr char kDefaultProgramName[] = "Default";

struct GateProgram {
  GateProgram();  // the default program

  float value(int index) const { return values[index].load(std::memory_order_relaxed); }
  void setValue(int index, float v) { values[index].store(v, std::memory_order_relaxed); }

  // Copies name, cut to 23 characters; a null name leaves it as it was.
  void rename(const char* newName);
  // True while the name is the untouched "Default" (then it is shown numbered).
  bool hasDefaultName() const;

  std::atomic<float> values[kNumParams];
  char name[kProgramNameSize];
};

}  // namespace zendrel
