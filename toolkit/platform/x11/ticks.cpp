#include <chrono>
#include <thread>

#include "toolkit/platform_seam.h"

namespace Toolkit {
namespace platform {

uint32_t tickCount() {
  using namespace std::chrono;
  return static_cast<uint32_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

void sleepMilliseconds(uint32_t milliseconds) { std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds)); }

}  // namespace platform
}  // namespace Toolkit
