#include "tests/plugin/model/model_harness.h"

#include <cstring>


namespace zendrel::test {

Log& Log::instance() {
  static Log log;
  return log;
}

void Log::clear() {
  std::lock_guard<std::mutex> lock(mutex_);
  events_.clear();
}

void Log::add(const Event& event) {
  if (!recording_.load()) return;
  std::lock_guard<std::mutex> lock(mutex_);
  events_.push_back(event);
}

std::vector<Event> Log::events() {
  std::lock_guard<std::mutex> lock(mutex_);
  return events_;
}

std::vector<std::pair<VstInt32, float>> Log::editorCalls() {
  std::vector<std::pair<VstInt32, float>> calls;
  for (const Event& e : events())
    if (e.kind == EventKind::kEditor) calls.emplace_back(e.code, e.value);
  return calls;
}

int Log::hostCount(VstInt32 opcode) {
  int n = 0;
  for (const Event& e : events()) n += e.kind == EventKind::kHost && e.code == opcode;
  return n;
}

int Log::editorCount() {
  int n = 0;
  for (const Event& e : events()) n += e.kind == EventKind::kEditor;
  return n;
}

VstIntPtr fakeHost(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                   float opt) {
  Log& log = Log::instance();
  log.add({EventKind::kHost, opcode, opt, value});
  switch (opcode) {
    case audioMasterVersion:
      return kVstVersion;
    case audioMasterGetTime:
      return log.answerTime.load() ? reinterpret_cast<VstIntPtr>(&log.timeInfo) : 0;
    default:
      return 0;
  }
}

void playAt120() {
  VstTimeInfo& t = Log::instance().timeInfo;
  t = VstTimeInfo{};
  t.tempo = 120.0;
  t.sampleRate = 44100.0;
  t.flags = kVstTempoValid | kVstPpqPosValid | kVstTransportPlaying;
  Log::instance().answerTime = true;
}

void RecordingEditor::setParameter(VstInt32 index, float value) {
  Log::instance().add({EventKind::kEditor, index, value, 0});
}

AEffEditor* makeRecordingEditor(AudioEffect* effect, const zendrel::PatternPlayback*) {
  return new RecordingEditor(effect);
}

std::unique_ptr<Zendrel> makeEffect() {
  Log::instance().clear();
  playAt120();
  return std::make_unique<Zendrel>(fakeHost, &makeRecordingEditor);
}

void runBlock(Zendrel& effect, int frames) {
  std::vector<float> left(static_cast<size_t>(frames > 0 ? frames : 1), 0.5f), right(left);
  float* channels[2] = {left.data(), right.data()};
  effect.processReplacing(channels, channels, frames);
}

namespace {
constexpr char kUntouched[] = "untouched";

std::string readText(void (Zendrel::*read)(VstInt32, char*), Zendrel& effect, VstInt32 index) {
  char text[64];
  std::memcpy(text, kUntouched, sizeof kUntouched);
  (effect.*read)(index, text);
  return text;
}
}  // namespace

std::string display(Zendrel& effect, VstInt32 index) {
  return readText(&Zendrel::getParameterDisplay, effect, index);
}
std::string name(Zendrel& effect, VstInt32 index) {
  return readText(&Zendrel::getParameterName, effect, index);
}
std::string label(Zendrel& effect, VstInt32 index) {
  return readText(&Zendrel::getParameterLabel, effect, index);
}

std::vector<float> workingValues(Zendrel& effect) {
  std::vector<float> v;
  for (int i = 0; i < zendrel::kNumParams; ++i) v.push_back(effect.getParameter(i));
  return v;
}

std::vector<float> recordValues(const Zendrel& effect, VstInt32 p) {
  std::vector<float> v;
  const zendrel::GateProgram* program = effect.programRecord(p);
  for (int i = 0; program && i < zendrel::kNumParams; ++i) v.push_back(program->value(i));
  return v;
}

}  // namespace zendrel::test
