// The effect with its real editor opened headless, on a host callback that
// records what the host hears; and the mouse as the frame's window would pass it.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "editor/zendrel_editor.h"
#include "plugin/parameter_ids.h"
#include "plugin/vst/audio_effect.h"
#include "plugin/model/zendrel.h"
#include "toolkit/draw_context.h"
#include "toolkit/frame.h"
#include "tests/support/parameter_calls.h"

namespace zendrel::test {

using Log = std::vector<std::string>;

// What the host hears: begin/end of edits and automation, in order.
class HostEars {
 public:
  static HostEars& instance() {
    static HostEars ears;
    return ears;
  }
  void clear() {
    std::lock_guard<std::mutex> guard(lock);
    log.clear();
  }
  void add(const std::string& entry) {
    std::lock_guard<std::mutex> guard(lock);
    log.push_back(entry);
  }
  Log heard() {
    std::lock_guard<std::mutex> guard(lock);
    return log;
  }

 private:
  std::mutex lock;
  Log log;
};

inline std::string fmt(float v) {
  char text[32];
  std::snprintf(text, sizeof text, "%.6f", static_cast<double>(v));
  return text;
}

inline VstIntPtr listeningHost(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr, void*,
                               float opt) {
  expectDeclaredParameter(effect, opcode, index);
  switch (opcode) {
    case audioMasterVersion: return kVstVersion;
    case audioMasterAutomate: HostEars::instance().add("automate " + std::to_string(index) + " " + fmt(opt)); break;
    case audioMasterBeginEdit: HostEars::instance().add("begin " + std::to_string(index)); break;
    case audioMasterEndEdit: HostEars::instance().add("end " + std::to_string(index)); break;
    default: break;
  }
  return 0;
}

// An effect without editing rules: stores what it is given and, as the real
// one does, tells the editor first. The editor's own handling shows alone.
class PlainEffect : public AudioEffectX {
 public:
  explicit PlainEffect(audioMasterCallback host) : AudioEffectX(host, 1, zendrel::kNumParams) {
    setEditor(new ZendrelEditor(this));
  }
  void processReplacing(float**, float**, VstInt32) override {}
  void setParameter(VstInt32 index, float value) override {
    if (editor) editor->setParameter(index, value);
    if (index >= 0 && index < zendrel::kNumParams) values[index] = value;
  }
  float getParameter(VstInt32 index) override {
    return index >= 0 && index < zendrel::kNumParams ? values[index] : 0.0f;
  }
  float values[zendrel::kNumParams] = {};
};

template <typename Effect>
class EditorOn : public ::testing::Test {
 protected:
  void SetUp() override {
    effect = std::make_unique<Effect>(listeningHost);
    editor = static_cast<ZendrelEditor*>(effect->getEditor());
    ASSERT_EQ(effect->dispatcher(effEditOpen, 0, 0, nullptr, 0.0f), 1);
    frame = editor->getFrame();
    ASSERT_NE(frame, nullptr);
    HostEars::instance().clear();
  }
  void TearDown() override { effect.reset(); }

  Toolkit::CControl* control(int32_t tag) const { return editor->controlByTag(tag); }
  float shown(int32_t tag) const { return control(tag)->getValue(); }

  // A click as the window passes it: down, then up, at (x, y) of the frame.
  void click(int32_t x, int32_t y, Toolkit::MouseButtons buttons = Toolkit::kLeftButton) {
    frame->onMouseDown(Toolkit::CPoint(x, y), buttons);
    frame->onMouseUp(Toolkit::CPoint(x, y), buttons & ~(Toolkit::kLeftButton | Toolkit::kRightButton));
  }
  // The centre of a control's rectangle.
  Toolkit::CPoint centre(int32_t tag) const {
    const Toolkit::CRect& r = control(tag)->getViewSize();
    return Toolkit::CPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  }
  void clickOn(int32_t tag, Toolkit::MouseButtons buttons = Toolkit::kLeftButton) {
    const Toolkit::CPoint c = centre(tag);
    click(c.h, c.v, buttons);
  }
  Log heard() const { return HostEars::instance().heard(); }
  // The frame drawn as a window would draw it: every control is then clean.
  void draw() {
    auto* context = new Toolkit::COffscreenContext(frame, 900, 550);
    frame->drawRect(context, frame->getViewSize());
    context->release();
  }

  std::unique_ptr<Effect> effect;
  ZendrelEditor* editor = nullptr;
  Toolkit::CFrame* frame = nullptr;
};

// The real effect with its real editor, as the product puts them together.
class EditedZendrel : public Zendrel {
 public:
  explicit EditedZendrel(audioMasterCallback host) : Zendrel(host, &createZendrelEditor) {}
};
using OpenEditor = EditorOn<EditedZendrel>;
// The editor alone, on an effect without rules.
using PlainEditor = EditorOn<PlainEffect>;

}  // namespace zendrel::test
