// Crash reporting on Linux: signal handlers that write with write(2), which a
// handler may call.
#include <unistd.h>

#include <csignal>
#include <cstring>
#include <initializer_list>

#include "host/validate/crash_report.h"

namespace zendrel::validate {
namespace platform {

namespace {

void (*reportCrash)(const char* what) = nullptr;

void onSignal(int sig) {
  reportCrash(sig == SIGSEGV   ? "CRASHED (segmentation fault)"
              : sig == SIGBUS  ? "CRASHED (bus error)"
              : sig == SIGFPE  ? "CRASHED (arithmetic exception)"
              : sig == SIGILL  ? "CRASHED (illegal instruction)"
                               : "CRASHED (aborted)");
  _exit(3);
}

}  // namespace

void writeRaw(const char* text) {
  ssize_t ignored = write(STDOUT_FILENO, text, std::strlen(text));
  (void)ignored;
}

void installCrashHandlers(void (*lastWord)(const char* what)) {
  reportCrash = lastWord;
  for (int sig : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT}) std::signal(sig, onSignal);
}

}  // namespace platform
}  // namespace zendrel::validate
