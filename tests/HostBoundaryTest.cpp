// The plug-in as a host sees it: identity, capabilities, dispatcher answers
// and safe refusal of bad requests.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "AudioAnalysis.h"
#include "TestSupport.h"

using testing_support::loadPlugin;

TEST(HostBoundary, IdentityAndRecord) {
    auto host = loadPlugin();
    AEffect* e = host->effect();
    EXPECT_EQ(e->magic, kEffectMagic);
    EXPECT_EQ(e->uniqueID, vstFourCC('z', 'k', 'V', 'Q'));
    EXPECT_EQ(e->version, 1);
    EXPECT_EQ(e->numPrograms, 128);
    EXPECT_EQ(e->numParams, 799);
    EXPECT_EQ(e->numInputs, 2);
    EXPECT_EQ(e->numOutputs, 2);
    EXPECT_EQ(e->flags, effFlagsHasEditor | effFlagsCanReplacing | effFlagsIsSynth);
    EXPECT_FLOAT_EQ(e->ioRatio, 1.0f);
    EXPECT_EQ(e->initialDelay, 0);
    EXPECT_NE(e->processDoubleReplacing, nullptr);

    EXPECT_EQ(host->effectName(), "BrennixDemo");
    EXPECT_EQ(host->vendor(), "Ardeko");
    EXPECT_EQ(host->product(), "BrennixDemo");
    EXPECT_EQ(host->dispatch(effGetVendorVersion), 65537);
    EXPECT_EQ(host->dispatch(effGetVstVersion), 2400);
    EXPECT_EQ(host->dispatch(effGetPlugCategory), kPlugCategSynth);
    EXPECT_EQ(host->dispatch(effIdentify), vstFourCC('N', 'v', 'E', 'f'));
    EXPECT_EQ(host->dispatch(effGetTailSize), 0);
    EXPECT_EQ(host->dispatch(effGetCurrentMidiProgram), -1);
    EXPECT_EQ(host->dispatch(effSetTotalSampleToProcess, 0, 777), 777);
    EXPECT_EQ(host->dispatch(effCanBeAutomated, 798), 1);
}

TEST(HostBoundary, CapabilitiesAreExactAndCaseSensitive) {
    auto host = loadPlugin();
    auto canDo = [&](const char* s) { return host->dispatch(effCanDo, 0, 0, const_cast<char*>(s)); };
    EXPECT_EQ(canDo("receiveVstEvents"), 1);
    EXPECT_EQ(canDo("receiveVstMidiEvent"), 1);
    EXPECT_EQ(canDo("receiveVstTimeInfo"), 1);
    EXPECT_EQ(canDo("receiveVstMidiEvents"), 0);
    EXPECT_EQ(canDo("ReceiveVstEvents"), 0);
    EXPECT_EQ(canDo("sendVstMidiEvent"), 0);
    EXPECT_EQ(canDo(""), 0);
    EXPECT_EQ(host->dispatch(effCanDo, 0, 0, nullptr), 0);
}

TEST(HostBoundary, OutputProperties) {
    auto host = loadPlugin();
    for (int i = 0; i < 2; ++i) {
        VstPinProperties p{};
        EXPECT_EQ(host->dispatch(effGetOutputProperties, i, 0, &p), 1);
        EXPECT_STREQ(p.label, i == 0 ? "BrennixDemo 1" : "BrennixDemo 2");
        EXPECT_EQ(p.flags, kVstPinIsActive | kVstPinIsStereo);
    }
    VstPinProperties untouched;
    std::memset(&untouched, 0x5A, sizeof untouched);
    VstPinProperties copy = untouched;
    EXPECT_EQ(host->dispatch(effGetOutputProperties, 2, 0, &untouched), 0);
    EXPECT_EQ(host->dispatch(effGetOutputProperties, -1, 0, &untouched), 0);
    EXPECT_EQ(std::memcmp(&copy, &untouched, sizeof copy), 0);
    EXPECT_EQ(host->dispatch(effGetOutputProperties, 0, 0, nullptr), 0);
    EXPECT_EQ(host->dispatch(effGetInputProperties, 0, 0, &untouched), 0);
}

TEST(HostBoundary, ChunksAreNotUsed) {
    auto host = loadPlugin();
    void* data = nullptr;
    EXPECT_EQ(host->dispatch(effGetChunk, 0, 0, &data), 0);
    EXPECT_EQ(host->dispatch(effGetChunk, 1, 0, &data), 0);
    EXPECT_EQ(host->dispatch(effSetChunk, 0, 16, &data), 0);
    EXPECT_EQ(host->effect()->flags & effFlagsProgramChunks, 0);
}

TEST(HostBoundary, EditorRectangleAndKeys) {
    auto host = loadPlugin();
    ERect* rect = nullptr;
    EXPECT_EQ(host->dispatch(effEditGetRect, 0, 0, &rect), 1);
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(rect->right - rect->left, 1000);
    EXPECT_EQ(rect->bottom - rect->top, 600);
    EXPECT_EQ(host->dispatch(effEditGetRect, 0, 0, nullptr), 0);
    EXPECT_EQ(host->dispatch(effEditKeyDown, 'a', 0, nullptr, 0.0f), 0);
    EXPECT_EQ(host->dispatch(effEditKeyUp, 'a', 0, nullptr, 0.0f), 0);
}

TEST(HostBoundary, ResumeAsksForMidi) {
    auto host = loadPlugin();
    host->clearCalls();
    host->dispatch(effMainsChanged, 0, 0);
    EXPECT_EQ(host->countCalls(audioMasterWantMidi), 0);
    host->dispatch(effMainsChanged, 0, 1);
    EXPECT_EQ(host->countCalls(audioMasterWantMidi), 1);
}

TEST(HostBoundary, HostileRequestsAreRefusedSafely) {
    auto host = loadPlugin();
    // Null text pointers and out-of-range indexes.
    for (int32_t op : {effGetParamName, effGetParamDisplay, effGetParamLabel, effGetProgramName,
                       effSetProgramName, effGetEffectName, effGetVendorString,
                       effGetProductString, effGetProgramNameIndexed, effProcessEvents,
                       effEditOpen, effEditIdle, effEditClose})
        host->dispatch(op, 0, 0, nullptr);
    for (int32_t op = -5; op < 200; ++op) {
        if (op == effClose || op == effEditOpen) continue;
        char buffer[512] = {};
        host->dispatch(op, 100000, 0, buffer);
        host->dispatch(op, -100000, -1, buffer);
    }
    char text[64];
    std::strcpy(text, "unchanged");
    host->dispatch(effGetParamDisplay, 799, 0, text);
    host->dispatch(effGetParamDisplay, -1, 0, text);
    EXPECT_STREQ(text, "unchanged");
    EXPECT_EQ(host->dispatch(effGetProgramNameIndexed, 128, 0, text), 0);
    EXPECT_EQ(host->dispatch(effGetProgramNameIndexed, -1, 0, text), 0);

    // Program selection outside the bank changes nothing.
    host->dispatch(effSetProgram, 0, 3);
    host->dispatch(effSetProgram, 0, 128);
    host->dispatch(effSetProgram, 0, -1);
    host->dispatch(effSetProgram, 0, std::numeric_limits<intptr_t>::max());
    EXPECT_EQ(host->dispatch(effGetProgram), 3);

    // Parameters out of range read as 0 and ignore writes.
    host->setParameter(799, 0.5f);
    host->setParameter(-1, 0.5f);
    EXPECT_EQ(host->getParameter(799), 0.0f);
    EXPECT_EQ(host->getParameter(-7), 0.0f);

    // Extreme block sizes and sample rates; not a number counts as no rate (44100).
    host->dispatch(effSetBlockSize, 0, -5);
    host->dispatch(effSetBlockSize, 0, std::numeric_limits<int32_t>::max());
    for (float rate : {0.0f, -1.0f, 0.5f, 1e30f, std::numeric_limits<float>::infinity(), 44100.0f,
                       std::numeric_limits<float>::quiet_NaN()})
        host->dispatch(effSetSampleRate, 0, 0, nullptr, rate);
    std::vector<float> l, r;
    host->process(0, l, r);
    host->process(-10, l, r);
    host->process(64, l, r);
    AEffect* e = host->effect();
    e->processReplacing(e, nullptr, nullptr, 64);
    float* nullOutputs[2] = {nullptr, nullptr};
    e->processReplacing(e, nullptr, nullOutputs, 64);
    e->processDoubleReplacing(e, nullptr, nullptr, 64);

    // After all that the plug-in still plays in tune.
    host->dispatch(effSetProgram, 0, testing_support::kDefaultSoundProgram);
    testing_support::setPlainSine(*host);
    auto note = testing_support::renderFrames(*host, 20000, 512, {testing_support::noteOn(0, 81)});
    EXPECT_NEAR(analysis::cents(analysis::frequency(note.left, 44100, 2000, 20000), 440.0), 0.0, 1.0);
    EXPECT_NEAR(analysis::peak(note.right, 2000, 20000), 0.99, 0.01);
}

TEST(HostBoundary, SuspendStopsEveryNote) {
    auto host = loadPlugin();
    testing_support::setPlainSine(*host);
    host->setParameter(95, 1.0f);  // endless release: only a reset stops it
    auto before = testing_support::renderFrames(
        *host, 4000, 512, {testing_support::noteOn(0, 69), testing_support::noteOn(0, 76)});
    EXPECT_GT(analysis::rms(before.left, 2000, 4000), 0.3);
    host->dispatch(effMainsChanged, 0, 0);
    host->dispatch(effMainsChanged, 0, 1);
    auto after = testing_support::renderFrames(*host, 8000, 512);
    EXPECT_LT(analysis::peak(after.left, 4000, 8000), 1e-4);  // the DC blocker's tail is gone too
    // Resumed, it plays again.
    after = testing_support::renderFrames(*host, 4000, 512, {testing_support::noteOn(0, 81)});
    EXPECT_GT(analysis::rms(after.left, 2000, 4000), 0.3);
}

TEST(HostBoundary, MainIsASecondEntryPoint) {
    // Older hosts look the plug-in up under "main".
    void* library = dlopen(BRENNIX_PLUGIN_PATH, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr) << dlerror();
    using Entry = AEffect* (*)(audioMasterCallback);
    auto viaMain = reinterpret_cast<Entry>(dlsym(library, "main"));
    ASSERT_NE(viaMain, nullptr);
    AEffect* e = viaMain([](AEffect*, int32_t opcode, int32_t, intptr_t, void*, float) -> intptr_t {
        return opcode == audioMasterVersion ? 2400 : 0;
    });
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->magic, kEffectMagic);
    EXPECT_EQ(e->uniqueID, vstFourCC('z', 'k', 'V', 'Q'));
    e->dispatcher(e, effClose, 0, 0, nullptr, 0.0f);
    dlclose(library);
}

TEST(HostBoundary, ProcessWritesSilenceAndOverwrites) {
    auto host = loadPlugin();
    AEffect* e = host->effect();
    std::vector<float> inL(256, 0.25f), inR(256, -0.25f), outL(256, 7.0f), outR(256, 7.0f);
    float* in[2] = {inL.data(), inR.data()};
    float* out[2] = {outL.data(), outR.data()};
    e->process(e, in, out, 256);  // the deprecated entry replaces, it does not add
    for (int i = 0; i < 256; ++i) ASSERT_NEAR(outL[i], 0.0f, 1e-9f);
    std::fill(outL.begin(), outL.end(), 7.0f);
    e->processReplacing(e, in, out, 256);
    for (int i = 0; i < 256; ++i) ASSERT_NEAR(outR[i], 0.0f, 1e-9f);
}

TEST(HostBoundary, TimeInfoIsRequestedOncePerBlock) {
    auto host = loadPlugin();
    host->clearCalls();
    std::vector<float> l, r;
    host->process(0, l, r);
    host->process(128, l, r);
    ASSERT_EQ(host->countCalls(audioMasterGetTime), 2);
    for (const auto& call : host->calls())
        if (call.opcode == audioMasterGetTime) {
            EXPECT_EQ(call.value, kVstPpqPosValid | kVstTempoValid);
        }
}

TEST(HostBoundary, HostReportingVersionZeroGetsNoPlugin) {
    vsthost::PluginHost host;
    host.setVersion(0);
    EXPECT_FALSE(host.load(BRENNIX_PLUGIN_PATH));
}
