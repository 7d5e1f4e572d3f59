// The Linux store: the table generated from resources/images.txt.
#include <cstring>

#include "resources/embedded_resources.h"
#include "tests/resources/resources_lookup.h"

namespace zendrel::test {

bool findImage(const char* name, Bytes& out) {
  for (std::size_t i = 0; i < zendrel::kEmbeddedResourceCount; ++i) {
    const zendrel::EmbeddedResource& r = zendrel::kEmbeddedResources[i];
    if (r.name && std::strcmp(r.name, name) == 0) {
      out.data = r.data;
      out.size = r.size;
      return true;
    }
  }
  return false;
}

std::vector<std::string> storedNames() {
  std::vector<std::string> names;
  for (std::size_t i = 0; i < zendrel::kEmbeddedResourceCount; ++i)
    names.emplace_back(zendrel::kEmbeddedResources[i].name ? zendrel::kEmbeddedResources[i].name : "");
  return names;
}

}  // namespace zendrel::test
