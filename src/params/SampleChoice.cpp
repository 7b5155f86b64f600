// Choosing the vocoder's sample and the editor's caption for it.
#include <unistd.h>

#include <atomic>
#include <cstring>

#include "host/APlugin.h"
#include "params/SamplePath.h"
#include "platform/FileIO.h"

bool APlugin::chooseSample(const std::string& path) {
    lastSamplePath = path.substr(0, 255);
    uint64_t size = 0;
    std::string reason;
    const int fd = platform::openRegularFile(path, size, reason);
    if (fd < 0) return false;
    ::close(fd);

    const samples::SampleChoice choice = samples::encodeSampleChoice(path, sampleBaseDirectory);
    if (choice.knownExtension) setParameter(prm::SampleFileKind, choice.fileKind);
    setParameter(prm::SamplePathKind, choice.pathKind);
    for (int i = prm::SamplePathFirst; i <= prm::SamplePathLast; ++i) setParameterAutomated(i, 0.0f);
    float text[samples::kPathCharacters];
    const int count = samples::encodeStoredText(choice.storedText, text);
    for (int i = 0; i < count; ++i) setParameter(prm::SamplePathFirst + i, text[i]);
    // The audio thread reads the path once it sees the request.
    std::atomic_thread_fence(std::memory_order_release);
    setParameter(prm::SampleLoadRequest, 0.9f);
    return true;
}

void APlugin::sampleNameText(char* out, size_t capacity) const {
    if (!out || capacity == 0) return;
    const std::string caption = samples::sampleCaption(samples::SamplePathFields::read(params.values));
    const size_t n = caption.size() < capacity - 1 ? caption.size() : capacity - 1;
    std::memcpy(out, caption.data(), n);
    out[n] = 0;
}
