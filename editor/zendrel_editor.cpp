#include "editor/zendrel_editor.h"

#include "plugin/model/editor_factory.h"

ZendrelEditor::ZendrelEditor(AudioEffect* owner) : AEffEditor(owner) {}

bool ZendrelEditor::getRect(ERect** rect) {
  if (rect) *rect = &rect_;
  return true;
}

bool ZendrelEditor::open(void* window) {
  // The window host comes with a later change; until then refuse to open, and
  // keep no window so isOpen stays false.
  return false;
}

void ZendrelEditor::setParameter(VstInt32 index, float value) {}

AEffEditor* createZendrelEditor(AudioEffect* effect) { return new ZendrelEditor(effect); }
