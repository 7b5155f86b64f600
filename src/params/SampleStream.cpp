#include "params/SampleStream.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace samples {

size_t MemorySource::readAt(uint64_t offset, uint8_t* dst, size_t n) {
    if (offset >= size_) return 0;
    const size_t count = n < size_ - offset ? n : size_t(size_ - offset);
    std::memcpy(dst, data_ + offset, count);
    return count;
}

FileSource::~FileSource() {
    if (fd_ >= 0) close(fd_);
}

size_t FileSource::readAt(uint64_t offset, uint8_t* dst, size_t n) {
    size_t done = 0;
    while (done < n && offset + done < size_) {
        if (cancel_ && cancel_->load(std::memory_order_relaxed)) break;
        // The file may have shrunk since it was opened; its size as opened bounds every read.
        size_t want = n - done;
        if (want > size_ - (offset + done)) want = size_t(size_ - (offset + done));
        const ssize_t got = pread(fd_, dst + done, want, off_t(offset + done));
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        done += size_t(got);
    }
    return done;
}

bool SampleStream::fill() {
    if (pos_ >= bufferStart_ && pos_ < bufferStart_ + bufferLength_) return true;
    bufferStart_ = pos_;
    bufferLength_ = source_.readAt(pos_, buffer_, sizeof buffer_);
    return bufferLength_ > 0;
}

bool SampleStream::next(uint8_t& byte) {
    if (!fill()) return false;
    byte = buffer_[pos_ - bufferStart_];
    ++pos_;
    return true;
}

size_t SampleStream::read(uint8_t* dst, size_t n) {
    size_t done = 0;
    while (done < n && fill()) {
        const size_t offset = size_t(pos_ - bufferStart_);
        size_t count = bufferLength_ - offset;
        if (count > n - done) count = n - done;
        std::memcpy(dst + done, buffer_ + offset, count);
        done += count;
        pos_ += count;
    }
    return done;
}

bool SampleStream::readExact(uint8_t* dst, size_t n) { return read(dst, n) == n; }

bool SampleStream::scanFor(const char* tag) {
    const uint32_t wanted = uint32_t(uint8_t(tag[0])) << 24 | uint32_t(uint8_t(tag[1])) << 16 |
                            uint32_t(uint8_t(tag[2])) << 8 | uint8_t(tag[3]);
    // No tag starts with a zero byte, so the empty window never matches.
    uint32_t last = 0;
    uint8_t byte;
    while (next(byte)) {
        last = last << 8 | byte;
        if (last == wanted) return true;
    }
    return false;
}

}  // namespace samples
