#include "data/LineReader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "data/Errors.h"
#include "data/ShortText.h"

namespace zelk {
namespace {
constexpr size_t kChunk = 1 << 20;
}

bool LineReader::Open(const std::string& path) {
    Close();
    // Only a regular file is read: a pipe would wait for ever, a device never end.
    // Opening without blocking keeps a pipe with no writer from stopping the open itself.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    file_.Reset(fd);
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        Close();
        return false;
    }
    path_ = path;
    // One byte more than the file, so that its end shows in the first read.
    const size_t wanted = std::min(kChunk, static_cast<size_t>(info.st_size) + 1);
    if (!buffer_ || capacity_ < wanted) {
        buffer_ = std::make_unique_for_overwrite<char[]>(wanted);
        capacity_ = wanted;
    }
    begin_ = end_ = 0;
    eofSeen_ = ended_ = false;
    return true;
}

void LineReader::Close() { file_.Reset(); }

bool LineReader::Fill() {
    if (eofSeen_ || file_.Get() < 0) return false;
    size_t got = 0;
    while (got < capacity_) {
        const ssize_t n = ::read(file_.Get(), buffer_.get() + got, capacity_ - got);
        if (n < 0) {
            if (errno == EINTR) continue;
            throw ZelkError("Cannot read '" + path_ + "': " + std::strerror(errno));
        }
        if (n == 0) {
            eofSeen_ = true;
            break;
        }
        got += static_cast<size_t>(n);
    }
    begin_ = 0;
    end_ = got;
    return got > 0;
}

bool LineReader::Next(std::string_view& line) {
    if (ended_ || file_.Get() < 0) return false;
    if (begin_ >= end_ && !Fill()) {
        ended_ = true;
        return false;
    }
    if (buffer_[begin_] == 26) {
        ended_ = true;
        return false;
    }
    const char* start = buffer_.get() + begin_;
    const void* lf = std::memchr(start, '\n', end_ - begin_);
    bool assembled = false;
    if (lf) {
        const size_t len = static_cast<size_t>(static_cast<const char*>(lf) - start);
        line = std::string_view(start, len);
        begin_ += len + 1;
    } else {
        // The line runs past the buffer: collect it.
        line_.assign(start, end_ - begin_);
        begin_ = end_;
        while (Fill()) {
            const char* chunk = buffer_.get();
            const void* found = std::memchr(chunk, '\n', end_);
            if (found) {
                const size_t len = static_cast<size_t>(static_cast<const char*>(found) - chunk);
                line_.append(chunk, len);
                begin_ = len + 1;
                break;
            }
            line_.append(chunk, end_);
            begin_ = end_;
        }
        line = line_;
        assembled = true;
    }
    const size_t cr = FindByte(line, '\r');
    if (cr != std::string_view::npos && cr + 1 == line.size()) {
        line.remove_suffix(1);  // CR LF: the CR is the only one
    } else if (cr != std::string_view::npos) {
        if (!assembled) line_.assign(line.data(), line.size());
        std::erase(line_, '\r');
        line = line_;
    }
    return true;
}

std::string LineReader::NextOrEmpty() {
    std::string_view line;
    return Next(line) ? std::string(line) : std::string();
}

}  // namespace zelk
