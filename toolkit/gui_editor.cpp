#include "toolkit/gui_editor.h"

#include <atomic>

#include "plugin/vst/audio_effect.h"
#include "toolkit/frame.h"
#include "toolkit/idle_pacing.h"
#include "toolkit/platform_seam.h"

namespace {
// Shared by every editor of the process, which hosts may run on several threads.
std::atomic<int32_t> knobMode{0};
}  // namespace

AEffGUIEditor::AEffGUIEditor(AudioEffect* owner) : AEffEditor(owner), lastTicks(Toolkit::platform::tickCount()) {
  if (effect) effect->setEditor(this);
}

AEffGUIEditor::~AEffGUIEditor() {
  // An editor destroyed while open (the host closed the effect first) takes
  // its frame with it.
  if (frame) frame->release();
  frame = nullptr;
  windowSystem.release();
}

AudioEffect* AEffGUIEditor::getEffect() { return effect; }

bool AEffGUIEditor::getRect(ERect** r) {
  if (!r) return false;
  *r = &rect;
  return true;
}

bool AEffGUIEditor::open(void* window) { return AEffEditor::open(window); }

void AEffGUIEditor::close() { AEffEditor::close(); }

bool AEffGUIEditor::isOpen() { return AEffEditor::isOpen(); }

void AEffGUIEditor::idle() {
  if (!inIdleStuff && frame) frame->idle();
}

bool AEffGUIEditor::onKeyDown(VstKeyCode& key) { return frame && frame->onKeyDown(key) > 0; }

bool AEffGUIEditor::onKeyUp(VstKeyCode& key) { return frame && frame->onKeyUp(key) > 0; }

bool AEffGUIEditor::onWheel(float) { return false; }

bool AEffGUIEditor::setKnobMode(VstInt32 mode) {
  knobMode.store(mode, std::memory_order_relaxed);
  return true;
}

void AEffGUIEditor::setParameter(VstInt32, float) {}

void AEffGUIEditor::drawEditorRect(ERect* area) {
  if (!frame) return;
  Toolkit::CRect r = frame->getViewSize();
  if (area) {
    r = Toolkit::CRect(area->left, area->top, area->right, area->bottom);
    r.normalize();
  }
  if (Toolkit::CDrawContext* shared = frame->getFrameContext()) {
    frame->drawRect(shared, r);
    return;
  }
  frame->invalidateRect(r);
  frame->paintNow();
}

void AEffGUIEditor::runIdleCycle() {
  const Toolkit::IdlePacing pace = Toolkit::paceIdle(Toolkit::platform::tickCount(), lastTicks);
  if (pace.sleepFirst) Toolkit::platform::sleepMilliseconds(Toolkit::kIdleSleepMs);
  if (!pace.run) return;
  idle();
  if (frame) frame->paintNow();
  lastTicks = pace.now + Toolkit::kIdlePeriodMs;
  inIdleStuff = true;
  if (effect) effect->masterIdle();
  inIdleStuff = false;
}

int32_t AEffGUIEditor::getKnobMode() const { return knobMode.load(std::memory_order_relaxed); }

void AEffGUIEditor::beginEdit(int32_t index) {
  if (auto* fx = dynamic_cast<AudioEffectX*>(effect)) fx->beginEdit(index);
}

void AEffGUIEditor::endEdit(int32_t index) {
  if (auto* fx = dynamic_cast<AudioEffectX*>(effect)) fx->endEdit(index);
}
