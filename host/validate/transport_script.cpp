#include "host/validate/transport_script.h"

namespace zendrel::validate {

namespace {

constexpr double kLoopStart = 4.0, kLoopEnd = 8.0;  // quarter notes

void locate(zendrel::host::Host& host, double ppq, double rate) {
  const zendrel::host::Transport t = host.transport();
  host.setPpqPosition(ppq);
  host.setSamplePosition(ppq * 60.0 / t.tempo * rate);
}

}  // namespace

const char* phaseName(TransportPhase phase) {
  switch (phase) {
    case TransportPhase::kPlaying: return "playing";
    case TransportPhase::kStopped: return "stopped";
    case TransportPhase::kJumping: return "jumping";
    case TransportPhase::kLooping: return "looping";
    case TransportPhase::kTempoChanges: return "changing tempo";
  }
  return "?";
}

void TransportScript::start(Instance& a, TransportPhase phase) {
  phase_ = phase;
  zendrel::host::Transport t;
  t.sampleRate = rate_;
  t.playing = phase != TransportPhase::kStopped;
  if (phase == TransportPhase::kLooping) {
    t.cycleActive = true;
    t.cycleStartPpq = kLoopStart;
    t.cycleEndPpq = kLoopEnd;
  }
  a.host().setTransport(t);
}

void TransportScript::beforeBlock(Instance& a, std::mt19937_64& rng) {
  zendrel::host::Host& host = a.host();
  switch (phase_) {
    case TransportPhase::kPlaying:
    case TransportPhase::kStopped:
      break;
    case TransportPhase::kJumping:
      if (rng() % 4 == 0) {
        // Anywhere in ten minutes of song, now and then in the pre-roll.
        const double ppq = rng() % 8 == 0 ? -0.75 : static_cast<double>(rng() % 1200000) / 1000.0;
        locate(host, ppq, rate_);
      }
      break;
    case TransportPhase::kLooping:
      if (host.transport().ppqPos >= kLoopEnd) locate(host, kLoopStart, rate_);
      break;
    case TransportPhase::kTempoChanges: {
      static const double tempos[] = {20.0, 60.0, 97.25, 120.0, 140.0, 174.0, 300.0, 999.0, 1.0};
      if (rng() % 3 == 0) host.setTempo(tempos[rng() % (sizeof tempos / sizeof tempos[0])]);
      break;
    }
  }
}

}  // namespace zendrel::validate
