// The editor window's contents as data: its images, and every control in the
// order it is added (which is also the drawing order), read by one loop.
#pragma once

#include <cstdint>

#include "plugin/parameter_ids.h"
#include "toolkit/base.h"

namespace Toolkit {
class CBitmap;
class CControl;
class CFrame;
}  // namespace Toolkit
class CControlListener;

namespace zendrel::editor {

inline constexpr int32_t kEditorWidth = 900;
inline constexpr int32_t kEditorHeight = 550;
inline constexpr int32_t kStepsPerPage = 16;

// Tags of the controls that show no parameter.
enum PrivateTag : int32_t {
  kStepIndicator1 = 1000,
  kStepIndicator2 = 1001,
  kStepOverview = 1002,
  kSplash = 1003,
  kPageSwitch = 1004,
};
inline constexpr int32_t kTagCount = kPageSwitch + 1;

// The images, in the order the editor loads them.
enum class Image : int32_t {
  kBase,
  kSliderSlot1,
  kSliderBlueBig,
  kSliderSlot3,
  kSliderBlueSmall,
  kNoteLengthIndicator,
  kStepCountIndicator,
  kStep,
  kStepSmall,
  kSplashScreen,
  kCurrentPage,
  kMerge,
  kIncrement,
  kDecrement,
  kCount,
};
inline constexpr int32_t kImageCount = static_cast<int32_t>(Image::kCount);
extern const char* const kImageNames[kImageCount];

// What kind of control a part of a row makes.
enum class Kind {
  kSplashScreen,   // CSplashScreen
  kMergeButton,    // COnOffButton, notifying after the idle cycle
  kSlider,         // ZdVerticalSlider
  kStepLights,     // CMovieBitmap
  kIndicator,      // ZdMovieBitmap
  kButton,         // CKickButton
  kPageSwitch,     // CHorizontalSwitch
};

// One control. In a per-step row, `tag` is the base of the step's parameter
// and `rect` lies in the step's column (left and right measured from its x).
struct Part {
  Kind kind;
  int32_t tag;
  Toolkit::CRect rect;
  Image image;
  Image handle = Image::kCount;  // sliders
  int32_t travel = 0;            // sliders: pixels the handle covers
  int32_t frames = 1;            // strips
  int32_t frameHeight = 0;       // strips
};

// A row adds its parts once, or (per step) for step 0..31 in turn.
struct Row {
  bool perStep;
  int32_t partCount;
  Part parts[2];
};

extern const Row kLayout[];
extern const int32_t kLayoutRows;

// Step i's column: steps i and i + 16 share it.
constexpr int32_t columnX(int32_t step) { return 55 + 50 * (step % kStepsPerPage); }

// The picture the splash screen shows, and where.
inline constexpr Toolkit::CRect kSplashArea(200, 55, 700, 355);

// The tag bases of the seven controls every step has.
inline constexpr int32_t kStepControlBases[] = {zendrel::kGate,         zendrel::kAttack,        zendrel::kDecay,
                                                zendrel::kNoteLength,   zendrel::kNlfIncrement,  zendrel::kNlfDecrement,
                                                zendrel::kMerge};

// Creates the part for `step` (-1 outside per-step rows) with `listener`,
// taking its images from `images` (indexed by Image).
Toolkit::CControl* makeControl(const Part& part, int32_t step, CControlListener* listener,
                               Toolkit::CBitmap* const* images);

}  // namespace zendrel::editor
