// The VST 1 layer of the plug-in base: owns the AEffect record handed to the
// host, routes the host's calls to virtual operations and wraps the callback.
#pragma once

#include <cstdint>

#include "platform/Relaxed.h"
#include "vst/Vst2.h"

class AEffGUIEditor;

class AudioEffect {
public:
    AudioEffect(audioMasterCallback audioMaster, int32_t numPrograms, int32_t numParams);
    virtual ~AudioEffect();

    AudioEffect(const AudioEffect&) = delete;
    AudioEffect& operator=(const AudioEffect&) = delete;

    virtual intptr_t dispatcher(int32_t opcode, int32_t index, intptr_t value, void* ptr,
                                float opt);

    virtual void open() {}
    virtual void close() {}
    virtual void suspend() {}
    virtual void resume() {}

    virtual void setSampleRate(float rate) { sampleRate = rate; }
    virtual void setBlockSize(int32_t size) { blockSize = size; }

    // The deprecated accumulating entry; the default adds nothing.
    virtual void process(float** /*inputs*/, float** /*outputs*/, int32_t /*sampleFrames*/) {}
    virtual void processReplacing(float** inputs, float** outputs, int32_t sampleFrames) = 0;
    virtual void processDoubleReplacing(double** /*inputs*/, double** /*outputs*/,
                                        int32_t /*sampleFrames*/) {}

    virtual void setParameter(int32_t /*index*/, float /*value*/) {}
    virtual float getParameter(int32_t /*index*/) { return 0.0f; }
    // Sets the parameter and tells the host so that it can record automation.
    virtual void setParameterAutomated(int32_t index, float value);

    virtual int32_t getProgram() { return curProgram; }
    virtual void setProgram(int32_t program) { curProgram = program; }
    virtual void setProgramName(char* /*name*/) {}
    virtual void getProgramName(char* name) { name[0] = 0; }
    virtual void getParameterLabel(int32_t /*index*/, char* label) { label[0] = 0; }
    virtual void getParameterDisplay(int32_t /*index*/, char* text) { text[0] = 0; }
    virtual void getParameterName(int32_t /*index*/, char* text) { text[0] = 0; }
    virtual int32_t getChunk(void** /*data*/, bool /*isPreset*/) { return 0; }
    virtual int32_t setChunk(void* /*data*/, int32_t /*byteSize*/, bool /*isPreset*/) {
        return 0;
    }

    virtual void setUniqueID(int32_t id) { cEffect.uniqueID = id; }
    virtual void setNumInputs(int32_t inputs) { cEffect.numInputs = inputs; }
    virtual void setNumOutputs(int32_t outputs) { cEffect.numOutputs = outputs; }
    virtual void canProcessReplacing(bool state);
    virtual void programsAreChunks(bool state);
    virtual void setInitialDelay(int32_t delay) { cEffect.initialDelay = delay; }

    // Attaching an editor announces it to the host; detaching withdraws it.
    virtual void setEditor(AEffGUIEditor* newEditor);
    AEffGUIEditor* getEditor() const { return editor; }

    AEffect* getAeffect() { return &cEffect; }
    float getSampleRate() const { return sampleRate; }
    int32_t getBlockSize() const { return blockSize; }

    virtual intptr_t getMasterVersion();
    virtual intptr_t getCurrentUniqueId();
    virtual void masterIdle();

    // The host callback, safe to call when the host gave none.
    intptr_t callHost(int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr,
                      float opt = 0.0f);

protected:
    audioMasterCallback audioMaster;
    AEffGUIEditor* editor = nullptr;
    float sampleRate = 44100.0f;
    int32_t blockSize = 1024;
    int32_t numPrograms;
    int32_t numParams;
    Relaxed<int32_t> curProgram{0};  // read by the audio thread too
    AEffect cEffect;

private:
    static intptr_t dispatchEffectClass(AEffect* e, int32_t opcode, int32_t index,
                                        intptr_t value, void* ptr, float opt);
    static void processClass(AEffect* e, float** inputs, float** outputs, int32_t frames);
    static void processReplacingClass(AEffect* e, float** inputs, float** outputs,
                                      int32_t frames);
    static void processDoubleReplacingClass(AEffect* e, double** inputs, double** outputs,
                                            int32_t frames);
    static void setParameterClass(AEffect* e, int32_t index, float value);
    static float getParameterClass(AEffect* e, int32_t index);
};
