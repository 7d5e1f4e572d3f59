#include "host/render/options.h"

#include <cmath>
#include <cstdlib>

#include "host/lib/demo_pattern.h"
#include "plugin/parameter_ids.h"

namespace zendrel::render {

const char* const kUsage =
    "usage: zendrel-render [options] [INPUT.wav] [OUTPUT.wav]\n"
    "\n"
    "Streams INPUT.wav through the Zendrel plug-in block by block with a simulated\n"
    "transport and writes OUTPUT.wav (same rate and channels; mono input feeds both\n"
    "plug-in inputs). Without INPUT.wav a sustained chord is synthesised; with a single\n"
    "file name that name is the output. With no arguments at all a demo pattern is\n"
    "rendered to zendrel-demo.wav and plotted to zendrel-demo.png.\n"
    "\n"
    "options:\n"
    "  --module PATH      plug-in module to load (default: the one built with this tool)\n"
    "  --bpm X            host tempo in beats per minute (default 120)\n"
    "  --stopped          transport stopped: the pattern runs freely at the tempo\n"
    "  --start N          song position of the first sample, in samples (default 0)\n"
    "  --block N          frames per processing block, 1..65536 (default 512)\n"
    "  --rate N           sample rate of the synthesised input (default 44100)\n"
    "  --seconds S        length of the synthesised input (default: four bars)\n"
    "  --program N        select program N (0..9) before the parameters are applied;\n"
    "                     with --preset, take the file's program N (counted from 0)\n"
    "  --preset FILE      load a preset file (.fxp, .fxb or Ardour's) as a host does:\n"
    "                     a bank whole, otherwise one program into the current one\n"
    "  --param INDEX=VAL  set parameter INDEX (0..229) to VAL (0..1); repeatable,\n"
    "                     applied in order, through the plug-in's editing rules\n"
    "  --plot FILE.png    draw input and output envelopes of one pattern cycle\n"
    "  --gallery FILE.png with --preset: instead of rendering audio, draw every\n"
    "                     program of the file, its name and its gain over one cycle\n"
    "  --help             this text\n"
    "\n"
    "parameters: 0..31 gate, 34 number of steps, 37 step length, 102..133 note length,\n"
    "134..165 attack, 166..197 decay, 198..229 merge (step k at base + k - 1)\n";

namespace {

bool parseDouble(const char* s, double& out) {
  char* end = nullptr;
  out = std::strtod(s, &end);
  return end != s && *end == '\0' && std::isfinite(out);
}

bool parseInt(const char* s, long& out) {
  char* end = nullptr;
  out = std::strtol(s, &end, 10);
  return end != s && *end == '\0';
}

// --param INDEX=VALUE.
std::string parseParam(const std::string& s, Options& o) {
  const size_t eq = s.find('=');
  long index;
  double x;
  if (eq == std::string::npos || !parseInt(s.substr(0, eq).c_str(), index) ||
      !parseDouble(s.substr(eq + 1).c_str(), x))
    return "--param '" + s + "': expected INDEX=VALUE, for example --param 0=0.5";
  if (index < 0 || index >= zendrel::kNumParams)
    return "--param '" + s + "': INDEX must be a parameter number from 0 to 229";
  if (x < 0.0 || x > 1.0) return "--param '" + s + "': VALUE must be a number from 0 to 1";
  o.params.emplace_back(static_cast<int>(index), static_cast<float>(x));
  return {};
}

// The options that take a number: empty on success, else the error line.
std::string parseNumber(const std::string& a, const char* v, Options& o) {
  long n;
  if (a == "--bpm") {
    if (!v || !parseDouble(v, o.bpm) || o.bpm < 1.0 || o.bpm > 999.0)
      return "--bpm needs a tempo from 1 to 999 beats per minute";
  } else if (a == "--start") {
    if (!v || !parseDouble(v, o.start) || std::fabs(o.start) > 1e15)
      return "--start needs a sample position (a number, negative for pre-roll)";
  } else if (a == "--rate") {
    if (!v || !parseDouble(v, o.rate) || o.rate < 1000.0 || o.rate > 768000.0)
      return "--rate needs a sample rate from 1000 to 768000 Hz";
    o.rateGiven = true;
  } else if (a == "--seconds") {
    if (!v || !parseDouble(v, o.seconds) || o.seconds <= 0.0 || o.seconds > 600.0)
      return "--seconds needs a length above 0 and up to 600 seconds";
  } else if (a == "--block") {
    if (!v || !parseInt(v, n) || n < 1 || n > 65536) return "--block needs a frame count from 1 to 65536";
    o.block = static_cast<int>(n);
  } else if (a == "--program") {
    // The module has ten programs; a preset file may hold more.
    if (!v || !parseInt(v, n) || n < 0 || n > 9999) return "--program needs a program number from 0 to 9";
    o.program = static_cast<int>(n);
  }
  return {};
}

bool takesNumber(const std::string& a) {
  return a == "--bpm" || a == "--start" || a == "--rate" || a == "--seconds" || a == "--block" ||
         a == "--program";
}

// The file names: INPUT and OUTPUT, OUTPUT alone, or none.
std::string assignFiles(const std::vector<std::string>& files, Options& o) {
  if (files.size() > 2) return "too many file names: give at most INPUT.wav and OUTPUT.wav";
  if (files.size() == 2) {
    o.input = files[0];
    o.output = files[1];
  } else if (files.size() == 1) {
    o.output = files[0];
  } else {
    o.output = "zendrel-out.wav";
  }
  return {};
}

}  // namespace

std::string parseArguments(int argc, char** argv, Options& o, bool& help) {
  std::vector<std::string> files;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    const char* v = i + 1 < argc ? argv[i + 1] : nullptr;
    std::string error;
    if (a == "--help" || a == "-h") {
      help = true;
      return {};
    } else if (a == "--stopped") {
      o.stopped = true;
    } else if (a == "--module" || a == "--plot" || a == "--preset" || a == "--gallery") {
      if (!v) return a == "--module" ? "--module needs a path" : a.substr(2) + " needs a file name";
      (a == "--module" ? o.module : a == "--plot" ? o.plot : a == "--preset" ? o.preset : o.gallery) = v;
      ++i;
    } else if (takesNumber(a)) {
      error = parseNumber(a, v, o);
      ++i;
    } else if (a == "--param") {
      error = v ? parseParam(v, o) : "--param needs INDEX=VALUE, for example --param 0=0.5";
      ++i;
    } else if (!a.empty() && a[0] == '-' && a != "-") {
      return "unknown option '" + a + "' (see --help)";
    } else {
      files.push_back(a);
    }
    if (!error.empty()) return error;
  }
  if (o.preset.empty() && o.program >= zendrel::kNumPrograms) return "--program needs a program number from 0 to 9";
  if (!o.gallery.empty() && o.preset.empty()) return "--gallery draws the programs of a --preset file: give one";
  return assignFiles(files, o);
}

void demoPattern(Options& o) { o.params = zendrel::host::demoPattern(); }

}  // namespace zendrel::render
