// brennix-reference: renders the reference cases through a plug-in library and
// writes or checks their hashes; can keep the renders as WAV files and
// compare them with an earlier set (peak difference per case in dBFS).
#include <sndfile.h>

#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "ReferenceCases.h"
#include "WavWriter.h"

namespace {

void usage(FILE* out) {
    std::fprintf(out,
                 "usage: brennix-reference PLUGIN.so (--write FILE | --check FILE | --print)\n"
                 "                         [--wav DIR] [--against DIR] [--only NAME]\n"
                 "  --write FILE   renders every case and writes its hash and fingerprint\n"
                 "  --check FILE   renders every case and compares with FILE bit for bit;\n"
                 "                 exit status 1 when any case differs\n"
                 "  --print        prints each case's hash\n"
                 "  --wav DIR      also writes each render to DIR/NAME.wav (32-bit float)\n"
                 "  --against DIR  prints the peak difference to DIR/NAME.wav for each case\n"
                 "  --only NAME    renders only the named case\n");
}

bool writeWav(const std::string& path, const reference::Audio& a) {
    render::WavWriter w;
    return w.open(path, 44100, render::WavFormat::Float32) &&
           w.write(a.left.data(), a.right.data(), a.left.size()) && w.close();
}

bool readWav(const std::string& path, reference::Audio& a) {
    SF_INFO info{};
    SNDFILE* f = sf_open(path.c_str(), SFM_READ, &info);
    if (!f) return false;
    std::vector<float> frames(size_t(info.frames) * size_t(info.channels));
    sf_readf_float(f, frames.data(), info.frames);
    sf_close(f);
    if (info.channels != 2) return false;
    a.left.resize(size_t(info.frames));
    a.right.resize(size_t(info.frames));
    for (size_t i = 0; i < a.left.size(); ++i) {
        a.left[i] = frames[2 * i];
        a.right[i] = frames[2 * i + 1];
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    std::string plugin, writeFile, checkFile, wavDir, againstDir, only;
    bool print = false;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        auto value = [&](std::string& target) {
            if (i + 1 >= argc) return false;
            target = argv[++i];
            return true;
        };
        bool ok = true;
        if (a == "--write") ok = value(writeFile);
        else if (a == "--check") ok = value(checkFile);
        else if (a == "--wav") ok = value(wavDir);
        else if (a == "--against") ok = value(againstDir);
        else if (a == "--only") ok = value(only);
        else if (a == "--print") print = true;
        else if (a == "--help") { usage(stdout); return 0; }
        else if (!a.empty() && a[0] != '-' && plugin.empty()) plugin = a;
        else ok = false;
        if (!ok) { usage(stderr); return 2; }
    }
    if (plugin.empty() || (writeFile.empty() && checkFile.empty() && !print && againstDir.empty())) {
        usage(stderr);
        return 2;
    }

    std::vector<reference::Entry> stored;
    if (!checkFile.empty()) {
        std::string error, madeBy;
        if (!reference::readEntries(checkFile, stored, madeBy, error)) {
            std::fprintf(stderr, "%s\n", error.c_str());
            return 1;
        }
        if (madeBy != reference::toolchain())
            std::printf("the hashes were made with %s, this is %s: they may differ in the last bits\n",
                        madeBy.c_str(), reference::toolchain().c_str());
    }

    std::vector<reference::Entry> entries;
    int differing = 0, checked = 0;
    for (const reference::Case& c : reference::cases()) {
        if (!only.empty() && c.name != only) continue;
        vsthost::PluginHost host;
        if (!host.load(plugin)) {
            std::fprintf(stderr, "%s\n", host.error().c_str());
            return 1;
        }
        const reference::Audio audio = reference::render(host, c);
        reference::Entry e{c.name, reference::hash(audio), reference::fingerprint(audio)};
        if (print) std::printf("%-26s %016" PRIx64 "\n", c.name.c_str(), e.hash);
        if (!wavDir.empty() && !writeWav(wavDir + "/" + c.name + ".wav", audio)) {
            std::fprintf(stderr, "cannot write %s/%s.wav\n", wavDir.c_str(), c.name.c_str());
            return 1;
        }
        if (!againstDir.empty()) {
            reference::Audio old;
            if (!readWav(againstDir + "/" + c.name + ".wav", old))
                std::printf("%-26s no earlier render\n", c.name.c_str());
            else
                std::printf("%-26s peak difference %.1f dBFS\n", c.name.c_str(),
                            reference::peakDifferenceDb(audio, old));
        }
        if (!checkFile.empty()) {
            const reference::Entry* match = nullptr;
            for (const reference::Entry& s : stored)
                if (s.name == c.name) match = &s;
            ++checked;
            if (!match) {
                std::printf("%-26s not in %s\n", c.name.c_str(), checkFile.c_str());
                ++differing;
            } else if (match->hash != e.hash) {
                std::printf("%-26s DIFFERS (fingerprint within %.4f dB)\n", c.name.c_str(),
                            reference::fingerprintDistance(match->fingerprint, e.fingerprint, -120.0f));
                ++differing;
            }
        }
        entries.push_back(std::move(e));
    }
    if (!writeFile.empty() && !reference::writeEntries(writeFile, entries)) {
        std::fprintf(stderr, "cannot write %s\n", writeFile.c_str());
        return 1;
    }
    if (!checkFile.empty()) {
        std::printf("%d of %d cases match bit for bit\n", checked - differing, checked);
        return differing == 0 ? 0 : 1;
    }
    return 0;
}
