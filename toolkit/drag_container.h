// What is being dragged over a frame: a list of items, each a text or a file
// path, in UTF-8. Made by the platform's drop target; views only read it.
#pragma once

#include <cstdint>

#include "toolkit/base.h"

namespace Toolkit {

class CDragContainer : public CBaseObject {
 public:
  enum Type : int32_t { kFile = 0, kText = 1, kUnknown = -1, kError = -2 };

  virtual int32_t getCount() const = 0;
  // The zero-terminated bytes of item `index` with their size (terminator not
  // counted) and type; null, with size 0 and type kError, when out of range.
  virtual const char* getItem(int32_t index, int32_t& size, Type& type) const = 0;
};

}  // namespace Toolkit
