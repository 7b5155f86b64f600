#include "params/SampleFileLoad.h"

#include "platform/FileIO.h"

namespace samples {
namespace {

using Parser = ParseResult (*)(SampleStream&, SampleBuffer&);

LoadOutcome loadWith(Parser parse, const SamplePathFields& fields, const std::string& baseDirectory,
                     SampleBuffer& buffer, const std::atomic<bool>* cancel) {
    LoadOutcome outcome;
    const std::string path = rebuildSamplePath(fields, baseDirectory);
    if (path.empty()) return outcome;  // no sample named: no message
    uint64_t size = 0;
    std::string reason;
    const int fd = platform::openRegularFile(path, size, reason);
    if (fd < 0) {
        outcome.message = message::kNotFound + path;
        return outcome;
    }
    FileSource file(fd, size, cancel);
    SampleStream stream(file);
    outcome.result = parse(stream, buffer);
    // A load cut short by closing the plug-in says nothing.
    if (cancel && cancel->load(std::memory_order_relaxed)) return LoadOutcome{};
    if (outcome.result.message) outcome.message = outcome.result.message;
    return outcome;
}

}  // namespace

LoadOutcome loadWav(const SamplePathFields& fields, const std::string& baseDirectory,
                    SampleBuffer& buffer, const std::atomic<bool>* cancel) {
    return loadWith(parseWav, fields, baseDirectory, buffer, cancel);
}

LoadOutcome loadAiff(const SamplePathFields& fields, const std::string& baseDirectory,
                     SampleBuffer& buffer, const std::atomic<bool>* cancel) {
    return loadWith(parseAiff, fields, baseDirectory, buffer, cancel);
}

LoadOutcome loadSample(const SamplePathFields& fields, const std::string& baseDirectory,
                       SampleBuffer& buffer, const std::atomic<bool>* cancel) {
    return fields.isWav() ? loadWav(fields, baseDirectory, buffer, cancel)
                          : loadAiff(fields, baseDirectory, buffer, cancel);
}

}  // namespace samples
