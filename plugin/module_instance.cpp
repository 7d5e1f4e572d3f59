#include "plugin/module_instance.h"

void* moduleInstance = nullptr;
