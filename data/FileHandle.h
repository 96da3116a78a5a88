#pragma once

#include <unistd.h>

#include <cerrno>

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

}  // namespace zelk
