#include "host/validate/instance.h"

#include <cmath>
#include <cstring>

namespace zendrel::validate {

namespace {

// Outputs start as this NaN, guards hold another: neither is a sample any
// plug-in computes from finite input.
constexpr uint32_t kMarkerBits = 0x7fc0dead;
constexpr uint32_t kGuardBits = 0x7fc0beef;

float fromBits(uint32_t bits) {
  float f;
  std::memcpy(&f, &bits, sizeof f);
  return f;
}

uint32_t bitsOf(float f) {
  uint32_t bits;
  std::memcpy(&bits, &f, sizeof bits);
  return bits;
}

uint64_t mix(uint64_t x) {
  x ^= x >> 33;
  x *= 0xff51afd7ed558ccdULL;
  x ^= x >> 33;
  x *= 0xc4ceb9fe1a85ec53ULL;
  return x ^ (x >> 33);
}

}  // namespace

bool isDenormal(float v) { return v != 0.0f && std::fpclassify(v) == FP_SUBNORMAL; }

bool Instance::load(const std::string& path) {
  error_.clear();
  if (!host_.load(path, "VSTPluginMain")) {
    const std::string first = host_.error();
    // Older modules export only the second name.
    if (first.find("exports no function") == std::string::npos || !host_.load(path, "main")) {
      error_ = first;
      return false;
    }
  }
  host_.setAutoAdvance(false);
  watchModule(host_.module().handle());
  host_.dispatch(effOpen);
  return true;
}

void Instance::configure(double rate, VstInt32 blockSize) {
  rate_ = rate;
  host_.setSampleRate(rate);
  host_.setBlockSize(blockSize);
  // A fresh instance is set up before its first resume; a running one is
  // suspended first.
  if (resumed_) dispatch(effMainsChanged, 0, 0);
  resumed_ = true;
  dispatch(effSetSampleRate, 0, 0, nullptr, static_cast<float>(rate));
  dispatch(effSetBlockSize, 0, blockSize);
  dispatch(effMainsChanged, 0, 1);
  blocks_ = 0;  // the first block after a resume may set things up
}

void Instance::process(float** inputs, float** outputs, VstInt32 frames) {
  AEffect* e = effect();
  if (!e) return;
  armPathCounting();
  e->processReplacing(e, inputs, outputs, frames);
  const PathCounts c = disarmPathCounting();
  PathCounts& into = blocks_ == 0 ? first_ : later_;
  into.allocations += c.allocations;
  into.frees += c.frees;
  into.locks += c.locks;
  ++blocks_;
  host_.advance(frames);
}

void Instance::setParameters(const std::vector<float>& values) {
  for (std::size_t i = 0; i < values.size(); ++i) host_.setParameter(static_cast<VstInt32>(i), values[i]);
}

std::vector<float> Instance::parameters() {
  std::vector<float> values(static_cast<std::size_t>(numParams()));
  for (std::size_t i = 0; i < values.size(); ++i) values[i] = host_.getParameter(static_cast<VstInt32>(i));
  return values;
}

std::string Instance::text(VstInt32 opcode, VstInt32 index, VstIntPtr value) {
  char buffer[512] = {};
  dispatch(opcode, index, value, buffer);
  buffer[sizeof buffer - 1] = '\0';
  return buffer;
}

std::unique_ptr<Instance> openInstance(Check& check, double rate, VstInt32 block) {
  auto instance = std::make_unique<Instance>();
  if (!instance->load(check.options().module)) {
    check.fail("cannot load: " + instance->error());
    return nullptr;
  }
  instance->host().setRecording(false);
  instance->configure(rate, block);
  return instance;
}

float Signal::sample(int channel, int64_t frame) const {
  // A tone per channel, noise, and a stretch of silence every few seconds:
  // nothing denormal, nothing beyond 0.9.
  const int64_t period = static_cast<int64_t>(rate * 3.0);
  if (period > 0 && frame % period > period * 7 / 8) return 0.0f;
  const double t = static_cast<double>(frame) / rate;
  const double tone = 0.45 * std::sin(6.283185307179586 * (110.0 + 55.0 * channel) * t);
  const uint64_t h = mix(seed ^ (static_cast<uint64_t>(frame) * 2 + static_cast<uint64_t>(channel)));
  const double noise = (static_cast<double>(h >> 11) / 9007199254740992.0 - 0.5) * 0.4;
  return static_cast<float>(tone + noise);
}

std::string BlockFaults::describe() const {
  std::string text;
  auto add = [&](const std::string& what) { text += (text.empty() ? "" : ", ") + what; };
  if (guardBroken) add("wrote outside its buffers");
  if (inputChanged) add("changed its input buffers");
  if (unwritten) add(format("left %d output samples unwritten", unwritten));
  if (nonFinite) add(format("produced %d non-finite samples from finite input", nonFinite));
  if (denormals) add(format("produced %d denormal samples", denormals));
  if (firstBad >= 0) add(format("first at frame %d", firstBad));
  return text;
}

Buffers::Buffers(int inputs, int outputs, int maxFrames) : max_(maxFrames) {
  const std::size_t size = static_cast<std::size_t>(maxFrames + 2 * kGuard);
  inStore_.assign(static_cast<std::size_t>(inputs), std::vector<float>(size, fromBits(kGuardBits)));
  inCopy_.assign(static_cast<std::size_t>(inputs), std::vector<float>(static_cast<std::size_t>(maxFrames)));
  outStore_.assign(static_cast<std::size_t>(outputs), std::vector<float>(size, fromBits(kGuardBits)));
  for (auto& c : inStore_) in_.push_back(c.data() + kGuard);
  for (auto& c : outStore_) out_.push_back(c.data() + kGuard);
  // In place: shared channels use the input buffer; extra outputs their own.
  for (int c = 0; c < outputs; ++c) io_.push_back(c < inputs ? in_[c] : out_[c]);
  // Hosts index channel pointers freely: never hand over an empty array.
  if (in_.empty()) in_.push_back(nullptr);
  if (out_.empty()) out_.push_back(nullptr);
  if (io_.empty()) io_.push_back(nullptr);
}

void Buffers::prepare(const Signal& signal, int64_t start, int frames) {
  const float marker = fromBits(kMarkerBits);
  const float guard = fromBits(kGuardBits);
  // What the last, longer block left past this one's end becomes guard again.
  for (int n = frames; n < touched_; ++n) {
    for (float* c : in_) if (c) c[n] = guard;
    for (float* c : out_) if (c) c[n] = guard;
  }
  touched_ = frames;
  for (std::size_t c = 0; c < inStore_.size(); ++c)
    for (int n = 0; n < frames; ++n) {
      const float v = signal.sample(static_cast<int>(c), start + n);
      in_[c][n] = v;
      inCopy_[c][static_cast<std::size_t>(n)] = v;
    }
  for (std::size_t c = 0; c < outStore_.size(); ++c)
    for (int n = 0; n < frames; ++n) out_[c][n] = marker;
}

BlockFaults Buffers::check(int frames, bool inPlace) const {
  BlockFaults f;
  auto guardsIntact = [&](const std::vector<float>& store) {
    for (int n = 0; n < kGuard; ++n)
      if (bitsOf(store[static_cast<std::size_t>(n)]) != kGuardBits ||
          bitsOf(store[static_cast<std::size_t>(kGuard + max_ + n)]) != kGuardBits)
        return false;
    // Past the block, inside the buffer, is outside what the host handed over.
    for (int n = frames; n < max_ && n < frames + kGuard; ++n)
      if (bitsOf(store[static_cast<std::size_t>(kGuard + n)]) != kGuardBits) return false;
    return true;
  };
  for (const auto& c : outStore_) f.guardBroken = f.guardBroken || !guardsIntact(c);
  for (std::size_t c = 0; c < inStore_.size(); ++c) {
    f.guardBroken = f.guardBroken || !guardsIntact(inStore_[c]);
    // Inputs are the host's: only in place may the plug-in write there.
    if (!inPlace && std::memcmp(in_[c], inCopy_[c].data(), sizeof(float) * static_cast<std::size_t>(frames)) != 0)
      f.inputChanged = true;
  }
  for (int c = 0; c < numOutputs(); ++c)
    for (int n = 0; n < frames; ++n) {
      const float v = output(c, n, inPlace);
      const bool unwritten = !inPlace && bitsOf(v) == kMarkerBits;
      if (unwritten)
        ++f.unwritten;
      else if (!std::isfinite(v))
        ++f.nonFinite;
      else if (isDenormal(v))
        ++f.denormals;
      if ((unwritten || !std::isfinite(v) || isDenormal(v)) && (f.firstBad < 0 || n < f.firstBad)) f.firstBad = n;
    }
  return f;
}

float Buffers::output(int channel, int frame, bool inPlace) const {
  const float* const* channels = inPlace ? io_.data() : out_.data();
  return channels[channel][frame];
}

}  // namespace zendrel::validate
