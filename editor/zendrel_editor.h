// The plug-in's editor: a 900 × 550 window showing the 32 steps a page at a
// time, the playing step, the step count and step length, a page switch and
// the splash screen. It reports every edit to the effect as automation and
// follows every parameter change, whatever its source.
#pragma once

#include <optional>

#include "editor/editor_layout.h"
#include "editor/incoming_values.h"
#include "plugin/editor_factory.h"
#include "toolkit/control.h"
#include "toolkit/gui_editor.h"

namespace Toolkit {
class CMovieBitmap;
}
class ZendrelEditor : public AEffGUIEditor, public CControlListener {
 public:
  // playback: what the step lights follow; without it they stay as they are.
  explicit ZendrelEditor(AudioEffect* effect, const zendrel::PatternPlayback* playback = nullptr);
  ~ZendrelEditor() override;

  // Builds the frame and every control inside the host's window (headless
  // with a null window); always true.
  bool open(void* parentWindow) override;
  void close() override;
  // Lights the playing step, then lets the frame repaint what changed.
  void idle() override;
  // Stores the raw value into the control of that tag; from any thread.
  void setParameter(VstInt32 index, float value) override;
  void valueChanged(Toolkit::CControl* control) override;
  // Draws the open editor into a pixel buffer, or gives it a pointer event
  // (both in device pixels, at the editor's scale).
  VstIntPtr toolRequest(VstInt32 request, void* data) override;

  // The control with that tag while the window is open (parameter controls,
  // the splash screen and the page switch); null otherwise.
  Toolkit::CControl* controlByTag(int32_t tag) const;
  Toolkit::CMovieBitmap* pageStepIndicator(int32_t page) const;
  Toolkit::CMovieBitmap* overviewIndicator() const { return overviewStepIndicator; }

 protected:
  // ZENDREL_SCALE in the environment, when it is a usable factor.
  std::optional<double> userScale() const override;

 private:
  void buildControls(Toolkit::CBitmap* const* images);
  void showPage(int32_t page);
  void stepIndicator(Toolkit::CControl* indicator, float (*snap)(float), float (*step)(float), bool pressed);
  void handle(int32_t tag, float value);
  void lightPlayingStep();
  bool snapshot(void* data);
  bool pointer(void* data);

  Toolkit::CBitmap* backgroundImage = nullptr;
  Toolkit::CControl* controlsByTag[zendrel::editor::kTagCount] = {};
  Toolkit::CMovieBitmap* pageStepIndicators[2] = {};
  Toolkit::CMovieBitmap* overviewStepIndicator = nullptr;
  // The effect's playing pattern, which the step lights follow.
  const zendrel::PatternPlayback* playback = nullptr;
  zendrel::editor::IncomingValues<zendrel::editor::kTagCount> incoming;
};

// The editor factory the product hands its effect (a zendrel::EditorFactory).
AEffEditor* createZendrelEditor(AudioEffect* effect, const zendrel::PatternPlayback* playback);
