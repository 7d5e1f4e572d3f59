// Drives one effect instance through its record with a fuzzer-chosen sequence
// of host calls: dispatcher opcodes with correctly sized buffers or null,
// parameter writes and reads, and audio blocks with fuzzer-chosen time records
// and frame counts. The effect's own code is linked in and instrumented; the
// driver touches it only through the record, as a host does.
//
// Checks beyond the sanitizers: finite input gives finite output, and every
// output frame is written (outputs start as a marked NaN).
#pragma once

#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "host/lib/opcodes.h"
#include "plugin/vst/audio_effect.h"
#include "plugin/vst/effect_factory.h"

namespace zendrel::fuzz {

// The relative weight of each kind of step.
struct Weights {
  int dispatch, setParameter, getParameter, process, time, rate;
};

// What the host answers: the time record the last time step chose.
struct HostState {
  VstTimeInfo time{};
  bool timeNull = false;
  double sampleRate = 44100.0;
  VstInt32 blockSize = 512;
};

inline HostState& hostState() {
  static HostState state;
  return state;
}

inline VstIntPtr hostCallback(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
  HostState& h = hostState();
  switch (opcode) {
    case audioMasterVersion: return kVstVersion;
    case audioMasterGetTime: return h.timeNull ? 0 : reinterpret_cast<VstIntPtr>(&h.time);
    case audioMasterGetSampleRate: return static_cast<VstIntPtr>(h.sampleRate);
    case audioMasterGetBlockSize: return h.blockSize;
    default: return 0;
  }
}

inline void fail(const char* what, long long detail) {
  std::fprintf(stderr, "host fuzzer: %s (%lld)\n", what, detail);
  std::abort();
}

// A double either in a host's usual range or any bit pattern at all.
inline double anyDouble(FuzzedDataProvider& in, double lo, double hi) {
  if (in.ConsumeBool()) return in.ConsumeFloatingPointInRange<double>(lo, hi);
  uint64_t bits = in.ConsumeIntegral<uint64_t>();
  double d;
  std::memcpy(&d, &bits, sizeof d);
  return d;
}

inline float anyFloat(FuzzedDataProvider& in) {
  switch (in.ConsumeIntegralInRange<int>(0, 3)) {
    case 0: return in.ConsumeProbability<float>();
    case 1: return in.ConsumeBool() ? 1.0f : 0.0f;  // button presses and releases
    case 2: return in.ConsumeFloatingPointInRange<float>(-2.0f, 2.0f);
    default: {
      uint32_t bits = in.ConsumeIntegral<uint32_t>();
      float f;
      std::memcpy(&f, &bits, sizeof f);
      return f;
    }
  }
}

class Driver {
 public:
  Driver(FuzzedDataProvider& in, const Weights& w) : in_(in), w_(w) {}

  void run() {
    hostState() = HostState{};
    hostState().time.tempo = 120.0;
    hostState().time.sampleRate = 44100.0;
    hostState().time.flags = kVstTempoValid | kVstPpqPosValid;
    AudioEffect* object = createEffectInstance(&hostCallback);
    if (!object) return;
    e_ = object->getAeffect();
    for (int steps = 0; steps < 400 && in_.remaining_bytes() > 0; ++steps) step();
    e_->dispatcher(e_, effClose, 0, 0, nullptr, 0.0f);
  }

 private:
  void step() {
    const int total = w_.dispatch + w_.setParameter + w_.getParameter + w_.process + w_.time + w_.rate;
    int pick = in_.ConsumeIntegralInRange<int>(0, total - 1);
    if ((pick -= w_.dispatch) < 0) return dispatch();
    if ((pick -= w_.setParameter) < 0) return e_->setParameter(e_, index(), anyFloat(in_));
    if ((pick -= w_.getParameter) < 0) return (void)e_->getParameter(e_, index());
    if ((pick -= w_.process) < 0) return process();
    if ((pick -= w_.time) < 0) return chooseTime();
    changeRate();
  }

  // Mostly a parameter or program index, sometimes anything.
  VstInt32 index() {
    if (in_.ConsumeBool()) return in_.ConsumeIntegralInRange<VstInt32>(-1, e_->numParams);
    return in_.ConsumeIntegral<VstInt32>();
  }

  VstIntPtr value() {
    switch (in_.ConsumeIntegralInRange<int>(0, 2)) {
      case 0: return in_.ConsumeIntegralInRange<VstIntPtr>(-1, 12);
      case 1: return in_.ConsumeIntegralInRange<VstIntPtr>(0, 8192);
      default: return in_.ConsumeIntegral<VstIntPtr>();
    }
  }

  void dispatch() {
    VstInt32 opcode = in_.ConsumeIntegralInRange<VstInt32>(-1, zendrel::host::kOpcodeCount + 1);
    if (opcode == effClose) return;  // the instance is closed once, at the end
    const VstInt32 idx = index();
    VstIntPtr val = value();
    const float opt = in_.ConsumeBool() ? anyFloat(in_) : 44100.0f;
    const bool careless = in_.ConsumeIntegralInRange<int>(0, 7) == 0;
    if (opcode < 0 || opcode >= zendrel::host::kOpcodeCount || careless) {
      e_->dispatcher(e_, opcode, idx, val, nullptr, opt);
      return;
    }
    const zendrel::host::OpcodeShape& shape = zendrel::host::opcodeShape(opcode);
    std::vector<char> buffer;
    std::string text;
    void* slot = nullptr;
    void* valueSlot = nullptr;
    void* ptr = nullptr;
    switch (shape.ptr) {
      case zendrel::host::PtrKind::kNone:
      case zendrel::host::PtrKind::kWindow:
        break;
      case zendrel::host::PtrKind::kTextOut:
        // Program names fit the 24-byte field; other texts get what hosts give.
        buffer.assign(opcode == effGetProgramName || opcode == effGetProgramNameIndexed ? 24 : 64, '\x7f');
        ptr = buffer.data();
        break;
      case zendrel::host::PtrKind::kTextIn:
        text = in_.ConsumeRandomLengthString(80);
        ptr = text.data();
        break;
      case zendrel::host::PtrKind::kRecordOut:
      case zendrel::host::PtrKind::kRecordIn:
        buffer.assign(shape.size, 0);
        ptr = buffer.data();
        break;
      case zendrel::host::PtrKind::kPointerOut:
        ptr = &slot;
        break;
      case zendrel::host::PtrKind::kChunkIn:
        text = in_.ConsumeRandomLengthString(256);
        ptr = text.data();
        val = static_cast<VstIntPtr>(text.size());
        break;
    }
    std::vector<char> arrangement;
    if (shape.traits & zendrel::host::kValuePointer) {
      if (shape.ptr == zendrel::host::PtrKind::kPointerOut) {
        val = reinterpret_cast<VstIntPtr>(&valueSlot);
      } else {
        arrangement.assign(zendrel::host::kSpeakerArrangementSize, 0);
        val = reinterpret_cast<VstIntPtr>(arrangement.data());
      }
    }
    const VstIntPtr answer = e_->dispatcher(e_, opcode, idx, val, ptr, opt);
    readBack(opcode, answer, slot, buffer);
  }

  // Whatever the plug-in handed back must be readable (the sanitizers watch).
  static void readBack(VstInt32 opcode, VstIntPtr answer, void* slot, const std::vector<char>& buffer) {
    volatile char sink = 0;
    if (opcode == effEditGetRect && answer && slot) {
      ERect rect;
      std::memcpy(&rect, slot, sizeof rect);
      sink = sink + static_cast<char>(rect.right);
    }
    if (opcode == effGetChunk && answer > 0 && slot) {
      const char* data = static_cast<const char*>(slot);
      for (VstIntPtr i = 0; i < answer; ++i) sink = sink + data[i];
    }
    if (zendrel::host::opcodeShape(opcode).ptr == zendrel::host::PtrKind::kTextOut &&
        std::memchr(buffer.data(), 0, buffer.size()) == nullptr && buffer[0] != '\x7f')
      fail("text written without its NUL", opcode);
  }

  void chooseTime() {
    HostState& h = hostState();
    h.timeNull = in_.ConsumeIntegralInRange<int>(0, 15) == 0;
    VstTimeInfo& t = h.time;
    t.samplePos = anyDouble(in_, -1e6, 1e10);
    t.ppqPos = anyDouble(in_, -100.0, 1e6);
    t.tempo = anyDouble(in_, 1.0, 999.0);
    t.sampleRate = h.sampleRate;
    t.flags = in_.ConsumeIntegral<VstInt32>();
    if (in_.ConsumeBool()) t.flags = kVstTempoValid | kVstPpqPosValid | (in_.ConsumeBool() ? kVstTransportPlaying : 0);
    t.cycleStartPos = anyDouble(in_, 0.0, 64.0);
    t.cycleEndPos = anyDouble(in_, 0.0, 64.0);
    t.barStartPos = anyDouble(in_, 0.0, 1e5);
    t.timeSigNumerator = in_.ConsumeIntegralInRange<VstInt32>(-1, 17);
    t.timeSigDenominator = in_.ConsumeIntegralInRange<VstInt32>(-1, 17);
  }

  void changeRate() {
    HostState& h = hostState();
    static const float rates[] = {22050.0f, 44100.0f, 48000.0f, 88200.0f, 96000.0f, 192000.0f};
    float rate = in_.ConsumeBool() ? rates[in_.ConsumeIntegralInRange<int>(0, 5)] : anyFloat(in_);
    h.sampleRate = rate;
    h.blockSize = in_.ConsumeIntegralInRange<VstInt32>(1, 8192);
    e_->dispatcher(e_, effMainsChanged, 0, 0, nullptr, 0.0f);
    e_->dispatcher(e_, effSetSampleRate, 0, 0, nullptr, rate);
    e_->dispatcher(e_, effSetBlockSize, 0, h.blockSize, nullptr, 0.0f);
    e_->dispatcher(e_, effMainsChanged, 0, 1, nullptr, 0.0f);
  }

  void process() {
    VstInt32 frames;
    switch (in_.ConsumeIntegralInRange<int>(0, 3)) {
      case 0: frames = in_.ConsumeIntegralInRange<VstInt32>(0, 64); break;
      case 1: frames = in_.ConsumeIntegralInRange<VstInt32>(65, 1100); break;
      case 2: frames = in_.ConsumeIntegralInRange<VstInt32>(1101, 8192); break;
      default: frames = in_.ConsumeIntegralInRange<VstInt32>(-3, -1); break;
    }
    const std::size_t n = frames > 0 ? static_cast<std::size_t>(frames) : 0;
    const bool inPlace = in_.ConsumeBool();
    const int signal = in_.ConsumeIntegralInRange<int>(0, 4);
    const float level = anyFloat(in_);
    std::vector<float> inL(n), inR(n), outL(n, marker()), outR(n, marker());
    bool finiteInput = true;
    for (std::size_t i = 0; i < n; ++i) {
      inL[i] = sample(signal, level, i);
      inR[i] = -inL[i];
      finiteInput = finiteInput && std::isfinite(inL[i]);
    }
    // The time step may move the song position between blocks, as hosts do.
    float* inputs[2] = {inL.data(), inR.data()};
    float* outputs[2] = {outL.data(), outR.data()};
    e_->processReplacing(e_, inputs, inPlace ? inputs : outputs, frames);
    if (hostState().time.flags & kVstTransportPlaying) hostState().time.samplePos += n;
    if (!finiteInput) return;
    const std::vector<float>& l = inPlace ? inL : outL;
    const std::vector<float>& r = inPlace ? inR : outR;
    for (std::size_t i = 0; i < n; ++i)
      if (!std::isfinite(l[i]) || !std::isfinite(r[i]))
        fail("non-finite or unwritten output frame from finite input", static_cast<long long>(i));
  }

  static float marker() {
    const uint32_t bits = 0x7fc0dead;
    float f;
    std::memcpy(&f, &bits, sizeof f);
    return f;
  }

  static float sample(int signal, float level, std::size_t i) {
    switch (signal) {
      case 0: return 0.0f;
      case 1: return level;
      case 2: return static_cast<float>(std::sin(0.01 * static_cast<double>(i))) * 0.5f;
      case 3: return i % 2 ? 3.0e38f : -3.0e38f;
      default: return i % 3 ? 1.0e-40f : level;  // denormals
    }
  }

  FuzzedDataProvider& in_;
  Weights w_;
  AEffect* e_ = nullptr;
};

}  // namespace zendrel::fuzz
