// Preset files and a loaded module: what a host does with them. Files are read
// and checked whole before anything is applied, so a bad file changes nothing.
#pragma once

#include <string>

#include "host/lib/host.h"
#include "host/lib/presets/preset_files.h"

namespace zendrel::preset {

// What the module's record says about itself: unique ID, version (the vendor
// version when it gives one), parameter and program counts.
Identity identityOf(zendrel::host::Host& host);

// The current program takes the preset: every value through setParameter in
// index order, then the name (cut to 23 characters, as the name field holds 24).
void applyProgram(zendrel::host::Host& host, const Program& p);
// A bank as hosts load one: each program selected and applied in turn, then the
// bank's current program selected. Programs beyond the module's are left out.
void applyBank(zendrel::host::Host& host, const Bank& b);

// The current program as the module reports it (getParameter, its name).
Program captureProgram(zendrel::host::Host& host);
// Every program of the module, each selected in turn; the current one restored.
Bank captureBank(zendrel::host::Host& host);

// Reads a file for the module and applies it. With program < 0 a bank file is
// loaded whole and a program file, or an Ardour file's first preset, goes to
// the current program; with program >= 0 the file's program of that number
// (0-based) goes to the current program. False with error set, and the module
// untouched, when the file is bad or has no such program.
bool loadPreset(zendrel::host::Host& host, const std::string& path, int program, std::string& error);

// The file's program `program`, or its current one when program < 0.
bool pickProgram(const Bank& b, const std::string& path, int program, Program& out, std::string& error);

}  // namespace zendrel::preset
