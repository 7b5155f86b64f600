// The Brennix plug-in object. It owns every piece of run-time state as direct
// members; nothing is allocated while audio is processed. Its operations are
// implemented beside the subsystem they belong to (host/, params/, engine/ ...).
#pragma once

#include <memory>
#include <mutex>
#include <string>

#include "engine/Engine.h"
#include "engine/ProcessContext.h"
#include "host/AudioHandover.h"
#include "host/AuditionRequests.h"
#include "host/BindingWriter.h"
#include "host/DisplayNotices.h"
#include "host/MidiEventPool.h"
#include "params/BankFileList.h"
#include "params/ChangeEpoch.h"
#include "params/ParameterState.h"
#include "params/PresetClipboard.h"
#include "params/ProgramRecord.h"
#include "params/SampleLoader.h"
#include "params/SamplePlayer.h"
#include "params/TouchedParameters.h"
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

    // Host boundary. Which thread may call what, and what protects the state
    // both threads touch: docs/threads.md.
    intptr_t dispatcher(int32_t opcode, int32_t index, intptr_t value, void* ptr,
                        float opt) override;
    void suspend() override;
    void resume() override;
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

    // MIDI learn, driven by the controller menu of every editor control.
    void latchToMidi(int parameter);
    void unlatchMidi(int parameter);
    void clearMidi();
    // The controller bound to `parameter` (the highest one if several), or -1.
    int controllerBoundTo(int parameter) const;
    int boundParameter(int controller) const { return controllerMap[controller & 127]; }
    // Writes pending binding changes to the settings now.
    void flushBindings() { bindingWriter->flush(); }

    // The editor's audition button: key 60 at full velocity while pressed.
    void auditionStart();
    void auditionStop();

    // Compares the host's product string; called when the editor opens.
    void detectHostQuirks();
    bool hostIsTracktion() const { return tracktionHost; }
    bool hostIsOrion() const { return orionHost; }

    // Programs and files: the operations behind the preset, file, ECS and arp
    // menus and the morph and variation buttons, on the user-interface thread.
    // Each returns when its change has been applied at an audio block boundary.
    // A file that cannot be used is refused with a message (platform::showMessage),
    // changes nothing and gives false.
    void copyPreset();
    void pastePreset();
    void defaultPreset();
    bool hasPendingName() const { return pendingNameFlag; }
    void storeAsMorph(int source);      // 0: "Store as Morph A", 1: "... B"
    void setToStoredMorph(int source);  // "Set to stored Morph A" / "... B"
    bool loadBank(const std::string& path);
    bool saveBank(const std::string& path);
    bool loadPreset(const std::string& path);
    bool savePreset(const std::string& path);
    void rebuildBankFileList() { bankFileList.build(bankDirectory); }
    const BankFileList& bankFiles() const { return bankFileList; }
    bool loadControllerSetup(const std::string& path);  // "Load ECS"
    bool saveControllerSetup(const std::string& path);  // "Save ECS"
    bool loadArpPattern(const std::string& path);
    bool saveArpPattern(const std::string& path);
    void copyArp();
    void pasteArp();
    void clearArp();
    void morph();
    void variation(int number);  // 1 .. 4 for "Variation A" .. "Variation D"
    void restoreOriginal();      // "Orig"
    void restoreEdited();        // "Edit"
    void seedRandom(uint32_t seed) { random.seed(seed); }

    // Sample import (user-interface thread): stores the chosen WAV or AIFF file
    // in the program's hidden path parameters and asks for a load; false when
    // the file cannot be read (the program is then left unchanged).
    bool chooseSample(const std::string& path);
    const std::string& lastChosenSample() const { return lastSamplePath; }
    // The editor's sample caption; `out` holds `capacity` bytes.
    void sampleNameText(char* out, size_t capacity) const;
    // The vocoder's sample source (audio thread).
    samples::SamplePlayer& samplePlayer() { return samplePlayback; }

    // The user's directories as read from the settings, and the manual page.
    const std::string& bankDir() const { return bankDirectory; }
    const std::string& presetDir() const { return presetDirectory; }
    const std::string& sampleDir() const { return sampleDirectory; }
    const std::string& ecsDir() const { return ecsDirectory; }
    const std::string& arpDir() const { return arpDirectory; }
    const std::string& manualLocation() const { return manualPath; }

    // State read by tests and the editor.
    const ParameterState& parameters() const { return params; }
    // The value "Set to Default" restores; the editor's FX section sets it per effect type.
    void setDefaultValue(int index, float value) {
        if (index >= 0 && index < kNumParams) params.defaultValue[index] = value;
    }
    const ProgramRecord& program(int index) const { return programs[index]; }
    const ProcessContext& processContext() const { return ctx; }
    // A whole-program change is waiting for the audio thread or being written.
    bool isEngineBusy() const { return (changes.now() & 1) != 0 || handover.busy(); }
    const Engine& voiceEngine() const { return engine; }
    int pendingEvents() const { return eventPool.pendingCount(); }
    uint32_t executedEvents() const { return eventPool.executedCount(); }
    uint32_t droppedEvents() const { return eventPool.droppedCount(); }
    uint32_t silentBlocks() const { return handover.skippedBlocks(); }
    uEditor* getUEditor() const { return ownedEditor.get(); }

private:
    void readSettings();
    void readBindings();
    // Runs `change` as one whole-program change, where the audio state may be
    // written (see AudioHandover).
    template <typename Change>
    void changePrograms(Change&& change) {
        handover.run([&] {
            changes.begin();
            change();
            changes.end();
        });
    }
    // Calls the editor and the host about what the audio side changed; does
    // nothing on the audio thread.
    void deliverNotices();
    // setParameter's work, by whichever thread may write at that moment.
    void writeParameter(int32_t index, float value);
    // Names are the user-interface threads' own; `target` is a program index.
    void renameProgram(int target, const char* name);

    // The whole-program writers; they run inside a change.
    // Installs a program: inside a block the engine resets at once, otherwise
    // the audio thread resets it at the start of its next block.
    void installProgram(int32_t index);
    void requestEngineReset() { engineResetRequested.store(true, std::memory_order_release); }
    void resetEngineSoon();
    // Installs the current program again from its record but keeps the original
    // and edited snapshots, the modified flag and a pending name (after the morph,
    // a variation or "Default Preset", so that "Orig" and "Edit" can undo them).
    void reinstallCurrentProgram();
    // "Orig" and "Edit": the snapshot into the live values and the current record.
    void restoreSnapshot(const ParamValue* snapshot, bool modified);
    // "Arp Steps" .. "Arp Latch" set through the parameter interface.
    void setArpBlock(const float* values);
    void loadFactoryBank();

    // Audio thread, at the start of a block.
    void startBlock();
    void playAudition();

    // MIDI intake (audio thread).
    void runMidiStep();
    void executeMidiEvent(const MidiEventRecord& event);
    void controlChange(int controller, int value);
    void sustainPedal(bool down);
    void pitchBend(int lsb, int msb);

    ParameterState params;
    ProgramRecord programs[kNumPrograms];

    // Pending program name ("Default Preset" keeps the old name here). Selecting
    // a program drops it, so that it never lands on another program.
    char pendingName[256] = "Default";
    Relaxed<bool> pendingNameFlag{false};
    // The 38-character text carried by every program; "Nil" after selection.
    // Audio side: written only by whole-program changes (and later the engine).
    char textBuffer[39] = "Nil";
    std::mutex nameMutex;  // program names and the pending name, between non-audio threads
    // The preset and arpeggiator clipboards, the morph sources kept by the preset menu and the
    // bank files found in the bank directory.
    PresetClipboard presetClipboard;
    ArpClipboard arpClipboard;
    int storedMorph[2] = {0, 0};
    BankFileList bankFileList;

    AudioHandover handover;
    ChangeEpoch changes;
    TouchedParameters touched;
    DisplayNotices notices;
    std::atomic<bool> engineResetRequested{false};
    ProcessContext ctx;
    Engine engine;
    samples::SampleLoader sampleLoader;
    samples::SamplePlayer samplePlayback{sampleLoader, params.values, *this};
    std::string lastSamplePath;  // the file chooser's initial file

    MidiEventPool eventPool;
    Relaxed<int32_t> controllerMap[128];
    // MIDI learn in one word: the mode in the high half, the parameter in the
    // low half, 0 when nothing is armed. Set by the editor, taken by the next
    // controller message.
    static constexpr uint32_t kLatch = 1u << 16;
    static constexpr uint32_t kUnlatch = 2u << 16;
    std::atomic<uint32_t> learnRequest{0};
    AuditionRequests audition;
    bool auditionSounding = false;  // audio thread only

    platform::SettingsStore settings;
    std::unique_ptr<BindingWriter> bindingWriter;
    // User directories as read from the settings; the bank and sample base
    // directories end in '/'.
    std::string bankDirectory, presetDirectory, sampleDirectory, sampleBaseDirectory;
    std::string ecsDirectory, arpDirectory, manualPath;

    // The constructing (user-interface) thread's generator; the morph and the
    // variations draw from it in their changes while that thread waits for them.
    Random15 random;

    bool tracktionHost = false;
    bool orionHost = false;

    std::unique_ptr<uEditor> ownedEditor;
};
