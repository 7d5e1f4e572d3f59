// Probes shared by the view tests: views and controls that record what reaches
// them, an editor and a listener that record edit notifications, and live
// counters that show when objects are destroyed.
#pragma once

#include <string>
#include <vector>

#include "toolkit/control.h"
#include "toolkit/editor_interface.h"
#include "toolkit/frame.h"
#include "toolkit/view_container.h"

namespace zendrel::test {

using namespace Toolkit;

using Log = std::vector<std::string>;

inline std::string pt(const CPoint& p) { return std::to_string(p.h) + "," + std::to_string(p.v); }

// Live objects of the probe classes below.
inline int& liveObjects() {
  static int n = 0;
  return n;
}

struct Counted {
  Counted() { ++liveObjects(); }
  Counted(const Counted&) { ++liveObjects(); }
  ~Counted() { --liveObjects(); }
};

class ProbeView : public CView, Counted {
 public:
  ProbeView(const CRect& r, std::string n, Log* l, MouseResult answer = MouseResult::Handled)
      : CView(r), name(std::move(n)), log(l), mouseAnswer(answer) {}

  MouseResult onMouseDown(const CPoint& where, MouseButtons buttons) override {
    record("down " + pt(where) + " " + std::to_string(buttons));
    return mouseAnswer;
  }
  MouseResult onMouseMoved(const CPoint& where, MouseButtons) override {
    record("moved " + pt(where));
    return moveAnswer;
  }
  MouseResult onMouseUp(const CPoint& where, MouseButtons) override {
    record("up " + pt(where));
    return MouseResult::Handled;
  }
  MouseResult onMouseEntered(const CPoint& where, MouseButtons) override {
    record("entered " + pt(where));
    return MouseResult::Handled;
  }
  MouseResult onMouseExited(const CPoint& where, MouseButtons) override {
    record("exited " + pt(where));
    return MouseResult::Handled;
  }
  bool onWheel(const CPoint& where, float distance, MouseButtons) override {
    record("wheel " + pt(where) + " " + std::to_string(static_cast<int>(distance)));
    return true;
  }
  int32_t onKeyDown(VstKeyCode&) override {
    record("key");
    return keyAnswer;
  }
  void loseFocus() override { record("loseFocus"); }
  int32_t notify(CBaseObject*, const char* message) override {
    record(std::string("notify ") + message);
    return 0;
  }

  std::string name;
  Log* log;
  MouseResult mouseAnswer;
  MouseResult moveAnswer = MouseResult::Handled;
  int32_t keyAnswer = -1;

 private:
  void record(const std::string& what) {
    if (log) log->push_back(name + " " + what);
  }
};

class ProbeContainer : public CViewContainer, Counted {
 public:
  ProbeContainer(const CRect& r, std::string n = "", Log* l = nullptr) : CViewContainer(r), name(std::move(n)), log(l) {}
  int32_t notify(CBaseObject* sender, const char* message) override {
    if (log && message != kMsgCheckIfViewContainer) log->push_back(name + " notify " + message);
    return CViewContainer::notify(sender, message);
  }
  std::string name;
  Log* log;
};

// A control that draws its background like a plain view and answers clicks.
class ProbeControl : public CControl, Counted {
 public:
  ProbeControl(const CRect& r, CControlListener* l = nullptr, int32_t t = 0, CBitmap* bg = nullptr, Log* lg = nullptr)
      : CControl(r, l, t, bg), log(lg) {}
  void draw(CDrawContext* context) override { CView::draw(context); }
  MouseResult onMouseDown(const CPoint& where, MouseButtons buttons) override {
    if (log) log->push_back("control down " + pt(where) + " " + std::to_string(buttons));
    return MouseResult::Handled;
  }
  Log* log;
};

class ProbeListener : public CControlListener {
 public:
  explicit ProbeListener(Log* l, int32_t modifierAnswer = 0) : log(l), answer(modifierAnswer) {}
  void valueChanged(CControl* c) override { log->push_back("valueChanged " + std::to_string(c->getValue())); }
  int32_t onModifierClick(CControl*, MouseButtons buttons) override {
    log->push_back("modifierClick " + std::to_string(buttons));
    return answer;
  }
  void onBeginEdit(CControl* c) override { log->push_back("listener begin " + std::to_string(c->getTag())); }
  void onEndEdit(CControl* c) override { log->push_back("listener end " + std::to_string(c->getTag())); }
  Log* log;
  int32_t answer;
};

class ProbeEditor : public EditorInterface {
 public:
  explicit ProbeEditor(Log* l) : log(l) {}
  void runIdleCycle() override { log->push_back("editor idle"); }
  int32_t getKnobMode() const override { return 2; }
  void beginEdit(int32_t index) override { log->push_back("editor begin " + std::to_string(index)); }
  void endEdit(int32_t index) override { log->push_back("editor end " + std::to_string(index)); }
  Log* log;
};

}  // namespace zendrel::test
