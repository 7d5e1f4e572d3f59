// The test images reach the Linux resource lookup through an extra table,
// registered before any test runs.
#include "toolkit/platform/x11/resource_table.h"

namespace zendrel::test {
extern const zendrel::EmbeddedResource kPngImages[];
extern const std::size_t kPngImageCount;
extern const zendrel::EmbeddedResource kDataImages[];
extern const std::size_t kDataImageCount;

namespace {
struct Registrar {
  Registrar() {
    using Toolkit::platform::ResourceType;
    Toolkit::platform::registerResourceTable(ResourceType::kPng, kPngImages, kPngImageCount);
    Toolkit::platform::registerResourceTable(ResourceType::kData, kDataImages, kDataImageCount);
  }
} registrar;
}  // namespace
}  // namespace zendrel::test
