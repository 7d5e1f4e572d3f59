// The editor base with a frame: what the plug-in's editor derives from. It
// answers the host's editor requests, runs the idle cycle that repaints changed
// views and forwards edit gestures to the effect.
#pragma once

#include <atomic>
#include <cstdint>
#include <optional>
#include <thread>

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
  // The editor's size in device pixels: `rect` at the scale the open editor
  // draws at, or would open at now.
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
  // Paints rect (device pixels; the whole frame when null) through the frame.
  virtual void drawEditorRect(ERect* rect);
  // The host's display scale: a usable factor (scaling.h) is taken and an
  // open editor follows it at once on its own thread, else at its next idle.
  bool setContentScale(float factor) override;

  // EditorInterface
  void runIdleCycle() override;
  int32_t getKnobMode() const override;
  void beginEdit(int32_t index) override;
  void endEdit(int32_t index) override;

  Toolkit::CFrame* getFrame() const { return frame; }

 protected:
  // The user's own factor, which comes before any other; none here.
  virtual std::optional<double> userScale() const { return std::nullopt; }
  // The factor to make the frame with: asks the system about parentWindow
  // (not for a headless editor, which has no screen).
  double openingScale(void* parentWindow);
  // On the editor's thread: the frame takes a factor that changed since it
  // was made, after the host was asked for the new size.
  void followScale();
  // The thread the host opens and idles the window on.
  void noteEditorThread() { editorThread.store(std::this_thread::get_id(), std::memory_order_relaxed); }
  bool onEditorThread() const { return editorThread.load(std::memory_order_relaxed) == std::this_thread::get_id(); }

  Toolkit::CFrame* frame = nullptr;
  // The editor's size in logical pixels.
  ERect rect{};
  uint32_t lastTicks;
  bool inIdleStuff = false;

 private:
  double currentScale();

  // Held from construction to destruction, which may come on another thread.
  Toolkit::WindowSystemUse windowSystem;
  ERect deviceRect{};
  // What the host and the system said; 0 for nothing, and the system's below 0
  // until it was asked. Hosts may call from any thread.
  std::atomic<double> hostScale{0};
  std::atomic<double> systemScale{-1};
  std::atomic<std::thread::id> editorThread{};
};
