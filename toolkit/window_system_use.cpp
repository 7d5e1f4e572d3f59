#include "toolkit/window_system_use.h"

#include <algorithm>
#include <atomic>
#include <mutex>
#include <vector>

#include "toolkit/window_seam.h"

namespace Toolkit {

namespace {

// Threads are numbered on their first hold; a number outlives its thread, so a
// later thread (which may get the same system thread id) never pays another's debt.
std::atomic<unsigned long long> lastThreadNumber{0};
thread_local unsigned long long threadNumber = 0;

unsigned long long currentThread() {
  if (threadNumber == 0) threadNumber = lastThreadNumber.fetch_add(1, std::memory_order_relaxed) + 1;
  return threadNumber;
}

// Stops owed by threads whose holds were dropped elsewhere.
struct Debt {
  unsigned long long thread;
  void (*stop)();
  int count;
};

struct Debts {
  std::mutex lock;
  std::vector<Debt> owed;
  // Whether any debt exists at all: the common path takes no lock.
  std::atomic<bool> any{false};
};

Debts& debts() {
  static Debts d;
  return d;
}

void owe(unsigned long long thread, void (*stop)()) {
  Debts& d = debts();
  std::lock_guard<std::mutex> guard(d.lock);
  auto it = std::find_if(d.owed.begin(), d.owed.end(),
                         [&](const Debt& debt) { return debt.thread == thread && debt.stop == stop; });
  if (it != d.owed.end())
    ++it->count;
  else
    d.owed.push_back(Debt{thread, stop, 1});
  d.any.store(true, std::memory_order_release);
}

// Gives back what this thread owes, on this thread.
void payDebts(unsigned long long thread) {
  Debts& d = debts();
  if (!d.any.load(std::memory_order_acquire)) return;
  std::vector<Debt> mine;
  {
    std::lock_guard<std::mutex> guard(d.lock);
    auto split = std::stable_partition(d.owed.begin(), d.owed.end(),
                                       [&](const Debt& debt) { return debt.thread != thread; });
    mine.assign(split, d.owed.end());
    d.owed.erase(split, d.owed.end());
    d.any.store(!d.owed.empty(), std::memory_order_release);
  }
  for (const Debt& debt : mine)
    for (int i = 0; i < debt.count; ++i) debt.stop();
}

}  // namespace

WindowSystemUse::WindowSystemUse()
    : WindowSystemUse(WindowSystemCalls{&platform::beginWindowSystemUse, &platform::endWindowSystemUse}) {}

WindowSystemUse::WindowSystemUse(const WindowSystemCalls& platformCalls) : calls(platformCalls) {
  thread = currentThread();
  taken = calls.start && calls.start();
  // After the new start: a thread whose count would otherwise touch zero in
  // between would lose and rebuild its whole apartment.
  payDebts(thread);
}

void WindowSystemUse::release() {
  if (!taken) return;
  taken = false;
  const unsigned long long here = currentThread();
  if (here == thread) {
    calls.stop();
    payDebts(here);
  } else {
    owe(thread, calls.stop);
    payDebts(here);
  }
}

}  // namespace Toolkit
