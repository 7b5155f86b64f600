// Drives a loaded, started plug-in through a song block by block and streams
// its stereo output into a WAV file.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "Sequencer.h"
#include "WavWriter.h"
#include "vsthost/PluginHost.h"

namespace render {

struct RenderResult {
    uint64_t frames = 0;
    float peak = 0.0f;              // largest absolute sample written (before any clipping)
    uint64_t nonFiniteSamples = 0;  // NaN or infinity from the plug-in, written as silence
};

// Called after every block with the fraction done (0..1).
using Progress = std::function<void(double)>;
// Sees every block as it is written to the file (for the spectrogram).
using AudioTap = std::function<void(const float* left, const float* right, size_t frames)>;

// The plug-in's reported latency. The sequence should be built with it as
// latencyFrames: renderSong drops that many frames from the start, so the file
// lines up with the MIDI.
int64_t latencyFrames(vsthost::PluginHost& host);

// Plays the sequence through the plug-in into `wav` (already open, and
// appended to if it holds frames already); false with `error` set if the file
// cannot be written. `result` describes what this call wrote.
bool renderSong(vsthost::PluginHost& host, Sequencer& sequencer, WavWriter& wav,
                const Progress& progress, RenderResult& result, std::string& error,
                const AudioTap& tap = {});

}  // namespace render
