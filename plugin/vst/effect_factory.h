// The one function the module entry calls to make the effect; defined where the
// product is put together (module/product.cpp; a test module defines its own),
// so the entry knows nothing of it.
#pragma once

#include "plugin/vst/host_interface.h"

class AudioEffect;
AudioEffect* createEffectInstance(audioMasterCallback audioMaster);
