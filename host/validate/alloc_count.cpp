// Counting what the audio path does. The validator is the host process, so it
// can see the plug-in's heap: on Linux it replaces the C allocator and the
// mutex lock for the whole process (alloc_count_posix.cpp), on Windows it
// patches the module's own import table (alloc_count_win32.cpp). Only the
// thread that runs processReplacing is armed, and only outside the host
// callback, so the host's own work never counts.
#include <atomic>
#include <cstddef>
#include <cstdlib>
#include <cstring>

#include "host/lib/host.h"
#include "host/validate/alloc_count.h"
#include "host/validate/instance.h"

namespace zendrel::validate {

namespace {

thread_local bool armed = false;
thread_local int inHost = 0;
thread_local long allocations = 0, frees = 0, locks = 0;

inline bool counting() { return armed && inHost == 0; }

void enterHost() { ++inHost; }
void leaveHost() { --inHost; }

}  // namespace

void countAllocation() {
  if (counting()) ++allocations;
}
void countFree() {
  if (counting()) ++frees;
}
void countLock() {
  if (counting()) ++locks;
}

void armPathCounting() {
  static const bool hooked = [] {
    zendrel::host::Host::setCallbackHooks(&enterHost, &leaveHost);
    return true;
  }();
  (void)hooked;
  allocations = frees = locks = 0;
  armed = true;
}

PathCounts disarmPathCounting() {
  armed = false;
  PathCounts c;
  c.allocations = allocations;
  c.frees = frees;
  c.locks = locks;
  return c;
}

}  // namespace zendrel::validate
