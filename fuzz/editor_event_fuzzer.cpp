// The editor as a user and a host drive it: the editor opened without a window,
// then a fuzzer-chosen sequence of pointer presses, moves, releases and wheel
// notches (any buttons and modifiers, anywhere in and around the window), key
// presses, host parameter writes with any value, program changes, idles with a
// moving transport, page switches and close/reopen. The effect's own code and
// the toolkit are linked in and instrumented; the driver touches them only
// through the record, as a host does. ZENDREL_SCALE in the environment opens
// the editor at that display scale: pointer positions are then device pixels.
//
// Checks beyond the sanitizers (leaks across close and reopen included), each
// on what a host relies on:
// - edit notifications and automation name a parameter the plug-in declares;
// - every begin of an edit is ended, with the same index, before the gesture
//   ends (the pointer released, the wheel notch or key handled, the window
//   closed), and none is ended that was not begun; automation comes only
//   inside an edit of its index and carries a finite value;
// - after a gesture, each parameter it edited lies within 0..1, and the step
//   count, step length and note lengths within their ranges.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "plugin/parameter_ids.h"
#include "plugin/tool_requests.h"
#include "plugin/vst/audio_effect.h"
#include "plugin/vst/effect_factory.h"

namespace {

using zendrel::PointerEvent;

// The ranges the normalisation pass keeps, as stored.
constexpr float kStepCountLow = 0.015625f, kStepCountHigh = 0.984375f;
constexpr float kNoteValueLow = 0.0375f, kNoteValueHigh = 0.9615f;

// The toolkit's button and modifier flags.
constexpr uint32_t kLeft = 0x2, kMiddle = 0x4, kRight = 0x8, kShift = 0x10, kControl = 0x20, kAlt = 0x40;

// ZENDREL_FUZZ_TRACE=1 prints each step, to read what a failing input does.
const bool kTrace = std::getenv("ZENDREL_FUZZ_TRACE") != nullptr;

#define TRACE(...)                                 \
  do {                                             \
    if (kTrace) std::fprintf(stderr, __VA_ARGS__); \
  } while (false)

[[noreturn]] void fail(const char* what, long long detail) {
  std::fprintf(stderr, "editor event fuzzer: %s (%lld)\n", what, detail);
  std::abort();
}

// What the host saw, checked as each call arrives.
struct HostLog {
  VstInt32 numParams = 0;
  std::vector<int> open;     // edits begun and not ended, per parameter
  std::vector<bool> edited;  // automated since the gesture began
  VstTimeInfo time{};
  double sampleRate = 44100.0;

  void reset(VstInt32 params) {
    numParams = params;
    open.assign(static_cast<std::size_t>(params), 0);
    edited.assign(static_cast<std::size_t>(params), false);
    time = VstTimeInfo{};
    time.sampleRate = sampleRate;
    time.tempo = 120.0;
    time.timeSigNumerator = 4;
    time.timeSigDenominator = 4;
    time.flags = kVstTempoValid | kVstPpqPosValid | kVstTimeSigValid;
  }

  std::size_t parameter(VstInt32 opcode, VstInt32 index) const {
    if (index < 0 || index >= numParams) fail("host call for an index the plug-in does not declare", index);
    return static_cast<std::size_t>(index);
  }

  void beginEdit(VstInt32 index) {
    // Edits of one index may nest (a Control click inside a slider's press
    // brackets its reset again); each begin still needs its end.
    ++open[parameter(audioMasterBeginEdit, index)];
  }

  void endEdit(VstInt32 index) {
    const std::size_t i = parameter(audioMasterEndEdit, index);
    if (open[i] == 0) fail("edit ended that was never begun", index);
    --open[i];
  }

  void automate(VstInt32 index, float value) {
    const std::size_t i = parameter(audioMasterAutomate, index);
    if (open[i] == 0) fail("automation outside an edit of its parameter", index);
    if (!std::isfinite(value)) fail("automation with a non-finite value", index);
    edited[i] = true;
  }

  void forget(VstInt32 index) {
    if (index >= 0 && index < numParams) edited[static_cast<std::size_t>(index)] = false;
  }

  void gestureEnded(AEffect* e) {
    for (VstInt32 i = 0; i < numParams; ++i)
      if (open[static_cast<std::size_t>(i)] != 0) fail("an edit still open when the gesture ended", i);
    for (VstInt32 i = 0; i < numParams; ++i) {
      if (!edited[static_cast<std::size_t>(i)]) continue;
      const float v = e->getParameter(e, i);
      if (!(v >= 0.0f && v <= 1.0f)) fail("an edited parameter left 0..1", i);
    }
    edited.assign(edited.size(), false);
    checkRanges(e);
  }

  static void checkRanges(AEffect* e) {
    using namespace zendrel;
    const float count = e->getParameter(e, kNumOfSteps);
    if (!(count >= kStepCountLow && count <= kStepCountHigh))
      fail("step count out of its range", kNumOfSteps);
    const float length = e->getParameter(e, kStepLength);
    if (!(length >= kNoteValueLow && length <= kNoteValueHigh))
      fail("step length out of its range", kStepLength);
    for (int k = 0; k < kNumSteps; ++k) {
      const float note = e->getParameter(e, kNoteLength + k);
      if (!(note >= kNoteValueLow && note <= kNoteValueHigh))
        fail("note length out of its range", kNoteLength + k);
    }
  }
};

HostLog& hostLog() {
  static HostLog log;
  return log;
}

VstIntPtr hostCallback(AEffect*, VstInt32 opcode, VstInt32 index, VstIntPtr, void*, float opt) {
  HostLog& h = hostLog();
  switch (opcode) {
    case audioMasterVersion:
      return kVstVersion;
    case audioMasterGetTime:
      return reinterpret_cast<VstIntPtr>(&h.time);
    case audioMasterGetSampleRate:
      return static_cast<VstIntPtr>(h.sampleRate);
    case audioMasterGetBlockSize:
      return 512;
    case audioMasterBeginEdit:
      h.beginEdit(index);
      return 1;
    case audioMasterEndEdit:
      h.endEdit(index);
      return 1;
    case audioMasterAutomate:
      h.automate(index, opt);
      return 0;
    default:
      return 0;
  }
}

// A float as a host or a pointer device may give it: usual, edge or any bits.
float anyFloat(FuzzedDataProvider& in) {
  switch (in.ConsumeIntegralInRange<int>(0, 4)) {
    case 0:
      return in.ConsumeProbability<float>();
    case 1:
      return in.ConsumeBool() ? 1.0f : 0.0f;
    case 2:
      return in.ConsumeFloatingPointInRange<float>(-3.0f, 3.0f);
    case 3: {
      static const float edges[] = {NAN, INFINITY, -INFINITY, -0.0f, 1e30f, -1e30f, 1e-40f, 0.5f};
      return edges[in.ConsumeIntegralInRange<int>(0, 7)];
    }
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
  explicit Driver(FuzzedDataProvider& in) : in_(in) {}

  void run() {
    AudioEffect* object = createEffectInstance(&hostCallback);
    if (!object) return;
    e_ = object->getAeffect();
    hostLog().reset(e_->numParams);
    dispatch(effSetSampleRate, 0, 0, nullptr, 44100.0f);
    dispatch(effMainsChanged, 0, 1);
    open();
    for (int steps = 0; steps < 300 && in_.remaining_bytes() > 0; ++steps) step();
    if (pressed_) pointer(PointerEvent::kUp, x_, y_, 0);
    endGesture();
    dispatch(effClose, 0, 0);
  }

 private:
  VstIntPtr dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr = nullptr,
                     float opt = 0.0f) {
    return e_->dispatcher(e_, opcode, index, value, ptr, opt);
  }

  void open() {
    dispatch(effEditOpen, 0, 0, nullptr);
    isOpen_ = true;
  }

  void step() {
    switch (in_.ConsumeIntegralInRange<int>(0, 16)) {
      case 0:
      case 1:
        return press();
      case 2:
      case 3:
      case 4:
        return move();
      case 5:
      case 6:
        return release();
      case 7:
        return wheel();
      case 8:
        return click();
      case 9:
        return key();
      case 10:
        return hostParameter();
      case 11:
        return program();
      case 12:
      case 13:
        return idle();
      case 14:
        return pageSwitch();
      case 15:
        return closeOrReopen();
      default:
        return draw();
    }
  }

  // Mostly over the window, near its controls; sometimes outside or anywhere.
  void where() {
    switch (in_.ConsumeIntegralInRange<int>(0, 7)) {
      case 0:
        x_ = in_.ConsumeIntegral<int32_t>();
        y_ = in_.ConsumeIntegral<int32_t>();
        break;
      case 1:
        x_ = in_.ConsumeIntegralInRange<int32_t>(-100, 1000);
        y_ = in_.ConsumeIntegralInRange<int32_t>(-100, 650);
        break;
      case 2: {
        // A step's column: merge, sliders, note length and its buttons.
        const int32_t column = 55 + 50 * in_.ConsumeIntegralInRange<int32_t>(0, 15);
        x_ = column + in_.ConsumeIntegralInRange<int32_t>(-2, 42);
        y_ = in_.ConsumeIntegralInRange<int32_t>(20, 405);
        break;
      }
      case 3:
        // The step count, step length, page switch and about box row.
        x_ = in_.ConsumeIntegralInRange<int32_t>(50, 860);
        y_ = in_.ConsumeIntegralInRange<int32_t>(445, 525);
        break;
      default:
        // A small move from where the pointer is, as a drag goes (held at
        // the ends of the coordinates).
        x_ = nudged(x_, in_.ConsumeIntegralInRange<int32_t>(-40, 40));
        y_ = nudged(y_, in_.ConsumeIntegralInRange<int32_t>(-40, 40));
        break;
    }
  }

  static int32_t nudged(int32_t at, int32_t by) {
    const int64_t to = static_cast<int64_t>(at) + by;
    return static_cast<int32_t>(std::clamp<int64_t>(to, INT32_MIN, INT32_MAX));
  }

  uint32_t buttons() {
    static const uint32_t usual[] = {
        kLeft,        kLeft | kControl, kRight | kControl, kRight, kLeft | kShift,
        kLeft | kAlt, kMiddle,          kLeft | kRight,    0,      kLeft | kControl | kShift};
    if (in_.ConsumeIntegralInRange<int>(0, 5) != 0) return usual[in_.ConsumeIntegralInRange<int>(0, 9)];
    return in_.ConsumeIntegral<uint32_t>();
  }

  bool pointer(int32_t kind, int32_t x, int32_t y, uint32_t buttons, float distance = 0.0f) {
    TRACE("pointer %s (%d, %d) buttons 0x%x distance %g\n",
          kind == 0   ? "down"
          : kind == 1 ? "move"
          : kind == 2 ? "up"
                      : "wheel",
          x, y, buttons, static_cast<double>(distance));
    PointerEvent event{kind, x, y, buttons, distance};
    return dispatch(effVendorSpecific, zendrel::kToolRequestTag, zendrel::kPointerRequest, &event) == 1;
  }

  // A gesture ends with the pointer released, or with a one-step edit.
  void endGesture() {
    if (!pressed_) hostLog().gestureEnded(e_);
  }

  void press() {
    where();
    buttons_ = buttons();
    pointer(PointerEvent::kDown, x_, y_, buttons_);
    pressed_ = isOpen_;
  }

  void move() {
    where();
    pointer(PointerEvent::kMoved, x_, y_, in_.ConsumeBool() ? buttons_ : buttons());
  }

  void release() {
    if (in_.ConsumeBool()) where();
    pointer(PointerEvent::kUp, x_, y_, in_.ConsumeBool() ? 0 : buttons());
    pressed_ = false;
    endGesture();
  }

  void wheel() {
    where();
    pointer(PointerEvent::kWheel, x_, y_, buttons(), anyFloat(in_));
    endGesture();
  }

  // Down and up at once, as most clicks (and copy and paste) are.
  void click() {
    where();
    const uint32_t b = buttons();
    pointer(PointerEvent::kDown, x_, y_, b);
    pointer(PointerEvent::kUp, x_, y_, b & ~(kLeft | kRight | kMiddle));
    pressed_ = false;
    endGesture();
  }

  void key() {
    const VstInt32 character = in_.ConsumeIntegralInRange<VstInt32>(-1, 255);
    const VstIntPtr virt = in_.ConsumeIntegralInRange<VstIntPtr>(-1, 60);
    const float modifier = static_cast<float>(in_.ConsumeIntegralInRange<int>(0, 15));
    const bool down = in_.ConsumeBool();
    TRACE("key %s char %d virt %ld modifier %g\n", down ? "down" : "up", character, static_cast<long>(virt),
          static_cast<double>(modifier));
    dispatch(down ? effEditKeyDown : effEditKeyUp, character, virt, nullptr, modifier);
    endGesture();
  }

  void hostParameter() {
    const VstInt32 index = in_.ConsumeIntegralInRange<int>(0, 7) == 0
                               ? in_.ConsumeIntegral<VstInt32>()
                               : in_.ConsumeIntegralInRange<VstInt32>(-1, 230);
    const float value = anyFloat(in_);
    TRACE("host setParameter %d %g\n", index, static_cast<double>(value));
    e_->setParameter(e_, index, value);
    // The host wrote last: the value is no longer the gesture's edit.
    hostLog().forget(index);
  }

  void program() {
    const VstIntPtr number =
        in_.ConsumeBool() ? in_.ConsumeIntegralInRange<VstIntPtr>(-1, 10) : in_.ConsumeIntegral<VstIntPtr>();
    TRACE("program %ld\n", static_cast<long>(number));
    dispatch(effSetProgram, 0, number);
  }

  // A block at the transport's position, which then moves on, and an idle.
  void idle() {
    VstTimeInfo& t = hostLog().time;
    const int32_t frames = in_.ConsumeIntegralInRange<int32_t>(1, 4096);
    if (in_.ConsumeBool()) t.flags ^= kVstTransportPlaying;
    if (in_.ConsumeIntegralInRange<int>(0, 7) == 0) {
      t.ppqPos = static_cast<double>(anyFloat(in_)) * 64.0;
      t.tempo = in_.ConsumeBool() ? in_.ConsumeFloatingPointInRange<double>(20.0, 400.0) : anyFloat(in_);
    }
    std::vector<float> left(static_cast<std::size_t>(frames)), right(left.size());
    float* channels[] = {left.data(), right.data()};
    e_->processReplacing(e_, channels, channels, frames);
    if (t.flags & kVstTransportPlaying) {
      t.samplePos += frames;
      t.ppqPos += frames / t.sampleRate * t.tempo / 60.0;
    }
    TRACE("idle after %d frames at %g, tempo %g%s\n", frames, t.ppqPos, t.tempo,
          t.flags & kVstTransportPlaying ? ", playing" : "");
    dispatch(effEditIdle, 0, 0);
  }

  void pageSwitch() {
    // Its left half shows page 1, its right half page 2.
    const int32_t x = in_.ConsumeBool() ? 80 : 130;
    pointer(PointerEvent::kDown, x, 509, kLeft);
    pointer(PointerEvent::kUp, x, 509, 0);
    pressed_ = false;
    endGesture();
  }

  // The whole window drawn, as a host's paint does: every control's value,
  // whatever the host or the pointer made of it, turns into pixels. A few
  // draws an input: each costs as much as hundreds of other steps.
  void draw() {
    if (++draws_ > kDrawsPerInput) return;
    TRACE("draw\n");
    // At the editor's size, whatever display scale it was opened at.
    ERect* r = nullptr;
    if (dispatch(effEditGetRect, 0, 0, &r) != 1 || !r) return;
    const int32_t width = r->right - r->left, height = r->bottom - r->top;
    if (width <= 0 || height <= 0) return;
    pixels_.assign(std::size_t(width) * std::size_t(height), 0);
    zendrel::SnapshotPixels request{width, height, pixels_.data()};
    dispatch(effVendorSpecific, zendrel::kToolRequestTag, zendrel::kSnapshotRequest, &request);
  }

  void closeOrReopen() {
    const int what = in_.ConsumeIntegralInRange<int>(0, 2);
    TRACE("%s\n", what == 0 ? "close" : what == 1 ? "open" : "close and reopen");
    switch (what) {
      case 0:
        dispatch(effEditClose, 0, 0);
        isOpen_ = false;
        break;
      case 1:
        open();
        break;
      default:
        dispatch(effEditClose, 0, 0);
        open();
        break;
    }
    // A closed window ends whatever gesture was under way.
    pressed_ = false;
    endGesture();
  }

  FuzzedDataProvider& in_;
  AEffect* e_ = nullptr;
  int32_t x_ = 0, y_ = 0;
  uint32_t buttons_ = 0;
  bool pressed_ = false;
  bool isOpen_ = false;
  static constexpr int kDrawsPerInput = 4;
  int draws_ = 0;
  std::vector<uint32_t> pixels_;
};

// A second instance whose editor stays open for the whole run, as in a host
// with two instances: the images stay decoded, so each input pays for its own
// editor's controls only, not for decoding every image again.
VstIntPtr quietHost(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
  return opcode == audioMasterVersion ? kVstVersion : 0;
}

void keepImagesDecoded() {
  static AEffect* resident = [] {
    AudioEffect* object = createEffectInstance(&quietHost);
    AEffect* e = object ? object->getAeffect() : nullptr;
    if (e) e->dispatcher(e, effEditOpen, 0, 0, nullptr, 0.0f);
    return e;
  }();
  (void)resident;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  keepImagesDecoded();
  FuzzedDataProvider in(data, size);
  Driver(in).run();
  return 0;
}
