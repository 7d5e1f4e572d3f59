// Preset files and the real module, loaded as a host loads it: a program, a
// bank and Ardour's file round-trip with the same values and the same audio;
// a bad file changes nothing; every factory pattern loads unchanged, plays
// finite audio and differs audibly from every other one.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "host/lib/host.h"
#include "host/lib/presets/pattern_source.h"
#include "host/lib/presets/preset_host.h"
#include "plugin/parameter_ids.h"
#include "tests/support/rng.h"

using namespace zendrel::preset;
namespace fs = std::filesystem;

namespace {

constexpr double kRate = 44100.0;
constexpr double kTempo = 120.0;
constexpr int kTwoBars = 176400;  // at 120 beats a minute

void load(zendrel::host::Host& host) {
  ASSERT_TRUE(host.load(ZENDREL_MODULE_PATH)) << host.error();
  host.setSampleRate(kRate);
  host.setTempo(kTempo);
  host.dispatch(effSetSampleRate, 0, 0, nullptr, static_cast<float>(kRate));
  host.dispatch(effMainsChanged, 0, 1);
}

// Two bars from the song's start, transport playing, in blocks of 512: the
// left output for a steady noise (or, with `dc`, the gain itself).
std::vector<float> render(zendrel::host::Host& host, bool dc = false, int frames = kTwoBars) {
  host.setSamplePosition(0);
  host.setPpqPosition(0);
  host.setPlaying(true);
  zendrel::test::Rng rng(7);
  std::vector<float> out;
  std::vector<float> l(512), r(512), ol(512), orr(512);
  for (int at = 0; at < frames; at += 512) {
    const int n = std::min(512, frames - at);
    for (int i = 0; i < n; ++i) l[size_t(i)] = r[size_t(i)] = dc ? 1.0f : rng.unit() * 2.0f - 1.0f;
    float* in[2] = {l.data(), r.data()};
    float* o[2] = {ol.data(), orr.data()};
    host.processReplacing(in, o, n);
    out.insert(out.end(), ol.begin(), ol.begin() + n);
  }
  return out;
}

std::vector<uint32_t> bits(zendrel::host::Host& host) {
  std::vector<uint32_t> v;
  for (int i = 0; i < zendrel::kNumParams; ++i) {
    const float f = host.getParameter(i);
    uint32_t u;
    std::memcpy(&u, &f, 4);
    v.push_back(u);
  }
  return v;
}

std::vector<uint32_t> bits(const Program& p) {
  std::vector<uint32_t> v(p.values.size());
  std::memcpy(v.data(), p.values.data(), v.size() * 4);
  return v;
}

bool sameSamples(const std::vector<float>& a, const std::vector<float>& b) {
  return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * 4) == 0;
}

std::string tempPath(const std::string& name) {
  return (fs::temp_directory_path() / ("zendrel-preset-test-" + name)).string();
}

void writeBytes(const std::string& path, const std::vector<uint8_t>& b) {
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(b.data()), std::streamsize(b.size()));
}

// A pattern edited as a user edits one: odd levels, a merge, ramps, a
// shortened step count, and a name.
void editPattern(zendrel::host::Host& host, uint64_t seed) {
  zendrel::test::Rng rng(seed);
  host.setParameter(zendrel::kNumOfSteps, float(2 * (5 + rng.below(27)) - 1) / 64.0f);
  host.setParameter(zendrel::kStepLength, 0.0375f + 0.077f * float(2 + rng.below(6)));
  for (int k = 0; k < zendrel::kNumSteps; ++k) {
    host.setParameter(zendrel::kGate + k, rng.unit());
    host.setParameter(zendrel::kNoteLength + k, 0.0375f + 0.077f * float(rng.below(4)));
    const float a = rng.unit() * 0.5f;
    host.setParameter(zendrel::kAttack + k, a);
    host.setParameter(zendrel::kDecay + k, rng.unit() * 0.5f);
    if (rng.chance(20)) host.setParameter(zendrel::kMerge + k, 1.0f);
  }
  char name[24] = "Edited ";
  name[7] = char('A' + seed % 26);
  host.dispatch(effSetProgramName, 0, 0, name);
}

struct Snapshot {
  std::vector<uint32_t> values;
  std::vector<std::string> names;
  VstIntPtr current;
  bool operator==(const Snapshot& o) const {
    return values == o.values && names == o.names && current == o.current;
  }
};

Snapshot snapshot(zendrel::host::Host& host) {
  Snapshot s{bits(host), {}, host.dispatch(effGetProgram)};
  for (int i = 0; i < zendrel::kNumPrograms; ++i) s.names.push_back(host.programNameIndexed(i));
  return s;
}

}  // namespace

TEST(PresetModule, ProgramRoundTripGivesTheSameValuesAndAudio) {
  zendrel::host::Host a;
  load(a);
  a.dispatch(effSetProgram, 0, 3);
  editPattern(a, 3);
  const Program saved = captureProgram(a);
  EXPECT_EQ(saved.name, "Edited D");
  const std::string path = tempPath("round.fxp");
  std::string error;
  ASSERT_TRUE(writePresetFile(path, Format::Fxp, Bank{{saved}, 0}, 0, identityOf(a), error)) << error;

  zendrel::host::Host b;
  load(b);
  ASSERT_TRUE(loadPreset(b, path, -1, error)) << error;
  EXPECT_EQ(bits(b), bits(a));
  EXPECT_EQ(b.programName(), "Edited D");
  EXPECT_EQ(b.dispatch(effGetProgram), 0);  // a program file goes to the current program
  EXPECT_TRUE(sameSamples(render(b), render(a)));
  std::remove(path.c_str());
}

TEST(PresetModule, BankRoundTripKeepsEveryProgramAndItsName) {
  zendrel::host::Host a;
  load(a);
  for (int i = 0; i < zendrel::kNumPrograms; ++i) {
    a.dispatch(effSetProgram, 0, i);
    if (i != 6) editPattern(a, uint64_t(10 + i));  // program 6 keeps the default
  }
  a.dispatch(effSetProgram, 0, 4);
  const Bank bank = captureBank(a);
  ASSERT_EQ(bank.programs.size(), 10u);
  EXPECT_EQ(bank.current, 4);
  const std::string path = tempPath("round.fxb");
  std::string error;
  ASSERT_TRUE(writePresetFile(path, Format::Fxb, bank, 0, identityOf(a), error)) << error;

  zendrel::host::Host b;
  load(b);
  ASSERT_TRUE(loadPreset(b, path, -1, error)) << error;
  EXPECT_EQ(b.dispatch(effGetProgram), 4);
  EXPECT_EQ(bits(b), bits(a));
  EXPECT_TRUE(sameSamples(render(b), render(a)));
  for (int i = 0; i < zendrel::kNumPrograms; ++i) {
    EXPECT_EQ(b.programNameIndexed(i), a.programNameIndexed(i)) << i;
    a.dispatch(effSetProgram, 0, i);
    b.dispatch(effSetProgram, 0, i);
    EXPECT_EQ(bits(b), bits(a)) << "program " << i;
  }
  EXPECT_EQ(b.programNameIndexed(6), "Default");  // still numbered as a default one
  std::remove(path.c_str());
}

TEST(PresetModule, ArdourFileLoadsTheSameAsTheProgramFile) {
  zendrel::host::Host a;
  load(a);
  editPattern(a, 21);
  Bank one{{captureProgram(a)}, 0};
  const Identity id = identityOf(a);
  const std::string fxp = tempPath("same.fxp"), ardour = tempPath(ardourFileName(id));
  std::string error;
  ASSERT_TRUE(writePresetFile(fxp, Format::Fxp, one, 0, id, error)) << error;
  ASSERT_TRUE(writePresetFile(ardour, Format::Ardour, one, 0, id, error)) << error;
  Bank fromFxp, fromArdour;
  Format f;
  ASSERT_TRUE(readPresetFile(fxp, id, fromFxp, f, error)) << error;
  ASSERT_TRUE(readPresetFile(ardour, id, fromArdour, f, error)) << error;
  EXPECT_EQ(bits(fromArdour.programs[0]), bits(fromFxp.programs[0]));
  zendrel::host::Host b, c;
  load(b);
  load(c);
  ASSERT_TRUE(loadPreset(b, fxp, -1, error)) << error;
  ASSERT_TRUE(loadPreset(c, ardour, -1, error)) << error;
  EXPECT_EQ(bits(c), bits(b));
  EXPECT_EQ(c.programName(), b.programName());
  EXPECT_TRUE(sameSamples(render(c), render(b)));
  std::remove(fxp.c_str());
  std::remove(ardour.c_str());
}

TEST(PresetModule, ABadFileChangesNothing) {
  zendrel::host::Host host;
  load(host);
  host.dispatch(effSetProgram, 0, 2);
  editPattern(host, 5);
  const Snapshot before = snapshot(host);
  const std::vector<float> audioBefore = render(host);
  const Identity id = identityOf(host);

  Program p = captureProgram(host);
  Bank bank{{p, p, p}, 1};
  // Faults late in the file, so a reader that applied as it went would have
  // changed the module already.
  struct Bad {
    const char* name;
    std::vector<uint8_t> bytes;
    const char* error;
  };
  std::vector<Bad> bad;
  auto add = [&](const char* name, std::vector<uint8_t> b, const char* error, auto change) {
    change(b);
    bad.push_back({name, std::move(b), error});
  };
  const std::vector<uint8_t> fxp = fxpBytes(p, id), fxb = fxbBytes(bank, id);
  add("magic.fxp", fxp, "not a preset file", [](auto& b) { b[0] = 'X'; });
  add("other.fxp", fxp, "made for another plug-in", [](auto& b) { b[19] = 'x'; });
  add("chunk.fxp", fxp, "holds an opaque chunk ('FPCh')", [](auto& b) { std::memcpy(&b[8], "FPCh", 4); });
  add("chunk.fxb", fxb, "holds an opaque chunk ('FBCh')", [](auto& b) { std::memcpy(&b[8], "FBCh", 4); });
  add("count.fxp", fxp, "holds 231 parameters", [](auto& b) {
    b[27] = 231;
    b.insert(b.end(), 4, 0);
    b[7] = uint8_t(b.size() - 8);
  });
  add("size.fxp", fxp, "disagrees with the file's size", [](auto& b) { b.push_back(0); });
  add("cut.fxb", fxb, "truncated", [](auto& b) { b.resize(b.size() - 100); });
  add("name.fxb", fxb, "(program 3): the program name has no terminating zero",
      [](auto& b) { std::memset(&b[156 + 2 * 976 + 28], 'n', 28); });
  add("nan.fxb", fxb, "(program 3): parameter 229 is not a finite number",
      [](auto& b) { std::memset(&b[b.size() - 4], 0xff, 4); });
  std::string ardour = ardourText(bank, id);
  const size_t last = ardour.rfind("value=\"");
  ardour.replace(last + 7, 1, "nan\" x=\"");
  add("vst-1516524140", std::vector<uint8_t>(ardour.begin(), ardour.end()), "is not a finite number",
      [](auto&) {});
  for (const Bad& b : bad) {
    const std::string path = tempPath(b.name);
    writeBytes(path, b.bytes);
    std::string error;
    EXPECT_FALSE(loadPreset(host, path, -1, error)) << b.name;
    EXPECT_EQ(error.rfind(path, 0), 0u) << error;
    EXPECT_NE(error.find(b.error), std::string::npos) << b.name << ": " << error;
    EXPECT_TRUE(snapshot(host) == before) << b.name << " changed the module";
    std::remove(path.c_str());
  }
  std::string error;
  EXPECT_FALSE(loadPreset(host, tempPath("missing.fxp"), -1, error));
  EXPECT_NE(error.find("cannot open the file"), std::string::npos) << error;
  // A good bank, but no such program in it.
  const std::string path = tempPath("three.fxb");
  writeBytes(path, fxb);
  EXPECT_FALSE(loadPreset(host, path, 3, error));
  EXPECT_EQ(error, path + ": there is no program 3 (the file holds 3, numbered 0 to 2)");
  EXPECT_TRUE(snapshot(host) == before);
  EXPECT_TRUE(sameSamples(render(host), audioBefore));
  std::remove(path.c_str());
}

TEST(PresetModule, ValuesOutsideTheRangeApplyAsAHostWouldApplyThem) {
  zendrel::host::Host loaded, direct;
  load(loaded);
  load(direct);
  Program p = captureProgram(loaded);
  p.values[zendrel::kGate] = 1.5f;
  p.values[zendrel::kNumOfSteps] = 2.0f;
  p.values[zendrel::kStepLength] = -0.3f;
  p.values[zendrel::kAttack + 3] = -0.5f;
  p.values[zendrel::kMerge + 7] = 7.0f;
  const std::string path = tempPath("range.fxp");
  writeBytes(path, fxpBytes(p, identityOf(loaded)));
  std::string error;
  ASSERT_TRUE(loadPreset(loaded, path, -1, error)) << error;
  for (int i = 0; i < zendrel::kNumParams; ++i) direct.setParameter(i, p.values[size_t(i)]);
  EXPECT_EQ(bits(loaded), bits(direct));
  EXPECT_EQ(loaded.getParameter(zendrel::kGate), 1.5f);
  EXPECT_EQ(loaded.getParameter(zendrel::kNumOfSteps), 0.984375f);
  EXPECT_TRUE(sameSamples(render(loaded), render(direct)));
  std::remove(path.c_str());
}

// The factory patterns, from their text sources.
struct Factory {
  std::vector<std::string> banks;
  std::vector<std::pair<std::string, Pattern>> patterns;  // file, pattern
};

Factory readFactory() {
  Factory f;
  std::vector<fs::path> dirs;
  for (const auto& e : fs::directory_iterator(ZENDREL_FACTORY_SOURCES))
    if (e.is_directory()) dirs.push_back(e.path());
  std::sort(dirs.begin(), dirs.end());
  for (const fs::path& d : dirs) {
    f.banks.push_back(d.filename().string());
    std::vector<fs::path> files;
    for (const auto& e : fs::directory_iterator(d))
      if (e.path().extension() == ".pattern") files.push_back(e.path());
    std::sort(files.begin(), files.end());
    for (const fs::path& file : files) {
      Pattern p;
      std::string error;
      EXPECT_TRUE(readPatternFile(file.string(), p, error)) << error;
      f.patterns.push_back({d.filename().string() + "/" + file.filename().string(), p});
    }
  }
  return f;
}

TEST(PresetFactory, EveryPatternLoadsUnchangedPlaysAndSoundsItsOwn) {
  const Factory factory = readFactory();
  ASSERT_GE(factory.patterns.size(), 24u);
  ASSERT_EQ(factory.banks.size(), 3u);
  std::vector<std::string> names;
  std::vector<std::vector<float>> gains;
  for (const auto& [file, pattern] : factory.patterns) {
    SCOPED_TRACE(file);
    EXPECT_EQ(std::count(names.begin(), names.end(), pattern.program.name), 0);
    names.push_back(pattern.program.name);
    EXPECT_FALSE(pattern.about.empty());
    zendrel::host::Host host;
    load(host);
    applyProgram(host, pattern.program);
    // The sources are written as the plug-in keeps them: loading changes nothing.
    EXPECT_EQ(bits(host), bits(pattern.program));
    EXPECT_EQ(host.programName(), pattern.program.name);
    const std::vector<float> noise = render(host);
    EXPECT_TRUE(std::all_of(noise.begin(), noise.end(), [](float x) { return std::isfinite(x); }));
    gains.push_back(render(host, true));
    const auto [lo, hi] = std::minmax_element(gains.back().begin(), gains.back().end());
    EXPECT_GE(*lo, 0.0f);
    EXPECT_LE(*hi, 1.0f);
    EXPECT_GT(*hi, 0.5f) << "the pattern is nearly silent";
  }
  // Distinct: the gain envelopes of any two patterns over two bars differ by
  // an RMS of at least 0.1 (a tenth of full scale), so no two sound alike.
  std::vector<std::pair<double, std::string>> pairs;
  for (size_t i = 0; i < gains.size(); ++i)
    for (size_t j = i + 1; j < gains.size(); ++j) {
      double sum = 0;
      for (size_t s = 0; s < gains[i].size(); ++s) {
        const double d = double(gains[i][s]) - double(gains[j][s]);
        sum += d * d;
      }
      const double rms = std::sqrt(sum / double(gains[i].size()));
      EXPECT_GE(rms, 0.1) << names[i] << " and " << names[j] << " sound alike";
      pairs.push_back({rms, names[i] + " / " + names[j]});
    }
  std::sort(pairs.begin(), pairs.end());
  std::printf("%zu patterns, %zu pairs; the closest (RMS gain difference over two bars):\n", gains.size(),
              pairs.size());
  for (size_t k = 0; k < 5 && k < pairs.size(); ++k)
    std::printf("  %.4f  %s\n", pairs[k].first, pairs[k].second.c_str());
}

#ifdef ZENDREL_FACTORY_FILES
// The build wrote the same programs the sources give, in banks of ten or fewer,
// and the Ardour file holds them all.
TEST(PresetFactory, TheBuiltFilesHoldTheSources) {
  const Factory factory = readFactory();
  const Identity id;
  std::string error;
  Bank all;
  Format f;
  ASSERT_TRUE(
      readPresetFile(std::string(ZENDREL_FACTORY_FILES) + "/" + ardourFileName(id), id, all, f, error))
      << error;
  ASSERT_EQ(all.programs.size(), factory.patterns.size());
  size_t n = 0;
  for (const std::string& bankDir : factory.banks) {
    const std::string bankName = bankDir.substr(bankDir.find('-') + 1);
    Bank bank;
    ASSERT_TRUE(
        readPresetFile(std::string(ZENDREL_FACTORY_FILES) + "/" + bankName + ".fxb", id, bank, f, error))
        << error;
    EXPECT_LE(bank.programs.size(), 10u);
    for (const Program& p : bank.programs) {
      ASSERT_LT(n, factory.patterns.size());
      const Program& source = factory.patterns[n].second.program;
      EXPECT_EQ(p.name, source.name);
      EXPECT_EQ(bits(p), bits(source)) << p.name;
      EXPECT_EQ(bits(all.programs[n]), bits(source)) << p.name;
      std::string file = factory.patterns[n].first;
      file = bankName + "/" + file.substr(file.find('/') + 1 + 3);
      file.replace(file.size() - 8, 8, ".fxp");
      Bank one;
      ASSERT_TRUE(readPresetFile(std::string(ZENDREL_FACTORY_FILES) + "/" + file, id, one, f, error))
          << error;
      EXPECT_EQ(bits(one.programs[0]), bits(source)) << file;
      ++n;
    }
  }
  EXPECT_EQ(n, factory.patterns.size());
  // The fuzzer's seeds and the validator's test file are copies: kept current.
  for (const char* file : {"gates.fxb", "pumps-and-swells.fxb", "stutters-and-feels.fxb", "vst-1516524140"}) {
    std::ifstream built(std::string(ZENDREL_FACTORY_FILES) + "/" + file, std::ios::binary);
    std::ifstream seed(std::string(ZENDREL_FUZZ_SEEDS) + "/" + file, std::ios::binary);
    const std::string a((std::istreambuf_iterator<char>(built)), std::istreambuf_iterator<char>());
    const std::string b((std::istreambuf_iterator<char>(seed)), std::istreambuf_iterator<char>());
    EXPECT_TRUE(!a.empty() && a == b) << file << ": copy it from the build into fuzz/preset-seeds/";
  }
}
#endif
