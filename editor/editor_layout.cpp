#include "editor/editor_layout.h"

#include "editor/zd_controls.h"
#include "toolkit/bitmap.h"
#include "toolkit/controls.h"

using namespace Toolkit;
using namespace zendrel;

namespace zendrel::editor {

const char* const kImageNames[kImageCount] = {
    "base.png",        "sliderslot1.png",   "sliderbluebig.png", "sliderslot3.png",        "sliderbluesmall.png",
    "notelengthindicator.png", "stepcountindicator.png", "step.png", "stepsmall.png", "splashscreen.png",
    "currentpage.png", "merge.png",         "increment.png",     "decrement.png",
};

// clang-format off
const Row kLayout[] = {
    {false, 1, {{Kind::kSplashScreen, kSplash, CRect(816, 476, 856, 512), Image::kSplashScreen}}},
    {true, 1, {{Kind::kMergeButton, kMerge, CRect(0, 26, 40, 46), Image::kMerge}}},
    {true, 1, {{Kind::kSlider, kGate, CRect(0, 50, 40, 250), Image::kSliderSlot1, Image::kSliderBlueBig, 200}}},
    {true, 2, {{Kind::kSlider, kAttack, CRect(0, 255, 18, 350), Image::kSliderSlot3, Image::kSliderBlueSmall, 95},
               {Kind::kSlider, kDecay, CRect(22, 255, 40, 350), Image::kSliderSlot3, Image::kSliderBlueSmall, 95}}},
    {false, 1, {{Kind::kStepLights, kStepIndicator1, CRect(55, 401, 845, 425), Image::kStep, Image::kCount, 0, 17, 24}}},
    {false, 1, {{Kind::kStepLights, kStepIndicator2, CRect(55, 401, 845, 425), Image::kStep, Image::kCount, 0, 17, 24}}},
    {false, 1, {{Kind::kStepLights, kStepOverview, CRect(55, 425, 845, 449), Image::kStepSmall, Image::kCount, 0, 32, 24}}},
    {false, 1, {{Kind::kIndicator, kNumOfSteps, CRect(55, 449, 95, 477), Image::kStepCountIndicator, Image::kCount, 0, 32, 28}}},
    {false, 1, {{Kind::kIndicator, kStepLength, CRect(105, 449, 145, 477), Image::kNoteLengthIndicator, Image::kCount, 0, 13, 28}}},
    {true, 1, {{Kind::kIndicator, kNoteLength, CRect(0, 355, 40, 383), Image::kNoteLengthIndicator, Image::kCount, 0, 13, 28}}},
    {true, 2, {{Kind::kButton, kNlfDecrement, CRect(0, 383, 20, 401), Image::kDecrement},
               {Kind::kButton, kNlfIncrement, CRect(20, 383, 40, 401), Image::kIncrement}}},
    {false, 1, {{Kind::kButton, kNosDecrement, CRect(55, 477, 75, 495), Image::kDecrement}}},
    {false, 1, {{Kind::kButton, kNosIncrement, CRect(75, 477, 95, 495), Image::kIncrement}}},
    {false, 1, {{Kind::kButton, kSfDecrement, CRect(105, 477, 125, 495), Image::kDecrement}}},
    {false, 1, {{Kind::kButton, kSfIncrement, CRect(125, 477, 145, 495), Image::kIncrement}}},
    {false, 1, {{Kind::kPageSwitch, kPageSwitch, CRect(55, 495, 145, 523), Image::kCurrentPage, Image::kCount, 0, 2, 28}}},
};
// clang-format on
const int32_t kLayoutRows = static_cast<int32_t>(sizeof kLayout / sizeof kLayout[0]);

CControl* makeControl(const Part& part, int32_t step, CControlListener* listener, CBitmap* const* images) {
  CRect r = part.rect;
  int32_t tag = part.tag;
  if (step >= 0) {
    r.offset(columnX(step), 0);
    tag += step;
  }
  CBitmap* image = images[static_cast<int32_t>(part.image)];
  const CPoint origin(0, 0);
  switch (part.kind) {
    case Kind::kSplashScreen:
      return new CSplashScreen(r, listener, tag, image, kSplashArea, origin);
    case Kind::kMergeButton:
      return new COnOffButton(r, listener, tag, image, kNotifyAfterIdle);
    case Kind::kSlider:
      return new ZdVerticalSlider(r, listener, tag, origin, part.travel, images[static_cast<int32_t>(part.handle)],
                                  image, origin);
    case Kind::kStepLights:
      return new CMovieBitmap(r, listener, tag, part.frames, part.frameHeight, image, origin);
    case Kind::kIndicator:
      return new ZdMovieBitmap(r, listener, tag, part.frames, part.frameHeight, image, origin);
    case Kind::kButton:
      return new CKickButton(r, listener, tag, image, origin);
    case Kind::kPageSwitch: {
      auto* pageSwitch = new CHorizontalSwitch(r, listener, tag, part.frames, part.frameHeight, part.frames, image, origin);
      pageSwitch->setValue(0.0f);  // page 1
      return pageSwitch;
    }
  }
  return nullptr;
}

}  // namespace zendrel::editor
