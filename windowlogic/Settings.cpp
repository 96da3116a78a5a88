#include "windowlogic/Settings.h"

#include "data/Language.h"
#include "windowlogic/GridMenu.h"
#include "windowlogic/IniFile.h"
#include "windowlogic/TextTables.h"

namespace zelk {
namespace {

constexpr std::string_view kFenster = "Fenster";
constexpr std::string_view kAnwendung = "Anwendung";
constexpr std::string_view kPrefs = "Prefs";

// The widest grid the layout takes: 288 points of 12 pixels are a window about
// 3,500 pixels wide.
constexpr int kWidestRaster = 12;

// Which file failed, whether reading or writing, and why.
std::string FileFailureText(const SettingsFileError& error, const TextTable& t, bool reading) {
    const std::string& what = reading ? t.settingsCannotRead : t.settingsCannotWrite;
    return t.settingsFile + " \"" + error.Path() + "\" " + what + ": " + error.Reason() + ".";
}

std::string ReadFailureText(const SettingsFileError& error) {
    return FileFailureText(error, GermanTexts(), true) + " " + FixedTexts().settingsDefaults;
}

// A save reads the file before it writes it; the message says which of the two failed.
std::string SaveFailureText(const SettingsFileError& error, std::string_view language) {
    return FileFailureText(error, TextsFor(language), error.Reading());
}

// Reads the file, lets `write` change it and writes it back whole.
template <typename Write>
std::optional<std::string> UpdateSettings(const MainState& state, Write write) {
    try {
        IniFile file(state.IniPath);
        write(file);
        file.UpdateFile();
    } catch (const SettingsFileError& error) {
        return SaveFailureText(error, state.Sprache);
    }
    return std::nullopt;
}

}  // namespace

int LimitRadioIndex(int index, int items) {
    if (index >= items) return items - 1;
    return index < 0 ? -1 : index;
}

std::string IniPathFor(std::string_view programPath) {
    const size_t slash = programPath.rfind('/');
    const size_t nameStart = slash == std::string_view::npos ? 0 : slash + 1;
    const size_t dot = programPath.rfind('.');
    // A dot that starts the file name marks a hidden file, not an extension.
    const bool hasExtension = dot != std::string_view::npos && dot > nameStart;
    std::string path(programPath.substr(0, hasExtension ? dot : programPath.size()));
    return path + ".ini";
}

std::optional<std::string> LoadSettings(MainState& state, WindowPlace& place, std::string_view programPath) {
    state.IniPath = IniPathFor(programPath);
    std::optional<std::string> problem;
    IniFile file = IniFile::FromText({});
    try {
        file = IniFile(state.IniPath);
    } catch (const SettingsFileError& error) {
        problem = ReadFailureText(error);
    }

    int raster = file.ReadInteger(kFenster, "X_Raster", kRaster15);
    place.top = file.ReadInteger(kFenster, "Top", place.top);
    place.left = file.ReadInteger(kFenster, "Left", place.left);
    state.Sprache = file.ReadString(kAnwendung, "Sprache", kGermanCode);
    state.cb_Startwert = file.ReadBool(kAnwendung, "Startwert", true);
    state.cb_Endwert = file.ReadBool(kAnwendung, "Endwert", true);
    state.rg_Import = LimitRadioIndex(file.ReadInteger(kPrefs, "Import", 0));
    state.rg_Anzeige = LimitRadioIndex(file.ReadInteger(kPrefs, "Anzeige", 0));

    // The wide view is never restored; a width of no pixels would stop the layout,
    // and a huge one would make the window wider than any screen.
    if (raster == kWideRaster) raster = kRaster5;
    if (raster <= 0 || raster > kWidestRaster) raster = kRaster15;
    state.X_Raster = raster;
    if (raster == kRaster5) {
        state.Breitbild1 = false;
        ChooseFiveMinuteGrid(state);
    } else if (raster == kRaster15) {
        ChooseFifteenMinuteGrid(state);
    }
    state.Breitbild1Enabled = false;
    return problem;
}

void SetLanguageMenu(MainState& state) {
    state.de1 = IsGermanCode(state.Sprache);
    state.en1 = !state.de1;
}

std::optional<std::string> SaveSettings(const MainState& state, const WindowPlace& place) {
    return UpdateSettings(state, [&](IniFile& file) {
        file.WriteInteger(kFenster, "X_Raster", state.X_Raster);
        file.WriteInteger(kFenster, "Top", place.top);
        file.WriteInteger(kFenster, "Left", place.left);
        file.WriteString(kAnwendung, "Sprache", state.Sprache);
        file.WriteBool(kAnwendung, "Startwert", state.cb_Startwert);
        file.WriteBool(kAnwendung, "Endwert", state.cb_Endwert);
    });
}

std::optional<std::string> SavePrefs(const MainState& state) {
    return UpdateSettings(state, [&](IniFile& file) {
        file.WriteInteger(kPrefs, "Import", state.rg_Import);
        file.WriteInteger(kPrefs, "Anzeige", state.rg_Anzeige);
    });
}

bool LoadPrefs(MainState& state) {
    try {
        const IniFile file(state.IniPath);
        state.rg_Import = LimitRadioIndex(file.ReadInteger(kPrefs, "Import", 0));
        state.rg_Anzeige = LimitRadioIndex(file.ReadInteger(kPrefs, "Anzeige", 0));
        return true;
    } catch (const SettingsFileError&) {
        return false;
    }
}

}  // namespace zelk
