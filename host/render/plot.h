// The picture zendrel-render draws: input and output envelopes over one pattern
// cycle, with the step boundaries marked and numbered.
#pragma once

#include <string>
#include <vector>

namespace zendrel::render {

struct PlotData {
  std::vector<float> input;   // peak magnitude of both channels per sample, one cycle
  std::vector<float> output;
  std::vector<float> gain;    // output over input per sample; negative where the input is silent
  double sampleRate = 44100.0;
  double tempo = 120.0;
  int steps = 32;
  std::string stepLengthName;  // "1/16", "dotted 1/32", ...
  double samplesPerStep = 0.0;
  bool playing = true;
};

// Envelopes are the peak over a few milliseconds around each sample, so one
// period of a low note does not show as ripple.
std::vector<float> peakEnvelope(const std::vector<float>& magnitude, size_t halfWindow);

// Writes a PNG; false with error set when cairo cannot write the file.
bool writePlot(const PlotData& data, const std::string& path, std::string& error);

// One pattern of a gallery: its gain over one cycle of a steady input.
struct GalleryEntry {
  std::string name;
  int steps = 1;
  std::string stepLengthName;
  std::vector<float> gain;
};

// A picture of many patterns, two to a row: each name with its gain over one
// cycle and the steps shaded. Written as a PNG, as writePlot.
bool writeGallery(const std::vector<GalleryEntry>& entries, const std::string& title, const std::string& path,
                  std::string& error);

}  // namespace zendrel::render
