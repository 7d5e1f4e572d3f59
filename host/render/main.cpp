// zendrel-render: runs audio through the plug-in module offline, block by block,
// with a simulated transport, and writes the result (and optionally a plot).
#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "host/lib/host.h"
#include "host/lib/module_path.h"
#include "host/lib/presets/preset_host.h"
#include "host/render/options.h"
#include "host/render/plot.h"
#include "plugin/parameter_ids.h"
#include "plugin/step_grid.h"

namespace {

using zendrel::render::Options;

int fail(const std::string& message) {
  std::fprintf(stderr, "zendrel-render: %s\n", message.c_str());
  return 1;
}

bool fileExists(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0;
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

const char* noteName(double fraction) {
  static const char* const names[zendrel::kNoteValueCount] = {
      "1/64", "dotted 1/64", "1/32", "dotted 1/32", "1/16", "dotted 1/16", "1/8",
      "dotted 1/8", "1/4", "dotted 1/4", "1/2", "dotted 1/2", "1 bar"};
  for (int r = 0; r < zendrel::kNoteValueCount; ++r)
    if (zendrel::kNoteValueFraction[r] == fraction) return names[r];
  return "?";
}

// Closes a sound file when it goes out of scope.
struct SoundFile {
  SNDFILE* f = nullptr;
  ~SoundFile() {
    if (f) sf_close(f);
  }
};

// Where the audio comes from: a file, or (f null) the synthesised chord.
struct Input {
  SoundFile file;
  int channels = 2;
  double rate = 44100.0;
  size_t total = 0;  // frames; for the chord, set once the pattern is known
  int format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
};

// Opens o.input when one is given; an empty string on success.
std::string openInput(const Options& o, Input& in) {
  in.rate = o.rate;
  if (o.input.empty()) return {};
  if (!fileExists(o.input)) return "cannot open '" + o.input + "': no such file";
  SF_INFO info{};
  in.file.f = sf_open(o.input.c_str(), SFM_READ, &info);
  if (!in.file.f) return "cannot read '" + o.input + "': " + sf_strerror(nullptr) + " (give a WAV file)";
  if (info.channels < 1 || info.channels > 2)
    return "'" + o.input + "' has " + std::to_string(info.channels) +
           " channels; only mono and stereo files can be rendered";
  if (info.frames <= 0) return "'" + o.input + "' holds no audio frames";
  in.channels = info.channels;
  in.rate = info.samplerate;
  in.total = static_cast<size_t>(info.frames);
  in.format = info.format;
  if (o.rateGiven)
    std::fprintf(stderr, "zendrel-render: note: --rate applies to the synthesised input; '%s' plays at %g Hz\n",
                 o.input.c_str(), in.rate);
  return {};
}

// Loads the module, sets rate, tempo and block size as a host does, selects the
// program and applies the parameters; an empty string on success.
std::string preparePlugin(Options& o, double rate, zendrel::host::Host& host) {
  if (o.module.empty()) o.module = zendrel::host::defaultModulePath(ZENDREL_BUILT_MODULE);
  if (!host.load(o.module)) return host.error();
  AEffect* e = host.effect();
  if (e->numInputs < 2 || e->numOutputs < 2 || !e->processReplacing)
    return "'" + o.module + "' is a plug-in but not a stereo replacing effect";
  host.setSampleRate(rate);
  host.setTempo(o.bpm);
  host.dispatch(effSetSampleRate, 0, 0, nullptr, static_cast<float>(rate));
  host.dispatch(effSetBlockSize, 0, o.block);
  host.setBlockSize(o.block);
  host.dispatch(effMainsChanged, 0, 1);
  std::string error;
  if (!o.preset.empty()) {
    if (!zendrel::preset::loadPreset(host, o.preset, o.program, error)) return error;
  } else if (o.program >= 0) {
    host.dispatch(effSetProgram, 0, o.program);
  }
  for (const auto& p : o.params) host.setParameter(p.first, p.second);
  return {};
}

// The pattern as the plug-in will derive it from its working values.
struct Pattern {
  double steps, stepLength, samplesPerBar, samplesPerStep, length;
};

Pattern patternOf(zendrel::host::Host& host, double bpm, double rate) {
  Pattern p;
  p.steps = zendrel::stepCountFor(host.getParameter(zendrel::kNumOfSteps), 32);
  p.stepLength = zendrel::noteValueFor(host.getParameter(zendrel::kStepLength), 0.0625);
  p.samplesPerBar = 60.0 / bpm * rate * 4.0;
  p.samplesPerStep = p.samplesPerBar * p.stepLength;
  p.length = p.samplesPerBar * p.steps * p.stepLength;
  return p;
}

// The frames the plot shows: the first whole pattern cycle, both channels in
// and out.
struct PlotWindow {
  size_t first = 0, size = 0;
  std::vector<float> inL, inR, outL, outR;

  PlotWindow(const Options& o, const Pattern& p, size_t total) {
    if (o.stopped) {
      first = static_cast<size_t>(std::ceil(p.length)) - 1;  // the counter starts at 1
    } else {
      const double nextStart = std::ceil(o.start / p.length) * p.length;
      first = static_cast<size_t>(std::ceil(nextStart - o.start));
    }
    size = static_cast<size_t>(std::ceil(p.length));
    if (first >= total) first = 0;
    if (!o.plot.empty() && first + size > total) {
      std::fprintf(stderr,
                   "zendrel-render: note: the input ends before the pattern cycle does; the plot shows %.0f%% of it\n",
                   100.0 * static_cast<double>(total - first) / static_cast<double>(size));
      size = total - first;
    }
    if (o.plot.empty()) size = 0;
    inL.resize(size);
    inR.resize(size);
    outL.resize(size);
    outR.resize(size);
  }

  void keep(size_t at, float l, float r, float ol, float orr) {
    if (at < first || at >= first + size) return;
    inL[at - first] = l;
    inR[at - first] = r;
    outL[at - first] = ol;
    outR[at - first] = orr;
  }
};

// Streams the input through the plug-in into out; the frames written, or -1
// when writing failed.
long long renderBlocks(const Options& o, Input& in, zendrel::host::Host& host, SoundFile& out, PlotWindow& window) {
  const size_t block = static_cast<size_t>(o.block);
  const size_t channels = static_cast<size_t>(in.channels);
  std::vector<float> bl(block), br(block), ol(block), orr(block), frames(block * 2);
  size_t done = 0;
  while (done < in.total) {
    size_t n = std::min(block, in.total - done);
    if (in.file.f) {
      const sf_count_t got = sf_readf_float(in.file.f, frames.data(), static_cast<sf_count_t>(n));
      if (got <= 0) break;  // the file was shorter than its header said
      n = static_cast<size_t>(got);
      for (size_t i = 0; i < n; ++i) {
        bl[i] = frames[i * channels];
        br[i] = channels == 2 ? frames[i * 2 + 1] : bl[i];
      }
    } else {
      synthesise(in.rate, done, n, in.total, bl.data(), br.data());
    }
    float* ins[2] = {bl.data(), br.data()};
    float* outs[2] = {ol.data(), orr.data()};
    host.processReplacing(ins, outs, static_cast<VstInt32>(n));
    for (size_t i = 0; i < n; ++i) {
      frames[i * channels] = ol[i];
      if (channels == 2) frames[i * 2 + 1] = orr[i];
      window.keep(done + i, bl[i], br[i], ol[i], orr[i]);
    }
    if (sf_writef_float(out.f, frames.data(), static_cast<sf_count_t>(n)) != static_cast<sf_count_t>(n)) return -1;
    done += n;
  }
  return static_cast<long long>(done);
}

// Envelopes and gain of the window, drawn into o.plot; an empty string on success.
std::string plot(const Options& o, const Pattern& p, double rate, const PlotWindow& w) {
  zendrel::render::PlotData d;
  d.sampleRate = rate;
  d.tempo = o.bpm;
  d.steps = static_cast<int>(p.steps);
  d.stepLengthName = noteName(p.stepLength);
  d.samplesPerStep = p.samplesPerStep;
  d.playing = !o.stopped;
  std::vector<float> in(w.size), out(w.size);
  d.gain.resize(w.size);
  for (size_t i = 0; i < w.size; ++i) {
    const float a = std::fabs(w.inL[i]), b = std::fabs(w.inR[i]);
    in[i] = std::max(a, b);
    out[i] = std::max(std::fabs(w.outL[i]), std::fabs(w.outR[i]));
    // Gain from the louder channel; none where the input is near silence.
    const float x = a >= b ? a : b;
    const float y = a >= b ? std::fabs(w.outL[i]) : std::fabs(w.outR[i]);
    d.gain[i] = x > 1e-3f ? y / x : -1.0f;
  }
  const size_t half = static_cast<size_t>(0.0025 * rate);
  d.input = zendrel::render::peakEnvelope(in, half);
  d.output = zendrel::render::peakEnvelope(out, half);
  std::string error;
  if (!zendrel::render::writePlot(d, o.plot, error)) return error;
  std::printf("wrote %s: envelopes of one pattern cycle (samples %zu to %zu)\n", o.plot.c_str(), w.first,
              w.first + w.size);
  return {};
}

int run(Options& o, bool demo) {
  Input in;
  std::string error = openInput(o, in);
  zendrel::host::Host host;
  if (error.empty()) error = preparePlugin(o, in.rate, host);
  if (!error.empty()) return fail(error);
  const Pattern p = patternOf(host, o.bpm, in.rate);
  if (o.input.empty()) {
    const double seconds = o.seconds > 0 ? o.seconds : std::max(4 * p.samplesPerBar, 2 * p.length + 1) / in.rate;
    in.total = static_cast<size_t>(std::ceil(seconds * in.rate));
  }
  PlotWindow window(o, p, in.total);

  SF_INFO outInfo{};
  outInfo.samplerate = static_cast<int>(std::lround(in.rate));
  outInfo.channels = in.channels;
  outInfo.format = in.format;
  if (!sf_format_check(&outInfo)) outInfo.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
  SoundFile output;
  output.f = sf_open(o.output.c_str(), SFM_WRITE, &outInfo);
  if (!output.f) return fail("cannot write '" + o.output + "': " + sf_strerror(nullptr));

  host.setSamplePosition(o.start);
  host.setPpqPosition(o.start / (60.0 / o.bpm * in.rate));
  host.setPlaying(!o.stopped);
  const long long done = renderBlocks(o, in, host, output, window);
  if (done < 0) return fail("cannot write '" + o.output + "': " + sf_strerror(output.f));
  host.dispatch(effMainsChanged, 0, 0);

  std::printf("wrote %s: %lld frames, %d channel%s at %g Hz, %s input, %g BPM, transport %s, %g steps of %s%s\n",
              o.output.c_str(), done, in.channels, in.channels == 1 ? "" : "s", in.rate,
              o.input.empty() ? "synthesised chord" : o.input.c_str(), o.bpm, o.stopped ? "stopped" : "playing",
              p.steps, noteName(p.stepLength), demo ? " (demo pattern)" : "");
  if (o.plot.empty()) return 0;
  error = plot(o, p, in.rate, window);
  return error.empty() ? 0 : fail(error);
}

// Every program of the preset file, each in a fresh instance from the song's
// start, its gain over one cycle of a steady input drawn into o.gallery.
int gallery(Options& o) {
  if (o.module.empty()) o.module = zendrel::host::defaultModulePath(ZENDREL_BUILT_MODULE);
  zendrel::preset::Bank bank;
  zendrel::preset::Format format;
  std::string error;
  {
    zendrel::host::Host probe;
    if (!probe.load(o.module)) return fail(probe.error());
    if (!zendrel::preset::readPresetFile(o.preset, zendrel::preset::identityOf(probe), bank, format, error)) return fail(error);
  }
  std::vector<zendrel::render::GalleryEntry> entries;
  for (size_t k = 0; k < bank.programs.size(); ++k) {
    zendrel::host::Host host;
    o.program = static_cast<int>(k);
    error = preparePlugin(o, o.rate, host);
    if (!error.empty()) return fail(error);
    const Pattern p = patternOf(host, o.bpm, o.rate);
    zendrel::render::GalleryEntry e;
    e.name = bank.programs[k].name;
    e.steps = static_cast<int>(p.steps);
    e.stepLengthName = noteName(p.stepLength);
    host.setPlaying(true);
    const size_t total = static_cast<size_t>(std::ceil(p.length));
    std::vector<float> one(static_cast<size_t>(o.block), 1.0f), l(one.size()), r(one.size());
    for (size_t done = 0; done < total;) {
      const size_t n = std::min(one.size(), total - done);
      std::vector<float> a = one, b = one;
      float* ins[2] = {a.data(), b.data()};
      float* outs[2] = {l.data(), r.data()};
      host.processReplacing(ins, outs, static_cast<VstInt32>(n));
      e.gain.insert(e.gain.end(), l.begin(), l.begin() + static_cast<long>(n));
      done += n;
    }
    entries.push_back(std::move(e));
  }
  const std::string title = "Zendrel presets: " + std::to_string(entries.size()) + " patterns at " +
                            std::to_string(static_cast<int>(o.bpm)) + " BPM";
  if (!zendrel::render::writeGallery(entries, title, o.gallery, error)) return fail(error);
  std::printf("wrote %s: %zu patterns of %s\n", o.gallery.c_str(), entries.size(), o.preset.c_str());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  Options o;
  bool help = false;
  const std::string error = zendrel::render::parseArguments(argc, argv, o, help);
  if (help) {
    std::fputs(zendrel::render::kUsage, stdout);
    return 0;
  }
  if (!error.empty()) return fail(error);
  if (!o.gallery.empty()) return gallery(o);
  const bool demo = argc == 1;
  if (demo) {
    zendrel::render::demoPattern(o);
    o.output = "zendrel-demo.wav";
    o.plot = "zendrel-demo.png";
  }
  return run(o, demo);
}
