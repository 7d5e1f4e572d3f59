// The engine tests build the effect without the editor library: no editor.
#include "plugin/model/editor_factory.h"

AEffEditor* createZendrelEditor(AudioEffect*) { return nullptr; }
