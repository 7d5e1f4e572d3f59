// The preset formats on their own: the bytes the writers lay down, readers
// that give back exactly what was written, and every way a file can be bad,
// each with the error line a user reads.
#include "host/lib/presets/preset_files.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "host/lib/presets/pattern_source.h"

using namespace zendrel::preset;

namespace {

const Identity kId;

Program sample(const std::string& name, float seed) {
  Program p;
  p.name = name;
  for (int i = 0; i < kId.numParams; ++i)
    p.values.push_back(std::fmod(seed + 0.37f * static_cast<float>(i), 1.0f));
  return p;
}

uint32_t be(const std::vector<uint8_t>& b, size_t at) {
  return uint32_t(b[at]) << 24 | uint32_t(b[at + 1]) << 16 | uint32_t(b[at + 2]) << 8 | b[at + 3];
}

void put(std::vector<uint8_t>& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + size_t(i)] = uint8_t(v >> (24 - 8 * i));
}

void putFloat(std::vector<uint8_t>& b, size_t at, float f) {
  uint32_t u;
  std::memcpy(&u, &f, 4);
  put(b, at, u);
}

bool sameBits(const Program& a, const Program& b) {
  return a.name == b.name && a.values.size() == b.values.size() &&
         std::memcmp(a.values.data(), b.values.data(), a.values.size() * 4) == 0;
}

// The error a reader gives for a program file, or "" when it reads.
std::string fxpError(const std::vector<uint8_t>& b) {
  Program p;
  std::string error;
  return readFxp(b, "x.fxp", kId, p, error) ? "" : error;
}

std::string fxbError(const std::vector<uint8_t>& b) {
  Bank bank;
  std::string error;
  return readFxb(b, "x.fxb", kId, bank, error) ? "" : error;
}

std::string ardourError(const std::string& text) {
  Bank bank;
  std::string error;
  return readArdour(text, "vst-x", kId, bank, error) ? "" : error;
}

}  // namespace

TEST(PresetFiles, ProgramFileLayout) {
  const std::vector<uint8_t> b = fxpBytes(sample("Offbeat 16ths", 0.1f), kId);
  ASSERT_EQ(b.size(), 976u);
  EXPECT_EQ(std::string(b.begin(), b.begin() + 4), "CcnK");
  EXPECT_EQ(be(b, 4), 968u);
  EXPECT_EQ(std::string(b.begin() + 8, b.begin() + 12), "FxCk");
  EXPECT_EQ(be(b, 12), 1u);
  EXPECT_EQ(std::string(b.begin() + 16, b.begin() + 20), "ZdRl");
  EXPECT_EQ(be(b, 20), 1000u);
  EXPECT_EQ(be(b, 24), 230u);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&b[28])), "Offbeat 16ths");
  for (size_t i = 28 + 13; i < 56; ++i) EXPECT_EQ(b[i], 0) << i;
  uint32_t oneBits;
  const float one = sample("", 0.1f).values[0];
  std::memcpy(&oneBits, &one, 4);
  EXPECT_EQ(be(b, 56), oneBits);
}

TEST(PresetFiles, BankFileLayoutAndRoundTrip) {
  Bank bank;
  for (int i = 0; i < 3; ++i)
    bank.programs.push_back(sample("Program " + std::to_string(i), 0.2f * float(i)));
  bank.current = 2;
  const std::vector<uint8_t> b = fxbBytes(bank, kId);
  ASSERT_EQ(b.size(), 156u + 3 * 976u);
  EXPECT_EQ(std::string(b.begin() + 8, b.begin() + 12), "FxBk");
  EXPECT_EQ(be(b, 12), 2u);
  EXPECT_EQ(be(b, 24), 3u);
  EXPECT_EQ(be(b, 28), 2u);  // the current program, first of the reserved bytes
  Bank back;
  std::string error;
  ASSERT_TRUE(readFxb(b, "b.fxb", kId, back, error)) << error;
  ASSERT_EQ(back.programs.size(), 3u);
  EXPECT_EQ(back.current, 2);
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(sameBits(back.programs[size_t(i)], bank.programs[size_t(i)]));
  // A version-1 bank has no current program: the first.
  std::vector<uint8_t> v1 = b;
  put(v1, 12, 1);
  ASSERT_TRUE(readFxb(v1, "b.fxb", kId, back, error)) << error;
  EXPECT_EQ(back.current, 0);
}

TEST(PresetFiles, ValuesSurviveEveryFormatBitForBit) {
  Program p = sample("Edge & <Values>", 0.0f);
  // Values a host may hand over: out of range, tiny, negative zero, extremes.
  p.values[0] = 1.5f;
  p.values[1] = -0.25f;
  p.values[2] = std::numeric_limits<float>::denorm_min();
  p.values[3] = -0.0f;
  p.values[4] = std::numeric_limits<float>::max();
  p.values[5] = 0.1f;
  Bank one;
  one.programs.push_back(p);
  Program fromFxp;
  Bank fromArdour;
  std::string error;
  ASSERT_TRUE(readFxp(fxpBytes(p, kId), "p.fxp", kId, fromFxp, error)) << error;
  EXPECT_TRUE(sameBits(fromFxp, p));
  const std::string text = ardourText(one, kId);
  ASSERT_TRUE(readArdour(text, "vst-1516524140", kId, fromArdour, error)) << error;
  ASSERT_EQ(fromArdour.programs.size(), 1u);
  EXPECT_TRUE(sameBits(fromArdour.programs[0], p));
  EXPECT_NE(text.find("label=\"Edge &amp; &lt;Values&gt;\""), std::string::npos);
  // A name longer than the field keeps its first 27 bytes and the zero.
  p.name = std::string(40, 'n');
  ASSERT_TRUE(readFxp(fxpBytes(p, kId), "p.fxp", kId, fromFxp, error)) << error;
  EXPECT_EQ(fromFxp.name, std::string(27, 'n'));
}

TEST(PresetFiles, ArdourFileNameAndPresetRecords) {
  EXPECT_EQ(ardourFileName(kId), "vst-1516524140");
  Identity small = kId;
  small.uniqueId = 42;
  EXPECT_EQ(ardourFileName(small), "vst-0000000042");
  Bank bank;
  bank.programs = {sample("A", 0.1f), sample("A", 0.2f)};
  const std::string text = ardourText(bank, kId);
  EXPECT_EQ(text.rfind("<?xml", 0), 0u);
  EXPECT_NE(text.find("<VSTPresets>"), std::string::npos);
  EXPECT_NE(text.find("uri=\"VST:1516524140:x"), std::string::npos);
  EXPECT_NE(text.find("version=\"1000\" numParams=\"230\""), std::string::npos);
  EXPECT_NE(text.find("<Parameter index=\"229\" value="), std::string::npos);
  // Two presets of one name still have distinct uris, so both read back.
  Bank back;
  std::string error;
  ASSERT_TRUE(readArdour(text, "vst", kId, back, error)) << error;
  EXPECT_EQ(back.programs.size(), 2u);
  // What a hand-written or another writer's file may look like.
  std::string other =
      "\xEF\xBB\xBF<?xml version='1.0'?>\n<!-- saved by hand -->\n<VSTPresets>\n"
      " <Preset uri='VST:1516524140:x1' label='Caf&#xE9; &#38; Bar' numParams='230'>\n";
  for (int i = 229; i >= 0; --i) other += "  <Parameter value = '0.5' index='" + std::to_string(i) + "' />\n";
  other += " </Preset>\n</VSTPresets>\n";
  ASSERT_TRUE(readArdour(other, "vst", kId, back, error)) << error;
  EXPECT_EQ(back.programs[0].name, "Caf\xC3\xA9 & Bar");
  EXPECT_EQ(back.programs[0].values[229], 0.5f);
}

TEST(PresetFiles, FormatsAreToldApartByContentAndNamedByFileName) {
  Bank bank;
  bank.programs = {sample("A", 0.1f)};
  Format f;
  Bank out;
  std::string error;
  ASSERT_TRUE(readPresetBytes(fxpBytes(bank.programs[0], kId), "a", kId, out, f, error)) << error;
  EXPECT_EQ(f, Format::Fxp);
  ASSERT_TRUE(readPresetBytes(fxbBytes(bank, kId), "a", kId, out, f, error)) << error;
  EXPECT_EQ(f, Format::Fxb);
  const std::string text = ardourText(bank, kId);
  ASSERT_TRUE(readPresetBytes(std::vector<uint8_t>(text.begin(), text.end()), "a", kId, out, f, error))
      << error;
  EXPECT_EQ(f, Format::Ardour);
  const std::string marked = "\xEF\xBB\xBF" + text;
  ASSERT_TRUE(readPresetBytes(std::vector<uint8_t>(marked.begin(), marked.end()), "a", kId, out, f, error)) << error;
  EXPECT_EQ(f, Format::Ardour);
  ASSERT_TRUE(formatForName("dir/A.FXP", f));
  EXPECT_EQ(f, Format::Fxp);
  ASSERT_TRUE(formatForName("bank.fxb", f));
  EXPECT_EQ(f, Format::Fxb);
  ASSERT_TRUE(formatForName("/home/u/.config/ardour8/presets/vst-1516524140", f));
  EXPECT_EQ(f, Format::Ardour);
  EXPECT_FALSE(formatForName("song.wav", f));
}

// Every kind of bad binary file, each with what the reader says.
TEST(PresetFiles, BadProgramFilesSayWhatIsWrong) {
  const std::vector<uint8_t> good = fxpBytes(sample("Good", 0.3f), kId);
  ASSERT_EQ(fxpError(good), "");
  struct Case {
    const char* what;
    std::vector<uint8_t> bytes;
    const char* error;
  };
  std::vector<Case> cases;
  auto edit = [&](const char* what, const char* error, auto change) {
    std::vector<uint8_t> b = good;
    change(b);
    cases.push_back({what, b, error});
  };
  edit("wrong magic", "x.fxp: not a preset file: starts with 'RIFF', expected 'CcnK'",
       [](auto& b) { std::memcpy(b.data(), "RIFF", 4); });
  edit("another plug-in", "x.fxp: made for another plug-in: unique ID 'Abcd'",
       [](auto& b) { put(b, 16, 0x41626364); });
  edit("chunk program", "x.fxp: holds an opaque chunk ('FPCh'); Zendrel's presets are parameter lists",
       [](auto& b) { std::memcpy(&b[8], "FPCh", 4); });
  edit("chunk bank", "x.fxp: holds an opaque chunk ('FBCh')", [](auto& b) { std::memcpy(&b[8], "FBCh", 4); });
  edit("a bank", "x.fxp: is a bank file ('FxBk'), not a program file",
       [](auto& b) { std::memcpy(&b[8], "FxBk", 4); });
  edit("parameter count", "x.fxp: holds 229 parameters, the plug-in has 230", [](auto& b) {
    put(b, 24, 229);
    b.resize(b.size() - 4);
    put(b, 4, uint32_t(b.size() - 8));
  });
  edit("count too large", "x.fxp: truncated: the header counts 969 bytes after it, the file has 968",
       [](auto& b) { put(b, 4, 969); });
  edit("count too small",
       "x.fxp: the byte count 960 disagrees with the file's size (968 bytes after the count)",
       [](auto& b) { put(b, 4, 960); });
  edit("truncated", "x.fxp: truncated: the header counts 968 bytes after it, the file has 500",
       [](auto& b) { b.resize(508); });
  edit("header only", "x.fxp: truncated: 10 bytes", [](auto& b) { b.resize(10); });
  edit("cut header, count fixed", "x.fxp: truncated: 40 bytes, a program's header alone takes 56",
       [](auto& b) {
         b.resize(40);
         put(b, 4, 32);
       });
  edit("unterminated name", "x.fxp: the program name has no terminating zero in its 28 bytes",
       [](auto& b) { std::memset(&b[28], 'A', 28); });
  edit("NaN", "x.fxp: parameter 7 is not a finite number (NaN)",
       [](auto& b) { putFloat(b, 56 + 7 * 4, std::numeric_limits<float>::quiet_NaN()); });
  edit("infinity", "x.fxp: parameter 229 is not a finite number (infinite)",
       [](auto& b) { putFloat(b, 56 + 229 * 4, -std::numeric_limits<float>::infinity()); });
  edit("version", "x.fxp: program format version 3 is not known", [](auto& b) { put(b, 12, 3); });
  for (const Case& c : cases) {
    const std::string error = fxpError(c.bytes);
    EXPECT_EQ(error.rfind(c.error, 0), 0u) << c.what << ": " << error;
  }
  EXPECT_EQ(fxpError({}).rfind("x.fxp: truncated: 0 bytes", 0), 0u);
}

TEST(PresetFiles, BadBankFilesSayWhatIsWrong) {
  Bank bank;
  for (int i = 0; i < 2; ++i) bank.programs.push_back(sample("P" + std::to_string(i), 0.1f * float(i)));
  const std::vector<uint8_t> good = fxbBytes(bank, kId);
  ASSERT_EQ(fxbError(good), "");
  auto with = [&](auto change) {
    std::vector<uint8_t> b = good;
    change(b);
    return fxbError(b);
  };
  EXPECT_EQ(
      with([](auto& b) { std::memcpy(&b[8], "FBCh", 4); }).rfind("x.fxb: holds an opaque chunk ('FBCh')", 0),
      0u);
  EXPECT_EQ(with([](auto& b) { put(b, 16, 0x41626364); }).rfind("x.fxb: made for another plug-in", 0), 0u);
  EXPECT_EQ(with([](auto& b) { put(b, 24, 11); }),
            "x.fxb: holds 11 programs; a bank for this plug-in holds 1 to 10");
  EXPECT_EQ(with([](auto& b) { put(b, 24, 3); }),
            "x.fxb: 2108 bytes for a bank of 3 programs, which takes 3084 (truncated)");
  EXPECT_EQ(with([](auto& b) { put(b, 28, 2); }), "x.fxb: the current program 2 is not one of the bank's 2");
  EXPECT_EQ(with([](auto& b) { b.resize(1500); }).rfind("x.fxb: truncated: the header counts 2100", 0), 0u);
  // A record inside: its own faults name the program.
  const size_t second = 156 + 976;
  EXPECT_EQ(
      with([&](auto& b) { put(b, second + 16, 0x41626364); }).rfind("x.fxb (program 2): made for another", 0),
      0u);
  EXPECT_EQ(with([&](auto& b) {
              std::memcpy(&b[second + 8], "FPCh", 4);
            }).rfind("x.fxb (program 2): holds an opaque chunk", 0),
            0u);
  EXPECT_EQ(with([&](auto& b) { std::memset(&b[second + 28], 'z', 28); }),
            "x.fxb (program 2): the program name has no terminating zero in its 28 bytes");
  EXPECT_EQ(with([&](auto& b) { putFloat(b, second + 56, std::numeric_limits<float>::infinity()); }),
            "x.fxb (program 2): parameter 0 is not a finite number (infinite)");
  EXPECT_EQ(with([&](auto& b) {
              put(b, second + 4, 100);
            }).rfind("x.fxb (program 2): the record's byte count 100", 0),
            0u);
  EXPECT_EQ(with([&](auto& b) {
              std::memcpy(&b[second], "XXXX", 4);
            }).rfind("x.fxb (program 2): the record starts with 'XXXX'", 0),
            0u);
  // Records of 229 parameters: said as such, not only as a wrong size.
  EXPECT_EQ(with([&](auto& b) {
              put(b, 156 + 24, 229);
              put(b, 24, 3);
            }),
            "x.fxb (program 1): holds 229 parameters, the plug-in has 230");
  Program p;
  std::string error;
  EXPECT_FALSE(readFxb(fxpBytes(bank.programs[0], kId), "x.fxb", kId, bank, error));
  EXPECT_EQ(error, "x.fxb: is a program file ('FxCk'), not a bank file");
}

TEST(PresetFiles, BadArdourFilesSayWhatIsWrong) {
  Bank bank;
  bank.programs = {sample("A", 0.1f)};
  const std::string good = ardourText(bank, kId);
  ASSERT_EQ(ardourError(good), "");
  auto replaced = [&](const std::string& from, const std::string& to) {
    std::string t = good;
    const size_t at = t.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return ardourError(t.replace(at, from.size(), to));
  };
  EXPECT_EQ(replaced("VST:1516524140:", "VST:1094861636:"),
            "vst-x (line 3): made for another plug-in: the uri 'VST:1094861636:x" +
                good.substr(good.find(":x") + 2, 10) + "' names ID 1094861636, expected 1516524140 ('ZdRl')");
  EXPECT_EQ(replaced("numParams=\"230\"", "numParams=\"231\""),
            "vst-x (line 3): numParams is '231', the plug-in has 230 parameters");
  EXPECT_EQ(replaced("<Parameter index=\"5\" value=\"", "<Parameter index=\"5\" value=\"nan\" x=\""),
            "vst-x (line 9): parameter 5 is not a finite number ('nan')");
  EXPECT_EQ(replaced("<Parameter index=\"5\" value=\"", "<Parameter index=\"5\" value=\"inf\" x=\""),
            "vst-x (line 9): parameter 5 is not a finite number ('inf')");
  EXPECT_EQ(replaced("<Parameter index=\"5\" value=\"", "<Parameter index=\"5\" value=\"half\" x=\""),
            "vst-x (line 9): the value 'half' of parameter 5 is not a number");
  EXPECT_EQ(replaced("<Parameter index=\"5\"", "<Parameter index=\"4\""),
            "vst-x (line 9): parameter 4 is given twice");
  EXPECT_EQ(replaced("<Parameter index=\"229\"", "<Parameter index=\"230\""),
            "vst-x (line 233): parameter index '230' is not one of 0..229");
  EXPECT_EQ(replaced("<Parameter index=\"0\"", "<Chunk index=\"0\""),
            "vst-x (line 4): the preset 'A' holds an opaque chunk; Zendrel's presets are parameter lists");
  std::string missing = good;
  const size_t line = missing.find("    <Parameter index=\"17\"");
  missing.erase(line, missing.find('\n', line) + 1 - line);
  EXPECT_EQ(ardourError(missing), "vst-x (line 3): the preset 'A' gives no value for parameter 17");
  EXPECT_EQ(replaced("<VSTPresets>", "<LV2Presets>")
                .rfind("vst-x: not a valid preset XML file: </VSTPresets> does not close <LV2Presets>", 0),
            0u);
  EXPECT_EQ(ardourError("<?xml version=\"1.0\"?>\n<Presets/>\n"),
            "vst-x: the root element is <Presets>, an Ardour preset file's is <VSTPresets>");
  EXPECT_EQ(ardourError("<VSTPresets/>"), "vst-x: holds no presets");
  EXPECT_EQ(ardourError(good.substr(0, good.size() / 2)).rfind("vst-x: not a valid preset XML file: ", 0),
            0u);
  EXPECT_EQ(replaced(" label=\"A\"", ""),
            "vst-x (line 3): a Preset needs the attributes uri, label and numParams");
  EXPECT_EQ(replaced("label=\"A\"", "label=\"&bogus;\"")
                .rfind("vst-x: not a valid preset XML file: an unknown entity", 0),
            0u);
  EXPECT_EQ(replaced("</VSTPresets>", "</VSTPresets>trailing")
                .rfind("vst-x: not a valid preset XML file: content after the root", 0),
            0u);
  // Nesting deep enough to hurt a recursive reader is refused early.
  std::string deep;
  for (int i = 0; i < 100000; ++i) deep += "<a>";
  EXPECT_EQ(ardourError(deep), "vst-x: not a valid preset XML file: elements nested too deeply (line 1)");
}

TEST(PatternSource, APatternBecomesTheValuesThePluginKeeps) {
  Pattern pat;
  std::string error;
  ASSERT_TRUE(
      parsePattern("name: Test  # a comment\nabout: A test\nsteps: 5\nlength: d1/16\nnote: 1/32 =\n"
                   "gate: 1 0.5 0\nattack: 0.25\ndecay: 0.75 0\nmerge: - x\n",
                   "t.pattern", pat, error))
      << error;
  const Program& p = pat.program;
  EXPECT_EQ(p.name, "Test");
  EXPECT_EQ(pat.about, "A test");
  EXPECT_EQ(p.values[34], 9 / 64.0f);
  EXPECT_EQ(p.values[37], static_cast<float>(0.0375 + 0.077 * 5));
  EXPECT_EQ(p.values[102], static_cast<float>(0.0375 + 0.077 * 2));
  EXPECT_EQ(p.values[103], p.values[37]);   // "=": the step's length; merged anyway
  EXPECT_EQ(p.values[104], p.values[102]);  // the lists repeat
  EXPECT_EQ(p.values[3], 1.0f);
  EXPECT_EQ(p.values[5], 0.0f);
  EXPECT_EQ(p.values[199], 1.0f);
  EXPECT_EQ(p.values[198], 0.0f);
  EXPECT_EQ(p.values[166], 0.75f);
  EXPECT_EQ(stepCountOf(p), 5);
  EXPECT_EQ(stepLengthNameOf(p), "dotted 1/16");
  EXPECT_EQ(gatePicture(p), "#=~_#~=");  // steps 2 and 4 merge
}

TEST(PatternSource, MistakesNameTheLine) {
  Pattern pat;
  std::string error;
  auto bad = [&](const std::string& text) {
    return parsePattern("name: X\nsteps: 4\nlength: 1/16\n" + text, "t.pattern", pat, error) ? std::string()
                                                                                             : error;
  };
  EXPECT_EQ(bad("note: 1/8\n"), "t.pattern:4: step 1: note '1/8' is longer than the step");
  EXPECT_EQ(bad("gate: 1 2\n"), "t.pattern:4: step 2: gate '2' is not a level from 0 to 1");
  EXPECT_EQ(bad("attack: 0.6\ndecay: 0.5\n"),
            "t.pattern:5: step 1: attack 0.6 and decay 0.5 take more than the note");
  EXPECT_EQ(bad("length: 1/3\n"),
            "t.pattern:4: length '1/3' is no step length (1/64 .. 1, d for dotted: d1/16)");
  EXPECT_EQ(
      bad("colour: red\n"),
      "t.pattern:4: unknown key 'colour' (name, about, steps, length, note, gate, attack, decay, merge)");
  EXPECT_EQ(bad("merge: y\n"), "t.pattern:4: step 1: merge 'y' is neither x nor -");
  EXPECT_FALSE(parsePattern("name: A name that is far too long\n", "t", pat, error));
}
