#include "host/lib/presets/preset_files.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

namespace zendrel::preset {

namespace {

constexpr int32_t kCcnK = fourChar('C', 'c', 'n', 'K');
constexpr int32_t kFxCk = fourChar('F', 'x', 'C', 'k');
constexpr int32_t kFxBk = fourChar('F', 'x', 'B', 'k');
constexpr int32_t kFPCh = fourChar('F', 'P', 'C', 'h');
constexpr int32_t kFBCh = fourChar('F', 'B', 'C', 'h');

int32_t be32(const uint8_t* p) {
  return static_cast<int32_t>((static_cast<uint32_t>(p[0]) << 24) | (static_cast<uint32_t>(p[1]) << 16) |
                              (static_cast<uint32_t>(p[2]) << 8) | static_cast<uint32_t>(p[3]));
}

float beFloat(const uint8_t* p) {
  const uint32_t bits = static_cast<uint32_t>(be32(p));
  float f;
  std::memcpy(&f, &bits, sizeof f);
  return f;
}

void put32(std::vector<uint8_t>& out, int32_t v) {
  const uint32_t u = static_cast<uint32_t>(v);
  out.push_back(static_cast<uint8_t>(u >> 24));
  out.push_back(static_cast<uint8_t>(u >> 16));
  out.push_back(static_cast<uint8_t>(u >> 8));
  out.push_back(static_cast<uint8_t>(u));
}

void putFloat(std::vector<uint8_t>& out, float f) {
  uint32_t bits;
  std::memcpy(&bits, &f, sizeof bits);
  put32(out, static_cast<int32_t>(bits));
}

std::string num(long long v) { return std::to_string(v); }

std::string idText(int32_t code) { return codeText(code) + " (" + num(code) + ")"; }

// The outer header every file of the family starts with: 'CcnK' and the count
// of the bytes after the count. Checked against the size before anything else,
// so a cut-off file is reported as cut off.
bool checkOuter(const std::vector<uint8_t>& b, const std::string& file, std::string& error) {
  if (b.size() < 12) {
    error = file + ": truncated: " + num(static_cast<long long>(b.size())) +
            " bytes, too short for a preset file's header";
    return false;
  }
  if (be32(b.data()) != kCcnK) {
    error = file + ": not a preset file: starts with " + codeText(be32(b.data())) + ", expected 'CcnK'";
    return false;
  }
  const long long declared = static_cast<uint32_t>(be32(b.data() + 4));
  const long long present = static_cast<long long>(b.size()) - 8;
  if (declared > present) {
    error = file + ": truncated: the header counts " + num(declared) + " bytes after it, the file has " +
            num(present);
    return false;
  }
  if (declared != present) {
    error = file + ": the byte count " + num(declared) + " disagrees with the file's size (" + num(present) +
            " bytes after the count)";
    return false;
  }
  return true;
}

bool checkKind(int32_t kind, int32_t wanted, const std::string& file, std::string& error) {
  if (kind == wanted) return true;
  if (kind == kFPCh || kind == kFBCh) {
    error = file + ": holds an opaque chunk (" + codeText(kind) +
            "); Zendrel's presets are parameter lists ('FxCk' or 'FxBk')";
  } else if ((kind == kFxCk || kind == kFxBk) && kind != wanted) {
    error = file + ": is a " + (kind == kFxCk ? std::string("program file ('FxCk')") : "bank file ('FxBk')") +
            ", not a " + (wanted == kFxCk ? "program file" : "bank file");
  } else {
    error = file + ": unknown preset kind " + codeText(kind) + " (expected 'FxCk' or 'FxBk')";
  }
  return false;
}

bool checkPlugin(int32_t uniqueId, const std::string& file, const Identity& id, std::string& error) {
  if (uniqueId == id.uniqueId) return true;
  error = file + ": made for another plug-in: unique ID " + idText(uniqueId) + ", expected " +
          idText(id.uniqueId);
  return false;
}

// One program record ('FxCk' .. values) at b[at], exactly `size` bytes long.
bool readRecord(const uint8_t* p, size_t size, const std::string& file, const Identity& id, Program& out,
                std::string& error) {
  if (!checkKind(be32(p + 8), kFxCk, file, error)) return false;
  const int32_t version = be32(p + 12);
  if (version != 1) {
    error = file + ": program format version " + num(version) + " is not known (expected 1)";
    return false;
  }
  if (!checkPlugin(be32(p + 16), file, id, error)) return false;
  const int32_t count = be32(p + 24);
  if (count != id.numParams) {
    error = file + ": holds " + num(count) + " parameters, the plug-in has " + num(id.numParams);
    return false;
  }
  const size_t expected = kProgramHeader + 4 * static_cast<size_t>(id.numParams);
  if (size != expected) {
    error = file + ": " + num(static_cast<long long>(size)) + " bytes for a program of " + num(count) +
            " parameters, which takes " + num(static_cast<long long>(expected));
    return false;
  }
  const uint8_t* name = p + 28;
  const void* zero = std::memchr(name, 0, kNameField);
  if (!zero) {
    error = file + ": the program name has no terminating zero in its 28 bytes";
    return false;
  }
  Program prog;
  prog.name.assign(reinterpret_cast<const char*>(name), static_cast<const uint8_t*>(zero) - name);
  prog.values.resize(static_cast<size_t>(count));
  for (int32_t i = 0; i < count; ++i) {
    const float v = beFloat(p + kProgramHeader + 4 * static_cast<size_t>(i));
    if (!std::isfinite(v)) {
      error = file + ": parameter " + num(i) + " is not a finite number (" +
              (std::isnan(v) ? "NaN" : "infinite") + ")";
      return false;
    }
    prog.values[static_cast<size_t>(i)] = v;
  }
  out = std::move(prog);
  return true;
}

void putRecord(std::vector<uint8_t>& out, const Program& p, const Identity& id) {
  put32(out, kCcnK);
  put32(out, static_cast<int32_t>(kProgramHeader - 8 + 4 * static_cast<size_t>(id.numParams)));
  put32(out, kFxCk);
  put32(out, 1);
  put32(out, id.uniqueId);
  put32(out, id.version);
  put32(out, id.numParams);
  char name[kNameField] = {};
  std::memcpy(name, p.name.data(), std::min(p.name.size(), kNameField - 1));
  out.insert(out.end(), name, name + kNameField);
  for (int32_t i = 0; i < id.numParams; ++i)
    putFloat(out, static_cast<size_t>(i) < p.values.size() ? p.values[static_cast<size_t>(i)] : 0.0f);
}

std::string lower(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return s;
}

std::string baseName(const std::string& path) {
  const size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

const char* formatName(Format f) {
  switch (f) {
    case Format::Fxp:
      return "program file (.fxp)";
    case Format::Fxb:
      return "bank file (.fxb)";
    case Format::Ardour:
      return "Ardour preset file";
  }
  return "?";
}

std::string codeText(int32_t code) {
  std::string s = "'";
  for (int shift = 24; shift >= 0; shift -= 8) {
    const unsigned char c = static_cast<unsigned char>(static_cast<uint32_t>(code) >> shift);
    if (c >= 0x20 && c < 0x7f && c != '\'' && c != '\\') {
      s += static_cast<char>(c);
    } else {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", c);
      s += hex;
    }
  }
  return s + "'";
}

bool readFxp(const std::vector<uint8_t>& b, const std::string& file, const Identity& id, Program& out,
             std::string& error) {
  if (!checkOuter(b, file, error)) return false;
  if (be32(b.data() + 8) != kFxCk) return checkKind(be32(b.data() + 8), kFxCk, file, error);
  if (b.size() < kProgramHeader) {
    error = file + ": truncated: " + num(static_cast<long long>(b.size())) +
            " bytes, a program's header alone takes " + num(kProgramHeader);
    return false;
  }
  return readRecord(b.data(), b.size(), file, id, out, error);
}

bool readFxb(const std::vector<uint8_t>& b, const std::string& file, const Identity& id, Bank& out,
             std::string& error) {
  if (!checkOuter(b, file, error)) return false;
  if (!checkKind(be32(b.data() + 8), kFxBk, file, error)) return false;
  if (b.size() < kBankHeader) {
    error = file + ": truncated: " + num(static_cast<long long>(b.size())) +
            " bytes, a bank's header alone takes " + num(kBankHeader);
    return false;
  }
  const int32_t version = be32(b.data() + 12);
  if (version != 1 && version != 2) {
    error = file + ": bank format version " + num(version) + " is not known (expected 1 or 2)";
    return false;
  }
  if (!checkPlugin(be32(b.data() + 16), file, id, error)) return false;
  const int32_t count = be32(b.data() + 24);
  if (count < 1 || count > id.numPrograms) {
    error = file + ": holds " + num(count) + " programs; a bank for this plug-in holds 1 to " +
            num(id.numPrograms);
    return false;
  }
  const size_t record = kProgramHeader + 4 * static_cast<size_t>(id.numParams);
  const size_t expected = kBankHeader + record * static_cast<size_t>(count);
  if (b.size() != expected) {
    // A record's own header tells another parameter count or kind more plainly
    // than the size does, so look at the first one when it is there.
    if (b.size() >= kBankHeader + kProgramHeader) {
      Program probe;
      const std::string where = file + " (program 1)";
      if (!checkKind(be32(b.data() + kBankHeader + 8), kFxCk, where, error)) return false;
      if (be32(b.data() + kBankHeader + 24) != id.numParams) {
        error = where + ": holds " + num(be32(b.data() + kBankHeader + 24)) +
                " parameters, the plug-in has " + num(id.numParams);
        return false;
      }
    }
    error = file + ": " + num(static_cast<long long>(b.size())) + " bytes for a bank of " + num(count) +
            " programs, which takes " + num(static_cast<long long>(expected)) +
            (b.size() < expected ? " (truncated)" : "");
    return false;
  }
  const int32_t current = version == 2 ? be32(b.data() + 28) : 0;
  if (current < 0 || current >= count) {
    error = file + ": the current program " + num(current) + " is not one of the bank's " + num(count);
    return false;
  }
  Bank bank;
  bank.current = current;
  bank.programs.resize(static_cast<size_t>(count));
  for (int32_t i = 0; i < count; ++i) {
    const uint8_t* p = b.data() + kBankHeader + record * static_cast<size_t>(i);
    const std::string where = file + " (program " + num(i + 1) + ")";
    if (be32(p) != kCcnK) {
      error = where + ": the record starts with " + codeText(be32(p)) + ", expected 'CcnK'";
      return false;
    }
    if (static_cast<uint32_t>(be32(p + 4)) != record - 8) {
      error = where + ": the record's byte count " + num(static_cast<uint32_t>(be32(p + 4))) +
              " disagrees with its size (" + num(static_cast<long long>(record - 8)) + ")";
      return false;
    }
    if (!readRecord(p, record, where, id, bank.programs[static_cast<size_t>(i)], error)) return false;
  }
  out = std::move(bank);
  return true;
}

bool readPresetBytes(const std::vector<uint8_t>& b, const std::string& file, const Identity& id, Bank& out,
                     Format& format, std::string& error) {
  // XML, perhaps after a byte-order mark and white space, is Ardour's.
  size_t first = b.size() >= 3 && b[0] == 0xEF && b[1] == 0xBB && b[2] == 0xBF ? 3 : 0;
  while (first < b.size() && (b[first] == ' ' || b[first] == '\t' || b[first] == '\r' || b[first] == '\n'))
    ++first;
  if (first < b.size() && b[first] == '<') {
    format = Format::Ardour;
    return readArdour(std::string(b.begin(), b.end()), file, id, out, error);
  }
  if (b.size() >= 12 && be32(b.data()) == kCcnK &&
      (be32(b.data() + 8) == kFxBk || be32(b.data() + 8) == kFBCh)) {
    format = Format::Fxb;
    return readFxb(b, file, id, out, error);
  }
  format = Format::Fxp;
  Program p;
  if (!readFxp(b, file, id, p, error)) return false;
  out = Bank{};
  out.programs.push_back(std::move(p));
  return true;
}

bool readPresetFile(const std::string& path, const Identity& id, Bank& out, Format& format,
                    std::string& error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = path + ": cannot open the file (no such file, or not readable)";
    return false;
  }
  // Far beyond any preset file (a bank is under 10 KB, all factory presets as
  // XML under 300 KB): refused before it is read into memory.
  constexpr std::streamoff kLargest = 64 << 20;
  in.seekg(0, std::ios::end);
  const std::streamoff size = in.tellg();
  in.seekg(0, std::ios::beg);
  if (size > kLargest) {
    error = path + ": " + num(static_cast<long long>(size)) + " bytes is too large for a preset file";
    return false;
  }
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) {
    error = path + ": cannot read the file";
    return false;
  }
  if (bytes.empty()) {
    error = path + ": the file is empty";
    return false;
  }
  return readPresetBytes(bytes, path, id, out, format, error);
}

std::vector<uint8_t> fxpBytes(const Program& p, const Identity& id) {
  std::vector<uint8_t> out;
  putRecord(out, p, id);
  return out;
}

std::vector<uint8_t> fxbBytes(const Bank& b, const Identity& id) {
  std::vector<uint8_t> out;
  const size_t record = kProgramHeader + 4 * static_cast<size_t>(id.numParams);
  put32(out, kCcnK);
  put32(out, static_cast<int32_t>(kBankHeader - 8 + record * b.programs.size()));
  put32(out, kFxBk);
  put32(out, 2);
  put32(out, id.uniqueId);
  put32(out, id.version);
  put32(out, static_cast<int32_t>(b.programs.size()));
  put32(out, b.current);
  out.resize(kBankHeader, 0);
  for (const Program& p : b.programs) putRecord(out, p, id);
  return out;
}

std::string ardourFileName(const Identity& id) {
  char name[32];
  std::snprintf(name, sizeof name, "vst-%010u", static_cast<unsigned>(id.uniqueId));
  return name;
}

bool formatForName(const std::string& path, Format& format) {
  const std::string base = lower(baseName(path));
  auto endsWith = [&](const char* ext) {
    const size_t n = std::strlen(ext);
    return base.size() >= n && base.compare(base.size() - n, n, ext) == 0;
  };
  if (endsWith(".fxp"))
    format = Format::Fxp;
  else if (endsWith(".fxb"))
    format = Format::Fxb;
  else if (base.compare(0, 4, "vst-") == 0 || endsWith(".xml"))
    format = Format::Ardour;
  else
    return false;
  return true;
}

bool writePresetFile(const std::string& path, Format format, const Bank& b, int program, const Identity& id,
                     std::string& error) {
  if (b.programs.empty()) {
    error = path + ": nothing to write (no programs)";
    return false;
  }
  std::vector<uint8_t> bytes;
  if (format == Format::Fxp) {
    if (program < 0 || static_cast<size_t>(program) >= b.programs.size()) {
      error = path + ": there is no program " + num(program + 1) + " to write (there are " +
              num(static_cast<long long>(b.programs.size())) + ")";
      return false;
    }
    bytes = fxpBytes(b.programs[static_cast<size_t>(program)], id);
  } else if (format == Format::Fxb) {
    if (b.programs.size() > static_cast<size_t>(id.numPrograms)) {
      error = path + ": a bank holds at most " + num(id.numPrograms) + " programs, there are " +
              num(static_cast<long long>(b.programs.size())) +
              " (write them as .fxp files or one Ardour file)";
      return false;
    }
    bytes = fxbBytes(b, id);
  } else {
    const std::string text = ardourText(b, id);
    bytes.assign(text.begin(), text.end());
  }
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out) {
    error = path + ": cannot create the file";
    return false;
  }
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) {
    error = path + ": cannot write the file";
    return false;
  }
  return true;
}

}  // namespace zendrel::preset
