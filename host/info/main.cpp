// zendrel-info [--lifecycle] [MODULE]: loads a plug-in module as a host's
// scanner would and prints its identity, its programs and a table of all its
// parameters; with --lifecycle it then runs the instance through a host's
// life cycle (rates, audio blocks, a headless editor, close). The text is
// deterministic and the same on every platform for the same plug-in.
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "host/lib/host.h"
#include "host/lib/module_path.h"

namespace {

std::string printable(std::string text) {
  for (char& c : text)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) c = '?';
  return text;
}

const char* categoryName(VstIntPtr category) {
  static const char* const names[] = {"unknown",     "effect",     "synth",
                                      "analysis",    "mastering",  "spatializer",
                                      "room effect", "surround effect", "restoration",
                                      "offline process", "shell",  "generator"};
  if (category >= 0 && category < static_cast<VstIntPtr>(sizeof names / sizeof names[0]))
    return names[category];
  return "not a known category";
}

std::string flagNames(VstInt32 flags) {
  static const struct {
    VstInt32 bit;
    const char* name;
  } known[] = {{effFlagsHasEditor, "has editor"},
               {effFlagsHasClip, "has clip"},
               {effFlagsHasVu, "has vu"},
               {effFlagsCanMono, "can mono"},
               {effFlagsCanReplacing, "can replace"},
               {effFlagsProgramChunks, "program chunks"},
               {effFlagsIsSynth, "synth"},
               {effFlagsNoSoundInStop, "no sound in stop"},
               {effFlagsExtIsAsync, "async"},
               {effFlagsExtHasBuffer, "has buffer"},
               {effFlagsCanDoubleReplacing, "can double replace"}};
  std::string text;
  VstInt32 rest = flags;
  for (const auto& f : known)
    if (flags & f.bit) {
      if (!text.empty()) text += ", ";
      text += f.name;
      rest &= ~f.bit;
    }
  if (rest) {
    char unknown[32];
    std::snprintf(unknown, sizeof unknown, "0x%08X", static_cast<unsigned>(rest));
    if (!text.empty()) text += ", ";
    text += std::string("unknown bits ") + unknown;
  }
  return text.empty() ? "none" : text;
}

// The module this program was built with, where the build knows it.
#ifdef ZENDREL_BUILT_MODULE
const char* const kBuiltModule = ZENDREL_BUILT_MODULE;
#else
const char* const kBuiltModule = nullptr;
#endif

void row(const char* name, const std::string& value) {
  std::printf("  %-16s%s\n", name, value.c_str());
}

void row(const char* name, long long value) { row(name, std::to_string(value)); }

// Create-to-close as a host drives it; false when a step misbehaves.
bool lifecycle(zendrel::host::Host& host) {
  bool sane = true;
  std::printf("\nLifecycle\n");
  host.dispatch(effMainsChanged, 0, 0);
  host.dispatch(effSetSampleRate, 0, 0, nullptr, 48000.0f);
  host.dispatch(effSetBlockSize, 0, 512);
  host.dispatch(effMainsChanged, 0, 1);
  row("rate and block", "48000 Hz, 512 frames, resumed");
  host.setSampleRate(48000.0);
  host.setPlaying(true);
  float left[512], right[512], outLeft[512], outRight[512];
  for (int n = 0; n < 512; ++n) {
    left[n] = std::sin(n * 0.05f) * 0.5f;
    right[n] = -left[n];
  }
  float* in[2] = {left, right};
  float* out[2] = {outLeft, outRight};
  bool finite = true;
  std::size_t timeBefore = host.count(audioMasterGetTime);
  for (int block = 0; block < 16; ++block) {
    host.processReplacing(in, out, 512);
    for (int n = 0; n < 512; ++n)
      finite = finite && std::isfinite(outLeft[n]) && std::isfinite(outRight[n]);
  }
  std::size_t timeRequests = host.count(audioMasterGetTime) - timeBefore;
  row("audio", std::string("16 blocks, ") + (finite ? "finite output" : "NON-FINITE OUTPUT") +
                   ", " + std::to_string(timeRequests) + " time requests");
  sane = sane && finite;
  ERect* rect = nullptr;
  VstIntPtr hasRect = host.dispatch(effEditGetRect, 0, 0, &rect);
  if (hasRect && rect)
    row("editor size", std::to_string(rect->right - rect->left) + " x " +
                           std::to_string(rect->bottom - rect->top));
  else
    row("editor size", "none");
  row("editor open", std::string("headless, answered ") +
                         std::to_string(static_cast<long long>(host.dispatch(effEditOpen))));
  for (int i = 0; i < 3; ++i) host.dispatch(effEditIdle);
  host.dispatch(effEditClose);
  row("editor idle", "3 times, then closed");
  host.dispatch(effMainsChanged, 0, 0);
  VstIntPtr closed = host.dispatch(effClose);
  row("close", std::string("answered ") + std::to_string(static_cast<long long>(closed)));
  return sane && closed == 1;
}

// The identity block: names, numbers and flags of the record.
void printIdentity(zendrel::host::Host& host) {
  AEffect* e = host.effect();
  VstIntPtr category = host.dispatch(effGetPlugCategory);
  char id[32];
  std::snprintf(id, sizeof id, "%s (0x%08X)", zendrel::host::fourCharText(e->uniqueID).c_str(),
                static_cast<unsigned>(e->uniqueID));
  char flags[24];
  std::snprintf(flags, sizeof flags, "0x%08X", static_cast<unsigned>(e->flags));

  std::printf("Plug-in\n");
  row("Effect name", printable(host.effectName()));
  row("Vendor", printable(host.vendorString()));
  row("Product", printable(host.productString()));
  row("Vendor version", static_cast<long long>(host.dispatch(effGetVendorVersion)));
  row("Unique ID", id);
  row("Category", std::to_string(static_cast<long long>(category)) + " (" +
                      categoryName(category) + ")");
  row("VST version", static_cast<long long>(host.dispatch(effGetVstVersion)));
  row("Version", e->version);
  row("Programs", e->numPrograms);
  row("Parameters", e->numParams);
  row("Inputs", e->numInputs);
  row("Outputs", e->numOutputs);
  row("Initial delay", e->initialDelay);
  row("Flags", std::string(flags) + " (" + flagNames(e->flags) + ")");
  row("Current program", static_cast<long long>(host.dispatch(effGetProgram)));
}

void printPrograms(zendrel::host::Host& host) {
  std::printf("\nPrograms\n");
  for (VstInt32 i = 0; i < host.effect()->numPrograms; ++i) {
    char name[256] = {};
    VstIntPtr ok = host.dispatch(effGetProgramNameIndexed, i, -1, name);
    name[sizeof name - 1] = '\0';
    std::printf("  %5d  %s\n", i, ok ? printable(name).c_str() : "(no name)");
  }
}

void printParameters(zendrel::host::Host& host) {
  std::printf("\nParameters\n");
  std::printf("  %5s  %-16s  %-8s  %9s  %s\n", "Index", "Name", "Label", "Value", "Display");
  for (VstInt32 i = 0; i < host.effect()->numParams; ++i) {
    std::string name = printable(host.parameterName(i));
    std::string label = printable(host.parameterLabel(i));
    std::string display = printable(host.parameterDisplay(i));
    double value = host.getParameter(i);
    char line[512];
    std::snprintf(line, sizeof line, "  %5d  %-16s  %-8s  %9.6f  %s", i, name.c_str(),
                  label.c_str(), value, display.c_str());
    std::string text(line);
    while (!text.empty() && text.back() == ' ') text.pop_back();
    std::printf("%s\n", text.c_str());
  }
}

// The command line: --lifecycle, --help and one module path. 0 to go on,
// else the exit status.
int parseArguments(int argc, char** argv, bool& runLifecycle, std::string& path) {
  bool usageError = false, help = false;
  for (int i = 1; i < argc; ++i) {
    if (!std::strcmp(argv[i], "-h") || !std::strcmp(argv[i], "--help"))
      help = true;
    else if (!std::strcmp(argv[i], "--lifecycle"))
      runLifecycle = true;
    else if (argv[i][0] == '-' || !path.empty())
      usageError = true;
    else
      path = argv[i];
  }
  if (!help && !usageError) return 0;
  std::fprintf(usageError ? stderr : stdout,
               "usage: zendrel-info [--lifecycle] [MODULE]\n"
               "Prints the identity, programs and parameters of a plug-in module\n"
               "(default: the zendrel module built beside this program);\n"
               "--lifecycle then runs it through a host's life cycle.\n");
  return usageError ? 2 : -1;
}

}  // namespace

int main(int argc, char** argv) {
  zendrel::host::setBinaryStdout();
  bool runLifecycle = false;
  std::string path;
  if (const int status = parseArguments(argc, argv, runLifecycle, path)) return status < 0 ? 0 : status;
  if (path.empty()) path = zendrel::host::defaultModulePath(kBuiltModule);

  zendrel::host::Host host;
  if (!host.load(path)) {
    std::fprintf(stderr, "zendrel-info: %s\n", host.error().c_str());
    return 1;
  }
  host.dispatch(effOpen);
  printIdentity(host);
  printPrograms(host);
  printParameters(host);

  bool sane = true;
  if (runLifecycle) {
    sane = lifecycle(host);
    if (!sane) std::fprintf(stderr, "zendrel-info: the module misbehaved in its life cycle (see above)\n");
  } else {
    host.dispatch(effClose);
  }
  return std::fflush(stdout) == 0 && sane ? 0 : 1;
}
