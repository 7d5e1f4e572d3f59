// A view with a value, a tag and a listener; the base of every interactive widget.
#pragma once

#include "toolkit/view.h"

namespace Toolkit {
class CControl;
}

// How a control reports user edits to whoever owns it (the plug-in editor).
class CControlListener {
 public:
  virtual ~CControlListener() = default;
  virtual void valueChanged(Toolkit::CControl* control) = 0;
  // A click with a right button or a modifier key; non-zero consumes the click
  // before the control sees it.
  virtual int32_t onModifierClick(Toolkit::CControl* /*control*/, Toolkit::MouseButtons /*buttons*/) { return 0; }
  virtual void onBeginEdit(Toolkit::CControl* /*control*/) {}
  virtual void onEndEdit(Toolkit::CControl* /*control*/) {}
};

namespace Toolkit {

class CControl : public CView {
 public:
  CControl(const CRect& size, CControlListener* listener = nullptr, int32_t tag = 0, CBitmap* background = nullptr);

  // Asks the frame to run one editor idle cycle now, for an immediate redraw.
  virtual void runIdleCycle();
  // The setters are plain stores: no clamping, no notification, no repaint
  // request. A changed value shows through isDirty.
  virtual void setValue(float v);
  virtual float getValue() const;
  virtual void setMin(float v);
  virtual float getMin() const;
  virtual void setMax(float v);
  virtual float getMax() const;
  virtual void setOldValue(float v);
  virtual float getOldValue() const;
  virtual void setDefaultValue(float v);
  virtual float getDefaultValue() const;
  virtual void clampValue();
  // Exactly Control + left button: restores the default value inside one
  // beginEdit/endEdit and answers true.
  virtual bool applyDefaultOnModifier(MouseButtons buttons);
  virtual void setTag(int32_t t);
  virtual int32_t getTag() const;
  virtual void beginEdit();
  virtual void endEdit();
  virtual CControlListener* getListener() const;
  virtual void setListener(CControlListener* l);
  virtual void setBackOffset(const CPoint& offset);
  virtual void resetBackOffset();
  virtual void setWheelStep(float step);
  virtual float getWheelStep() const;

  const CPoint& getBackOffset() const { return backOffset; }

  // CView
  void draw(CDrawContext* context) override = 0;
  // Also true while the value differs from the value last drawn.
  bool isDirty() const override;
  void setDirty(bool state = true) override;
  bool isTypeOf(const char* name) const override;

 protected:
  CControl(const CControl& other);

  CControlListener* listener;
  int32_t tag;
  float oldValue = 1.0f;
  float defaultValue = 0.5f;
  float value = 0.0f;
  float vmin = 0.0f;
  float vmax = 1.0f;
  float wheelStep = 0.1f;
  CPoint backOffset;
};

// Second base of controls that show one frame of a vertical image strip.
class IMultiBitmapControl {
 public:
  virtual ~IMultiBitmapControl() = default;
  virtual void setFrameHeight(int32_t height) { frameHeight = height; }
  virtual int32_t getFrameHeight() const { return frameHeight; }
  // frameHeight := the height of the control's own rectangle.
  virtual void computeFrameHeightFromView();

 protected:
  int32_t frameHeight = 0;
};

}  // namespace Toolkit
