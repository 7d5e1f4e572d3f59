// The effect: one object per plug-in instance. It owns the program bank, the
// working values of the 230 parameters, the gate engine and (through the base)
// the editor, and every parameter change passes through its setParameter.
#pragma once

#include <atomic>

#include "plugin/editor_factory.h"
#include "plugin/vst/audio_effect.h"
#include "plugin/engine/gate_engine.h"
#include "plugin/parameter_ids.h"
#include "plugin/model/parameters.h"
#include "plugin/model/program_bank.h"

class Zendrel : public AudioEffectX, public zendrel::PatternPlayback {
 public:
  // makeEditor makes the editor it owns; without one the effect has none.
  explicit Zendrel(audioMasterCallback master, zendrel::EditorFactory makeEditor = nullptr);
  ~Zendrel() override;

  void resume() override;
  void processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) override;
  void setParameter(VstInt32 index, float value) override;
  float getParameter(VstInt32 index) override;
  VstInt32 getProgram() override;
  void setProgram(VstInt32 program) override;
  void setProgramName(char* name) override;
  void getProgramName(char* name) override;
  void getParameterLabel(VstInt32 index, char* label) override;
  void getParameterDisplay(VstInt32 index, char* text) override;
  void getParameterName(VstInt32 index, char* text) override;
  bool getProgramNameIndexed(VstInt32 category, VstInt32 index, char* text) override;
  bool getEffectName(char* name) override;
  bool getVendorString(char* text) override;
  bool getProductString(char* text) override;
  VstInt32 getVendorVersion() override;
  VstInt32 getPlugCategory() override;
  // Passes the host's display scale and the project's tool requests on to the editor.
  VstIntPtr vendorSpecific(VstInt32 lArg, VstIntPtr lArg2, void* ptrArg, float floatArg) override;
  // 1 for the display-scale call alone: the editor follows the host's scale.
  VstInt32 canDo(char* text) override;

  // False when the bank could not be allocated; such an object is no effect.
  bool hasProgramBank() const { return programs != nullptr; }
  // Program record i (0..kNumPrograms-1), or null.
  const zendrel::GateProgram* programRecord(VstInt32 i) const;
  double engineSampleRate() const { return hostSampleRate; }
  const zendrel::GateEngine& gateEngine() const { return engine; }
  double patternPosition() const override { return engine.patternPosition(); }
  double stepStart(int index) const override { return engine.stepStart(index); }

 private:
  float value(int index) const { return paramValues[index].load(std::memory_order_relaxed); }
  void setValue(int index, float v) { paramValues[index].store(v, std::memory_order_relaxed); }

  void applyRule(int index, float value);
  void pressButton(const zendrel::ParameterGroup& button, int step, float value);
  void followUpButton(zendrel::MergeFollowUp followUp, int step);
  void unmergeIfUnfilled(int step);
  void limitPartner(int partner, float value);
  void normalise();
  void clampValue(int index, const zendrel::RangeClamp& range);
  float derivedDisplayValue(int index) const;

  VstTimeInfo* timeInfo = nullptr;
  zendrel::GateProgram* programs = nullptr;
  std::atomic<float> paramValues[zendrel::kNumParams];
  double hostSampleRate;
  zendrel::GateEngine engine;
  // The current program for other threads: the base's curProgram is a plain
  // int, written here only, and read by nothing that may run concurrently.
  std::atomic<VstInt32> currentProgram{0};
};

// A whole effect with the editor makeEditor makes, or null when it could not
// be built (no memory for its bank).
Zendrel* createZendrel(audioMasterCallback master, zendrel::EditorFactory makeEditor);
