// The host transport as a busy session moves it: playing, stopped, jumping
// about (pre-roll included), looping over a bar, and changing tempo.
#pragma once

#include <random>

#include "host/validate/instance.h"

namespace zendrel::validate {

enum class TransportPhase { kPlaying, kStopped, kJumping, kLooping, kTempoChanges };
constexpr int kTransportPhases = 5;
const char* phaseName(TransportPhase phase);

class TransportScript {
 public:
  explicit TransportScript(double rate) : rate_(rate) {}
  void start(Instance& a, TransportPhase phase);
  // Moves the transport as the phase does before the next block.
  void beforeBlock(Instance& a, std::mt19937_64& rng);

 private:
  double rate_;
  TransportPhase phase_ = TransportPhase::kPlaying;
};

}  // namespace zendrel::validate
