#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <memory>

#include "tests/common/ScratchFolder.h"
#include "windowlogic/Settings.h"

namespace zelk {
namespace {

namespace fs = std::filesystem;

// A program folder of its own: the program file "zelk" and its settings file.
class SettingsTest : public ::testing::Test {
protected:
    void WriteIni(const std::string& text) const { test::WriteFileBytes(ini_, text); }
    std::string ReadIni() const { return test::ReadFileBytes(ini_); }
    // Loads into a fresh state and place, as at start-up.
    std::optional<std::string> Load() {
        state_ = std::make_unique<MainState>();
        place_ = WindowPlace{};
        auto problem = LoadSettings(*state_, place_, program_);
        SetLanguageMenu(*state_);
        return problem;
    }

    const test::ScratchFolder folder_{"zelk_settings"};
    const std::string program_ = folder_.File("zelk");
    const std::string ini_ = folder_.File("zelk.ini");
    std::unique_ptr<MainState> state_;
    WindowPlace place_;
};

TEST(IniPath, ExtensionReplacedByIni) {
    EXPECT_EQ(IniPathFor("/opt/zelk/zelk"), "/opt/zelk/zelk.ini");
    EXPECT_EQ(IniPathFor("/opt/zelk/zelk.exe"), "/opt/zelk/zelk.ini");
    EXPECT_EQ(IniPathFor("/opt/v1.2/zelk"), "/opt/v1.2/zelk.ini");
    EXPECT_EQ(IniPathFor("/opt/zelk.tar.gz"), "/opt/zelk.tar.ini");
    EXPECT_EQ(IniPathFor("/opt/.zelk"), "/opt/.zelk.ini");
    EXPECT_EQ(IniPathFor("zelk"), "zelk.ini");
}

TEST(RadioIndex, LimitedToTheItems) {
    EXPECT_EQ(LimitRadioIndex(5), 1);
    EXPECT_EQ(LimitRadioIndex(1), 1);
    EXPECT_EQ(LimitRadioIndex(0), 0);
    EXPECT_EQ(LimitRadioIndex(-1), -1);
    EXPECT_EQ(LimitRadioIndex(-3), -1);
}

TEST_F(SettingsTest, FirstRunGivesDefaultsAndTheFileHoldsTwoSections) {
    EXPECT_FALSE(Load());
    EXPECT_EQ(state_->IniPath, ini_);
    EXPECT_EQ(state_->X_Raster, 4);
    EXPECT_EQ(place_.top, 114);
    EXPECT_EQ(place_.left, 246);
    EXPECT_EQ(state_->Sprache, "de");
    EXPECT_TRUE(state_->cb_Startwert);
    EXPECT_TRUE(state_->cb_Endwert);
    EXPECT_EQ(state_->rg_Import, 0);
    EXPECT_EQ(state_->rg_Anzeige, 0);
    EXPECT_TRUE(state_->N15minRaster1);
    EXPECT_FALSE(state_->N5minRaster1);
    EXPECT_FALSE(state_->Breitbild1Enabled);
    EXPECT_TRUE(state_->de1);
    EXPECT_FALSE(state_->en1);
    EXPECT_FALSE(fs::exists(ini_));  // nothing is written before the first save

    EXPECT_FALSE(SaveSettings(*state_, place_));
    EXPECT_EQ(ReadIni(),
              "[Fenster]\r\nX_Raster=4\r\nTop=114\r\nLeft=246\r\n\r\n"
              "[Anwendung]\r\nSprache=de\r\nStartwert=1\r\nEndwert=1\r\n\r\n");
}

TEST_F(SettingsTest, PrefsConfirmedBeforeTheFileExistsComeFirst) {
    Load();
    state_->rg_Import = 1;
    state_->rg_Anzeige = 0;
    EXPECT_FALSE(SavePrefs(*state_));
    state_->cb_Endwert = false;
    place_ = {300, 20};
    EXPECT_FALSE(SaveSettings(*state_, place_));
    EXPECT_EQ(ReadIni(),
              "[Prefs]\r\nImport=1\r\nAnzeige=0\r\n\r\n"
              "[Fenster]\r\nX_Raster=4\r\nTop=300\r\nLeft=20\r\n\r\n"
              "[Anwendung]\r\nSprache=de\r\nStartwert=1\r\nEndwert=0\r\n\r\n");
    // Each save reads the file first, so neither loses what the other wrote.
    state_->rg_Anzeige = 1;
    EXPECT_FALSE(SavePrefs(*state_));
    EXPECT_NE(ReadIni().find("Endwert=0\r\n"), std::string::npos);
    EXPECT_NE(ReadIni().find("Anzeige=1\r\n"), std::string::npos);
}

TEST_F(SettingsTest, WideViewIsReadAsTheFiveMinuteGrid) {
    WriteIni("[Fenster]\r\nX_Raster=6\r\n");
    Load();
    EXPECT_EQ(state_->X_Raster, 3);
    EXPECT_TRUE(state_->N5minRaster1);
    EXPECT_FALSE(state_->N15minRaster1);
    EXPECT_FALSE(state_->Breitbild1);
    EXPECT_FALSE(state_->Breitbild1Enabled);
    SaveSettings(*state_, place_);
    EXPECT_NE(ReadIni().find("X_Raster=3\r\n"), std::string::npos);
}

TEST_F(SettingsTest, GridWidthValues) {
    WriteIni("[Fenster]\r\nX_Raster=0x4\r\n");
    Load();
    EXPECT_EQ(state_->X_Raster, 4);
    EXPECT_TRUE(state_->N15minRaster1);

    WriteIni("[Fenster]\r\nX_Raster=3\r\n");
    Load();
    EXPECT_EQ(state_->X_Raster, 3);
    EXPECT_TRUE(state_->N5minRaster1);

    // No pixels, or fewer, would stop the layout, and a huge width makes a window
    // wider than any screen (288 * 2147483647 + 83 does not even fit an int): the
    // default takes their place.
    for (const char* stored : {"0", "-2", "13", "100000", "2147483647", "0x7FFFFFFF", "-2147483648"}) {
        WriteIni(std::string("[Fenster]\r\nX_Raster=") + stored + "\r\n");
        Load();
        EXPECT_EQ(state_->X_Raster, 4) << stored;
        EXPECT_TRUE(state_->N15minRaster1) << stored;
    }

    // Another value up to 12 stays, with the menu as the window description sets it.
    for (const int stored : {1, 5, 12}) {
        WriteIni("[Fenster]\r\nX_Raster=" + std::to_string(stored) + "\r\n");
        Load();
        EXPECT_EQ(state_->X_Raster, stored);
        EXPECT_TRUE(state_->N15minRaster1);
        EXPECT_FALSE(state_->N5minRaster1);
    }
}

TEST_F(SettingsTest, CheckBoxValues) {
    const struct {
        const char* stored;
        bool checked;
    } cases[] = {{"0", false}, {"2", true}, {"yes", true}, {"1", true}, {"0x0", false}, {"", true}};
    for (const auto& c : cases) {
        WriteIni(std::string("[Anwendung]\r\nStartwert=") + c.stored + "\r\nEndwert=" + c.stored + "\r\n");
        Load();
        EXPECT_EQ(state_->cb_Startwert, c.checked) << c.stored;
        EXPECT_EQ(state_->cb_Endwert, c.checked) << c.stored;
    }
}

TEST_F(SettingsTest, UnitChoicesAreLimited) {
    WriteIni("[Prefs]\r\nImport=5\r\nAnzeige=-3\r\n");
    Load();
    EXPECT_EQ(state_->rg_Import, 1);
    EXPECT_EQ(state_->rg_Anzeige, -1);

    WriteIni("[Prefs]\r\nImport=abc\r\nAnzeige=-1\r\n");
    Load();
    EXPECT_EQ(state_->rg_Import, 0);
    EXPECT_EQ(state_->rg_Anzeige, -1);
}

TEST_F(SettingsTest, LanguageCodeIsKeptExactly) {
    WriteIni("[Anwendung]\r\nSprache=EN\r\n");
    Load();
    EXPECT_EQ(state_->Sprache, "EN");
    EXPECT_FALSE(state_->de1);
    EXPECT_TRUE(state_->en1);
    SaveSettings(*state_, place_);
    EXPECT_NE(ReadIni().find("Sprache=EN\r\n"), std::string::npos);

    WriteIni("[Anwendung]\r\nSprache=en\r\n");
    Load();
    EXPECT_EQ(state_->Sprache, "en");
    EXPECT_TRUE(state_->en1);

    WriteIni("[Anwendung]\r\nSprache=\r\n");
    Load();
    EXPECT_EQ(state_->Sprache, "");
    EXPECT_TRUE(state_->en1);
    SaveSettings(*state_, place_);
    EXPECT_NE(ReadIni().find("\r\nSprache=\r\n"), std::string::npos);
}

TEST_F(SettingsTest, LowerCaseSectionAndBlanksAroundKeyAndValue) {
    WriteIni("[fenster]\r\ntop = 300\r\n");
    Load();
    EXPECT_EQ(place_.top, 300);
    EXPECT_EQ(place_.left, 246);
    SaveSettings(*state_, place_);
    EXPECT_EQ(ReadIni(),
              "[fenster]\r\nTop=300\r\nX_Raster=4\r\nLeft=246\r\n\r\n"
              "[Anwendung]\r\nSprache=de\r\nStartwert=1\r\nEndwert=1\r\n\r\n");
}

TEST_F(SettingsTest, UnknownSectionsAndKeysSurviveCommentsDoNot) {
    WriteIni(
        "; written by hand\r\n[Other]\r\nkeep=me\r\n\r\n[Fenster]\r\n; old grid\r\nX_Raster=3\r\nExtra=1\r\n"
        "[Prefs]\r\nAnzeige=1\r\nLater=x\r\n");
    Load();
    EXPECT_EQ(state_->rg_Anzeige, 1);
    EXPECT_FALSE(SaveSettings(*state_, place_));
    EXPECT_FALSE(SavePrefs(*state_));
    EXPECT_EQ(ReadIni(),
              "[Other]\r\nkeep=me\r\n\r\n"
              "[Fenster]\r\nX_Raster=3\r\nExtra=1\r\nTop=114\r\nLeft=246\r\n\r\n"
              "[Prefs]\r\nAnzeige=1\r\nLater=x\r\nImport=0\r\n\r\n"
              "[Anwendung]\r\nSprache=de\r\nStartwert=1\r\nEndwert=1\r\n\r\n");
}

TEST_F(SettingsTest, UnreadableFileAtStartUpIsReportedInGerman) {
    fs::create_directory(ini_);
    const auto problem = Load();
    ASSERT_TRUE(problem);
    EXPECT_EQ(*problem, "Die Einstellungsdatei \"" + ini_ +
                            "\" kann nicht gelesen werden: " + std::generic_category().message(EISDIR) +
                            ". Das Programm startet mit den Grundeinstellungen.");
}

TEST_F(SettingsTest, UnreadableFileStartsWithDefaultsAndSaysSoOnce) {
    fs::create_directory(ini_);  // exists, but reading it fails
    const auto problem = Load();
    ASSERT_TRUE(problem);
    EXPECT_NE(problem->find(ini_), std::string::npos);
    EXPECT_NE(problem->find(std::generic_category().message(EISDIR)), std::string::npos);
    EXPECT_EQ(state_->X_Raster, 4);
    EXPECT_EQ(state_->Sprache, "de");
    EXPECT_EQ(place_.top, 114);

    // Saving reads the file first: it reports that reading failed and leaves the file alone.
    const auto failed = SaveSettings(*state_, place_);
    ASSERT_TRUE(failed);
    EXPECT_EQ(*failed, "Die Einstellungsdatei \"" + ini_ +
                           "\" kann nicht gelesen werden: " + std::generic_category().message(EISDIR) + ".");
    EXPECT_TRUE(fs::is_directory(ini_));
    state_->Sprache = "en";
    const auto english = SavePrefs(*state_);
    ASSERT_TRUE(english);
    EXPECT_EQ(*english,
              "The settings file \"" + ini_ + "\" cannot be read: " + std::generic_category().message(EISDIR) + ".");

    // LoadPrefs keeps the live choices.
    state_->rg_Anzeige = 1;
    EXPECT_FALSE(LoadPrefs(*state_));
    EXPECT_EQ(state_->rg_Anzeige, 1);
}

TEST_F(SettingsTest, FolderThatCannotBeWrittenGivesAMessageNamingPathAndReason) {
    Load();
    state_->IniPath = folder_.File("gone/zelk.ini");
    const auto failed = SaveSettings(*state_, place_);
    ASSERT_TRUE(failed);
    EXPECT_EQ(*failed, "Die Einstellungsdatei \"" + state_->IniPath +
                           "\" kann nicht geschrieben werden: " + std::generic_category().message(ENOENT) + ".");
    state_->Sprache = "en";
    const auto english = SavePrefs(*state_);
    ASSERT_TRUE(english);
    EXPECT_EQ(*english, "The settings file \"" + state_->IniPath +
                            "\" cannot be written: " + std::generic_category().message(ENOENT) + ".");
}

TEST_F(SettingsTest, WriteProtectedFolder) {
    Load();
    fs::permissions(folder_.Path(), fs::perms::owner_read | fs::perms::owner_exec);
    if (::access(folder_.Path().c_str(), W_OK) == 0) {
        // The owner's write bit does not stop root; sysfs refuses new files to everyone.
        if (!fs::is_directory("/sys")) GTEST_SKIP() << "no folder that stays write-protected for this user";
        state_->IniPath = "/sys/zelk.ini";
    }
    const auto denied = SaveSettings(*state_, place_);
    ASSERT_TRUE(denied);
    EXPECT_NE(denied->find("\"" + state_->IniPath + "\" kann nicht geschrieben werden: "), std::string::npos);
    EXPECT_FALSE(fs::exists(state_->IniPath));
}

TEST_F(SettingsTest, WriteProtectedFileStaysAsItWas) {
    WriteIni("[Fenster]\r\nX_Raster=3\r\n");
    fs::permissions(ini_, fs::perms::owner_read | fs::perms::group_read);
    EXPECT_FALSE(Load());
    EXPECT_EQ(state_->X_Raster, 3);
    state_->X_Raster = 4;
    const auto failed = SaveSettings(*state_, place_);
    ASSERT_TRUE(failed);
    EXPECT_EQ(*failed, "Die Einstellungsdatei \"" + ini_ +
                           "\" kann nicht geschrieben werden: " + std::generic_category().message(EACCES) + ".");
    EXPECT_EQ(ReadIni(), "[Fenster]\r\nX_Raster=3\r\n");
}

TEST_F(SettingsTest, LoadPrefsReadsTheStoredChoices) {
    Load();
    state_->rg_Import = 1;
    state_->rg_Anzeige = 1;
    EXPECT_TRUE(LoadPrefs(*state_));  // no file: the defaults
    EXPECT_EQ(state_->rg_Import, 0);
    EXPECT_EQ(state_->rg_Anzeige, 0);

    WriteIni("[prefs]\r\nimport=0x1\r\nANZEIGE=5\r\n");
    EXPECT_TRUE(LoadPrefs(*state_));
    EXPECT_EQ(state_->rg_Import, 1);
    EXPECT_EQ(state_->rg_Anzeige, 1);

    WriteIni("[Prefs]\r\nImport=-3\r\nAnzeige=x\r\n");
    EXPECT_TRUE(LoadPrefs(*state_));
    EXPECT_EQ(state_->rg_Import, -1);
    EXPECT_EQ(state_->rg_Anzeige, 0);
}

}  // namespace
}  // namespace zelk
