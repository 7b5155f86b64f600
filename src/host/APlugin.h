// The Brennix plug-in object. It owns every piece of run-time state as direct
// members; nothing is allocated while audio is processed. Its operations are
// implemented beside the subsystem they belong to (host/, params/, engine/ ...).
#pragma once

#include <memory>
#include <string>

#include "engine/ProcessContext.h"
#include "params/ParameterState.h"
#include "params/ProgramRecord.h"
#include "platform/Random15.h"
#include "platform/SettingsStore.h"
#include "vst/AudioEffectX.h"

class uEditor;

class APlugin : public AudioEffectX {
public:
    static constexpr int kNumPrograms = params::kNumPrograms;
    static constexpr int kNumParams = prm::kCount;

    explicit APlugin(audioMasterCallback audioMaster);
    ~APlugin() override;

    // Host boundary.
    void suspend() override;
    void setSampleRate(float rate) override;
    void processReplacing(float** inputs, float** outputs, int32_t sampleFrames) override;
    void process(float** inputs, float** outputs, int32_t sampleFrames) override;
    void setParameter(int32_t index, float value) override;
    float getParameter(int32_t index) override;
    void setProgram(int32_t program) override;
    void setProgramName(char* name) override;
    void getProgramName(char* name) override;
    void getParameterLabel(int32_t index, char* label) override;
    void getParameterDisplay(int32_t index, char* text) override;
    void getParameterName(int32_t index, char* text) override;
    bool beginEdit(int32_t index) override;
    bool endEdit(int32_t index) override;
    bool getProgramNameIndexed(int32_t category, int32_t index, char* text) override;
    bool getOutputProperties(int32_t index, VstPinProperties* properties) override;
    int32_t processEvents(VstEvents* events) override;
    bool getEffectName(char* name) override;
    bool getVendorString(char* text) override;
    bool getProductString(char* text) override;
    int32_t getVendorVersion() override;
    int32_t canDo(char* text) override;

    // Compares the host's product string; called when the editor opens.
    void detectHostQuirks();
    bool hostIsTracktion() const { return tracktionHost; }
    bool hostIsOrion() const { return orionHost; }

    // State read by tests and the editor.
    const ParameterState& parameters() const { return params; }
    const ProgramRecord& program(int index) const { return programs[index]; }
    const ProcessContext& processContext() const { return ctx; }
    bool isEngineBusy() const { return engineBusy.load() != 0; }
    uEditor* getUEditor() const { return ownedEditor.get(); }

private:
    void readSettings();
    void renderSample();

    ParameterState params;
    ProgramRecord programs[kNumPrograms];

    // Pending program name ("Default Preset" keeps the old name here).
    char pendingName[256] = "Default";
    bool pendingNameFlag = false;
    // The 38-character text carried by every program; "Nil" after selection.
    char textBuffer[39] = "Nil";

    Relaxed<uint8_t> engineBusy{0};
    ProcessContext ctx;

    platform::SettingsStore settings;
    // User directories as read from the settings; the bank and sample base
    // directories end in '/'.
    std::string bankDirectory, presetDirectory, sampleDirectory, sampleBaseDirectory;
    std::string ecsDirectory, arpDirectory, manualPath;

    Random15 random;  // the constructing (user-interface) thread's generator

    bool tracktionHost = false;
    bool orionHost = false;

    std::unique_ptr<uEditor> ownedEditor;
};
