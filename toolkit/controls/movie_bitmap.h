// Shows one frame of a vertical image strip, chosen by the value: 0 shows the
// first frame, 1 the last. It has no mouse behaviour of its own.
#pragma once

#include "toolkit/control.h"

namespace Toolkit {

class CMovieBitmap : public CControl, public IMultiBitmapControl {
 public:
  CMovieBitmap(const CRect& size, CControlListener* listener, int32_t tag, int32_t frameCount, int32_t frameHeight,
               CBitmap* background, const CPoint& offset = CPoint());
  CMovieBitmap& operator=(const CMovieBitmap&) = delete;

  int32_t getFrameCount() const { return frameCount; }
  const CPoint& getOffset() const { return offset; }
  // The frame draw() shows for value (value > 1 counts as 1).
  int32_t frameForValue(float value) const;

  // CView / CControl
  // A value above 1 is stored back as 1.
  void draw(CDrawContext* context) override;
  bool isTypeOf(const char* name) const override;
  CView* clone() const override;

 protected:
  CMovieBitmap(const CMovieBitmap& other) = default;

  CPoint offset;
  int32_t frameCount;
};

}  // namespace Toolkit
