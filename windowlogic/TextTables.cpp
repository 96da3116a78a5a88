#include "windowlogic/TextTables.h"

#include "data/Language.h"

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
    // clang-format off
    t.prefsButton1 = "\xFC" "bernehmen";
    // clang-format on
    t.prefsButton2 = "Abbruch";
    t.MmolUnitText = "mmol/l";
    t.MgUnitText = "mg/dl";
    t.folderCaption = "Verzeichnis w\xE4hlen";
    t.folderMissing = "Das Verzeichnis \"%1\" existiert nicht. Soll es erstellt werden?";
    t.folderNotCreated = "Das Verzeichnis \"%1\" kann nicht erstellt werden: %2.";
    t.helpNotFound = "Hilfe.htm nicht gefunden!";
    t.sensorChartTitle = "Sensordaten";
    t.settingsFile = "Die Einstellungsdatei";
    t.settingsCannotRead = "kann nicht gelesen werden";
    t.settingsCannotWrite = "kann nicht geschrieben werden";
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
    t.folderCaption = "Select folder";
    t.folderMissing = "The folder \"%1\" does not exist. Create it?";
    t.folderNotCreated = "The folder \"%1\" cannot be created: %2.";
    t.helpNotFound = "found not help.htm!";
    t.sensorChartTitle = "Sensor data";
    t.settingsFile = "The settings file";
    t.settingsCannotRead = "cannot be read";
    t.settingsCannotWrite = "cannot be written";
    return t;
}

FixedTextTable MakeFixed() {
    FixedTextTable t;
    t.menuTabellen = "Tabellen";
    t.pidLabel = "PID";
    t.readoutCaption = "l_Coursor";
    t.importCaption = "Datenimport";
    t.importFilterSensor = "Sensordaten (*.txt)";
    t.importFilterAll = "alle Dateien (*)";
    t.sensorRaster = "Raster";
    t.sensorArt = "Daten f\xFCr";
    t.sensorMesswerte = "Messwerte";
    t.sensorVergleichswerte = "Vergleichswerte";
    t.tabellenCaption = "Tabellen";
    t.tabellenSensorTab = "SensorTab";
    t.tabellenWerteTab = "WerteTab";
    t.navFirst = "Erster Datensatz";
    t.navPrior = "Vorheriger Datensatz";
    // clang-format off
    t.navNext = "N\xE4" "chster Datensatz";
    // clang-format on
    t.navLast = "Letzter Datensatz";
    t.confirmCaption = "Best\xE4tigen";
    t.confirmDelete = "Datensatz l\xF6schen?";
    t.notAnInteger = " ist kein g\xFCltiger Integerwert";
    t.notAFloat = " ist kein g\xFCltiger Gleitkommawert";
    t.aboutCaption = "Info";
    t.aboutOk = "OK";
    t.aboutComments = "ZURAN";
    t.aboutLabel1 = "Orvena ";
    t.aboutLabel2 = "\"Dolvek Anstrum\"";
    t.aboutLabel3 = "Brevonne";
    t.aboutLabel4 = "\xAE ";
    t.aboutLabel5 = "Tavrik Version";
    t.settingsDefaults = "Das Programm startet mit den Grundeinstellungen.";
    return t;
}

}  // namespace

const TextTable& GermanTexts() {
    static const TextTable table = MakeGerman();
    return table;
}

const TextTable& EnglishTexts() {
    static const TextTable table = MakeEnglish();
    return table;
}

const FixedTextTable& FixedTexts() {
    static const FixedTextTable table = MakeFixed();
    return table;
}

const TextTable& TextsFor(std::string_view language) {
    return IsEnglishCode(language) ? EnglishTexts() : GermanTexts();
}

}  // namespace zelk
