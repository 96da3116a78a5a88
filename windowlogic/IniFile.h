#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "data/Errors.h"

namespace zelk {

// A settings file that exists but cannot be read, or cannot be written. The
// message names the path and the reason.
class SettingsFileError : public ZelkError {
public:
    SettingsFileError(std::string path, std::string reason, bool reading);

    const std::string& Path() const { return path_; }
    const std::string& Reason() const { return reason_; }
    bool Reading() const { return reading_; }

private:
    std::string path_;
    std::string reason_;
    bool reading_;
};

// The settings file in memory: sections of lines, read whole and written back
// whole. Sections and keys are found without regard to letter case; blanks around
// section names, keys and values are trimmed on reading; empty lines, lines
// starting with ";" and lines before the first section are dropped. Lines are
// single-byte text; the file is written with CR LF line ends.
class IniFile {
public:
    // Reads the whole file; a missing file reads as empty. Raises
    // SettingsFileError when the file exists but cannot be read or is not a
    // regular file.
    explicit IniFile(std::string path);

    // A settings file made from text, with no file behind it.
    static IniFile FromText(std::string_view text);

    const std::string& FileName() const { return path_; }

    std::string ReadString(std::string_view section, std::string_view key, std::string_view fallback) const;
    // Decimal, or hexadecimal after "0x"/"0X"; any other text gives the fallback.
    int ReadInteger(std::string_view section, std::string_view key, int fallback) const;
    // Read as an integer: 0 is false, any other integer true.
    bool ReadBool(std::string_view section, std::string_view key, bool fallback) const;

    // A key already present keeps its place (its line takes the key as written
    // here); a new key goes to the end of its section, a new section to the end.
    void WriteString(std::string_view section, std::string_view key, std::string_view value);
    void WriteInteger(std::string_view section, std::string_view key, int value);
    void WriteBool(std::string_view section, std::string_view key, bool value);

    bool SectionExists(std::string_view section) const;
    // Section names in file order, and the keys of a section in order.
    std::vector<std::string> SectionNames() const;
    std::vector<std::string> KeyNames(std::string_view section) const;

    // The text the file is written with.
    std::string Text() const;

    // Writes the file as WriteFileAtomically does. Raises SettingsFileError when
    // that fails; the old file then stays as it was.
    void UpdateFile() const;

private:
    struct Section {
        std::string name;
        std::vector<std::string> lines;  // "key=value", or a line without "="
    };

    IniFile() = default;
    void Parse(std::string_view text);
    const Section* FindSection(std::string_view name) const;
    Section* FindSection(std::string_view name);
    // Index of the first line whose key is `key`, -1 when none.
    static int FindKey(const Section& section, std::string_view key);

    std::string path_;
    std::vector<Section> sections_;
};

// Writes `text` to `path` through a temporary file in the same folder renamed over
// the old file; a symbolic link is written through to its target and stays. A file
// that is write-protected (not writable for this user, or without any write
// permission) or not a regular file is not replaced. Where the folder takes no new
// file, an existing file is rewritten in place, keeping its old text when that fails.
// Temporary files that earlier saves stopped by a kill left behind are removed.
// Raises SettingsFileError naming the path and the reason.
void WriteFileAtomically(const std::string& path, std::string_view text);

}  // namespace zelk
