#include "Sequencer.h"

#include <algorithm>
#include <cmath>

namespace render {

Sequencer::Sequencer(const MidiSong& song, const SequencerSettings& settings)
    : timeline_(song, settings.defaultTempo, settings.sampleRate), settings_(settings) {
    settings_.blockSize = std::max<int32_t>(settings_.blockSize, 1);
    events_.reserve(song.events.size() + 32);
    for (const MidiEvent& e : song.events)
        events_.push_back(Scheduled{timeline_.sampleAt(e.tick), {e.data[0], e.data[1], e.data[2]}});

    for (const TempoChange& t : song.tempos)
        if (t.microsPerQuarter != 0) tempoChanges_.push_back(timeline_.firstSampleFrom(t.tick));
    std::sort(tempoChanges_.begin(), tempoChanges_.end());

    uint64_t endTick = song.endTick;
    if (!song.events.empty()) endTick = std::max(endTick, song.events.back().tick);
    endSample_ = timeline_.sampleAt(endTick);
    // Notes still sounding (or held by the pedal) end with the song. They get
    // their own note-offs rather than all-notes-off, which some instruments
    // treat as an immediate cut and which would silence the releases.
    for (uint8_t channel = 0; channel < 16; ++channel)
        events_.push_back(Scheduled{endSample_, {uint8_t(0xB0 | channel), 64, 0}});
    int held[16][128] = {};
    for (const MidiEvent& e : song.events) {
        const int status = e.data[0] & 0xF0, channel = e.data[0] & 0x0F, key = e.data[1] & 0x7F;
        if (status == 0x90 && e.data[2] > 0)
            ++held[channel][key];
        else if ((status == 0x80 || status == 0x90) && held[channel][key] > 0)
            --held[channel][key];
    }
    for (uint8_t channel = 0; channel < 16; ++channel)
        for (uint8_t key = 0; key < 128; ++key)
            for (int n = 0; n < held[channel][key]; ++n)
                events_.push_back(Scheduled{endSample_, {uint8_t(0x80 | channel), key, 0}});

    // At least one frame follows the end so that the closing events are delivered.
    double tail = std::isfinite(settings_.tailSeconds) ? std::max(settings_.tailSeconds, 0.0) : 0.0;
    auto tailFrames = static_cast<int64_t>(std::llround(tail * settings_.sampleRate));
    totalFrames_ = endSample_ + std::max<int64_t>(tailFrames, 1) + std::max<int64_t>(settings_.latencyFrames, 0);
}

bool Sequencer::next(Block& block) {
    if (position_ >= totalFrames_) return false;
    block.start = position_;
    int64_t frames = std::min<int64_t>(settings_.blockSize, totalFrames_ - position_);
    while (nextTempoChange_ < tempoChanges_.size() && tempoChanges_[nextTempoChange_] <= position_)
        ++nextTempoChange_;
    if (nextTempoChange_ < tempoChanges_.size())
        frames = std::min(frames, tempoChanges_[nextTempoChange_] - position_);
    block.frames = static_cast<int32_t>(frames);
    block.events.clear();
    const int64_t end = position_ + block.frames;
    while (nextEvent_ < events_.size() && events_[nextEvent_].sample < end) {
        const Scheduled& s = events_[nextEvent_++];
        VstMidiEvent e{};
        e.type = kVstMidiType;
        e.byteSize = sizeof(VstMidiEvent);
        e.deltaFrames = static_cast<int32_t>(s.sample - position_);
        for (int i = 0; i < 3; ++i) e.midiData[i] = static_cast<char>(s.data[i]);
        block.events.push_back(e);
    }

    VstTimeInfo& t = block.time;
    t = VstTimeInfo{};
    t.samplePos = static_cast<double>(position_);
    t.sampleRate = settings_.sampleRate;
    t.ppqPos = timeline_.ppqAt(position_);
    t.tempo = timeline_.tempoAt(position_);
    const Timeline::Bar bar = timeline_.barAt(t.ppqPos);
    t.barStartPos = bar.startPpq;
    t.timeSigNumerator = bar.numerator;
    t.timeSigDenominator = bar.denominator;
    t.flags = kVstTransportPlaying | kVstTempoValid | kVstPpqPosValid | kVstTimeSigValid |
              kVstBarsValid | (position_ == 0 ? kVstTransportChanged : 0);

    position_ = end;
    return true;
}

}  // namespace render
