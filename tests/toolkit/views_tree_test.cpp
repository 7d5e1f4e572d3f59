// The view tree without drawing: reference counts, the child list, attaching,
// hit testing, coordinates, clones, attributes and autosizing.
#include <gtest/gtest.h>

#include <cstring>

#include "tests/toolkit/views_support.h"

using namespace zendrel::test;

namespace {

std::vector<std::string> names(const CViewContainer& c) {
  std::vector<std::string> out;
  for (int32_t i = 0; i < c.getNbViews(); ++i) out.push_back(static_cast<ProbeView*>(c.getView(i))->name);
  return out;
}

TEST(ViewsTree, ReferenceCountsFollowRetainReleaseAndRemoval) {
  const int before = liveObjects();
  auto* frame = new CFrame(CRect(0, 0, 100, 100), nullptr, nullptr);
  auto* a = new ProbeView(CRect(0, 0, 10, 10), "a", nullptr);
  EXPECT_EQ(a->getNbReference(), 1);
  a->retain();
  EXPECT_EQ(a->getNbReference(), 2);
  a->release();
  ASSERT_TRUE(frame->addView(a));
  EXPECT_EQ(a->getNbReference(), 2);  // creator's reference handed over plus the container's

  // Without release the caller gets the view back, detached, with one reference.
  ASSERT_TRUE(frame->removeView(a, false));
  EXPECT_EQ(a->getNbReference(), 1);
  EXPECT_FALSE(a->isAttached());
  EXPECT_EQ(a->getFrame(), nullptr);
  EXPECT_EQ(liveObjects(), before + 1);

  // Added again and removed with release: destroyed.
  ASSERT_TRUE(frame->addView(a));
  ASSERT_TRUE(frame->removeView(a, true));
  EXPECT_EQ(liveObjects(), before);
  EXPECT_FALSE(frame->removeView(a, true));  // no longer a child: nothing touches it

  frame->release();
}

TEST(ViewsTree, AddViewRefusesNullAttachedDuplicatesAndCycles) {
  CFrame* frame = new CFrame(CRect(0, 0, 100, 100), nullptr, nullptr);
  auto* outer = new ProbeContainer(CRect(0, 0, 50, 50));
  auto* inner = new ProbeContainer(CRect(0, 0, 20, 20));
  auto* v = new ProbeView(CRect(0, 0, 5, 5), "v", nullptr);

  EXPECT_FALSE(frame->addView(nullptr));
  EXPECT_FALSE(frame->addViewBefore(nullptr, nullptr));
  EXPECT_FALSE(outer->addView(outer));
  ASSERT_TRUE(outer->addView(inner));
  EXPECT_FALSE(outer->addView(inner));  // already a child (outer is detached)
  EXPECT_FALSE(inner->addView(outer));  // would make a cycle
  ASSERT_TRUE(inner->addView(v));
  EXPECT_EQ(v->getNbReference(), 2);
  ASSERT_TRUE(frame->addView(outer));
  EXPECT_FALSE(frame->addView(v));  // attached through outer
  EXPECT_EQ(v->getNbReference(), 2);
  EXPECT_EQ(frame->getNbViews(), 1);
  frame->release();
}

TEST(ViewsTree, ChildListOrderInsertAndLookup) {
  CViewContainer* c = new CViewContainer(CRect(0, 0, 100, 100));
  auto make = [](const char* n) { return new ProbeView(CRect(0, 0, 1, 1), n, nullptr); };
  CView* outsider = make("x");

  ASSERT_TRUE(c->addViewBefore(make("first"), outsider));  // empty list: appended
  CView* b = make("b");
  c->addView(b);
  c->addView(make("c"));
  EXPECT_EQ(names(*c), (std::vector<std::string>{"first", "b", "c"}));
  c->addViewBefore(make("d"), b);
  EXPECT_EQ(names(*c), (std::vector<std::string>{"first", "d", "b", "c"}));
  c->addViewBefore(make("e"), outsider);  // not a child: in front of the last child
  EXPECT_EQ(names(*c), (std::vector<std::string>{"first", "d", "b", "e", "c"}));
  c->addViewBefore(make("f"), c->getView(0));
  EXPECT_EQ(names(*c), (std::vector<std::string>{"f", "first", "d", "b", "e", "c"}));

  EXPECT_EQ(c->getNbViews(), 6);
  EXPECT_EQ(c->getView(-1), nullptr);
  EXPECT_EQ(c->getView(6), nullptr);
  EXPECT_TRUE(c->isChild(b));
  EXPECT_FALSE(c->isChild(outsider));

  // Unlinking at the ends and in the middle keeps both directions linked.
  c->removeView(c->getView(0), true);
  c->removeView(c->getView(4), true);
  c->removeView(b, true);
  EXPECT_EQ(names(*c), (std::vector<std::string>{"first", "d", "e"}));
  c->addView(make("g"));
  c->addViewBefore(make("h"), c->getView(0));
  EXPECT_EQ(names(*c), (std::vector<std::string>{"h", "first", "d", "e", "g"}));

  // removeAll without release hands each child's creator reference back.
  std::vector<CView*> kept;
  for (int32_t i = 0; i < c->getNbViews(); ++i) kept.push_back(c->getView(i));
  c->removeAll(false);
  EXPECT_EQ(c->getNbViews(), 0);
  for (CView* v : kept) {
    EXPECT_EQ(v->getNbReference(), 1);
    v->release();
  }
  outsider->release();
  c->release();
}

TEST(ViewsTree, AttachingFollowsTheTreeDownAndUp) {
  Log log;
  ProbeEditor editor(&log);
  CFrame* frame = new CFrame(CRect(0, 0, 100, 100), nullptr, &editor);
  EXPECT_TRUE(frame->isAttached());
  EXPECT_EQ(frame->getFrame(), frame);
  EXPECT_EQ(frame->getEditor(), &editor);

  auto* group = new ProbeContainer(CRect(10, 10, 60, 60));
  auto* inner = new ProbeContainer(CRect(5, 5, 40, 40));
  auto* leaf = new ProbeView(CRect(1, 1, 4, 4), "leaf", nullptr);
  group->addView(inner);
  inner->addView(leaf);
  EXPECT_FALSE(leaf->isAttached());
  EXPECT_EQ(leaf->getEditor(), nullptr);

  frame->addView(group);
  EXPECT_TRUE(leaf->isAttached());
  EXPECT_EQ(leaf->getFrame(), frame);
  EXPECT_EQ(leaf->getParentView(), inner);
  EXPECT_EQ(inner->getParentView(), group);
  EXPECT_EQ(leaf->getEditor(), &editor);
  EXPECT_FALSE(leaf->onAttached(group));  // already attached

  frame->removeView(group, false);
  EXPECT_FALSE(leaf->isAttached());
  EXPECT_EQ(leaf->getFrame(), nullptr);
  EXPECT_EQ(leaf->getParentView(), nullptr);
  EXPECT_FALSE(leaf->onDetached());
  EXPECT_EQ(inner->getNbViews(), 1);  // detaching keeps the subtree together
  group->release();
  frame->release();
}

TEST(ViewsTree, GetViewAtTakesEdgesTopmostVisibleAndDeep) {
  CFrame* frame = new CFrame(CRect(0, 0, 200, 200), nullptr, nullptr);
  auto* under = new ProbeView(CRect(10, 10, 50, 50), "under", nullptr);
  auto* over = new ProbeView(CRect(40, 40, 80, 80), "over", nullptr);
  auto* group = new ProbeContainer(CRect(100, 100, 180, 180));
  auto* inGroup = new ProbeView(CRect(10, 10, 20, 20), "inGroup", nullptr);
  group->addView(inGroup);
  frame->addView(under);
  frame->addView(over);
  frame->addView(group);

  EXPECT_EQ(frame->getViewAt(CPoint(10, 10)), under);
  EXPECT_EQ(frame->getViewAt(CPoint(50, 50 - 11)), under);
  EXPECT_EQ(frame->getViewAt(CPoint(45, 45)), over);  // overlap: the later child
  EXPECT_EQ(frame->getViewAt(CPoint(80, 80)), over);  // right/bottom edge inclusive
  EXPECT_EQ(frame->getViewAt(CPoint(81, 80)), nullptr);
  over->setVisible(false);
  EXPECT_EQ(frame->getViewAt(CPoint(45, 45)), under);
  over->setVisible(true);

  EXPECT_EQ(frame->getViewAt(CPoint(115, 115), false), group);
  EXPECT_EQ(frame->getViewAt(CPoint(115, 115), true), inGroup);
  EXPECT_EQ(frame->getViewAt(CPoint(120, 120), true), inGroup);
  EXPECT_EQ(frame->getViewAt(CPoint(150, 150), true), nullptr);
  EXPECT_EQ(frame->getContainerAt(CPoint(150, 150), true), group);
  EXPECT_EQ(frame->getContainerAt(CPoint(5, 5), true), frame);

  // A detached container finds nothing.
  auto* loose = new ProbeContainer(CRect(0, 0, 50, 50));
  loose->addView(new ProbeView(CRect(0, 0, 50, 50), "x", nullptr));
  EXPECT_EQ(loose->getViewAt(CPoint(1, 1)), nullptr);
  loose->release();
  frame->release();
}

TEST(ViewsTree, HitTestUsesTheMouseAreaWithBothEdges) {
  CFrame* frame = new CFrame(CRect(0, 0, 200, 200), nullptr, nullptr);
  auto* v = new ProbeView(CRect(10, 10, 20, 20), "v", nullptr);
  frame->addViewWithArea(v, CRect(30, 30, 40, 40), false);
  EXPECT_FALSE(v->getMouseEnabled());
  EXPECT_EQ(v->getViewSize(), CRect(10, 10, 20, 20));
  EXPECT_TRUE(v->hitTest(CPoint(30, 30)));
  EXPECT_TRUE(v->hitTest(CPoint(40, 40)));
  EXPECT_FALSE(v->hitTest(CPoint(41, 40)));
  EXPECT_FALSE(v->hitTest(CPoint(15, 15)));
  EXPECT_EQ(frame->getViewAt(CPoint(35, 35)), v);  // by mouse area, enabled or not

  // Moving the view leaves its mouse area alone.
  v->setViewSize(CRect(0, 0, 5, 5));
  EXPECT_EQ(v->getMouseArea(), CRect(30, 30, 40, 40));
  EXPECT_TRUE(v->isDirty());

  EXPECT_TRUE(v->intersectsUpdate(CRect(5, 5, 9, 9)));
  EXPECT_TRUE(v->intersectsUpdate(CRect(-4, -4, 0, 0)));  // touching counts
  EXPECT_FALSE(v->intersectsUpdate(CRect(6, 0, 9, 9)));
  frame->release();
}

TEST(ViewsTree, CoordinatesAndVisibleSizeThroughNestedContainers) {
  CFrame* frame = new CFrame(CRect(0, 0, 100, 100), nullptr, nullptr);
  auto* group = new ProbeContainer(CRect(20, 30, 70, 80));
  auto* inner = new ProbeContainer(CRect(10, 10, 55, 55));
  auto* leaf = new ProbeView(CRect(20, 20, 60, 60), "leaf", nullptr);
  inner->addView(leaf);
  group->addView(inner);
  EXPECT_EQ(leaf->getVisibleSize(), CRect(0, 0, 0, 0));  // not in a tree
  frame->addView(group);

  CPoint p(35, 45);
  leaf->frameToLocal(p);
  EXPECT_EQ(p, CPoint(5, 5));  // in leaf's parent (inner) coordinates
  leaf->localToFrame(p);
  EXPECT_EQ(p, CPoint(35, 45));

  // inner (45 wide) clips leaf at 45, group (50 wide) clips inner at 50 - 10 = 40.
  EXPECT_EQ(leaf->getVisibleSize(), CRect(20, 20, 40, 40));
  EXPECT_EQ(group->getVisibleSize(), CRect(20, 30, 70, 80));
  EXPECT_TRUE(inner->isChildVisible(leaf));
  leaf->setViewSize(CRect(50, 50, 60, 60));
  EXPECT_FALSE(inner->isChildVisible(leaf));
  frame->release();
}

TEST(ViewsTree, CloneCopiesLooksButNotThePlaceInTheTree) {
  CFrame* frame = new CFrame(CRect(0, 0, 100, 100), nullptr, nullptr);
  auto* group = new CViewContainer(CRect(5, 5, 50, 50));
  auto* v = new CView(CRect(1, 2, 3, 4));
  v->setMouseArea(CRect(0, 0, 9, 9));
  v->setMouseEnabled(false);
  const uint32_t blob = 0xfeedbeef;
  v->setAttribute(7, sizeof blob, &blob);
  group->addView(v);
  frame->addView(group);

  auto* copy = static_cast<CViewContainer*>(group->clone());
  ASSERT_EQ(copy->getNbViews(), 1);
  CView* child = copy->getView(0);
  EXPECT_NE(child, v);
  EXPECT_EQ(child->getMouseArea(), CRect(0, 0, 9, 9));
  EXPECT_FALSE(child->getMouseEnabled());
  EXPECT_FALSE(copy->isAttached());
  EXPECT_EQ(child->getParentView(), nullptr);
  uint32_t got = 0;
  int32_t gotSize = 0;
  EXPECT_TRUE(child->getAttribute(7, sizeof got, &got, gotSize));
  EXPECT_EQ(got, blob);
  copy->release();
  frame->release();
}

TEST(ViewsTree, AttributesOverwriteGrowAndRefuseBadInput) {
  CView* v = new CView(CRect());
  const char large[] = "abcdefghij";
  char buffer[32] = {};
  int32_t n = 0;
  EXPECT_TRUE(v->setAttribute(1, 2, "ab"));
  EXPECT_TRUE(v->setAttribute(1, sizeof large, large));  // same id: overwritten and grown
  EXPECT_FALSE(v->getAttribute(1, 4, buffer, n));        // too small: nothing copied
  EXPECT_EQ(n, static_cast<int32_t>(sizeof large));
  EXPECT_EQ(buffer[0], 0);
  EXPECT_TRUE(v->getAttribute(1, sizeof buffer, buffer, n));
  EXPECT_STREQ(buffer, large);
  EXPECT_FALSE(v->setAttribute(3, -1, large));
  EXPECT_FALSE(v->setAttribute(3, 4, nullptr));
  v->release();
}

TEST(ViewsTree, ContainerQueryIsRecognisedByIdentityNotText) {
  auto* c = new CViewContainer(CRect());
  auto* control = new ProbeControl(CRect());
  char copy[sizeof kMsgCheckIfViewContainer];
  std::memcpy(copy, kMsgCheckIfViewContainer, sizeof copy);
  EXPECT_EQ(c->notify(nullptr, kMsgCheckIfViewContainer), 1);
  EXPECT_EQ(c->notify(nullptr, copy), 0);
  EXPECT_EQ(control->notify(nullptr, kMsgCheckIfViewContainer), 0);
  EXPECT_TRUE(control->isTypeOf("CControl") && control->isTypeOf("CView") && !control->isTypeOf("CViewContainer"));
  control->release();
  c->release();
}

}  // namespace
