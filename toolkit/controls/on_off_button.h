// A toggle: each left click flips the value between 0 and 1 and has the
// editor refresh at once. The image holds the off state above the on state.
#pragma once

#include "toolkit/control.h"

namespace Toolkit {

// When the listener hears of the click: after the immediate idle cycle (what
// the editor uses) or before it.
inline constexpr int32_t kNotifyAfterIdle = 0;
inline constexpr int32_t kNotifyBeforeIdle = 1;

class COnOffButton : public CControl {
 public:
  COnOffButton(const CRect& size, CControlListener* listener, int32_t tag, CBitmap* background,
               int32_t style = kNotifyAfterIdle);
  COnOffButton& operator=(const COnOffButton&) = delete;

  virtual int32_t getStyle() const;
  virtual void setStyle(int32_t newStyle);

  // CView / CControl
  void draw(CDrawContext* context) override;
  MouseResult onMouseDown(const CPoint& where, MouseButtons buttons) override;
  bool isTypeOf(const char* name) const override;
  CView* clone() const override;

 protected:
  COnOffButton(const COnOffButton& other) = default;

  int32_t style;

 private:
  void notifyListener();
};

}  // namespace Toolkit
