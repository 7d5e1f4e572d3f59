// A fake host callback and a recording editor for the effect's unit tests. Both
// write into one event log, so tests can check the order in which the editor is
// told of a value and the host is asked to refresh its display.
#pragma once

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "plugin/vst/editor_base.h"
#include "plugin/vst/host_interface.h"
#include "plugin/model/zendrel.h"
#include "tests/support/bits.h"

namespace zendrel::test {

enum class EventKind { kEditor, kHost };

struct Event {
  EventKind kind;
  VstInt32 code;      // parameter index (editor) or opcode (host)
  float value;        // the value passed to the editor; opt for the host
  VstIntPtr hostValue;
};

// Process-wide because the host callback is a plain function.
class Log {
 public:
  static Log& instance();

  void clear();
  void add(const Event& event);
  std::vector<Event> events();
  // Editor notifications as (index, value), in order.
  std::vector<std::pair<VstInt32, float>> editorCalls();
  int hostCount(VstInt32 opcode);
  int editorCount();
  // Other threads may call the host at once: recording can be switched off.
  void setRecording(bool on) { recording_.store(on); }

  // The time record the host hands out (null when answerTime is false).
  VstTimeInfo timeInfo{};
  std::atomic<bool> answerTime{true};

 private:
  std::mutex mutex_;
  std::vector<Event> events_;
  std::atomic<bool> recording_{true};
};

VstIntPtr fakeHost(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                   float opt);

// Transport playing at 120 beats per minute, 44100 Hz, song position 0.
void playAt120();

class RecordingEditor : public AEffEditor {
 public:
  using AEffEditor::AEffEditor;
  void setParameter(VstInt32 index, float value) override;
};
// The editor factory the model tests hand the effect: a recording editor.
AEffEditor* makeRecordingEditor(AudioEffect* effect, const zendrel::PatternPlayback* playback);

// A new effect on the fake host; the log holds what its construction did.
std::unique_ptr<Zendrel> makeEffect();

// Runs one block of frames of silence-free input through the effect.
void runBlock(Zendrel& effect, int frames = 64);

std::string display(Zendrel& effect, VstInt32 index);
std::string name(Zendrel& effect, VstInt32 index);
std::string label(Zendrel& effect, VstInt32 index);

// The 230 working values.
std::vector<float> workingValues(Zendrel& effect);
// The 230 stored values of program p.
std::vector<float> recordValues(const Zendrel& effect, VstInt32 p);

}  // namespace zendrel::test
