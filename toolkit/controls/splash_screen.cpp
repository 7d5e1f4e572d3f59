#include "toolkit/controls/splash_screen.h"

#include <cstring>

#include "toolkit/controls/control_drawing.h"
#include "toolkit/frame.h"

namespace Toolkit {

CDefaultSplashScreenView::CDefaultSplashScreenView(const CRect& area, CControlListener* l, CBitmap* bitmap,
                                                   const CPoint& offsetIn)
    : CControl(area, l, 0, bitmap), offset(offsetIn) {}

void CDefaultSplashScreenView::draw(CDrawContext* context) {
  control_drawing::drawImage(background, context, size, offset, transparency);
  setDirty(false);
}

MouseResult CDefaultSplashScreenView::onMouseDown(const CPoint& /*where*/, MouseButtons buttons) {
  if (!(buttons & kLeftButton)) return MouseResult::NotHandled;
  if (listener) listener->valueChanged(this);
  return MouseResult::HandledNoFollowUp;
}

bool CDefaultSplashScreenView::isTypeOf(const char* name) const {
  return (name && std::strcmp(name, "CDefaultSplashScreenView") == 0) || CControl::isTypeOf(name);
}

CView* CDefaultSplashScreenView::clone() const { return new CDefaultSplashScreenView(*this); }

CSplashScreen::CSplashScreen(const CRect& rect, CControlListener* l, int32_t t, CBitmap* bitmap,
                             const CRect& area, const CPoint& offsetIn)
    : CControl(rect, l, t, bitmap),
      splashArea(area),
      offset(offsetIn),
      splashView(new CDefaultSplashScreenView(area, this, bitmap, offsetIn)) {}

CSplashScreen::CSplashScreen(const CSplashScreen& other)
    : CControl(other),
      CControlListener(),
      splashArea(other.splashArea),
      offset(other.offset),
      splashView(new CDefaultSplashScreenView(other.splashArea, this, other.background, other.offset)) {
  value = 0.0f;  // the copy shows nothing yet
}

CSplashScreen::~CSplashScreen() {
  // Should anyone still hold the picture, its clicks must not reach us.
  static_cast<CControl*>(splashView)->setListener(nullptr);
  splashView->release();
}

bool CSplashScreen::isSplashShown() const { return frame && frame->getModalView() == splashView; }

void CSplashScreen::unsplash() {
  value = 0.0f;
  if (!isSplashShown()) return;
  splashView->invalidate();
  frame->setModalView(nullptr);
}

void CSplashScreen::setSplashArea(const CRect& area) {
  // Repaint what the picture covered before it moves.
  if (isSplashShown()) splashView->invalidate();
  splashArea = area;
  splashView->setViewSize(area);
  splashView->setMouseArea(area);
}

const CRect& CSplashScreen::getSplashArea() const { return splashArea; }

void CSplashScreen::draw(CDrawContext* /*context*/) { setDirty(false); }

bool CSplashScreen::hitTest(const CPoint& where, MouseButtons buttons) {
  return (buttons & kLeftButton) && CControl::hitTest(where, buttons);
}

MouseResult CSplashScreen::onMouseDown(const CPoint& /*where*/, MouseButtons buttons) {
  if (!(buttons & kLeftButton)) return MouseResult::NotHandled;
  // A click shows the picture whenever it is not shown, whatever value a host
  // left behind; the value says whether it is up.
  if (frame && !isSplashShown() && frame->setModalView(splashView)) {
    value = 1.0f;
    if (listener) listener->valueChanged(this);
  }
  return MouseResult::HandledNoFollowUp;
}

bool CSplashScreen::onDetached() {
  if (isSplashShown()) unsplash();
  return CControl::onDetached();
}

bool CSplashScreen::isTypeOf(const char* name) const {
  return (name && std::strcmp(name, "CSplashScreen") == 0) || CControl::isTypeOf(name);
}

CView* CSplashScreen::clone() const { return new CSplashScreen(*this); }

void CSplashScreen::valueChanged(CControl* control) {
  if (control != splashView) return;
  unsplash();
  if (listener) listener->valueChanged(this);
}

}  // namespace Toolkit
