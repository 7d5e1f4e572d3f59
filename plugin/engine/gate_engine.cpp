// The step clock and gate envelope.
//
// Output samples and the published position must equal a per-sample evaluation of
// every table, bit for bit; this version gets there faster by computing the
// block-constant tables once per block and splitting the block into runs of
// samples that share one envelope segment, whose gain is then either a constant
// or one straight line. Positions are computed exactly where they are needed: at
// a few probes that find where a run ends, and for every sample of a ramp. The
// gate levels, attacks, decays and merge flags a segment depends on are read
// again at the start of every group of eight samples (gate_runs.cpp says why
// that is one of the outcomes of reading them at every sample), and a change
// ends the run there. Every formula keeps the operation order of the
// per-sample form so the doubles come out identical.
#include "plugin/engine/gate_engine.h"

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

#include "plugin/engine/gain_kernels.h"
#include "plugin/engine/stretch.h"
#include "plugin/step_grid.h"

namespace zendrel {

using namespace engine_detail;

namespace {

bool sameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

bool sameCycle(double a, double b) { return a == b || (a != a && b != b); }

// The first index in (first, end) at which pred fails, or end. pred holds at
// first and, over the indices given, on a prefix only. A good guess settles it
// in one or two probes; whatever is left is bisected.
template <class Pred>
int firstFailing(int first, int end, int guess, Pred pred) {
  int in = first, out = end;
  const auto probe = [&](int t) {
    if (t <= in || t >= out) return;
    if (pred(t))
      in = t;
    else
      out = t;
  };
  probe(guess);
  probe(in == guess ? guess + 1 : out - 1);
  while (out - in > 1) probe(in + (out - in) / 2);
  return out;
}

// A guess at the first sample of a run that starts at sample first (position
// pos) whose position reaches bound: positions advance by about one per sample.
int guessIndex(int first, int end, double pos, double bound) {
  const double d = bound - pos;
  if (!(d < static_cast<double>(end - first))) return end;
  if (!(d > 1.0)) return first + 1;
  return first + static_cast<int>(std::ceil(d));
}

}  // namespace

GateEngine::GateEngine() {
  for (auto& v : publishedNoteLength_) v.store(0.0, std::memory_order_relaxed);
  for (auto& v : publishedStepStart_) v.store(0.0, std::memory_order_relaxed);
}

void GateEngine::setSampleRate(double hostSampleRate) { hostSampleRate_ = hostSampleRate; }
double GateEngine::sampleRate() const { return hostSampleRate_; }

bool GateEngine::hasRun() const { return hasRun_.load(std::memory_order_relaxed); }
double GateEngine::stepCount() const { return publishedStepCount_.load(std::memory_order_relaxed); }
double GateEngine::stepLength() const { return publishedStepLength_.load(std::memory_order_relaxed); }
double GateEngine::noteLength(int step) const {
  if (step < 0 || step >= kNumSteps) return 0.0;
  return publishedNoteLength_[step].load(std::memory_order_relaxed);
}
double GateEngine::patternPosition() const { return publishedPosition_.load(std::memory_order_relaxed); }
double GateEngine::stepStart(int index) const {
  if (index < 0 || index > kNumSteps) return 0.0;
  return publishedStepStart_[index].load(std::memory_order_relaxed);
}

void GateEngine::deriveLengths(const std::atomic<float>* params) {
  // The same stored values derive the same lengths: skip the tables then.
  uint32_t changed = (loadBits(params + kNumOfSteps) ^ bitsOf(derivedFrom_[0])) |
                     (loadBits(params + kStepLength) ^ bitsOf(derivedFrom_[1]));
  for (int k = 0; k < kNumSteps; ++k) changed |= loadBits(params + kNoteLength + k) ^ bitsOf(derivedFrom_[k + 2]);
  if (hasRun_.load(std::memory_order_relaxed) && changed == 0) return;
  // Something changed: derive from what is read now.
  float raw[kNumSteps + 2];
  raw[0] = load(params, kNumOfSteps);
  raw[1] = load(params, kStepLength);
  for (int k = 0; k < kNumSteps; ++k) raw[k + 2] = load(params, kNoteLength + k);
  std::memcpy(derivedFrom_, raw, sizeof raw);
  tablesValid_ = false;
  clockValid_ = false;

  stepCount_ = stepCountFor(raw[0], stepCount_);
  lastStep_ = static_cast<int>(stepCount_ - 1.0);
  steps_ = static_cast<int>(stepCount_);
  stepLength_ = noteValueFor(raw[1], stepLength_);
  for (int k = 0; k < kNumSteps; ++k) noteLength_[k] = noteValueFor(raw[k + 2], noteLength_[k]);

  publishedStepCount_.store(stepCount_, std::memory_order_relaxed);
  publishedStepLength_.store(stepLength_, std::memory_order_relaxed);
  for (int k = 0; k < kNumSteps; ++k)
    publishedNoteLength_[k].store(noteLength_[k], std::memory_order_relaxed);
  hasRun_.store(true, std::memory_order_relaxed);
}

// Everything that stays constant over the block. False when the timing gives no
// finite positive pattern length (or there is no time record at all).
bool GateEngine::prepareClock(const VstTimeInfo* timeInfo) {
  if (timeInfo == nullptr) return false;
  const double currentTempo = timeInfo->tempo;
  // The same tempo, rate and derived lengths as the last block give the same
  // lengths and tables: most blocks keep them.
  if (!(clockValid_ && sameBits(currentTempo, clockTempo_) && sameBits(hostSampleRate_, clockRate_))) {
    clockValid_ = false;
    const double secondsPerBeat = 60.0 / currentTempo;
    const double samplesPerBeat = secondsPerBeat * hostSampleRate_;
    samplesPerBar_ = samplesPerBeat * 4.0;
    samplesPerStep_ = samplesPerBar_ * stepLength_;
    patternLength_ = (samplesPerBar_ * stepCount_) * stepLength_;
    if (!(patternLength_ > 0.0) || !(patternLength_ <= DBL_MAX)) return false;
    makeTables();
    clockValid_ = true;
    clockTempo_ = currentTempo;
    clockRate_ = hostSampleRate_;
  }
  playing_ = (timeInfo->flags & kVstTransportPlaying) != 0;
  samplePos_ = timeInfo->samplePos;
  return true;
}

// The step and note tables depend on the tempo and rate only through the
// samples per bar and the minimum ramp, and on the derived lengths.
void GateEngine::makeTables() {
  const double minimumRamp = 0.005 * hostSampleRate_;
  if (tablesValid_ && sameBits(samplesPerBar_, tablesBar_) && sameBits(minimumRamp, minimumRamp_)) return;
  minimumRamp_ = minimumRamp;
  tablesBar_ = samplesPerBar_;
  tablesValid_ = true;
  stepStartsPublished_ = false;
  for (int k = 0; k <= kNumSteps; ++k) stepStartTable_[k] = k * samplesPerStep_;
  for (int k = 0; k < kNumSteps; ++k) {
    noteSamples_[k] = noteLength_[k] * samplesPerBar_;
    noteEnd_[k] = stepStartTable_[k] + noteSamples_[k];
    fills_[k] = noteSamples_[k] == samplesPerStep_;
  }
  if (cachedStep_ >= steps_) cachedStep_ = 0;
}

// The stretch that starts at sample first; advances the free-running counter
// over it.
GateEngine::Stretch GateEngine::nextStretch(int first, int end) {
  Stretch st;
  st.begin = first;
  st.length = patternLength_;
  if (playing_) {
    st.playing = true;
    st.samplePos = samplePos_;
    st.cycle = std::trunc(st.cycles(first));
    // The count changes where the position wraps: at the pattern length, or at
    // zero for a negative count.
    const double pos = st.at(first);
    const double bound = st.cycle < 0.0 ? 0.0 : patternLength_;
    st.end = firstFailing(first, end, guessIndex(first, end, pos, bound),
                          [&](int t) { return sameCycle(std::trunc(st.cycles(t)), st.cycle); });
    return st;
  }
  VstInt32 counter = freeRun_;
  if (counter < 0) counter = 0;
  counter = counter == std::numeric_limits<VstInt32>::max() ? 0 : counter + 1;
  if (static_cast<double>(counter) >= patternLength_) counter = 0;
  st.first = counter;
  // The largest value the counter reaches before it wraps to 0.
  int64_t top = std::numeric_limits<VstInt32>::max();
  if (patternLength_ <= static_cast<double>(top)) top = static_cast<int64_t>(std::ceil(patternLength_)) - 1;
  int64_t count = top - counter + 1;
  if (count > end - first) count = end - first;
  st.end = first + static_cast<int>(count);
  freeRun_ = counter + static_cast<VstInt32>(count - 1);
  return st;
}

// Index of the pattern step that holds pos, or -1 outside the pattern.
int GateEngine::findStep(double pos) const {
  const int c = cachedStep_;
  if (stepStartTable_[c] <= pos && pos < stepStartTable_[c + 1]) return c;
  if (!(pos >= 0.0 && pos < stepStartTable_[steps_])) return -1;
  // k * samplesPerStep rounds, so search rather than divide.
  int k = static_cast<int>(pos / samplesPerStep_);
  if (k >= steps_) k = steps_ - 1;
  while (k > 0 && pos < stepStartTable_[k]) --k;
  while (k + 1 < steps_ && pos >= stepStartTable_[k + 1]) ++k;
  return k;
}

bool GateEngine::inSegment(const Segment& seg, double q) {
  if (!(q >= seg.lo && q < seg.hi)) return false;
  int kind;
  if (q < seg.attackEnd) {
    kind = kSegAttack;
  } else if (q < seg.decayStart) {
    kind = kSegHold;
  } else if (seg.merged) {
    kind = kSegCrossfadeOut;
  } else if (q < seg.noteEnd) {
    kind = kSegDecay;
  } else {
    kind = kSegClosed;
  }
  return kind == seg.kind;
}

void GateEngine::runStretch(const std::atomic<float>* params, const Stretch& st, const Output& io) {
  if (!st.usable()) {  // no usable position: pass through, publish nothing
    constantRun(gate_rules::kBypassGain, io, st.begin, st.end);
    return;
  }
  for (int i = st.begin; i < st.end;) {
    const double q = st.at(i);
    const int s = findStep(q);
    int end;
    if (s < 0) {
      // Before the pattern (pre-roll) or past its last step: the gate is closed.
      // Past it, the rest of the stretch is too.
      end = st.end;
      if (q < 0.0)
        end = firstFailing(i, st.end, guessIndex(i, st.end, q, 0.0), [&](int t) { return st.at(t) < 0.0; });
      constantRun(kClosedLevel, io, i, end);
    } else {
      cachedStep_ = s;
      const Segment seg = segmentFor(params, s, q);
      // Each segment is an interval of positions, so over the stretch's
      // non-decreasing positions its samples form a prefix.
      end = firstFailing(i, st.end, guessIndex(i, st.end, q, seg.upper),
                         [&](int t) { return inSegment(seg, st.at(t)); });
      end = segmentRun(params, seg, st, io, i, q, end);
    }
    i = end;
  }
  lastPosition_ = st.at(st.end - 1);
  positioned_ = true;
}

void GateEngine::publish() {
  publishedPosition_.store(lastPosition_, std::memory_order_relaxed);
  if (stepStartsPublished_) return;
  stepStartsPublished_ = true;
  for (int k = 0; k <= kNumSteps; ++k)
    publishedStepStart_[k].store(stepStartTable_[k], std::memory_order_relaxed);
}

void GateEngine::processBlock(const VstTimeInfo* timeInfo, const std::atomic<float>* params,
                              float* const* inputs, float* const* outputs, VstInt32 sampleFrames) {
  if (params == nullptr) return;
  deriveLengths(params);
  if (sampleFrames <= 0 || inputs == nullptr || outputs == nullptr) return;
  const Output io{inputs[0], inputs[1], outputs[0], outputs[1]};
  if (io.in0 == nullptr || io.in1 == nullptr || io.out0 == nullptr || io.out1 == nullptr) return;

  positioned_ = false;
  if (!prepareClock(timeInfo)) {
    constantRun(gate_rules::kBypassGain, io, 0, sampleFrames);
    return;
  }
  for (int first = 0; first < sampleFrames;) {
    const Stretch st = nextStretch(first, sampleFrames);
    runStretch(params, st, io);
    first = st.end;
  }
  if (positioned_) publish();
}

}  // namespace zendrel
