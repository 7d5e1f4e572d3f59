// The plug-in with one deliberate fault, chosen at build time, for proving that
// the validator catches it. The real effect is created as the module entry
// creates it; then the record's functions are wrapped and the fault is added
// in the wrapper, so everything else behaves exactly like the product.
#include <cstring>
#include <vector>

#include "plugin/vst/audio_effect.h"
#include "plugin/vst/effect_factory.h"

#ifndef ZENDREL_FAULT
#error "build with -DZENDREL_FAULT=<number> (see the list below)"
#endif

namespace {

enum Fault {
  kAllocatesPerBlock = 1,    // the audio path allocates and frees every block
  kDropsFirstWrite = 2,      // a fresh instance ignores its first parameter write
  kWritesPastTheBlock = 3,   // one frame more than asked is written
  kShortBlocks = 4,          // frames beyond the declared block size stay unwritten
  kSharedState = 5,          // instances share a gain that every block changes
  kReadsInputLate = 6,       // input read after output written: wrong in place
  kCrashesOnNullText = 7,    // writes a parameter name through a null pointer
  kEditorWearsOut = 8,       // the editor opens (headless), but its 20th opening crashes,
                             // as one that leaks a resource per window would
  kOverrunsARecord = 9,      // fills pin properties as if the record were 160 bytes
  kForeignIndex = 10,        // each idle of an open editor reports an edit of index 1004,
                             // beyond the 230 parameters, as the editor's page switch once did
};

audioMasterCallback master;

// The effect's own entries, the same for every instance.
AEffectDispatcherProc realDispatcher;
AEffectProcessProc realProcess;
AEffectSetParameterProc realSetParameter;

// Per-instance state of the fault, found through the record's address. Slots
// are taken when an instance is made and freed when it closes; the validator
// makes and closes instances on one thread.
struct Extra {
  AEffect* effect = nullptr;
  bool written = false;
  VstInt32 blockSize = 1024;
  bool editorOpen = false;
};
Extra extras[1024];
Extra spare;
float sharedGain = 1.0f;
int editorOpenings = 0;

Extra& extraOf(AEffect* e) {
  for (Extra& x : extras)
    if (x.effect == e) return x;
  return spare;
}

void track(AEffect* e) {
  for (Extra& x : extras)
    if (!x.effect) {
      x = Extra{};
      x.effect = e;
      return;
    }
}

VstIntPtr dispatcher(AEffect* e, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt) {
  if (opcode == effSetBlockSize) extraOf(e).blockSize = static_cast<VstInt32>(value);
  if (opcode == effClose) extraOf(e).effect = nullptr;
  if (opcode == effEditClose) extraOf(e).editorOpen = false;
  if (ZENDREL_FAULT == kForeignIndex && opcode == effEditIdle && extraOf(e).editorOpen) {
    master(e, audioMasterBeginEdit, 1004, 0, nullptr, 0.0f);
    master(e, audioMasterAutomate, 1004, 0, nullptr, 1.0f);
    master(e, audioMasterEndEdit, 1004, 0, nullptr, 0.0f);
  }
  if (ZENDREL_FAULT == kCrashesOnNullText && opcode == effGetParamName && !ptr) {
    volatile char* nowhere = static_cast<char*>(ptr);
    *nowhere = 'G';
  }
  if (ZENDREL_FAULT == kOverrunsARecord && opcode == effGetOutputProperties && ptr) {
    std::memset(ptr, 0, 160);
    return 1;
  }
  if (ZENDREL_FAULT == kEditorWearsOut && opcode == effEditOpen) {
    if (++editorOpenings == 20) {
      volatile char* nowhere = nullptr;
      *nowhere = 'W';
    }
    return 1;
  }
  const VstIntPtr answer = realDispatcher(e, opcode, index, value, ptr, opt);
  if (opcode == effEditOpen && answer) extraOf(e).editorOpen = true;
  return answer;
}

void setParameter(AEffect* e, VstInt32 index, float value) {
  Extra& x = extraOf(e);
  const bool first = !x.written;
  x.written = true;
  if (ZENDREL_FAULT == kDropsFirstWrite && first) return;
  realSetParameter(e, index, value);
}

void process(AEffect* e, float** in, float** out, VstInt32 frames) {
  if (ZENDREL_FAULT == kAllocatesPerBlock) {
    std::vector<float>* scratch = new std::vector<float>(static_cast<std::size_t>(frames > 0 ? frames : 1));
    (*scratch)[0] = 0.0f;
    delete scratch;
  }
  VstInt32 n = frames;
  if (ZENDREL_FAULT == kShortBlocks && n > extraOf(e).blockSize) n = extraOf(e).blockSize;
  float first[2] = {0.0f, 0.0f};
  if (frames > 0) first[0] = in[0][0], first[1] = in[1][0];
  realProcess(e, in, out, n);
  if (frames <= 0) return;
  if (ZENDREL_FAULT == kWritesPastTheBlock) out[0][frames] = out[0][frames - 1];
  if (ZENDREL_FAULT == kSharedState) {
    sharedGain = sharedGain > 0.5f ? sharedGain * 0.999f : 1.0f;
    for (VstInt32 i = 0; i < frames; ++i) out[1][i] *= sharedGain;
  }
  if (ZENDREL_FAULT == kReadsInputLate)
    for (int c = 0; c < 2; ++c) out[c][frames - 1] += 0.25f * in[c][0] - 0.25f * first[c];
}

}  // namespace

#ifdef _WIN32
#define FAULTY_EXPORT extern "C" __declspec(dllexport)
#else
#define FAULTY_EXPORT extern "C" __attribute__((visibility("default")))
#endif

FAULTY_EXPORT AEffect* VSTPluginMain(audioMasterCallback host) {
  if (!host || host(nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f) == 0) return nullptr;
  master = host;
  AudioEffect* object = createEffectInstance(master);
  if (!object) return nullptr;
  AEffect* e = object->getAeffect();
  track(e);
  realDispatcher = e->dispatcher;
  realProcess = e->processReplacing;
  realSetParameter = e->setParameter;
  e->dispatcher = dispatcher;
  e->processReplacing = process;
  e->setParameter = setParameter;
  return e;
}
