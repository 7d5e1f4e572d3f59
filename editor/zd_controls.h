// The editor's own slider and indicator: toolkit controls with a value
// clipboard on the right mouse button. Control + right click copies the value,
// a right click pastes it and reports it like a user's edit. All sliders of
// every editor in the process share one clipboard, all indicators another.
#pragma once

#include "toolkit/controls/movie_bitmap.h"
#include "toolkit/controls/slider.h"

class ZdVerticalSlider : public Toolkit::CVerticalSlider {
 public:
  ZdVerticalSlider(const Toolkit::CRect& size, CControlListener* listener, int32_t tag,
                   const Toolkit::CPoint& handleOffset, int32_t rangeHandle, Toolkit::CBitmap* handle,
                   Toolkit::CBitmap* background, const Toolkit::CPoint& backgroundOffset);
  ~ZdVerticalSlider() override;

  Toolkit::MouseResult onMouseDown(const Toolkit::CPoint& where, Toolkit::MouseButtons buttons) override;
};

class ZdMovieBitmap : public Toolkit::CMovieBitmap {
 public:
  // Every strip this editor shows has frames 28 pixels high, whatever is passed.
  ZdMovieBitmap(const Toolkit::CRect& size, CControlListener* listener, int32_t tag, int32_t frameCount,
                int32_t frameHeight, Toolkit::CBitmap* background, const Toolkit::CPoint& offset);
  ~ZdMovieBitmap() override;

  Toolkit::MouseResult onMouseDown(const Toolkit::CPoint& where, Toolkit::MouseButtons buttons) override;
};

// The two clipboards, as the next paste would apply them.
float sliderClipboardValue();
float indicatorClipboardValue();
