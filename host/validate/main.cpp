// zendrel-validate [options] MODULE: runs a VST 2.4 effect module through what
// hosts do to it and prints one line per test, then a summary. Exits 1 when a
// test failed, 2 on a usage error, 3 when the plug-in crashed and 4 when it hung.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>
#include <vector>

#include "host/validate/instance.h"
#include "host/validate/validate.h"

namespace {

using zendrel::validate::Options;

const char kUsage[] =
    "usage: zendrel-validate [options] MODULE\n"
    "Loads a VST 2.4 effect module as a host does and runs it through identity,\n"
    "opcode, program, state, audio, automation, thread, editor and instance tests.\n"
    "  --level N       strictness 1 (quick) to 3 (full, long); default 2\n"
    "  --seed N        random seed (printed; give it again to replay a run)\n"
    "  --repeat N      run the tests N times, with seeds N, N+1, ...\n"
    "  --no-editor     skip the editor tests\n"
    "  --only TEXT     run only the tests whose name contains TEXT\n"
    "  --soak SECONDS  soak instead: instances with audio, automation, program\n"
    "                  changes and open editors, for that long\n"
    "  --instances N   instances in the soak (default 16)\n"
    "  --timeout S     seconds one test may run before it counts as hung (900)\n"
    "  --preset FILE   instead of the tests, load each program of a preset file\n"
    "                  (.fxp, .fxb, Ardour's) as hosts do: its values must read back\n"
    "                  bit for bit, and a save and reload must give the same audio\n";

bool number(const char* text, double& out) {
  char* end = nullptr;
  out = std::strtod(text, &end);
  return end && *end == '\0' && end != text;
}

// False on a usage error.
bool parse(int argc, char** argv, Options& o, bool& help) {
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    double v = 0;
    auto value = [&]() { return i + 1 < argc && number(argv[++i], v); };
    if (a == "-h" || a == "--help") help = true;
    else if (a == "--no-editor") o.editor = false;
    else if (a == "--level") { if (!value() || v < 1 || v > 3) return false; o.level = static_cast<int>(v); }
    else if (a == "--seed") { if (!value() || v < 0) return false; o.seed = static_cast<uint64_t>(v); }
    else if (a == "--repeat") { if (!value() || v < 1) return false; o.repeat = static_cast<int>(v); }
    else if (a == "--soak") { if (!value() || v <= 0) return false; o.soakSeconds = v; }
    else if (a == "--instances") { if (!value() || v < 1 || v > 256) return false; o.soakInstances = static_cast<int>(v); }
    else if (a == "--timeout") { if (!value() || v <= 0) return false; o.testTimeout = v; }
    else if (a == "--only") { if (i + 1 >= argc) return false; o.only = argv[++i]; }
    else if (a == "--preset") { if (i + 1 >= argc) return false; o.preset = argv[++i]; }
    else if (!a.empty() && a[0] == '-') return false;
    else if (!o.module.empty()) return false;
    else o.module = a;
  }
  return help || !o.module.empty();
}

// Each test gets its own stream from the run's seed and its name, so one test
// replays alone with --only.
uint64_t testSeed(uint64_t seed, const char* name) {
  uint64_t h = seed * 0x9e3779b97f4a7c15ULL + 0x632be59bd9b4e019ULL;
  for (const char* p = name; *p; ++p) h = (h ^ static_cast<unsigned char>(*p)) * 0x100000001b3ULL;
  return h;
}

std::vector<zendrel::validate::TestInfo> allTests() {
  std::vector<zendrel::validate::TestInfo> all;
  for (auto* group : {&zendrel::validate::identityTests, &zendrel::validate::programTests, &zendrel::validate::stateTests,
                      &zendrel::validate::audioTests, &zendrel::validate::automationTests, &zendrel::validate::editorTests, &zendrel::validate::threadTests,
                      &zendrel::validate::instanceTests, &zendrel::validate::carelessTests})
    for (const auto& t : group()) all.push_back(t);
  return all;
}

struct Totals {
  int passed = 0, warned = 0, skipped = 0, failed = 0;
};

// Edit notifications and automation for an index the module did not declare,
// from any instance on any thread: a host may index its tables with it, so
// the test during which one arrived fails.
// Only a faulty plug-in gets here, so one lock for both is cheap enough.
std::mutex indexFaultMutex;
long indexFaults = 0;
std::string firstIndexFault;

void noteIndexFault(const zendrel::host::Request& request) {
  std::lock_guard<std::mutex> lock(indexFaultMutex);
  if (indexFaults++ == 0) firstIndexFault = zendrel::host::Host::describeParameterIndexFault(request);
}

// Takes the faults since the last call: a failure text, or empty.
std::string takeIndexFaults() {
  std::lock_guard<std::mutex> lock(indexFaultMutex);
  if (indexFaults == 0) return "";
  std::string text = zendrel::validate::format(
      "the plug-in sent %s (%ld such requests); hosts index their parameter tables "
      "with it: report only indices below numParams",
      firstIndexFault.c_str(), indexFaults);
  indexFaults = 0;
  firstIndexFault.clear();
  return text;
}

void runOnce(const Options& o, uint64_t seed, Totals& totals) {
  static const char* const kWords[] = {"PASS", "WARN", "SKIP", "FAIL"};
  for (const zendrel::validate::TestInfo& t : allTests()) {
    if (t.level > o.level || (t.editor && !o.editor)) continue;
    if (!o.only.empty() && std::string(t.name).find(o.only) == std::string::npos) continue;
    zendrel::validate::setCurrentTest(t.name);
    zendrel::validate::Check check(o, t.name, testSeed(seed, t.name));
    const auto start = std::chrono::steady_clock::now();
    takeIndexFaults();
    t.run(check);
    const std::string indexFault = takeIndexFaults();
    if (!indexFault.empty()) check.fail(indexFault);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const zendrel::validate::Verdict v = check.verdict();
    std::printf("%s  %s (%.1f s)\n", kWords[static_cast<int>(v)], check.line().c_str(), seconds);
    std::fflush(stdout);
    switch (v) {
      case zendrel::validate::Verdict::kPass: ++totals.passed; break;
      case zendrel::validate::Verdict::kWarn: ++totals.warned; break;
      case zendrel::validate::Verdict::kSkip: ++totals.skipped; break;
      case zendrel::validate::Verdict::kFail: ++totals.failed; break;
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  zendrel::host::setBinaryStdout();
  Options o;
  bool help = false;
  if (!parse(argc, argv, o, help) || help) {
    std::fputs(kUsage, help ? stdout : stderr);
    return help ? 0 : 2;
  }
  if (o.seed == 0)
    o.seed = static_cast<uint64_t>(std::chrono::system_clock::now().time_since_epoch().count()) % 1000000007ULL;
  zendrel::validate::installCrashReporter(o.soakSeconds > 0 ? o.soakSeconds + o.testTimeout : o.testTimeout);
  std::printf("zendrel-validate %s: level %d, seed %llu%s\n", o.module.c_str(), o.level,
              static_cast<unsigned long long>(o.seed), o.editor ? "" : ", no editor tests");
  std::fflush(stdout);
  zendrel::host::Host::setParameterIndexFaultHandler(&noteIndexFault);
  if (o.soakSeconds > 0) {
    const int soak = zendrel::validate::runSoak(o);
    const std::string indexFault = takeIndexFaults();
    if (indexFault.empty()) return soak;
    std::printf("FAIL  soak: %s\n", indexFault.c_str());
    return 1;
  }
  if (!o.preset.empty()) return zendrel::validate::runPresetCheck(o);
  Totals totals;
  for (int r = 0; r < o.repeat; ++r) runOnce(o, o.seed + static_cast<uint64_t>(r), totals);
  std::printf("zendrel-validate: %d passed, %d with warnings, %d skipped, %d failed", totals.passed, totals.warned,
              totals.skipped, totals.failed);
  if (totals.failed)
    std::printf(" (replay with --seed %llu%s)", static_cast<unsigned long long>(o.seed),
                o.repeat > 1 ? " and the same --repeat" : "");
  std::printf("\n");
  return std::fflush(stdout) == 0 && totals.failed == 0 ? 0 : 1;
}
