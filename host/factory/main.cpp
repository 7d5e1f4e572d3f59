// zendrel-factory: writes the factory preset files from their text sources.
//   zendrel-factory SOURCE_DIR OUT_DIR
// SOURCE_DIR holds one folder per bank ("1-gates"), each with one .pattern
// file per pattern, both in the order of their names. Written into OUT_DIR:
// a bank file per folder ("gates.fxb"), a program file per pattern in a folder
// of the bank's name, all patterns in one Ardour preset file, and index.txt
// (bank, file, name and description of each pattern, tab-separated).
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "host/lib/presets/pattern_source.h"
#include "host/lib/presets/preset_files.h"

namespace fs = std::filesystem;

namespace {

int fail(const std::string& message) {
  std::fprintf(stderr, "zendrel-factory: %s\n", message.c_str());
  return 1;
}

// "1-gates" -> "gates": the number only orders the banks.
std::string withoutOrder(const std::string& name) {
  const size_t dash = name.find('-');
  if (dash == std::string::npos) return name;
  for (size_t i = 0; i < dash; ++i)
    if (name[i] < '0' || name[i] > '9') return name;
  return name.substr(dash + 1);
}

std::vector<fs::path> sorted(const fs::path& dir, bool folders) {
  std::vector<fs::path> out;
  for (const auto& e : fs::directory_iterator(dir)) {
    if (folders ? e.is_directory() : (e.is_regular_file() && e.path().extension() == ".pattern"))
      out.push_back(e.path());
  }
  std::sort(out.begin(), out.end());
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) return fail("usage: zendrel-factory SOURCE_DIR OUT_DIR");
  const fs::path source = argv[1], out = argv[2];
  std::error_code ec;
  if (!fs::is_directory(source, ec)) return fail(source.string() + ": no such folder");
  fs::create_directories(out, ec);
  if (ec) return fail(out.string() + ": cannot create the folder (" + ec.message() + ")");
  const zendrel::preset::Identity id;
  zendrel::preset::Bank all;
  std::vector<std::string> names;
  std::string index;
  std::string error;
  for (const fs::path& bankDir : sorted(source, true)) {
    const std::string bankName = withoutOrder(bankDir.filename().string());
    zendrel::preset::Bank bank;
    fs::create_directories(out / bankName, ec);
    for (const fs::path& file : sorted(bankDir, false)) {
      zendrel::preset::Pattern pattern;
      if (!zendrel::preset::readPatternFile(file.string(), pattern, error)) return fail(error);
      if (std::find(names.begin(), names.end(), pattern.program.name) != names.end())
        return fail(file.string() + ": the name '" + pattern.program.name + "' is taken by another pattern");
      names.push_back(pattern.program.name);
      const std::string fxp = withoutOrder(file.stem().string()) + ".fxp";
      zendrel::preset::Bank one;
      one.programs.push_back(pattern.program);
      if (!zendrel::preset::writePresetFile((out / bankName / fxp).string(), zendrel::preset::Format::Fxp, one, 0, id, error))
        return fail(error);
      bank.programs.push_back(pattern.program);
      all.programs.push_back(pattern.program);
      index +=
          bankName + "\t" + bankName + "/" + fxp + "\t" + pattern.program.name + "\t" + pattern.about + "\n";
    }
    if (bank.programs.empty()) return fail(bankDir.string() + ": the bank holds no .pattern files");
    if (!zendrel::preset::writePresetFile((out / (bankName + ".fxb")).string(), zendrel::preset::Format::Fxb, bank, 0, id,
                                  error))
      return fail(error);
  }
  if (all.programs.empty()) return fail(source.string() + ": no bank folders");
  if (!zendrel::preset::writePresetFile((out / zendrel::preset::ardourFileName(id)).string(), zendrel::preset::Format::Ardour, all, 0,
                                id, error))
    return fail(error);
  std::ofstream list(out / "index.txt", std::ios::binary);
  list << index;
  if (!list) return fail((out / "index.txt").string() + ": cannot write");
  return 0;
}
