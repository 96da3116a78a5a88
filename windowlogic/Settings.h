#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "windowlogic/MainState.h"

namespace zelk {

// The main window's place on the screen (its frame's top and left, screen pixels).
struct WindowPlace {
    int top = 114;
    int left = 246;
};

// The settings file beside the program file: the program file's path with its
// extension replaced by ".ini" ("zelk" gives "zelk.ini").
std::string IniPathFor(std::string_view programPath);

// Reads the settings at start-up: sets IniPath from the program file's path, then
// X_Raster with the grid menu's check marks, the window place (the values passed
// in are the defaults), Sprache, cb_Startwert, cb_Endwert, rg_Import and
// rg_Anzeige. A stored X_Raster of 6 becomes 3, one of 0 or below or above 12 becomes 4; the
// unit choices are limited to -1 (none) .. 1. The language itself is left to the
// caller: SetLanguage(state.Sprache), then SetLanguageMenu(state).
// When the file exists but cannot be read, everything takes its default and the
// result is the message to show once (UTF-8: ASCII text and the path's bytes).
std::optional<std::string> LoadSettings(MainState& state, WindowPlace& place, std::string_view programPath);

// Check marks of the language menu: "Deutsch" for "de", "Englisch" for any other code.
void SetLanguageMenu(MainState& state);

// Writes the sections "Fenster" and "Anwendung" into the file at IniPath, keeping
// everything else in it. Returns the message to show when the file cannot be read
// or written (the file then stays as it was).
std::optional<std::string> SaveSettings(const MainState& state, const WindowPlace& place);

// Writes the section "Prefs" from rg_Import and rg_Anzeige; result as SaveSettings.
std::optional<std::string> SavePrefs(const MainState& state);

// Reads "Prefs" into rg_Import and rg_Anzeige (default 0, limited to -1 .. 1).
// Returns false, leaving both unchanged, when the file exists but cannot be read.
bool LoadPrefs(MainState& state);

// The item index a radio group of `items` entries takes: at or above the count the
// last item, below 0 none (-1).
int LimitRadioIndex(int index, int items = 2);

}  // namespace zelk
