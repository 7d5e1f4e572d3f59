// The Win32 window layer's own start and stop of OLE as the host's threads
// meet it: refused (and nothing to give back) on a thread of the multithreaded
// apartment, one more use counted on a thread that runs OLE already.
#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>
#include <ole2.h>

#include <thread>

#include "toolkit/window_seam.h"

namespace zendrel::test {
namespace {

namespace platform = Toolkit::platform;

bool comInitialised() {
  APTTYPE type;
  APTTYPEQUALIFIER qualifier;
  return CoGetApartmentType(&type, &qualifier) != CO_E_NOTINITIALIZED;
}

template <typename F>
void onThread(F f) {
  std::thread t(f);
  t.join();
}

TEST(WindowSystemWin32, AMultithreadedThreadRefusesOle) {
  onThread([] {
    ASSERT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
    EXPECT_FALSE(platform::beginWindowSystemUse());
    CoUninitialize();
    EXPECT_FALSE(comInitialised());
  });
}

TEST(WindowSystemWin32, APlainThreadStartsOleAndStopsItAgain) {
  onThread([] {
    ASSERT_TRUE(platform::beginWindowSystemUse());
    EXPECT_TRUE(comInitialised());
    platform::endWindowSystemUse();
    EXPECT_FALSE(comInitialised());
  });
}

TEST(WindowSystemWin32, AThreadRunningOleCountsOneMoreUse) {
  onThread([] {
    ASSERT_EQ(OleInitialize(nullptr), S_OK);
    ASSERT_TRUE(platform::beginWindowSystemUse());
    platform::endWindowSystemUse();
    EXPECT_TRUE(comInitialised());
    OleUninitialize();
    EXPECT_FALSE(comInitialised());
  });
}

}  // namespace
}  // namespace zendrel::test
