// A small plug-in host for tests and command-line tools: loads a plug-in module
// by path through its exported entry, records every request the plug-in makes
// back to the host, answers the version and time queries from a settable
// transport, and wraps the record's functions.
//
// One Host holds one module and one effect instance. Hosts are independent of
// each other and may live side by side. The request log and the transport are
// guarded by a mutex inside the host, so the plug-in may call back from an
// audio thread and a user-interface thread at once.
#pragma once

#include <atomic>
#include <cstddef>
#include <mutex>
#include <string>
#include <vector>

#include "plugin/vst/host_interface.h"

namespace zendrel::host {

// One request of the plug-in, as it arrived at the host callback.
struct Request {
  AEffect* effect = nullptr;
  VstInt32 opcode = 0;
  VstInt32 index = 0;
  VstIntPtr value = 0;
  void* ptr = nullptr;
  float opt = 0.0f;
};

// What the host reports through audioMasterGetTime.
struct Transport {
  double tempo = 120.0;
  double sampleRate = 44100.0;
  double samplePos = 0.0;
  double ppqPos = 0.0;
  bool playing = false;
  // Validity bits reported besides the playing and changed bits.
  VstInt32 validFlags = kVstPpqPosValid | kVstTempoValid | kVstTimeSigValid;
  VstInt32 timeSigNumerator = 4;
  VstInt32 timeSigDenominator = 4;
  // A loop between two song positions (quarter notes); reported when active.
  bool cycleActive = false;
  double cycleStartPpq = 0.0;
  double cycleEndPpq = 0.0;
};

// A loaded plug-in library, without an effect instance. Platform code lives
// behind this class only.
class Module {
 public:
  Module() = default;
  ~Module();
  Module(const Module&) = delete;
  Module& operator=(const Module&) = delete;

  // Opens the library; false with error() set when it cannot be opened.
  bool open(const std::string& path);
  void close();
  bool isOpen() const { return handle_ != nullptr; }
  // Address of an exported function, or null.
  void* symbol(const char* name) const;
  const std::string& error() const { return error_; }
  const std::string& path() const { return path_; }
  // The loader's handle (dlopen handle, or the module instance on Windows).
  void* handle() const { return handle_; }

 private:
  void* handle_ = nullptr;
  std::string path_;
  std::string error_;
};

using EntryProc = AEffect* (*)(audioMasterCallback);

class Host {
 public:
  Host();
  ~Host();  // closes the effect (effClose) and unloads the module
  Host(const Host&) = delete;
  Host& operator=(const Host&) = delete;

  // Loads the module at path and creates one effect through the named entry
  // ("VSTPluginMain" or "main"). False with error() set when the file is
  // missing, is no loadable library, has no such entry, or the entry gives no
  // record or a record without the effect magic.
  bool load(const std::string& path, const std::string& entryName = "VSTPluginMain");
  // Sends effClose and forgets the effect; answers what the dispatcher answered
  // (0 when no effect was loaded). The module stays loaded until unload().
  VstIntPtr close();
  // close() and then unloads the module.
  void unload();
  const std::string& error() const { return error_; }
  AEffect* effect() const { return effect_; }
  bool loaded() const { return effect_ != nullptr; }
  const Module& module() const { return module_; }

  // The record's functions. Without an effect: 0, nothing.
  VstIntPtr dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0,
                     void* ptr = nullptr, float opt = 0.0f);
  void setParameter(VstInt32 index, float value);
  float getParameter(VstInt32 index);
  void processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames);

  // Texts through the dispatcher, read from a zero-filled 256-byte buffer.
  std::string effectName();
  std::string vendorString();
  std::string productString();
  std::string programName();
  std::string programNameIndexed(VstInt32 index, VstInt32 category = -1);
  std::string parameterName(VstInt32 index);
  std::string parameterLabel(VstInt32 index);
  std::string parameterDisplay(VstInt32 index);

  // Request log.
  std::vector<Request> requests() const;
  std::vector<Request> requests(VstInt32 opcode) const;  // only that opcode
  std::size_t count(VstInt32 opcode) const;
  std::size_t requestCount() const;
  void clearRequests();
  // When off, requests are still answered but no longer recorded, so a long
  // run's log does not grow and the callback allocates nothing.
  void setRecording(bool on);

  // Transport reported by audioMasterGetTime.
  Transport transport() const;
  void setTransport(const Transport& transport);
  void setTempo(double bpm);
  void setSampleRate(double rate);  // also the answer to audioMasterGetSampleRate
  void setSamplePosition(double samples);
  void setPpqPosition(double ppq);
  void setPlaying(bool playing);
  // Moves the transport on by frames while it plays (sample and ppq position).
  void advance(VstInt32 frames);
  // When on (the default), processReplacing() advances by the block afterwards.
  void setAutoAdvance(bool on);
  void setBlockSize(VstInt32 frames);  // answer to audioMasterGetBlockSize

  // Failure modes for tests.
  void setTimeInfoNull(bool on);            // audioMasterGetTime answers null
  void setVersionAnswer(VstIntPtr answer);  // audioMasterVersion answer (2400 by default)

  // The callback the plug-in receives. Finds the host through the record's
  // user field, or the host that is loading when the record is not yet known.
  static VstIntPtr callback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                            void* ptr, float opt);
  // Process-wide hooks run as the callback is entered and left (either may be
  // null), so a tool can tell the host's own work from the plug-in's.
  static void setCallbackHooks(void (*enter)(), void (*leave)());

  // Requests that name a parameter (edit begin and end, automation) with an
  // index outside 0..numParams-1 of the record: a host may index its tables
  // with it. Counted per host, and each handed to the process-wide handler:
  // by default a line on standard error; the tests make it a failure.
  std::size_t parameterIndexFaults() const;
  static void setParameterIndexFaultHandler(void (*handler)(const Request& request));
  // "audioMasterAutomate for parameter 1004, outside 0..229"
  static std::string describeParameterIndexFault(const Request& request);

 private:
  VstIntPtr answer(const Request& request);
  std::string text(VstInt32 opcode, VstInt32 index, VstIntPtr value);

  Module module_;
  AEffect* effect_ = nullptr;
  std::string error_;

  mutable std::mutex mutex_;
  std::vector<Request> log_;
  Transport transport_;
  bool transportChanged_ = true;
  bool autoAdvance_ = true;
  bool recording_ = true;
  std::atomic<std::size_t> parameterIndexFaults_{0};
  bool timeInfoNull_ = false;
  VstIntPtr versionAnswer_ = kVstVersion;
  VstInt32 blockSize_ = 1024;
  VstTimeInfo timeInfo_{};
};

// Text of four-character codes: "ZdRl"; non-printable bytes as '.'.
std::string fourCharText(VstInt32 code);
// Makes standard output write bytes unchanged (no newline translation), so
// the tools print the same bytes on every platform.
void setBinaryStdout();
// Directory of the running executable, with a trailing separator.
std::string executableDirectory();
// File name of a plug-in module on this platform: "zendrel.so" or "zendrel.dll".
std::string moduleFileName(const std::string& base);

}  // namespace zendrel::host
