// The host library on Linux: shared libraries through dlopen and the program's
// own path from /proc.
#include <dlfcn.h>
#include <unistd.h>

#include <string>

#include "host/lib/host.h"
#include "host/lib/platform.h"

namespace zendrel::host {

namespace platform {

void* openLibrary(const std::string& path, std::string& reason) {
  void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle) {
    const char* why = dlerror();
    reason = std::string(why ? why : "unknown loader error") + "; is it a shared library built for this machine?";
  }
  return handle;
}

void closeLibrary(void* handle) { dlclose(handle); }

void* findSymbol(void* handle, const char* name) { return dlsym(handle, name); }

}  // namespace platform

// Standard output already writes bytes unchanged here.
void setBinaryStdout() {}

std::string executableDirectory() {
  std::string path;
  char buffer[4096] = {};
  ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  if (n > 0) path.assign(buffer, static_cast<std::size_t>(n));
  std::size_t cut = path.find_last_of('/');
  if (cut == std::string::npos) return std::string();
  return path.substr(0, cut + 1);
}

std::string moduleFileName(const std::string& base) { return base + ".so"; }

}  // namespace zendrel::host
