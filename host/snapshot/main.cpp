// zendrel-snapshot: loads the plug-in module as a host does, sets a program,
// parameters, a page, a playing position and a display scale, opens the
// editor without a window and writes what it shows to a PNG file.
#include <cairo.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "host/lib/demo_pattern.h"
#include "host/lib/editor_scale.h"
#include "host/lib/editor_requests.h"
#include "host/lib/host.h"
#include "host/lib/presets/preset_host.h"

namespace {

// The editor's logical size; scaled, its pixels are more.
constexpr int32_t kWidth = 900;
// The right half of the page switch shows page 2.
constexpr int32_t kPageTwoX = 130;
constexpr int32_t kPageTwoY = 509;

const char* const kUsage =
    "usage: zendrel-snapshot [options] [OUTPUT.png]\n"
    "\n"
    "Loads the Zendrel plug-in module the way a host does, opens its editor without a\n"
    "window and writes the picture it shows to OUTPUT.png (default zendrel-editor.png),\n"
    "at the size the editor gives (900 x 550 unscaled).\n"
    "\n"
    "options:\n"
    "  --module PATH      plug-in module to load (default: the one built with this tool)\n"
    "  --program N        select program N (0..9) first; with --preset, take the\n"
    "                     file's program N (counted from 0)\n"
    "  --preset FILE      load a preset file (.fxp, .fxb or Ardour's) as a host does:\n"
    "                     a bank whole, otherwise one program into the current one\n"
    "  --demo             set the demo pattern zendrel-render plays\n"
    "  --param INDEX=VAL  set parameter INDEX (0..229) to VAL; repeatable, in order\n"
    "  --page N           show steps 1-16 (1, the default) or 17-32 (2)\n"
    "  --position BEATS   the transport plays at this song position (quarter notes):\n"
    "                     the playing step is lit as it would be there\n"
    "  --bpm X            host tempo for --position (default 120)\n"
    "  --scale S          ask for a display scale from 1 to 3 as a host does, before the\n"
    "                     editor opens (2 gives 1800 x 1100)\n"
    "  --help             this text\n";

struct Options {
  std::string module;
  int program = -1;
  std::string preset;
  std::vector<std::pair<int, float>> params;
  int page = 1;
  bool positioned = false;
  double position = 0.0;
  double bpm = 120.0;
  double scale = 0.0;  // 0: not asked for
  std::string output = "zendrel-editor.png";
};

int fail(const std::string& message) {
  std::fprintf(stderr, "zendrel-snapshot: %s\n", message.c_str());
  return 1;
}

bool parseNumber(const char* s, double& out) {
  char* end = nullptr;
  out = std::strtod(s, &end);
  return end != s && *end == '\0' && std::isfinite(out);
}

bool parseParam(const char* s, std::pair<int, float>& out) {
  const char* eq = std::strchr(s, '=');
  double index = 0, value = 0;
  if (!eq) return false;
  const std::string left(s, eq);
  if (!parseNumber(left.c_str(), index) || !parseNumber(eq + 1, value)) return false;
  if (index < 0 || index > 229 || index != std::floor(index)) return false;
  out = {int(index), float(value)};
  return true;
}

// An empty string on success, else the error line.
std::string parse(int argc, char** argv, Options& o) {
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    const bool hasValue = i + 1 < argc;
    double number = 0;
    if (a == "--module" && hasValue) {
      o.module = argv[++i];
    } else if (a == "--preset" && hasValue) {
      o.preset = argv[++i];
    } else if (a == "--program" && hasValue && parseNumber(argv[i + 1], number) && number >= 0 && number <= 9999 &&
               number == std::floor(number)) {
      o.program = int(number);
      ++i;
    } else if (a == "--demo") {
      const auto demo = zendrel::host::demoPattern();
      o.params.insert(o.params.end(), demo.begin(), demo.end());
    } else if (a == "--param" && hasValue) {
      std::pair<int, float> p;
      if (!parseParam(argv[++i], p)) return "--param wants INDEX=VALUE with INDEX in 0..229, got '" + std::string(argv[i]) + "'";
      o.params.push_back(p);
    } else if (a == "--page" && hasValue && parseNumber(argv[i + 1], number) && (number == 1 || number == 2)) {
      o.page = int(number);
      ++i;
    } else if (a == "--position" && hasValue && parseNumber(argv[i + 1], number) && number >= 0) {
      o.positioned = true;
      o.position = number;
      ++i;
    } else if (a == "--bpm" && hasValue && parseNumber(argv[i + 1], number) && number > 0) {
      o.bpm = number;
      ++i;
    } else if (a == "--scale") {
      if (!hasValue) return "--scale wants a number from 1 to 3";
      const std::string error = zendrel::host::parseScale(argv[++i], o.scale);
      if (!error.empty()) return error;
    } else if (!a.empty() && a[0] != '-') {
      o.output = a;
    } else {
      return "unknown or incomplete option '" + a + "' (see --help)";
    }
  }
  if (o.preset.empty() && o.program > 9) return "--program wants a program number from 0 to 9";
  return "";
}

// One block at the song position, so the engine publishes where it plays.
void playAt(zendrel::host::Host& host, const Options& o) {
  const double rate = 44100.0;
  host.setSampleRate(rate);
  host.setTempo(o.bpm);
  host.setPpqPosition(o.position);
  host.setSamplePosition(o.position * 60.0 / o.bpm * rate);
  host.setPlaying(true);
  host.dispatch(effSetSampleRate, 0, 0, nullptr, float(rate));
  host.dispatch(effMainsChanged, 0, 1);
  std::vector<float> left(64, 0.0f), right(64, 0.0f);
  float* channels[] = {left.data(), right.data()};
  host.processReplacing(channels, channels, 64);
}

bool writePng(const std::vector<uint32_t>& pixels, int32_t width, int32_t height, const std::string& path) {
  cairo_surface_t* surface = cairo_image_surface_create_for_data(
      reinterpret_cast<unsigned char*>(const_cast<uint32_t*>(pixels.data())), CAIRO_FORMAT_ARGB32, width, height,
      width * 4);
  const bool ok = cairo_surface_write_to_png(surface, path.c_str()) == CAIRO_STATUS_SUCCESS;
  cairo_surface_destroy(surface);
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i)
    if (std::strcmp(argv[i], "--help") == 0) {
      std::fputs(kUsage, stdout);
      return 0;
    }
  Options o;
#ifdef ZENDREL_BUILT_MODULE
  o.module = ZENDREL_BUILT_MODULE;
#endif
  const std::string parseError = parse(argc, argv, o);
  if (!parseError.empty()) return fail(parseError);
  zendrel::host::Host host;
  if (!host.load(o.module)) return fail("cannot load '" + o.module + "': " + host.error());
  std::string error;
  if (!o.preset.empty()) {
    if (!zendrel::preset::loadPreset(host, o.preset, o.program, error)) return fail(error);
  } else if (o.program >= 0) {
    host.dispatch(effSetProgram, 0, o.program);
  }
  for (const auto& p : o.params) host.setParameter(p.first, p.second);
  if (o.positioned) playAt(host, o);
  // As a host does: the factor first, then the editor, then its size.
  if (o.scale > 0 && !zendrel::host::setContentScale(host, float(o.scale)))
    std::fprintf(stderr, "zendrel-snapshot: note: the module did not take the scale %g\n", o.scale);
  if (host.dispatch(effEditOpen, 0, 0, nullptr) != 1) return fail("the module's editor did not open");
  int32_t width = 0, height = 0;
  if (!zendrel::host::editorSize(host, width, height))
    return fail("the module gives no size for its editor (is it the Zendrel module?)");
  // Pointer events are in device pixels: the middle of the logical pixel.
  const double s = double(width) / kWidth;
  if (o.page == 2 && !zendrel::host::clickEditor(host, int32_t((kPageTwoX + 0.5) * s), int32_t((kPageTwoY + 0.5) * s), 0x2))
    return fail("the module refused the page switch click (is it the Zendrel module?)");
  host.dispatch(effEditIdle);
  std::vector<uint32_t> pixels;
  if (!zendrel::host::snapshotEditor(host, width, height, pixels))
    return fail("the module drew no picture of its editor (is it the Zendrel module?)");
  host.dispatch(effEditClose);
  if (!writePng(pixels, width, height, o.output)) return fail("cannot write '" + o.output + "'");
  std::printf("zendrel-snapshot: wrote %s (%d x %d)\n", o.output.c_str(), width, height);
  return 0;
}
