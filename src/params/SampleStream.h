// Buffered, random-access reading of a sample file for the parsers: from an
// open file or, for tests and fuzzing, from memory. Every read is bounded by
// the source's size; nothing is read past the end.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>

namespace samples {

class ByteSource {
public:
    virtual ~ByteSource() = default;
    virtual uint64_t size() const = 0;
    // Copies up to `n` bytes from `offset`; returns the count (0 at the end or on an error).
    virtual size_t readAt(uint64_t offset, uint8_t* dst, size_t n) = 0;
};

class MemorySource : public ByteSource {
public:
    MemorySource(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    uint64_t size() const override { return size_; }
    size_t readAt(uint64_t offset, uint8_t* dst, size_t n) override;

private:
    const uint8_t* data_;
    size_t size_;
};

// An open file descriptor (owned: closed by the destructor). Reads stop early
// once `cancel` is raised, so that a plug-in closing mid-load is not held up.
class FileSource : public ByteSource {
public:
    FileSource(int fd, uint64_t size, const std::atomic<bool>* cancel) : fd_(fd), size_(size), cancel_(cancel) {}
    ~FileSource() override;
    FileSource(const FileSource&) = delete;
    FileSource& operator=(const FileSource&) = delete;
    uint64_t size() const override { return size_; }
    size_t readAt(uint64_t offset, uint8_t* dst, size_t n) override;

private:
    int fd_;
    uint64_t size_;
    const std::atomic<bool>* cancel_;
};

class SampleStream {
public:
    explicit SampleStream(ByteSource& source) : source_(source) {}

    uint64_t size() const { return source_.size(); }
    uint64_t position() const { return pos_; }
    uint64_t remaining() const { return pos_ < size() ? size() - pos_ : 0; }
    void seek(uint64_t position) { pos_ = position; }

    // The next byte; false at the end of the file.
    bool next(uint8_t& byte);
    // Exactly `n` bytes, or false when the file ends first.
    bool readExact(uint8_t* dst, size_t n);
    // Up to `n` bytes; returns the count.
    size_t read(uint8_t* dst, size_t n);
    // Reads on byte by byte until the last four bytes read are `tag`; false at the end.
    bool scanFor(const char* tag);

private:
    bool fill();

    ByteSource& source_;
    uint64_t pos_ = 0;
    uint8_t buffer_[4096];
    uint64_t bufferStart_ = 0;
    size_t bufferLength_ = 0;
};

}  // namespace samples
