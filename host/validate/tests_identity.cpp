// Identity and record consistency, the parameter texts, every opcode with
// correctly sized buffers, and the null pointers and odd indices a careless
// host sends.
#include <climits>
#include <cmath>
#include <cstring>
#include <set>

#include "host/lib/opcodes.h"
#include "host/validate/instance.h"

namespace zendrel::validate {

namespace {

constexpr unsigned char kCanary = 0xA5;
constexpr std::size_t kSlack = 256;  // canary bytes after every buffer

// A buffer of the published size followed by canary bytes, so a plug-in that
// writes past the size shows it.
struct Guarded {
  explicit Guarded(std::size_t n, unsigned char fill = kCanary) : size(n), bytes(n + kSlack, kCanary) {
    std::memset(bytes.data(), fill, size);
  }
  std::size_t size;
  std::vector<unsigned char> bytes;
  char* text() { return reinterpret_cast<char*>(bytes.data()); }
  // One past the last byte the plug-in changed beyond the size, or 0.
  std::size_t overrun() const {
    for (std::size_t i = bytes.size(); i > size; --i)
      if (bytes[i - 1] != kCanary) return i;
    return 0;
  }
  // Length of the text written, or SIZE_MAX when it has no NUL at all.
  std::size_t textLength() const {
    const void* nul = std::memchr(bytes.data(), 0, bytes.size());
    return nul ? static_cast<std::size_t>(static_cast<const unsigned char*>(nul) - bytes.data()) : SIZE_MAX;
  }
  bool untouched() const { return bytes[0] == kCanary; }
};

std::string fourChar(VstInt32 id) { return zendrel::host::fourCharText(id); }

// The text a name opcode left, or "(none)" when it wrote nothing.
std::string shown(Check& c, const Guarded& g, const char* what) {
  if (g.untouched()) return "(none)";
  if (g.textLength() == SIZE_MAX) {
    c.fail(std::string(what) + " written without its NUL");
    return "(no NUL)";
  }
  return printable(reinterpret_cast<const char*>(g.bytes.data()));
}

void checkRecord(Check& c, AEffect* e) {
  if (!e->dispatcher || !e->setParameter || !e->getParameter) c.fail("the record lacks a function pointer");
  if (!(e->flags & effFlagsCanReplacing) || !e->processReplacing)
    c.fail("no processReplacing (effFlagsCanReplacing clear or null): not a VST 2.4 effect");
  if (e->numOutputs <= 0 || e->numOutputs > 64 || e->numInputs < 0 || e->numInputs > 64)
    c.fail(format("implausible channel counts: %d in, %d out", e->numInputs, e->numOutputs));
  if (e->numParams < 0 || e->numParams > 100000) c.fail(format("implausible parameter count %d", e->numParams));
  if (e->numPrograms < 0 || e->numPrograms > 100000) c.fail(format("implausible program count %d", e->numPrograms));
  if (e->numPrograms == 0) c.warn("no programs: hosts expect at least one");
  if (e->uniqueID == 0) c.warn("unique ID 0: hosts tell plug-ins apart by it");
  if (e->initialDelay < 0) c.fail(format("negative initial delay %d", e->initialDelay));
  const VstInt32 known = 0x1 | 0x2 | 0x4 | 0x8 | 0x10 | 0x20 | 0x100 | 0x200 | 0x400 | 0x800 | 0x1000;
  if (e->flags & ~known) c.warn(format("unknown flag bits 0x%X", static_cast<unsigned>(e->flags & ~known)));
  if (e->flags & effFlagsIsSynth) c.warn("flagged as a synth: this validator drives effects");
}

void identityRecord(Check& c) {
  auto a = openInstance(c);
  if (!a) return;
  AEffect* e = a->effect();
  checkRecord(c, e);
  const AEffect before = *e;
  Guarded name(zendrel::host::kEffectNameSize), vendor(zendrel::host::kVendorTextSize), product(zendrel::host::kVendorTextSize);
  a->dispatch(effGetEffectName, 0, 0, name.text());
  a->dispatch(effGetVendorString, 0, 0, vendor.text());
  a->dispatch(effGetProductString, 0, 0, product.text());
  for (Guarded* g : {&name, &vendor, &product})
    if (g->overrun()) c.fail(format("a name text ran %zu bytes past its %zu-byte field", g->overrun() - g->size, g->size));
  const VstIntPtr version = a->dispatch(effGetVstVersion);
  if (version < 2400) c.warn(format("effGetVstVersion answers %lld, not 2400 or more", static_cast<long long>(version)));
  const VstIntPtr category = a->dispatch(effGetPlugCategory);
  // A second instance must look the same, and a resume must not change the record.
  auto b = openInstance(c, 48000.0, 1024);
  if (!b) return;
  const AEffect* f = b->effect();
  if (f == e) c.fail("two instances share one record");
  for (const AEffect* r : {static_cast<const AEffect*>(e), f})
    if (r->numParams != before.numParams || r->numPrograms != before.numPrograms || r->numInputs != before.numInputs ||
        r->numOutputs != before.numOutputs || r->uniqueID != before.uniqueID || r->flags != before.flags)
      c.fail("the record's counts, flags or ID differ between instances or after a resume");
  c.saw(format("'%s' by '%s' ('%s'), ID %s, version %d, category %lld", shown(c, name, "the effect name").c_str(),
               shown(c, vendor, "the vendor").c_str(), shown(c, product, "the product").c_str(), fourChar(e->uniqueID).c_str(),
               e->version, static_cast<long long>(category)));
  c.saw(format("%d in, %d out, %d parameters, %d programs, flags 0x%X, delay %d", e->numInputs, e->numOutputs,
               e->numParams, e->numPrograms, static_cast<unsigned>(e->flags), e->initialDelay));
}

// Names, labels and displays of every parameter, and its value.
void identityParameters(Check& c) {
  auto a = openInstance(c);
  if (!a) return;
  int longTexts = 0, outOfRange = 0, automatable = 0;
  std::size_t longest = 0;
  for (VstInt32 i = 0; i < a->numParams() && !c.enough(); ++i) {
    for (VstInt32 op : {effGetParamName, effGetParamLabel, effGetParamDisplay}) {
      Guarded g(64, 0);
      a->dispatch(op, i, 0, g.text());
      if (g.overrun()) c.fail(format("%s %d wrote past 64 bytes", zendrel::host::opcodeName(op), i));
      const std::size_t n = g.textLength();
      if (n == SIZE_MAX) continue;
      if (n > 8) ++longTexts;
      if (n > longest) longest = n;
    }
    const float v = a->host().getParameter(i);
    if (!std::isfinite(v)) c.fail(format("parameter %d reads %s", i, floatText(v).c_str()));
    if (v < 0.0f || v > 1.0f) ++outOfRange;
    if (a->dispatch(effCanBeAutomated, i)) ++automatable;
  }
  if (outOfRange) c.warn(format("%d parameters read outside 0..1 at creation", outOfRange));
  c.saw(format("%d parameters, %d automatable, longest text %zu characters", a->numParams(), automatable, longest));
  // Hosts reserve 8 characters; most give more room, so this is only noted.
  if (longTexts) c.saw(format("%d texts longer than 8 characters", longTexts));
}

// Every opcode a careful host sends, with correctly sized buffers.
void callWithBuffer(Check& c, Instance& a, VstInt32 opcode, VstInt32 index, VstIntPtr value, std::set<std::string>& longTexts) {
  const zendrel::host::OpcodeShape& s = zendrel::host::opcodeShape(opcode);
  Guarded g(s.size ? s.size : 8, s.ptr == zendrel::host::PtrKind::kTextIn ? 0 : kCanary);
  void* slot = nullptr;
  void* valueSlot = nullptr;
  void* ptr = nullptr;
  switch (s.ptr) {
    case zendrel::host::PtrKind::kTextOut: ptr = g.text(); break;
    case zendrel::host::PtrKind::kRecordOut:
    case zendrel::host::PtrKind::kRecordIn: std::memset(g.bytes.data(), 0, s.size); ptr = g.text(); break;
    case zendrel::host::PtrKind::kTextIn: std::strcpy(g.text(), opcode == effCanDo ? "receiveVstMidiEvent" : "0.5"); ptr = g.text(); break;
    case zendrel::host::PtrKind::kPointerOut: ptr = &slot; break;
    default: break;
  }
  if (s.traits & zendrel::host::kValuePointer) value = reinterpret_cast<VstIntPtr>(s.ptr == zendrel::host::PtrKind::kPointerOut ? static_cast<void*>(&valueSlot) : g.text());
  a.dispatch(opcode, index, value, ptr, 0.0f);
  if (s.ptr == zendrel::host::PtrKind::kRecordOut || s.ptr == zendrel::host::PtrKind::kRecordIn) {
    if (g.overrun()) c.fail(format("%s wrote %zu bytes past its %zu-byte record", s.name, g.overrun() - s.size, s.size));
  } else if (s.ptr == zendrel::host::PtrKind::kTextOut && !g.untouched()) {
    const std::size_t n = g.textLength();
    if (n == SIZE_MAX) c.fail(format("%s wrote a text without its NUL", s.name));
    else if (n >= s.size) longTexts.insert(format("%s (%zu > %zu)", s.name, n, s.size - 1));
  }
}

void identityOpcodes(Check& c) {
  auto a = openInstance(c);
  if (!a) return;
  std::set<std::string> longTexts;
  int calls = 0;
  const VstInt32 lastParam = a->numParams() > 0 ? a->numParams() - 1 : 0;
  for (VstInt32 op = 0; op < zendrel::host::kOpcodeCount; ++op) {
    const zendrel::host::OpcodeShape& s = zendrel::host::opcodeShape(op);
    // Closing, the editor window, chunks and state are exercised elsewhere.
    if (s.traits & (zendrel::host::kClosesEffect | zendrel::host::kEditor)) continue;
    if (op == effSetChunk || op == effSetProgram || op == effSetBypass || op == effSetSampleRate ||
        op == effSetBlockSize || op == effSetBlockSizeAndSampleRate || op == effMainsChanged ||
        op == effSetProcessPrecision || op == effShellGetNextPlugin || op == effString2Parameter)
      continue;
    for (VstInt32 index : {0, lastParam}) {
      callWithBuffer(c, *a, op, index, 0, longTexts);
      ++calls;
    }
  }
  // The state-changing ones, with values a host sends, then back to normal.
  a->dispatch(effSetBypass, 0, 1);
  a->dispatch(effSetBypass, 0, 0);
  a->dispatch(effSetProcessPrecision, 0, 0);
  a->dispatch(effSetBlockSizeAndSampleRate, 0, 512, nullptr, 44100.0f);
  a->configure(44100.0, 512);
  for (const std::string& t : longTexts) c.warn("text beyond the published limit: " + t);
  c.saw(format("%d calls over %d opcodes", calls, zendrel::host::kOpcodeCount));
  // The instance must still process after all that.
  Buffers buffers(a->effect()->numInputs, a->effect()->numOutputs, 512);
  Signal signal;
  buffers.prepare(signal, 0, 512);
  a->process(buffers.inputs(), buffers.outputs(false), 512);
  const BlockFaults f = buffers.check(512, false);
  if (f.any()) c.fail("after the opcode sweep, a block " + f.describe());
}

// Null pointers where buffers belong, and indices no careful host sends.
void carelessNulls(Check& c, Instance& a) {
  int calls = 0;
  for (VstInt32 op = 0; op < zendrel::host::kOpcodeCount; ++op) {
    const zendrel::host::OpcodeShape& s = zendrel::host::opcodeShape(op);
    if (s.traits & zendrel::host::kClosesEffect) continue;
    if (s.ptr == zendrel::host::PtrKind::kNone || s.ptr == zendrel::host::PtrKind::kWindow) continue;
    if (op == effShellGetNextPlugin) continue;
    if ((s.traits & zendrel::host::kEditor) && !c.options().editor) continue;
    a.dispatch(op, 0, 0, nullptr, 0.0f);
    ++calls;
  }
  c.saw(format("%d opcodes with a null pointer", calls));
}

void carelessIndices(Check& c, Instance& a) {
  const std::vector<float> before = a.parameters();
  const VstInt32 n = a.numParams();
  const VstInt32 odd[] = {-1, n, n + 1, INT_MAX, INT_MIN};
  for (VstInt32 i : odd) {
    for (VstInt32 op : {effGetParamName, effGetParamLabel, effGetParamDisplay, effCanBeAutomated}) {
      Guarded g(64);
      a.dispatch(op, i, 0, g.text());
      if (g.overrun()) c.fail(format("%s with index %d wrote past 64 bytes", zendrel::host::opcodeName(op), i));
    }
    const float v = a.host().getParameter(i);
    if (!std::isfinite(v)) c.fail(format("getParameter(%d) reads %s", i, floatText(v).c_str()));
    a.host().setParameter(i, 0.5f);
  }
  const std::vector<float> after = a.parameters();
  for (VstInt32 i = 0; i < n; ++i)
    if (std::memcmp(&before[static_cast<std::size_t>(i)], &after[static_cast<std::size_t>(i)], sizeof(float)) != 0) {
      c.fail(format("setParameter with an index outside 0..%d changed parameter %d", n - 1, i));
      break;
    }
  const VstIntPtr current = a.dispatch(effGetProgram);
  for (VstIntPtr p : {static_cast<VstIntPtr>(-1), static_cast<VstIntPtr>(a.numPrograms()),
                      static_cast<VstIntPtr>(INT_MAX), static_cast<VstIntPtr>(INT_MIN)}) {
    a.dispatch(effSetProgram, 0, p);
    Guarded g(zendrel::host::kProgramNameSize);
    a.dispatch(effGetProgramNameIndexed, static_cast<VstInt32>(p), -1, g.text());
    if (g.overrun()) c.fail(format("effGetProgramNameIndexed %lld wrote past its field", static_cast<long long>(p)));
  }
  const VstIntPtr now = a.dispatch(effGetProgram);
  if (now != current) c.fail(format("effSetProgram with a number outside 0..%d moved the program from %lld to %lld",
                                    a.numPrograms() - 1, static_cast<long long>(current), static_cast<long long>(now)));
  // Editor calls without an open editor.
  if (c.options().editor) {
    a.dispatch(effEditIdle);
    a.dispatch(effEditClose);
  }
  c.saw(format("indices -1, %d, %d, INT_MAX, INT_MIN and programs outside the bank", n, n + 1));
}

void identityCareless(Check& c) {
  auto a = openInstance(c);
  if (!a) return;
  carelessNulls(c, *a);
  carelessIndices(c, *a);
  // Rates and block sizes no host should send, then a sane one.
  a->dispatch(effSetBlockSize, 0, 0);
  a->dispatch(effSetSampleRate, 0, 0, nullptr, 0.0f);
  a->configure(44100.0, 512);
  Buffers buffers(a->effect()->numInputs, a->effect()->numOutputs, 512);
  Signal signal;
  for (int frames : {512, 0, 17}) {
    buffers.prepare(signal, 0, frames);
    a->process(buffers.inputs(), buffers.outputs(false), frames);
    const BlockFaults f = buffers.check(frames, false);
    if (f.any()) c.fail(format("a %d-frame block after the careless calls ", frames) + f.describe());
  }
}

}  // namespace

const std::vector<TestInfo>& identityTests() {
  static const std::vector<TestInfo> tests = {
      {"identity.record", 1, false, identityRecord},
      {"identity.parameters", 1, false, identityParameters},
      {"identity.opcodes", 1, false, identityOpcodes},
  };
  return tests;
}

// Last: a plug-in that crashes on these should still get every other verdict.
const std::vector<TestInfo>& carelessTests() {
  static const std::vector<TestInfo> tests = {
      {"careless-host.nulls-and-odd-indices", 1, false, identityCareless},
  };
  return tests;
}

}  // namespace zendrel::validate
