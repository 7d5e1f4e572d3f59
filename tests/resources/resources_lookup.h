// Finds one of the plug-in's images by its stored (upper-case) name, the way
// the platform keeps them.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace zendrel::test {

struct Bytes {
  const unsigned char* data = nullptr;
  std::size_t size = 0;
};

// Exact-name lookup of a stored image; false when it is not there.
bool findImage(const char* name, Bytes& out);

// Every name stored.
std::vector<std::string> storedNames();

}  // namespace zendrel::test
