// The product put together: the gate model's effect, handed the editor's
// factory. The one place that names both; the entry makes every instance here.
#include "editor/zendrel_editor.h"
#include "plugin/model/zendrel.h"
#include "plugin/vst/effect_factory.h"

AudioEffect* createEffectInstance(audioMasterCallback audioMaster) {
  return createZendrel(audioMaster, &createZendrelEditor);
}
