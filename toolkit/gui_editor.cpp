#include "toolkit/gui_editor.h"

#include <atomic>

#include "plugin/vst/audio_effect.h"
#include "toolkit/frame.h"
#include "toolkit/idle_pacing.h"
#include "toolkit/platform_seam.h"
#include "toolkit/scaling.h"
#include "toolkit/window_seam.h"

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
  const double s = frame ? frame->getScaleFactor() : currentScale();
  auto device = [s](VstInt16 v) { return static_cast<VstInt16>(Toolkit::scaling::toDevice(v, s)); };
  deviceRect = ERect{device(rect.top), device(rect.left), device(rect.bottom), device(rect.right)};
  *r = &deviceRect;
  return true;
}

namespace {
std::optional<double> present(double factor) { return factor > 0 ? std::optional<double>(factor) : std::nullopt; }
}  // namespace

double AEffGUIEditor::currentScale() {
  if (systemScale.load(std::memory_order_relaxed) < 0)
    systemScale.store(Toolkit::platform::systemScale(nullptr).value_or(0), std::memory_order_relaxed);
  return Toolkit::scaling::choose(userScale(), present(hostScale.load(std::memory_order_relaxed)),
                                  present(systemScale.load(std::memory_order_relaxed)));
}

double AEffGUIEditor::openingScale(void* parentWindow) {
  systemScale.store(parentWindow ? Toolkit::platform::systemScale(parentWindow).value_or(0) : 0,
                    std::memory_order_relaxed);
  return currentScale();
}

bool AEffGUIEditor::setContentScale(float factor) {
  const std::optional<double> s = Toolkit::scaling::fromStated(factor);
  if (!s) return false;
  hostScale.store(*s, std::memory_order_relaxed);
  if (frame && onEditorThread()) followScale();
  return true;
}

void AEffGUIEditor::followScale() {
  if (!frame) return;
  const double s = currentScale();
  if (s == frame->getScaleFactor()) return;
  if (auto* fx = dynamic_cast<AudioEffectX*>(effect))
    fx->sizeWindow(Toolkit::scaling::toDevice(rect.right - rect.left, s),
                   Toolkit::scaling::toDevice(rect.bottom - rect.top, s));
  frame->setScaleFactor(s);
}

bool AEffGUIEditor::open(void* window) { return AEffEditor::open(window); }

void AEffGUIEditor::close() {
  // The desktop's scale may change while the window is closed: asked anew.
  systemScale.store(-1, std::memory_order_relaxed);
  AEffEditor::close();
}

bool AEffGUIEditor::isOpen() { return AEffEditor::isOpen(); }

void AEffGUIEditor::idle() {
  if (inIdleStuff || !frame) return;
  noteEditorThread();
  followScale();
  frame->idle();
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
    // The host speaks of its window's device pixels.
    r = Toolkit::CRect(area->left, area->top, area->right, area->bottom);
    r.normalize();
    r = Toolkit::scaling::coverInLogical(r, frame->getScaleFactor());
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
