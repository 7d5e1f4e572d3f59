// The engine tests build the effect without the editor library: no editor.
#include "plugin/vst/editor_base.h"

AEffEditor* createZendrelEditor(AudioEffect*) { return nullptr; }
