// The Win32 window behind a frame, shared by the window files of this folder.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include "toolkit/window_seam.h"

namespace Toolkit {
namespace platform {

class DropTarget;

struct Window {
  CFrame* frame = nullptr;
  HWND hwnd = nullptr;
  bool gone = false;  // WM_DESTROY came: the host destroyed its window first
  DropTarget* dropTarget = nullptr;
  HCURSOR defaultCursor = nullptr;
  bool cursorSaved = false;
};

namespace win32 {
// The frame windows' window procedure: hands each message to a short helper.
LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
}  // namespace win32

}  // namespace platform
}  // namespace Toolkit
