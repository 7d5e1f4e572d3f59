#include "toolkit/platform/win32/gdiplus.h"
#include "toolkit/platform_seam.h"

namespace Toolkit {
namespace platform {

uint32_t tickCount() { return GetTickCount(); }
void sleepMilliseconds(uint32_t milliseconds) { Sleep(milliseconds); }

}  // namespace platform
}  // namespace Toolkit
