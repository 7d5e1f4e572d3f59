// State restoration as hosts do it: random values set through setParameter,
// everything read back, a fresh instance given the values in index order,
// then all values compared bit for bit and the audio sample for sample. And
// the chunk round trip for modules that keep their state in chunks.
#include <cstring>

#include "host/validate/state.h"

namespace zendrel::validate {

namespace {

// What a host keeps of an instance when the module offers no chunk.
struct Saved {
  VstIntPtr program = 0;
  std::string programName;
  std::vector<std::string> programNames;
  std::vector<float> values;
  std::vector<std::string> displays;
};

Saved save(Instance& a) {
  Saved s;
  s.program = a.dispatch(effGetProgram);
  s.programName = a.text(effGetProgramName);
  for (int p = 0; p < a.numPrograms(); ++p) s.programNames.push_back(a.text(effGetProgramNameIndexed, p, -1));
  s.values = a.parameters();
  for (int i = 0; i < a.numParams(); ++i) s.displays.push_back(a.text(effGetParamDisplay, i));
  return s;
}

void restore(Instance& b, const Saved& s) {
  b.dispatch(effSetProgram, 0, s.program);
  std::vector<char> name(s.programName.begin(), s.programName.end());
  name.resize(std::max<std::size_t>(name.size() + 1, 32), '\0');
  b.dispatch(effSetProgramName, 0, 0, name.data());
  b.setParameters(s.values);
}

void compareSaved(Check& c, const Saved& x, const Saved& y, Instance& b) {
  if (x.program != y.program)
    c.fail(format("restored program %lld reads back as %lld", static_cast<long long>(x.program),
                  static_cast<long long>(y.program)));
  if (x.programName != y.programName)
    c.fail(format("program name '%s' restored as '%s'", printable(x.programName).c_str(),
                  printable(y.programName).c_str()));
  compareValues(c, x.values, y.values, b, "restored");
  for (std::size_t i = 0; i < x.displays.size() && i < y.displays.size(); ++i)
    if (x.displays[i] != y.displays[i]) {
      c.fail(format("parameter %zu displays '%s' after the restore, '%s' before", i,
                    printable(y.displays[i]).c_str(), printable(x.displays[i]).c_str()));
      break;
    }
}

void stateRestore(Check& c) {
  const int rounds = c.level() >= 3 ? 12 : c.level() == 2 ? 4 : 1;
  const int frames = c.level() >= 3 ? 88200 : 22050;
  long rendered = 0;
  for (int round = 0; round < rounds && !c.failed(); ++round) {
    auto a = openInstance(c);
    if (!a) return;
    if (a->numPrograms() > 1) a->dispatch(effSetProgram, 0, c.uniform(0, a->numPrograms() - 1));
    char name[32];
    std::snprintf(name, sizeof name, "Saved %d", c.uniform(100, 999));
    a->dispatch(effSetProgramName, 0, 0, name);
    setRandomValues(c, *a);
    const Saved saved = save(*a);
    auto b = openInstance(c);
    if (!b) return;
    restore(*b, saved);
    compareSaved(c, saved, save(*b), *b);
    // Same state, same input: the same audio, sample for sample.
    Signal signal;
    signal.seed = c.seed();
    const std::vector<float> x = render(*a, signal, frames, 512);
    const std::vector<float> y = render(*b, signal, frames, 512);
    const long at = firstDifference(x, y);
    if (at >= 0)
      c.fail(format("the restored instance renders differently from frame %ld (%s, expected %s)",
                    at / a->effect()->numOutputs, floatText(y[static_cast<std::size_t>(at)]).c_str(),
                    floatText(x[static_cast<std::size_t>(at)]).c_str()));
    rendered += frames;
  }
  c.saw(format("%d rounds of random values restored into fresh instances; %ld frames compared", rounds, rendered));
}

void stateChunks(Check& c) {
  auto a = openInstance(c);
  if (!a) return;
  if (!(a->effect()->flags & effFlagsProgramChunks)) {
    c.skip("no chunks: the module's state travels parameter by parameter");
    return;
  }
  setRandomValues(c, *a);
  for (VstInt32 preset : {0, 1}) {
    void* data = nullptr;
    const VstIntPtr size = a->dispatch(effGetChunk, preset, 0, &data);
    if (size <= 0 || !data) {
      c.fail(format("effGetChunk (%s) gave no data", preset ? "program" : "bank"));
      continue;
    }
    std::vector<char> copy(static_cast<const char*>(data), static_cast<const char*>(data) + size);
    auto b = openInstance(c);
    if (!b) return;
    b->dispatch(effSetChunk, preset, size, copy.data());
    compareValues(c, a->parameters(), b->parameters(), *b, preset ? "program chunk" : "bank chunk");
    c.saw(format("%s chunk of %lld bytes", preset ? "program" : "bank", static_cast<long long>(size)));
  }
}

}  // namespace

const std::vector<TestInfo>& stateTests() {
  static const std::vector<TestInfo> tests = {
      {"state.restore", 1, false, stateRestore},
      {"state.chunks", 1, false, stateChunks},
  };
  return tests;
}

}  // namespace zendrel::validate
