#include "windowlogic/TextTables.h"

namespace zelk {
namespace {

TextTable MakeGerman() {
    TextTable t;
    t.mainCaption = "Berechnung ZELK";
    t.menuDatei = "Datei";
    t.menuAnsicht = "Ansicht";
    t.menuInfo = "Info";
    t.menuImport = "Import Sensordaten";
    t.menuBeenden = "Beenden";
    t.menuSprache = "Sprache";
    t.menuDeutsch = "Deutsch";
    t.menuEnglisch = "Englisch";
    t.menu5min = "5 min Raster";
    t.menu15min = "15 min Raster";
    t.menuBreitbild = "Breitbild";
    t.button1 = "Berechne";
    t.label1 = "Mittelwert";
    t.label2 = "Standardabweichung";
    t.label3 = "ZELK";
    t.DayHeader = "Tag";
    t.TimeHeader = "Zeit";
    t.PeakHeader = "BG Peak";
    t.NadirHeader = "BG Nadir";
    t.AmplitudeHeader = "\xC4G > 1 SD";
    t.WrongFileText = "Falsche Sensordatei!";
    t.ImportErrorText = "Fehler beim Import der Sensordaten! ";
    t.cbStartwert = "Startwert einbeziehen";
    t.cbEndwert = "Endwert einbeziehen";
    t.sensorCaption = "Sensordaten";
    t.sensorLabel1 = "Datum";
    t.sensorButton3 = "Kurven";
    t.sensorButton2 = "Abbruch";
    t.sensorButton1 = "weiter";
    t.sensorCharTag = "Bitte Datei mit einem charakt. Tag verwenden!";
    t.NoDateMessage = "Zuerst ein Datum ausw\xE4hlen";
    t.chartCaption = "BG - Werte";
    t.menuAutom = "Autom. Berechnung";
    t.menuHilfe1 = "Hilfe";
    t.menuHelp = "Hilfe";
    t.menuVoreinstellung = "Voreinstellung";
    t.prefsCaption = "Voreinstellungen";
    t.prefsImport = "Importdaten";
    t.prefsAnzeige = "Anzeige";
    t.prefsButton1 = "\xFC" "bernehmen";
    t.prefsButton2 = "Abbruch";
    t.MmolUnitText = "mmol/l";
    t.MgUnitText = "mg/dl";
    return t;
}

TextTable MakeEnglish() {
    TextTable t;
    t.mainCaption = "Calculation of ZELK";
    t.menuDatei = "File";
    t.menuAnsicht = "View";
    t.menuInfo = "About";
    t.menuImport = "Import sensor data";
    t.menuBeenden = "Quit";
    t.menuSprache = "Language";
    t.menuDeutsch = "German";
    t.menuEnglisch = "English";
    t.menu5min = "5 min grid";
    t.menu15min = "15 min grid";
    t.menuBreitbild = "Widescreen";
    t.button1 = "Calculate";
    t.label1 = "Mean Glucose";
    t.label2 = "Standard deviation";
    t.label3 = "ZELK";
    t.DayHeader = "Day";
    t.TimeHeader = "Time";
    t.PeakHeader = "G peak";
    t.NadirHeader = "G nadir";
    t.AmplitudeHeader = "\xC4G > 1 SD";
    t.WrongFileText = "Wrong sensor file!";
    t.ImportErrorText = "Error when importing the sensor data! ";
    t.cbStartwert = "Include start value";
    t.cbEndwert = "Include full scale";
    t.sensorCaption = "Sensor data";
    t.sensorLabel1 = "Date";
    t.sensorButton3 = "Curves";
    t.sensorButton2 = "abort";
    t.sensorButton1 = "along";
    t.sensorCharTag = "Please file with a typical days use!";
    t.NoDateMessage = "First, select a date";
    t.chartCaption = "G - Values";
    t.menuAutom = "Auto calculation";
    t.menuHilfe1 = "Help";
    t.menuHelp = "Help";
    t.menuVoreinstellung = "Preferences";
    t.prefsCaption = "Preferences";
    t.prefsImport = "Import data";
    t.prefsAnzeige = "View";
    t.prefsButton1 = "Ok";
    t.prefsButton2 = "Cancel";
    t.MmolUnitText = "mmol/L";
    t.MgUnitText = "mg/dL";
    return t;
}

void AppendUtf8(std::string& out, unsigned code) {
    if (code < 0x80) {
        out.push_back(static_cast<char>(code));
    } else if (code < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (code >> 6)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xE0 | (code >> 12)));
        out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
}

// Code points of bytes 0x80 to 0x9F in Windows-1252 (0 where the byte is unused).
constexpr unsigned kCp1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

}  // namespace

const TextTable& GermanTexts() {
    static const TextTable table = MakeGerman();
    return table;
}

const TextTable& EnglishTexts() {
    static const TextTable table = MakeEnglish();
    return table;
}

const TextTable& TextsFor(std::string_view language) { return language == "en" ? EnglishTexts() : GermanTexts(); }

std::string AnsiToUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (c >= 0x80 && c <= 0x9F) {
            const unsigned code = kCp1252High[c - 0x80];
            AppendUtf8(out, code != 0 ? code : c);
        } else {
            AppendUtf8(out, c);
        }
    }
    return out;
}

std::string GreekToUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        // Windows-1253: 0xC1..0xFE are the Greek letters from U+0391 on (0xD2 unused).
        if (c >= 0xC1 && c <= 0xFE && c != 0xD2)
            AppendUtf8(out, 0x0391 + (c - 0xC1));
        else if (c >= 0x80)
            AppendUtf8(out, c);
        else
            out.push_back(static_cast<char>(c));
    }
    return out;
}

}  // namespace zelk
