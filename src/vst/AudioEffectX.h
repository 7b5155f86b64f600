// The VST 2.x layer of the plug-in base: events, identity, capabilities,
// host time and the host-query helpers.
#pragma once

#include "vst/AudioEffect.h"

class AudioEffectX : public AudioEffect {
public:
    AudioEffectX(audioMasterCallback audioMaster, int32_t numPrograms, int32_t numParams);

    intptr_t dispatcher(int32_t opcode, int32_t index, intptr_t value, void* ptr,
                        float opt) override;

    // Asks the host for MIDI when the plug-in is an instrument or wants MIDI.
    void resume() override;

    virtual int32_t processEvents(VstEvents* /*events*/) { return 0; }
    virtual bool canParameterBeAutomated(int32_t /*index*/) { return true; }
    virtual bool string2parameter(int32_t /*index*/, char* /*text*/) { return false; }
    virtual bool getProgramNameIndexed(int32_t /*category*/, int32_t /*index*/, char* /*text*/) {
        return false;
    }
    virtual bool getInputProperties(int32_t /*index*/, VstPinProperties* /*properties*/) {
        return false;
    }
    virtual bool getOutputProperties(int32_t /*index*/, VstPinProperties* /*properties*/) {
        return false;
    }
    virtual int32_t getPlugCategory();
    virtual bool setBypass(bool /*onOff*/) { return false; }
    virtual bool getEffectName(char* /*name*/) { return false; }
    virtual bool getVendorString(char* /*text*/) { return false; }
    virtual bool getProductString(char* /*text*/) { return false; }
    virtual int32_t getVendorVersion() { return 0; }
    virtual intptr_t vendorSpecific(int32_t, intptr_t, void*, float) { return 0; }
    virtual int32_t canDo(char* /*text*/) { return 0; }
    virtual int32_t getGetTailSize() { return 0; }
    virtual int32_t getVstVersion() { return 2400; }
    virtual int32_t getCurrentMidiProgram(int32_t /*channel*/, void* /*program*/) { return -1; }
    virtual int32_t startProcess() { return 0; }
    virtual int32_t stopProcess() { return 0; }
    virtual int32_t setTotalSampleToProcess(int32_t value) { return value; }
    virtual bool beginSetProgram() { return false; }
    virtual bool endSetProgram() { return false; }
    virtual bool setProcessPrecision(int32_t /*precision*/) { return false; }

    virtual bool beginEdit(int32_t index);
    virtual bool endEdit(int32_t index);

    // Host helpers.
    virtual VstTimeInfo* getTimeInfo(int32_t filter);
    virtual bool updateDisplay();
    virtual bool sizeWindow(int32_t width, int32_t height);
    virtual bool ioChanged();
    virtual bool getHostVendorString(char* text);
    virtual bool getHostProductString(char* text);
    virtual int32_t getHostVendorVersion();
    virtual int32_t canHostDo(char* text);

    virtual void isSynth(bool state = true);
    virtual void noTail(bool state = true);
};
