#include "plugin/model/program_bank.h"

#include <cstring>

#include "plugin/model/parameters.h"

namespace zendrel {

GateProgram::GateProgram() : name{} {
  for (int i = 0; i < kNumParams; ++i) setValue(i, defaultValueOf(i));
  std::memcpy(name, kDefaultProgramName, sizeof kDefaultProgramName);
}

void GateProgram::rename(const char* newName) {
  if (!newName) return;
  // Never beyond the field, whatever length the host sends.
  std::size_t length = 0;
  while (length + 1 < kProgramNameSize && newName[length] != '\0') ++length;
  std::memcpy(name, newName, length);
  name[length] = '\0';
}

bool GateProgram::hasDefaultName() const {
  return std::memcmp(name, kDefaultProgramName, sizeof kDefaultProgramName) == 0;
}

}  // namespace zendrel
