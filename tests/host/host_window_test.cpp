// The host library's window on a real display: what the tools and tests
// lean on beyond what the real-window tests show.
#include "host/lib/host_window.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

namespace zendrel::test {
namespace {

using zendrel::host::HostWindow;

std::unique_ptr<HostWindow> offScreen(int32_t w, int32_t h, std::string& error) {
  HostWindow::Options options;
  options.width = w;
  options.height = h;
  options.place = HostWindow::Place::kOffScreen;
  return HostWindow::create(options, error);
}

TEST(HostWindow, ASizeNoWindowCanHaveIsRefusedWithTheReason) {
  for (auto size : {std::pair<int32_t, int32_t>{0, 10}, {10, -1}, {40000, 10}}) {
    std::string error;
    EXPECT_FALSE(offScreen(size.first, size.second, error));
    EXPECT_NE(error.find(std::to_string(size.first) + " x " + std::to_string(size.second)), std::string::npos)
        << error;
  }
}

// All windows of a process may share one connection to the display: one
// window's end, whoever's pump takes the news, ends that window only.
TEST(HostWindow, OneWindowDestroyedLeavesTheOthersOpen) {
  std::string error;
  auto a = offScreen(200, 100, error);
  ASSERT_TRUE(a) << error;
  auto b = offScreen(200, 100, error);
  ASSERT_TRUE(b) << error;
  auto c = offScreen(200, 100, error);
  ASSERT_TRUE(c) << error;
  EXPECT_NE(a->handle(), nullptr);
  EXPECT_NE(a->handle(), b->handle());
  EXPECT_TRUE(a->pump());
  a->destroy();
  for (int i = 0; i < 20; ++i) {
    EXPECT_TRUE(b->pump());
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  EXPECT_FALSE(a->pump());
  EXPECT_TRUE(c->pump());
  EXPECT_EQ(b->childWindowCount(), 0);
  b.reset();
  EXPECT_TRUE(c->pump());
}

// The validator makes and pumps a window on each editor thread at once.
TEST(HostWindow, WindowsMadeAndPumpedOnSeveralThreadsAtOnce) {
  std::atomic<int> made{0}, open{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&] {
      for (int i = 0; i < 10; ++i) {
        std::string error;
        auto w = offScreen(300, 200, error);
        if (!w) continue;
        ++made;
        bool stayed = true;
        for (int p = 0; p < 5; ++p) stayed = w->pump() && stayed;
        open += stayed;
      }
    });
  }
  for (auto& t : threads) t.join();
  EXPECT_EQ(made.load(), 40);
  EXPECT_EQ(open.load(), 40);
}

}  // namespace
}  // namespace zendrel::test
