// zendrel-info [MODULE]: loads a plug-in module as a host's scanner would and
// prints its identity, its programs and a table of all its parameters. The
// text is deterministic and the same on every platform for the same plug-in.
#include <cstdio>
#include <cstring>
#include <string>
#include <sys/stat.h>

#include "host/lib/host.h"

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

bool fileExists(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0;
}

std::string defaultModule() {
  std::string beside = zhost::executableDirectory() + zhost::moduleFileName("zendrel");
  if (fileExists(beside)) return beside;
#ifdef ZENDREL_BUILT_MODULE
  return ZENDREL_BUILT_MODULE;
#else
  return beside;
#endif
}

void row(const char* name, const std::string& value) {
  std::printf("  %-16s%s\n", name, value.c_str());
}

void row(const char* name, long long value) { row(name, std::to_string(value)); }

}  // namespace

int main(int argc, char** argv) {
  zhost::setBinaryStdout();
  if (argc > 2 || (argc == 2 && (!std::strcmp(argv[1], "-h") || !std::strcmp(argv[1], "--help")))) {
    std::fprintf(argc > 2 ? stderr : stdout,
                 "usage: zendrel-info [MODULE]\n"
                 "Prints the identity, programs and parameters of a plug-in module\n"
                 "(default: the zendrel module built beside this program).\n");
    return argc > 2 ? 2 : 0;
  }
  const std::string path = argc == 2 ? argv[1] : defaultModule();

  zhost::Host host;
  if (!host.load(path)) {
    std::fprintf(stderr, "zendrel-info: %s\n", host.error().c_str());
    return 1;
  }
  AEffect* e = host.effect();
  host.dispatch(effOpen);

  VstIntPtr category = host.dispatch(effGetPlugCategory);
  char id[32];
  std::snprintf(id, sizeof id, "%s (0x%08X)", zhost::fourCharText(e->uniqueID).c_str(),
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

  std::printf("\nPrograms\n");
  for (VstInt32 i = 0; i < e->numPrograms; ++i) {
    char name[256] = {};
    VstIntPtr ok = host.dispatch(effGetProgramNameIndexed, i, -1, name);
    name[sizeof name - 1] = '\0';
    std::printf("  %5d  %s\n", i, ok ? printable(name).c_str() : "(no name)");
  }

  std::printf("\nParameters\n");
  std::printf("  %5s  %-16s  %-8s  %9s  %s\n", "Index", "Name", "Label", "Value", "Display");
  for (VstInt32 i = 0; i < e->numParams; ++i) {
    std::string name = printable(host.parameterName(i));
    std::string label = printable(host.parameterLabel(i));
    std::string display = printable(host.parameterDisplay(i));
    double value = host.getParameter(i);
    std::printf("  %5d  %-16s  %-8s  %9.6f  %s\n", i, name.c_str(), label.c_str(), value,
                display.c_str());
  }

  host.dispatch(effClose);
  return std::fflush(stdout) == 0 ? 0 : 1;
}
