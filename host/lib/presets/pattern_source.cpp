#include "host/lib/presets/pattern_source.h"

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "plugin/parameter_ids.h"
#include "plugin/step_grid.h"

namespace zendrel::preset {

namespace {

const char* const kNoteNames[zendrel::kNoteValueCount] = {
    "1/64", "d1/64", "1/32", "d1/32", "1/16", "d1/16", "1/8", "d1/8", "1/4", "d1/4", "1/2", "d1/2", "1"};
const char* const kNoteTitles[zendrel::kNoteValueCount] = {
    "1/64",       "dotted 1/64", "1/32",       "dotted 1/32", "1/16",       "dotted 1/16", "1/8",
    "dotted 1/8", "1/4",         "dotted 1/4", "1/2",         "dotted 1/2", "1 bar"};

float gridValue(int row) { return static_cast<float>(zendrel::noteGridCentre(row)); }

std::string trim(const std::string& s) {
  size_t a = 0, b = s.size();
  while (a < b && (s[a] == ' ' || s[a] == '\t' || s[a] == '\r')) ++a;
  while (b > a && (s[b - 1] == ' ' || s[b - 1] == '\t' || s[b - 1] == '\r')) --b;
  return s.substr(a, b - a);
}

std::vector<std::string> words(const std::string& s) {
  std::istringstream in(s);
  std::vector<std::string> out;
  std::string w;
  while (in >> w) out.push_back(w);
  return out;
}

bool parseLevel(const std::string& w, float& v) {
  char* end = nullptr;
  const double d = std::strtod(w.c_str(), &end);
  if (end == w.c_str() || *end || !(d >= 0.0 && d <= 1.0)) return false;
  v = static_cast<float>(d);
  return true;
}

}  // namespace

bool noteValueByName(const std::string& name, float& value) {
  for (int r = 0; r < zendrel::kNoteValueCount; ++r) {
    if (name == kNoteNames[r] || (r == zendrel::kNoteValueCount - 1 && name == "1/1")) {
      value = gridValue(r);
      return true;
    }
  }
  return false;
}

bool parsePattern(const std::string& text, const std::string& file, Pattern& out, std::string& error) {
  Pattern pat;
  Program& p = pat.program;
  p.values.assign(zendrel::kNumParams, 0.0f);
  int steps = 0;
  float stepLength = -1.0f;
  std::vector<std::string> gate{"1"}, note, attack{"0"}, decay{"0"}, merge{"-"};
  std::vector<int> lines(16, 0);
  std::istringstream in(text);
  std::string line;
  int lineNo = 0;
  auto fail = [&](int at, const std::string& what) {
    error = file + ":" + std::to_string(at) + ": " + what;
    return false;
  };
  while (std::getline(in, line)) {
    ++lineNo;
    const size_t hash = line.find('#');
    if (hash != std::string::npos) line.erase(hash);
    line = trim(line);
    if (line.empty()) continue;
    const size_t colon = line.find(':');
    if (colon == std::string::npos) return fail(lineNo, "expected 'key: value', got '" + line + "'");
    const std::string key = trim(line.substr(0, colon));
    const std::string value = trim(line.substr(colon + 1));
    if (value.empty()) return fail(lineNo, "'" + key + "' has no value");
    if (key == "name") {
      if (value.size() > 23) return fail(lineNo, "the name '" + value + "' is longer than 23 characters");
      p.name = value;
    } else if (key == "about") {
      pat.about = value;
    } else if (key == "steps") {
      char* end = nullptr;
      const long n = std::strtol(value.c_str(), &end, 10);
      if (*end || n < 1 || n > 32) return fail(lineNo, "steps must be a whole number from 1 to 32");
      steps = static_cast<int>(n);
    } else if (key == "length") {
      if (!noteValueByName(value, stepLength))
        return fail(lineNo, "length '" + value + "' is no step length (1/64 .. 1, d for dotted: d1/16)");
    } else if (key == "gate") {
      gate = words(value);
    } else if (key == "note") {
      note = words(value);
    } else if (key == "attack") {
      attack = words(value);
    } else if (key == "decay") {
      decay = words(value);
    } else if (key == "merge") {
      merge = words(value);
    } else {
      return fail(lineNo,
                  "unknown key '" + key + "' (name, about, steps, length, note, gate, attack, decay, merge)");
    }
  }
  if (p.name.empty()) return fail(lineNo, "the pattern has no name");
  if (steps == 0) return fail(lineNo, "the pattern gives no 'steps'");
  if (stepLength < 0) return fail(lineNo, "the pattern gives no step 'length'");
  if (note.empty()) note = {"="};
  p.values[zendrel::kNumOfSteps] = static_cast<float>((2 * steps - 1) / 64.0);
  p.values[zendrel::kStepLength] = stepLength;
  for (int k = 0; k < zendrel::kNumSteps; ++k) {
    const std::string step = "step " + std::to_string(k + 1) + ": ";
    auto at = [k](const std::vector<std::string>& list) {
      return list[static_cast<size_t>(k) % list.size()];
    };
    float g, a, d, n;
    if (!parseLevel(at(gate), g))
      return fail(lineNo, step + "gate '" + at(gate) + "' is not a level from 0 to 1");
    if (!parseLevel(at(attack), a))
      return fail(lineNo, step + "attack '" + at(attack) + "' is not from 0 to 1");
    if (!parseLevel(at(decay), d)) return fail(lineNo, step + "decay '" + at(decay) + "' is not from 0 to 1");
    // The plug-in keeps attack + decay within the note by lowering the other.
    if (a > static_cast<float>(1.0 - d) || d > static_cast<float>(1.0 - a))
      return fail(lineNo,
                  step + "attack " + at(attack) + " and decay " + at(decay) + " take more than the note");
    const std::string m = at(merge);
    if (m != "x" && m != "-") return fail(lineNo, step + "merge '" + m + "' is neither x nor -");
    if (at(note) == "=") {
      n = stepLength;
    } else if (!noteValueByName(at(note), n)) {
      return fail(lineNo, step + "note '" + at(note) + "' is no note value (1/64 .. 1, d for dotted)");
    }
    if (n > stepLength) return fail(lineNo, step + "note '" + at(note) + "' is longer than the step");
    // A merged step's note fills the step: the plug-in sets it so on loading.
    if (m == "x") n = stepLength;
    p.values[static_cast<size_t>(zendrel::kGate + k)] = g;
    p.values[static_cast<size_t>(zendrel::kNoteLength + k)] = n;
    p.values[static_cast<size_t>(zendrel::kAttack + k)] = a;
    p.values[static_cast<size_t>(zendrel::kDecay + k)] = d;
    p.values[static_cast<size_t>(zendrel::kMerge + k)] = m == "x" ? 1.0f : 0.0f;
  }
  out = std::move(pat);
  return true;
}

bool readPatternFile(const std::string& path, Pattern& out, std::string& error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = path + ": cannot open the pattern";
    return false;
  }
  std::stringstream s;
  s << in.rdbuf();
  return parsePattern(s.str(), path, out, error);
}

int stepCountOf(const Program& p) {
  if (p.values.size() <= zendrel::kNumOfSteps) return 32;
  // The plug-in clamps the count into its range before it plays it.
  const float v = std::min(std::max(p.values[zendrel::kNumOfSteps], 0.015625f), 0.984375f);
  return static_cast<int>(zendrel::stepCountFor(v, 32));
}

std::string stepLengthNameOf(const Program& p) {
  if (p.values.size() <= zendrel::kStepLength) return "1/16";
  const float v = std::min(std::max(p.values[zendrel::kStepLength], 0.0375f), 0.9615f);
  const int row = zendrel::noteValueRow(v);
  return row < 0 ? "?" : kNoteTitles[row];
}

std::string gatePicture(const Program& p) {
  static const char kRamp[] = "_.:-=+*%#";
  std::string s;
  const int n = stepCountOf(p);
  for (int k = 0; k < n && static_cast<size_t>(zendrel::kMerge + k) < p.values.size(); ++k) {
    const float g = std::min(std::max(p.values[static_cast<size_t>(zendrel::kGate + k)], 0.0f), 1.0f);
    s += kRamp[static_cast<int>(std::lround(g * 8.0f))];
    if (p.values[static_cast<size_t>(zendrel::kMerge + k)] >= 0.5f) s += '~';
  }
  return s;
}

}  // namespace zendrel::preset
