// Resource lookup in the images compiled into the library, plus extra tables a
// test program registers for itself ("PNG"-type and damaged images the plug-in
// does not carry).
#pragma once

#include <cstddef>

#include "resources/embedded_resources.h"
#include "toolkit/platform_seam.h"

namespace Toolkit {
namespace platform {

// Adds `count` entries of `type`, searched after the library's own images.
// The table must stay alive until the program ends. Registering the same
// table twice has no further effect.
void registerResourceTable(ResourceType type, const zendrel::EmbeddedResource* table, std::size_t count);

}  // namespace platform
}  // namespace Toolkit
