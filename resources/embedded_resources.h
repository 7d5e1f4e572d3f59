// The plug-in's images as the Linux build embeds them: one entry per line of
// resources/images.txt, under its upper-case resource name (e.g. "BASE.PNG"),
// and one for each of its denser sets ("BASE@2X.PNG", "BASE@3X.PNG").
// The Windows build stores the same files as resources of type "DATA" instead.
#pragma once

#include <cstddef>

namespace zendrel {

struct EmbeddedResource {
  const char* name;            // upper-case resource name, NUL-terminated
  const unsigned char* data;   // the PNG file's bytes
  std::size_t size;
};

// Table generated at build time from resources/images.txt; `count` entries.
extern const EmbeddedResource kEmbeddedResources[];
extern const std::size_t kEmbeddedResourceCount;

}  // namespace zendrel
