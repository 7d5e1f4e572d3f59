// What the frame asks of the editor that owns it.
#pragma once

#include <cstdint>

namespace Toolkit {

class EditorInterface {
 public:
  EditorInterface() = default;
  EditorInterface(const EditorInterface&) = delete;
  EditorInterface& operator=(const EditorInterface&) = delete;

  // One editor idle cycle now (a control wants to be redrawn at once).
  virtual void runIdleCycle() = 0;
  virtual int32_t getKnobMode() const = 0;
  // The user starts / stops changing the parameter with this index.
  virtual void beginEdit(int32_t index) = 0;
  virtual void endEdit(int32_t index) = 0;
  virtual ~EditorInterface() = default;
};

}  // namespace Toolkit
