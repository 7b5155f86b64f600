// Loading the sample a program names: rebuild its path, open the file and run
// the parser its file kind asks for. These run on the sample loader's thread.
#pragma once

#include <atomic>
#include <string>

#include "params/SampleParsers.h"
#include "params/SamplePath.h"

namespace samples {

struct LoadOutcome {
    ParseResult result;
    std::string message;  // the text to show, empty for none
};

// `cancel` (may be null) stops the reading early; the outcome is then a failure.
LoadOutcome loadWav(const SamplePathFields& fields, const std::string& baseDirectory,
                    SampleBuffer& buffer, const std::atomic<bool>* cancel = nullptr);
LoadOutcome loadAiff(const SamplePathFields& fields, const std::string& baseDirectory,
                     SampleBuffer& buffer, const std::atomic<bool>* cancel = nullptr);
// loadWav or loadAiff, by the fields' file kind.
LoadOutcome loadSample(const SamplePathFields& fields, const std::string& baseDirectory,
                       SampleBuffer& buffer, const std::atomic<bool>* cancel = nullptr);

}  // namespace samples
