// The plug-in's editor. For now it only reports its size: the window host that
// opens it arrives later.
#pragma once

#include "plugin/vst/editor_base.h"

class ZendrelEditor : public AEffEditor {
 public:
  explicit ZendrelEditor(AudioEffect* owner);

  bool getRect(ERect** rect) override;
  // No window host yet, so there is nothing to open a window with.
  bool open(void* window) override;
  void setParameter(VstInt32 index, float value) override;

 private:
  ERect rect_{0, 0, 550, 900};
};
