// The Windows store: resources of type "DATA" linked into this program.
#include <windows.h>

#include "tests/resources/resources_lookup.h"

namespace zendrel::test {

bool findImage(const char* name, Bytes& out) {
  HMODULE module = GetModuleHandleA(nullptr);
  HRSRC info = FindResourceA(module, name, "DATA");
  if (!info) return false;
  HGLOBAL handle = LoadResource(module, info);
  if (!handle) return false;
  out.data = static_cast<const unsigned char*>(LockResource(handle));
  out.size = SizeofResource(module, info);
  return out.data != nullptr;
}

namespace {
BOOL CALLBACK collect(HMODULE, LPCSTR, LPSTR name, LONG_PTR param) {
  auto* names = reinterpret_cast<std::vector<std::string>*>(param);
  // Numeric ids are not images of ours; names come back as the script wrote them.
  names->emplace_back(IS_INTRESOURCE(name) ? std::string("#id") : std::string(name));
  return TRUE;
}
}  // namespace

std::vector<std::string> storedNames() {
  std::vector<std::string> names;
  EnumResourceNamesA(GetModuleHandleA(nullptr), "DATA", collect, reinterpret_cast<LONG_PTR>(&names));
  return names;
}

}  // namespace zendrel::test
