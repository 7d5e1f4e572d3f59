// Reference counts across the tree: view trees and the bitmaps they show are
// built and torn down in every order the ownership rules allow. Run under the
// address and leak sanitizers this shows nothing leaks and nothing is freed twice;
// the live counters show it everywhere else.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <functional>

#include "tests/toolkit/views_support.h"
#include "toolkit/bitmap.h"
#include "toolkit/draw_context.h"

using namespace zendrel::test;

namespace {

// A bitmap that counts itself among the live probe objects.
class CountedBitmap : public CBitmap, Counted {
 public:
  CountedBitmap() : CBitmap(CResourceDescription("no_such_image.png")) {}
};

TEST(ViewsLifetime, EveryTeardownOrderFreesEverythingOnce) {
  // The steps of one teardown; each checks what is still alive, so any order is legal.
  enum Step { kReleaseBitmap, kRemoveLeaf, kDetachGroup, kDestroyFrame, kDropDetachedGroup, kStepCount };
  std::array<int, kStepCount> order{};
  for (int i = 0; i < kStepCount; ++i) order[std::size_t(i)] = i;
  int runs = 0;
  do {
    const int before = liveObjects();
    CBitmap* bitmap = new CountedBitmap;
    CFrame* frame = new CFrame(CRect(0, 0, 100, 100), nullptr, nullptr);
    auto* group = new ProbeContainer(CRect(10, 10, 60, 60));
    auto* leaf = new ProbeView(CRect(0, 0, 10, 10), "leaf", nullptr);
    auto* sibling = new ProbeView(CRect(70, 70, 80, 80), "sibling", nullptr);
    leaf->setBackground(bitmap);
    sibling->setBackground(bitmap);
    group->setBackground(bitmap);
    group->addView(leaf);
    frame->addView(group);
    frame->addView(sibling);
    ASSERT_EQ(bitmap->getNbReference(), 4);
    ASSERT_EQ(liveObjects(), before + 4);

    bool bitmapReleased = false, leafRemoved = false, groupDetached = false, groupDropped = false;
    for (int s : order) {
      switch (s) {
        case kReleaseBitmap:
          bitmap->release();  // the creator's reference
          bitmapReleased = true;
          break;
        case kRemoveLeaf:
          // Only while the leaf still hangs in a living group.
          if (!groupDropped && (frame || groupDetached)) {
            group->removeView(leaf, true);
            leafRemoved = true;
          }
          break;
        case kDetachGroup:
          if (frame) {
            frame->removeView(group, false);  // we hold the group now
            groupDetached = true;
          }
          break;
        case kDestroyFrame:
          if (frame) frame->release();
          frame = nullptr;
          break;
        case kDropDetachedGroup:
          if (groupDetached && !groupDropped) {
            group->release();
            groupDropped = true;
          }
          break;
      }
    }
    if (groupDetached && !groupDropped) group->release();
    (void)leafRemoved;
    if (!bitmapReleased) {
      EXPECT_EQ(bitmap->getNbReference(), 1);  // every view has let go of it
      bitmap->release();
    }
    EXPECT_EQ(liveObjects(), before) << "run " << runs;
    ++runs;
  } while (std::next_permutation(order.begin(), order.end()));
  EXPECT_EQ(runs, 120);
}

TEST(ViewsLifetime, BackgroundSwapsKeepBitmapCountsExact) {
  const int before = liveObjects();
  CBitmap* a = new CountedBitmap;
  CBitmap* b = new CountedBitmap;
  auto* v = new ProbeView(CRect(0, 0, 10, 10), "v", nullptr);
  v->setBackground(a);
  v->setBackground(a);  // the same image again: still one reference from the view
  EXPECT_EQ(a->getNbReference(), 2);
  v->setBackground(b);
  EXPECT_EQ(a->getNbReference(), 1);
  EXPECT_EQ(b->getNbReference(), 2);
  a->release();  // a is gone; the view never shows it again
  EXPECT_EQ(liveObjects(), before + 2);

  CView* copy = v->clone();  // a plain view with its own reference to the image
  EXPECT_EQ(b->getNbReference(), 3);
  v->release();
  b->release();
  EXPECT_EQ(b->getNbReference(), 1);
  copy->setBackground(nullptr);  // last holder: freed here
  EXPECT_EQ(liveObjects(), before);
  copy->release();
}

TEST(ViewsLifetime, ControlsModalViewsClonesAndOffscreenContainers) {
  const int before = liveObjects();
  ProbeListener listener(nullptr);
  CBitmap* image = new CountedBitmap;
  CFrame* frame = new CFrame(CRect(0, 0, 100, 100), nullptr, nullptr);
  auto* control = new ProbeControl(CRect(0, 0, 10, 10), &listener, 1, image);  // constructor retains
  EXPECT_EQ(image->getNbReference(), 2);
  frame->addView(control);

  // A splash-like owner keeps its view and shows it modally.
  auto* modal = new ProbeView(CRect(0, 0, 50, 50), "modal", nullptr);
  frame->setModalView(modal);

  // An off-screen container that has drawn once owns its off-screen context.
  auto* buffered = new ProbeContainer(CRect(50, 50, 90, 90));
  buffered->setDrawOffscreen(true);
  buffered->addView(control->clone());  // a plain view copy of the control's looks
  frame->addView(buffered);
  auto* context = new COffscreenContext(frame, 100, 100);
  frame->drawRect(context, CRect(0, 0, 100, 100));
  context->release();
  EXPECT_EQ(image->getNbReference(), 3);

  frame->release();
  EXPECT_EQ(modal->getNbReference(), 1);
  modal->release();
  EXPECT_EQ(image->getNbReference(), 1);
  image->release();
  EXPECT_EQ(liveObjects(), before);
}

}  // namespace
