// The editor base the dispatcher talks to. The toolkit's editor derives from it;
// the plug-in never sees more of the editor than this.
#pragma once

#include "plugin/vst/host_interface.h"

class AudioEffect;

class AEffEditor {
 public:
  explicit AEffEditor(AudioEffect* owner) : effect(owner) {}
  AEffEditor(const AEffEditor&) = delete;
  AEffEditor& operator=(const AEffEditor&) = delete;
  virtual ~AEffEditor() = default;

  virtual AudioEffect* getEffect() { return effect; }
  virtual bool getRect(ERect** rect) {
    if (rect) *rect = nullptr;
    return false;
  }
  virtual bool open(void* window) {
    systemWindow = window;
    return false;
  }
  virtual void close() { systemWindow = nullptr; }
  virtual bool isOpen() { return systemWindow != nullptr; }
  virtual void idle() {}
  virtual bool onKeyDown(VstKeyCode& keyCode) { return false; }
  virtual bool onKeyUp(VstKeyCode& keyCode) { return false; }
  // A wheel turn the host passes on; false when unused.
  virtual bool onWheel(float distance) { return false; }
  virtual bool setKnobMode(VstInt32 val) { return false; }
  // Told of every parameter change before the effect stores it. Declared here,
  // not in the toolkit's editor, so the effect needs nothing above this layer.
  virtual void setParameter(VstInt32 index, float value) {}
  // A host's display scale for the editor (its content-scale call); true when
  // the factor was taken.
  virtual bool setContentScale(float factor) { return false; }
  // A request of the project's own tools (see tool_requests.h); 0 when not understood.
  virtual VstIntPtr toolRequest(VstInt32 request, void* data) { return 0; }

 protected:
  AudioEffect* effect;
  void* systemWindow = nullptr;
};
