#include "host/lib/host.h"

#include <atomic>
#include <cstdio>
#include <cstring>

namespace zendrel::host {

namespace {

// The host whose entry call is running: requests made during construction
// carry a record the host has not received yet. Loads are serialised.
std::mutex loadMutex;
std::atomic<Host*> loadingHost{nullptr};
std::atomic<void (*)()> enterHook{nullptr};
std::atomic<void (*)()> leaveHook{nullptr};

// Runs the leave hook however the callback returns.
struct HookScope {
  HookScope() {
    if (auto hook = enterHook.load(std::memory_order_relaxed)) hook();
  }
  ~HookScope() {
    if (auto hook = leaveHook.load(std::memory_order_relaxed)) hook();
  }
};

void printParameterIndexFault(const Request& request) {
  std::fprintf(stderr, "zendrel host: the plug-in sent %s\n",
               Host::describeParameterIndexFault(request).c_str());
}

std::atomic<void (*)(const Request&)> parameterIndexFaultHandler{&printParameterIndexFault};

bool namesParameter(VstInt32 opcode) {
  return opcode == audioMasterAutomate || opcode == audioMasterBeginEdit || opcode == audioMasterEndEdit;
}

void copyText(void* ptr, const char* text, std::size_t capacity) {
  if (!ptr) return;
  char* out = static_cast<char*>(ptr);
  std::size_t n = std::strlen(text);
  if (n >= capacity) n = capacity - 1;
  std::memcpy(out, text, n);
  out[n] = '\0';
}

}  // namespace

Host::Host() = default;

Host::~Host() { unload(); }

bool Host::load(const std::string& path, const std::string& entryName) {
  unload();
  error_.clear();
  if (!module_.open(path)) {
    error_ = module_.error();
    return false;
  }
  auto entry = reinterpret_cast<EntryProc>(module_.symbol(entryName.c_str()));
  if (!entry) {
    error_ = "'" + path + "' exports no function " + entryName +
             ": it is not a plug-in module (or was built without its entry)";
    module_.close();
    return false;
  }
  AEffect* effect = nullptr;
  {
    std::lock_guard<std::mutex> lock(loadMutex);
    loadingHost.store(this);
    effect = entry(&Host::callback);
    loadingHost.store(nullptr);
  }
  if (!effect) {
    VstIntPtr version;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      version = versionAnswer_;
    }
    error_ = "'" + path + "': " + entryName + " returned no effect (this host answered " +
             std::to_string(static_cast<long long>(version)) +
             " to the version query; a plug-in gives up on 0)";
    module_.close();
    return false;
  }
  if (effect->magic != kEffectMagic) {
    error_ = "'" + path + "': " + entryName +
             " returned a record without the effect magic 'VstP': not a plug-in of this kind";
    module_.close();
    return false;
  }
  effect->user = this;
  effect_ = effect;
  return true;
}

VstIntPtr Host::close() {
  if (!effect_) return 0;
  VstIntPtr answer = effect_->dispatcher(effect_, effClose, 0, 0, nullptr, 0.0f);
  effect_ = nullptr;
  return answer;
}

void Host::unload() {
  close();
  module_.close();
}

VstIntPtr Host::dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                         float opt) {
  if (!effect_) return 0;
  if (opcode == effClose) return close();
  return effect_->dispatcher(effect_, opcode, index, value, ptr, opt);
}

void Host::setParameter(VstInt32 index, float value) {
  if (effect_) effect_->setParameter(effect_, index, value);
}

float Host::getParameter(VstInt32 index) {
  return effect_ ? effect_->getParameter(effect_, index) : 0.0f;
}

void Host::processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) {
  if (!effect_) return;
  effect_->processReplacing(effect_, inputs, outputs, sampleFrames);
  bool move;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    move = autoAdvance_;
  }
  if (move) advance(sampleFrames);
}

std::string Host::text(VstInt32 opcode, VstInt32 index, VstIntPtr value) {
  char buffer[256] = {};
  dispatch(opcode, index, value, buffer);
  buffer[sizeof buffer - 1] = '\0';
  return std::string(buffer);
}

std::string Host::effectName() { return text(effGetEffectName, 0, 0); }
std::string Host::vendorString() { return text(effGetVendorString, 0, 0); }
std::string Host::productString() { return text(effGetProductString, 0, 0); }
std::string Host::programName() { return text(effGetProgramName, 0, 0); }
std::string Host::programNameIndexed(VstInt32 index, VstInt32 category) {
  return text(effGetProgramNameIndexed, index, category);
}
std::string Host::parameterName(VstInt32 index) { return text(effGetParamName, index, 0); }
std::string Host::parameterLabel(VstInt32 index) { return text(effGetParamLabel, index, 0); }
std::string Host::parameterDisplay(VstInt32 index) { return text(effGetParamDisplay, index, 0); }

std::vector<Request> Host::requests() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return log_;
}

std::vector<Request> Host::requests(VstInt32 opcode) const {
  std::lock_guard<std::mutex> lock(mutex_);
  std::vector<Request> out;
  for (const Request& r : log_)
    if (r.opcode == opcode) out.push_back(r);
  return out;
}

std::size_t Host::count(VstInt32 opcode) const {
  std::lock_guard<std::mutex> lock(mutex_);
  std::size_t n = 0;
  for (const Request& r : log_)
    if (r.opcode == opcode) ++n;
  return n;
}

std::size_t Host::requestCount() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return log_.size();
}

void Host::clearRequests() {
  std::lock_guard<std::mutex> lock(mutex_);
  log_.clear();
}

void Host::setRecording(bool on) {
  std::lock_guard<std::mutex> lock(mutex_);
  recording_ = on;
}

Transport Host::transport() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return transport_;
}

void Host::setTransport(const Transport& transport) {
  std::lock_guard<std::mutex> lock(mutex_);
  transport_ = transport;
  transportChanged_ = true;
}

void Host::setTempo(double bpm) {
  std::lock_guard<std::mutex> lock(mutex_);
  transport_.tempo = bpm;
}

void Host::setSampleRate(double rate) {
  std::lock_guard<std::mutex> lock(mutex_);
  transport_.sampleRate = rate;
}

void Host::setSamplePosition(double samples) {
  std::lock_guard<std::mutex> lock(mutex_);
  transport_.samplePos = samples;
  transportChanged_ = true;
}

void Host::setPpqPosition(double ppq) {
  std::lock_guard<std::mutex> lock(mutex_);
  transport_.ppqPos = ppq;
  transportChanged_ = true;
}

void Host::setPlaying(bool playing) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (transport_.playing != playing) transportChanged_ = true;
  transport_.playing = playing;
}

void Host::advance(VstInt32 frames) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (!transport_.playing || frames <= 0) return;
  transport_.samplePos += frames;
  if (transport_.sampleRate > 0.0)
    transport_.ppqPos += frames / transport_.sampleRate * transport_.tempo / 60.0;
}

void Host::setAutoAdvance(bool on) {
  std::lock_guard<std::mutex> lock(mutex_);
  autoAdvance_ = on;
}

void Host::setBlockSize(VstInt32 frames) {
  std::lock_guard<std::mutex> lock(mutex_);
  blockSize_ = frames;
}

void Host::setTimeInfoNull(bool on) {
  std::lock_guard<std::mutex> lock(mutex_);
  timeInfoNull_ = on;
}

void Host::setVersionAnswer(VstIntPtr answer) {
  std::lock_guard<std::mutex> lock(mutex_);
  versionAnswer_ = answer;
}

VstIntPtr Host::answer(const Request& r) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (recording_) log_.push_back(r);
  switch (r.opcode) {
    case audioMasterVersion:
      return versionAnswer_;
    case audioMasterGetTime: {
      if (timeInfoNull_) return 0;
      timeInfo_ = VstTimeInfo{};
      timeInfo_.samplePos = transport_.samplePos;
      timeInfo_.sampleRate = transport_.sampleRate;
      timeInfo_.ppqPos = transport_.ppqPos;
      timeInfo_.tempo = transport_.tempo;
      timeInfo_.timeSigNumerator = transport_.timeSigNumerator;
      timeInfo_.timeSigDenominator = transport_.timeSigDenominator;
      timeInfo_.flags = transport_.validFlags | (transport_.playing ? kVstTransportPlaying : 0) |
                        (transportChanged_ ? kVstTransportChanged : 0);
      if (transport_.cycleActive) {
        timeInfo_.cycleStartPos = transport_.cycleStartPpq;
        timeInfo_.cycleEndPos = transport_.cycleEndPpq;
        timeInfo_.flags |= kVstTransportCycleActive | kVstCyclePosValid;
      }
      transportChanged_ = false;
      return reinterpret_cast<VstIntPtr>(&timeInfo_);
    }
    case audioMasterGetSampleRate:
      return static_cast<VstIntPtr>(transport_.sampleRate);
    case audioMasterGetBlockSize:
      return blockSize_;
    case audioMasterGetVendorString:
      copyText(r.ptr, "Zendrel", 64);
      return 1;
    case audioMasterGetProductString:
      copyText(r.ptr, "Zendrel test host", 64);
      return 1;
    case audioMasterGetVendorVersion:
      return 1;
    default:
      return 0;
  }
}

VstIntPtr Host::callback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                         void* ptr, float opt) {
  HookScope hooks;
  Host* host = effect ? static_cast<Host*>(effect->user) : nullptr;
  if (!host) host = loadingHost.load();
  if (!host) return opcode == audioMasterVersion ? kVstVersion : 0;
  Request r;
  r.effect = effect;
  r.opcode = opcode;
  r.index = index;
  r.value = value;
  r.ptr = ptr;
  r.opt = opt;
  if (effect && namesParameter(opcode) && (index < 0 || index >= effect->numParams)) {
    host->parameterIndexFaults_.fetch_add(1, std::memory_order_relaxed);
    if (auto handler = parameterIndexFaultHandler.load()) handler(r);
  }
  return host->answer(r);
}

std::size_t Host::parameterIndexFaults() const {
  return parameterIndexFaults_.load(std::memory_order_relaxed);
}

void Host::setParameterIndexFaultHandler(void (*handler)(const Request&)) {
  parameterIndexFaultHandler.store(handler);
}

std::string Host::describeParameterIndexFault(const Request& r) {
  const char* name = r.opcode == audioMasterAutomate    ? "audioMasterAutomate"
                     : r.opcode == audioMasterBeginEdit ? "audioMasterBeginEdit"
                                                        : "audioMasterEndEdit";
  const VstInt32 count = r.effect ? r.effect->numParams : 0;
  return std::string(name) + " for parameter " + std::to_string(r.index) + ", outside 0.." +
         std::to_string(count - 1);
}

void Host::setCallbackHooks(void (*enter)(), void (*leave)()) {
  enterHook.store(enter);
  leaveHook.store(leave);
}

std::string fourCharText(VstInt32 code) {
  std::string text;
  for (int shift = 24; shift >= 0; shift -= 8) {
    char c = static_cast<char>((static_cast<uint32_t>(code) >> shift) & 0xff);
    text += (c >= 0x20 && c < 0x7f) ? c : '.';
  }
  return text;
}

}  // namespace zendrel::host
