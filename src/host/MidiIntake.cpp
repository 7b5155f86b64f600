// MIDI intake: events are queued by effProcessEvents and executed at their
// sample by the processing loop, then turned into engine actions.
#include "editor/uEditor.h"
#include "engine/ModIds.h"
#include "host/APlugin.h"

namespace {
constexpr float kInverse127 = 0.007874016f;
// Pitch-bend ranges in octaves, by "Pitch Bend Up/Down" entry.
constexpr float kBendRange[16] = {0.0f,        1.0f / 12,  2.0f / 12, 3.0f / 12,  4.0f / 12,
                                  5.0f / 12,   6.0f / 12,  7.0f / 12, 8.0f / 12,  9.0f / 12,
                                  10.0f / 12,  11.0f / 12, 1.0f,      2.0f,       3.0f,
                                  4.0f};
constexpr int kPlayModeArp = 4;
}  // namespace

int32_t APlugin::processEvents(VstEvents* events) {
    if (!events || events->numEvents <= 0) return 1;
    for (int32_t i = 0; i < events->numEvents; ++i) {
        const VstEvent* e = events->events[i];
        if (!e || e->type != kVstMidiType) continue;
        eventPool.queue(*reinterpret_cast<const VstMidiEvent*>(e));
    }
    return 1;
}

void APlugin::runMidiStep() {
    eventPool.runStep([this](const MidiEventRecord& e) { executeMidiEvent(e); });
}

void APlugin::executeMidiEvent(const MidiEventRecord& event) {
    const int status = event.midiData[0] & 0xF0;
    const int d1 = event.midiData[1] & 0x7F;
    const int d2 = event.midiData[2] & 0x7F;
    switch (status) {
        case 0x90:
            if (d2 > 0) {
                if (params.values[prm::SampleReset] > 0.5f) samplePlayback.resetPosition();
                engine.noteOn(d1, d2);
                break;
            }
            engine.noteOff(d1);
            break;
        case 0x80:
            engine.noteOff(d1);
            break;
        case 0xA0: {
            const float v = static_cast<float>(d2) * kInverse127;
            engine.setSource(modsrc::PolyAftr, v);
            engine.setSource(modsrc::ModAft, v);
            break;
        }
        case 0xD0: {
            const float v = static_cast<float>(d1) * kInverse127;
            engine.setSource(modsrc::ChAftr, v);
            engine.setSource(modsrc::ModAft, v);
            break;
        }
        case 0xB0:
            controlChange(d1, d2);
            break;
        case 0xC0:
            if (d1 < 127) {
                // The audio thread holds the programs during its block.
                changes.begin();
                installProgram(d1);
                changes.end();
            }
            break;
        case 0xE0:
            pitchBend(d1, d2);
            break;
        default:
            break;
    }
}

void APlugin::controlChange(int controller, int value) {
    const float v = static_cast<float>(value) * kInverse127;
    const uint32_t learn = learnRequest.load(std::memory_order_relaxed)
                               ? learnRequest.exchange(0, std::memory_order_acq_rel)
                               : 0;
    const int parameter = static_cast<int>(learn & 0xFFFF);
    if (learn & kLatch) {
        controllerMap[controller] = parameter;
        bindingWriter->markChanged(controller);
    }
    if (learn & kUnlatch) {
        for (int c = 0; c < 128; ++c) {
            if (controllerMap[c] != parameter) continue;
            controllerMap[c] = 0;
            bindingWriter->markChanged(c);
        }
    }
    switch (controller) {
        case 1:
            engine.setSource(modsrc::ModWhl, v);
            engine.setSource(modsrc::ModAft, v);
            engine.modWheel = v;
            break;
        case 2:
            engine.setSource(modsrc::Breath, v);
            break;
        case 4:
            engine.setSource(modsrc::Foot, v);
            break;
        case 7:
            engine.midiVolume = v;
            break;
        case 11:
            engine.setSource(modsrc::Expressn, v);
            break;
        case 64:
            sustainPedal(value >= 64);
            break;
        case 120:
        case 123:
            engine.resetEngine();
            break;
        default:
            if (controller >= 16 && controller <= 21)
                engine.setSource(modsrc::CC16 + controller - 16, v);
            else if (controller >= 84 && controller <= 90)
                engine.setSource(modsrc::CC84 + controller - 84, v);
            break;
    }
    const int bound = controllerMap[controller];
    if (bound != 0) setParameter(bound, v);
}

void APlugin::sustainPedal(bool down) {
    const int playMode = static_cast<int>(params.values[prm::PlayMode] * 7.99f);
    const bool wasArpHold = engine.arpHold;
    engine.sustainHeld = false;
    engine.arpHold = false;
    if (down) {
        if (playMode == kPlayModeArp)
            engine.arpHold = true;
        else
            engine.sustainHeld = true;
    }
    // Lifting the pedal stops a held arpeggio.
    if (playMode == kPlayModeArp && wasArpHold && !engine.arpHold) engine.resetEngine();
}

void APlugin::pitchBend(int lsb, int msb) {
    const float l = (static_cast<float>(lsb) / 128.0f + static_cast<float>(msb)) / 128.0f;
    engine.setSource(modsrc::Pitchbend, (l - 0.5f) * 2.0f);
    if (l > 0.5f) {
        const int range = static_cast<int>(params.values[prm::PitchBendUp] * 15.99f);
        engine.pitchBendOffset = kBendRange[range] * (l - 0.5f) * 2.0825f;
    } else {
        const int range = static_cast<int>(params.values[prm::PitchBendDown] * 15.99f);
        engine.pitchBendOffset = (1.0f - l - 0.5f) * kBendRange[range] * -2.0825f;
    }
    if (ownedEditor) ownedEditor->setPitchWheel(static_cast<int>(l * 37.99f));
}
