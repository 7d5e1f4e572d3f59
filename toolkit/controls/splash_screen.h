// A trigger area that, when clicked, shows a picture over the editor as the
// frame's modal view; a click on the picture takes it away again.
#pragma once

#include "toolkit/control.h"

namespace Toolkit {

// The picture itself: draws its background and reports any left click to its
// listener (the splash screen that shows it).
class CDefaultSplashScreenView : public CControl {
 public:
  CDefaultSplashScreenView(const CRect& area, CControlListener* listener, CBitmap* background,
                           const CPoint& offset = CPoint());
  CDefaultSplashScreenView& operator=(const CDefaultSplashScreenView&) = delete;

  const CPoint& getOffset() const { return offset; }

  // CView / CControl
  void draw(CDrawContext* context) override;
  MouseResult onMouseDown(const CPoint& where, MouseButtons buttons) override;
  bool isTypeOf(const char* name) const override;
  CView* clone() const override;

 protected:
  CDefaultSplashScreenView(const CDefaultSplashScreenView& other) = default;

  CPoint offset;
};

class CSplashScreen : public CControl, public CControlListener {
 public:
  // The picture (background, read at offset) is shown in splashArea, in the
  // frame's coordinates; the control's own rectangle is the trigger area.
  CSplashScreen(const CRect& size, CControlListener* listener, int32_t tag, CBitmap* background,
                const CRect& splashArea, const CPoint& offset = CPoint());
  ~CSplashScreen() override;
  CSplashScreen& operator=(const CSplashScreen&) = delete;

  // value := 0 and the picture, when shown, leaves the frame.
  virtual void unsplash();
  virtual void setSplashArea(const CRect& area);
  virtual const CRect& getSplashArea() const;

  const CPoint& getOffset() const { return offset; }
  CView* getSplashView() const { return splashView; }
  bool isSplashShown() const;

  // CView / CControl
  // Draws nothing: the trigger area shows whatever lies beneath it.
  void draw(CDrawContext* context) override;
  // Only a left click hits.
  bool hitTest(const CPoint& where, MouseButtons buttons = 0) override;
  MouseResult onMouseDown(const CPoint& where, MouseButtons buttons) override;
  // Takes the picture down first: it must not outlive its trigger on screen.
  bool onDetached() override;
  bool isTypeOf(const char* name) const override;
  CView* clone() const override;

  // CControlListener: the picture was clicked.
  void valueChanged(CControl* control) override;

 protected:
  CSplashScreen(const CSplashScreen& other);

  CRect splashArea;
  CPoint offset;
  CView* splashView;  // owned
};

}  // namespace Toolkit
