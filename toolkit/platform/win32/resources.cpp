// Resource lookup in the plug-in module (or, in a test program, the program itself).
#include "plugin/vst/module_instance.h"
#include "toolkit/bitmap.h"
#include "toolkit/platform/win32/gdiplus.h"
#include "toolkit/platform_seam.h"

namespace Toolkit {
namespace platform {

HMODULE resourceModule() {
  return moduleInstance ? static_cast<HMODULE>(moduleInstance) : GetModuleHandleW(nullptr);
}

bool findResource(const CResourceDescription& desc, ResourceType type, ResourceBytes& out) {
  out = ResourceBytes();
  LPCSTR name = nullptr;
  if (desc.type == CResourceDescription::kStringType) {
    if (!desc.u.name || !*desc.u.name) return false;
    name = desc.u.name;  // the loader compares names without regard to case
  } else {
    name = MAKEINTRESOURCEA(desc.u.id);
  }
  HMODULE module = resourceModule();
  HRSRC info = FindResourceA(module, name, type == ResourceType::kPng ? "PNG" : "DATA");
  if (!info) return false;
  const DWORD size = SizeofResource(module, info);
  HGLOBAL handle = size ? LoadResource(module, info) : nullptr;
  const void* bytes = handle ? LockResource(handle) : nullptr;
  if (!bytes) return false;
  out.data = static_cast<const unsigned char*>(bytes);
  out.size = size;
  return true;
}

}  // namespace platform
}  // namespace Toolkit
