// One plug-in instance as the validator drives it, and the audio buffers it
// hands over: guard zones around every channel, outputs marked before each
// block so unwritten frames show, and checks of what came back.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "host/lib/host.h"
#include "host/validate/validate.h"

namespace zendrel::validate {

// Allocations, frees and lock acquisitions made on the audio thread while a
// block ran, outside the host callback (alloc_count.cpp).
struct PathCounts {
  long allocations = 0;
  long frees = 0;
  long locks = 0;
};
// False where the counters cannot see the plug-in's heap (sanitizers, Windows).
bool pathCountingAvailable();
bool lockCountingAvailable();
void armPathCounting();
// Windows: points the module's own imports at the counters (Linux needs nothing).
void watchModule(void* moduleHandle);
PathCounts disarmPathCounting();

class Instance {
 public:
  Instance() = default;
  Instance(const Instance&) = delete;
  Instance& operator=(const Instance&) = delete;

  // Loads the module through VSTPluginMain (or main) and opens the effect;
  // false with error() set when it cannot.
  bool load(const std::string& path);
  const std::string& error() const { return error_; }
  zendrel::host::Host& host() { return host_; }
  AEffect* effect() const { return host_.effect(); }
  VstIntPtr dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                     float opt = 0.0f) {
    return host_.dispatch(opcode, index, value, ptr, opt);
  }
  int numParams() const { return effect() ? effect()->numParams : 0; }
  int numPrograms() const { return effect() ? effect()->numPrograms : 0; }
  bool hasEditor() const { return effect() && (effect()->flags & effFlagsHasEditor); }

  // Suspend, set rate and declared block size, resume, as hosts do.
  void configure(double rate, VstInt32 blockSize);
  double rate() const { return rate_; }

  // One block straight through the record; counts what the audio path did and
  // moves the transport on afterwards while it plays.
  void process(float** inputs, float** outputs, VstInt32 frames);
  const PathCounts& firstBlockCounts() const { return first_; }
  const PathCounts& laterBlockCounts() const { return later_; }
  long blocks() const { return blocks_; }

  void setParameters(const std::vector<float>& values);  // index order
  std::vector<float> parameters();
  std::string text(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0);

  // Closes the effect (effClose) and unloads the module.
  void close() { host_.unload(); }

 private:
  zendrel::host::Host host_;
  std::string error_;
  double rate_ = 44100.0;
  bool resumed_ = false;
  long blocks_ = 0;
  PathCounts first_, later_;
};

// Loads an instance or fails the check; null on failure.
std::unique_ptr<Instance> openInstance(Check& check, double rate = 44100.0, VstInt32 block = 512);

// Deterministic test input: the same (channel, frame) always gives the same
// sample, so two instances fed from one Signal see identical audio.
struct Signal {
  uint64_t seed = 1;
  double rate = 44100.0;
  float sample(int channel, int64_t frame) const;
};

// What a block did to the buffers.
struct BlockFaults {
  bool guardBroken = false;
  bool inputChanged = false;
  int unwritten = 0;
  int nonFinite = 0;
  int denormals = 0;
  int firstBad = -1;  // frame of the first unwritten, non-finite or denormal sample
  bool any() const { return guardBroken || inputChanged || unwritten || nonFinite || denormals; }
  std::string describe() const;
};

class Buffers {
 public:
  Buffers(int inputs, int outputs, int maxFrames);

  // Fills inputs from the signal at song frame `start` and marks the outputs.
  void prepare(const Signal& signal, int64_t start, int frames);
  // In place: channel c's output is channel c's input (as far as both exist).
  float** inputs() { return in_.data(); }
  float** outputs(bool inPlace) { return inPlace ? io_.data() : out_.data(); }
  BlockFaults check(int frames, bool inPlace) const;
  // Output sample after a block (in place or not).
  float output(int channel, int frame, bool inPlace) const;
  int numOutputs() const { return static_cast<int>(out_.size()); }
  int maxFrames() const { return max_; }

 private:
  static constexpr int kGuard = 64;
  std::vector<std::vector<float>> inStore_, outStore_, inCopy_;
  std::vector<float*> in_, out_, io_;
  int max_;
  int touched_ = 0;  // frames the last block used
};

bool isDenormal(float v);

}  // namespace zendrel::validate
