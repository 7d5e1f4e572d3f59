#include "host/validate/state.h"

#include <algorithm>
#include <cstring>
#include <numeric>

namespace zendrel::validate {

void setRandomValues(Check& c, Instance& a) {
  const int n = a.numParams();
  std::vector<int> order(static_cast<std::size_t>(n));
  std::iota(order.begin(), order.end(), 0);
  std::shuffle(order.begin(), order.end(), c.rng());
  for (int i : order) a.host().setParameter(i, c.unit());
  for (int k = 0; k < n; ++k) a.host().setParameter(c.uniform(0, n - 1), c.unit());
}

void compareValues(Check& c, const std::vector<float>& expected, const std::vector<float>& actual, Instance& a,
                   const std::string& context) {
  int shown = 0, differ = 0;
  for (std::size_t i = 0; i < expected.size() && i < actual.size(); ++i) {
    if (std::memcmp(&expected[i], &actual[i], sizeof(float)) == 0) continue;
    ++differ;
    if (shown++ < 3)
      c.fail(format("%s: parameter %zu '%s' is %s, expected %s", context.c_str(), i,
                    printable(a.text(effGetParamName, static_cast<VstInt32>(i))).c_str(),
                    floatText(actual[i]).c_str(), floatText(expected[i]).c_str()));
  }
  if (differ > 3) c.fail(format("%s: %d values differ in all", context.c_str(), differ));
}

std::vector<float> render(Instance& a, const Signal& signal, int frames, int block, bool inPlace) {
  const AEffect* e = a.effect();
  Buffers buffers(e->numInputs, e->numOutputs, block);
  zendrel::host::Transport t;
  t.sampleRate = a.rate();
  t.playing = true;
  a.host().setTransport(t);
  std::vector<float> out;
  out.reserve(static_cast<std::size_t>(frames) * static_cast<std::size_t>(e->numOutputs));
  for (int done = 0; done < frames; done += block) {
    const int n = std::min(block, frames - done);
    buffers.prepare(signal, done, n);
    a.process(buffers.inputs(), buffers.outputs(inPlace), n);
    for (int i = 0; i < n; ++i)
      for (int ch = 0; ch < e->numOutputs; ++ch) out.push_back(buffers.output(ch, i, inPlace));
  }
  return out;
}

long firstDifference(const std::vector<float>& x, const std::vector<float>& y) {
  if (x.size() != y.size()) return 0;
  for (std::size_t i = 0; i < x.size(); ++i)
    if (std::memcmp(&x[i], &y[i], sizeof(float)) != 0) return static_cast<long>(i);
  return -1;
}

}  // namespace zendrel::validate
