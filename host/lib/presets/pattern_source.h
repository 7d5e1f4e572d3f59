// The factory patterns' source: one small text file per pattern, so that a
// pattern is reviewed and edited as text and the build writes the binary
// files. A line is "key: values", '#' starts a comment:
//
//   name:   Offbeat 16ths                 the program name (at most 23 characters)
//   about:  The offbeats only             one line for the gallery and the README
//   steps:  16                            1..32
//   length: 1/16                          step length: 1/64 .. 1/2, 1, "d" = dotted
//   note:   1/32                          note length of each step (default: the step)
//   gate:   0 1                           level of each step, 0..1
//   attack: 0                             share of the note taken by the rise
//   decay:  0.5                           share taken by the fall
//   merge:  - x                           x merges the step into the next
//
// Every list gives the values of steps 1, 2, ... and repeats when it is shorter
// than 32. Values are checked the way the plug-in's editing rules would treat
// them, so that the written program loads and reads back unchanged.
#pragma once

#include <string>

#include "host/lib/presets/preset_files.h"

namespace zendrel::preset {

struct Pattern {
  Program program;
  std::string about;
};

bool parsePattern(const std::string& text, const std::string& file, Pattern& out, std::string& error);
bool readPatternFile(const std::string& path, Pattern& out, std::string& error);

// What a program plays, as the plug-in derives it from the stored values.
int stepCountOf(const Program& p);
std::string stepLengthNameOf(const Program& p);  // "1/16", "dotted 1/8", ...
// One character a step for its gate level ('_' silent .. '#' full), with '~'
// after a step that merges into the next: "#_#_=_#_".
std::string gatePicture(const Program& p);

// The note-value names of the source format ("1/16", "d1/8", "1") and the
// grid values they stand for; false for an unknown name.
bool noteValueByName(const std::string& name, float& value);

}  // namespace zendrel::preset
