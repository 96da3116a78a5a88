#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <algorithm>
#include <atomic>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "TestFiles.h"
#include "calc/Batch.h"
#include "data/FileHandle.h"
#include "tests/common/ScratchFolder.h"
#include "windowlogic/MainCoreBatchRoad.h"

namespace zelk {
namespace {

namespace fs = std::filesystem;
using test::DataLine;
using test::kHeaderLine;

// A folder tree in a scratch folder, named as the batch names its folders.
class TempTree {
public:
    // The root with a trailing "/".
    std::string Root() const { return folder_.Path() + "/"; }
    std::string Path(const std::string& relative) const { return folder_.File(relative); }

    void Write(const std::string& relative, const std::string& bytes) const { folder_.Write(relative, bytes); }
    void MakeDir(const std::string& relative) const { fs::create_directories(Path(relative)); }
    void ReadOnly(const std::string& relative) const {
        fs::permissions(Path(relative), fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                        fs::perm_options::remove);
    }
    void Link(const std::string& target, const std::string& relative) const {
        fs::create_symlink(target, Path(relative));
    }
    std::string Read(const std::string& relative) const { return folder_.Read(relative); }

private:
    test::ScratchFolder folder_{"zelk_batch"};
};

const std::string kFirstDay = "01-Jan-08";

std::string ClockText(int minutes) {
    char text[8];
    std::snprintf(text, sizeof text, "%02d:%02d", minutes / 60 % 24, minutes % 60);
    return text;
}

// A sensor file: readings every `spacing` minutes from 08:00 of the first day, then
// one reading on a day far outside the 72 hours, so that the file lists two days.
std::string SeriesFile(const std::vector<std::string>& values, int spacing = 15, bool identifierLine = true,
                       const std::string& tail = {}) {
    std::string text = identifierLine ? "ICode_TEST000001\r\n" : "";
    text += kHeaderLine + "\r\n";
    int id = 1;
    for (size_t i = 0; i < values.size(); ++i)
        text += DataLine(id++, kFirstDay, ClockText(8 * 60 + static_cast<int>(i) * spacing), values[i]);
    text += DataLine(id, "20-Jan-08", "12:00", "5,0");
    return text + tail;
}

// The worked example of the results table: S+E+ 4.0, S-E+ 5.0, S-E- 5.0, S+E- 4.5.
const std::vector<std::string> kWorked = {"6,0", "7,5", "9,0", "10,5", "9,5", "7,0",
                                          "5,5", "6,0", "7,5", "8,5",  "9,0", "8,5"};
// The same series mirrored: it starts with a fall; the same four indices.
const std::vector<std::string> kMirrored = {"10,0", "8,5",  "7,0", "5,5", "6,5", "9,0",
                                            "10,5", "10,0", "8,5", "7,5", "7,0", "7,5"};
// One rise: only S+E+ keeps a complete row (4.0).
const std::vector<std::string> kRise = {"5,0", "9,0"};
// Rise and fall: S-E- cuts the only row (4.0, 4.0, empty, 4.0).
const std::vector<std::string> kPeak = {"5,0", "9,0", "5,0"};

// A batch on a started-up main core whose hooks record what the window would show.
struct Harness {
    explicit Harness(const std::string& language = "de", int displayUnit = 0) {
        MainHooks& hooks = core.Hooks();
        hooks.setStatusText = [this](const std::string& text) {
            statuses.push_back(text);
            log.push_back("S:" + text);
        };
        hooks.showMessage = [this](const std::string& text) {
            messages.push_back(text);
            log.push_back("M:" + text);
        };
        hooks.processEvents = [this] { log.push_back("P"); };
        hooks.resetProgress = [this] { log.push_back("R"); };
        MainState& s = core.State();
        s.rg_Anzeige = displayUnit;
        s.de1 = language == "de";
        s.en1 = language == "en";
        core.StartUp(language);
        log.clear();
    }

    BatchOutcome Run(const std::string& folder) {
        MainCoreBatchRoad road(core);
        return BatchEvaluation(road).Run(folder);
    }

    MainCore core{LocaleInfo::FromId(kLocaleGerman)};
    std::vector<std::string> statuses;
    std::vector<std::string> messages;
    std::vector<std::string> log;
};

const std::string kHeader = "Quelle;S+E+;S-E+;S-E-;S+E-\r\n";
const std::string kBlank = "        ";

// The status texts of a batch over `found` entries that updates every `step` entries.
std::vector<std::string> ExpectedStatuses(int found, int step) {
    std::vector<std::string> texts = {kBlank, std::to_string(found)};
    for (int done = step; done <= found; done += step)
        texts.push_back(std::to_string(done) + "/" + std::to_string(found));
    texts.push_back("fertig");
    return texts;
}

TEST(BatchNames, MaskMatchesTxtWithoutRegardToCase) {
    for (const char* name : {"a.txt", "A.TXT", "b.Txt", ".txt", ".hidden.txt", "x.y.txt", "dir.txt"}) {
        SCOPED_TRACE(name);
        EXPECT_TRUE(MatchesMask(name, "*.txt"));
    }
    for (const char* name : {"a.txt.bak", "a.txtx", "atxt", "txt", "a.tx", "ZELK_Tab.csv", ""}) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(MatchesMask(name, "*.txt"));
    }
    EXPECT_TRUE(MatchesMask("anything", "*"));
    EXPECT_TRUE(MatchesMask("ab.txt", "a?.t*"));
    EXPECT_FALSE(MatchesMask("abc.txt", "a?.t*"));
}

TEST(BatchNames, ListedWithoutRegardToCaseThenByteByByte) {
    // Letters compare as capitals, so "_" (after "Z") sorts after every letter.
    std::vector<std::string> names = {"b.txt", "a.txt", "_x.txt", "A.txt", "a.TXT", "B.txt", "a1.txt", "a.txtz"};
    std::sort(names.begin(), names.end(),
              [](const std::string& x, const std::string& y) { return FolderNameLess(x, y); });
    EXPECT_EQ(names,
              (std::vector<std::string>{"A.txt", "a.TXT", "a.txt", "a.txtz", "a1.txt", "B.txt", "b.txt", "_x.txt"}));
}

TEST(BatchNames, UpdateStepBySizeOfTree) {
    EXPECT_EQ(UpdateStepFor(0), 1);
    EXPECT_EQ(UpdateStepFor(100), 1);
    EXPECT_EQ(UpdateStepFor(101), 10);
    EXPECT_EQ(UpdateStepFor(1000), 10);
    EXPECT_EQ(UpdateStepFor(1001), 100);
}

TEST(BatchWalk, EntersOnlyPlainWritableVisibleFolders) {
    TempTree tree;
    const std::string file = SeriesFile(kWorked);
    tree.Write("a.txt", file);
    tree.Write("plain/b.txt", file);
    tree.Write("plain/inner/c.TXT", file);
    tree.Write(".hidden/d.txt", file);
    tree.Write("readonly/e.txt", file);
    tree.Write("readonly/inner/f.txt", file);
    tree.ReadOnly("readonly");
    tree.Link(tree.Path("plain"), "linked");
    tree.Write("notes.csv", "x");

    EXPECT_EQ(EnteredSubfolders(tree.Root()), (std::vector<std::string>{"plain"}));
    Harness h;
    MainCoreBatchRoad road(h.core);
    BatchEvaluation batch(road);
    h.core.State().batch.FilesFound = 0;
    batch.CountFiles(tree.Root(), kBatchMask);
    EXPECT_EQ(h.core.State().batch.FilesFound, 3);

    ASSERT_EQ(h.Run(tree.Root()).end, BatchEnd::Finished);
    const std::string line = ";4,0;5,0;5,0;4,5\r\n";
    EXPECT_EQ(tree.Read("ZELK_Tab.csv"), kHeader + tree.Path("a.txt") + line + tree.Path("plain/b.txt") + line +
                                             tree.Path("plain/inner/c.TXT") + line);
    EXPECT_EQ(h.statuses, ExpectedStatuses(3, 1));
}

TEST(BatchWalk, DepthFirstInListingOrder) {
    TempTree tree;
    const std::string file = SeriesFile(kWorked);
    tree.Write("z.txt", file);            // the folder's own files come first
    tree.Write("Sub2/a.txt", file);       // "SUB" before "SUB2" without regard to case,
    tree.Write("sub/b.txt", file);        // though "Sub2" comes first byte by byte
    tree.Write("sub/inner/c.txt", file);  // a nested folder before the later sibling
    tree.Write("sub/inner/deep/d.txt", file);
    tree.Write("sub/x.txt", file);
    tree.Write("A/e.txt", file);

    EXPECT_EQ(EnteredSubfolders(tree.Root()), (std::vector<std::string>{"A", "sub", "Sub2"}));
    Harness h;
    ASSERT_EQ(h.Run(tree.Root()).end, BatchEnd::Finished);
    std::string expected = kHeader;
    for (const char* name :
         {"z.txt", "A/e.txt", "sub/b.txt", "sub/x.txt", "sub/inner/c.txt", "sub/inner/deep/d.txt", "Sub2/a.txt"})
        expected += tree.Path(name) + ";4,0;5,0;5,0;4,5\r\n";
    EXPECT_EQ(tree.Read("ZELK_Tab.csv"), expected);
    EXPECT_EQ(h.statuses, ExpectedStatuses(7, 1));
}

TEST(BatchWalk, DanglingLinkIsCountedAndSkippedSilently) {
    TempTree tree;
    tree.Write("a.txt", SeriesFile(kWorked));
    tree.Link(tree.Path("gone.txt"), "broken.txt");
    Harness h;
    ASSERT_EQ(h.Run(tree.Root()).end, BatchEnd::Finished);
    EXPECT_EQ(tree.Read("ZELK_Tab.csv"), kHeader + tree.Path("a.txt") + ";4,0;5,0;5,0;4,5\r\n");
    EXPECT_EQ(h.statuses, ExpectedStatuses(2, 1));
    EXPECT_TRUE(h.messages.empty());
    EXPECT_EQ(h.core.State().batch.CurrentFile, tree.Path("broken.txt"));
}

TEST(BatchRun, EmptyFolderGivesHeaderOnly) {
    TempTree tree;
    tree.MakeDir("empty sub");
    Harness h;
    const BatchOutcome outcome = h.Run(tree.Root());
    EXPECT_EQ(outcome.end, BatchEnd::Finished);
    EXPECT_EQ(tree.Read("ZELK_Tab.csv"), kHeader);
    EXPECT_EQ(h.statuses, ExpectedStatuses(0, 1));
    EXPECT_EQ(h.log, (std::vector<std::string>{"S:" + kBlank, "R", "S:0", "S:fertig"}));
    EXPECT_TRUE(h.messages.empty());
    // The folder is named without its trailing "/" and gets one.
    Harness without;
    EXPECT_EQ(without.Run(tree.Root().substr(0, tree.Root().size() - 1)).end, BatchEnd::Finished);
    EXPECT_EQ(without.core.State().batch.BatchFolder, tree.Root());
    EXPECT_EQ(without.core.State().batch.BatchMask, "*.txt");
}

TEST(BatchRun, NoFolderChosenDoesNothing) {
    Harness h;
    EXPECT_EQ(h.Run("").end, BatchEnd::NoFolder);
    EXPECT_TRUE(h.log.empty());
}

TEST(BatchRun, EventsTwicePerEntryAndAfterEachStatusUpdate) {
    TempTree tree;
    tree.Write("a.txt", "");
    tree.Write("b.txt", "no sensor file\r\n");
    Harness h;
    ASSERT_EQ(h.Run(tree.Root()).end, BatchEnd::Finished);
    // Per entry: before it, while clearing the results, after it; then after the status.
    EXPECT_EQ(h.log, (std::vector<std::string>{"S:" + kBlank, "R", "S:2", "P", "P", "P", "S:1/2", "P", "P", "P", "P",
                                               "S:2/2", "P", "S:fertig"}));
    EXPECT_EQ(tree.Read("ZELK_Tab.csv"), kHeader);
    EXPECT_EQ(h.core.State().batch.CurrentFile, tree.Path("b.txt"));
}

TEST(BatchRun, StatusEveryUpdateStepEntries) {
    // 101 entries: the count after every 10th; the last single entry is not added before "fertig".
    const std::vector<std::string> hundredAndOne = {kBlank,   "101",     "10/101", "20/101", "30/101",
                                                    "40/101", "50/101",  "60/101", "70/101", "80/101",
                                                    "90/101", "100/101", "fertig"};
    EXPECT_EQ(ExpectedStatuses(101, 10), hundredAndOne);
    for (const auto& [entries, step] : {std::pair{100, 1}, std::pair{101, 10}, std::pair{1001, 100}}) {
        SCOPED_TRACE(entries);
        TempTree tree;
        for (int i = 0; i < entries; ++i) tree.Write("f" + std::to_string(10000 + i) + ".txt", "");
        Harness h;
        ASSERT_EQ(h.Run(tree.Root()).end, BatchEnd::Finished);
        EXPECT_EQ(h.statuses, ExpectedStatuses(entries, step));
        const BatchState& b = h.core.State().batch;
        EXPECT_EQ(b.UpdateStep, step);
        EXPECT_EQ(b.FilesDone, entries / step * step);
        EXPECT_EQ(b.SinceUpdate, entries % step);
    }
}

// Expected file written by hand from the worked examples of the calculation.
TEST(BatchRun, GeneratedTreeGivesHandWrittenResult) {
    TempTree tree;
    tree.Write("ZELK_Tab.csv", std::string(5000, 'x') + "\r\nold;line\r\n");
    tree.Write(".hidden.txt", SeriesFile(kWorked));
    tree.Write("a_worked.txt", SeriesFile(kWorked));
    tree.Write("B_mirror.TXT", SeriesFile(kMirrored, 15, false));
    tree.Write("c_rise.txt", SeriesFile(kRise));
    tree.Write("d_peak.txt", SeriesFile(kPeak));
    tree.Write("e_sameday.txt", "ICode_SAME\r\n" + kHeaderLine + "\r\n" + DataLine(1, "02-Feb-08", "08:00", "6,0") +
                                    DataLine(2, "02-feb-08", "09:00", "12,0") +
                                    DataLine(3, "02-FEB-08", "10:00", "6,0"));
    tree.Write("f_wrongheader.txt", "ID\tDate\tTime\tSensor Value\r\n" + DataLine(1, kFirstDay, "08:00", "6,0") +
                                        DataLine(2, "20-Jan-08", "08:00", "6,0"));
    tree.Write("g_notes.csv", SeriesFile(kWorked));
    tree.Write("g_copy.txt.bak", SeriesFile(kWorked));
    // A duplicate date and time ends the import; the readings after it are not read.
    tree.Write("h_dup.txt",
               SeriesFile(kWorked, 15, true,
                          DataLine(20, kFirstDay, "08:30", "3,0") + DataLine(21, kFirstDay, "11:00", "20,0")));
    tree.Link("sub/x.txt", "k_link.txt");
    ASSERT_EQ(::mkfifo(tree.Path("pipe.txt").c_str(), 0644), 0);
    tree.Write("dir.txt/q.txt", SeriesFile(kRise));
    tree.Write("sub/x.txt", SeriesFile(kPeak));
    tree.Write("sub/deeper/y.txt", SeriesFile(kWorked));
    tree.Write(".hiddendir/z.txt", SeriesFile(kWorked));
    tree.Write("readonly/z.txt", SeriesFile(kWorked));
    tree.ReadOnly("readonly");
    tree.Link("sub", "linkdir");

    Harness h;
    const std::vector<std::string> daysBefore = h.core.State().f_Sensor.lb_Sensor;
    const BatchOutcome outcome = h.Run(tree.Root());
    ASSERT_EQ(outcome.end, BatchEnd::Finished) << outcome.error;

    const std::string r = tree.Root();
    // clang-format off
    const std::string expected = "Quelle;S+E+;S-E+;S-E-;S+E-\r\n" +
                                 r + ".hidden.txt;4,0;5,0;5,0;4,5\r\n" +
                                 r + "a_worked.txt;4,0;5,0;5,0;4,5\r\n" +
                                 r + "B_mirror.TXT;4,0;5,0;5,0;4,5\r\n" +
                                 r + "c_rise.txt;4,0;;;\r\n" +
                                 r + "d_peak.txt;4,0;4,0;;4,0\r\n" +
                                 r + "h_dup.txt;4,0;5,0;5,0;4,5\r\n" +
                                 r + "k_link.txt;4,0;4,0;;4,0\r\n" +
                                 r + "dir.txt/q.txt;4,0;;;\r\n" +
                                 r + "sub/x.txt;4,0;4,0;;4,0\r\n" +
                                 r + "sub/deeper/y.txt;4,0;5,0;5,0;4,5\r\n";
    // clang-format on
    EXPECT_EQ(tree.Read("ZELK_Tab.csv"), expected);

    // 11 entries in the folder (dir.txt and the pipe among them) and 3 below it.
    EXPECT_EQ(h.statuses, ExpectedStatuses(14, 1));
    EXPECT_EQ(h.messages, (std::vector<std::string>{"Fehler beim Import der Sensordaten! 01-Jan-08  08:30"}));
    EXPECT_NE(daysBefore, h.core.State().f_Sensor.lb_Sensor);

    // The window is left with the last file and its last calculation, S+E-.
    const MainState& s = h.core.State();
    EXPECT_TRUE(s.cb_Startwert);
    EXPECT_FALSE(s.cb_Endwert);
    EXPECT_EQ(s.f_Sensor.lb_Sensor, (std::vector<std::string>{kFirstDay, "20-Jan-08"}));
    EXPECT_EQ(s.f_Sensor.SelectedDate, kFirstDay);
    EXPECT_EQ(s.l_Datum, kFirstDay);
    EXPECT_EQ(s.sensorTab.TotalRows(), 13);
    EXPECT_EQ(s.ce_Mittelwert.Text, "7,88");
    EXPECT_EQ(s.ce_ZELK.Text, "4,5");
    EXPECT_EQ(s.csg_Berechnung.RowCount(), 2);
    EXPECT_EQ(s.csg_Berechnung.Cell(1, 1), "08:00");
    EXPECT_EQ(s.csg_Berechnung.Cell(4, 1), "10,5");
    EXPECT_EQ(s.csg_Berechnung.Cell(5, 1), " 4,5");
    const BatchState& b = s.batch;
    EXPECT_EQ(b.BatchFolder, r);
    EXPECT_EQ(b.FilesFound, 14);
    EXPECT_EQ(b.FilesDone, 14);
    EXPECT_EQ(b.UpdateStep, 1);
    EXPECT_EQ(b.SinceUpdate, 0);
    EXPECT_EQ(b.CurrentFile, r + "sub/deeper/y.txt");
}

TEST(BatchRun, DisplayUnitAndLanguageShapeTheFields) {
    TempTree tree;
    tree.Write("a.txt", SeriesFile(kWorked));
    tree.Write("b.txt", SeriesFile(kMirrored));
    tree.Write("c.txt", SeriesFile(kRise));
    tree.Write("d.txt", SeriesFile(kPeak));
    const std::string r = tree.Root();

    Harness mg("de", 1);
    ASSERT_EQ(mg.Run(r).end, BatchEnd::Finished);
    EXPECT_EQ(tree.Read("ZELK_Tab.csv"), kHeader + r + "a.txt;72;90;90;81\r\n" + r + "b.txt;72;90;90;81\r\n" + r +
                                             "c.txt;72;;;\r\n" + r + "d.txt;72;72;;72\r\n");

    Harness english("en", 0);
    ASSERT_EQ(english.Run(r).end, BatchEnd::Finished);
    EXPECT_EQ(tree.Read("ZELK_Tab.csv"), kHeader + r + "a.txt;4.0;5.0;5.0;4.5\r\n" + r + "b.txt;4.0;5.0;5.0;4.5\r\n" +
                                             r + "c.txt;4.0;;;\r\n" + r + "d.txt;4.0;4.0;;4.0\r\n");
    EXPECT_EQ(english.statuses.back(), "fertig");

    Harness englishMg("en", 1);
    ASSERT_EQ(englishMg.Run(r).end, BatchEnd::Finished);
    EXPECT_EQ(tree.Read("ZELK_Tab.csv"), kHeader + r + "a.txt;72;90;90;81\r\n" + r + "b.txt;72;90;90;81\r\n" + r +
                                             "c.txt;72;;;\r\n" + r + "d.txt;72;72;;72\r\n");
}

TEST(BatchRun, FiveMinuteGridUsesFiveMinutePoints) {
    TempTree tree;
    tree.Write("a.txt", SeriesFile(kWorked, 5));
    Harness h;
    MainState& s = h.core.State();
    s.N5minRaster1 = true;
    s.N15minRaster1 = false;
    s.X_Raster = 3;
    ASSERT_EQ(h.Run(tree.Root()).end, BatchEnd::Finished);
    EXPECT_EQ(s.series.HighIndex, 863);
    EXPECT_EQ(tree.Read("ZELK_Tab.csv"), kHeader + tree.Path("a.txt") + ";4,0;5,0;5,0;4,5\r\n");
    EXPECT_EQ(s.csg_Berechnung.Cell(3, 1), "08:15");
}

TEST(BatchRun, ErrorEndsTheBatchKeepingTheLinesWritten) {
    TempTree tree;
    tree.Write("a.txt", SeriesFile(kWorked));
    // The first listed day does not read as a date: the grid build raises.
    tree.Write("b.txt", "ICode_BAD\r\n" + kHeaderLine + "\r\n" + DataLine(1, "xx-Jan-08", "08:00", "6,0") +
                            DataLine(2, "xx-Jan-08", "09:00", "9,0") + DataLine(3, "20-Jan-08", "08:00", "6,0"));
    tree.Write("c.txt", SeriesFile(kWorked));
    Harness h;
    const BatchOutcome outcome = h.Run(tree.Root());
    EXPECT_EQ(outcome.end, BatchEnd::Error);
    EXPECT_NE(outcome.error.find("xx-jan-08"), std::string::npos) << outcome.error;
    EXPECT_EQ(tree.Read("ZELK_Tab.csv"), kHeader + tree.Path("a.txt") + ";4,0;5,0;5,0;4,5\r\n");
    EXPECT_EQ(h.statuses, (std::vector<std::string>{kBlank, "3", "1/3"}));
    EXPECT_TRUE(h.messages.empty());
    EXPECT_EQ(h.core.State().batch.CurrentFile, tree.Path("b.txt"));
}

TEST(BatchRun, ResultFileThatCannotBeCreatedWritesNothing) {
    TempTree tree;
    tree.Write("a.txt", SeriesFile(kWorked));
    tree.MakeDir("ZELK_Tab.csv");
    Harness h;
    const std::vector<std::string> daysBefore = h.core.State().f_Sensor.lb_Sensor;
    const BatchOutcome outcome = h.Run(tree.Root());
    EXPECT_EQ(outcome.end, BatchEnd::NoResultFile);
    EXPECT_EQ(h.statuses, (std::vector<std::string>{kBlank, "1"}));
    EXPECT_TRUE(h.messages.empty());
    EXPECT_TRUE(fs::is_empty(tree.Path("ZELK_Tab.csv")));
    EXPECT_EQ(h.core.State().f_Sensor.lb_Sensor, daysBefore);
    EXPECT_TRUE(h.core.State().batch.CurrentFile.empty());

    // A folder that does not exist: nothing to count, and no result file either.
    Harness missing;
    EXPECT_EQ(missing.Run(tree.Path("missing/")).end, BatchEnd::NoResultFile);
    EXPECT_EQ(missing.statuses, (std::vector<std::string>{kBlank, "0"}));
}

TEST(BatchRun, FinishedLinesReachTheFileWhileTheWalkGoesOn) {
    TempTree tree;
    tree.Write("a.txt", SeriesFile(kWorked));
    tree.Write("b.txt", SeriesFile(kWorked));
    Harness h;
    std::vector<std::string> seen;
    h.core.Hooks().processEvents = [&] { seen.push_back(tree.Read("ZELK_Tab.csv")); };
    ASSERT_EQ(h.Run(tree.Root()).end, BatchEnd::Finished);
    const std::string firstLine = kHeader + tree.Path("a.txt") + ";4,0;5,0;5,0;4,5\r\n";
    EXPECT_NE(std::find(seen.begin(), seen.end(), firstLine), seen.end());
}

TEST(BatchRun, ResultPathThatIsNoRegularFileIsRefused) {
    TempTree tree;
    tree.Write("a.txt", SeriesFile(kWorked));
    ASSERT_EQ(::mkfifo(tree.Path("ZELK_Tab.csv").c_str(), 0600), 0);  // opening it would block
    Harness h;
    const BatchOutcome outcome = h.Run(tree.Root());
    EXPECT_EQ(outcome.end, BatchEnd::NoResultFile);
    EXPECT_EQ(outcome.error, "Cannot create '" + tree.Path("ZELK_Tab.csv") + "'");
    EXPECT_TRUE(fs::is_fifo(tree.Path("ZELK_Tab.csv")));
}

// Files of this process may grow to `bytes` only, and a write past that fails instead
// of raising SIGXFSZ: a full disk in small. Both are restored when it goes.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        struct sigaction ignore {};
        ignore.sa_handler = SIG_IGN;
        if (::getrlimit(RLIMIT_FSIZE, &oldLimit_) != 0 || ::sigaction(SIGXFSZ, &ignore, &oldAction_) != 0)
            throw std::runtime_error("cannot save the file size limit");
        struct rlimit limit = oldLimit_;
        limit.rlim_cur = bytes;
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) {
            ::sigaction(SIGXFSZ, &oldAction_, nullptr);
            throw std::runtime_error("cannot limit the file size");
        }
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &oldLimit_);
        ::sigaction(SIGXFSZ, &oldAction_, nullptr);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    struct rlimit oldLimit_ {};
    struct sigaction oldAction_ {};
};

TEST(BatchRun, FullDiskKeepsOnlyWholeLines) {
    TempTree tree;
    for (const char* name : {"a.txt", "b.txt", "c.txt"}) tree.Write(name, SeriesFile(kWorked));
    const std::string first = tree.Path("a.txt") + ";4,0;5,0;5,0;4,5\r\n";
    const std::string second = tree.Path("b.txt") + ";4,0;5,0;5,0;4,5\r\n";
    Harness h;
    BatchOutcome outcome;
    {
        // The disk fills up in the middle of the second line.
        const FileSizeLimit limit(kHeader.size() + first.size() + second.size() / 2);
        outcome = h.Run(tree.Root());
    }
    EXPECT_EQ(outcome.end, BatchEnd::Error);
    EXPECT_EQ(outcome.error, "Cannot write '" + tree.Path("ZELK_Tab.csv") + "'");
    EXPECT_EQ(tree.Read("ZELK_Tab.csv"), kHeader + first);
}

// A thread, standing in for another process, swaps a pipe and a regular file at the
// result path while the result file is created again and again: the pipe is never
// taken. The thread opens the pipe for reading now and then, which frees an open that
// waits for a reader, so such a fault fails the test instead of hanging it.
TEST(BatchRun, PipeSwappedIntoTheResultPathIsNeverTaken) {
    TempTree tree;
    const std::string path = tree.Path("ZELK_Tab.csv");
    const std::string other = tree.Path("swap");
    tree.Write("ZELK_Tab.csv", "");
    ASSERT_EQ(::mkfifo(other.c_str(), 0600), 0);
    const FileHandle regular(::open(path.c_str(), O_RDWR | O_CLOEXEC));
    ASSERT_GE(regular.Get(), 0);
    ASSERT_EQ(::renameat2(AT_FDCWD, path.c_str(), AT_FDCWD, other.c_str(), RENAME_EXCHANGE), 0)
        << "the file system cannot exchange names";

    std::atomic<bool> swapFailed = false;
    std::jthread swapper([&](const std::stop_token& stop) {
        bool pipeAtPath = true;
        while (!stop.stop_requested()) {
            // Frees a Create that waits in opening the pipe.
            const FileHandle reader(::open((pipeAtPath ? path : other).c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
            if (::renameat2(AT_FDCWD, path.c_str(), AT_FDCWD, other.c_str(), RENAME_EXCHANGE) != 0) {
                swapFailed = true;
                return;
            }
            pipeAtPath = !pipeAtPath;
        }
    });

    int taken = 0, refused = 0;
    for (int round = 0; round < 200000 && (round < 20000 || taken < 100 || refused < 100) && !swapFailed; ++round) {
        ASSERT_EQ(::pwrite(regular.Get(), "old", 3, 0), 3);
        BatchResultFile file;
        if (!file.Create(path)) {
            ++refused;
            continue;
        }
        ++taken;
        // Taken only as the regular file, which it has emptied.
        struct stat st {};
        ASSERT_EQ(::fstat(regular.Get(), &st), 0);
        ASSERT_EQ(st.st_size, 0) << "the pipe was taken in round " << round;
    }
    swapper.request_stop();
    swapper.join();
    EXPECT_FALSE(swapFailed);
    EXPECT_GT(taken, 0);
    EXPECT_GT(refused, 0);
}

TEST(BatchRun, ImportErrorShownAndWhatWasReadEvaluated) {
    TempTree tree;
    // The duplicate comes before the second day: one day listed, so no line.
    tree.Write("a.txt", "ICode_DUP\r\n" + kHeaderLine + "\r\n" + DataLine(1, kFirstDay, "08:00", "6,0") +
                            DataLine(2, kFirstDay, "08:00", "7,0") + DataLine(3, "20-Jan-08", "08:00", "6,0"));
    tree.Write("b.txt", SeriesFile(kPeak, 15, true, DataLine(9, "20-jan-08", "12:00", "1,0")));
    Harness h;
    ASSERT_EQ(h.Run(tree.Root()).end, BatchEnd::Finished);
    EXPECT_EQ(h.messages, (std::vector<std::string>{"Fehler beim Import der Sensordaten! 01-Jan-08  08:00",
                                                    "Fehler beim Import der Sensordaten! 20-jan-08  12:00"}));
    EXPECT_EQ(h.log[5], "M:Fehler beim Import der Sensordaten! 01-Jan-08  08:00");
    EXPECT_EQ(tree.Read("ZELK_Tab.csv"), kHeader + tree.Path("b.txt") + ";4,0;4,0;;4,0\r\n");
    EXPECT_EQ(h.statuses.back(), "fertig");
}

// zelk_eval --batch runs the same core and prints status texts and messages as they come.
TEST(BatchEval, WritesTheSameFileAndPrintsStatusAndMessages) {
    TempTree tree;
    tree.Write("sensors/a.txt", "ICode_DUP\r\n" + kHeaderLine + "\r\n" + DataLine(1, kFirstDay, "08:00", "6,0") +
                                    DataLine(2, kFirstDay, "08:00", "7,0"));
    tree.Write("sensors/b.txt", SeriesFile(kWorked));
    int exitCode = -1;
    // A relative folder still gives full paths in the result file.
    const std::string out =
        test::RunCommand("cd '" + tree.Root() + "' && '" ZELK_EVAL_PATH "' --lang en --batch sensors", exitCode);
    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(out, "STATUS\t" + kBlank + "\nSTATUS\t2\n" +
                       "MESSAGE\tError when importing the sensor data! 01-Jan-08  08:00\n" +
                       "STATUS\t1/2\nSTATUS\t2/2\nSTATUS\tfertig\n");
    EXPECT_EQ(tree.Read("sensors/ZELK_Tab.csv"), kHeader + tree.Path("sensors/b.txt") + ";4.0;5.0;5.0;4.5\r\n");
}

TEST(BatchEval, ErrorGivesExitCodeTwo) {
    TempTree tree;
    tree.Write("b.txt", "ICode_BAD\r\n" + kHeaderLine + "\r\n" + DataLine(1, "xx-Jan-08", "08:00", "6,0") +
                            DataLine(3, "20-Jan-08", "08:00", "6,0"));
    int exitCode = -1;
    const std::string out = test::RunCommand("'" ZELK_EVAL_PATH "' --batch '" + tree.Root() + "'", exitCode);
    EXPECT_EQ(exitCode, 2);
    EXPECT_EQ(out.rfind("STATUS\t" + kBlank + "\nSTATUS\t1\nERROR\t", 0), 0u) << out;
    EXPECT_EQ(tree.Read("ZELK_Tab.csv"), kHeader);

    tree.MakeDir("sub/ZELK_Tab.csv");
    const std::string noFile = test::RunCommand("'" ZELK_EVAL_PATH "' --batch '" + tree.Path("sub") + "'", exitCode);
    EXPECT_EQ(exitCode, 2);
    EXPECT_EQ(noFile,
              "STATUS\t" + kBlank + "\nSTATUS\t0\nERROR\tCannot create '" + tree.Path("sub/ZELK_Tab.csv") + "'\n");
}

// Under a file-size limit, with SIGXFSZ at its default, zelk_eval reports the failed write
// instead of being ended by the signal in the middle of a line.
TEST(BatchEval, FileSizeLimitIsReportedAndLeavesWholeLines) {
    TempTree tree;
    for (const char* name : {"a.txt", "b.txt"}) tree.Write(name, SeriesFile(kWorked));
    const std::string first = tree.Path("a.txt") + ";4,0;5,0;5,0;4,5\r\n";
    const size_t limit = kHeader.size() + first.size() + first.size() / 2;
    int exitCode = -1;
    const std::string out = test::RunCommand("env --default-signal=XFSZ prlimit --fsize=" + std::to_string(limit) +
                                                 " '" ZELK_EVAL_PATH "' --batch '" + tree.Root() + "'",
                                             exitCode);
    EXPECT_EQ(exitCode, 2);
    EXPECT_NE(out.find("ERROR\tCannot write '" + tree.Path("ZELK_Tab.csv") + "'\n"), std::string::npos) << out;
    EXPECT_EQ(tree.Read("ZELK_Tab.csv"), kHeader + first);
}

// ---- The road without the window logic --------------------------------------------------------

// A road that records what the batch asks of it; its calculation names the options.
class RecordingRoad final : public BatchRoad {
public:
    BatchState& Batch() override { return batch; }
    void ProcessEvents() override {}
    void SetStatusText(const std::string& text) override { log.push_back("status " + text); }
    void ResetProgress() override { log.push_back("reset"); }
    void ClearResults() override { log.push_back("clear"); }
    SensorFileRead ReadSensorFile(const std::string& path) override {
        log.push_back("read " + fs::path(path).filename().string());
        return SensorFileRead::Replaced;
    }
    const std::vector<std::string>& Days() const override { return days; }
    void SelectDay(const std::string& day) override { log.push_back("day " + day); }
    void BuildMinuteGrid() override { log.push_back("grid"); }
    void SetStartValue(bool checked) override { start = checked; }
    void SetEndValue(bool checked) override { end = checked; }
    std::string Calculate() override { return std::string(start ? "S+" : "S-") + (end ? "E+" : "E-"); }

    BatchState batch;
    std::vector<std::string> days{"14-Jun-09", "15-Jun-09"};
    std::vector<std::string> log;
    bool start = false;
    bool end = false;
};

TEST(BatchRoad, TheWalkDrivesTheRoadFileByFile) {
    TempTree tree;
    tree.Write("a.txt", kHeaderLine + "\r\n");
    RecordingRoad road;
    const BatchOutcome outcome = BatchEvaluation(road).Run(tree.Root());
    EXPECT_EQ(outcome.end, BatchEnd::Finished);
    EXPECT_EQ(road.log, (std::vector<std::string>{"status         ", "reset", "status 1", "clear", "read a.txt",
                                                  "day 14-Jun-09", "grid", "status 1/1", "status fertig"}));
    EXPECT_EQ(tree.Read("ZELK_Tab.csv"),
              std::string(kBatchHeader) + "\r\n" + tree.Path("a.txt") + ";S+E+;S-E+;S-E-;S+E-\r\n");
}

}  // namespace
}  // namespace zelk
