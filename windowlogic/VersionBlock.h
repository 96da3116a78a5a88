#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace zelk {

// One entry of the string table of a version block.
struct VersionStringEntry {
    std::string_view key;
    std::string_view value;
};

// What a version block holds: the fixed part's versions, one string table and the
// translation entry.
struct VersionBlockContents {
    std::array<std::uint16_t, 4> fileVersion{};
    std::array<std::uint16_t, 4> productVersion{};
    std::string_view tableKey = "040704E4";  // language 0x0407, code page 1252 (hex)
    std::uint16_t language = 0x0407;
    std::uint16_t codePage = 1252;
    const VersionStringEntry* strings = nullptr;
    std::size_t stringCount = 0;
    // false: the 16-bit layout with single-byte keys and texts
    bool wide = true;
};

// Bytes of a version block, built in a buffer of fixed capacity; usable at compile
// time, so that the program can carry its block as constant data.
template <std::size_t Capacity>
struct VersionBlockBytes {
    std::array<std::uint8_t, Capacity> data{};
    std::size_t size = 0;
    bool overflow = false;

    constexpr void Put8(std::uint8_t byte) {
        if (size < Capacity)
            data[size++] = byte;
        else
            overflow = true;
    }
    constexpr void Put16(std::uint16_t value) {
        Put8(static_cast<std::uint8_t>(value & 0xFF));
        Put8(static_cast<std::uint8_t>(value >> 8));
    }
    constexpr void Put32(std::uint32_t value) {
        Put16(static_cast<std::uint16_t>(value & 0xFFFF));
        Put16(static_cast<std::uint16_t>(value >> 16));
    }
    constexpr void Align4() {
        while (size % 4 != 0) Put8(0);
    }
    constexpr void Patch16(std::size_t at, std::size_t value) {
        if (at + 1 < Capacity) {
            data[at] = static_cast<std::uint8_t>(value & 0xFF);
            data[at + 1] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
        }
    }
};

namespace version_block_detail {

inline constexpr std::uint32_t kSignature = 0xFEEF04BD;
inline constexpr std::uint32_t kStrucVersion = 0x00010000;
inline constexpr std::uint32_t kFileFlagsMask = 0x3F;
inline constexpr std::uint32_t kOsWindows32 = 0x4;
inline constexpr std::uint32_t kTypeApp = 0x1;
inline constexpr std::uint16_t kFixedPartSize = 52;

// Writes text the way the layout keeps it: UTF-16 (bytes as code units) or bytes,
// with the terminating zero.
template <std::size_t N>
constexpr void PutText(VersionBlockBytes<N>& out, std::string_view text, bool wide) {
    for (const char c : text) {
        if (wide)
            out.Put16(static_cast<std::uint8_t>(c));
        else
            out.Put8(static_cast<std::uint8_t>(c));
    }
    if (wide)
        out.Put16(0);
    else
        out.Put8(0);
}

// Starts a node: length (patched by EndNode), value length, type (wide layout
// only) and key, padded to 32 bits. Returns the node's start.
template <std::size_t N>
constexpr std::size_t BeginNode(VersionBlockBytes<N>& out, std::string_view key, std::uint16_t valueLength,
                                std::uint16_t type, bool wide) {
    out.Align4();
    const std::size_t start = out.size;
    out.Put16(0);
    out.Put16(valueLength);
    if (wide) out.Put16(type);
    PutText(out, key, wide);
    out.Align4();
    return start;
}

template <std::size_t N>
constexpr void EndNode(VersionBlockBytes<N>& out, std::size_t start) {
    out.Patch16(start, out.size - start);
}

constexpr std::uint32_t High(const std::array<std::uint16_t, 4>& v) {
    return (static_cast<std::uint32_t>(v[0]) << 16) | v[1];
}
constexpr std::uint32_t Low(const std::array<std::uint16_t, 4>& v) {
    return (static_cast<std::uint32_t>(v[2]) << 16) | v[3];
}

}  // namespace version_block_detail

// Builds the version block: the root "VS_VERSION_INFO" with the 52-byte fixed
// part, then "StringFileInfo" (first child) with one string table, then
// "VarFileInfo" with the translation.
template <std::size_t Capacity>
constexpr VersionBlockBytes<Capacity> BuildVersionBlock(const VersionBlockContents& contents) {
    using namespace version_block_detail;
    VersionBlockBytes<Capacity> out;
    const bool wide = contents.wide;
    const std::size_t root = BeginNode(out, "VS_VERSION_INFO", kFixedPartSize, 0, wide);
    out.Put32(kSignature);
    out.Put32(kStrucVersion);
    out.Put32(High(contents.fileVersion));
    out.Put32(Low(contents.fileVersion));
    out.Put32(High(contents.productVersion));
    out.Put32(Low(contents.productVersion));
    out.Put32(kFileFlagsMask);
    out.Put32(0);  // flags
    out.Put32(kOsWindows32);
    out.Put32(kTypeApp);
    out.Put32(0);  // subtype
    out.Put32(0);  // date, high
    out.Put32(0);  // date, low

    const std::size_t stringInfo = BeginNode(out, "StringFileInfo", 0, 1, wide);
    const std::size_t table = BeginNode(out, contents.tableKey, 0, 1, wide);
    for (std::size_t i = 0; i < contents.stringCount; ++i) {
        const VersionStringEntry& entry = contents.strings[i];
        // Text length with its zero: in characters (wide) or bytes.
        const auto valueLength = static_cast<std::uint16_t>(entry.value.size() + 1);
        const std::size_t node = BeginNode(out, entry.key, valueLength, 1, wide);
        PutText(out, entry.value, wide);
        EndNode(out, node);
    }
    EndNode(out, table);
    EndNode(out, stringInfo);

    const std::size_t varInfo = BeginNode(out, "VarFileInfo", 0, 1, wide);
    const std::size_t translation = BeginNode(out, "Translation", 4, 0, wide);
    out.Put16(contents.language);
    out.Put16(contents.codePage);
    EndNode(out, translation);
    EndNode(out, varInfo);
    EndNode(out, root);
    return out;
}

// The built bytes in an array of exactly their size.
template <std::size_t Size, std::size_t Capacity>
constexpr std::array<std::uint8_t, Size> TrimVersionBlock(const VersionBlockBytes<Capacity>& bytes) {
    std::array<std::uint8_t, Size> out{};
    for (std::size_t i = 0; i < Size; ++i) out[i] = bytes.data[i];
    return out;
}

// Name of the ELF section that carries a program's version block.
inline constexpr std::string_view kVersionSectionName = "zelk_version";

}  // namespace zelk
