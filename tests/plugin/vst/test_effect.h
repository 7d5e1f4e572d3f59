// A small effect on the base classes, for testing them before and apart from
// the real effect: it records what reaches its virtual operations.
#pragma once

#include <string>
#include <vector>

#include "plugin/vst/audio_effect.h"
#include "plugin/vst/editor_base.h"

namespace zendrel::test {

struct EditorLog {
  std::vector<std::string> calls;
  VstKeyCode lastKey{};
  VstInt32 knobMode = 0;
  int destroyed = 0;
};

class RecordingEditor : public AEffEditor {
 public:
  RecordingEditor(AudioEffect* owner, EditorLog* log) : AEffEditor(owner), log_(log) {}
  ~RecordingEditor() override { log_->destroyed++; }
  bool getRect(ERect** rect) override {
    log_->calls.push_back("getRect");
    *rect = &rect_;
    return true;
  }
  bool open(void* window) override {
    log_->calls.push_back("open");
    AEffEditor::open(window);
    return true;
  }
  void close() override { log_->calls.push_back("close"); }
  void idle() override { log_->calls.push_back("idle"); }
  bool onKeyDown(VstKeyCode& key) override {
    log_->calls.push_back("keyDown");
    log_->lastKey = key;
    return true;
  }
  bool onKeyUp(VstKeyCode& key) override {
    log_->calls.push_back("keyUp");
    log_->lastKey = key;
    return false;
  }
  bool setKnobMode(VstInt32 mode) override {
    log_->calls.push_back("knobMode");
    log_->knobMode = mode;
    return true;
  }

 private:
  EditorLog* log_;
  ERect rect_{0, 0, 550, 900};
};

struct EffectLog {
  std::vector<std::string> calls;
  std::vector<VstInt32> programs;
  int destroyed = 0;
};

// Keeps the base answers except where a test needs to see a call arrive.
class TestEffect : public AudioEffectX {
 public:
  TestEffect(audioMasterCallback master, EffectLog* log, VstInt32 programs = 10,
             VstInt32 params = 4)
      : AudioEffectX(master, programs, params), log_(log) {}
  ~TestEffect() override {
    if (log_) log_->destroyed++;
  }
  void processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) override {}
  void open() override { note("open"); }
  void close() override { note("close"); }
  void suspend() override { note("suspend"); }
  void resume() override { note("resume"); }
  void setProgram(VstInt32 program) override {
    if (log_) log_->programs.push_back(program);
    AudioEffectX::setProgram(program);
  }
  void setParameter(VstInt32 index, float value) override {
    note("setParameter " + std::to_string(index));
    updateDisplay();
  }
  bool getProgramNameIndexed(VstInt32 category, VstInt32 index, char* text) override {
    note("getProgramNameIndexed " + std::to_string(index));
    text[0] = 'P';
    text[1] = '\0';
    return true;
  }

  // The protected parts, for the tests.
  using AudioEffect::audioMaster;
  using AudioEffect::blockSize;
  using AudioEffect::callHost;
  using AudioEffect::numParams;
  using AudioEffect::numPrograms;
  using AudioEffect::sampleRate;

 private:
  void note(const std::string& what) {
    if (log_) log_->calls.push_back(what);
  }
  EffectLog* log_;
};

}  // namespace zendrel::test
