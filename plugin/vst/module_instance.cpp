#include "plugin/vst/module_instance.h"

void* moduleInstance = nullptr;
