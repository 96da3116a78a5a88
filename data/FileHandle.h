#pragma once

#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstddef>
#include <string_view>

namespace zelk {

// Closes a file descriptor when it goes out of scope.
class FileHandle {
public:
    FileHandle() = default;
    explicit FileHandle(int fd) : fd_(fd) {}
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    ~FileHandle() { Close(); }

    int Get() const { return fd_; }
    // Closes the descriptor held, if any, and holds `fd` instead.
    void Reset(int fd = -1) {
        Close();
        fd_ = fd;
    }
    // Closes now; returns 0 or the error number.
    int Close() {
        const int fd = fd_;
        fd_ = -1;
        return fd >= 0 && ::close(fd) != 0 ? errno : 0;
    }

private:
    int fd_ = -1;
};

// Writes all of the text, going on after an interrupted or short write; 0 or the error
// number.
inline int WriteAll(int fd, std::string_view text) {
    size_t written = 0;
    while (written < text.size()) {
        const ssize_t put = ::write(fd, text.data() + written, text.size() - written);
        if (put < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        written += static_cast<size_t>(put);
    }
    return 0;
}

// Writes all of the text at `end`, where the file ends and its offset stands. A text
// that cannot be written whole (a full disk) is cut off again, with the offset put back
// at `end`, so the file keeps only what it held before; 0 or the error number.
inline int WriteAllOrCutBack(int fd, off_t end, std::string_view text) {
    const int error = WriteAll(fd, text);
    if (error != 0 && ::ftruncate(fd, end) == 0) ::lseek(fd, end, SEEK_SET);
    return error;
}

// Makes a write past the process's file-size limit fail with EFBIG, as a full disk fails
// with ENOSPC, instead of ending the process with SIGXFSZ part way through a line.
inline void IgnoreFileSizeSignal() { std::signal(SIGXFSZ, SIG_IGN); }

}  // namespace zelk
