// Many instances: 64 created, processed and closed, in several orders. Every
// instance in the same state given the same input must give the same output,
// so state shared between instances shows.
#include <algorithm>
#include <numeric>

#include "host/validate/state.h"

namespace zendrel::validate {

namespace {

constexpr int kInstances = 64;

enum class Order { kCreation, kReverse, kRandom, kInterleaved };

const char* orderName(Order o) {
  switch (o) {
    case Order::kCreation: return "creation order";
    case Order::kReverse: return "reverse order";
    case Order::kRandom: return "random order";
    case Order::kInterleaved: return "interleaved with new ones";
  }
  return "?";
}

// Renders a short stretch on one instance and compares it with the reference.
void renderAndCompare(Check& c, Instance& a, const std::vector<float>& values, const std::vector<float>& reference,
                      int which) {
  a.setParameters(values);
  const std::vector<float> out = render(a, Signal{}, 2048, 256);
  const long at = firstDifference(reference, out);
  if (at >= 0) c.fail(format("instance %d renders differently from the first from frame %ld", which, at));
}

void roundOfInstances(Check& c, Order order, const std::vector<float>& values, std::vector<float>& reference) {
  std::vector<std::unique_ptr<Instance>> all;
  for (int i = 0; i < kInstances && !c.enough(); ++i) {
    auto a = openInstance(c, 44100.0, 256);
    if (!a) return;
    all.push_back(std::move(a));
  }
  // Processed in a different order from creation, so no instance sees a fresh
  // process-wide state.
  std::vector<int> ids(all.size());
  std::iota(ids.begin(), ids.end(), 0);
  std::shuffle(ids.begin(), ids.end(), c.rng());
  for (int i : ids) {
    if (reference.empty()) {
      all[static_cast<std::size_t>(i)]->setParameters(values);
      reference = render(*all[static_cast<std::size_t>(i)], Signal{}, 2048, 256);
    } else {
      renderAndCompare(c, *all[static_cast<std::size_t>(i)], values, reference, i);
    }
  }
  if (order == Order::kReverse) std::reverse(all.begin(), all.end());
  if (order == Order::kRandom) std::shuffle(all.begin(), all.end(), c.rng());
  if (order == Order::kInterleaved) {
    // Close every other one, open as many new ones, then close all.
    for (std::size_t i = 0; i < all.size(); i += 2) all[i].reset();
    for (std::size_t i = 0; i < all.size(); i += 2) {
      all[i] = openInstance(c, 44100.0, 256);
      if (all[i]) renderAndCompare(c, *all[i], values, reference, static_cast<int>(i));
    }
  }
  for (auto& a : all) a.reset();
}

void instancesMany(Check& c) {
  std::vector<float> values;
  {
    auto probe = openInstance(c);
    if (!probe) return;
    for (int i = 0; i < probe->numParams(); ++i) values.push_back(c.unit());
  }
  std::vector<float> reference;
  std::vector<Order> orders = {Order::kCreation, Order::kReverse};
  if (c.level() >= 2) orders.push_back(Order::kInterleaved);
  if (c.level() >= 3) orders.push_back(Order::kRandom);
  std::string done;
  for (Order o : orders) {
    roundOfInstances(c, o, values, reference);
    done += (done.empty() ? "" : ", ") + std::string(orderName(o));
  }
  c.saw(format("%d instances per round, closed in %s", kInstances, done.c_str()));
}

}  // namespace

const std::vector<TestInfo>& instanceTests() {
  static const std::vector<TestInfo> tests = {
      {"instances.many", 1, false, instancesMany},
  };
  return tests;
}

}  // namespace zendrel::validate
