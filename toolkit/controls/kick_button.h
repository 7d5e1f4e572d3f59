// A momentary button: pressed while held inside, reports the press (1) and the
// release (0) when let go. The image holds the released state above the
// pressed state, each as high as the control.
#pragma once

#include "toolkit/control.h"

namespace Toolkit {

class CKickButton : public CControl, public IMultiBitmapControl {
 public:
  CKickButton(const CRect& size, CControlListener* listener, int32_t tag, CBitmap* background,
              const CPoint& offset = CPoint());
  CKickButton& operator=(const CKickButton&) = delete;

  const CPoint& getOffset() const { return offset; }

  // CView / CControl
  void draw(CDrawContext* context) override;
  MouseResult onMouseDown(const CPoint& where, MouseButtons buttons) override;
  MouseResult onMouseUp(const CPoint& where, MouseButtons buttons) override;
  MouseResult onMouseMoved(const CPoint& where, MouseButtons buttons) override;
  bool isTypeOf(const char* name) const override;
  CView* clone() const override;

 protected:
  CKickButton(const CKickButton& other) = default;

  CPoint offset;
  float entryState = 0.0f;
};

}  // namespace Toolkit
