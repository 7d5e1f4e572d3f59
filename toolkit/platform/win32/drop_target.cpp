#include "toolkit/platform/win32/drop_target.h"

#include <shellapi.h>
#include <shlobj.h>

#include <cwctype>

#include "toolkit/frame.h"

namespace Toolkit {
namespace platform {

namespace {

bool endsWithLnk(const std::wstring& path) {
  if (path.size() < 4) return false;
  std::wstring tail = path.substr(path.size() - 4);
  for (wchar_t& c : tail) c = static_cast<wchar_t>(std::towlower(c));
  return tail == L".lnk";
}

CPoint dropPoint(CFrame* frame) {
  CPoint where;
  frame->getCurrentMouseLocation(where);
  return where;
}

}  // namespace

std::string toUtf8(const wchar_t* text, int length) {
  const int bytes = WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
  if (bytes <= 0) return std::string();
  std::string out(static_cast<std::size_t>(bytes), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, length, &out[0], bytes, nullptr, nullptr);
  if (length < 0 && !out.empty() && out.back() == '\0') out.pop_back();
  return out;
}

std::wstring resolveShortcut(const std::wstring& path) {
  IShellLinkW* link = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              reinterpret_cast<void**>(&link))))
    return path;
  std::wstring target = path;
  IPersistFile* file = nullptr;
  if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
    wchar_t resolved[MAX_PATH] = {};
    if (SUCCEEDED(file->Load(path.c_str(), STGM_READ)) &&
        SUCCEEDED(link->GetPath(resolved, MAX_PATH, nullptr, 0)) && resolved[0])
      target = resolved;
    file->Release();
  }
  link->Release();
  return target;
}

DWORD chooseDropEffect(DWORD allowed) {
  if (allowed & DROPEFFECT_COPY) return DROPEFFECT_COPY;
  if (allowed & DROPEFFECT_MOVE) return DROPEFFECT_MOVE;
  if (allowed & DROPEFFECT_LINK) return DROPEFFECT_LINK;
  return DROPEFFECT_NONE;
}

// ---- WinDragContainer ------------------------------------------------------------

WinDragContainer::WinDragContainer(IDataObject* data) {
  if (!data) return;
  readText(data);
  if (items.empty()) readFiles(data);
}

void WinDragContainer::readText(IDataObject* data) {
  FORMATETC format = {CF_UNICODETEXT, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
  STGMEDIUM medium{};
  if (data->QueryGetData(&format) != S_OK || data->GetData(&format, &medium) != S_OK) return;
  if (const auto* text = static_cast<const wchar_t*>(GlobalLock(medium.hGlobal))) {
    // The block may be larger than the text, and is not trusted to be terminated.
    const std::size_t capacity = GlobalSize(medium.hGlobal) / sizeof(wchar_t);
    std::size_t length = 0;
    while (length < capacity && text[length]) ++length;
    items.push_back({kText, toUtf8(text, static_cast<int>(length))});
    GlobalUnlock(medium.hGlobal);
  }
  ReleaseStgMedium(&medium);
}

void WinDragContainer::readFiles(IDataObject* data) {
  FORMATETC format = {CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
  STGMEDIUM medium{};
  if (data->QueryGetData(&format) != S_OK || data->GetData(&format, &medium) != S_OK) return;
  auto drop = static_cast<HDROP>(medium.hGlobal);
  const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < count; ++i) {
    const UINT length = DragQueryFileW(drop, i, nullptr, 0);
    std::wstring path(length + 1, L'\0');
    DragQueryFileW(drop, i, &path[0], length + 1);
    path.resize(length);
    if (endsWithLnk(path)) path = resolveShortcut(path);
    items.push_back({kFile, toUtf8(path.c_str(), static_cast<int>(path.size()))});
  }
  ReleaseStgMedium(&medium);
}

int32_t WinDragContainer::getCount() const { return static_cast<int32_t>(items.size()); }

const char* WinDragContainer::getItem(int32_t index, int32_t& size, Type& type) const {
  if (index < 0 || index >= getCount()) {
    size = 0;
    type = kError;
    return nullptr;
  }
  const Item& item = items[static_cast<std::size_t>(index)];
  size = static_cast<int32_t>(item.bytes.size());
  type = item.type;
  return item.bytes.c_str();
}

// ---- DropTarget ------------------------------------------------------------------

DropTarget::DropTarget(CFrame* owner) : frame(owner) {}

DropTarget::~DropTarget() { endDrag(); }

HRESULT STDMETHODCALLTYPE DropTarget::QueryInterface(REFIID iid, void** object) {
  if (!object) return E_POINTER;
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDropTarget)) {
    *object = static_cast<IDropTarget*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE DropTarget::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&references)); }

ULONG STDMETHODCALLTYPE DropTarget::Release() {
  const LONG left = InterlockedDecrement(&references);
  if (left == 0) delete this;
  return static_cast<ULONG>(left);
}

void DropTarget::detach() {
  endDrag();
  frame = nullptr;
}

void DropTarget::endDrag() {
  if (drag) drag->release();
  drag = nullptr;
}

HRESULT STDMETHODCALLTYPE DropTarget::DragEnter(IDataObject* data, DWORD, POINTL, DWORD* effect) {
  endDrag();
  if (!frame) return E_UNEXPECTED;
  drag = new WinDragContainer(data);
  frame->onDragEnter(drag, dropPoint(frame));
  if (effect) *effect = chooseDropEffect(*effect);
  return S_OK;
}

HRESULT STDMETHODCALLTYPE DropTarget::DragOver(DWORD, POINTL, DWORD* effect) {
  if (drag && frame) frame->onDragMove(drag, dropPoint(frame));
  if (effect) *effect = chooseDropEffect(*effect);
  return S_OK;
}

HRESULT STDMETHODCALLTYPE DropTarget::DragLeave() {
  if (drag && frame) frame->onDragLeave(drag, dropPoint(frame));
  endDrag();
  return S_OK;
}

HRESULT STDMETHODCALLTYPE DropTarget::Drop(IDataObject*, DWORD, POINTL, DWORD* effect) {
  if (drag && frame) frame->onDrop(drag, dropPoint(frame));
  endDrag();
  if (effect) *effect = chooseDropEffect(*effect);
  return S_OK;
}

}  // namespace platform
}  // namespace Toolkit
