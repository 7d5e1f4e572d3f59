// Preset mode (--preset FILE): each program of a preset file loaded into a
// fresh instance as hosts load it (a bank's programs each into its own program,
// one program into the current one), its values read back bit for bit, then
// saved as a program file, reloaded into another fresh instance, and both
// instances' audio compared sample for sample.
#include <cstdio>
#include <cstring>

#include "host/lib/presets/preset_host.h"
#include "host/validate/state.h"
#include "host/validate/validate.h"

namespace zendrel::validate {

namespace {

constexpr int kFrames = 88200;  // two seconds at 44.1 kHz

void checkProgram(Check& c, const zendrel::preset::Program& p, int slot, const zendrel::preset::Identity& id) {
  auto a = openInstance(c);
  if (!a) return;
  if (slot > 0) a->dispatch(effSetProgram, 0, slot);
  zendrel::preset::applyProgram(a->host(), p);
  compareValues(c, p.values, a->parameters(), *a, "loaded");
  // The record's name field holds 23 characters and the zero.
  const std::string name = a->text(effGetProgramName);
  if (name != p.name.substr(0, 23))
    c.fail(format("the program name '%s' reads back as '%s'", printable(p.name).c_str(),
                  printable(name).c_str()));

  // Saved as a host saves a program, and loaded into a fresh instance.
  zendrel::preset::Program reread;
  std::string error;
  if (!zendrel::preset::readFxp(zendrel::preset::fxpBytes(zendrel::preset::captureProgram(a->host()), id), "the saved program", id,
                        reread, error)) {
    c.fail(error);
    return;
  }
  auto b = openInstance(c);
  if (!b) return;
  if (slot > 0) b->dispatch(effSetProgram, 0, slot);
  zendrel::preset::applyProgram(b->host(), reread);
  compareValues(c, a->parameters(), b->parameters(), *b, "reloaded");
  Signal signal;
  signal.seed = c.seed();
  const long at = firstDifference(render(*a, signal, kFrames, 512), render(*b, signal, kFrames, 512));
  if (at >= 0) c.fail(format("after a save and reload the audio differs from sample %ld", at));
  if (!c.failed())
    c.saw(
        format("%d values bit for bit, %d frames identical after a save and reload", id.numParams, kFrames));
  else
    c.saw("loaded into a fresh instance, saved and reloaded");
}

}  // namespace

int runPresetCheck(const Options& o) {
  Check probe(o, "preset.file", o.seed);
  setCurrentTest("preset.file");
  auto first = openInstance(probe);
  if (!first) {
    std::printf("FAIL  %s\n", probe.line().c_str());
    return 1;
  }
  const zendrel::preset::Identity id = zendrel::preset::identityOf(first->host());
  first.reset();
  zendrel::preset::Bank bank;
  zendrel::preset::Format format;
  std::string error;
  if (!zendrel::preset::readPresetFile(o.preset, id, bank, format, error)) {
    std::printf("FAIL  preset.file: %s\n", error.c_str());
    std::printf("zendrel-validate: 0 passed, 0 with warnings, 0 skipped, 1 failed\n");
    return 1;
  }
  std::printf("PASS  preset.file: %s, %s with %zu program%s\n", o.preset.c_str(), zendrel::preset::formatName(format),
              bank.programs.size(), bank.programs.size() == 1 ? "" : "s");
  int passed = 1, failed = 0;
  for (std::size_t i = 0; i < bank.programs.size(); ++i) {
    const zendrel::preset::Program& p = bank.programs[i];
    const std::string name = "preset." + std::to_string(i) + " '" + printable(p.name) + "'";
    setCurrentTest(name.c_str());
    Check c(o, name, o.seed + i);
    // A bank's programs go into the module's programs of the same number.
    const int slot = format == zendrel::preset::Format::Fxb ? static_cast<int>(i) : 0;
    checkProgram(c, p, slot, id);
    const bool bad = c.verdict() == Verdict::kFail;
    std::printf("%s  %s\n", bad ? "FAIL" : "PASS", c.line().c_str());
    std::fflush(stdout);
    (bad ? failed : passed)++;
  }
  std::printf("zendrel-validate: %d passed, 0 with warnings, 0 skipped, %d failed\n", passed, failed);
  return failed == 0 ? 0 : 1;
}

}  // namespace zendrel::validate
