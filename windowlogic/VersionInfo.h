#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zelk {

// The version block of a program file. The block lives in an ELF section of its
// own (see VersionBlock.h); these functions read it back by the file's path.

// Size in bytes of the file's version block; 0 when the file has none or cannot be
// read. `handle` is set to 0.
std::uint32_t GetFileVersionInfoSize(const std::string& fileName, std::uint32_t& handle);

// Copies the version block into `data`, at most `length` bytes (a longer block is
// cut). False when the file has no block or cannot be read.
bool GetFileVersionInfo(const std::string& fileName, std::uint32_t handle, std::uint32_t length, std::uint8_t* data);

// The zero-terminated text stored under `subBlock` ("\StringFileInfo\040704E4\FileVersion")
// in a block of `length` bytes, as single-byte text. False when there is none. Reads
// nothing outside the block.
bool VerQueryValue(const std::uint8_t* block, std::size_t length, std::string_view subBlock, std::string& value);

// The version label's text: the FileVersion of the first string table, a blank and
// the Status value when there is one; at most 100 characters. Empty when the file
// has no block or the block has no FileVersion under the key found at the fixed places.
std::string GetVersionString(const std::string& fileName);

// The file's last modification in local time as "YYYY-MM-DD-hh-mm"; empty when the
// file cannot be examined.
std::string GetFileDateString(const std::string& fileName);

// Full path of the running program file.
std::string ProgramFilePath();

// Contents of the named section of an ELF file; nothing when the file is no ELF
// file or lacks the section.
std::optional<std::vector<std::uint8_t>> ReadElfSection(const std::string& fileName, std::string_view sectionName);

inline constexpr std::uint32_t kVersionBufferSize = 5000;
inline constexpr std::size_t kVersionTextRoom = 100;

}  // namespace zelk
