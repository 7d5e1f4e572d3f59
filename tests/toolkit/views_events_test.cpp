// Events through the tree: mouse routing, modifier clicks, controls' dirty
// tracking and edit bracketing, repaint requests, focus, modal view, keys, wheel.
#include <gtest/gtest.h>

#include "tests/toolkit/views_support.h"

using namespace zendrel::test;

namespace {

class ViewsEvents : public ::testing::Test {
 protected:
  void SetUp() override { frame = new CFrame(CRect(0, 0, 200, 200), nullptr, &editor); }
  void TearDown() override {
    if (frame) frame->release();
  }
  ProbeView* view(const CRect& r, const char* name, MouseResult answer = MouseResult::Handled) {
    return new ProbeView(r, name, &log, answer);
  }

  Log log;
  ProbeEditor editor{&log};
  CFrame* frame = nullptr;
};

TEST_F(ViewsEvents, MouseDownGoesToTheTopmostEnabledVisibleChild) {
  auto* under = view(CRect(0, 0, 100, 100), "under");
  auto* over = view(CRect(50, 50, 150, 150), "over");
  frame->addView(under);
  frame->addView(over);

  EXPECT_EQ(frame->onMouseDown(CPoint(60, 60), kLeftButton), MouseResult::Handled);
  EXPECT_EQ(frame->onMouseDown(CPoint(150, 150), kLeftButton), MouseResult::Handled);  // edge hits
  over->setMouseEnabled(false);
  frame->onMouseDown(CPoint(60, 60), kLeftButton);
  over->setMouseEnabled(true);
  over->setVisible(false);
  frame->onMouseDown(CPoint(70, 70), kLeftButton);
  EXPECT_EQ(frame->onMouseDown(CPoint(190, 190), kLeftButton), MouseResult::NotHandled);
  // Each press first releases the view the one before it left tracking.
  EXPECT_EQ(log, (Log{"over down 60,60 2", "over up 150,150", "over down 150,150 2", "over up 60,60",
                      "under down 60,60 2", "under up 70,70", "under down 70,70 2", "under up 190,190"}));
}

TEST_F(ViewsEvents, HandledViewKeepsMovesAndUpInLocalCoordinates) {
  auto* group = new ProbeContainer(CRect(20, 20, 120, 120));
  auto* target = view(CRect(10, 10, 50, 50), "t");
  group->addView(target);
  frame->addView(group);

  EXPECT_EQ(frame->onMouseDown(CPoint(35, 35), kLeftButton), MouseResult::Handled);
  EXPECT_EQ(frame->getMouseDownView(), group);
  EXPECT_EQ(group->getMouseDownView(), target);
  // Moves anywhere, even outside the view, go to the view that took the click.
  EXPECT_EQ(frame->onMouseMoved(CPoint(190, 5), kLeftButton), MouseResult::Handled);
  EXPECT_EQ(frame->onMouseUp(CPoint(40, 45), 0), MouseResult::Handled);
  EXPECT_EQ(frame->getMouseDownView(), nullptr);
  EXPECT_EQ(group->getMouseDownView(), nullptr);
  EXPECT_EQ(frame->onMouseUp(CPoint(40, 45), 0), MouseResult::NotHandled);
  EXPECT_EQ(log, (Log{"t down 15,15 2", "t moved 170,-15", "t up 20,25"}));
}

TEST_F(ViewsEvents, ANonHandledMoveOrNoFollowUpEndsTheRouting) {
  auto* v = view(CRect(0, 0, 50, 50), "v");
  auto* once = view(CRect(60, 60, 90, 90), "once", MouseResult::HandledNoFollowUp);
  frame->addView(v);
  frame->addView(once);

  v->moveAnswer = MouseResult::NotImplemented;
  frame->onMouseDown(CPoint(5, 5), kLeftButton);
  EXPECT_EQ(frame->onMouseMoved(CPoint(6, 6), kLeftButton), MouseResult::NotHandled);
  EXPECT_EQ(frame->getMouseDownView(), nullptr);

  EXPECT_EQ(frame->onMouseDown(CPoint(70, 70), kLeftButton), MouseResult::HandledNoFollowUp);
  EXPECT_EQ(frame->getMouseDownView(), nullptr);
}

TEST_F(ViewsEvents, ModifierClicksAskTheListenerFirst) {
  ProbeListener consuming(&log, 1);
  ProbeListener passing(&log, 0);
  auto* a = new ProbeControl(CRect(0, 0, 50, 50), &consuming, 5, nullptr, &log);
  auto* b = new ProbeControl(CRect(60, 0, 110, 50), &passing, 6, nullptr, &log);
  auto* c = new ProbeControl(CRect(120, 0, 170, 50), nullptr, 7, nullptr, &log);
  frame->addView(a);
  frame->addView(b);
  frame->addView(c);

  // Right click on a consuming listener: the control never sees it.
  EXPECT_EQ(frame->onMouseDown(CPoint(10, 10), kRightButton), MouseResult::Handled);
  EXPECT_EQ(frame->getMouseDownView(), nullptr);
  // Plain left click: no listener call at all.
  frame->onMouseDown(CPoint(10, 10), kLeftButton);
  // Shift + left (0x12 > 7) asks the listener, which passes it on.
  frame->onMouseDown(CPoint(70, 10), kLeftButton | kShiftKey);
  // No listener: the control gets the right click.
  frame->onMouseDown(CPoint(130, 10), kRightButton);
  EXPECT_EQ(log, (Log{"modifierClick 8", "control down 10,10 2", "modifierClick 18", "control down 70,10 18",
                      "control down 130,10 8"}));
}

TEST_F(ViewsEvents, ControlsAreDirtyUntilDrawnWithTheirValue) {
  auto* c = new ProbeControl(CRect(0, 0, 10, 10));
  EXPECT_TRUE(c->isDirty());  // new controls want their first paint
  c->draw(nullptr);
  EXPECT_FALSE(c->isDirty());
  EXPECT_EQ(c->getOldValue(), 0.0f);

  c->setValue(0.25f);  // a plain store: no clamping, no repaint request
  EXPECT_TRUE(c->isDirty());
  c->setValue(0.0f);  // back to the value last drawn
  EXPECT_FALSE(c->isDirty());

  c->setDirty(true);
  EXPECT_EQ(c->getOldValue(), -1.0f);
  c->setValue(-1.0f);
  c->setDirty(true);
  EXPECT_EQ(c->getOldValue(), 0.0f);  // still differs from the value
  EXPECT_TRUE(c->isDirty());
  c->setDirty(false);
  EXPECT_FALSE(c->isDirty());
  c->release();
}

TEST_F(ViewsEvents, DefaultOnExactlyControlLeftInsideOneEdit) {
  ProbeListener listener(&log);
  auto* c = new ProbeControl(CRect(0, 0, 10, 10), &listener, 42);
  frame->addView(c);
  c->setDefaultValue(0.75f);
  c->setValue(0.1f);
  c->draw(nullptr);

  for (MouseButtons b : {kLeftButton, kControlKey, kControlKey | kLeftButton | kShiftKey,
                         kControlKey | kRightButton, kControlKey | kLeftButton | kDoubleClick})
    EXPECT_FALSE(c->applyDefaultOnModifier(b)) << b;
  EXPECT_TRUE(log.empty());
  EXPECT_EQ(c->getValue(), 0.1f);

  EXPECT_TRUE(c->applyDefaultOnModifier(kControlKey | kLeftButton));
  EXPECT_EQ(c->getValue(), 0.75f);
  EXPECT_EQ(log, (Log{"listener begin 42", "editor begin 42", "valueChanged 0.750000", "editor end 42",
                      "listener end 42"}));
  EXPECT_EQ(frame->getFocusView(), c);

  // Already at the default and drawn: bracketed, but no change reported.
  c->draw(nullptr);
  log.clear();
  EXPECT_TRUE(c->applyDefaultOnModifier(0x22));
  EXPECT_EQ(log, (Log{"listener begin 42", "editor begin 42", "editor end 42", "listener end 42"}));
}

TEST_F(ViewsEvents, EditBracketsOfADetachedControlReachOnlyTheListener) {
  ProbeListener listener(&log);
  auto* c = new ProbeControl(CRect(0, 0, 10, 10), &listener, 3);
  c->beginEdit();
  c->endEdit();
  c->runIdleCycle();
  EXPECT_EQ(log, (Log{"listener begin 3", "listener end 3"}));
  frame->addView(c);
  log.clear();
  c->runIdleCycle();
  EXPECT_EQ(log, (Log{"editor idle"}));
  EXPECT_EQ(frame->getKnobMode(), 2);
}

TEST_F(ViewsEvents, IdleInvalidatesChangedViewsInFrameCoordinates) {
  auto* a = new ProbeControl(CRect(0, 0, 10, 10));
  auto* group = new ProbeContainer(CRect(100, 100, 150, 150));
  auto* b = new ProbeControl(CRect(5, 5, 15, 15));
  auto* hidden = new ProbeControl(CRect(20, 20, 30, 30));
  group->addView(b);
  group->addView(hidden);
  frame->addView(a);
  frame->addView(group);
  // Adding invalidated them; pretend everything was painted.
  frame->takeInvalidRect();
  for (CControl* c : {static_cast<CControl*>(a), static_cast<CControl*>(b), static_cast<CControl*>(hidden)})
    c->setDirty(false);
  group->setDirty(false);
  frame->idle();
  EXPECT_FALSE(frame->hasInvalidRect());

  b->setValue(0.5f);
  hidden->setVisible(false);
  hidden->setValue(0.5f);
  EXPECT_TRUE(group->isDirty());  // through its child
  frame->idle();
  EXPECT_EQ(frame->takeInvalidRect(), CRect(105, 105, 115, 115));
  EXPECT_FALSE(b->isDirty());  // invalidate() clears the dirty state

  group->setBackgroundColor(CColor(1, 2, 3));  // the container itself: all of it
  frame->idle();
  EXPECT_EQ(frame->takeInvalidRect(), CRect(100, 100, 150, 150));

  frame->setOpenFlag(false);
  a->setValue(1.0f);
  frame->idle();
  EXPECT_FALSE(frame->hasInvalidRect());
  frame->setOpenFlag(true);

  group->setDirty(false);
  a->setDirty(false);
  frame->invalidateArea(CRect(10, 10, 20, 20));  // touches a at its corner
  EXPECT_TRUE(a->isDirty());
  EXPECT_FALSE(group->CView::isDirty());
}

TEST_F(ViewsEvents, RemovingViewsDuringEventsNeverLeavesDanglingTargets) {
  // A view that removes itself (with release) from its handler.
  class SelfRemover : public ProbeView {
   public:
    using ProbeView::ProbeView;
    MouseResult onMouseDown(const CPoint& where, MouseButtons buttons) override {
      ProbeView::onMouseDown(where, buttons);
      static_cast<CViewContainer*>(getParentView())->removeView(this, true);
      return MouseResult::Handled;
    }
  };
  const int before = liveObjects();
  frame->addView(new SelfRemover(CRect(0, 0, 10, 10), "self", &log));
  EXPECT_EQ(frame->onMouseDown(CPoint(5, 5), kLeftButton), MouseResult::Handled);
  EXPECT_EQ(frame->getMouseDownView(), nullptr);
  EXPECT_EQ(liveObjects(), before);
  EXPECT_EQ(frame->onMouseMoved(CPoint(6, 6), kLeftButton), MouseResult::NotHandled);

  // The drag target is removed between down and up.
  auto* v = view(CRect(0, 0, 10, 10), "v");
  frame->addView(v);
  frame->onMouseDown(CPoint(5, 5), kLeftButton);
  frame->removeView(v, true);
  EXPECT_EQ(frame->onMouseMoved(CPoint(6, 6), kLeftButton), MouseResult::NotHandled);
  EXPECT_EQ(frame->onMouseUp(CPoint(6, 6), 0), MouseResult::NotHandled);

  // Focus and hover views inside a removed container are forgotten.
  auto* group = new ProbeContainer(CRect(50, 50, 100, 100));
  auto* inside = view(CRect(0, 0, 10, 10), "inside");
  group->addView(inside);
  frame->addView(group);
  frame->onMouseMoved(CPoint(55, 55), 0);
  EXPECT_EQ(frame->getHoverView(), inside);
  frame->setFocusView(inside);
  frame->removeView(group, true);
  EXPECT_EQ(frame->getFocusView(), nullptr);
  EXPECT_EQ(frame->getHoverView(), nullptr);
  EXPECT_EQ(liveObjects(), before);
}

TEST_F(ViewsEvents, HoverTrackingEntersMovesAndExits) {
  auto* a = view(CRect(0, 0, 50, 50), "a");
  auto* b = view(CRect(60, 0, 110, 50), "b");
  frame->addView(a);
  frame->addView(b);
  EXPECT_EQ(frame->onMouseMoved(CPoint(10, 10), 0), MouseResult::Handled);
  EXPECT_EQ(frame->onMouseMoved(CPoint(11, 10), 0), MouseResult::Handled);
  frame->onMouseMoved(CPoint(70, 10), 0);
  frame->onMouseMoved(CPoint(150, 150), 0);
  EXPECT_EQ(frame->onMouseMoved(CPoint(151, 150), 0), MouseResult::NotHandled);
  frame->onMouseMoved(CPoint(65, 5), 0);
  frame->onMouseExited(CPoint(300, 300), 0);
  EXPECT_EQ(frame->getHoverView(), nullptr);
  EXPECT_EQ(log, (Log{"a entered 10,10", "a moved 11,10", "a exited 70,10", "b entered 70,10", "b exited 150,150",
                      "b entered 65,5", "b exited 300,300"}));
}

TEST_F(ViewsEvents, FocusChangesNotifyAncestorsAndTheOldView) {
  auto* group = new ProbeContainer(CRect(0, 0, 100, 100), "group", &log);
  auto* a = view(CRect(0, 0, 10, 10), "a");
  auto* b = view(CRect(20, 0, 30, 10), "b");
  auto* plain = view(CRect(40, 0, 50, 10), "plain");
  a->setWantsFocus(true);
  b->setWantsFocus(true);
  group->addView(a);
  group->addView(b);
  group->addView(plain);
  frame->addView(group);

  frame->setFocusView(a);
  frame->setFocusView(a);  // unchanged: nothing
  frame->setFocusView(b);
  frame->setFocusView(plain);  // does not want focus: no notifications for it
  EXPECT_EQ(frame->getFocusView(), plain);
  EXPECT_EQ(log, (Log{"group notify kMsgNewFocusView", "group notify kMsgNewFocusView",
                      "group notify kMsgOldFocusView", "a loseFocus", "group notify kMsgOldFocusView",
                      "b loseFocus"}));

  // A click anywhere clears the focus.
  log.clear();
  frame->onMouseDown(CPoint(190, 190), kLeftButton);
  EXPECT_EQ(frame->getFocusView(), nullptr);
  EXPECT_EQ(log, (Log{"plain loseFocus"}));
}

TEST_F(ViewsEvents, KeysGoToTheFocusViewAndTabMovesTheFocus) {
  auto* a = view(CRect(0, 0, 10, 10), "a");
  auto* b = view(CRect(20, 0, 30, 10), "b");
  auto* c = view(CRect(40, 0, 50, 10), "c");
  a->setWantsFocus(true);
  c->setWantsFocus(true);
  frame->addView(a);
  frame->addView(b);
  frame->addView(c);

  VstKeyCode key{'x', 0, 0};
  EXPECT_EQ(frame->onKeyDown(key), -1);  // no focus view: nobody is asked
  frame->setFocusView(a);
  a->keyAnswer = 1;
  EXPECT_EQ(frame->onKeyDown(key), 1);
  EXPECT_EQ(frame->onKeyUp(key), -1);

  a->keyAnswer = -1;
  VstKeyCode tab{0, 2, 0};
  EXPECT_EQ(frame->onKeyDown(tab), 1);
  EXPECT_EQ(frame->getFocusView(), c);  // b does not want focus
  EXPECT_EQ(frame->onKeyDown(tab), 1);
  EXPECT_EQ(frame->getFocusView(), a);  // wraps around
  VstKeyCode shiftTab{0, 2, 1};
  EXPECT_EQ(frame->onKeyDown(shiftTab), 1);
  EXPECT_EQ(frame->getFocusView(), c);

  // The container's own routing: last to first until one answers.
  b->keyAnswer = 1;
  EXPECT_EQ(frame->CViewContainer::onKeyDown(key), 1);
}

TEST_F(ViewsEvents, ModalViewTakesEveryClickAndIsNotReleasedByTheFrame) {
  auto* below = view(CRect(0, 0, 200, 200), "below");
  frame->addView(below);
  auto* modal = view(CRect(50, 50, 100, 100), "modal", MouseResult::HandledNoFollowUp);
  auto* other = view(CRect(0, 0, 10, 10), "other");

  EXPECT_FALSE(frame->setModalView(below));  // already in the tree
  EXPECT_TRUE(frame->setModalView(modal));
  EXPECT_EQ(frame->getModalView(), modal);
  EXPECT_EQ(frame->getView(frame->getNbViews() - 1), modal);  // topmost
  EXPECT_FALSE(frame->setModalView(other));                   // one at a time

  EXPECT_EQ(frame->onMouseDown(CPoint(10, 10), kLeftButton), MouseResult::NotHandled);
  EXPECT_EQ(frame->onMouseDown(CPoint(60, 60), kLeftButton), MouseResult::HandledNoFollowUp);
  EXPECT_EQ(log, (Log{"modal down 60,60 2"}));

  EXPECT_TRUE(frame->setModalView(nullptr));
  EXPECT_EQ(frame->getModalView(), nullptr);
  EXPECT_FALSE(frame->isChild(modal));
  EXPECT_EQ(modal->getNbReference(), 1);  // its owner's reference remains
  EXPECT_TRUE(frame->setModalView(modal));

  // Destroying the frame drops the modal view without releasing it.
  frame->release();
  frame = nullptr;
  EXPECT_EQ(modal->getNbReference(), 1);
  EXPECT_FALSE(modal->isAttached());
  modal->release();
  other->release();
}

TEST_F(ViewsEvents, WheelGoesToTheTopmostChildUnlessADragIsOn) {
  auto* a = view(CRect(0, 0, 50, 50), "a");
  auto* group = new ProbeContainer(CRect(100, 100, 200, 200));
  auto* inner = view(CRect(10, 10, 20, 20), "inner");
  group->addView(inner);
  frame->addView(a);
  frame->addView(group);

  EXPECT_TRUE(frame->onWheelAxis(CPoint(10, 10), kMouseWheelAxisY, 2.0f, 0));
  EXPECT_TRUE(frame->onWheelAxis(CPoint(10, 10), kMouseWheelAxisX, 2.0f, 0));
  EXPECT_TRUE(frame->onWheelAxis(CPoint(115, 115), kMouseWheelAxisY, 1.0f, 0));
  EXPECT_FALSE(frame->onWheelAxis(CPoint(70, 70), kMouseWheelAxisY, 1.0f, 0));
  frame->onMouseDown(CPoint(10, 10), kLeftButton);
  EXPECT_FALSE(frame->onWheelAxis(CPoint(10, 10), kMouseWheelAxisY, 1.0f, 0));
  EXPECT_EQ(log, (Log{"a wheel 10,10 2", "a wheel 10,10 -2", "inner wheel 15,15 1", "a down 10,10 2"}));
}

}  // namespace
