// A slider: a handle image moved along a background image, dragged with the
// mouse (Shift for fine steps), stepped by the wheel and the arrow keys.
#pragma once

#include "toolkit/control.h"

namespace Toolkit {

// Orientation and direction. With kSliderLeft or kSliderTop value 0 lies at
// the start of the travel; otherwise at its end (so the editor's vertical
// sliders have 0 at the bottom).
inline constexpr int32_t kSliderHorizontal = 0x01;
inline constexpr int32_t kSliderVertical = 0x02;
inline constexpr int32_t kSliderLeft = 0x08;
inline constexpr int32_t kSliderRight = 0x10;
inline constexpr int32_t kSliderTop = 0x20;
inline constexpr int32_t kSliderBottom = 0x40;

class CSlider : public CControl {
 public:
  // travel: the pixels the handle covers from one end to the other, the
  // handle itself included. handleOffset: where the travel starts inside the
  // control. The handle is retained (null: a 1 × 1 handle that draws nothing).
  CSlider(const CRect& size, CControlListener* listener, int32_t tag, const CPoint& handleOffset, int32_t travel,
          CBitmap* handle, CBitmap* background, const CPoint& backgroundOffset = CPoint(),
          int32_t style = kSliderVertical | kSliderBottom);
  ~CSlider() override;
  CSlider& operator=(const CSlider&) = delete;

  virtual void setHandleTransparent(bool state);
  virtual void setFreeClick(bool state);
  virtual bool getFreeClick() const;
  virtual void setHandleOffset(const CPoint& offset);
  virtual CPoint getHandleOffset() const;
  virtual void setBackgroundOffset(const CPoint& offset);
  virtual CPoint getBackgroundOffset() const;
  virtual int32_t getStyle() const;
  // Keeps the travel: the range follows the new handle's size.
  virtual void setHandle(CBitmap* handle);
  virtual CBitmap* getHandle() const;
  virtual void setFineFactor(float factor);
  virtual float getFineFactor() const;

  bool getHandleTransparent() const { return handleTransparent; }
  int32_t getRangeHandle() const { return rangeHandle; }
  int32_t getMinPos() const { return minPos; }
  int32_t getMaxPos() const { return maxPos; }
  // Where the handle is drawn, in the parent's coordinates.
  CRect getHandleRect() const { return handleRect(true); }

  // CView / CControl
  void draw(CDrawContext* context) override;
  MouseResult onMouseDown(const CPoint& where, MouseButtons buttons) override;
  MouseResult onMouseUp(const CPoint& where, MouseButtons buttons) override;
  MouseResult onMouseMoved(const CPoint& where, MouseButtons buttons) override;
  bool onWheel(const CPoint& where, float distance, MouseButtons buttons) override;
  int32_t onKeyDown(VstKeyCode& key) override;
  void setViewSize(const CRect& rect, bool invalidate = true) override;
  bool isTypeOf(const char* name) const override;
  CView* clone() const override;

 protected:
  CSlider(const CSlider& other);

  CPoint backgroundOffset;
  CPoint handleOffset;
  CBitmap* handle = nullptr;
  int32_t style;
  int32_t handleWidth = 1;
  int32_t handleHeight = 1;
  int32_t rangeHandle = 0;
  int32_t minPos = 0;
  int32_t maxPos = 0;
  int32_t minTmp = 0;
  int32_t controlWidth = 0;
  int32_t controlHeight = 0;
  float fineFactor = 10.0f;
  bool handleTransparent = true;
  bool freeClick = true;
  int32_t grabDelta = 0;
  float fineAnchor = 0.0f;
  MouseButtons lastButtons = 0;
  // Whether fineAnchor holds an anchor taken during the current drag. A flag
  // rather than a marker value: any float could be a real anchor.
  bool fineAnchorSet = false;

 private:
  bool isHorizontal() const { return (style & kSliderHorizontal) != 0; }
  // One rule for drawing and dragging, so the handle always follows the pointer.
  bool zeroAtEnd() const { return (style & (kSliderLeft | kSliderTop)) == 0; }
  int32_t handleExtent() const { return isHorizontal() ? handleWidth : handleHeight; }
  int32_t offsetAlong() const { return isHorizontal() ? handleOffset.h : handleOffset.v; }
  int32_t startAlong() const { return isHorizontal() ? size.left : size.top; }
  void takeHandleSize();
  void updateLimits();
  // (value − min) ÷ (max − min), held within 0..1; 0 when that is not a number.
  float normalisedValue() const;
  CRect handleRect(bool clamped) const;
  // One wheel or key step, reported as a complete edit.
  void stepValue(float delta);
};

// The slider the editor uses: vertical, value 0 at the bottom.
class CVerticalSlider : public CSlider {
 public:
  CVerticalSlider(const CRect& size, CControlListener* listener, int32_t tag, const CPoint& handleOffset,
                  int32_t travel, CBitmap* handle, CBitmap* background, const CPoint& backgroundOffset = CPoint());

  bool isTypeOf(const char* name) const override;
  CView* clone() const override;

 protected:
  CVerticalSlider(const CVerticalSlider& other) = default;
};

}  // namespace Toolkit
