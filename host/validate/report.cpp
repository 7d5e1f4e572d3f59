// Verdicts and their lines, text helpers, and the last word when a plug-in
// crashes or hangs: the name of the test that was running.
#include <atomic>
#include <chrono>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "host/validate/crash_report.h"
#include "host/validate/validate.h"

namespace zendrel::validate {

Check::Check(const Options& options, const std::string& name, uint64_t seed)
    : options_(options), name_(name), seed_(seed), rng_(seed) {}

void Check::fail(const std::string& what) {
  if (failures_++ < 8) faults_.push_back(what);
}

void Check::warn(const std::string& what) {
  if (warnings_++ < 4) notes_.push_back("warning: " + what);
}

void Check::skip(const std::string& why) { skipped_ = why; }

void Check::saw(const std::string& what) { saw_.push_back(what); }

Verdict Check::verdict() const {
  if (failures_) return Verdict::kFail;
  if (!skipped_.empty()) return Verdict::kSkip;
  if (warnings_) return Verdict::kWarn;
  return Verdict::kPass;
}

std::string Check::line() const {
  std::string text = name_;
  auto join = [&](const std::vector<std::string>& parts) {
    for (const std::string& p : parts) text += (text == name_ ? ": " : "; ") + p;
  };
  if (!skipped_.empty()) text += ": skipped: " + skipped_;
  join(saw_);
  join(faults_);
  if (failures_ > 8) text += format("; ... %d faults in all", failures_);
  join(notes_);
  return text;
}

int Check::uniform(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }

float Check::unit() {
  // 24 random bits: every value is a float in [0, 1), 1.0 never.
  return static_cast<float>(rng_() >> 40) * (1.0f / 16777216.0f);
}

std::string format(const char* fmt, ...) {
  char buffer[1024];
  va_list args;
  va_start(args, fmt);
  std::vsnprintf(buffer, sizeof buffer, fmt, args);
  va_end(args);
  return buffer;
}

std::string floatText(float v) { return format("%.9g", static_cast<double>(v)); }

std::string printable(const std::string& text) {
  std::string out;
  for (char c : text) out += (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) ? '?' : c;
  return out;
}

namespace {

char currentTest[128] = "loading the module";
std::atomic<long long> testStarted{0};

long long nowSeconds() {
  return std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

// Async-signal-safe: a fixed message and the test name, written raw.
void lastWord(const char* what) {
  char text[256];
  std::snprintf(text, sizeof text, "FAIL  %s: %s\nzendrel-validate: stopped by the plug-in's fault\n",
                currentTest, what);
  std::fflush(stdout);
  platform::writeRaw(text);
}

bool sanitized() {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
  return true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
  return true;
#else
  return false;
#endif
#else
  return false;
#endif
}

}  // namespace

void setCurrentTest(const char* name) {
  std::snprintf(currentTest, sizeof currentTest, "%s", name);
  testStarted.store(nowSeconds());
}

void installCrashReporter(double testTimeoutSeconds) {
  // The sanitizers report crashes better than we can.
  if (!sanitized()) {
    platform::installCrashHandlers(lastWord);
  }
  testStarted.store(nowSeconds());
  const long long limit = static_cast<long long>(testTimeoutSeconds);
  std::thread([limit] {
    for (;;) {
      std::this_thread::sleep_for(std::chrono::seconds(1));
      if (nowSeconds() - testStarted.load() > limit) {
        lastWord(format("HUNG (no answer within %lld s)", limit).c_str());
        std::_Exit(4);
      }
    }
  }).detach();
}

}  // namespace zendrel::validate
