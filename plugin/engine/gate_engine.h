// The audio half of the effect: the step clock that follows the host's tempo and
// position, and the gate envelope that turns the pattern into one gain per sample.
#pragma once

#include <atomic>
#include <cstdint>

#include "plugin/vst/host_interface.h"
#include "plugin/parameter_ids.h"

namespace zendrel {

// Rules for the cases the host can get wrong, shared with the test oracle so both
// agree bit for bit.
namespace gate_rules {

// Largest pattern-cycle count that still truncates through a 32-bit integer;
// beyond it the count is truncated in double (same result, no overflow).
constexpr double kInt32Limit = 2147483648.0;

// A block whose timing is unusable (no time record, tempo or sample rate that
// gives no finite positive pattern length, a position that is not finite) passes
// its input through unchanged and advances and publishes nothing.
constexpr double kBypassGain = 1.0;

}  // namespace gate_rules

class GateEngine {
 public:
  GateEngine();

  // hostSampleRate: the rate the effect took on its last resume.
  void setSampleRate(double hostSampleRate);
  double sampleRate() const;

  // One block: derives the lengths from `params` (the 230 working values), then
  // writes sampleFrames gated frames. timeInfo may be null; buffers may alias.
  void processBlock(const VstTimeInfo* timeInfo, const std::atomic<float>* params,
                    float* const* inputs, float* const* outputs, VstInt32 sampleFrames);

  // What the last block derived; all zero before the first block (hasRun false).
  bool hasRun() const;
  double stepCount() const;
  double stepLength() const;
  double noteLength(int step) const;

  // Published for the editor's step lights: read on another thread.
  double patternPosition() const;
  double stepStart(int index) const;  // index 0..32; 32 is the end of the last step

  // The free-running counter used while the transport is stopped.
  VstInt32 freeRunPosition() const { return freeRun_; }

  // Tests only: when set, every block also writes each sample's gain (in double)
  // to trace[0 .. sampleFrames-1], so differences finer than a float show up.
  void traceGains(double* trace) { gainTrace_ = trace; }

 private:
  // Constant runs with a gain that is no float are written in chunks of this many.
  static constexpr int kChunk = 128;
  // A segment's gain and extent depend on at most this many per-sample parameters.
  static constexpr int kMaxWatched = 6;

  // The per-sample parameters a segment was built from, each read once.
  struct Watched {
    int count = 0;
    int index[kMaxWatched];
    float value[kMaxWatched];
    uint32_t bits[kMaxWatched];
    // The value of params[parameter]: loaded and remembered on the first read.
    float read(const std::atomic<float>* params, int parameter);
  };

  enum SegmentKind { kSegAttack, kSegHold, kSegCrossfadeOut, kSegDecay, kSegClosed };

  // How the gain of a run of samples is formed from their positions.
  // The segment tests are kept so a run can be extended with exactly the same
  // comparisons the per-sample chain makes.
  // Default member initialisers rather than value-initialisation: that would
  // clear the watched arrays too, a costly string store for each segment.
  struct Segment {
    int kind = kSegClosed;
    double lo = 0.0, hi = 0.0;  // the step: lo <= pos < hi
    double attackEnd = 0.0, decayStart = 0.0, noteEnd = 0.0;
    bool merged = false;
    bool linear = false;  // g = base + slope * (pos - origin), else g = base
    double base = 0.0, slope = 0.0, origin = 0.0;
    double upper = 0.0;  // positions at or above this leave the segment
    Watched watched;
  };

  // Samples whose positions never decrease (defined in stretch.h).
  struct Stretch;

  // Where the gains go: the block's buffers, offset by the run's first sample.
  struct Output {
    const float* in0;
    const float* in1;
    float* out0;
    float* out1;
  };

  void deriveLengths(const std::atomic<float>* params);
  bool prepareClock(const VstTimeInfo* timeInfo);
  void makeTables();
  Stretch nextStretch(int first, int end);
  void runStretch(const std::atomic<float>* params, const Stretch& st, const Output& io);
  int findStep(double pos) const;
  static bool inSegment(const Segment& seg, double pos);
  double attackEndOf(int k, float attack) const;
  double decayStartOf(int k, float decay) const;
  Segment segmentFor(const std::atomic<float>* params, int s, double pos) const;
  void attackSegment(const std::atomic<float>* params, int s, Segment& seg) const;
  void crossfadeOutSegment(const std::atomic<float>* params, int s, Segment& seg) const;
  // pos: the position of sample first.
  int segmentRun(const std::atomic<float>* params, const Segment& seg, const Stretch& st, const Output& io,
                 int first, double pos, int end);
  void constantRun(double g, const Output& io, int first, int end);
  void publish();

  // Rate of the last resume.
  double hostSampleRate_ = 44100.0;

  // Derived once per block and kept when a stored value lies outside its table.
  double stepCount_ = 0.0;
  double stepLength_ = 0.0;
  double noteLength_[kNumSteps] = {};
  int lastStep_ = 0;
  float derivedFrom_[kNumSteps + 2] = {};  // the stored values of the last derivation
  int steps_ = 0;

  // Clock of the current block.
  bool playing_ = false;
  double samplePos_ = 0.0;
  double samplesPerBar_ = 0.0;
  double samplesPerStep_ = 0.0;
  double patternLength_ = 0.0;
  double minimumRamp_ = 0.0;
  double stepStartTable_[kNumSteps + 1] = {};
  double noteSamples_[kNumSteps] = {};
  double noteEnd_[kNumSteps] = {};
  bool fills_[kNumSteps] = {};
  // The tables above were made from tablesBar_ samples per bar, minimumRamp_ and
  // the current derived lengths; stepStartsPublished_ once the editor has them.
  bool tablesValid_ = false;
  double tablesBar_ = 0.0;
  // samplesPerBar_, samplesPerStep_, patternLength_ and the tables were made
  // for clockTempo_ at clockRate_ and the current derived lengths.
  bool clockValid_ = false;
  double clockTempo_ = 0.0;
  double clockRate_ = 0.0;
  bool stepStartsPublished_ = false;
  VstInt32 freeRun_ = 0;
  double lastPosition_ = 0.0;
  bool positioned_ = false;  // some sample of this block had a usable position
  int cachedStep_ = 0;
  double* gainTrace_ = nullptr;

  // Read by other threads.
  std::atomic<bool> hasRun_{false};
  std::atomic<double> publishedStepCount_{0.0};
  std::atomic<double> publishedStepLength_{0.0};
  std::atomic<double> publishedNoteLength_[kNumSteps];
  std::atomic<double> publishedPosition_{0.0};
  std::atomic<double> publishedStepStart_[kNumSteps + 1];
};

}  // namespace zendrel
