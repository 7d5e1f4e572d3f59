// Preset files of VST 2.x parameter presets: program files (.fxp), bank files
// (.fxb) and Ardour's XML preset file. Readers are strict: a file is either
// read whole and checked, or rejected with one line naming the file and what is
// wrong; nothing of a rejected file reaches the caller.
//
// Only parameter lists are read and written: the opaque-chunk variants are
// rejected, since Zendrel keeps its state in its parameters.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zendrel::preset {

// 'ZdRl', first character in the highest byte.
constexpr int32_t fourChar(char a, char b, char c, char d) {
  return static_cast<int32_t>((static_cast<uint32_t>(static_cast<unsigned char>(a)) << 24) |
                              (static_cast<uint32_t>(static_cast<unsigned char>(b)) << 16) |
                              (static_cast<uint32_t>(static_cast<unsigned char>(c)) << 8) |
                              static_cast<uint32_t>(static_cast<unsigned char>(d)));
}

// What a file must match: the plug-in's identity as its record reports it.
struct Identity {
  int32_t uniqueId = fourChar('Z', 'd', 'R', 'l');
  int32_t version = 1000;
  int32_t numParams = 230;
  int32_t numPrograms = 10;  // the most programs a bank may hold
};

// The 28-byte name field holds at most 27 characters and its zero.
constexpr size_t kNameField = 28;
constexpr size_t kProgramHeader = 56;  // 'CcnK' .. name
constexpr size_t kBankHeader = 156;    // 'CcnK' .. the 128 reserved bytes

struct Program {
  std::string name;
  std::vector<float> values;
};

struct Bank {
  std::vector<Program> programs;
  int current = 0;  // a version-2 bank's current program; 0 otherwise
};

enum class Format { Fxp, Fxb, Ardour };
const char* formatName(Format f);

// Readers of bytes already in memory. `file` names the source in errors.
bool readFxp(const std::vector<uint8_t>& bytes, const std::string& file, const Identity& id, Program& out,
             std::string& error);
bool readFxb(const std::vector<uint8_t>& bytes, const std::string& file, const Identity& id, Bank& out,
             std::string& error);
bool readArdour(const std::string& text, const std::string& file, const Identity& id, Bank& out,
                std::string& error);
// Any of the three, told apart by content. A program file becomes a bank of one.
bool readPresetBytes(const std::vector<uint8_t>& bytes, const std::string& file, const Identity& id,
                     Bank& out, Format& format, std::string& error);
bool readPresetFile(const std::string& path, const Identity& id, Bank& out, Format& format,
                    std::string& error);

// Writers. Names longer than 27 bytes are cut; values are written as they are.
std::vector<uint8_t> fxpBytes(const Program& p, const Identity& id);
// Version 2 (the current program in the reserved bytes).
std::vector<uint8_t> fxbBytes(const Bank& b, const Identity& id);
std::string ardourText(const Bank& b, const Identity& id);
// Ardour looks for a plug-in's presets in a file of this name: "vst-1516524140".
std::string ardourFileName(const Identity& id);
// The format a file name asks for: .fxp, .fxb, or Ardour's "vst-<ID>" (or .xml).
bool formatForName(const std::string& path, Format& format);
// Writes the bank in a format: a program file takes program `program` of it.
// A bank file holds at most id.numPrograms programs.
bool writePresetFile(const std::string& path, Format format, const Bank& b, int program, const Identity& id,
                     std::string& error);

// Text of a four-character code, 'ZdRl'; other bytes as \xNN.
std::string codeText(int32_t code);

}  // namespace zendrel::preset
