#include "host/lib/presets/preset_host.h"

#include <algorithm>
#include <cstring>

namespace zendrel::preset {

Identity identityOf(zendrel::host::Host& host) {
  Identity id;
  const AEffect* e = host.effect();
  if (!e) return id;
  id.uniqueId = e->uniqueID;
  const VstIntPtr vendorVersion = host.dispatch(effGetVendorVersion);
  id.version = vendorVersion != 0 ? static_cast<int32_t>(vendorVersion) : e->version;
  id.numParams = e->numParams;
  id.numPrograms = e->numPrograms;
  return id;
}

void applyProgram(zendrel::host::Host& host, const Program& p) {
  for (size_t i = 0; i < p.values.size(); ++i) host.setParameter(static_cast<VstInt32>(i), p.values[i]);
  char name[24] = {};  // the name field of the record: 23 characters and the zero
  std::memcpy(name, p.name.data(), std::min(p.name.size(), sizeof name - 1));
  host.dispatch(effSetProgramName, 0, 0, name);
}

void applyBank(zendrel::host::Host& host, const Bank& b) {
  const AEffect* e = host.effect();
  if (!e) return;
  const size_t n = std::min(b.programs.size(), static_cast<size_t>(std::max(e->numPrograms, 0)));
  for (size_t i = 0; i < n; ++i) {
    host.dispatch(effSetProgram, 0, static_cast<VstIntPtr>(i));
    applyProgram(host, b.programs[i]);
  }
  if (n > 0) host.dispatch(effSetProgram, 0, std::min<VstIntPtr>(b.current, static_cast<VstIntPtr>(n - 1)));
}

Program captureProgram(zendrel::host::Host& host) {
  Program p;
  // The indexed name gives a program still named by default as such, so that
  // it is numbered by its place again wherever it is loaded.
  const VstIntPtr current = host.dispatch(effGetProgram);
  char name[256] = {};
  p.name = host.dispatch(effGetProgramNameIndexed, static_cast<VstInt32>(current), -1, name) == 1
               ? std::string(name)
               : host.programName();
  const AEffect* e = host.effect();
  const int n = e ? e->numParams : 0;
  p.values.resize(static_cast<size_t>(std::max(n, 0)));
  for (int i = 0; i < n; ++i) p.values[static_cast<size_t>(i)] = host.getParameter(i);
  return p;
}

Bank captureBank(zendrel::host::Host& host) {
  Bank b;
  const AEffect* e = host.effect();
  if (!e) return b;
  const VstIntPtr current = host.dispatch(effGetProgram);
  for (int i = 0; i < e->numPrograms; ++i) {
    host.dispatch(effSetProgram, 0, i);
    b.programs.push_back(captureProgram(host));
  }
  host.dispatch(effSetProgram, 0, current);
  b.current = static_cast<int>(current);
  return b;
}

bool pickProgram(const Bank& b, const std::string& path, int program, Program& out, std::string& error) {
  const int n = static_cast<int>(b.programs.size());
  const int k = program < 0 ? b.current : program;
  if (k >= n) {
    error = path + ": there is no program " + std::to_string(k) + " (the file holds " + std::to_string(n) +
            ", numbered 0 to " + std::to_string(n - 1) + ")";
    return false;
  }
  out = b.programs[static_cast<size_t>(k)];
  return true;
}

bool loadPreset(zendrel::host::Host& host, const std::string& path, int program, std::string& error) {
  if (!host.loaded()) {
    error = "no plug-in is loaded";
    return false;
  }
  Bank bank;
  Format format;
  if (!readPresetFile(path, identityOf(host), bank, format, error)) return false;
  if (program < 0 && format == Format::Fxb) {
    applyBank(host, bank);
    return true;
  }
  Program p;
  if (!pickProgram(bank, path, program < 0 && format == Format::Ardour ? 0 : program, p, error)) return false;
  applyProgram(host, p);
  return true;
}

}  // namespace zendrel::preset
