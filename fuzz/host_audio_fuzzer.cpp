// The host interface, audio-heavy: blocks of any length under fuzzer-chosen
// time records, rates and automation, with a few dispatcher calls between.
#include "fuzz/host_driver.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  zendrel::fuzz::Driver(in, {1, 6, 1, 6, 4, 2}).run();
  return 0;
}
