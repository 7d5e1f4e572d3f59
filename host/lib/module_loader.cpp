// Loading a plug-in library by path and finding its exports; the operating
// system's part is behind host/lib/platform.h.
#include <string>
#include <sys/stat.h>

#include "host/lib/host.h"
#include "host/lib/module_path.h"
#include "host/lib/platform.h"

namespace zendrel::host {

namespace {

bool fileExists(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0;
}

}  // namespace

std::string defaultModulePath(const char* builtPath) {
  const std::string beside = executableDirectory() + moduleFileName("zendrel");
  if (fileExists(beside) || !builtPath) return beside;
  return builtPath;
}

Module::~Module() { close(); }

bool Module::open(const std::string& path) {
  close();
  path_ = path;
  error_.clear();
  if (!fileExists(path)) {
    error_ = "cannot load '" + path + "': no such file; give the path of a built plug-in module";
    return false;
  }
  std::string reason;
  handle_ = platform::openLibrary(path, reason);
  if (!handle_) {
    error_ = "cannot load '" + path + "': " + reason;
    return false;
  }
  return true;
}

void Module::close() {
  if (!handle_) return;
  platform::closeLibrary(handle_);
  handle_ = nullptr;
}

void* Module::symbol(const char* name) const {
  if (!handle_) return nullptr;
  return platform::findSymbol(handle_, name);
}

}  // namespace zendrel::host
