// The editor base with a frame: what the plug-in's editor derives from. It
// answers the host's editor requests, runs the idle cycle that repaints changed
// views and forwards edit gestures to the effect.
#pragma once

#include <cstdint>

#include "plugin/vst/editor_base.h"
#include "toolkit/editor_interface.h"
#include "toolkit/window_system_use.h"

namespace Toolkit {
class CFrame;
}

class AEffGUIEditor : public AEffEditor, public Toolkit::EditorInterface {
 public:
  // Registers itself as the effect's editor.
  explicit AEffGUIEditor(AudioEffect* effect);
  ~AEffGUIEditor() override;

  // Virtual operations in slot order.
  AudioEffect* getEffect() override;
  bool getRect(ERect** rect) override;
  // Stores the host's window and answers false: the plug-in's editor builds the frame.
  bool open(void* window) override;
  void close() override;
  bool isOpen() override;
  // The frame's idle, unless the idle cycle is giving the host idle time.
  void idle() override;
  // True only when the frame used the key.
  bool onKeyDown(VstKeyCode& keyCode) override;
  bool onKeyUp(VstKeyCode& keyCode) override;
  bool onWheel(float distance) override;
  // Sets the process-wide knob mode; true.
  bool setKnobMode(VstInt32 mode) override;
  void setParameter(VstInt32 index, float value) override;
  // Paints rect (the whole frame when null) through the frame.
  virtual void drawEditorRect(ERect* rect);

  // EditorInterface
  void runIdleCycle() override;
  int32_t getKnobMode() const override;
  void beginEdit(int32_t index) override;
  void endEdit(int32_t index) override;

  Toolkit::CFrame* getFrame() const { return frame; }

 protected:
  Toolkit::CFrame* frame = nullptr;
  ERect rect{};
  uint32_t lastTicks;
  bool inIdleStuff = false;

 private:
  // Held from construction to destruction, which may come on another thread.
  Toolkit::WindowSystemUse windowSystem;
};
