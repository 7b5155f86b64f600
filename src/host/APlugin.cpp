#include "host/APlugin.h"

#include <cstdio>
#include <cstring>

#include "editor/uEditor.h"
#include "platform/Clock.h"

namespace {
constexpr const char* kEffectName = "BrennixDemo";
constexpr const char* kVendor = "Ardeko";
constexpr const char* kProduct = "BrennixDemo";
constexpr int32_t kVendorVersion = 0x00010001;

void copyText(char* dest, const char* source, size_t capacity) {
    std::strncpy(dest, source, capacity - 1);
    dest[capacity - 1] = 0;
}
}  // namespace

APlugin::APlugin(audioMasterCallback audioMaster)
    : AudioEffectX(audioMaster, kNumPrograms, kNumParams), engine(params.values, ctx, *this) {
    ownedEditor = std::make_unique<uEditor>(this);
    setEditor(ownedEditor.get());
    random.seed(platform::tickCount());

    setNumInputs(2);
    setNumOutputs(2);
    programsAreChunks(false);
    canProcessReplacing(true);
    isSynth(true);
    setUniqueID(vstFourCC('z', 'k', 'V', 'Q'));

    std::strcpy(pendingName, "Default");
    pendingNameFlag = false;

    readSettings();
    sampleLoader.start(sampleBaseDirectory);
    engine.attachSamplePlayer(samplePlayback);
    engine.buildTables(random);

    ctx.rates.sampleRate = 44100.0f;
    ctx.rates.inverseSampleRate = 1.0f / 44100.0f;
    ctx.rates.tempo = 120.0f;
    ctx.rates.samplesPerTempoUnit = 367.5f;
    ctx.rates.samplesPerBar = 88200.0f;
    ctx.rates.rateScale110 = 0.002494331f;

    readBindings();
    bindingWriter = std::make_unique<BindingWriter>(settings, controllerMap);

    bankFileList.build(bankDirectory);
    params.initialise();
    // Every program holds the default sound until the factory bank replaces it.
    for (ProgramRecord& record : programs) {
        for (int i = 0; i < kNumParams; ++i) record.recordValues[i] = params.defaultValue[i];
        std::strcpy(record.recordName, "Default");
    }
    loadFactoryBank();
    setProgram(0);
}

APlugin::~APlugin() {
    // The loader may be showing a message through the editor's layer.
    sampleLoader.stop();
    setEditor(nullptr);
}

void APlugin::suspend() {
    handover.setProcessing(false);
    requestEngineReset();
}

void APlugin::resume() {
    handover.setProcessing(true);
    AudioEffectX::resume();
}

void APlugin::detectHostQuirks() {
    tracktionHost = false;
    orionHost = false;
    char product[256] = {};
    getHostProductString(product);
    product[sizeof(product) - 1] = 0;
    tracktionHost = std::memcmp(product, "Tracktion", 10) == 0;
    orionHost = std::memcmp(product, "Orion", 5) == 0;
}

bool APlugin::beginEdit(int32_t index) {
    if (ownedEditor) ownedEditor->setEditedParameter(index < 0 ? -1 : index);
    return AudioEffectX::beginEdit(index);
}

bool APlugin::endEdit(int32_t index) {
    if (ownedEditor) ownedEditor->setEditedParameter(-1);
    return AudioEffectX::endEdit(index);
}

bool APlugin::getOutputProperties(int32_t index, VstPinProperties* properties) {
    if (index < 0 || index > 1 || !properties) return false;
    std::snprintf(properties->label, sizeof(properties->label), "%s %d", kEffectName, index + 1);
    properties->flags = kVstPinIsActive | kVstPinIsStereo;
    return true;
}

bool APlugin::getEffectName(char* name) {
    copyText(name, kEffectName, kVstMaxEffectNameLen);
    return true;
}

bool APlugin::getVendorString(char* text) {
    copyText(text, kVendor, kVstMaxVendorStrLen);
    return true;
}

bool APlugin::getProductString(char* text) {
    copyText(text, kProduct, kVstMaxProductStrLen);
    return true;
}

int32_t APlugin::getVendorVersion() { return kVendorVersion; }

int32_t APlugin::canDo(char* text) {
    if (!text) return 0;
    static constexpr const char* kCapabilities[] = {"receiveVstEvents", "receiveVstMidiEvent",
                                                    "receiveVstTimeInfo"};
    for (const char* capability : kCapabilities)
        if (std::strcmp(text, capability) == 0) return 1;
    return 0;
}

