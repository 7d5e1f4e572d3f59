// A read-only COM stream over a locked resource (or any bytes that outlive
// it), handed to GDI+ to decode an image.
#pragma once

#include <atomic>

#include "toolkit/platform/win32/gdiplus.h"

namespace Toolkit {
namespace platform {

class ResourceStream : public IStream {
 public:
  // Count 1, position 0. The bytes are not copied.
  ResourceStream(const void* data, ULONG size);

  ResourceStream(const ResourceStream&) = delete;
  ResourceStream& operator=(const ResourceStream&) = delete;

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  // ISequentialStream
  // All of count or nothing: a read past the end copies nothing (S_FALSE).
  HRESULT STDMETHODCALLTYPE Read(void* buffer, ULONG count, ULONG* read) override;
  HRESULT STDMETHODCALLTYPE Write(const void* buffer, ULONG count, ULONG* written) override;

  // IStream
  // From the start or the current position, to any position before the end;
  // from the end is refused. A refusal (S_FALSE) leaves the position.
  HRESULT STDMETHODCALLTYPE Seek(LARGE_INTEGER offset, DWORD origin, ULARGE_INTEGER* newPosition) override;
  HRESULT STDMETHODCALLTYPE SetSize(ULARGE_INTEGER newSize) override;
  HRESULT STDMETHODCALLTYPE CopyTo(IStream* target, ULARGE_INTEGER count, ULARGE_INTEGER* read,
                                   ULARGE_INTEGER* written) override;
  HRESULT STDMETHODCALLTYPE Commit(DWORD flags) override;
  HRESULT STDMETHODCALLTYPE Revert() override;
  HRESULT STDMETHODCALLTYPE LockRegion(ULARGE_INTEGER offset, ULARGE_INTEGER count, DWORD type) override;
  HRESULT STDMETHODCALLTYPE UnlockRegion(ULARGE_INTEGER offset, ULARGE_INTEGER count, DWORD type) override;
  // Only the size is filled in.
  HRESULT STDMETHODCALLTYPE Stat(STATSTG* stat, DWORD flags) override;
  HRESULT STDMETHODCALLTYPE Clone(IStream** clone) override;

  ULONG getPosition() const { return position; }

 private:
  virtual ~ResourceStream() = default;

  std::atomic<ULONG> refCount{1};
  const unsigned char* data;
  ULONG position = 0;
  ULONG size;
};

}  // namespace platform
}  // namespace Toolkit
