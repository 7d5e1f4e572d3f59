// Programs: select, rename and list every one; the current program's values
// survive leaving it and coming back.
#include <algorithm>
#include <cstring>
#include <numeric>

#include "host/validate/instance.h"
#include "host/validate/state.h"

namespace zendrel::validate {

namespace {

void programsNames(Check& c) {
  auto a = openInstance(c);
  if (!a) return;
  const int n = a->numPrograms();
  if (n == 0) {
    c.skip("the module has no programs");
    return;
  }
  int renamed = 0, listed = 0;
  for (int p = 0; p < n && !c.enough(); ++p) {
    a->dispatch(effSetProgram, 0, p);
    const VstIntPtr now = a->dispatch(effGetProgram);
    if (now != p) c.fail(format("effSetProgram %d, then effGetProgram answers %lld", p, static_cast<long long>(now)));
    const std::string before = a->text(effGetProgramName);
    const std::string name = format("Validate %d", p);
    char buffer[32] = {};
    std::snprintf(buffer, sizeof buffer, "%s", name.c_str());
    a->dispatch(effSetProgramName, 0, 0, buffer);
    const std::string after = a->text(effGetProgramName);
    if (after == name)
      ++renamed;
    else if (after != before)
      c.fail(format("program %d renamed to '%s' reads back as '%s'", p, name.c_str(), printable(after).c_str()));
  }
  // A name longer than hosts allow must be cut, not written past the field.
  char longName[64];
  std::memset(longName, 'x', sizeof longName - 1);
  longName[sizeof longName - 1] = '\0';
  a->dispatch(effSetProgram, 0, 0);
  a->dispatch(effSetProgramName, 0, 0, longName);
  const std::string cut = a->text(effGetProgramName);
  if (cut.size() > 24) c.warn(format("a 63-character program name reads back with %zu characters", cut.size()));
  for (int p = 1; p < n; ++p) {
    char text[256] = {};
    if (!a->dispatch(effGetProgramNameIndexed, p, -1, text)) continue;
    ++listed;
    if (renamed && std::string(text) != format("Validate %d", p))
      c.fail(format("program %d is listed as '%s' after its rename", p, printable(text).c_str()));
  }
  c.saw(format("%d programs selected, %d renamed, %d listed by index", n, renamed, listed));
  if (!renamed) c.saw("renaming is not supported");
}

// Random values in a random order, then away to another program and back.
void programsSurvive(Check& c) {
  auto a = openInstance(c);
  if (!a) return;
  const int n = a->numPrograms();
  if (n < 2) {
    c.skip("fewer than two programs");
    return;
  }
  const int rounds = c.level() >= 3 ? n : c.level() == 2 ? std::min(n, 4) : 1;
  int compared = 0;
  for (int round = 0; round < rounds && !c.enough(); ++round) {
    const int p = round % n;
    const int q = (p + 1 + c.uniform(0, n - 2)) % n;
    a->dispatch(effSetProgram, 0, p);
    setRandomValues(c, *a);
    const std::vector<float> kept = a->parameters();
    a->dispatch(effSetProgram, 0, q);
    if (a->parameters() == kept) {
      // Nothing changed on selecting another program: the module's programs
      // are names only, and the values are the instance's, not the program's.
      c.skip("the programs hold no values (selecting another one leaves every value as it was)");
      return;
    }
    setRandomValues(c, *a);
    a->dispatch(effSetProgram, 0, p);
    const std::vector<float> back = a->parameters();
    compared += static_cast<int>(kept.size());
    compareValues(c, kept, back, *a, format("program %d after leaving for %d and coming back", p, q));
  }
  c.saw(format("%d rounds, %d values compared bit for bit", rounds, compared));
}

}  // namespace

const std::vector<TestInfo>& programTests() {
  static const std::vector<TestInfo> tests = {
      {"programs.names", 1, false, programsNames},
      {"programs.values-survive", 1, false, programsSurvive},
  };
  return tests;
}

}  // namespace zendrel::validate
