// brennix-render: a small VST 2.4 host that loads a plug-in as a DAW does.
#include <cstdio>
#include <cstring>
#include <string>

#include "Info.h"
#include "vsthost/PluginHost.h"

namespace {
void usage(std::FILE* out) {
    std::fprintf(out,
                 "usage: brennix-render --info PLUGIN.so\n"
                 "  --info PLUGIN.so   list the plug-in's identity, programs and parameters\n");
}
}  // namespace

int main(int argc, char** argv) {
    std::string plugin;
    bool info = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--info") == 0 && i + 1 < argc) {
            info = true;
            plugin = argv[++i];
        } else if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            usage(stdout);
            return 0;
        } else {
            usage(stderr);
            return 2;
        }
    }
    if (!info) {
        usage(stderr);
        return 2;
    }
    vsthost::PluginHost host;
    if (!host.load(plugin)) {
        std::fprintf(stderr, "brennix-render: %s\n", host.error().c_str());
        return 1;
    }
    host.start(44100.0f, 512);
    render::printInfo(host, stdout);
    return 0;
}
