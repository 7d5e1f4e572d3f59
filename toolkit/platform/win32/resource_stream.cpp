#include "toolkit/platform/win32/resource_stream.h"

#include <cstring>

namespace Toolkit {
namespace platform {

ResourceStream::ResourceStream(const void* bytes, ULONG byteCount)
    : data(static_cast<const unsigned char*>(bytes)), size(byteCount) {}

HRESULT STDMETHODCALLTYPE ResourceStream::QueryInterface(REFIID iid, void** object) {
  if (!object) return E_POINTER;
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_ISequentialStream) || IsEqualIID(iid, IID_IStream)) {
    *object = static_cast<IStream*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE ResourceStream::AddRef() { return ++refCount; }

ULONG STDMETHODCALLTYPE ResourceStream::Release() {
  const ULONG left = --refCount;
  if (left == 0) delete this;
  return left;
}

HRESULT STDMETHODCALLTYPE ResourceStream::Read(void* buffer, ULONG count, ULONG* read) {
  if (read) *read = 0;
  // In 64 bits: position + count must not wrap around past the check.
  if (uint64_t{position} + count > size) return S_FALSE;
  if (count) {
    if (!buffer) return STG_E_INVALIDPOINTER;
    std::memcpy(buffer, data + position, count);
  }
  position += count;
  if (read) *read = count;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE ResourceStream::Write(const void*, ULONG, ULONG*) { return E_NOTIMPL; }

HRESULT STDMETHODCALLTYPE ResourceStream::Seek(LARGE_INTEGER offset, DWORD origin, ULARGE_INTEGER* newPosition) {
  int64_t target = 0;
  switch (origin) {
    case STREAM_SEEK_SET:
      target = offset.QuadPart;
      break;
    case STREAM_SEEK_CUR:
      target = int64_t{position} + offset.QuadPart;
      break;
    case STREAM_SEEK_END:
      return S_FALSE;
    default:
      return STG_E_INVALIDFUNCTION;
  }
  // The end itself is no valid position; neither is anything before the start.
  if (target < 0 || target >= int64_t{size}) return S_FALSE;
  position = static_cast<ULONG>(target);
  if (newPosition) newPosition->QuadPart = position;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE ResourceStream::SetSize(ULARGE_INTEGER) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE ResourceStream::CopyTo(IStream*, ULARGE_INTEGER, ULARGE_INTEGER*, ULARGE_INTEGER*) {
  return E_NOTIMPL;
}
HRESULT STDMETHODCALLTYPE ResourceStream::Commit(DWORD) { return E_NOTIMPL; }

HRESULT STDMETHODCALLTYPE ResourceStream::Revert() {
  position = 0;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE ResourceStream::LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE ResourceStream::UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) { return E_NOTIMPL; }

HRESULT STDMETHODCALLTYPE ResourceStream::Stat(STATSTG* stat, DWORD) {
  if (!stat) return STG_E_INVALIDPOINTER;
  std::memset(stat, 0, sizeof(*stat));
  stat->cbSize.QuadPart = size;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE ResourceStream::Clone(IStream**) { return E_NOTIMPL; }

}  // namespace platform
}  // namespace Toolkit
