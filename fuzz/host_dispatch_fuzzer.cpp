// The host interface, dispatcher-heavy: opcodes with buffers or null, odd
// indices and values, between parameter writes and short audio blocks.
#include "fuzz/host_driver.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  zendrel::fuzz::Driver(in, {8, 4, 2, 2, 1, 1}).run();
  return 0;
}
