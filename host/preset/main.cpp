// zendrel-preset: what is in a preset file, the same presets in another format,
// and a module's program written to a file.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "host/lib/demo_pattern.h"
#include "host/lib/host.h"
#include "host/lib/module_path.h"
#include "host/lib/presets/pattern_source.h"
#include "host/lib/presets/preset_host.h"

namespace {

#ifndef ZENDREL_BUILT_MODULE
#define ZENDREL_BUILT_MODULE nullptr
#endif

const char* const kUsage =
    "usage: zendrel-preset list FILE\n"
    "       zendrel-preset convert [--program N] IN OUT\n"
    "       zendrel-preset save [--module PATH] [--program N] [--demo] OUT\n"
    "\n"
    "Preset files of the Zendrel plug-in: program files (.fxp), bank files (.fxb) and\n"
    "Ardour's preset file (named vst-1516524140, or any name ending in .xml).\n"
    "\n"
    "  list      one line per program: number, name, step count, step length and a\n"
    "            picture of the gates ('_' silent .. '#' full, '~' merges into the next)\n"
    "  convert   writes IN's presets in the format OUT's name asks for. A program file\n"
    "            takes one program (--program N, counted from 0; default: the current\n"
    "            one of a bank, else the first); a bank holds at most 10\n"
    "  save      loads the module (default: the one built with this tool) and writes\n"
    "            its current program (to .fxp or Ardour's file) or all its programs\n"
    "            (to .fxb); --program N selects program N (0..9) first, --demo sets\n"
    "            the demo pattern the render and snapshot tools play\n";

int fail(const std::string& message) {
  std::fprintf(stderr, "zendrel-preset: %s\n", message.c_str());
  return 1;
}

bool parseIndex(const char* s, int& out) {
  char* end = nullptr;
  const long v = std::strtol(s, &end, 10);
  if (end == s || *end || v < 0 || v > 100000) return false;
  out = static_cast<int>(v);
  return true;
}

int list(const std::string& path) {
  zendrel::preset::Bank bank;
  zendrel::preset::Format format;
  std::string error;
  if (!zendrel::preset::readPresetFile(path, zendrel::preset::Identity{}, bank, format, error)) return fail(error);
  std::printf("%s: %s, %zu program%s\n", path.c_str(), zendrel::preset::formatName(format), bank.programs.size(),
              bank.programs.size() == 1 ? "" : "s");
  for (size_t i = 0; i < bank.programs.size(); ++i) {
    const zendrel::preset::Program& p = bank.programs[i];
    const std::string current = format == zendrel::preset::Format::Fxb && int(i) == bank.current ? "*" : " ";
    std::printf("%s%2zu  %-23s %2d x %-11s %s\n", current.c_str(), i, p.name.c_str(), zendrel::preset::stepCountOf(p),
                zendrel::preset::stepLengthNameOf(p).c_str(), zendrel::preset::gatePicture(p).c_str());
  }
  return 0;
}

int write(const std::string& path, const zendrel::preset::Bank& bank, int program, const zendrel::preset::Identity& id) {
  zendrel::preset::Format format;
  if (!zendrel::preset::formatForName(path, format))
    return fail(path + ": cannot tell the format from the name (use .fxp, .fxb, .xml or vst-<ID>)");
  if (format == zendrel::preset::Format::Ardour && program >= 0) {
    // One preset asked for: the Ardour file holds that one alone.
    zendrel::preset::Program p;
    std::string error;
    if (!zendrel::preset::pickProgram(bank, path, program, p, error)) return fail(error);
    return write(path, zendrel::preset::Bank{{p}, 0}, -1, id);
  }
  if (format == zendrel::preset::Format::Fxb && program >= 0)
    return fail("--program picks one program; a bank file holds them all (leave --program out)");
  std::string error;
  const int pick = program >= 0 ? program : bank.current;
  if (!zendrel::preset::writePresetFile(path, format, bank, pick, id, error)) return fail(error);
  std::printf("zendrel-preset: wrote %s (%s)\n", path.c_str(), zendrel::preset::formatName(format));
  return 0;
}

int convert(const std::string& in, const std::string& out, int program) {
  zendrel::preset::Bank bank;
  zendrel::preset::Format format;
  std::string error;
  if (!zendrel::preset::readPresetFile(in, zendrel::preset::Identity{}, bank, format, error)) return fail(error);
  if (program >= 0 && static_cast<size_t>(program) >= bank.programs.size())
    return fail(in + ": there is no program " + std::to_string(program) + " (the file holds " +
                std::to_string(bank.programs.size()) + ", numbered 0 to " +
                std::to_string(bank.programs.size() - 1) + ")");
  return write(out, bank, program, zendrel::preset::Identity{});
}

int save(const std::string& module, int program, bool demo, const std::string& out) {
  zendrel::host::Host host;
  if (!host.load(module)) return fail("cannot load '" + module + "': " + host.error());
  const zendrel::preset::Identity id = zendrel::preset::identityOf(host);
  if (program >= id.numPrograms)
    return fail("the module has programs 0 to " + std::to_string(id.numPrograms - 1) + ", not " +
                std::to_string(program));
  if (program >= 0) host.dispatch(effSetProgram, 0, program);
  if (demo)
    for (const auto& p : zendrel::host::demoPattern()) host.setParameter(p.first, p.second);
  zendrel::preset::Format format;
  if (!zendrel::preset::formatForName(out, format))
    return fail(out + ": cannot tell the format from the name (use .fxp, .fxb, .xml or vst-<ID>)");
  zendrel::preset::Bank bank;
  if (format == zendrel::preset::Format::Fxb)
    bank = zendrel::preset::captureBank(host);
  else
    bank.programs.push_back(zendrel::preset::captureProgram(host));
  return write(out, bank, -1, id);
}

}  // namespace

int main(int argc, char** argv) {
  zendrel::host::setBinaryStdout();
  std::vector<std::string> args;
  std::string module;
  int program = -1;
  bool demo = false;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--help" || a == "-h") {
      std::fputs(kUsage, stdout);
      return 0;
    } else if (a == "--program") {
      if (i + 1 >= argc || !parseIndex(argv[i + 1], program))
        return fail("--program wants a program number counted from 0");
      ++i;
    } else if (a == "--module") {
      if (i + 1 >= argc) return fail("--module wants a path");
      module = argv[++i];
    } else if (a == "--demo") {
      demo = true;
    } else if (a.size() > 1 && a[0] == '-') {
      return fail("unknown option '" + a + "' (see --help)");
    } else {
      args.push_back(a);
    }
  }
  if (args.empty()) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  const std::string& command = args[0];
  if (command == "list" && args.size() == 2 && program < 0 && !demo && module.empty()) return list(args[1]);
  if (command == "convert" && args.size() == 3 && !demo && module.empty())
    return convert(args[1], args[2], program);
  if (command == "save" && args.size() == 2) {
    if (module.empty()) module = zendrel::host::defaultModulePath(ZENDREL_BUILT_MODULE);
    return save(module, program, demo, args[1]);
  }
  return fail("'" + command + "' with these arguments is not a command (see --help)");
}
