// What every dispatcher opcode takes, as a careful host passes it: which
// argument carries a pointer, to what kind of buffer and of what size. The
// sizes are those of the published records (and the published text limits),
// so a tool can hand each opcode a correctly sized buffer, or deliberately not.
#pragma once

#include <cstddef>

#include "plugin/vst/host_interface.h"

namespace zendrel::host {

enum class PtrKind {
  kNone,        // ptr is unused
  kTextOut,     // the plug-in writes a NUL-terminated text of at most size-1 characters
  kTextIn,      // the host passes a NUL-terminated text
  kRecordOut,   // the plug-in fills a record of size bytes
  kRecordIn,    // the host passes a record of size bytes
  kPointerOut,  // the plug-in stores a pointer through ptr (ERect**, void**)
  kWindow,      // the parent window of the editor, or null
  kChunkIn,     // value bytes of chunk data
};

// What an opcode may do besides answering.
enum OpcodeTraits : unsigned {
  kReadOnly = 0,
  kChangesState = 1u << 0,   // programs, rates, suspend/resume, bypass...
  kEditor = 1u << 1,         // reaches the editor
  kValuePointer = 1u << 2,   // value carries a pointer too (speaker arrangements)
  kClosesEffect = 1u << 3,   // effClose
  kDeprecated = 1u << 4,
};

struct OpcodeShape {
  VstInt32 opcode;
  const char* name;
  PtrKind ptr;
  std::size_t size;  // buffer size for the text and record kinds
  unsigned traits;
};

// Opcodes 0..79, indexed by opcode.
constexpr int kOpcodeCount = 80;
const OpcodeShape& opcodeShape(VstInt32 opcode);  // opcode 0..79
// Name of any opcode ("opcode 97" outside the table).
const char* opcodeName(VstInt32 opcode);

// Published text limits, NUL included.
constexpr std::size_t kParamTextSize = 9;     // labels, displays, names: 8 characters
constexpr std::size_t kProgramNameSize = 25;  // 24 characters
constexpr std::size_t kEffectNameSize = 33;   // 32 characters
constexpr std::size_t kVendorTextSize = 65;   // vendor and product: 64 characters

// Published record sizes (64-bit layouts).
constexpr std::size_t kPinPropertiesSize = 128;
constexpr std::size_t kParameterPropertiesSize = 152;
constexpr std::size_t kMidiProgramNameSize = 80;
constexpr std::size_t kMidiProgramCategorySize = 76;
constexpr std::size_t kMidiKeyNameSize = 80;
constexpr std::size_t kSpeakerArrangementSize = 8 + 8 * 112;
constexpr std::size_t kPatchChunkInfoSize = 64;
constexpr std::size_t kEventsSize = 8 + 8 + 2 * 8;  // count, reserved, two event pointers
constexpr std::size_t kVariableIoSize = 48;
constexpr std::size_t kOfflineRecordSize = 512;  // audio file and offline task records fit

}  // namespace zendrel::host
