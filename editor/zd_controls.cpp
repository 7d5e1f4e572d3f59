#include "editor/zd_controls.h"

#include <atomic>

using namespace Toolkit;

namespace {

constexpr int32_t kIndicatorFrameHeight = 28;

// Process-wide: hosts may run two instances' editors on two threads.
std::atomic<float> sliderClipboard{0.0f};
std::atomic<float> indicatorClipboard{0.0f};

bool copies(MouseButtons buttons) { return (buttons & kRightButton) && (buttons & kControlKey); }

// Holds the control's value within its range (NaN at the low end). The host
// may have set any value; what the user's press reports as an edit, and what a
// paste carries to another control, is always one the host can take as a
// parameter value. Answers whether the value had to move.
bool holdInRange(CControl* control) {
  const float value = control->getValue();
  if (value >= control->getMin() && value <= control->getMax()) return false;
  control->setValue(value > control->getMax() ? control->getMax() : control->getMin());
  return true;
}

// Copy or paste with the right button; then, whatever the buttons, a control
// whose value changed since it was drawn reports it as an edit.
void copyOrPaste(CControl* control, MouseButtons buttons, std::atomic<float>& clipboard) {
  bool held = holdInRange(control);
  if (copies(buttons)) {
    clipboard.store(control->getValue(), std::memory_order_relaxed);
  } else if (buttons & kRightButton) {
    control->setValue(clipboard.load(std::memory_order_relaxed));
    held = holdInRange(control) || held;
  }
  if ((held || control->isDirty()) && control->getListener()) {
    control->beginEdit();
    control->getListener()->valueChanged(control);
    control->endEdit();
  }
}

}  // namespace

float sliderClipboardValue() { return sliderClipboard.load(std::memory_order_relaxed); }
float indicatorClipboardValue() { return indicatorClipboard.load(std::memory_order_relaxed); }

ZdVerticalSlider::ZdVerticalSlider(const CRect& rect, CControlListener* owner, int32_t id, const CPoint& handleAt,
                                   int32_t travel, CBitmap* handleImage, CBitmap* backgroundImage,
                                   const CPoint& backgroundAt)
    : CVerticalSlider(rect, owner, id, handleAt, travel, handleImage, backgroundImage, backgroundAt) {}

ZdVerticalSlider::~ZdVerticalSlider() = default;

MouseResult ZdVerticalSlider::onMouseDown(const CPoint& where, MouseButtons buttons) {
  copyOrPaste(this, buttons, sliderClipboard);
  return CVerticalSlider::onMouseDown(where, buttons);
}

ZdMovieBitmap::ZdMovieBitmap(const CRect& rect, CControlListener* owner, int32_t id, int32_t frames,
                             int32_t /*frameHeight*/, CBitmap* backgroundImage, const CPoint& sourceOffset)
    : CMovieBitmap(rect, owner, id, frames, kIndicatorFrameHeight, backgroundImage, sourceOffset) {}

ZdMovieBitmap::~ZdMovieBitmap() = default;

MouseResult ZdMovieBitmap::onMouseDown(const CPoint& /*where*/, MouseButtons buttons) {
  copyOrPaste(this, buttons, indicatorClipboard);
  return MouseResult::NotImplemented;
}
