#include "windowlogic/IniFile.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <system_error>

#include "data/FileHandle.h"
#include "data/TextNumber.h"

namespace zelk {
namespace {

std::string ErrorText(int error) { return std::generic_category().message(error); }

constexpr const char* kNotRegular = "Not a regular file";

// The whole file as bytes; a missing file gives an empty text. Only a regular file
// is read: a pipe would block the start, a device fill the memory.
std::string ReadWholeFile(const std::string& path) {
    FileHandle file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (file.Get() < 0) {
        if (errno == ENOENT || errno == ENOTDIR) return {};
        throw SettingsFileError(path, ErrorText(errno), true);
    }
    struct stat info {};
    if (::fstat(file.Get(), &info) != 0) throw SettingsFileError(path, ErrorText(errno), true);
    if (S_ISDIR(info.st_mode)) throw SettingsFileError(path, ErrorText(EISDIR), true);
    if (!S_ISREG(info.st_mode)) throw SettingsFileError(path, kNotRegular, true);
    std::string text;
    char buffer[8192];
    for (;;) {
        const ssize_t got = ::read(file.Get(), buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR) continue;
            throw SettingsFileError(path, ErrorText(errno), true);
        }
        if (got == 0) break;
        text.append(buffer, static_cast<size_t>(got));
    }
    return text;
}

// The name of a temporary file beside `target`: "<target>.tmp.<pid>.<attempt>".
std::string TemporaryName(const std::string& target, int attempt) {
    return target + ".tmp." + std::to_string(::getpid()) + "." + std::to_string(attempt);
}

// Opens a new temporary file beside `path`; returns its name through `tmpName`.
int CreateTemporaryBeside(const std::string& path, std::string& tmpName) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        tmpName = TemporaryName(path, attempt);
        const int fd = ::open(tmpName.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    errno = EEXIST;
    return -1;
}

// The file a write goes to: the target of a symbolic link, so that the link stays.
std::string WriteTarget(const std::string& path) {
    struct stat link {};
    if (::lstat(path.c_str(), &link) != 0 || !S_ISLNK(link.st_mode)) return path;
    const std::unique_ptr<char, decltype(&std::free)> resolved(::realpath(path.c_str(), nullptr), &std::free);
    return resolved ? std::string(resolved.get()) : path;
}

// Empty when an existing file may be replaced, else the reason. A file without any
// write permission counts as write-protected also for a user the system would let
// replace it; anything but a regular file is never replaced.
std::string ReplaceRefusal(const std::string& target) {
    struct stat info {};
    if (::stat(target.c_str(), &info) != 0) return {};  // nothing there to protect
    if (S_ISDIR(info.st_mode)) return ErrorText(EISDIR);
    if (!S_ISREG(info.st_mode)) return kNotRegular;
    if (::access(target.c_str(), W_OK) != 0) return ErrorText(errno);
    if ((info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return ErrorText(EACCES);
    return {};
}

std::string FolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The number a temporary name "<file>.tmp.<pid>.<n>" gives for its process, or 0.
pid_t TemporaryOwner(std::string_view name, std::string_view prefix) {
    if (name.substr(0, prefix.size()) != prefix) return 0;
    name.remove_prefix(prefix.size());
    const size_t dot = name.find('.');
    if (dot == std::string_view::npos || dot == 0 || dot + 1 == name.size()) return 0;
    for (size_t i = 0; i < name.size(); ++i)
        if (i != dot && (name[i] < '0' || name[i] > '9')) return 0;
    const auto pid = TextToInt(name.substr(0, dot));
    return pid && *pid > 0 ? static_cast<pid_t>(*pid) : 0;
}

// Removes the temporary files beside the target that a save stopped by a kill left
// behind: those whose process no longer runs.
void RemoveLeftTemporaries(const std::string& target) {
    const std::string prefix = NameOf(target) + ".tmp.";
    std::error_code ec;
    for (std::filesystem::directory_iterator it(FolderOf(target), ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        const pid_t owner = TemporaryOwner(name, prefix);
        if (owner == 0 || owner == ::getpid()) continue;
        if (::kill(owner, 0) != 0 && errno == ESRCH) ::unlink(it->path().c_str());
    }
}

// Errors that say the folder takes no new file while the file itself may still be written.
bool FolderRefusesNewFiles(int error) { return error == EACCES || error == EPERM || error == ENAMETOOLONG; }

// Writes the text and the old file's permissions into an open new file; 0 or the error number.
int FillTemporary(int fd, const std::string& target, std::string_view text) {
    struct stat old {};
    if (::stat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode)) ::fchmod(fd, old.st_mode & 07777);
    if (const int error = WriteAll(fd, text); error != 0) return error;
    return ::fsync(fd) != 0 ? errno : 0;
}

// Writes the text into a file without a name in the target's folder and then names
// it `tmpName`, so that a stop while writing leaves nothing behind. Gives -1 when the
// system offers no such file here, else 0 or the error number.
int WriteUnnamedTemporary(const std::string& target, std::string_view text, std::string& tmpName) {
    FileHandle file(::open(FolderOf(target).c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666));
    if (file.Get() < 0) return -1;
    if (const int error = FillTemporary(file.Get(), target, text); error != 0) return error;
    const std::string self = "/proc/self/fd/" + std::to_string(file.Get());
    for (int attempt = 0; attempt < 100; ++attempt) {
        tmpName = TemporaryName(target, attempt);
        if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, tmpName.c_str(), AT_SYMLINK_FOLLOW) == 0) {
            if (const int error = file.Close(); error != 0) {
                ::unlink(tmpName.c_str());
                return error;
            }
            return 0;
        }
        if (errno == ENOENT) return -1;  // no /proc to name it through
        if (errno != EEXIST) return errno;
    }
    return EEXIST;
}

// Writes the text into a new file beside the target, named through `tmpName`;
// 0 or the error number, with nothing left behind on an error.
int WriteTemporary(const std::string& target, std::string_view text, std::string& tmpName) {
    if (const int unnamed = WriteUnnamedTemporary(target, text, tmpName); unnamed >= 0) return unnamed;
    FileHandle file(CreateTemporaryBeside(target, tmpName));
    if (file.Get() < 0) return errno;
    int error = FillTemporary(file.Get(), target, text);
    if (const int closed = file.Close(); error == 0) error = closed;
    if (error != 0) ::unlink(tmpName.c_str());
    return error;
}

// Whether a file of `size` bytes stays within this process's file-size limit.
bool WithinFileSizeLimit(size_t size) {
    struct rlimit limit {};
    return ::getrlimit(RLIMIT_FSIZE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY || size <= limit.rlim_cur;
}

// Makes sure that rewriting the file with the text cannot fail part way, before any old
// byte changes; 0 or the error number. A longer text's part beyond the old end is
// written first, where a full disk or the file-size limit stops it; on an error the
// file is cut back to its old length. Within the old length a write takes no new room,
// so a text that is not longer only has to fit the file-size limit.
int ReserveInPlace(int fd, size_t oldSize, std::string_view text) {
    if (text.size() <= oldSize) return WithinFileSizeLimit(text.size()) ? 0 : EFBIG;
    if (::lseek(fd, static_cast<off_t>(oldSize), SEEK_SET) < 0) return errno;
    return WriteAllOrCutBack(fd, static_cast<off_t>(oldSize), text.substr(oldSize));
}

// Rewrites an existing regular file in place, for a folder that takes no temporary file.
// A write that fails leaves the old text.
void WriteInPlace(const std::string& path, const std::string& target, std::string_view text) {
    FileHandle file(::open(target.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC));
    const auto fail = [&path](int error) { throw SettingsFileError(path, ErrorText(error), false); };
    if (file.Get() < 0) fail(errno);
    struct stat info {};
    if (::fstat(file.Get(), &info) != 0) fail(errno);
    if (!S_ISREG(info.st_mode)) throw SettingsFileError(path, kNotRegular, false);
    const auto oldSize = static_cast<size_t>(info.st_size);
    if (const int error = ReserveInPlace(file.Get(), oldSize, text); error != 0) fail(error);
    if (::lseek(file.Get(), 0, SEEK_SET) < 0) fail(errno);
    if (const int error = WriteAll(file.Get(), text.substr(0, std::min(oldSize, text.size()))); error != 0) fail(error);
    if (::ftruncate(file.Get(), static_cast<off_t>(text.size())) != 0) fail(errno);
    if (::fsync(file.Get()) != 0) fail(errno);
    if (const int error = file.Close(); error != 0) fail(error);
}

}  // namespace

SettingsFileError::SettingsFileError(std::string path, std::string reason, bool reading)
    : ZelkError("Settings file " + path + (reading ? " cannot be read: " : " cannot be written: ") + reason),
      path_(std::move(path)),
      reason_(std::move(reason)),
      reading_(reading) {}

void WriteFileAtomically(const std::string& path, std::string_view text) {
    const std::string target = WriteTarget(path);
    if (const std::string refused = ReplaceRefusal(target); !refused.empty())
        throw SettingsFileError(path, refused, false);

    RemoveLeftTemporaries(target);
    std::string tmpName;
    if (const int error = WriteTemporary(target, text, tmpName); error != 0) {
        struct stat info {};
        if (FolderRefusesNewFiles(error) && ::stat(target.c_str(), &info) == 0 && S_ISREG(info.st_mode)) {
            WriteInPlace(path, target, text);
            return;
        }
        throw SettingsFileError(path, ErrorText(error), false);
    }
    if (::rename(tmpName.c_str(), target.c_str()) != 0) {
        const int error = errno;
        ::unlink(tmpName.c_str());
        throw SettingsFileError(path, ErrorText(error), false);
    }

    // Make the rename itself durable; a failure here loses nothing already written.
    FileHandle folder(::open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.Get() >= 0) ::fsync(folder.Get());
}

IniFile::IniFile(std::string path) : path_(std::move(path)) { Parse(ReadWholeFile(path_)); }

IniFile IniFile::FromText(std::string_view text) {
    IniFile file;
    file.Parse(text);
    return file;
}

void IniFile::Parse(std::string_view text) {
    Section* current = nullptr;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = pos;
        while (end < text.size() && text[end] != '\r' && text[end] != '\n') ++end;
        const std::string_view line = TrimControl(text.substr(pos, end - pos));
        pos = end;
        if (pos < text.size() && text[pos] == '\r') ++pos;
        if (pos < text.size() && text[pos] == '\n') ++pos;

        if (line.empty() || line.front() == ';') continue;
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
            sections_.push_back({std::string(TrimControl(line.substr(1, line.size() - 2))), {}});
            current = &sections_.back();
            continue;
        }
        if (current == nullptr) continue;
        const size_t equals = line.find('=');
        if (equals == std::string_view::npos) {
            current->lines.emplace_back(line);
        } else {
            std::string entry(TrimControl(line.substr(0, equals)));
            entry += '=';
            entry += TrimControl(line.substr(equals + 1));
            current->lines.push_back(std::move(entry));
        }
    }
}

const IniFile::Section* IniFile::FindSection(std::string_view name) const {
    for (const Section& section : sections_)
        if (SameTextAscii(section.name, name)) return &section;
    return nullptr;
}

IniFile::Section* IniFile::FindSection(std::string_view name) {
    return const_cast<Section*>(static_cast<const IniFile*>(this)->FindSection(name));
}

int IniFile::FindKey(const Section& section, std::string_view key) {
    for (size_t i = 0; i < section.lines.size(); ++i) {
        const std::string& line = section.lines[i];
        const size_t equals = line.find('=');
        if (equals != std::string::npos && SameTextAscii(std::string_view(line).substr(0, equals), key))
            return static_cast<int>(i);
    }
    return -1;
}

std::string IniFile::ReadString(std::string_view section, std::string_view key, std::string_view fallback) const {
    if (const Section* s = FindSection(section)) {
        const int index = FindKey(*s, key);
        if (index >= 0) {
            const std::string& line = s->lines[static_cast<size_t>(index)];
            return line.substr(line.find('=') + 1);
        }
    }
    return std::string(fallback);
}

int IniFile::ReadInteger(std::string_view section, std::string_view key, int fallback) const {
    return TextToIntOrHex(ReadString(section, key, {})).value_or(fallback);
}

bool IniFile::ReadBool(std::string_view section, std::string_view key, bool fallback) const {
    return ReadInteger(section, key, fallback ? 1 : 0) != 0;
}

void IniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    Section* s = FindSection(section);
    if (s == nullptr) {
        sections_.push_back({std::string(section), {}});
        s = &sections_.back();
    }
    std::string entry(key);
    entry += '=';
    entry += value;
    const int index = FindKey(*s, key);
    if (index >= 0)
        s->lines[static_cast<size_t>(index)] = std::move(entry);
    else
        s->lines.push_back(std::move(entry));
}

void IniFile::WriteInteger(std::string_view section, std::string_view key, int value) {
    WriteString(section, key, std::to_string(value));
}

void IniFile::WriteBool(std::string_view section, std::string_view key, bool value) {
    WriteString(section, key, value ? "1" : "0");
}

bool IniFile::SectionExists(std::string_view section) const { return FindSection(section) != nullptr; }

std::vector<std::string> IniFile::SectionNames() const {
    std::vector<std::string> names;
    names.reserve(sections_.size());
    for (const Section& section : sections_) names.push_back(section.name);
    return names;
}

std::vector<std::string> IniFile::KeyNames(std::string_view section) const {
    std::vector<std::string> keys;
    if (const Section* s = FindSection(section)) {
        for (const std::string& line : s->lines) {
            const size_t equals = line.find('=');
            if (equals != std::string::npos) keys.push_back(line.substr(0, equals));
        }
    }
    return keys;
}

std::string IniFile::Text() const {
    std::string text;
    for (const Section& section : sections_) {
        text += '[';
        text += section.name;
        text += "]\r\n";
        for (const std::string& line : section.lines) {
            text += line;
            text += "\r\n";
        }
        text += "\r\n";
    }
    return text;
}

void IniFile::UpdateFile() const { WriteFileAtomically(path_, Text()); }

}  // namespace zelk
