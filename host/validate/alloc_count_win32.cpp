// Counting on Windows: the module's own import table patched so its heap and
// lock calls count. Not with the sanitizers, which own the allocator.
#include <windows.h>

#include <cstddef>
#include <cstdlib>
#include <cstring>

#include "host/validate/alloc_count.h"
#include "host/validate/instance.h"

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define ZVALIDATE_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
#define ZVALIDATE_SANITIZED 1
#endif
#endif

#if !defined(ZVALIDATE_SANITIZED)

namespace zendrel::validate {
bool pathCountingAvailable() { return true; }
bool lockCountingAvailable() { return true; }
}  // namespace zendrel::validate

namespace zendrel::validate {

namespace {

using MallocFn = void*(__cdecl*)(size_t);
using CallocFn = void*(__cdecl*)(size_t, size_t);
using ReallocFn = void*(__cdecl*)(void*, size_t);
using FreeFn = void(__cdecl*)(void*);
using HeapAllocFn = LPVOID(WINAPI*)(HANDLE, DWORD, SIZE_T);
using CriticalFn = void(WINAPI*)(LPCRITICAL_SECTION);
using SrwFn = void(WINAPI*)(PSRWLOCK);

MallocFn realMalloc;
CallocFn realCalloc;
ReallocFn realRealloc;
FreeFn realFree;
HeapAllocFn realHeapAlloc;
CriticalFn realEnterCritical;
SrwFn realSrwExclusive, realSrwShared;

void* __cdecl countedMalloc(size_t n) { countAllocation(); return realMalloc(n); }
void* __cdecl countedCalloc(size_t a, size_t b) { countAllocation(); return realCalloc(a, b); }
void* __cdecl countedRealloc(void* p, size_t n) { countAllocation(); return realRealloc(p, n); }
void __cdecl countedFree(void* p) { if (p) countFree(); realFree(p); }
LPVOID WINAPI countedHeapAlloc(HANDLE h, DWORD f, SIZE_T n) { countAllocation(); return realHeapAlloc(h, f, n); }
void WINAPI countedEnterCritical(LPCRITICAL_SECTION c) { countLock(); realEnterCritical(c); }
void WINAPI countedSrwExclusive(PSRWLOCK l) { countLock(); realSrwExclusive(l); }
void WINAPI countedSrwShared(PSRWLOCK l) { countLock(); realSrwShared(l); }

struct Patch {
  const char* name;
  void* replacement;
  void** real;
};

const Patch kPatches[] = {
    {"malloc", reinterpret_cast<void*>(&countedMalloc), reinterpret_cast<void**>(&realMalloc)},
    {"calloc", reinterpret_cast<void*>(&countedCalloc), reinterpret_cast<void**>(&realCalloc)},
    {"realloc", reinterpret_cast<void*>(&countedRealloc), reinterpret_cast<void**>(&realRealloc)},
    {"free", reinterpret_cast<void*>(&countedFree), reinterpret_cast<void**>(&realFree)},
    {"HeapAlloc", reinterpret_cast<void*>(&countedHeapAlloc), reinterpret_cast<void**>(&realHeapAlloc)},
    {"EnterCriticalSection", reinterpret_cast<void*>(&countedEnterCritical),
     reinterpret_cast<void**>(&realEnterCritical)},
    {"AcquireSRWLockExclusive", reinterpret_cast<void*>(&countedSrwExclusive),
     reinterpret_cast<void**>(&realSrwExclusive)},
    {"AcquireSRWLockShared", reinterpret_cast<void*>(&countedSrwShared), reinterpret_cast<void**>(&realSrwShared)},
};

void patchSlot(IMAGE_THUNK_DATA* slot, const Patch& patch) {
  void* current = reinterpret_cast<void*>(slot->u1.Function);
  if (current == patch.replacement) return;
  if (!*patch.real) *patch.real = current;
  DWORD old;
  if (VirtualProtect(&slot->u1.Function, sizeof slot->u1.Function, PAGE_READWRITE, &old)) {
    slot->u1.Function = reinterpret_cast<ULONG_PTR>(patch.replacement);
    VirtualProtect(&slot->u1.Function, sizeof slot->u1.Function, old, &old);
  }
}

}  // namespace

// Points the module's imports of the allocator and the lock functions at the
// counting ones. Idempotent: a module loaded again keeps its patched table.
void watchModule(void* handle) {
  auto* base = static_cast<unsigned char*>(handle);
  if (!base) return;
  auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
  auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  if (!dir.VirtualAddress) return;
  for (auto* imp = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress); imp->Name; ++imp) {
    if (!imp->OriginalFirstThunk) continue;
    auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + imp->OriginalFirstThunk);
    auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + imp->FirstThunk);
    for (; names->u1.AddressOfData; ++names, ++slots) {
      if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
      const char* name = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData)->Name;
      for (const Patch& patch : kPatches)
        if (std::strcmp(name, patch.name) == 0) patchSlot(slots, patch);
    }
  }
}

}  // namespace zendrel::validate

#else

namespace zendrel::validate {
bool pathCountingAvailable() { return false; }
bool lockCountingAvailable() { return false; }
void watchModule(void*) {}
}  // namespace zendrel::validate

#endif
