// Counting on Linux: the C allocator and the mutex lock replaced for the whole
// process and forwarded to glibc's own entry points. Not with the sanitizers,
// which own the allocator, nor without glibc.
#include <cstddef>
#include <cstdlib>

#include "host/validate/alloc_count.h"
#include "host/validate/instance.h"

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define ZVALIDATE_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
#define ZVALIDATE_SANITIZED 1
#endif
#endif

#if !defined(ZVALIDATE_SANITIZED) && defined(__GLIBC__)
#include <dlfcn.h>
#include <pthread.h>

namespace zendrel::validate {
bool pathCountingAvailable() { return true; }
bool lockCountingAvailable() { return true; }
void watchModule(void*) {}
}  // namespace zendrel::validate

extern "C" {
void* __libc_malloc(std::size_t);
void* __libc_calloc(std::size_t, std::size_t);
void* __libc_realloc(void*, std::size_t);
void* __libc_memalign(std::size_t, std::size_t);
void __libc_free(void*);

void* malloc(std::size_t n) {
  zendrel::validate::countAllocation();
  return __libc_malloc(n);
}
void* calloc(std::size_t a, std::size_t b) {
  zendrel::validate::countAllocation();
  return __libc_calloc(a, b);
}
void* realloc(void* p, std::size_t n) {
  zendrel::validate::countAllocation();
  return __libc_realloc(p, n);
}
void* memalign(std::size_t alignment, std::size_t n) {
  zendrel::validate::countAllocation();
  return __libc_memalign(alignment, n);
}
void* aligned_alloc(std::size_t alignment, std::size_t n) {
  zendrel::validate::countAllocation();
  return __libc_memalign(alignment, n);
}
int posix_memalign(void** out, std::size_t alignment, std::size_t n) {
  zendrel::validate::countAllocation();
  void* p = __libc_memalign(alignment, n);
  if (!p) return 12;  // ENOMEM
  *out = p;
  return 0;
}
void free(void* p) {
  if (p) zendrel::validate::countFree();
  __libc_free(p);
}

using LockFunction = int (*)(pthread_mutex_t*);
// Found once, before any thread runs: the next definition in the search order.
static LockFunction realLock = reinterpret_cast<LockFunction>(dlsym(RTLD_NEXT, "pthread_mutex_lock"));

int pthread_mutex_lock(pthread_mutex_t* mutex) {
  zendrel::validate::countLock();
  if (!realLock) realLock = reinterpret_cast<LockFunction>(dlsym(RTLD_NEXT, "pthread_mutex_lock"));
  return realLock(mutex);
}
}

#else

namespace zendrel::validate {
bool pathCountingAvailable() { return false; }
bool lockCountingAvailable() { return false; }
void watchModule(void*) {}
}  // namespace zendrel::validate

#endif
