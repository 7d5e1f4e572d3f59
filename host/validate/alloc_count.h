// What the platform's counting hooks (alloc_count_posix.cpp,
// alloc_count_win32.cpp) report to the portable counter (alloc_count.cpp).
#pragma once

namespace zendrel::validate {

// Each counts only on the armed audio thread, outside the host callback.
void countAllocation();
void countFree();
void countLock();

}  // namespace zendrel::validate
