// zendrel-render: runs audio through the plug-in module offline, block by block,
// with a simulated transport, and writes the result (and optionally a plot).
#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include <utility>
#include <vector>

#include "host/lib/host.h"
#include "host/render/plot.h"
#include "plugin/parameter_ids.h"
#include "plugin/step_grid.h"

namespace {

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
    "  --program N        select program N (0..9) before the parameters are applied\n"
    "  --param INDEX=VAL  set parameter INDEX (0..229) to VAL (0..1); repeatable,\n"
    "                     applied in order, through the plug-in's editing rules\n"
    "  --plot FILE.png    draw input and output envelopes of one pattern cycle\n"
    "  --help             this text\n"
    "\n"
    "parameters: 0..31 gate, 34 number of steps, 37 step length, 102..133 note length,\n"
    "134..165 attack, 166..197 decay, 198..229 merge (step k at base + k - 1)\n";

struct Options {
  std::string module;
  double bpm = 120.0;
  bool stopped = false;
  double start = 0.0;
  int block = 512;
  double rate = 44100.0;
  double seconds = 0.0;
  int program = -1;
  std::vector<std::pair<int, float>> params;
  std::string plot;
  std::string input, output;
  bool rateGiven = false;
};

int fail(const std::string& message) {
  std::fprintf(stderr, "zendrel-render: %s\n", message.c_str());
  return 1;
}

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

// Fills o from argv; an empty string on success, else the error line.
std::string parse(int argc, char** argv, Options& o, bool& help) {
  std::vector<std::string> files;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    auto value = [&](const char*& v) -> bool {
      if (i + 1 >= argc) return false;
      v = argv[++i];
      return true;
    };
    const char* v = nullptr;
    if (a == "--help" || a == "-h") {
      help = true;
      return {};
    } else if (a == "--stopped") {
      o.stopped = true;
    } else if (a == "--module") {
      if (!value(v)) return "--module needs a path";
      o.module = v;
    } else if (a == "--plot") {
      if (!value(v)) return "--plot needs a file name";
      o.plot = v;
    } else if (a == "--bpm") {
      if (!value(v) || !parseDouble(v, o.bpm) || o.bpm < 1.0 || o.bpm > 999.0)
        return "--bpm needs a tempo from 1 to 999 beats per minute";
    } else if (a == "--start") {
      if (!value(v) || !parseDouble(v, o.start) || std::fabs(o.start) > 1e15)
        return "--start needs a sample position (a number, negative for pre-roll)";
    } else if (a == "--rate") {
      if (!value(v) || !parseDouble(v, o.rate) || o.rate < 1000.0 || o.rate > 768000.0)
        return "--rate needs a sample rate from 1000 to 768000 Hz";
      o.rateGiven = true;
    } else if (a == "--seconds") {
      if (!value(v) || !parseDouble(v, o.seconds) || o.seconds <= 0.0 || o.seconds > 600.0)
        return "--seconds needs a length above 0 and up to 600 seconds";
    } else if (a == "--block") {
      long n;
      if (!value(v) || !parseInt(v, n) || n < 1 || n > 65536) return "--block needs a frame count from 1 to 65536";
      o.block = static_cast<int>(n);
    } else if (a == "--program") {
      long n;
      if (!value(v) || !parseInt(v, n) || n < 0 || n >= zendrel::kNumPrograms)
        return "--program needs a program number from 0 to 9";
      o.program = static_cast<int>(n);
    } else if (a == "--param") {
      if (!value(v)) return "--param needs INDEX=VALUE, for example --param 0=0.5";
      const std::string s = v;
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
    } else if (!a.empty() && a[0] == '-' && a != "-") {
      return "unknown option '" + a + "' (see --help)";
    } else {
      files.push_back(a);
    }
  }
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

bool fileExists(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0;
}

std::string defaultModule() {
  const std::string beside = zhost::executableDirectory() + zhost::moduleFileName("zendrel");
  if (fileExists(beside)) return beside;
#ifdef ZENDREL_BUILT_MODULE
  return ZENDREL_BUILT_MODULE;
#else
  return beside;
#endif
}

// The demo: 16 sixteenth steps with varied levels, two merges, ramps.
void demoPattern(Options& o) {
  o.params.clear();
  o.params.push_back({zendrel::kNumOfSteps, static_cast<float>(31 / 64.0)});  // 16 steps
  const float gates[16] = {1.0f, 0.35f, 0.8f, 0.3f, 1.0f, 0.5f, 0.75f, 0.0f,
                           0.95f, 0.4f, 0.7f, 0.25f, 0.9f, 0.6f, 1.0f, 0.2f};
  for (int k = 0; k < 16; ++k) o.params.push_back({zendrel::kGate + k, gates[k]});
  for (int k : {1, 5, 9, 13}) o.params.push_back({zendrel::kNoteLength + k, 0.1915f});  // 1/32 staccato
  o.params.push_back({zendrel::kAttack + 0, 0.1f});
  o.params.push_back({zendrel::kDecay + 0, 0.3f});
  o.params.push_back({zendrel::kAttack + 4, 0.5f});  // a triangle
  o.params.push_back({zendrel::kDecay + 4, 0.5f});
  o.params.push_back({zendrel::kDecay + 8, 0.6f});
  o.params.push_back({zendrel::kAttack + 12, 0.8f});
  o.params.push_back({zendrel::kMerge + 2, 1.0f});   // step 3 glides into step 4
  o.params.push_back({zendrel::kMerge + 10, 1.0f});  // step 11 into step 12
  o.params.push_back({zendrel::kMerge + 14, 1.0f});  // step 15 into step 16
}

// A sustained A minor chord, slightly detuned between the channels, made a
// block at a time: frames [at, at + n) of a chord `total` frames long.
void synthesise(double rate, size_t at, size_t n, size_t total, float* left, float* right) {
  const double notes[] = {220.0, 261.6256, 329.6276, 440.0};
  const double fade = 0.02 * rate;
  for (size_t j = 0; j < n; ++j) {
    const size_t i = at + j;
    const double t = static_cast<double>(i) / rate;
    double l = 0, r = 0;
    for (double f : notes) {
      l += 0.17 * std::sin(2 * M_PI * f * t) + 0.04 * std::sin(4 * M_PI * f * t);
      r += 0.17 * std::sin(2 * M_PI * f * 1.003 * t) + 0.04 * std::sin(4 * M_PI * f * 1.003 * t);
    }
    double g = 1.0;
    if (static_cast<double>(i) < fade) g = static_cast<double>(i) / fade;
    if (static_cast<double>(total - i) < fade) g = static_cast<double>(total - i) / fade;
    left[j] = static_cast<float>(l * g);
    right[j] = static_cast<float>(r * g);
  }
}

// Closes a sound file when it goes out of scope.
struct SoundFile {
  SNDFILE* f = nullptr;
  ~SoundFile() {
    if (f) sf_close(f);
  }
};

const char* noteName(double fraction) {
  static const char* const names[zendrel::kNoteValueCount] = {
      "1/64", "dotted 1/64", "1/32", "dotted 1/32", "1/16", "dotted 1/16", "1/8",
      "dotted 1/8", "1/4", "dotted 1/4", "1/2", "dotted 1/2", "1 bar"};
  for (int r = 0; r < zendrel::kNoteValueCount; ++r)
    if (zendrel::kNoteValueFraction[r] == fraction) return names[r];
  return "?";
}

int run(Options& o, bool demo) {
  // Input: the file, or the synthesised chord.
  SoundFile input;
  int channels = 2;
  double rate = o.rate;
  size_t total = 0;
  int outFormat = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
  if (!o.input.empty()) {
    if (!fileExists(o.input)) return fail("cannot open '" + o.input + "': no such file");
    SF_INFO info{};
    input.f = sf_open(o.input.c_str(), SFM_READ, &info);
    if (!input.f) return fail("cannot read '" + o.input + "': " + sf_strerror(nullptr) + " (give a WAV file)");
    if (info.channels < 1 || info.channels > 2)
      return fail("'" + o.input + "' has " + std::to_string(info.channels) +
                  " channels; only mono and stereo files can be rendered");
    if (info.frames <= 0) return fail("'" + o.input + "' holds no audio frames");
    channels = info.channels;
    rate = info.samplerate;
    total = static_cast<size_t>(info.frames);
    outFormat = info.format;
    if (o.rateGiven)
      std::fprintf(stderr, "zendrel-render: note: --rate applies to the synthesised input; '%s' plays at %g Hz\n",
                   o.input.c_str(), rate);
  }

  zhost::Host host;
  if (o.module.empty()) o.module = defaultModule();
  if (!host.load(o.module)) return fail(host.error());
  AEffect* e = host.effect();
  if (e->numInputs < 2 || e->numOutputs < 2 || !e->processReplacing)
    return fail("'" + o.module + "' is a plug-in but not a stereo replacing effect");

  host.setSampleRate(rate);
  host.setTempo(o.bpm);
  host.dispatch(effSetSampleRate, 0, 0, nullptr, static_cast<float>(rate));
  host.dispatch(effSetBlockSize, 0, o.block);
  host.setBlockSize(o.block);
  host.dispatch(effMainsChanged, 0, 1);
  if (o.program >= 0) host.dispatch(effSetProgram, 0, o.program);
  for (const auto& p : o.params) host.setParameter(p.first, p.second);

  // The pattern as the plug-in will derive it from its working values.
  const double steps = zendrel::stepCountFor(host.getParameter(zendrel::kNumOfSteps), 32);
  const double stepLength = zendrel::noteValueFor(host.getParameter(zendrel::kStepLength), 0.0625);
  const double samplesPerBar = 60.0 / o.bpm * rate * 4.0;
  const double samplesPerStep = samplesPerBar * stepLength;
  const double patternLength = samplesPerBar * steps * stepLength;
  if (o.input.empty()) {
    const double seconds =
        o.seconds > 0 ? o.seconds : std::max(4 * samplesPerBar, 2 * patternLength + 1) / rate;
    total = static_cast<size_t>(std::ceil(seconds * rate));
  }

  // Plot window: the first whole cycle.
  size_t first = 0;
  if (o.stopped) {
    first = static_cast<size_t>(std::ceil(patternLength)) - 1;  // the counter starts at 1
  } else {
    const double nextStart = std::ceil(o.start / patternLength) * patternLength;
    first = static_cast<size_t>(std::ceil(nextStart - o.start));
  }
  size_t window = static_cast<size_t>(std::ceil(patternLength));
  if (first >= total) first = 0;
  if (!o.plot.empty() && first + window > total) {
    std::fprintf(stderr,
                 "zendrel-render: note: the input ends before the pattern cycle does; the plot shows %.0f%% of it\n",
                 100.0 * static_cast<double>(total - first) / static_cast<double>(window));
    window = total - first;
  }
  if (o.plot.empty()) window = 0;
  std::vector<float> winInL(window), winInR(window), winOutL(window), winOutR(window);

  SF_INFO outInfo{};
  outInfo.samplerate = static_cast<int>(std::lround(rate));
  outInfo.channels = channels;
  outInfo.format = outFormat;
  if (!sf_format_check(&outInfo)) outInfo.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
  SoundFile output;
  output.f = sf_open(o.output.c_str(), SFM_WRITE, &outInfo);
  if (!output.f) return fail("cannot write '" + o.output + "': " + sf_strerror(nullptr));

  host.setSamplePosition(o.start);
  host.setPpqPosition(o.start / (60.0 / o.bpm * rate));
  host.setPlaying(!o.stopped);
  const size_t block = static_cast<size_t>(o.block);
  std::vector<float> bl(block), br(block), ol(block), orr(block), frames(block * 2);
  size_t done = 0;
  while (done < total) {
    size_t n = std::min(block, total - done);
    if (input.f) {
      const sf_count_t got = sf_readf_float(input.f, frames.data(), static_cast<sf_count_t>(n));
      if (got <= 0) break;  // the file was shorter than its header said
      n = static_cast<size_t>(got);
      for (size_t i = 0; i < n; ++i) {
        bl[i] = frames[i * static_cast<size_t>(channels)];
        br[i] = channels == 2 ? frames[i * 2 + 1] : bl[i];
      }
    } else {
      synthesise(rate, done, n, total, bl.data(), br.data());
    }
    float* ins[2] = {bl.data(), br.data()};
    float* outs[2] = {ol.data(), orr.data()};
    host.processReplacing(ins, outs, static_cast<VstInt32>(n));
    for (size_t i = 0; i < n; ++i) {
      frames[i * static_cast<size_t>(channels)] = ol[i];
      if (channels == 2) frames[i * 2 + 1] = orr[i];
      const size_t at = done + i;
      if (at >= first && at < first + window) {
        winInL[at - first] = bl[i];
        winInR[at - first] = br[i];
        winOutL[at - first] = ol[i];
        winOutR[at - first] = orr[i];
      }
    }
    if (sf_writef_float(output.f, frames.data(), static_cast<sf_count_t>(n)) != static_cast<sf_count_t>(n))
      return fail("cannot write '" + o.output + "': " + sf_strerror(output.f));
    done += n;
  }
  host.dispatch(effMainsChanged, 0, 0);

  std::printf("wrote %s: %zu frames, %d channel%s at %g Hz, %s input, %g BPM, transport %s, %g steps of %s%s\n",
              o.output.c_str(), done, channels, channels == 1 ? "" : "s", rate,
              o.input.empty() ? "synthesised chord" : o.input.c_str(), o.bpm, o.stopped ? "stopped" : "playing",
              steps, noteName(stepLength), demo ? " (demo pattern)" : "");

  if (!o.plot.empty()) {
    zrender::PlotData d;
    d.sampleRate = rate;
    d.tempo = o.bpm;
    d.steps = static_cast<int>(steps);
    d.stepLengthName = noteName(stepLength);
    d.samplesPerStep = samplesPerStep;
    d.playing = !o.stopped;
    std::vector<float> in(window), out(window);
    d.gain.resize(window);
    for (size_t i = 0; i < window; ++i) {
      const float a = std::fabs(winInL[i]), b = std::fabs(winInR[i]);
      in[i] = std::max(a, b);
      out[i] = std::max(std::fabs(winOutL[i]), std::fabs(winOutR[i]));
      // Gain from the louder channel; none where the input is near silence.
      const float x = a >= b ? a : b;
      const float y = a >= b ? std::fabs(winOutL[i]) : std::fabs(winOutR[i]);
      d.gain[i] = x > 1e-3f ? y / x : -1.0f;
    }
    const size_t half = static_cast<size_t>(0.0025 * rate);
    d.input = zrender::peakEnvelope(in, half);
    d.output = zrender::peakEnvelope(out, half);
    std::string error;
    if (!zrender::writePlot(d, o.plot, error)) return fail(error);
    std::printf("wrote %s: envelopes of one pattern cycle (samples %zu to %zu)\n", o.plot.c_str(), first,
                first + window);
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  Options o;
  bool help = false;
  const std::string error = parse(argc, argv, o, help);
  if (help) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  if (!error.empty()) return fail(error);
  const bool demo = argc == 1;
  if (demo) {
    demoPattern(o);
    o.output = "zendrel-demo.wav";
    o.plot = "zendrel-demo.png";
  }
  return run(o, demo);
}
