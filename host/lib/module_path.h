// Where the tools look for the plug-in when they are given no module.
#pragma once

#include <string>

namespace zendrel::host {

// The zendrel module beside the running program when there is one; otherwise
// builtPath (the module the program was built with) when given, else the path
// beside the program, which then names what is missing.
std::string defaultModulePath(const char* builtPath);

}  // namespace zendrel::host
