// Values that reach the editor on a thread other than its own (host automation,
// a program change on the host's automation thread): kept here without any lock
// and handed to the controls on the editor's thread at its next idle. The last
// value of each tag wins.
#pragma once

#include <atomic>
#include <cstdint>

namespace zendrel::editor {

template <int32_t kTags>
class IncomingValues {
 public:
  IncomingValues() {
    for (auto& v : values) v.store(0.0f, std::memory_order_relaxed);
    for (auto& w : pending) w.store(0, std::memory_order_relaxed);
  }

  // Any thread.
  void store(int32_t tag, float value) {
    values[tag].store(value, std::memory_order_relaxed);
    pending[tag / 32].fetch_or(bit(tag), std::memory_order_release);
  }

  // The editor's thread: a value it sets itself is newer than one waiting.
  void forget(int32_t tag) { pending[tag / 32].fetch_and(~bit(tag), std::memory_order_relaxed); }

  void clear() {
    for (auto& w : pending) w.store(0, std::memory_order_relaxed);
  }

  // The editor's thread: apply(tag, value) for every waiting value.
  template <typename Apply>
  void take(Apply&& apply) {
    for (int32_t w = 0; w < kWords; ++w) {
      uint32_t bits = pending[w].exchange(0, std::memory_order_acquire);
      while (bits) {
        const int32_t b = __builtin_ctz(bits);
        bits &= bits - 1;
        const int32_t tag = w * 32 + b;
        apply(tag, values[tag].load(std::memory_order_relaxed));
      }
    }
  }

 private:
  static constexpr int32_t kWords = (kTags + 31) / 32;
  static constexpr uint32_t bit(int32_t tag) { return 1u << (tag % 32); }
  std::atomic<float> values[kTags];
  std::atomic<uint32_t> pending[kWords];
};

}  // namespace zendrel::editor
