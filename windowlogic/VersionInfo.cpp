#include "windowlogic/VersionInfo.h"

#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <array>
#include <cstdio>
#include <ctime>
#include <fstream>

#include "data/TextNumber.h"
#include "windowlogic/VersionBlock.h"

namespace zelk {
namespace {

// ---- ELF sections -----------------------------------------------------------

// Random access to a file's bytes with every read checked against its size.
class FileBytes {
public:
    explicit FileBytes(const std::string& fileName) : in_(fileName, std::ios::binary) {
        if (!in_) return;
        in_.seekg(0, std::ios::end);
        const auto end = in_.tellg();
        size_ = end > 0 ? static_cast<std::uint64_t>(end) : 0;
    }
    std::uint64_t Size() const { return size_; }
    bool Read(std::uint64_t offset, std::uint64_t count, void* out) {
        if (offset > size_ || count > size_ - offset) return false;
        in_.clear();
        in_.seekg(static_cast<std::streamoff>(offset));
        in_.read(static_cast<char*>(out), static_cast<std::streamsize>(count));
        return static_cast<std::uint64_t>(in_.gcount()) == count;
    }

private:
    std::ifstream in_;
    std::uint64_t size_ = 0;
};

// Reads little- or big-endian integers from a byte buffer.
struct Endian {
    bool little = true;
    std::uint64_t Get(const std::uint8_t* p, int bytes) const {
        std::uint64_t value = 0;
        for (int i = 0; i < bytes; ++i) {
            const int shift = little ? 8 * i : 8 * (bytes - 1 - i);
            value |= static_cast<std::uint64_t>(p[i]) << shift;
        }
        return value;
    }
};

struct SectionHeader {
    std::uint32_t name = 0;
    std::uint32_t type = 0;
    std::uint32_t link = 0;
    std::uint64_t offset = 0;
    std::uint64_t size = 0;
};

constexpr std::uint32_t kNoBits = 8;
constexpr std::uint64_t kExtendedIndex = 0xFFFF;
constexpr std::uint64_t kMaxSection = 16u << 20;

class ElfReader {
public:
    explicit ElfReader(const std::string& fileName) : file_(fileName) {}

    std::optional<std::vector<std::uint8_t>> Section(std::string_view wanted) {
        if (!ReadHeader()) return std::nullopt;
        SectionHeader names;
        if (!ReadSectionHeader(shstrndx_, names) || names.type == kNoBits || names.size > kMaxSection)
            return std::nullopt;
        std::vector<std::uint8_t> table(static_cast<size_t>(names.size));
        if (!file_.Read(names.offset, names.size, table.data())) return std::nullopt;
        const std::uint8_t* tableEnd = table.data() + table.size();
        for (std::uint64_t i = 1; i < shnum_; ++i) {
            SectionHeader header;
            if (!ReadSectionHeader(i, header)) return std::nullopt;
            if (header.name >= table.size()) continue;
            const std::uint8_t* begin = table.data() + header.name;
            const std::uint8_t* end = std::find(begin, tableEnd, std::uint8_t{0});
            if (std::string_view(reinterpret_cast<const char*>(begin), static_cast<size_t>(end - begin)) != wanted)
                continue;
            if (header.type == kNoBits || header.size > kMaxSection) return std::nullopt;
            std::vector<std::uint8_t> data(static_cast<size_t>(header.size));
            if (!file_.Read(header.offset, header.size, data.data())) return std::nullopt;
            return data;
        }
        return std::nullopt;
    }

private:
    bool ReadHeader() {
        std::array<std::uint8_t, 64> h{};
        if (!file_.Read(0, 52, h.data())) return false;
        if (h[0] != 0x7F || h[1] != 'E' || h[2] != 'L' || h[3] != 'F') return false;
        wide_ = h[4] == 2;
        if (h[4] != 1 && h[4] != 2) return false;
        if (h[5] != 1 && h[5] != 2) return false;
        endian_.little = h[5] == 1;
        if (wide_ && !file_.Read(0, 64, h.data())) return false;
        shoff_ = wide_ ? endian_.Get(&h[0x28], 8) : endian_.Get(&h[0x20], 4);
        shentsize_ = endian_.Get(&h[wide_ ? 0x3A : 0x2E], 2);
        shnum_ = endian_.Get(&h[wide_ ? 0x3C : 0x30], 2);
        shstrndx_ = endian_.Get(&h[wide_ ? 0x3E : 0x32], 2);
        if (shoff_ == 0 || shentsize_ < (wide_ ? 64u : 40u)) return false;
        if (shnum_ == 0 || shstrndx_ == kExtendedIndex) {
            // Large section counts live in the first section header.
            shnum_ = std::max<std::uint64_t>(shnum_, 1);
            SectionHeader first;
            if (!ReadSectionHeader(0, first)) return false;
            if (endian_.Get(&h[wide_ ? 0x3C : 0x30], 2) == 0) shnum_ = first.size;
            if (shstrndx_ == kExtendedIndex) shstrndx_ = first.link;
        }
        // No more headers than the file can hold.
        return shnum_ <= file_.Size() / shentsize_;
    }

    bool ReadSectionHeader(std::uint64_t index, SectionHeader& out) {
        if (index >= shnum_) return false;
        std::array<std::uint8_t, 64> s{};
        const std::uint64_t size = wide_ ? 64 : 40;
        if (index > (UINT64_MAX - shoff_) / shentsize_) return false;
        if (!file_.Read(shoff_ + index * shentsize_, size, s.data())) return false;
        out.name = static_cast<std::uint32_t>(endian_.Get(&s[0], 4));
        out.type = static_cast<std::uint32_t>(endian_.Get(&s[4], 4));
        if (wide_) {
            out.offset = endian_.Get(&s[24], 8);
            out.size = endian_.Get(&s[32], 8);
            out.link = static_cast<std::uint32_t>(endian_.Get(&s[40], 4));
        } else {
            out.offset = endian_.Get(&s[16], 4);
            out.size = endian_.Get(&s[20], 4);
            out.link = static_cast<std::uint32_t>(endian_.Get(&s[24], 4));
        }
        return true;
    }

    FileBytes file_;
    Endian endian_;
    bool wide_ = true;
    std::uint64_t shoff_ = 0;
    std::uint64_t shentsize_ = 0;
    std::uint64_t shnum_ = 0;
    std::uint64_t shstrndx_ = 0;
};

// ---- Version block nodes -------------------------------------------------------

size_t Align4(size_t pos) { return (pos + 3) & ~static_cast<size_t>(3); }

// One node of a version block: length, value length, type (32-bit layout only),
// key, value and children, each part starting on a 32-bit boundary.
struct Node {
    size_t end = 0;
    std::string key;
    size_t valueStart = 0;
    size_t valueLength = 0;  // as stored: characters for texts of the 32-bit layout, else bytes
    size_t childrenStart = 0;
};

class BlockReader {
public:
    BlockReader(const std::uint8_t* block, size_t length) : b_(block), limit_(length) {
        wide_ = !(length > 4 && block[4] == 'V');
    }

    bool ReadNode(size_t start, size_t limit, Node& node) const {
        const size_t header = wide_ ? 6 : 4;
        if (start >= limit || limit - start < header) return false;
        const size_t length = Word(start);
        if (length < header) return false;
        node.end = std::min(start + length, limit);
        node.valueLength = Word(start + 2);
        const bool text = wide_ && Word(start + 4) == 1;
        size_t pos = start + header;
        node.key.clear();
        if (!ReadText(pos, node.end, node.key)) return false;
        node.valueStart = Align4(pos);
        const size_t valueBytes = text ? node.valueLength * 2 : node.valueLength;
        node.childrenStart = Align4(node.valueStart + valueBytes);
        return true;
    }

    // The zero-terminated text starting at `pos`, ending at the node's end at the latest.
    bool ReadText(size_t& pos, size_t end, std::string& out) const {
        const size_t unit = wide_ ? 2 : 1;
        while (pos + unit <= end) {
            const unsigned code = wide_ ? Word(pos) : b_[pos];
            pos += unit;
            if (code == 0) return true;
            out += code < 256 ? static_cast<char>(code) : '?';
        }
        return false;
    }

    size_t Limit() const { return limit_; }

private:
    unsigned Word(size_t at) const { return b_[at] | (static_cast<unsigned>(b_[at + 1]) << 8); }

    const std::uint8_t* b_;
    size_t limit_;
    bool wide_ = true;
};

std::string FileVersionPart(const std::string& key, const char* name) {
    return "\\StringFileInfo\\" + key + "\\" + name;
}

}  // namespace

std::optional<std::vector<std::uint8_t>> ReadElfSection(const std::string& fileName, std::string_view sectionName) {
    return ElfReader(fileName).Section(sectionName);
}

std::uint32_t GetFileVersionInfoSize(const std::string& fileName, std::uint32_t& handle) {
    handle = 0;
    const auto section = ReadElfSection(fileName, kVersionSectionName);
    if (!section || section->size() < 2) return 0;
    const std::uint32_t length = (*section)[0] | (static_cast<std::uint32_t>((*section)[1]) << 8);
    return std::min<std::uint32_t>(length, static_cast<std::uint32_t>(section->size()));
}

bool GetFileVersionInfo(const std::string& fileName, std::uint32_t /*handle*/, std::uint32_t length,
                        std::uint8_t* data) {
    std::uint32_t handle = 0;
    const std::uint32_t size = GetFileVersionInfoSize(fileName, handle);
    if (size == 0 || data == nullptr) return false;
    const auto section = ReadElfSection(fileName, kVersionSectionName);
    if (!section) return false;
    std::copy_n(section->begin(), std::min(size, length), data);
    return true;
}

bool VerQueryValue(const std::uint8_t* block, std::size_t length, std::string_view subBlock, std::string& value) {
    if (block == nullptr) return false;
    const BlockReader reader(block, length);
    Node node;
    if (!reader.ReadNode(0, reader.Limit(), node)) return false;
    size_t pos = 0;
    while (pos < subBlock.size()) {
        while (pos < subBlock.size() && subBlock[pos] == '\\') ++pos;
        const size_t next = std::min(subBlock.find('\\', pos), subBlock.size());
        const std::string_view part = subBlock.substr(pos, next - pos);
        pos = next;
        if (part.empty()) break;
        bool found = false;
        for (size_t child = node.childrenStart; child < node.end;) {
            Node candidate;
            if (!reader.ReadNode(child, node.end, candidate)) break;
            if (SameTextAscii(candidate.key, part)) {
                node = std::move(candidate);
                found = true;
                break;
            }
            child = Align4(candidate.end);
        }
        if (!found) return false;
    }
    value.clear();
    if (node.valueLength == 0) return true;
    size_t at = node.valueStart;
    std::string text;
    reader.ReadText(at, node.end, text);
    value = std::move(text);
    return true;
}

std::string GetVersionString(const std::string& fileName) {
    std::uint32_t handle = 0;
    const std::uint32_t size = GetFileVersionInfoSize(fileName, handle);
    if (size == 0) return {};
    std::array<std::uint8_t, kVersionBufferSize> buffer{};
    if (!GetFileVersionInfo(fileName, handle, kVersionBufferSize, buffer.data())) return {};

    // The key of the first string table, from its place in the standard layouts.
    std::string key;
    if (buffer[4] == 'V') {
        for (size_t i = 96; i <= 103; ++i) key += static_cast<char>(buffer[i]);
    } else {
        for (size_t i = 134; i <= 148; i += 2) key += static_cast<char>(buffer[i]);
    }
    key = key.substr(0, key.find('\0'));

    const size_t length = std::min<size_t>(size, kVersionBufferSize);
    std::string fileVersion;
    if (!VerQueryValue(buffer.data(), length, FileVersionPart(key, "FileVersion"), fileVersion)) return {};
    std::string text = fileVersion + " ";
    std::string status;
    if (VerQueryValue(buffer.data(), length, FileVersionPart(key, "Status"), status)) text += status;
    if (text.size() > kVersionTextRoom) text.resize(kVersionTextRoom);
    return text;
}

std::string GetFileDateString(const std::string& fileName) {
    struct stat info {};
    if (::stat(fileName.c_str(), &info) != 0) return {};
    std::tm local{};
    if (::localtime_r(&info.st_mtime, &local) == nullptr) return {};
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d-%02d-%02d", local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                  local.tm_hour, local.tm_min);
    return text;
}

std::string ProgramFilePath() {
    std::string path(4096, '\0');
    for (;;) {
        const ssize_t got = ::readlink("/proc/self/exe", path.data(), path.size());
        if (got < 0) return {};
        if (static_cast<size_t>(got) < path.size()) {
            path.resize(static_cast<size_t>(got));
            return path;
        }
        path.resize(path.size() * 2);
    }
}

}  // namespace zelk
