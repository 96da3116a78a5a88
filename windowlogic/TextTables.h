#pragma once

#include <string>
#include <string_view>

namespace zelk {

// Every text that switches with the language; fields 1 to 44 in the order the
// language switch assigns them.
// Texts are single-byte (Windows-1252); AmplitudeHeader starts with the byte 0xC4,
// which the results grid's Greek character set shows as a capital Delta.
struct TextTable {
    std::string mainCaption;         // 1
    std::string menuDatei;           // 2
    std::string menuAnsicht;         // 3
    std::string menuInfo;            // 4
    std::string menuImport;          // 5
    std::string menuBeenden;         // 6
    std::string menuSprache;         // 7
    std::string menuDeutsch;         // 8
    std::string menuEnglisch;        // 9
    std::string menu5min;            // 10
    std::string menu15min;           // 11
    std::string menuBreitbild;       // 12
    std::string button1;             // 13
    std::string label1;              // 14
    std::string label2;              // 15
    std::string label3;              // 16
    std::string DayHeader;           // 17
    std::string TimeHeader;          // 18
    std::string PeakHeader;          // 19
    std::string NadirHeader;         // 20
    std::string AmplitudeHeader;     // 21
    std::string WrongFileText;       // 22
    std::string ImportErrorText;     // 23
    std::string cbStartwert;         // 24
    std::string cbEndwert;           // 25
    std::string sensorCaption;       // 26
    std::string sensorLabel1;        // 27
    std::string sensorButton3;       // 28
    std::string sensorButton2;       // 29
    std::string sensorButton1;       // 30
    std::string sensorCharTag;       // 31
    std::string NoDateMessage;       // 32
    std::string chartCaption;        // 33
    std::string menuAutom;           // 34
    std::string menuHilfe1;          // 35
    std::string menuHelp;            // 36
    std::string menuVoreinstellung;  // 37
    std::string prefsCaption;        // 38
    std::string prefsImport;         // 39
    std::string prefsAnzeige;        // 40
    std::string prefsButton1;        // 41
    std::string prefsButton2;        // 42
    std::string MmolUnitText;        // 43
    std::string MgUnitText;          // 44

    // Texts read where they are used rather than applied by the language switch.
    std::string folderCaption;     // folder dialog of the batch
    std::string folderMissing;     // %1: the folder
    std::string folderNotCreated;  // %1: the folder, %2: the reason
    std::string helpNotFound;
    std::string sensorChartTitle;  // title of the day preview chart
    std::string settingsFile;      // followed by the quoted path
    std::string settingsCannotRead;
    std::string settingsCannotWrite;
};

// Texts the design keeps in German whatever the language.
struct FixedTextTable {
    std::string menuTabellen;
    std::string pidLabel;
    std::string readoutCaption;  // the readout label before the first pointer move
    std::string importCaption;
    std::string importFilterSensor;
    std::string importFilterAll;
    std::string sensorRaster;
    std::string sensorArt;
    std::string sensorMesswerte;
    std::string sensorVergleichswerte;
    std::string tabellenCaption;
    std::string tabellenSensorTab;
    std::string tabellenWerteTab;
    std::string navFirst;
    std::string navPrior;
    std::string navNext;
    std::string navLast;
    std::string confirmCaption;
    std::string confirmDelete;
    std::string notAnInteger;  // follows the quoted cell text
    std::string notAFloat;     // follows the quoted cell text
    std::string aboutCaption;
    std::string aboutOk;
    std::string aboutComments;
    std::string aboutLabel1;
    std::string aboutLabel2;
    std::string aboutLabel3;
    std::string aboutLabel4;
    std::string aboutLabel5;
    std::string settingsDefaults;  // after a failed read of the settings file
};

const TextTable& GermanTexts();
const TextTable& EnglishTexts();
const FixedTextTable& FixedTexts();

// English for "en" exactly, German for every other code.
const TextTable& TextsFor(std::string_view language);

}  // namespace zelk
