// zendrel-render's command line: the options, their parsing and the demo
// pattern used when none are given.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace zendrel::render {

extern const char* const kUsage;

struct Options {
  std::string module;
  double bpm = 120.0;
  bool stopped = false;
  double start = 0.0;
  int block = 512;
  double rate = 44100.0;
  double seconds = 0.0;
  int program = -1;
  std::string preset;  // a preset file to load; --program then picks its program
  std::string gallery;  // draw every program of the preset file here instead
  std::vector<std::pair<int, float>> params;
  std::string plot;
  std::string input, output;
  bool rateGiven = false;
};

// Fills o from argv; an empty string on success, else the error line.
std::string parseArguments(int argc, char** argv, Options& o, bool& help);

// The demo: 16 sixteenth steps with varied levels, two merges, ramps.
void demoPattern(Options& o);

}  // namespace zendrel::render
