// Crash reporting on Windows: an unhandled-exception filter.
#include <windows.h>

#include <cstdio>

#include "host/validate/crash_report.h"

namespace zendrel::validate {
namespace platform {

namespace {

void (*reportCrash)(const char* what) = nullptr;

LONG WINAPI onCrash(EXCEPTION_POINTERS* info) {
  char what[96];
  std::snprintf(what, sizeof what, "CRASHED (exception 0x%08lX)",
                static_cast<unsigned long>(info->ExceptionRecord->ExceptionCode));
  reportCrash(what);
  ExitProcess(3);
  return EXCEPTION_EXECUTE_HANDLER;
}

}  // namespace

void writeRaw(const char* text) {
  std::fputs(text, stdout);
  std::fflush(stdout);
}

void installCrashHandlers(void (*lastWord)(const char* what)) {
  reportCrash = lastWord;
  SetUnhandledExceptionFilter(onCrash);
}

}  // namespace platform
}  // namespace zendrel::validate
