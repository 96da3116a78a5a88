#pragma once

// Scratch files and folders for tests, tools and benchmarks: made fresh in the
// temporary folder and removed again with everything in them.

#include <stdlib.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <system_error>

namespace zelk::test {

// A path in the temporary folder that no file has; nothing is created there.
inline std::filesystem::path UnusedTempPath(const std::string& suffix) {
    static std::atomic<int> counter{0};
    return std::filesystem::temp_directory_path() /
           ("zelk_test_" + std::to_string(::getpid()) + "_" + std::to_string(counter++) + suffix);
}

// The bytes of a file; empty when it cannot be read.
inline std::string ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Writes the bytes into a file, replacing what it held; raises when that fails.
inline void WriteFileBytes(const std::string& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) throw std::runtime_error("Cannot write " + path);
}

// A fresh folder in the temporary folder, removed with everything in it when it goes,
// folders that a test made read-only included.
class ScratchFolder {
public:
    explicit ScratchFolder(std::string_view prefix = "zelk_test") {
        std::string pattern = (std::filesystem::temp_directory_path() / (std::string(prefix) + "_XXXXXX")).string();
        if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("Cannot make a folder in " + pattern);
        path_ = pattern;
    }
    ~ScratchFolder() {
        namespace fs = std::filesystem;
        std::error_code ec;
        fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
        for (auto it = fs::recursive_directory_iterator(path_, ec); !ec && it != fs::recursive_directory_iterator();
             it.increment(ec)) {
            std::error_code ignored;
            if (!it->is_symlink(ignored) && it->is_directory(ignored))
                fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
        }
        fs::remove_all(path_, ec);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    // The folder, without a trailing "/".
    const std::string& Path() const { return path_; }
    // A path below the folder.
    std::string File(std::string_view relative) const { return path_ + "/" + std::string(relative); }

    // Writes the bytes into a file below the folder, making the folders on the way;
    // returns the file's path.
    std::string Write(std::string_view relative, std::string_view bytes) const {
        const std::string path = File(relative);
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        WriteFileBytes(path, bytes);
        return path;
    }
    // The bytes of a file below the folder; empty when there is none.
    std::string Read(std::string_view relative) const { return ReadFileBytes(File(relative)); }

private:
    std::string path_;
};

// One file in a scratch folder of its own, written byte for byte.
class ScratchFile {
public:
    explicit ScratchFile(std::string_view bytes, std::string_view name = "scratch.txt")
        : path_(folder_.Write(name, bytes)) {}

    const std::string& Path() const { return path_; }

private:
    ScratchFolder folder_;
    std::string path_;
};

}  // namespace zelk::test
