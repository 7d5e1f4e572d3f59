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

bool same(const zendrel::preset::Program& a, const zendrel::preset::Program& b) {
  if (a.name != b.name || a.values.size() != b.values.size()) return false;
  return a.values.empty() ||
         std::memcmp(a.values.data(), b.values.data(), a.values.size() * sizeof(float)) == 0;
}

bool same(const zendrel::preset::Bank& a, const zendrel::preset::Bank& b) {
  if (a.current != b.current || a.programs.size() != b.programs.size()) return false;
  for (size_t i = 0; i < a.programs.size(); ++i)
    if (!same(a.programs[i], b.programs[i])) return false;
  return true;
}

void checkProgram(const zendrel::preset::Program& p, const zendrel::preset::Identity& id) {
  check(p.values.size() == static_cast<size_t>(id.numParams));
  check(p.name.find('\0') == std::string::npos || p.name.size() <= 27);
  for (float v : p.values) check(std::isfinite(v));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const zendrel::preset::Identity id;
  const std::vector<uint8_t> bytes(data, data + size);
  std::string error;

  zendrel::preset::Program program;
  if (zendrel::preset::readFxp(bytes, "fuzz.fxp", id, program, error)) {
    checkProgram(program, id);
    zendrel::preset::Program again;
    check(zendrel::preset::readFxp(zendrel::preset::fxpBytes(program, id), "again.fxp", id, again, error));
    check(same(program, again));
  } else {
    check(error.compare(0, 9, "fuzz.fxp:") == 0 || error.compare(0, 9, "fuzz.fxp ") == 0);
  }

  zendrel::preset::Bank bank;
  if (zendrel::preset::readFxb(bytes, "fuzz.fxb", id, bank, error)) {
    check(!bank.programs.empty() && bank.programs.size() <= static_cast<size_t>(id.numPrograms));
    check(bank.current >= 0 && static_cast<size_t>(bank.current) < bank.programs.size());
    for (const auto& p : bank.programs) checkProgram(p, id);
    zendrel::preset::Bank again;
    check(zendrel::preset::readFxb(zendrel::preset::fxbBytes(bank, id), "again.fxb", id, again, error));
    check(same(bank, again));
  } else {
    check(error.compare(0, 8, "fuzz.fxb") == 0);
  }

  zendrel::preset::Bank presets;
  const std::string text(reinterpret_cast<const char*>(data), size);
  if (zendrel::preset::readArdour(text, "vst-fuzz", id, presets, error)) {
    check(!presets.programs.empty());
    for (const auto& p : presets.programs) checkProgram(p, id);
    zendrel::preset::Bank again;
    check(zendrel::preset::readArdour(zendrel::preset::ardourText(presets, id), "again", id, again, error));
    check(same(presets, again));
  } else {
    check(error.compare(0, 8, "vst-fuzz") == 0);
  }

  zendrel::preset::Bank any;
  zendrel::preset::Format format;
  (void)zendrel::preset::readPresetBytes(bytes, "fuzz", id, any, format, error);
  return 0;
}
