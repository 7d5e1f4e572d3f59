// What several test groups share: random parameter values set as a host's
// automation would, bit-for-bit comparison of parameter sets, and a
// deterministic render for comparing two instances sample for sample.
#pragma once

#include <string>
#include <vector>

#include "host/validate/instance.h"

namespace zendrel::validate {

// Every parameter once in a random order, then as many random writes again.
// Values are in [0, 1): never exactly 1.0.
void setRandomValues(Check& c, Instance& a);

// Fails the check at the first few values whose bits differ.
void compareValues(Check& c, const std::vector<float>& expected, const std::vector<float>& actual, Instance& a,
                   const std::string& context);

// Renders `frames` frames in blocks of `block` with the transport playing from
// song position 0 at 120 beats per minute; the interleaved output channels.
std::vector<float> render(Instance& a, const Signal& signal, int frames, int block, bool inPlace = false);

// Index of the first sample where two renders differ, or -1.
long firstDifference(const std::vector<float>& x, const std::vector<float>& y);

}  // namespace zendrel::validate
