// The operating system's part of the crash reporter (report_win32.cpp,
// report_posix.cpp; CMake picks one).
#pragma once

namespace zendrel::validate {
namespace platform {

// Writes text to standard output as it is, from a crash handler.
void writeRaw(const char* text);

// From now on a crash of the plug-in calls lastWord with what happened and
// ends the process with status 3.
void installCrashHandlers(void (*lastWord)(const char* what));

}  // namespace platform
}  // namespace zendrel::validate
