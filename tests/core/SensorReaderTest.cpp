#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "TestFiles.h"
#include "data/DateTexts.h"
#include "data/SensorReader.h"
#include "data/SensorTab.h"

namespace zelk {
namespace {

using test::DataLine;
using test::ImportTarget;
using test::kHeaderLine;
using test::kImportErrorText;
using test::kWrongFileText;
using test::ScratchFile;
using test::UnusedTempPath;

struct Row {
    int id;
    std::string datum;
    std::string zeit;
    double bgWert;
};

std::vector<Row> Rows(const SensorTab& tab) {
    std::vector<Row> rows;
    const SensorRowStore& store = tab.Store();
    for (SensorRowStore::Walker w(store, 0); !w.AtEnd(); w.Next())
        rows.push_back({w.Row().id, w.Row().datum.Str(), w.Row().zeit.Str(), w.Row().bgWert});
    return rows;
}

std::string Header() { return kHeaderLine + "\r\n"; }

// A target already holding one earlier import, to see what a failed read keeps.
void Preload(ImportTarget& t) {
    t.ReadText(Header() + DataLine(1, "01-Jan-09", "10:00", "5,0"));
    ASSERT_EQ(t.sensorTab.RowCount(), 1);
    ASSERT_TRUE(t.Messages().empty());
    t.recorder.messages.clear();
}

// ---- ParseSensorLine ----

struct Parsed {
    SensorLine line;
    std::string date;
    std::string time;
};

Parsed Parse(std::string_view line, char separator = ',') {
    ImportTarget t(separator);
    t.currentDateText = "stale";
    t.currentTimeText = "stale";
    Parsed p;
    p.line = ParseSensorLine(line, t.target);
    p.date = t.currentDateText;
    p.time = t.currentTimeText;
    return p;
}

TEST(ParseSensorLine, ShapeA) {
    const Parsed p = Parse("17\t14-May-09\t10:05:00\t5,6");
    EXPECT_EQ(p.line.id, 17);
    EXPECT_EQ(p.date, "14-May-09");  // as read; lowering happens when stored
    EXPECT_EQ(p.time, "10:05:00");
    EXPECT_EQ(p.line.value, 5.6f);

    EXPECT_EQ(Parse("1\td\tt\t 5,6 \t \t").line.value, 5.6f);  // only TABs and blanks follow
    EXPECT_EQ(Parse("1\td\tt\t5,6\tmore").line.value, 0.0f);   // a further column
    EXPECT_EQ(Parse("1\td\tt\t5,6 mg").line.value, 0.0f);
    EXPECT_EQ(Parse("1\td\tt\t").line.value, 0.0f);
    EXPECT_EQ(Parse("1\td\tt\t\t\t7").line.value, 7.0f);  // leading TABs are trimmed too
    EXPECT_EQ(Parse("1\td\t\t5,6").time, "");
    EXPECT_EQ(Parse("x\td\tt\t1").line.id, -1);
    EXPECT_EQ(Parse(" 12\td\tt\t1").line.id, 12);
    EXPECT_EQ(Parse("\td\tt\t1").line.id, -1);
    EXPECT_EQ(Parse("1\td\tt\t1e1").line.value, 10.0f);
}

TEST(ParseSensorLine, ShapeBTimeAndValueShareAColumn) {
    Parsed p = Parse("3\t14-may-09\t10:05 5,6", ',');
    EXPECT_EQ(p.time, "10:05");
    EXPECT_EQ(p.line.value, 5.6f);
    EXPECT_EQ(Parse("3\t14-may-09\t10:05 5.6", '.').line.value, 5.6f);
    EXPECT_EQ(Parse("3\t14-may-09\t10:05 5.6", ',').line.value, 0.0f);

    // Seconds: the colon cut leaves "00 5.6", which is no number.
    p = Parse("3\t14-may-09\t10:05:00 5.6", '.');
    EXPECT_EQ(p.time, "10:05");
    EXPECT_EQ(p.line.value, 0.0f);
    EXPECT_EQ(Parse("3\td\t10:05 ab:5,6").line.value, 5.6f);

    // The value is read from characters 6 to 105 only.
    EXPECT_EQ(Parse("3\td\t10:05" + std::string(95, ' ') + "5,6").line.value, 5.6f);
    EXPECT_EQ(Parse("3\td\t10:05" + std::string(98, ' ') + "5,6").line.value, 5.0f);
    EXPECT_EQ(Parse("3\td\t10:05" + std::string(100, ' ') + "5,6").line.value, 0.0f);

    p = Parse("3\td\t10:0");
    EXPECT_EQ(p.time, "10:0");
    EXPECT_EQ(p.line.value, 0.0f);
    EXPECT_EQ(Parse("3\td\t").time, "");
}

TEST(ParseSensorLine, TooFewTabsClearTheTexts) {
    Parsed p = Parse("no tabs at all");
    EXPECT_EQ(p.line.id, -1);
    EXPECT_EQ(p.date, "");
    EXPECT_EQ(p.time, "");
    p = Parse("5\t14-may-09 10:00 5,6");
    EXPECT_EQ(p.line.id, 5);
    EXPECT_EQ(p.date, "");
    EXPECT_EQ(p.time, "");
    p = Parse("");
    EXPECT_EQ(p.date, "");
    EXPECT_EQ(p.line.value, 0.0f);
}

// ---- ReadSensorFile ----

TEST(ReadSensorFile, ImportsRowsAndDays) {
    ImportTarget t;
    t.ReadText("ICode_ABC123\r\n" + Header() + DataLine(1, "14-May-09", "10:00", "5,5") +
               DataLine(2, "14-may-09", "10:05", "6,0") + DataLine(3, "15-MAY-09", "00:00", "7") +
               DataLine(4, "14-MAY-09", "10:10", "x") + DataLine(5, "01-jun-09", "08:00", "0"));
    EXPECT_TRUE(t.Messages().empty());
    EXPECT_EQ(t.pidText, "ABC123");
    const std::vector<Row> rows = Rows(t.sensorTab);
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(rows[0].datum, "01-jun-09");
    EXPECT_EQ(rows[0].bgWert, 0.0);  // stored like any other
    EXPECT_EQ(rows[1].datum, "14-may-09");
    EXPECT_EQ(rows[1].zeit, "10:00");
    EXPECT_EQ(rows[1].bgWert, static_cast<double>(5.5f));
    EXPECT_EQ(rows[3].zeit, "10:10");
    EXPECT_EQ(rows[3].bgWert, 0.0);
    EXPECT_EQ(rows[4].datum, "15-may-09");
    EXPECT_EQ(rows[4].id, 3);
    // Case-insensitive days, listed as first met, in order of first appearance.
    EXPECT_EQ(t.dayList, (std::vector<std::string>{"14-May-09", "15-MAY-09", "01-jun-09"}));
    EXPECT_EQ(t.currentDateText, "01-jun-09");
    EXPECT_EQ(t.currentTimeText, "08:00");
    EXPECT_FALSE(t.sensorTab.Filtered());
}

TEST(ReadSensorFile, LowerCasesOnlyLettersAToZ) {
    ImportTarget t;
    t.ReadText(Header() + DataLine(1, "14-M\xC4R-09", "10:00", "5"));
    ASSERT_EQ(t.sensorTab.RowCount(), 1);
    EXPECT_EQ(Rows(t.sensorTab)[0].datum, "14-m\xC4r-09");
    EXPECT_EQ(t.dayList, (std::vector<std::string>{"14-M\xC4R-09"}));
}

TEST(ReadSensorFile, ValuesAreSinglePrecisionAndImportUnitDivides) {
    ImportTarget mg(',', 1);
    mg.ReadText(Header() + DataLine(1, "14-may-09", "10:00", "99") + DataLine(2, "14-may-09", "10:05", "100,8"));
    const std::vector<Row> rows = Rows(mg.sensorTab);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].bgWert, 5.5);
    EXPECT_EQ(rows[1].bgWert, static_cast<double>(static_cast<long double>(100.8f) / 18.0L));

    ImportTarget mmol('.', 0);
    mmol.ReadText(Header() + DataLine(1, "14-may-09", "10:00", "5.6"));
    EXPECT_EQ(Rows(mmol.sensorTab)[0].bgWert, static_cast<double>(5.6f));
}

TEST(ReadSensorFile, IdentifierIsCharactersSevenToThirtySix) {
    ImportTarget t;
    t.ReadText("Patient ICode_X\r\n" + Header());
    EXPECT_EQ(t.pidText, "t ICode_X");  // counted from the start of the whole line
    t.ReadText("ICode_" + std::string("0123456789abcdefghijklmnopqrstuvwxyz") + "\r\n" + Header());
    EXPECT_EQ(t.pidText, "0123456789abcdefghijklmnopqrst");
    t.ReadText("ICode_\r\n" + Header());
    EXPECT_EQ(t.pidText, "");
    t.pidText = "kept";
    t.ReadText(Header());  // no identifier line: the field keeps its text
    EXPECT_EQ(t.pidText, "kept");
    t.ReadText("icode_lower\r\n" + Header());  // case-sensitive: line 1 is the header and fails
    EXPECT_EQ(t.pidText, "kept");
    EXPECT_EQ(t.Messages(), (std::vector<std::string>{kWrongFileText}));
}

TEST(ReadSensorFile, WrongFileLeavesEverythingAsItWas) {
    for (const std::string& bytes :
         {std::string(), std::string("ICode_123\r\n"), std::string("ICode_123"),
          std::string("ID\tSample\tSensor value\r\n") + DataLine(1, "14-may-09", "10:00", "5"),
          std::string("sample\tSensor Value\r\n"), DataLine(1, "14-may-09", "10:00", "5") + Header(),
          std::string("\x1A") + Header()}) {
        SCOPED_TRACE(bytes);
        ImportTarget t;
        Preload(t);
        t.sensorTab.SetFilterDay("01-jan-09");
        t.sensorTab.SetFiltered(true);
        EXPECT_EQ(t.ReadText(bytes), SensorFileRead::WrongFile);
        EXPECT_EQ(t.Messages(), (std::vector<std::string>{kWrongFileText}));
        EXPECT_EQ(t.sensorTab.TotalRows(), 1);
        EXPECT_TRUE(t.sensorTab.Filtered());
        EXPECT_EQ(t.dayList, (std::vector<std::string>{"01-Jan-09"}));
    }
    ImportTarget t;
    t.ReadText("ICode_77\r\n");
    EXPECT_EQ(t.pidText, "77");  // the identifier is taken before the header is tested
}

TEST(ReadSensorFile, HeaderOnlyEmptiesTheTable) {
    for (const std::string& bytes : {Header(), kHeaderLine, "ICode_1\n" + kHeaderLine + "\n\n\n"}) {
        ImportTarget t;
        Preload(t);
        t.sensorTab.SetFilterDay("01-jan-09");
        t.sensorTab.SetFiltered(true);
        EXPECT_EQ(t.ReadText(bytes), SensorFileRead::Replaced);
        EXPECT_TRUE(t.Messages().empty());
        EXPECT_EQ(t.sensorTab.TotalRows(), 0);
        EXPECT_FALSE(t.sensorTab.Filtered());
        EXPECT_TRUE(t.dayList.empty());
    }
}

TEST(ReadSensorFile, LineEnds) {
    // LF only, CR LF, the last line without a line end, an empty last line.
    ImportTarget t;
    t.ReadText(kHeaderLine + "\n1\t14-may-09\t10:00\t5\n2\t14-may-09\t10:05\t6\r\n3\t14-may-09\t10:10\t7");
    EXPECT_EQ(t.sensorTab.RowCount(), 3);
    EXPECT_EQ(t.currentTimeText, "10:10");

    t.ReadText(Header() + DataLine(1, "14-may-09", "10:00", "5") + "\r\n");
    EXPECT_EQ(t.sensorTab.RowCount(), 1);
    EXPECT_TRUE(t.Messages().empty());
    // The empty last line was parsed last and cleared the texts.
    EXPECT_EQ(t.currentDateText, "");
    EXPECT_EQ(t.currentTimeText, "");

    // A CR not followed by LF is left out of the line.
    t.ReadText(Header() + "1\t14-may-09\t10:\r05\t5,\r5\r\r\n");
    ASSERT_EQ(t.sensorTab.RowCount(), 1);
    EXPECT_EQ(Rows(t.sensorTab)[0].zeit, "10:05");
    EXPECT_EQ(Rows(t.sensorTab)[0].bgWert, static_cast<double>(5.5f));
    EXPECT_TRUE(t.Messages().empty());
}

TEST(ReadSensorFile, CarriageReturnOnlyFileIsOneLine) {
    // Without LF the whole file is the header line: accepted, no data lines.
    ImportTarget t;
    Preload(t);
    t.ReadText(kHeaderLine + "\r1\t14-may-09\t10:00\t5\r2\t14-may-09\t10:05\t6\r");
    EXPECT_TRUE(t.Messages().empty());
    EXPECT_EQ(t.sensorTab.TotalRows(), 0);
    EXPECT_TRUE(t.dayList.empty());

    // Header on its own LF line, data with CR only: one data line, its CRs left out.
    t.ReadText(Header() + "1\t14-may-09\t10:00\t5\r2\t14-may-09\t10:05\t6\r");
    ASSERT_EQ(t.sensorTab.RowCount(), 1);
    EXPECT_EQ(Rows(t.sensorTab)[0].zeit, "10:00");
    EXPECT_EQ(Rows(t.sensorTab)[0].bgWert, 0.0);  // "52\t14-may-09\t10:05\t6" is no number
}

TEST(ReadSensorFile, CodeTwentySixAtALineStartEndsTheFile) {
    ImportTarget t;
    t.ReadText(Header() + DataLine(1, "14-may-09", "10:00", "5") + "\x1A" + DataLine(2, "14-may-09", "10:05", "6") +
               DataLine(3, "14-may-09", "10:10", "7"));
    EXPECT_EQ(t.sensorTab.RowCount(), 1);
    // Elsewhere in a line it is an ordinary character; trimming removes it around a value.
    t.ReadText(Header() + "1\t14-may-09\t10:00\t5\x1A\r\n" + DataLine(2, "14-may-09\x1A", "10:05", "6"));
    ASSERT_EQ(t.sensorTab.RowCount(), 2);
    EXPECT_EQ(Rows(t.sensorTab)[0].bgWert, 5.0);
    EXPECT_EQ(Rows(t.sensorTab)[1].datum, "14-may-09\x1A");
}

TEST(ReadSensorFile, MalformedLinesAreSkippedSilently) {
    ImportTarget t;
    t.ReadText(Header() + "\r\n" + "just text\r\n" + "1\t14-may-09\r\n" + "2\t\t10:00\t5\r\n" +
               "3\t14-may-09\t\t5\r\n" + "4\t14-may-09\t\r\n" + DataLine(5, "14-may-09", "10:00", "5") +
               "x\t14-may-09\t10:05\t5\r\n");
    EXPECT_TRUE(t.Messages().empty());
    const std::vector<Row> rows = Rows(t.sensorTab);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].id, 5);
    EXPECT_EQ(rows[1].id, -1);
    EXPECT_EQ(t.dayList, (std::vector<std::string>{"14-may-09"}));
}

TEST(ReadSensorFile, DuplicateKeyStopsTheImportWithItsLine) {
    ImportTarget t;
    Preload(t);
    // The header was accepted, so the data counts as replaced though the import stopped.
    EXPECT_EQ(t.ReadText(Header() + DataLine(1, "14-May-09", "10:00", "5") + DataLine(2, "15-may-09", "10:05", "6") +
                         DataLine(3, "14-MAY-09", "10:00", "7") + DataLine(4, "16-may-09", "10:10", "8")),
              SensorFileRead::Replaced);
    EXPECT_EQ(t.Messages(), (std::vector<std::string>{kImportErrorText + "14-MAY-09  10:00"}));
    const std::vector<Row> rows = Rows(t.sensorTab);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].bgWert, 5.0);
    EXPECT_EQ(t.dayList, (std::vector<std::string>{"14-May-09", "15-may-09"}));
    EXPECT_EQ(t.currentDateText, "14-MAY-09");
    EXPECT_EQ(t.currentTimeText, "10:00");
    // The table takes the next import as usual.
    t.ReadText(Header() + DataLine(1, "14-may-09", "10:00", "5"));
    EXPECT_EQ(t.sensorTab.RowCount(), 1);
}

TEST(ReadSensorFile, FileThatCannotBeReadGivesTheImportError) {
    ImportTarget t;
    Preload(t);
    t.currentDateText = "old";
    t.currentTimeText = "old";
    EXPECT_EQ(t.Read(UnusedTempPath(".txt").string()), SensorFileRead::NotRead);
    EXPECT_EQ(t.Messages(), (std::vector<std::string>{kImportErrorText + "  "}));
    EXPECT_EQ(t.sensorTab.RowCount(), 1);
    EXPECT_EQ(t.currentDateText, "");
    EXPECT_EQ(t.currentTimeText, "");

    // A folder is no regular file.
    const std::filesystem::path folder = UnusedTempPath(".dir");
    std::filesystem::create_directory(folder);
    t.recorder.messages.clear();
    EXPECT_EQ(t.Read(folder.string()), SensorFileRead::NotRead);
    std::filesystem::remove(folder);
    EXPECT_EQ(t.Messages(), (std::vector<std::string>{kImportErrorText + "  "}));
    EXPECT_EQ(t.sensorTab.RowCount(), 1);

    t.recorder.messages.clear();
    EXPECT_EQ(t.Read(""), SensorFileRead::NotRead);
    EXPECT_EQ(t.Messages(), (std::vector<std::string>{kImportErrorText + "  "}));
}

TEST(ReadSensorFile, OnlyRegularFilesAreRead) {
    // A pipe without a writer would wait for ever; /dev/zero would never end.
    const std::filesystem::path fifo = UnusedTempPath(".fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::filesystem::path zero = UnusedTempPath(".txt");
    std::filesystem::create_symlink("/dev/zero", zero);
    for (const auto& path : {fifo, zero}) {
        ImportTarget t;
        Preload(t);
        EXPECT_EQ(t.Read(path.string()), SensorFileRead::NotRead);
        EXPECT_EQ(t.Messages(), (std::vector<std::string>{kImportErrorText + "  "}));
        EXPECT_EQ(t.sensorTab.RowCount(), 1);
        std::filesystem::remove(path);
    }
}

TEST(ReadSensorFile, OneMegabyteLines) {
    const std::string mb(1 << 20, ' ');
    ImportTarget t;
    // A value followed by a megabyte of blanks, a megabyte time text cut to 20.
    t.ReadText(Header() + "1\t14-may-09\t10:00\t5,6" + mb + "\r\n" + "2\t14-may-09\t10:05" + mb + "x\t7\r\n" +
               DataLine(3, "14-may-09", "10:10", "8"));
    EXPECT_TRUE(t.Messages().empty());
    std::vector<Row> rows = Rows(t.sensorTab);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].bgWert, static_cast<double>(5.6f));
    EXPECT_EQ(rows[1].zeit, "10:05" + std::string(15, ' '));
    EXPECT_EQ(rows[1].bgWert, 7.0);
    EXPECT_EQ(rows[2].bgWert, 8.0);

    // A one-megabyte single line without the header words, and one with them.
    t.ReadText(std::string(1 << 20, 'x'));
    EXPECT_EQ(t.Messages(), (std::vector<std::string>{kWrongFileText}));
    t.recorder.messages.clear();
    t.ReadText(std::string(1 << 20, '\t') + "Sample Sensor Value");
    EXPECT_TRUE(t.Messages().empty());
    EXPECT_EQ(t.sensorTab.TotalRows(), 0);
}

TEST(ReadSensorFile, LineEndSplitAcrossTheReadBuffer) {
    // Place a CR LF pair, and a line start, on every offset around the 1 MiB mark.
    for (int shift = -3; shift <= 3; ++shift) {
        SCOPED_TRACE(shift);
        std::string bytes = Header();
        const std::string filler = "0\tfill\tfill\t";
        const size_t target = (1u << 20) + static_cast<size_t>(shift);
        bytes += filler + std::string(target - bytes.size() - filler.size() - 1, 'z') + "\r\n";
        for (int i = 0; i < 10; ++i) bytes += DataLine(i, "14-may-09", TimeText(10, i), "5");
        ImportTarget t;
        t.ReadText(bytes);
        EXPECT_TRUE(t.Messages().empty());
        const std::vector<Row> rows = Rows(t.sensorTab);
        ASSERT_EQ(rows.size(), 11u);
        for (int i = 0; i < 10; ++i) {
            EXPECT_EQ(rows[static_cast<size_t>(i)].zeit, TimeText(10, i));
            EXPECT_EQ(rows[static_cast<size_t>(i)].bgWert, 5.0);
        }
        EXPECT_EQ(rows[10].datum, "fill");
    }
}

TEST(ReadSensorFile, BinaryGarbageDoesNoHarm) {
    std::mt19937 random(7);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int round = 0; round < 20; ++round) {
        std::string garbage;
        for (int i = 0; i < 20000; ++i) {
            const int b = byte(random);
            // Many TABs and line ends so that lines take both shapes.
            garbage.push_back(static_cast<char>(b < 40 ? '\t' : (b < 50 ? '\n' : (b < 55 ? '\r' : b))));
        }
        ImportTarget t;
        t.ReadText(garbage);
        EXPECT_EQ(t.Messages(), (std::vector<std::string>{kWrongFileText}));

        ImportTarget u;
        u.ReadText(Header() + garbage);
        EXPECT_LE(u.Messages().size(), 1u);
        std::pair<std::string, std::string> previous;
        for (const Row& row : Rows(u.sensorTab)) {
            EXPECT_FALSE(row.datum.empty());
            EXPECT_FALSE(row.zeit.empty());
            EXPECT_LE(row.datum.size(), 20u);
            EXPECT_LE(row.zeit.size(), 20u);
            for (char c : row.datum) EXPECT_FALSE(c >= 'A' && c <= 'Z');
            const std::pair<std::string, std::string> key{row.datum, row.zeit};
            EXPECT_LT(previous, key);
            previous = key;
        }
        EXPECT_LE(u.dayList.size(), static_cast<size_t>(u.sensorTab.TotalRows()));
    }
}

TEST(ReadSensorFile, LongFileWithManyDays) {
    std::string bytes = Header();
    for (int i = 0; i < 200000; ++i)
        bytes += DataLine(i, "d" + std::to_string(i / 1440), TimeText(i % 1440 / 60, i % 60), "5");
    ImportTarget t;
    t.ReadText(bytes);
    EXPECT_TRUE(t.Messages().empty());
    EXPECT_EQ(t.sensorTab.RowCount(), 200000);
    EXPECT_EQ(t.dayList.size(), 139u);
    // Without an event hook the reader works as well.
    ImportTarget quiet;
    quiet.recorder.hooks.processEvents = nullptr;
    quiet.ReadText(Header() + DataLine(1, "14-may-09", "10:00", "5"));
    EXPECT_EQ(quiet.sensorTab.RowCount(), 1);
}

TEST(IsSensorFile, HeaderTest) {
    EXPECT_TRUE(IsSensorFile(ScratchFile(Header()).Path()));
    EXPECT_TRUE(IsSensorFile(ScratchFile("ICode_1\n" + Header()).Path()));
    EXPECT_FALSE(IsSensorFile(ScratchFile("ICode_1\n").Path()));
    EXPECT_FALSE(IsSensorFile(ScratchFile("").Path()));
    EXPECT_FALSE(IsSensorFile(ScratchFile("Sample only\n").Path()));
    EXPECT_FALSE(IsSensorFile(UnusedTempPath(".txt").string()));
}

}  // namespace
}  // namespace zelk
