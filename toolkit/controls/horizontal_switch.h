// A switch with several positions side by side: the click's horizontal place
// picks the position; the strip shows one frame per position.
#pragma once

#include "toolkit/control.h"

namespace Toolkit {

class CHorizontalSwitch : public CControl, public IMultiBitmapControl {
 public:
  CHorizontalSwitch(const CRect& size, CControlListener* listener, int32_t tag, int32_t frameCount,
                    int32_t frameHeight, int32_t positions, CBitmap* background, const CPoint& offset = CPoint());
  CHorizontalSwitch& operator=(const CHorizontalSwitch&) = delete;

  int32_t getFrameCount() const { return frameCount; }
  int32_t getPositions() const { return positions; }
  const CPoint& getOffset() const { return offset; }
  // The position draw() shows for value, 0 .. positions − 1.
  int32_t positionForValue(float value) const;

  // CView / CControl
  void draw(CDrawContext* context) override;
  MouseResult onMouseDown(const CPoint& where, MouseButtons buttons) override;
  MouseResult onMouseUp(const CPoint& where, MouseButtons buttons) override;
  MouseResult onMouseMoved(const CPoint& where, MouseButtons buttons) override;
  bool isTypeOf(const char* name) const override;
  CView* clone() const override;

 protected:
  CHorizontalSwitch(const CHorizontalSwitch& other) = default;

  CPoint offset;  // kept for its users; the strip is always read from its left edge
  int32_t frameCount;
  int32_t positions;
  double coef = 0.0;  // pixels per position, taken at each mouse-down
};

}  // namespace Toolkit
