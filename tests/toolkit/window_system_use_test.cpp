// The window system's per-thread start (Windows: OLE) given back only where it
// succeeded, once, on its own thread, counted through a fake of the platform's
// two calls. The fake behaves as OLE does: a thread set up for the other
// apartment refuses the start, and every accepted start needs one stop.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "toolkit/window_system_use.h"

namespace zendrel::test {
namespace {

using Toolkit::WindowSystemCalls;
using Toolkit::WindowSystemUse;

// Per thread, as the real count is.
thread_local bool refuses = false;
thread_local int depth = 0;
std::atomic<int> starts{0};
std::atomic<int> stops{0};
// A stop with nothing started on its thread: the fault this guards against.
std::atomic<int> unbalancedStops{0};

bool fakeStart() {
  if (refuses) return false;
  ++depth;
  ++starts;
  return true;
}

void fakeStop() {
  ++stops;
  if (depth == 0)
    ++unbalancedStops;
  else
    --depth;
}

const WindowSystemCalls kFake{&fakeStart, &fakeStop};

class WindowSystemUseTest : public ::testing::Test {
 protected:
  void SetUp() override {
    refuses = false;
    depth = 0;
    starts = 0;
    stops = 0;
    unbalancedStops = 0;
  }
  void TearDown() override { EXPECT_EQ(unbalancedStops.load(), 0); }
};

TEST_F(WindowSystemUseTest, AcceptedStartsAreGivenBackOnceInAnyOrder) {
  {
    WindowSystemUse editor(kFake);
    auto* frame = new WindowSystemUse(kFake);
    EXPECT_TRUE(editor.held());
    EXPECT_EQ(depth, 2);
    editor.release();
    editor.release();  // a second release gives nothing back
    EXPECT_FALSE(editor.held());
    EXPECT_EQ(depth, 1);
    delete frame;
  }
  EXPECT_EQ(depth, 0);
  EXPECT_EQ(stops.load(), 2);
}

TEST_F(WindowSystemUseTest, ARefusingThreadGetsNoStop) {
  refuses = true;
  {
    WindowSystemUse editor(kFake);
    WindowSystemUse frame(kFake);
    EXPECT_FALSE(editor.held());
    EXPECT_FALSE(frame.held());
  }
  EXPECT_EQ(starts.load(), 0);
  EXPECT_EQ(stops.load(), 0);
}

TEST_F(WindowSystemUseTest, RefusedOnOneThreadAndDroppedOnAnotherStopsNowhere) {
  WindowSystemUse* use = nullptr;
  std::thread worker([&] {
    refuses = true;  // the host's worker thread, in the other apartment
    use = new WindowSystemUse(kFake);
  });
  worker.join();
  delete use;  // on this thread, which holds nothing
  EXPECT_EQ(stops.load(), 0);
  EXPECT_EQ(depth, 0);
}

TEST_F(WindowSystemUseTest, DroppedOnAnotherThreadIsGivenBackByItsOwnThreadLater) {
  std::atomic<int> creatorDepth{-1};
  std::atomic<bool> dropped{false};
  std::atomic<WindowSystemUse*> use{nullptr};
  std::thread creator([&] {
    use = new WindowSystemUse(kFake);  // an instance created here...
    while (!dropped.load()) std::this_thread::yield();
    // ...closed elsewhere: the next hold taken here settles it.
    { WindowSystemUse next(kFake); }
    creatorDepth = depth;
  });
  std::thread closer([&] {
    while (!use) std::this_thread::yield();
    delete use.load();  // ...and closed on this thread, which started nothing
    EXPECT_EQ(depth, 0);
    dropped = true;
  });
  closer.join();
  creator.join();
  EXPECT_EQ(creatorDepth.load(), 0);
  EXPECT_EQ(stops.load(), starts.load());
}

TEST_F(WindowSystemUseTest, AThreadNeverPaysForAnEarlierThreadsHold) {
  WindowSystemUse* use = nullptr;
  std::thread first([&] { use = new WindowSystemUse(kFake); });
  first.join();
  delete use;  // owed by a thread that is gone
  // A new thread (which may get the finished one's system id) owes nothing.
  std::thread second([] {
    { WindowSystemUse own(kFake); }
    EXPECT_EQ(depth, 0);
  });
  second.join();
  EXPECT_EQ(stops.load(), 1);
}

}  // namespace
}  // namespace zendrel::test
