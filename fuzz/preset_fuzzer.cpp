// Feeds arbitrary bytes to the three preset readers (program, bank and Ardour
// file) and to the reader that tells them apart. Whatever a reader accepts
// must come back unchanged through its writer and the reader again.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "host/lib/presets/preset_files.h"

namespace {

void check(bool condition) {
  if (!condition) __builtin_trap();
}

bool same(const zpreset::Program& a, const zpreset::Program& b) {
  if (a.name != b.name || a.values.size() != b.values.size()) return false;
  return a.values.empty() ||
         std::memcmp(a.values.data(), b.values.data(), a.values.size() * sizeof(float)) == 0;
}

bool same(const zpreset::Bank& a, const zpreset::Bank& b) {
  if (a.current != b.current || a.programs.size() != b.programs.size()) return false;
  for (size_t i = 0; i < a.programs.size(); ++i)
    if (!same(a.programs[i], b.programs[i])) return false;
  return true;
}

void checkProgram(const zpreset::Program& p, const zpreset::Identity& id) {
  check(p.values.size() == static_cast<size_t>(id.numParams));
  check(p.name.find('\0') == std::string::npos || p.name.size() <= 27);
  for (float v : p.values) check(std::isfinite(v));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const zpreset::Identity id;
  const std::vector<uint8_t> bytes(data, data + size);
  std::string error;

  zpreset::Program program;
  if (zpreset::readFxp(bytes, "fuzz.fxp", id, program, error)) {
    checkProgram(program, id);
    zpreset::Program again;
    check(zpreset::readFxp(zpreset::fxpBytes(program, id), "again.fxp", id, again, error));
    check(same(program, again));
  } else {
    check(error.compare(0, 9, "fuzz.fxp:") == 0 || error.compare(0, 9, "fuzz.fxp ") == 0);
  }

  zpreset::Bank bank;
  if (zpreset::readFxb(bytes, "fuzz.fxb", id, bank, error)) {
    check(!bank.programs.empty() && bank.programs.size() <= static_cast<size_t>(id.numPrograms));
    check(bank.current >= 0 && static_cast<size_t>(bank.current) < bank.programs.size());
    for (const auto& p : bank.programs) checkProgram(p, id);
    zpreset::Bank again;
    check(zpreset::readFxb(zpreset::fxbBytes(bank, id), "again.fxb", id, again, error));
    check(same(bank, again));
  } else {
    check(error.compare(0, 8, "fuzz.fxb") == 0);
  }

  zpreset::Bank presets;
  const std::string text(reinterpret_cast<const char*>(data), size);
  if (zpreset::readArdour(text, "vst-fuzz", id, presets, error)) {
    check(!presets.programs.empty());
    for (const auto& p : presets.programs) checkProgram(p, id);
    zpreset::Bank again;
    check(zpreset::readArdour(zpreset::ardourText(presets, id), "again", id, again, error));
    check(same(presets, again));
  } else {
    check(error.compare(0, 8, "vst-fuzz") == 0);
  }

  zpreset::Bank any;
  zpreset::Format format;
  (void)zpreset::readPresetBytes(bytes, "fuzz", id, any, format, error);
  return 0;
}
