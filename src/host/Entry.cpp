// The library's two exported symbols: VSTPluginMain and, for older hosts, main.
#include <new>

#include "host/APlugin.h"

VST_EXPORT AEffect* VSTPluginMain(audioMasterCallback audioMaster) {
    if (!audioMaster) return nullptr;
    if (audioMaster(nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f) == 0) return nullptr;
    // Nothing may be thrown across the host boundary.
    try {
        APlugin* plugin = new APlugin(audioMaster);
        return plugin->getAeffect();
    } catch (...) {
        return nullptr;
    }
}

// Older hosts look the entry point up under the name "main".
VST_EXPORT AEffect* brennixMainEntry(audioMasterCallback audioMaster) __asm__("main");
AEffect* brennixMainEntry(audioMasterCallback audioMaster) { return VSTPluginMain(audioMaster); }
