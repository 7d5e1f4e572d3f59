// What the host library needs from the operating system, one file a platform
// (platform_win32.cpp, platform_posix.cpp; CMake picks one). Inside the host
// library only; host.h declares the parts the tools use.
#pragma once

#include <string>

namespace zendrel::host {
namespace platform {

// The loaded library, or null with reason set to why it failed and what to check.
void* openLibrary(const std::string& path, std::string& reason);
void closeLibrary(void* handle);
void* findSymbol(void* handle, const char* name);

}  // namespace platform
}  // namespace zendrel::host
