// Fuzzes the settings-file parser: any text parses, and what is read from it
// survives a write and a second parse unchanged.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "FuzzCheck.h"
#include "windowlogic/IniFile.h"

using zelk::fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const zelk::IniFile first = zelk::IniFile::FromText(text);
    const std::string written = first.Text();
    const zelk::IniFile second = zelk::IniFile::FromText(written);

    Check(second.Text() == written);
    Check(second.SectionNames() == first.SectionNames());
    for (const std::string& section : first.SectionNames()) {
        Check(second.SectionExists(section));
        const auto keys = first.KeyNames(section);
        Check(second.KeyNames(section) == keys);
        for (const std::string& key : keys) {
            Check(second.ReadString(section, key, "\x01") == first.ReadString(section, key, "\x01"));
            Check(second.ReadInteger(section, key, -7) == first.ReadInteger(section, key, -7));
            Check(second.ReadBool(section, key, true) == first.ReadBool(section, key, true));
        }
    }

    // The program's own keys, written over whatever the text holds, read back as written.
    zelk::IniFile edited = zelk::IniFile::FromText(text);
    edited.WriteInteger("Fenster", "X_Raster", 3);
    edited.WriteString("Anwendung", "Sprache", "en");
    edited.WriteBool("Anwendung", "Startwert", false);
    const zelk::IniFile reread = zelk::IniFile::FromText(edited.Text());
    Check(reread.ReadInteger("Fenster", "X_Raster", 0) == 3);
    Check(reread.ReadString("Anwendung", "Sprache", "") == "en");
    Check(!reread.ReadBool("Anwendung", "Startwert", true));
    return 0;
}
