// zendrel-validate: a host's worst day for any plug-in module. The tests are
// grouped one file per group; each registers itself in a table that main runs
// in order, cheap tests first. A test reports one verdict line: what it saw,
// and the first few faults it found.
#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "host/lib/host.h"

namespace zendrel::validate {

struct Options {
  std::string module;
  int level = 2;            // 1 quick, 2 standard, 3 full
  uint64_t seed = 0;
  int repeat = 1;
  bool editor = true;       // --no-editor turns the editor tests off
  std::string only;         // run only tests whose name contains this
  double soakSeconds = 0;   // > 0: soak mode instead of the tests
  int soakInstances = 16;
  double testTimeout = 900;  // seconds one test may take before it counts as hung
  std::string preset;       // --preset FILE: check the file's programs instead of the tests
};

enum class Verdict { kPass, kWarn, kSkip, kFail };

// What one test found. A test calls fail() for faults, warn() for what hosts
// tolerate but should not have to, skip() when it cannot run here, and saw()
// to say what it did.
class Check {
 public:
  Check(const Options& options, const std::string& name, uint64_t seed);

  const Options& options() const { return options_; }
  int level() const { return options_.level; }
  std::mt19937_64& rng() { return rng_; }
  uint64_t seed() const { return seed_; }

  void fail(const std::string& what);
  void warn(const std::string& what);
  void skip(const std::string& why);
  void saw(const std::string& what);
  bool failed() const { return failures_ > 0; }
  // True once enough faults are listed: loops may stop early.
  bool enough() const { return failures_ >= 8; }

  Verdict verdict() const;
  std::string line() const;  // the report line without the verdict word

  // Uniform helpers on the test's own generator.
  int uniform(int lo, int hi);  // lo..hi inclusive
  float unit();                 // [0, 1)

 private:
  const Options& options_;
  std::string name_;
  uint64_t seed_;
  std::mt19937_64 rng_;
  int failures_ = 0, warnings_ = 0;
  std::vector<std::string> faults_, notes_, saw_;
  std::string skipped_;
};

using TestFunction = void (*)(Check&);

struct TestInfo {
  const char* name;  // group.name
  int level;         // the lowest strictness level that runs it
  bool editor;       // needs the editor tests enabled
  TestFunction run;
};

// Each group's file defines its table.
const std::vector<TestInfo>& identityTests();
const std::vector<TestInfo>& programTests();
const std::vector<TestInfo>& stateTests();
const std::vector<TestInfo>& audioTests();
const std::vector<TestInfo>& automationTests();
const std::vector<TestInfo>& editorTests();
const std::vector<TestInfo>& threadTests();
const std::vector<TestInfo>& instanceTests();
const std::vector<TestInfo>& carelessTests();

// Soak mode (soak.cpp): 0 when nothing failed.
int runSoak(const Options& options);
// Preset mode (presets.cpp): 0 when every program of the file passed.
int runPresetCheck(const Options& options);

// Text helpers.
// Formats are checked against the C++ runtime's printf: CMake names its flavour
// (gnu_printf for the Windows runtime, whose C library's printf differs).
#ifndef ZVALIDATE_PRINTF_STYLE
#define ZVALIDATE_PRINTF_STYLE printf
#endif
std::string format(const char* fmt, ...) __attribute__((format(ZVALIDATE_PRINTF_STYLE, 1, 2)));
std::string floatText(float v);  // shortest text that reads back bit for bit
std::string printable(const std::string& text);

// The crash and hang reporter names the running test (report.cpp).
void setCurrentTest(const char* name);
void installCrashReporter(double testTimeoutSeconds);

}  // namespace zendrel::validate
