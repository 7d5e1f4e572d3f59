// The Windows headers the win32 drawing files share, in the order GDI+ needs.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#include <objidl.h>
// GDI+'s headers use the min/max of <windows.h>.
#include <gdiplus.h>

#include <memory>
#include <vector>

namespace Toolkit {
namespace platform {

// One decoded image: a GDI+ bitmap, and for pixels we decoded ourselves (the
// "PNG"-type path) the device-independent bitmap that holds them.
struct Image {
  Gdiplus::Bitmap* gdiImage = nullptr;  // owned unless shared is set; what drawing uses
  // Set while gdiImage is a decoded resource that other images of the same
  // thread show too: it is never drawn into and is freed with its last image.
  std::shared_ptr<Gdiplus::Bitmap> shared;
  HBITMAP dib = nullptr;                // owned; pixel memory of gdiImage when set
  HBITMAP mask = nullptr;               // owned; unused by the GDI+ drawing path
  void* bits = nullptr;                 // the DIB's pixel memory
  // PNG bytes a GDI+ bitmap decoded from memory may still read (it keeps its stream).
  std::vector<unsigned char> streamBytes;
};

// Gives `image` a bitmap of its own, copied from the one it shares, before
// anything draws into it. False when no copy could be made.
bool makeBitmapPrivate(Image* image);

// The module resources are looked up in: the plug-in's, or the program's own
// when no plug-in entry stored one (test programs).
HMODULE resourceModule();

}  // namespace platform
}  // namespace Toolkit
