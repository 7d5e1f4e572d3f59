// The one function the module entry calls to make the effect; defined beside the
// effect class so the entry knows nothing of it.
#pragma once

#include "plugin/vst/host_interface.h"

class AudioEffect;
AudioEffect* createEffectInstance(audioMasterCallback audioMaster);
