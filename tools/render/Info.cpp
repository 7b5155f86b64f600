#include "Info.h"

#include <string>

namespace render {
namespace {
std::string fourCC(int32_t id) {
    std::string s;
    for (int shift = 24; shift >= 0; shift -= 8) {
        char c = static_cast<char>((id >> shift) & 0xFF);
        s += (c >= 32 && c < 127) ? c : '?';
    }
    return s;
}

const char* categoryName(intptr_t category) {
    static const char* const kNames[] = {"unknown", "effect", "synth", "analysis", "mastering",
                                         "spacializer", "room fx", "surround fx", "restoration",
                                         "offline process", "shell", "generator"};
    return category >= 0 && category < 12 ? kNames[category] : "invalid";
}

std::string flagNames(int32_t flags) {
    struct Flag {
        int32_t bit;
        const char* name;
    };
    static const Flag kFlags[] = {{effFlagsHasEditor, "editor"},
                                  {effFlagsCanReplacing, "replacing"},
                                  {effFlagsProgramChunks, "chunks"},
                                  {effFlagsIsSynth, "synth"},
                                  {effFlagsNoSoundInStop, "no-sound-in-stop"},
                                  {effFlagsCanDoubleReplacing, "double-replacing"}};
    std::string s;
    for (const Flag& f : kFlags)
        if (flags & f.bit) {
            if (!s.empty()) s += ' ';
            s += f.name;
        }
    return s;
}
}  // namespace

void printInfo(vsthost::PluginHost& host, std::FILE* out) {
    AEffect* e = host.effect();
    char version[16];
    intptr_t vendorVersion = host.dispatch(effGetVendorVersion);
    std::snprintf(version, sizeof version, "0x%08lx", static_cast<unsigned long>(vendorVersion));
    std::fprintf(out, "effect name:    %s\n", host.effectName().c_str());
    std::fprintf(out, "vendor:         %s\n", host.vendor().c_str());
    std::fprintf(out, "product:        %s\n", host.product().c_str());
    std::fprintf(out, "vendor version: %ld (%s)\n", static_cast<long>(vendorVersion), version);
    std::fprintf(out, "unique id:      '%s' (0x%08x)\n", fourCC(e->uniqueID).c_str(),
                 static_cast<unsigned>(e->uniqueID));
    std::fprintf(out, "vst version:    %ld\n", static_cast<long>(host.dispatch(effGetVstVersion)));
    intptr_t category = host.dispatch(effGetPlugCategory);
    std::fprintf(out, "category:       %ld (%s)\n", static_cast<long>(category),
                 categoryName(category));
    std::fprintf(out, "inputs/outputs: %d/%d\n", e->numInputs, e->numOutputs);
    std::fprintf(out, "flags:          0x%x (%s)\n", static_cast<unsigned>(e->flags),
                 flagNames(e->flags).c_str());
    std::fprintf(out, "midi input:     %s\n",
                 host.canDo("receiveVstMidiEvent") || host.canDo("receiveVstEvents") ? "yes" : "no");
    std::fprintf(out, "programs:       %d\n", e->numPrograms);
    for (int32_t p = 0; p < e->numPrograms; ++p)
        std::fprintf(out, "  %3d  %s\n", p, host.programNameIndexed(p).c_str());
    std::fprintf(out, "parameters:     %d\n", e->numParams);
    for (int32_t i = 0; i < e->numParams; ++i)
        std::fprintf(out, "  %3d  %-30s %s\n", i, host.parameterName(i).c_str(),
                     host.parameterDisplay(i).c_str());
}
}  // namespace render
