#include "platform/FileIO.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace platform {

int openRegularFile(const std::string& path, uint64_t& size, std::string& error) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) {
        error = std::string("it cannot be opened (") + std::strerror(errno) + ")";
        return -1;
    }
    if (!S_ISREG(info.st_mode)) {
        error = "it is not a regular file";
        return -1;
    }
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        error = std::string("it cannot be opened (") + std::strerror(errno) + ")";
        return -1;
    }
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        close(fd);
        error = "it is not a regular file";
        return -1;
    }
    size = static_cast<uint64_t>(info.st_size);
    return fd;
}

bool readFile(const std::string& path, size_t maxBytes, std::vector<uint8_t>& bytes,
              std::string& error) {
    bytes.clear();
    uint64_t size = 0;
    int fd = openRegularFile(path, size, error);
    if (fd < 0) return false;
    if (size > maxBytes) {
        close(fd);
        error = "it is too large (" + std::to_string(size) + " bytes)";
        return false;
    }
    // Read up to one byte past the limit: the file may have grown since fstat.
    bytes.resize(maxBytes + 1);
    size_t total = 0;
    while (total < bytes.size()) {
        ssize_t n = read(fd, bytes.data() + total, bytes.size() - total);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            error = std::string("it cannot be read (") + std::strerror(errno) + ")";
            close(fd);
            bytes.clear();
            return false;
        }
        if (n == 0) break;
        total += static_cast<size_t>(n);
    }
    close(fd);
    if (total > maxBytes) {
        bytes.clear();
        error = "it is too large";
        return false;
    }
    bytes.resize(total);
    return true;
}

bool writeFileAtomically(const std::string& path, const void* data, size_t size,
                         std::string& error) {
    std::string pattern = path + ".XXXXXX";
    int fd = mkstemp(pattern.data());
    if (fd < 0) {
        error = std::string("it cannot be created (") + std::strerror(errno) + ")";
        return false;
    }
    fchmod(fd, 0644);
    const auto* p = static_cast<const unsigned char*>(data);
    size_t done = 0;
    bool ok = true;
    while (done < size) {
        ssize_t n = write(fd, p + done, size - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            ok = false;
            break;
        }
        done += static_cast<size_t>(n);
    }
    if (ok && fsync(fd) != 0) ok = false;
    int savedErrno = ok ? 0 : errno;
    if (close(fd) != 0 && ok) {
        ok = false;
        savedErrno = errno;
    }
    if (ok && std::rename(pattern.c_str(), path.c_str()) != 0) {
        ok = false;
        savedErrno = errno;
    }
    if (!ok) {
        std::remove(pattern.c_str());
        error = std::string("it cannot be written (") +
                std::strerror(savedErrno ? savedErrno : EIO) + ")";
    }
    return ok;
}

void makeDirectories(const std::string& dir) {
    for (size_t pos = 1; pos <= dir.size(); ++pos) {
        if (pos == dir.size() || dir[pos] == '/') {
            std::string part = dir.substr(0, pos);
            if (!part.empty()) mkdir(part.c_str(), 0755);
        }
    }
}

std::string fileNameOf(const std::string& path) {
    size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace platform
