// The module's entry: the host calls VSTPluginMain (also exported as main) once
// per instance and receives the effect record. On Windows, DllMain keeps the
// module instance handle for the toolkit's window class and resource lookups.
#include "plugin/vst/audio_effect.h"
#include "plugin/vst/effect_factory.h"
#include "plugin/vst/host_interface.h"
#include "plugin/vst/module_instance.h"

#ifdef _WIN32
#include <windows.h>
#define ZENDREL_EXPORT
#else
#define ZENDREL_EXPORT __attribute__((visibility("default")))
#endif

extern "C" ZENDREL_EXPORT AEffect* VSTPluginMain(audioMasterCallback audioMaster) {
  if (!audioMaster) return nullptr;
  // A host that does not know the version query answers 0: it is no host for us.
  if (audioMaster(nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f) == 0) return nullptr;
  AudioEffect* effect = createEffectInstance(audioMaster);
  if (!effect) return nullptr;
  return effect->getAeffect();
}

#ifdef _WIN32
// The second export name is an alias in zendrel.def.
extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  moduleInstance = instance;
  return TRUE;
}
#else
// C++ reserves the name main, so the alias gets it from the assembler label.
extern "C" ZENDREL_EXPORT AEffect* vstPluginMainAlias(audioMasterCallback audioMaster)
    __asm__("main") __attribute__((alias("VSTPluginMain")));
#endif
