// The frame window's drop target: passes what is dragged over the window to
// the frame, wrapped as the toolkit's drag container.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#include <ole2.h>

#include <string>
#include <vector>

#include "toolkit/drag_container.h"

namespace Toolkit {

class CFrame;

namespace platform {

// The items of a data object: its Unicode text when it offers one, otherwise
// its dropped files, shortcuts (".lnk") resolved to their targets; UTF-8.
class WinDragContainer : public CDragContainer {
 public:
  explicit WinDragContainer(IDataObject* data);

  int32_t getCount() const override;
  const char* getItem(int32_t index, int32_t& size, Type& type) const override;

 private:
  struct Item {
    Type type;
    std::string bytes;
  };
  void readText(IDataObject* data);
  void readFiles(IDataObject* data);
  std::vector<Item> items;
};

class DropTarget : public IDropTarget {
 public:
  explicit DropTarget(CFrame* frame);
  DropTarget(const DropTarget&) = delete;
  DropTarget& operator=(const DropTarget&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect) override;
  HRESULT STDMETHODCALLTYPE DragOver(DWORD keyState, POINTL point, DWORD* effect) override;
  HRESULT STDMETHODCALLTYPE DragLeave() override;
  HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect) override;
  // The frame is going away; OLE may still hold the target a little longer.
  void detach();

 private:
  virtual ~DropTarget();
  void endDrag();

  LONG references = 0;
  CFrame* frame;
  WinDragContainer* drag = nullptr;
};

// The effect a drop answers: copy when offered, else move, else link.
DWORD chooseDropEffect(DWORD allowed);
// The file a shortcut points to; the path itself when it cannot be resolved.
std::wstring resolveShortcut(const std::wstring& path);
std::string toUtf8(const wchar_t* text, int length = -1);

}  // namespace platform
}  // namespace Toolkit
