#include "Options.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace render {
namespace {

bool wholeNumber(const std::string& text, long low, long high, long& value) {
    if (text.empty() || !(std::isdigit(static_cast<unsigned char>(text[0])) || text[0] == '-'))
        return false;
    char* end = nullptr;
    errno = 0;
    long v = std::strtol(text.c_str(), &end, 10);
    if (errno || *end || v < low || v > high) return false;
    value = v;
    return true;
}

bool decimal(const std::string& text, double low, double high, double& value) {
    if (text.empty() || std::isspace(static_cast<unsigned char>(text[0]))) return false;
    char* end = nullptr;
    errno = 0;
    double v = std::strtod(text.c_str(), &end);
    if (errno || *end || !std::isfinite(v) || v < low || v > high) return false;
    value = v;
    return true;
}

}  // namespace

const char* usageText() {
    return "usage: brennix-render [options] PLUGIN.so\n"
           "Plays MIDI through a VST 2.4 instrument and writes what it sounds like to a WAV file.\n"
           "  --info               list identity, programs, parameters (index, name, display) and exit\n"
           "  --midi FILE.mid      play a Standard MIDI File (format 0 or 1; default: a built-in\n"
           "                       10-second phrase with chords, melody, bass, pedal, mod wheel, bend)\n"
           "  --input FILE.wav     play an audio file (WAV, AIFF, ...) into the plug-in's two inputs\n"
           "                       from the start (mono feeds both; another rate is resampled); with\n"
           "                       --all-programs each program hears it from its start again.\n"
           "                       '--input speech' plays a built-in speech-like phrase instead.\n"
           "                       Without --input the inputs are silent, except that with\n"
           "                       --all-programs a program whose vocoder listens to the input\n"
           "                       hears the phrase, and its line says \"(input: speech-like phrase)\"\n"
           "  --program N          select program N before playing\n"
           "  --all-programs       play every program in turn, each a short phrase (or the --midi\n"
           "                       file) and its tail, into one file; lists the programs as it goes\n"
           "  --split              with --all-programs: one file per program, named after --out\n"
           "                       with the program's number and name (out-005-Drawbar-Organ.wav)\n"
           "  --spectrogram FILE.png\n"
           "                       also draw the render as a picture: time across, frequency up\n"
           "                       (log scale), level in colour; program changes are marked\n"
           "                       (with --split, one picture per program, named likewise)\n"
           "  --set INDEX=VALUE    set parameter INDEX to VALUE (0..1) before playing (repeatable)\n"
           "  --out FILE.wav       output file (default brennix-demo.wav)\n"
           "  --rate HZ            sample rate, 8000..384000 (default 44100)\n"
           "  --block N            block size in frames, 1..65536 (default 512)\n"
           "  --format f32|s24     32-bit float or 24-bit integer PCM WAV (default f32)\n"
           "  --tail SECONDS       render time after the last event, 0..600 (default 2)\n"
           "  --tempo BPM          tempo of the built-in phrase, and of MIDI files before their\n"
           "                       first tempo event, 10..1000 (default 120)\n"
           "  --quiet              no progress output\n"
           "  --help               show this text\n"
           "Options also take the form --name=value. Exit status: 0 done, 1 the plug-in, MIDI\n"
           "file, input file or output file failed, 2 bad command line.\n";
}

bool parseOptions(int argc, const char* const* argv, Options& o, std::string& error) {
    bool positionalOnly = false;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (positionalOnly || arg.empty() || arg[0] != '-' || arg == "-") {
            if (!o.plugin.empty()) {
                error = "more than one plug-in given ('" + o.plugin + "' and '" + arg + "')";
                return false;
            }
            if (arg.empty()) {
                error = "empty plug-in path";
                return false;
            }
            o.plugin = arg;
            continue;
        }
        if (arg == "--") {
            positionalOnly = true;
            continue;
        }
        std::string name = arg, value;
        bool inlineValue = false;
        if (size_t eq = arg.find('='); eq != std::string::npos && arg.rfind("--", 0) == 0) {
            name = arg.substr(0, eq);
            value = arg.substr(eq + 1);
            inlineValue = true;
        }
        auto flag = [&](bool& target) {
            if (inlineValue) {
                error = name + " takes no value";
                return false;
            }
            target = true;
            return true;
        };
        if (name == "--info") {
            if (!flag(o.info)) return false;
            continue;
        }
        if (name == "--quiet") {
            if (!flag(o.quiet)) return false;
            continue;
        }
        if (name == "--all-programs") {
            if (!flag(o.allPrograms)) return false;
            continue;
        }
        if (name == "--split") {
            if (!flag(o.split)) return false;
            continue;
        }
        if (name == "--help" || name == "-h") {
            if (!flag(o.help)) return false;
            continue;
        }

        static const char* const kValued[] = {"--midi",   "--program", "--set",  "--out",
                                              "--rate",   "--block",   "--format", "--tail",
                                              "--tempo",  "--spectrogram", "--input"};
        bool known = false;
        for (const char* k : kValued) known = known || name == k;
        if (!known) {
            error = "unknown option '" + arg + "'";
            return false;
        }
        if (!inlineValue) {
            if (i + 1 >= argc) {
                error = name + " needs a value";
                return false;
            }
            value = argv[++i];
        }
        auto bad = [&](const char* expected) {
            error = name + " expects " + expected + " (got '" + value + "')";
            return false;
        };

        long n = 0;
        double d = 0.0;
        if (name == "--midi") {
            if (value.empty()) return bad("a MIDI file");
            o.midiPath = value;
        } else if (name == "--input") {
            if (value.empty()) return bad("an audio file or 'speech'");
            o.inputPath = value;
        } else if (name == "--out") {
            if (value.empty()) return bad("a file name");
            o.outPath = value;
        } else if (name == "--spectrogram") {
            if (value.empty()) return bad("a file name");
            o.spectrogramPath = value;
        } else if (name == "--program") {
            if (!wholeNumber(value, 0, 0x7FFFFFFF, n)) return bad("a program number from 0");
            o.program = static_cast<int>(n);
        } else if (name == "--set") {
            size_t eq = value.find('=');
            if (eq == std::string::npos || !wholeNumber(value.substr(0, eq), 0, 0x7FFFFFFF, n) ||
                !decimal(value.substr(eq + 1), 0.0, 1.0, d))
                return bad("INDEX=VALUE with a parameter index from 0 and a value from 0 to 1");
            o.parameters.emplace_back(static_cast<int>(n), static_cast<float>(d));
        } else if (name == "--rate") {
            if (!wholeNumber(value, 8000, 384000, n)) return bad("a whole number of Hz from 8000 to 384000");
            o.sampleRate = static_cast<int>(n);
        } else if (name == "--block") {
            if (!wholeNumber(value, 1, 65536, n)) return bad("a whole number of frames from 1 to 65536");
            o.blockSize = static_cast<int>(n);
        } else if (name == "--format") {
            if (value == "f32")
                o.format = WavFormat::Float32;
            else if (value == "s24")
                o.format = WavFormat::Pcm24;
            else
                return bad("f32 or s24");
        } else if (name == "--tail") {
            if (!decimal(value, 0.0, 600.0, d)) return bad("seconds from 0 to 600");
            o.tailSeconds = d;
        } else if (name == "--tempo") {
            if (!decimal(value, 10.0, 1000.0, d)) return bad("beats per minute from 10 to 1000");
            o.tempo = d;
        }
    }
    if (o.help) return true;
    if (o.plugin.empty()) {
        error = "no plug-in given";
        return false;
    }
    if (o.split && !o.allPrograms) {
        error = "--split goes with --all-programs";
        return false;
    }
    if (o.allPrograms && o.program) {
        error = "--program and --all-programs exclude each other";
        return false;
    }
    return true;
}

}  // namespace render
