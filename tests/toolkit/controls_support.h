// What the control tests share: a headless frame driven through its own mouse
// routing (as a window would drive it), a recording listener and editor that
// write into one log, an off-screen context to draw into, and strip images
// whose frames each have their own colour.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "tests/toolkit/views_support.h"
#include "toolkit/bitmap.h"
#include "toolkit/draw_context.h"

namespace zendrel::test {

constexpr uint32_t kBackdrop = 0xff102030;  // the frame's own colour

// Opaque and different for every k below 64.
inline uint32_t frameColour(int32_t k) {
  return 0xff000000u | (uint32_t(40 + 3 * k) << 16) | (uint32_t(200 - 3 * k) << 8) | uint32_t(k * 4);
}

// A vertical strip of frames, each width × frameHeight and of one colour.
inline CBitmap* strip(int32_t width, int32_t frameHeight, const std::vector<uint32_t>& colours) {
  std::vector<uint32_t> px;
  for (uint32_t c : colours) px.insert(px.end(), std::size_t(width) * std::size_t(frameHeight), c);
  return CBitmap::createFromPixels(px.data(), width, frameHeight * int32_t(colours.size()));
}

inline CBitmap* stripOf(int32_t width, int32_t frameHeight, int32_t frames) {
  std::vector<uint32_t> colours;
  for (int32_t k = 0; k < frames; ++k) colours.push_back(frameColour(k));
  return strip(width, frameHeight, colours);
}

inline std::string changed(float v) { return "valueChanged " + std::to_string(v); }

// Records like the views' probe editor and can look around during an idle cycle.
class RecordingEditor : public ProbeEditor {
 public:
  using ProbeEditor::ProbeEditor;
  void runIdleCycle() override {
    ProbeEditor::runIdleCycle();
    if (onIdle) onIdle();
  }
  std::function<void()> onIdle;
};

class ControlsTest : public ::testing::Test {
 protected:
  ControlsTest() : listener(&log), editor(&log) {}

  void SetUp() override {
    frame = new CFrame(CRect(0, 0, kW, kH), nullptr, &editor);
    frame->setBackgroundColor(CColor(0x10, 0x20, 0x30));  // kBackdrop
    context = new COffscreenContext(frame, kW, kH);
  }
  void TearDown() override {
    context->release();
    frame->release();
  }

  // Adds a fresh control to the frame; the frame owns it from then on.
  template <typename T>
  T* add(T* control) {
    frame->addView(control);
    return control;
  }

  MouseResult down(int32_t x, int32_t y, MouseButtons buttons = kLeftButton) {
    return frame->onMouseDown(CPoint(x, y), buttons);
  }
  MouseResult move(int32_t x, int32_t y, MouseButtons buttons = kLeftButton) {
    return frame->onMouseMoved(CPoint(x, y), buttons);
  }
  MouseResult up(int32_t x, int32_t y, MouseButtons buttons = 0) { return frame->onMouseUp(CPoint(x, y), buttons); }

  void paint() {
    frame->drawRect(context, CRect(0, 0, kW, kH));
    ASSERT_TRUE(context->readPixels(pixels));
  }
  uint32_t at(int32_t x, int32_t y) const { return pixels[std::size_t(y) * kW + std::size_t(x)]; }

  // Draws one view straight into a fresh, transparent context (no container
  // clipping) and answers whether it touched any pixel outside its rectangle.
  bool drawsOutside(CView* view) {
    auto* bare = new COffscreenContext(frame, kW, kH);
    view->draw(bare);
    std::vector<uint32_t> px;
    EXPECT_TRUE(bare->readPixels(px));
    bare->release();
    const CRect r = view->getViewSize();
    for (int32_t y = 0; y < kH; ++y)
      for (int32_t x = 0; x < kW; ++x)
        if (!r.pointInside(CPoint(x, y)) && px[std::size_t(y) * kW + std::size_t(x)] != 0) return true;
    return false;
  }

  static constexpr int32_t kW = 240;
  static constexpr int32_t kH = 240;
  Log log;
  ProbeListener listener;
  RecordingEditor editor;
  CFrame* frame = nullptr;
  COffscreenContext* context = nullptr;
  std::vector<uint32_t> pixels;
};

}  // namespace zendrel::test
