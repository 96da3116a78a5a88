#pragma once

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

namespace zelk::fuzz {

inline void Check(bool condition) {
    if (!condition) std::abort();
}

// One temporary file for a whole fuzzing run, removed at exit.
class ScratchFile {
public:
    ScratchFile() {
        std::string pattern = (std::filesystem::temp_directory_path() / "zelk_fuzz_XXXXXX").string();
        const int fd = ::mkstemp(pattern.data());
        Check(fd >= 0);
        ::close(fd);
        path_ = pattern;
    }
    ~ScratchFile() { std::remove(path_.c_str()); }
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;

    const std::string& Write(std::string_view bytes) const {
        std::FILE* f = std::fopen(path_.c_str(), "wb");
        Check(f != nullptr);
        Check(std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size());
        Check(std::fclose(f) == 0);
        return path_;
    }

private:
    std::string path_;
};

}  // namespace zelk::fuzz
