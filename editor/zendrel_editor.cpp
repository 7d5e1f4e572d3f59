#include "editor/zendrel_editor.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "editor/indicator_steps.h"
#include "editor/step_lights.h"
#include "plugin/tool_requests.h"
#include "plugin/vst/audio_effect.h"
#include "toolkit/draw_context.h"
#include "toolkit/bitmap.h"
#include "toolkit/controls/movie_bitmap.h"
#include "toolkit/frame.h"
#include "toolkit/scaling.h"

using namespace Toolkit;
using namespace zendrel;
using namespace zendrel::editor;

namespace {

constexpr int32_t kPage1 = 1;
constexpr int32_t kPage2 = 2;

bool showsControl(int32_t tag) { return (tag >= 0 && tag < kNumParams) || tag == kSplash || tag == kPageSwitch; }

}  // namespace

AEffEditor* createZendrelEditor(AudioEffect* effect, const PatternPlayback* playback) {
  return new ZendrelEditor(effect, playback);
}

ZendrelEditor::ZendrelEditor(AudioEffect* owner, const PatternPlayback* pattern)
    : AEffGUIEditor(owner), playback(pattern) {
  backgroundImage = new CBitmap(kImageNames[static_cast<int32_t>(Image::kBase)]);
  rect = ERect{0, 0, kEditorHeight, kEditorWidth};
}

ZendrelEditor::~ZendrelEditor() {
  close();
  backgroundImage->release();
}

bool ZendrelEditor::open(void* parentWindow) {
  // A second open without a close starts afresh rather than leaking the first window.
  if (frame) close();
  AEffGUIEditor::open(parentWindow);
  noteEditorThread();
  frame = new CFrame(CRect(0, 0, kEditorWidth, kEditorHeight), parentWindow, this, openingScale(parentWindow));
  frame->setBackgroundColor(CColor(127, 127, 127, 255));
  frame->setBackground(backgroundImage);

  CBitmap* images[kImageCount];
  for (int32_t i = 0; i < kImageCount; ++i) images[i] = new CBitmap(kImageNames[i]);
  const CBitmap* base = images[static_cast<int32_t>(Image::kBase)];
  frame->addView(new CView(CRect(0, 0, base->getWidth(), base->getHeight())));
  buildControls(images);
  for (CBitmap* image : images) image->release();

  // Values that arrived while the window was closed are in the effect already.
  incoming.clear();
  for (int32_t i = 0; i < kNumParams; ++i) setParameter(i, effect->getParameter(i));
  return true;
}

void ZendrelEditor::buildControls(CBitmap* const* images) {
  for (int32_t r = 0; r < kLayoutRows; ++r) {
    const Row& row = kLayout[r];
    const int32_t steps = row.perStep ? kNumSteps : 1;
    for (int32_t step = 0; step < steps; ++step)
      for (int32_t p = 0; p < row.partCount; ++p) {
        CControl* control = makeControl(row.parts[p], row.perStep ? step : -1, this, images);
        frame->addView(control);
        const int32_t tag = control->getTag();
        if (tag == kStepIndicator1 || tag == kStepIndicator2)
          pageStepIndicators[tag - kStepIndicator1] = static_cast<CMovieBitmap*>(control);
        else if (tag == kStepOverview)
          overviewStepIndicator = static_cast<CMovieBitmap*>(control);
        else
          controlsByTag[tag] = control;
      }
  }
  showPage(kPage1);
}

void ZendrelEditor::close() {
  if (frame) frame->release();
  frame = nullptr;
  for (CControl*& c : controlsByTag) c = nullptr;
  pageStepIndicators[0] = pageStepIndicators[1] = nullptr;
  overviewStepIndicator = nullptr;
  AEffGUIEditor::close();
}

std::optional<double> ZendrelEditor::userScale() const {
  const char* text = std::getenv("ZENDREL_SCALE");
  return text ? scaling::fromText(text) : std::nullopt;
}

void ZendrelEditor::setParameter(VstInt32 index, float value) {
  if (!showsControl(index)) return;
  if (!onEditorThread()) {
    // Controls belong to the editor's thread: the value waits for its idle.
    incoming.store(index, value);
    return;
  }
  if (!frame) return;
  incoming.forget(index);
  controlsByTag[index]->setValue(value);
}

CControl* ZendrelEditor::controlByTag(int32_t tag) const {
  return frame && showsControl(tag) ? controlsByTag[tag] : nullptr;
}

CMovieBitmap* ZendrelEditor::pageStepIndicator(int32_t page) const {
  return frame && (page == kPage1 || page == kPage2) ? pageStepIndicators[page - 1] : nullptr;
}

// ---- refresh ----------------------------------------------------------------------

void ZendrelEditor::idle() {
  if (!frame) return;
  noteEditorThread();
  followScale();
  incoming.take([this](int32_t tag, float value) { controlsByTag[tag]->setValue(value); });
  lightPlayingStep();
  frame->idle();
}

void ZendrelEditor::lightPlayingStep() {
  if (!playback) return;
  double starts[kNumSteps + 1];
  for (int32_t k = 0; k <= kNumSteps; ++k) starts[k] = playback->stepStart(k);
  StepLights lights{pageStepIndicators[0]->getValue(), pageStepIndicators[1]->getValue(),
                    overviewStepIndicator->getValue()};
  zendrel::editor::lightPlayingStep(playback->patternPosition(), starts, lights);
  pageStepIndicators[0]->setValue(lights.page1);
  pageStepIndicators[1]->setValue(lights.page2);
  overviewStepIndicator->setValue(lights.overview);
}

// ---- control handling ----------------------------------------------------------

void ZendrelEditor::valueChanged(CControl* control) {
  handle(control->getTag(), control->getValue());
  effect->setParameterAutomated(control->getTag(), control->getValue());
}

void ZendrelEditor::stepIndicator(CControl* indicator, float (*snap)(float), float (*step)(float), bool pressed) {
  float v = snap(indicator->getValue());
  if (pressed) v = step(v);
  indicator->setValue(v);
}

void ZendrelEditor::handle(int32_t tag, float value) {
  const bool pressed = value == 1.0f;
  CControl* stepCount = controlsByTag[kNumOfSteps];
  CControl* stepLength = controlsByTag[kStepLength];
  if (tag == kNosIncrement) {
    stepIndicator(stepCount, snapStepCount, stepCountUp, pressed);
  } else if (tag == kNosDecrement) {
    stepIndicator(stepCount, snapStepCount, stepCountDown, pressed);
  } else if (tag == kSfIncrement) {
    stepIndicator(stepLength, snapLength, lengthUp, pressed);
  } else if (tag == kSfDecrement) {
    stepIndicator(stepLength, snapLength, lengthDown, pressed);
  } else if (tag >= kNlfIncrement && tag < kNlfIncrement + kNumSteps) {
    stepIndicator(controlsByTag[kNoteLength + tag - kNlfIncrement], snapLength, lengthUp, pressed);
  } else if (tag >= kNlfDecrement && tag < kNlfDecrement + kNumSteps) {
    stepIndicator(controlsByTag[kNoteLength + tag - kNlfDecrement], snapLength, lengthDown, pressed);
  } else if (tag >= kMerge && tag < kMerge + kNumSteps) {
    controlsByTag[kNoteLength + tag - kMerge]->setValue(stepLength->getValue());
  } else if (tag == kPageSwitch) {
    if (value < 0.5f) showPage(kPage1);
    if (value > 0.5f) showPage(kPage2);
  }
}

void ZendrelEditor::showPage(int32_t page) {
  for (int32_t step = 0; step < kNumSteps; ++step) {
    const bool visible = (step < kStepsPerPage) == (page == kPage1);
    for (int32_t base : kStepControlBases) controlsByTag[base + step]->setVisible(visible);
  }
  pageStepIndicators[0]->setVisible(page == kPage1);
  pageStepIndicators[1]->setVisible(page == kPage2);
}

// ---- tool requests -------------------------------------------------------------

VstIntPtr ZendrelEditor::toolRequest(VstInt32 request, void* data) {
  if (!frame || !data || !onEditorThread()) return 0;
  if (request == kSnapshotRequest) return snapshot(data) ? 1 : 0;
  if (request == kPointerRequest) return pointer(data) ? 1 : 0;
  return 0;
}

bool ZendrelEditor::snapshot(void* data) {
  const auto* request = static_cast<const SnapshotPixels*>(data);
  const double scale = frame->getScaleFactor();
  if (request->width != scaling::toDevice(kEditorWidth, scale) ||
      request->height != scaling::toDevice(kEditorHeight, scale) || !request->pixels)
    return false;
  auto* context = new COffscreenContext(frame, kEditorWidth, kEditorHeight, kBlackCColor, scale);
  frame->drawRect(context, frame->getViewSize());
  std::vector<uint32_t> pixels;
  const bool read = context->readPixels(pixels);
  context->release();
  if (!read) return false;
  std::copy(pixels.begin(), pixels.end(), request->pixels);
  return true;
}

bool ZendrelEditor::pointer(void* data) {
  const auto* event = static_cast<const PointerEvent*>(data);
  const CPoint where = frame->toLogical(CPoint(event->x, event->y));
  switch (event->kind) {
    case PointerEvent::kDown: frame->onMouseDown(where, event->buttons); return true;
    case PointerEvent::kMoved: frame->onMouseMoved(where, event->buttons); return true;
    case PointerEvent::kUp: frame->onMouseUp(where, event->buttons); return true;
    case PointerEvent::kWheel: frame->onWheel(where, event->distance, event->buttons); return true;
    default: return false;
  }
}
