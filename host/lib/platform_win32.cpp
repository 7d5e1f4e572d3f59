// The host library on Windows: DLLs through the loader, the program's own path,
// and standard output switched to binary so the tools print the same bytes as
// on Linux.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>
#include <string>

#include "host/lib/host.h"
#include "host/lib/platform.h"

namespace zendrel::host {

namespace {

std::string lastErrorText() {
  DWORD code = GetLastError();
  char buffer[512] = {};
  DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                           code, 0, buffer, sizeof buffer, nullptr);
  std::string text(buffer, n);
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ' ||
                           text.back() == '.'))
    text.pop_back();
  return text + " (error " + std::to_string(code) + ")";
}

}  // namespace

namespace platform {

void* openLibrary(const std::string& path, std::string& reason) {
  void* handle = reinterpret_cast<void*>(LoadLibraryA(path.c_str()));
  if (!handle) reason = lastErrorText() + "; is it a 64-bit Windows DLL?";
  return handle;
}

void closeLibrary(void* handle) { FreeLibrary(reinterpret_cast<HMODULE>(handle)); }

void* findSymbol(void* handle, const char* name) {
  return reinterpret_cast<void*>(GetProcAddress(reinterpret_cast<HMODULE>(handle), name));
}

}  // namespace platform

void setBinaryStdout() {
  std::fflush(stdout);
  _setmode(_fileno(stdout), _O_BINARY);
}

std::string executableDirectory() {
  char buffer[MAX_PATH + 1] = {};
  DWORD n = GetModuleFileNameA(nullptr, buffer, MAX_PATH);
  std::string path(buffer, n);
  std::size_t cut = path.find_last_of("\\/");
  if (cut == std::string::npos) return std::string();
  return path.substr(0, cut + 1);
}

std::string moduleFileName(const std::string& base) { return base + ".dll"; }

}  // namespace zendrel::host
