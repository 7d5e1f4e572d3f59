// The platform part of the host: opening libraries, finding exports, the
// executable's directory and raw standard output.
#include <cstdio>
#include <string>
#include <sys/stat.h>

#include "host/lib/host.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#else
#include <dlfcn.h>
#include <unistd.h>
#endif

namespace zhost {

namespace {

bool fileExists(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0;
}

#ifdef _WIN32
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
#endif

}  // namespace

Module::~Module() { close(); }

bool Module::open(const std::string& path) {
  close();
  path_ = path;
  error_.clear();
  if (!fileExists(path)) {
    error_ = "cannot load '" + path + "': no such file; give the path of a built plug-in module";
    return false;
  }
#ifdef _WIN32
  handle_ = reinterpret_cast<void*>(LoadLibraryA(path.c_str()));
  if (!handle_) {
    error_ = "cannot load '" + path + "': " + lastErrorText() + "; is it a 64-bit Windows DLL?";
    return false;
  }
#else
  handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle_) {
    const char* why = dlerror();
    error_ = "cannot load '" + path + "': " + (why ? why : "unknown loader error") +
             "; is it a shared library built for this machine?";
    return false;
  }
#endif
  return true;
}

void Module::close() {
  if (!handle_) return;
#ifdef _WIN32
  FreeLibrary(reinterpret_cast<HMODULE>(handle_));
#else
  dlclose(handle_);
#endif
  handle_ = nullptr;
}

void* Module::symbol(const char* name) const {
  if (!handle_) return nullptr;
#ifdef _WIN32
  return reinterpret_cast<void*>(GetProcAddress(reinterpret_cast<HMODULE>(handle_), name));
#else
  return dlsym(handle_, name);
#endif
}

void setBinaryStdout() {
#ifdef _WIN32
  std::fflush(stdout);
  _setmode(_fileno(stdout), _O_BINARY);
#endif
}

std::string executableDirectory() {
  std::string path;
#ifdef _WIN32
  char buffer[MAX_PATH + 1] = {};
  DWORD n = GetModuleFileNameA(nullptr, buffer, MAX_PATH);
  path.assign(buffer, n);
  std::size_t cut = path.find_last_of("\\/");
#else
  char buffer[4096] = {};
  ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  if (n > 0) path.assign(buffer, static_cast<std::size_t>(n));
  std::size_t cut = path.find_last_of('/');
#endif
  if (cut == std::string::npos) return std::string();
  return path.substr(0, cut + 1);
}

std::string moduleFileName(const std::string& base) {
#ifdef _WIN32
  return base + ".dll";
#else
  return base + ".so";
#endif
}

}  // namespace zhost
