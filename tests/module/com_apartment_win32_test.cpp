// The real DLL on host threads whose COM apartment the host chose: a thread of
// the multithreaded apartment (hosts create instances on worker and scanning
// threads) refuses OLE, yet the editor opens there (without a drop target),
// and every thread's apartment is as before once the instance is gone,
// including when the instance is created on one thread and closed on another.
#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>

#include <atomic>
#include <string>
#include <thread>

#include "host/lib/host.h"

namespace zendrel::test {
namespace {

// "none", "mta" or "sta": what COM says of the calling thread.
std::string apartment() {
  APTTYPE type;
  APTTYPEQUALIFIER qualifier;
  const HRESULT result = CoGetApartmentType(&type, &qualifier);
  if (result == CO_E_NOTINITIALIZED) return "none";
  if (FAILED(result)) return "unknown";
  if (type == APTTYPE_MTA) return "mta";
  if (type == APTTYPE_STA || type == APTTYPE_MAINSTA) return "sta";
  // A thread merely living in a process that has an apartment of the other kind.
  return "none";
}

// Runs f on a fresh thread (as a host's worker) and waits for it.
template <typename F>
void onThread(F f) {
  std::thread t(f);
  t.join();
}

// Opens the editor in a host window of the calling thread, lets it paint and
// idle, checks its window is there, and closes it.
void openAndCloseEditor(zendrel::host::Host& host) {
  HWND parent = CreateWindowExA(0, "STATIC", "host", WS_POPUP | WS_VISIBLE, -2000, -2000, 900, 550, nullptr,
                                nullptr, GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(parent, nullptr);
  EXPECT_EQ(host.dispatch(effEditOpen, 0, 0, parent), 1);
  EXPECT_NE(FindWindowExA(parent, nullptr, nullptr, nullptr), nullptr) << "the editor made no window";
  for (int i = 0; i < 3; ++i) {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    host.dispatch(effEditIdle);
  }
  host.dispatch(effEditClose);
  DestroyWindow(parent);
}

TEST(ComApartment, AMultithreadedHostThreadKeepsItsApartment) {
  onThread([] {
    ASSERT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
    {
      zendrel::host::Host host;
      ASSERT_TRUE(host.load(ZENDREL_MODULE_PATH)) << host.error();
      EXPECT_EQ(apartment(), "mta");
      openAndCloseEditor(host);
      EXPECT_EQ(apartment(), "mta");
      host.close();
    }
    EXPECT_EQ(apartment(), "mta");
    // Still one initialisation of the host's own: a second answers S_FALSE,
    // and two releases leave the thread without COM.
    EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_FALSE);
    CoUninitialize();
    CoUninitialize();
    EXPECT_EQ(apartment(), "none");
  });
}

TEST(ComApartment, CreatedOnOneThreadAndClosedOnAnother) {
  zendrel::host::Host host;
  // Created on a worker of the multithreaded apartment...
  onThread([&] {
    ASSERT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
    ASSERT_TRUE(host.load(ZENDREL_MODULE_PATH)) << host.error();
    EXPECT_EQ(apartment(), "mta");
    CoUninitialize();
    EXPECT_EQ(apartment(), "none");
  });
  // ...its editor on the host's window thread, where OLE runs...
  onThread([&] {
    ASSERT_EQ(OleInitialize(nullptr), S_OK);
    openAndCloseEditor(host);
    EXPECT_EQ(apartment(), "sta");
    OleUninitialize();
    EXPECT_EQ(apartment(), "none");
  });
  // ...and closed on another multithreaded worker.
  onThread([&] {
    ASSERT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
    host.close();
    EXPECT_EQ(apartment(), "mta");
    CoUninitialize();
    EXPECT_EQ(apartment(), "none");
  });
}

TEST(ComApartment, AnEditorOpenOnAMultithreadedThreadCanBeClosedWithTheInstance) {
  onThread([] {
    ASSERT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
    zendrel::host::Host host;
    ASSERT_TRUE(host.load(ZENDREL_MODULE_PATH)) << host.error();
    HWND parent = CreateWindowExA(0, "STATIC", "host", WS_POPUP, -2000, -2000, 900, 550, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(parent, nullptr);
    EXPECT_EQ(host.dispatch(effEditOpen, 0, 0, parent), 1);
    host.close();  // the host closes the instance with its editor still open
    DestroyWindow(parent);
    EXPECT_EQ(apartment(), "mta");
    CoUninitialize();
    EXPECT_EQ(apartment(), "none");
  });
}

TEST(ComApartment, AThreadWithoutComGetsItsStartBackWhenItReturns) {
  // A host thread that never set COM up creates an instance, which starts OLE
  // there; the instance is closed elsewhere. The thread is without COM again
  // once it has next created and closed an instance itself.
  zendrel::host::Host first;
  zendrel::host::Host second;
  std::atomic<int> stage{0};
  std::thread creator([&] {
    EXPECT_EQ(apartment(), "none");
    ASSERT_TRUE(first.load(ZENDREL_MODULE_PATH)) << first.error();
    stage = 1;
    while (stage.load() != 2) std::this_thread::yield();
    ASSERT_TRUE(second.load(ZENDREL_MODULE_PATH)) << second.error();
    EXPECT_EQ(apartment(), "sta");
    second.close();
    EXPECT_EQ(apartment(), "none");
  });
  while (stage.load() != 1) std::this_thread::yield();
  onThread([&] {
    first.close();
    EXPECT_EQ(apartment(), "none");  // the closing thread was given no stop
  });
  stage = 2;
  creator.join();
}

}  // namespace
}  // namespace zendrel::test
