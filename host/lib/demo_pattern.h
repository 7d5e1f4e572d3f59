// The demo pattern the tools show: 16 sixteenth steps with varied levels,
// short notes, ramps and three merges, as (parameter index, value) pairs to
// set in order.
#pragma once

#include <utility>
#include <vector>

namespace zendrel::host {

std::vector<std::pair<int, float>> demoPattern();

}  // namespace zendrel::host
