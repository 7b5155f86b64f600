// Where a render goes: the WAV file and, when asked for, the spectrogram
// picture beside it, fed block by block as the render is written.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "Renderer.h"
#include "Sonogram.h"
#include "SonogramPicture.h"
#include "WavWriter.h"

namespace render {

class RenderOutput {
public:
    // Opens the WAV file; `picturePath` empty means no spectrogram. `frames`
    // is the length of the whole render, `marks` what the picture marks on
    // its time axis. False with `error` set if the file cannot be created.
    bool open(const std::string& wavPath, const std::string& picturePath, int sampleRate, WavFormat format,
              uint64_t frames, const std::vector<TimeMark>& marks, std::string& error);

    WavWriter& wav() { return wav_; }
    AudioTap tap();
    // Adds what one renderSong call wrote to the totals.
    void count(const RenderResult& part);

    // Closes the WAV file and draws the picture. On success `summary` says what
    // was written ("wrote x.wav: 2.00 s, 44100 Hz, ..."), one line per file;
    // invalid samples from the plug-in are reported on stderr.
    bool finish(const std::string& title, std::string& summary, std::string& error);
    // After a failure: closes and removes what was written.
    void abandon();

private:
    std::string wavPath_, picturePath_;
    int sampleRate_ = 44100;
    WavFormat format_ = WavFormat::Float32;
    WavWriter wav_;
    std::unique_ptr<Spectrogram> spectrogram_;
    PictureLayout layout_;
    std::vector<TimeMark> marks_;
    RenderResult total_;
};

}  // namespace render
