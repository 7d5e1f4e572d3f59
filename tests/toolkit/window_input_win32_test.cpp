// The Win32 layer's pure input rules and its drop target: flags from a mouse
// message's key-state word, wheel notches, and what a dropped data object
// becomes (text, or files with shortcuts resolved).
#include <gtest/gtest.h>

#include <shlobj.h>

#include <string>

#include "toolkit/frame.h"
#include "toolkit/platform/win32/drop_target.h"
#include "toolkit/platform/win32/win32_input.h"

namespace zendrel::test {
namespace {

using namespace Toolkit;
using namespace Toolkit::platform;

TEST(Win32Input, KeyStateWordBecomesTheToolkitsFlags) {
  using namespace Toolkit::platform::win32;
  EXPECT_EQ(buttonsFromKeyState(kMkLButton | kMkShift, false), kLeftButton | kShiftKey);
  EXPECT_EQ(buttonsFromKeyState(kMkRButton | kMkControl, true), kRightButton | kControlKey | kAltKey);
  EXPECT_EQ(buttonsFromKeyState(kMkMButton | kMkXButton1 | kMkXButton2, false),
            kMiddleButton | kExtraButton1 | kExtraButton2);
  EXPECT_EQ(buttonsFromKeyState(0, false), 0u);
}

TEST(Win32Input, WheelDeltasAreWholeNotches) {
  using namespace Toolkit::platform::win32;
  EXPECT_EQ(wheelNotches(120), 1.0f);
  EXPECT_EQ(wheelNotches(60), 0.0f);
  EXPECT_EQ(wheelNotches(-240), -2.0f);
  EXPECT_EQ(wheelNotches(-119), 0.0f);
  EXPECT_EQ(wheelNotches(32767), 273.0f);
  EXPECT_EQ(wheelNotches(-32768), -273.0f);
}

TEST(Win32Input, DropEffectPrefersCopyThenMoveThenLink) {
  EXPECT_EQ(chooseDropEffect(DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK), DWORD(DROPEFFECT_COPY));
  EXPECT_EQ(chooseDropEffect(DROPEFFECT_MOVE | DROPEFFECT_LINK), DWORD(DROPEFFECT_MOVE));
  EXPECT_EQ(chooseDropEffect(DROPEFFECT_LINK), DWORD(DROPEFFECT_LINK));
  EXPECT_EQ(chooseDropEffect(0), DWORD(DROPEFFECT_NONE));
}

// A data object offering one global-memory format.
class DataObject : public IDataObject {
 public:
  DataObject(CLIPFORMAT f, HGLOBAL m) : format(f), memory(m) {}
  ~DataObject() { GlobalFree(memory); }
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override {
    *out = this;
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE GetData(FORMATETC* f, STGMEDIUM* m) override {
    if (QueryGetData(f) != S_OK) return DV_E_FORMATETC;
    const SIZE_T size = GlobalSize(memory);
    HGLOBAL copy = GlobalAlloc(GMEM_MOVEABLE, size);
    memcpy(GlobalLock(copy), GlobalLock(memory), size);
    GlobalUnlock(copy);
    GlobalUnlock(memory);
    m->tymed = TYMED_HGLOBAL;
    m->hGlobal = copy;
    m->pUnkForRelease = nullptr;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* f) override {
    return f->cfFormat == format && (f->tymed & TYMED_HGLOBAL) ? S_OK : DV_E_FORMATETC;
  }
  HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }

 private:
  CLIPFORMAT format;
  HGLOBAL memory;
};

HGLOBAL globalBytes(const void* data, SIZE_T size) {
  HGLOBAL m = GlobalAlloc(GMEM_MOVEABLE, size);
  memcpy(GlobalLock(m), data, size);
  GlobalUnlock(m);
  return m;
}

// A file list as the shell hands it over: a header, then zero-terminated wide
// names, then one more zero.
HGLOBAL fileList(const std::wstring& a, const std::wstring& b) {
  std::wstring names = a + L'\0' + b + L'\0' + L'\0';
  std::string bytes(sizeof(DROPFILES), '\0');
  auto* header = reinterpret_cast<DROPFILES*>(&bytes[0]);
  header->pFiles = sizeof(DROPFILES);
  header->fWide = TRUE;
  bytes.append(reinterpret_cast<const char*>(names.data()), names.size() * sizeof(wchar_t));
  return globalBytes(bytes.data(), bytes.size());
}

std::string item(const CDragContainer& c, int32_t i, CDragContainer::Type& type) {
  int32_t size = 0;
  const char* p = c.getItem(i, size, type);
  return p ? std::string(p, std::size_t(size)) : std::string();
}

TEST(Win32Drop, UnicodeTextBecomesOneUtf8Item) {
  const wchar_t text[] = L"Gr\u00fc\u00dfe";
  DataObject data(CF_UNICODETEXT, globalBytes(text, sizeof text));
  WinDragContainer drag(&data);
  ASSERT_EQ(drag.getCount(), 1);
  CDragContainer::Type type;
  EXPECT_EQ(item(drag, 0, type), "Gr\xc3\xbc\xc3\x9f" "e");
  EXPECT_EQ(type, CDragContainer::kText);
  EXPECT_EQ(item(drag, 1, type), "");
  EXPECT_EQ(type, CDragContainer::kError);
}

TEST(Win32Drop, FilesAreListedWithShortcutsResolved) {
  ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
  wchar_t dir[MAX_PATH];
  GetTempPathW(MAX_PATH, dir);
  const std::wstring target = std::wstring(dir) + L"zendrel-drop-target.txt";
  const std::wstring shortcut = std::wstring(dir) + L"zendrel-drop-link.lnk";
  CloseHandle(CreateFileW(target.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  IShellLinkW* link = nullptr;
  ASSERT_TRUE(SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                         reinterpret_cast<void**>(&link))));
  link->SetPath(target.c_str());
  IPersistFile* file = nullptr;
  link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file));
  ASSERT_TRUE(SUCCEEDED(file->Save(shortcut.c_str(), TRUE)));
  file->Release();
  link->Release();

  DataObject data(CF_HDROP, fileList(L"C:\\plain.wav", shortcut));
  WinDragContainer drag(&data);
  ASSERT_EQ(drag.getCount(), 2);
  CDragContainer::Type type;
  EXPECT_EQ(item(drag, 0, type), "C:\\plain.wav");
  EXPECT_EQ(type, CDragContainer::kFile);
  EXPECT_EQ(item(drag, 1, type), toUtf8(target.c_str()));
  DeleteFileW(shortcut.c_str());
  DeleteFileW(target.c_str());
  CoUninitialize();
}

// A view that records drags, to see the target pass them to the frame.
class DropView : public CView {
 public:
  DropView() : CView(CRect(-10000, -10000, 10000, 10000)) {}
  void onDragEnter(CDragContainer* d, const CPoint&) override { log += "enter " + std::to_string(d->getCount()) + ";"; }
  void onDragMove(CDragContainer*, const CPoint&) override { log += "move;"; }
  void onDragLeave(CDragContainer*, const CPoint&) override { log += "leave;"; }
  bool onDrop(CDragContainer*, const CPoint&) override {
    log += "drop;";
    return false;
  }
  std::string log;
};

TEST(Win32Drop, TheTargetPassesTheDragToTheFrame) {
  auto* frame = new CFrame(CRect(0, 0, 100, 100), nullptr, nullptr);
  auto* view = new DropView;
  frame->addView(view);
  auto* target = new DropTarget(frame);
  target->AddRef();
  const wchar_t text[] = L"x";
  DataObject data(CF_UNICODETEXT, globalBytes(text, sizeof text));
  DWORD effect = DROPEFFECT_MOVE | DROPEFFECT_LINK;
  EXPECT_EQ(target->DragEnter(&data, 0, POINTL{}, &effect), S_OK);
  EXPECT_EQ(effect, DWORD(DROPEFFECT_MOVE));
  target->DragOver(0, POINTL{}, &effect);
  target->Drop(&data, 0, POINTL{}, &effect);
  EXPECT_EQ(view->log, "enter 1;move;drop;");
  view->log.clear();
  target->DragEnter(&data, 0, POINTL{}, &effect);
  target->DragLeave();
  EXPECT_EQ(view->log, "enter 1;leave;");
  target->detach();
  frame->release();
  EXPECT_EQ(target->DragEnter(&data, 0, POINTL{}, &effect), E_UNEXPECTED);  // the frame is gone
  target->Release();
}

}  // namespace
}  // namespace zendrel::test
