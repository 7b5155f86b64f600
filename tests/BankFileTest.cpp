// Bank (.fxb) and preset (.fxp) files: the factory image's layout, byte-exact
// round trips, and refusal of every kind of bad file without any change.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>
#include <limits>
#include <string>
#include <vector>

#include "MessageCapture.h"
#include "TestSupport.h"
#include "host/APlugin.h"
#include "params/BankFormat.h"
#include "platform/Resources.h"

using testing_support::makePlugin;
using testing_support::tempPath;

namespace {

using Bytes = std::vector<uint8_t>;

uint32_t readU32(const Bytes& b, size_t at) {
    return uint32_t(b[at]) << 24 | uint32_t(b[at + 1]) << 16 | uint32_t(b[at + 2]) << 8 | b[at + 3];
}
void putU32(Bytes& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = uint8_t(v >> (24 - 8 * i));
}
void putFloat(Bytes& b, size_t at, float f) {
    uint32_t bits;
    std::memcpy(&bits, &f, 4);
    putU32(b, at, bits);
}

Bytes readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}
void writeBytes(const std::string& path, const Bytes& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

// Everything a bad file must leave alone.
struct Snapshot {
    std::vector<float> records, live, reference, edited;
    std::vector<std::string> names;
    int current;
    bool modified;

    explicit Snapshot(APlugin& p) : current(p.getProgram()), modified(p.parameters().programModified) {
        for (int prog = 0; prog < 128; ++prog) {
            names.push_back(p.program(prog).recordName);
            for (int i = 0; i < 799; ++i) records.push_back(p.program(prog).recordValues[i]);
        }
        for (int i = 0; i < 799; ++i) {
            live.push_back(p.getParameter(i));
            reference.push_back(p.parameters().referenceValue[i]);
            edited.push_back(p.parameters().lastWritten[i]);
        }
    }
    bool operator==(const Snapshot&) const = default;
};

// A plug-in whose programs all differ from the factory bank, so that a bank
// that half-loaded would show.
std::unique_ptr<APlugin> editedPlugin() {
    auto plugin = makePlugin();
    for (int prog = 0; prog < 128; ++prog) {
        plugin->setProgram(prog);
        plugin->setParameter(61, 0.001f * float(prog + 1));
        plugin->setParameter(400, 1.0f - 0.002f * float(prog));
        std::string name = "Mine " + std::to_string(prog);
        plugin->setProgramName(name.data());
    }
    plugin->setProgram(17);
    plugin->setParameter(62, 0.77f);  // unsaved edit of the current program
    return plugin;
}

}  // namespace

TEST(BankFiles, FactoryImageKeepsItsHeaderQuirksAndAllProgramsLoad) {
    const platform::Resource bank = platform::findResource("BANK", 10200);
    ASSERT_TRUE(bank);
    const Bytes b(bank.data, bank.data + bank.size);
    ASSERT_EQ(b.size(), 416412u);
    EXPECT_EQ(readU32(b, 0), bankfile::fourCC("CcnK"));
    EXPECT_EQ(readU32(b, 4), 416916u);
    EXPECT_EQ(readU32(b, 8), bankfile::fourCC("FxBk"));
    EXPECT_EQ(readU32(b, 12), 1u);
    EXPECT_EQ(readU32(b, 16), bankfile::fourCC("zkVQ"));
    EXPECT_EQ(readU32(b, 20), 1u);
    EXPECT_EQ(readU32(b, 24), 127u);
    for (size_t i = 28; i < 156; ++i) ASSERT_EQ(b[i], 0) << i;
    for (size_t p = 0; p < 128; ++p) {
        const size_t at = 156 + 3252 * p;
        ASSERT_EQ(readU32(b, at + 4), 3248u) << p;
        ASSERT_EQ(readU32(b, at + 8), bankfile::fourCC("FxCk")) << p;
        ASSERT_EQ(readU32(b, at + 24), 799u) << p;
    }
    // The 128th program, past the declared 127, is loaded too.
    auto plugin = makePlugin(false);
    const size_t last = 156 + 3252 * 127;
    EXPECT_STREQ(plugin->program(127).recordName, reinterpret_cast<const char*>(&b[last + 28]));
    uint32_t bits = readU32(b, last + 56 + 4 * 61);
    float cutoff;
    std::memcpy(&cutoff, &bits, 4);
    EXPECT_EQ(plugin->program(127).recordValues[61], cutoff);
}

TEST(BankFiles, SavedBanksAndPresetsRoundTripByteForByte) {
    auto source = editedPlugin();
    const std::string first = tempPath("first.fxb"), second = tempPath("second.fxb");
    ASSERT_TRUE(source->saveBank(first));
    const Bytes saved = readBytes(first);
    ASSERT_EQ(saved.size(), 416412u);
    // The standard header other VST 2 tools expect.
    EXPECT_EQ(readU32(saved, 4), saved.size() - 8);
    EXPECT_EQ(readU32(saved, 20), 1u);
    EXPECT_EQ(readU32(saved, 24), 128u);
    EXPECT_EQ(readU32(saved, 156 + 4), 3244u);

    auto target = makePlugin();
    target->setProgram(17);
    ASSERT_TRUE(target->loadBank(first));
    EXPECT_STREQ(target->program(5).recordName, "Mine 5");
    EXPECT_EQ(target->program(127).recordValues[61], 0.001f * 128.0f);
    // The current program is installed again: it sounds as loaded, unmodified.
    EXPECT_EQ(target->getProgram(), 17);
    EXPECT_EQ(target->getParameter(62), 0.77f);
    EXPECT_FALSE(target->parameters().programModified);
    EXPECT_EQ(target->parameters().referenceValue[62], 0.77f);
    ASSERT_TRUE(target->saveBank(second));
    EXPECT_EQ(readBytes(second), saved);

    // A preset replaces only the current program.
    const std::string preset = tempPath("one.fxp"), again = tempPath("again.fxp");
    source->setProgram(33);
    ASSERT_TRUE(source->savePreset(preset));
    const Bytes presetBytes = readBytes(preset);
    ASSERT_EQ(presetBytes.size(), 3252u);
    EXPECT_EQ(readU32(presetBytes, 4), 3244u);
    auto other = makePlugin();
    other->setProgram(2);
    ASSERT_TRUE(other->loadPreset(preset));
    EXPECT_STREQ(other->program(2).recordName, "Mine 33");
    EXPECT_EQ(other->getParameter(61), 0.001f * 34.0f);
    EXPECT_STREQ(other->program(33).recordName, makePlugin()->program(33).recordName);
    ASSERT_TRUE(other->savePreset(again));
    EXPECT_EQ(readBytes(again), presetBytes);

    // Our own factory image loads as a bank file as well.
    const platform::Resource factory = platform::findResource("BANK", 10200);
    const std::string factoryFile = tempPath("factory.fxb");
    writeBytes(factoryFile, Bytes(factory.data, factory.data + factory.size));
    ASSERT_TRUE(source->loadBank(factoryFile));
    EXPECT_STREQ(source->program(0).recordName, "Velvet Poly Synth");
    EXPECT_STREQ(source->program(127).recordName, "Vocoder Talk Bass");
    for (const std::string& p : {first, second, preset, again, factoryFile}) std::remove(p.c_str());
}

TEST(BankFiles, BadFilesAreRefusedAndChangeNothing) {
    auto plugin = editedPlugin();
    const std::string good = tempPath("good.fxb");
    ASSERT_TRUE(plugin->saveBank(good));
    const Bytes bank = readBytes(good);
    const std::string goodPreset = tempPath("good.fxp");
    ASSERT_TRUE(plugin->savePreset(goodPreset));
    const Bytes preset = readBytes(goodPreset);
    for (int prog = 0; prog < 128; ++prog) {  // so that loading the good bank would change things
        plugin->setProgram(prog);
        plugin->setParameter(63, 0.5f);
    }
    plugin->setProgram(17);
    plugin->setParameter(62, 0.66f);

    const size_t chunk50 = 156 + 3252 * 50;
    auto variant = [](Bytes b, auto change) {
        change(b);
        return b;
    };
    struct Case {
        const char* what;
        Bytes bytes;
        const char* expected;  // part of the message
        bool isPreset = false;
    };
    static const float nan = std::numeric_limits<float>::quiet_NaN();
    static const float inf = std::numeric_limits<float>::infinity();
    std::vector<Case> cases = {
        {"empty", {}, "too short"},
        {"header only", Bytes(bank.begin(), bank.begin() + 100), "too short"},
        {"cut inside program 51", Bytes(bank.begin(), bank.begin() + chunk50 + 1000), "truncated"},
        {"wrong magic", variant(bank, [](Bytes& b) { b[0] = 'X'; }), "not a VST bank"},
        {"opaque chunk bank", variant(bank, [](Bytes& b) { putU32(b, 8, bankfile::fourCC("FBCh")); }),
         "opaque chunk"},
        {"another plug-in", variant(bank, [](Bytes& b) { putU32(b, 16, bankfile::fourCC("Abcd")); }),
         "another plug-in (id 'Abcd')"},
        {"another plug-in inside",
         variant(bank, [&](Bytes& b) { putU32(b, chunk50 + 16, bankfile::fourCC("Abcd")); }),
         "program 51 was made for another plug-in (id 'Abcd')"},
        {"wrong parameter count", variant(bank, [&](Bytes& b) { putU32(b, chunk50 + 24, 800); }),
         "800 parameters"},
        {"not a number", variant(bank, [&](Bytes& b) { putFloat(b, chunk50 + 56 + 4 * 7, nan); }),
         "not a number (parameter 7)"},
        {"infinity", variant(bank, [&](Bytes& b) { putFloat(b, chunk50 + 56, -inf); }), "not a number"},
        {"no programs", variant(bank, [](Bytes& b) { putU32(b, 24, 0); }), "no programs"},
        {"too many programs", variant(bank, [](Bytes& b) { putU32(b, 24, 129); }), "129 programs"},
        {"absurd program count", variant(bank, [](Bytes& b) { putU32(b, 24, 0xFFFFFFFFu); }),
         "4294967295 programs"},
        {"absurd byte size", variant(bank, [](Bytes& b) { putU32(b, 4, 0x7FFFFFFFu); }), "size"},
        {"chunk byte size", variant(bank, [&](Bytes& b) { putU32(b, chunk50 + 4, 12); }), "size"},
        {"fewer programs than it carries", variant(bank, [](Bytes& b) { putU32(b, 24, 100); }), "size"},
        {"trailing bytes", variant(bank, [](Bytes& b) { b.resize(b.size() + 10); }), "10 bytes"},
        {"unknown version", variant(bank, [](Bytes& b) { putU32(b, 12, 7); }), "version 7"},
        {"a preset as bank", preset, "preset file"},
        {"a bank as preset", bank, "bank file", true},
        {"opaque preset", variant(preset, [](Bytes& b) { putU32(b, 8, bankfile::fourCC("FPCh")); }),
         "opaque chunk", true},
        {"short preset", Bytes(preset.begin(), preset.end() - 4), "truncated", true},
        {"preset of another plug-in", variant(preset, [](Bytes& b) { putU32(b, 16, 0x01020304); }),
         "id 0x01020304", true},
        {"preset with NaN", variant(preset, [](Bytes& b) { putFloat(b, 3248, nan); }),
         "parameter 798", true},
        {"long preset", variant(preset, [](Bytes& b) { b.push_back(0); }), "1 bytes", true},
    };

    MessageCapture messages;
    const Snapshot before(*plugin);
    const std::string bad = tempPath("bad.fxb");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        writeBytes(bad, c.bytes);
        messages.texts.clear();
        EXPECT_FALSE(c.isPreset ? plugin->loadPreset(bad) : plugin->loadBank(bad));
        ASSERT_EQ(messages.texts.size(), 1u);
        EXPECT_NE(messages.texts[0].find(c.expected), std::string::npos) << messages.texts[0];
        EXPECT_NE(messages.texts[0].find("bad.fxb"), std::string::npos) << messages.texts[0];
        EXPECT_TRUE(Snapshot(*plugin) == before);
    }
    // Files that cannot be read at all.
    messages.texts.clear();
    EXPECT_FALSE(plugin->loadBank(tempPath("missing.fxb")));
    EXPECT_FALSE(plugin->loadPreset(testing_support::configHome()));
    writeBytes(bad, Bytes(20000000, 0));  // far larger than any bank
    EXPECT_FALSE(plugin->loadBank(bad));
    EXPECT_EQ(messages.texts.size(), 3u);
    EXPECT_TRUE(Snapshot(*plugin) == before);
    // A file that cannot be written leaves the old one as it was.
    EXPECT_FALSE(plugin->saveBank("/nonexistent-dir/x.fxb"));
    EXPECT_EQ(messages.texts.size(), 4u);

    // Out-of-range values are clamped, not refused.
    writeBytes(bad, variant(bank, [&](Bytes& b) { putFloat(b, chunk50 + 56 + 4 * 61, 7.5f); }));
    EXPECT_TRUE(plugin->loadBank(bad));
    EXPECT_EQ(plugin->program(50).recordValues[61], 1.0f);
    for (const std::string& p : {good, goodPreset, bad}) std::remove(p.c_str());
}
