#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "data/DateTexts.h"
#include "data/Errors.h"
#include "data/SensorTab.h"
#include "data/TextNumber.h"
#include "data/WerteTab.h"
#include "windowlogic/MainCore.h"

namespace zelk {
namespace {

// Datum;Zeit of every row, in the table's order.
std::vector<std::string> Keys(const SensorTab& tab) {
    std::vector<std::string> keys;
    for (int r = 0; r < tab.RowCount(); ++r)
        keys.push_back(std::get<std::string>(tab.Value(r, 1)) + ";" + std::get<std::string>(tab.Value(r, 2)));
    return keys;
}

TEST(SensorTab, RowsFollowTheIndexByteWise) {
    SensorTab tab;
    tab.Append(1, "31-jan-08", "10:00", 5.0);
    tab.Append(2, "01-feb-08", "10:00", 6.0);
    tab.Append(3, "01-feb-08", "09:00", 7.0);
    tab.Append(4, "01-feb-08", "10:00:00", 8.0);
    tab.Append(5, "01-Feb-08", "10:00", 9.0);  // upper case sorts before lower case
    tab.Append(6, "01-feb-08", "9:30", 4.0);   // a one-digit hour sorts after 10:00
    EXPECT_EQ(Keys(tab), (std::vector<std::string>{"01-Feb-08;10:00", "01-feb-08;09:00", "01-feb-08;10:00",
                                                   "01-feb-08;10:00:00", "01-feb-08;9:30", "31-jan-08;10:00"}));
    EXPECT_EQ(std::get<int>(tab.Value(0, 0)), 5);
    EXPECT_EQ(std::get<double>(tab.Value(5, 3)), 5.0);
}

TEST(SensorTab, ByteOrderTreatsHighCharactersAsAboveAscii) {
    SensorTab tab;
    tab.Append(1, "14-m\xE4r-09", "10:00", 5.0);
    tab.Append(2, "14-mzz-09", "10:00", 5.0);
    EXPECT_EQ(std::get<std::string>(tab.Value(0, 1)), "14-mzz-09");
}

TEST(SensorTab, DuplicateKeyIsRefusedAndLeavesNoPendingRow) {
    SensorTab tab;
    tab.Append(1, "14-may-09", "10:00", 5.0);
    tab.Append(2, "14-may-09", "10:05", 6.0);
    EXPECT_THROW(tab.Append(3, "14-may-09", "10:00", 7.0), DatasetError);
    EXPECT_EQ(tab.RowCount(), 2);
    EXPECT_EQ(std::get<double>(tab.Value(0, 3)), 5.0);  // the stored row is untouched
    // Later operations work on the stored rows only.
    tab.Append(4, "14-may-09", "10:10", 8.0);
    EXPECT_EQ(tab.RowCount(), 3);
    tab.First();
    int seen = 0;
    for (; !tab.Eof(); tab.Next()) ++seen;
    EXPECT_EQ(seen, 3);
    // Keys that differ only after the cut are the same key.
    tab.Append(5, "14-may-09", "10:10:00.00000000000001", 1.0);
    EXPECT_THROW(tab.Append(6, "14-may-09", "10:10:00.00000000000002", 1.0), DatasetError);
    EXPECT_EQ(tab.RowCount(), 4);
}

TEST(SensorTab, RowsInFileOrderAroundTheLastInsert) {
    // Readings of a day arrive in time order, interleaved with other days.
    SensorTab tab;
    tab.Append(1, "14-may-09", "10:00", 1.0);
    tab.Append(2, "14-may-09", "10:10", 2.0);
    tab.Append(3, "14-may-09", "10:05", 3.0);                              // between two rows
    EXPECT_THROW(tab.Append(4, "14-may-09", "10:10", 4.0), DatasetError);  // equals the next row
    EXPECT_THROW(tab.Append(5, "14-may-09", "10:05", 5.0), DatasetError);  // equals the last insert
    tab.Append(6, "14-may-09", "10:06", 6.0);
    tab.Append(7, "01-jun-09", "00:00", 7.0);
    tab.Append(8, "14-may-09", "10:07", 8.0);
    EXPECT_THROW(tab.Append(9, "14-may-09", "10:00", 9.0), DatasetError);
    tab.DeleteRow(0);
    tab.Append(10, "14-may-09", "10:08", 10.0);
    tab.Append(11, "01-jun-09", "00:00:30", 11.0);
    EXPECT_EQ(Keys(tab),
              (std::vector<std::string>{"01-jun-09;00:00:30", "14-may-09;10:00", "14-may-09;10:05", "14-may-09;10:06",
                                        "14-may-09;10:07", "14-may-09;10:08", "14-may-09;10:10"}));
    // Enough rows in time order to fill and split many blocks.
    SensorTab big;
    for (int day = 1; day <= 30; ++day)
        for (int m = 0; m < 1440; ++m) big.Append(m, TwoDigits(31 - day) + "-apr-09", TimeText(m / 60, m % 60), 1.0);
    ASSERT_EQ(big.RowCount(), 30 * 1440);
    const std::vector<std::string> keys = Keys(big);
    EXPECT_TRUE(std::is_sorted(keys.begin(), keys.end()));
    EXPECT_EQ(std::adjacent_find(keys.begin(), keys.end()), keys.end());
    EXPECT_THROW(big.Append(0, "15-apr-09", "12:00", 1.0), DatasetError);
}

TEST(SensorTab, ShuffledInsertsAndErasesKeepKeyOrderAndPositions) {
    std::vector<std::pair<std::string, std::string>> keys;
    for (int day = 1; day <= 12; ++day)
        for (int m = 0; m < 1440; m += 5) keys.emplace_back(TwoDigits(day) + "-may-09", TimeText(m / 60, m % 60));
    std::shuffle(keys.begin(), keys.end(), std::mt19937(7));
    SensorRowStore store;
    for (const auto& [datum, zeit] : keys) {
        SensorRow row;
        row.datum.Assign(datum);
        row.zeit.Assign(zeit);
        ASSERT_TRUE(store.Insert(row));
    }
    for (int pos = store.Size() - 1; pos >= 0; pos -= 7) store.Erase(pos);  // first rows of blocks too
    std::sort(keys.begin(), keys.end());
    for (int i = static_cast<int>(keys.size()) - 1; i >= 0; i -= 7) keys.erase(keys.begin() + i);
    ASSERT_EQ(store.Size(), static_cast<int>(keys.size()));
    int pos = 0;
    for (SensorRowStore::Walker w(store, 0); !w.AtEnd(); w.Next(), ++pos) {
        const auto& [datum, zeit] = keys[static_cast<size_t>(pos)];
        ASSERT_EQ(w.Row().datum.View(), datum);
        ASSERT_EQ(w.Row().zeit.View(), zeit);
        ASSERT_EQ(store.Find(datum, zeit), pos);
    }
    const auto firstOf = [&](const std::string& day) {
        return static_cast<int>(std::lower_bound(keys.begin(), keys.end(), std::pair(day, std::string())) -
                                keys.begin());
    };
    EXPECT_EQ(store.LowerBound("05-may-09", {}), firstOf("05-may-09"));
    EXPECT_EQ(store.UpperBoundDatum("05-may-09"), firstOf("06-may-09"));
}

// Loading at once orders rows as inserting them one by one does: in file order and
// shuffled, over hundreds of days, more month names than the date keys hold, dates of
// other shapes and times that share their first eight bytes or run past the field.
TEST(SensorTab, BulkLoadGivesTheRowsOfAppendsOneByOne) {
    const char* const months[] = {"Jan", "FEB", "mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct",
                                  "Nov", "Dec", "Mrz", "Mai", "Okt", "Dez", "Jän", "Xyz", "Abc", "Qrs"};
    const char* const clocks[] = {"12:00",
                                  "09:05",
                                  "9:05",
                                  "12:00:00",
                                  "12:00:00a",
                                  "12:00:00b",
                                  "23:59:59.5",
                                  "12:00:00 and some more",
                                  "12:00:00 and other text",
                                  "00:00"};
    struct Line {
        int id;
        std::string datum, zeit;
    };
    std::vector<Line> lines;
    std::mt19937 random(11);
    for (int day = 0; day < 420; ++day) {
        std::string datum = TwoDigits(1 + day % 31) + "-" + months[day % 20] + "-" + TwoDigits(day / 31);
        if (day % 7 == 3) datum = "2009-" + TwoDigits(day % 12) + "-" + TwoDigits(day % 31) + "/" + std::to_string(day);
        if (day % 11 == 5) datum = std::to_string(day) + " is a date longer than the field";
        for (const char* clock : clocks) lines.push_back({static_cast<int>(lines.size()), datum, clock});
        for (int m = 1 + day % 17; m < 1440; m += 37)
            if (m % 5 != 0) lines.push_back({static_cast<int>(lines.size()), datum, TimeText(m / 60, m % 60)});
    }
    for (const bool shuffled : {false, true}) {
        if (shuffled) std::shuffle(lines.begin(), lines.end(), random);
        SensorTab bulk, oneByOne;
        std::set<std::string> stored;
        for (const Line& line : lines) {
            const std::string lowered = LowerAscii(line.datum).substr(0, 20);
            EXPECT_EQ(bulk.BulkAppend(line.id, line.datum, line.zeit, line.id * 0.5), !stored.insert(lowered).second);
            oneByOne.Append(line.id, lowered, line.zeit, line.id * 0.5);
        }
        ASSERT_TRUE(bulk.FinishBulk());
        ASSERT_EQ(bulk.TotalRows(), oneByOne.TotalRows());
        for (int pos = 0; pos < bulk.TotalRows(); ++pos) {
            const SensorRow& a = bulk.Store().At(pos);
            const SensorRow& b = oneByOne.Store().At(pos);
            ASSERT_EQ(a.datum.View(), b.datum.View());
            ASSERT_EQ(a.zeit.View(), b.zeit.View());
            ASSERT_EQ(a.id, b.id);
            ASSERT_EQ(a.bgWert, b.bgWert);
        }
    }
    // A key that comes twice leaves the table empty.
    SensorTab twice;
    for (const Line& line : lines) twice.BulkAppend(line.id, line.datum, line.zeit, 1.0);
    twice.BulkAppend(0, lines[5].datum, lines[5].zeit, 2.0);
    EXPECT_FALSE(twice.FinishBulk());
    EXPECT_EQ(twice.TotalRows(), 0);
}

TEST(SensorTab, TextsAreCutToTwentyCharacters) {
    SensorTab tab;
    tab.Append(1, "0123456789abcdefghijKLMN", "10:00:00 and much more text", 1.0);
    EXPECT_EQ(std::get<std::string>(tab.Value(0, 1)), "0123456789abcdefghij");
    EXPECT_EQ(std::get<std::string>(tab.Value(0, 2)), "10:00:00 and much mo");
}

TEST(SensorTab, FilterOnOneDay) {
    SensorTab tab;
    tab.Append(1, "14-may-09", "10:00", 5.0);
    tab.Append(2, "15-may-09", "08:00", 6.0);
    tab.Append(3, "15-may-09", "09:00", 7.0);
    tab.Append(4, "16-may-09", "07:00", 8.0);

    tab.SetFilterDay("15-may-09");
    tab.SetFiltered(true);
    EXPECT_EQ(tab.FilterText(), "Datum='15-may-09'");
    EXPECT_EQ(tab.RowCount(), 2);
    tab.First();
    ASSERT_FALSE(tab.Eof());
    EXPECT_EQ(tab.CurZeit(), "08:00");
    tab.Next();
    ASSERT_FALSE(tab.Eof());
    EXPECT_EQ(tab.CurZeit(), "09:00");
    tab.Next();
    EXPECT_TRUE(tab.Eof());
    // The last visible row stays current at the end.
    EXPECT_EQ(tab.CurZeit(), "09:00");
    EXPECT_EQ(tab.CurDatum(), "15-may-09");
    EXPECT_EQ(tab.CurBgWert(), 7.0);

    // Replacing the filter text while the filter is on applies it at once.
    tab.SetFilterDay("16-may-09");
    EXPECT_EQ(tab.RowCount(), 1);
    tab.First();
    EXPECT_EQ(tab.CurZeit(), "07:00");

    // The filter compares exactly: case matters.
    tab.SetFilterDay("16-MAY-09");
    EXPECT_EQ(tab.RowCount(), 0);

    tab.RemoveFilter();
    EXPECT_EQ(tab.RowCount(), 4);
}

TEST(SensorTab, FilterOnADayWithoutRowsIsAtItsEnd) {
    SensorTab tab;
    tab.Append(1, "14-may-09", "10:00", 5.0);
    tab.Append(2, "16-may-09", "10:00", 5.0);
    tab.SetFilterDay("15-may-09");
    tab.SetFiltered(true);
    tab.First();
    EXPECT_TRUE(tab.Eof());
    EXPECT_EQ(tab.CurDatum(), "");
    EXPECT_EQ(tab.CurZeit(), "");
    EXPECT_EQ(tab.CurBgWert(), 0.0);
    tab.Next();
    EXPECT_TRUE(tab.Eof());

    SensorTab empty;
    empty.First();
    EXPECT_TRUE(empty.Eof());
    EXPECT_EQ(empty.CurBgWert(), 0.0);
}

TEST(SensorTab, NearestSearch) {
    SensorTab tab;
    tab.Append(1, "14-may-09", "10:00", 5.0);
    tab.Append(2, "14-may-09", "10:05:00", 6.0);
    tab.Append(3, "15-may-09", "00:10", 7.0);

    tab.FindNearest("14-may-09", "10:05");  // finds 10:05:00
    ASSERT_FALSE(tab.Eof());
    EXPECT_EQ(tab.CurZeit(), "10:05:00");

    tab.FindNearest("14-may-09", "10:00");  // an equal key
    EXPECT_EQ(tab.CurZeit(), "10:00");

    tab.FindNearest("14-may-09", "23:00");  // goes on to the next day
    ASSERT_FALSE(tab.Eof());
    EXPECT_EQ(tab.CurDatum(), "15-may-09");
    tab.Next();
    EXPECT_TRUE(tab.Eof());

    tab.FindNearest("15-may-09", "00:11");  // after the last row
    EXPECT_TRUE(tab.Eof());
    tab.FindNearest("31-dec-99", "");
    EXPECT_TRUE(tab.Eof());

    tab.FindNearest("", "");  // before the first row
    EXPECT_FALSE(tab.Eof());
    EXPECT_EQ(tab.CurZeit(), "10:00");
}

TEST(SensorTab, DeleteAllAndAppendAgain) {
    SensorTab tab;
    for (int i = 0; i < 500; ++i) tab.Append(i, "14-may-09", TimeText(i / 60, i % 60), 1.0 + i);
    tab.DeleteAll();
    EXPECT_EQ(tab.RowCount(), 0);
    tab.First();
    EXPECT_TRUE(tab.Eof());
    tab.Append(1, "14-may-09", "00:00", 3.0);
    EXPECT_EQ(tab.RowCount(), 1);
}

TEST(SensorTab, ManyRowsInAnyOrderStaySortedAndUnique) {
    // Enough rows for many blocks, appended in shuffled order, with duplicates.
    std::vector<std::pair<std::string, std::string>> keys;
    for (int day = 1; day <= 20; ++day)
        for (int m = 0; m < 1440; m += 3) keys.emplace_back(TwoDigits(day) + "-may-09", TimeText(m / 60, m % 60));
    std::mt19937 random(42);
    std::shuffle(keys.begin(), keys.end(), random);
    SensorTab tab;
    int refused = 0;
    for (size_t i = 0; i < keys.size(); ++i) {
        tab.Append(static_cast<int>(i), keys[i].first, keys[i].second, 1.0);
        if (i % 7 == 0) {
            try {
                tab.Append(-1, keys[i / 2].first, keys[i / 2].second, 2.0);
            } catch (const DatasetError&) {
                ++refused;
            }
        }
    }
    ASSERT_EQ(tab.RowCount(), static_cast<int>(keys.size()));
    EXPECT_GT(refused, 0);
    std::vector<std::string> expected;
    for (const auto& k : keys) expected.push_back(k.first + ";" + k.second);
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(Keys(tab), expected);
    // Position lookups and walks agree.
    const SensorRowStore& store = tab.Store();
    int pos = store.LowerBound("07-may-09", "12:01");
    EXPECT_EQ(store.At(pos).zeit.View(), "12:03");
    SensorRowStore::Walker walker(store, pos);
    for (int i = 0; i < 1000; ++i, walker.Next()) ASSERT_EQ(&walker.Row(), &store.At(pos + i));
    EXPECT_EQ(store.UpperBoundDatum("07-may-09") - store.LowerBound("07-may-09", ""), 480);
    EXPECT_EQ(store.Find("07-may-09", "12:03"), pos);
    EXPECT_EQ(store.Find("07-may-09", "12:04"), -1);
    EXPECT_EQ(store.LowerBoundFrom("07-may-09", "12:01", 0), pos);
    EXPECT_EQ(store.LowerBoundFrom("07-may-09", "12:01", pos), pos);
    EXPECT_EQ(store.LowerBoundFrom("07-may-09", "12:01", store.Size()), pos);
}

TEST(SensorTab, TableViewEditsKeepTheIndex) {
    SensorTab tab;
    tab.Append(1, "14-may-09", "10:00", 5.0);
    tab.Append(2, "14-may-09", "11:00", 6.0);
    std::vector<DatasetChange::Kind> changes;
    const int handle = tab.Subscribe([&](const DatasetChange& c) { changes.push_back(c.kind); });

    // Changing the time moves the row in index order.
    EXPECT_EQ(tab.SetValue(0, 2, std::string("12:00")), 1);
    EXPECT_EQ(Keys(tab), (std::vector<std::string>{"14-may-09;11:00", "14-may-09;12:00"}));
    // A key that exists already is refused; nothing changes.
    EXPECT_THROW(tab.SetValue(0, 2, std::string("12:00")), DatasetError);
    EXPECT_EQ(Keys(tab), (std::vector<std::string>{"14-may-09;11:00", "14-may-09;12:00"}));
    // A value edit, and an emptied value reading as 0.
    EXPECT_EQ(tab.SetValue(1, 3, 7.5), 1);
    EXPECT_EQ(std::get<double>(tab.Value(1, 3)), 7.5);
    tab.SetValue(1, 3, FieldValue{});
    EXPECT_TRUE(std::holds_alternative<std::monostate>(tab.Value(1, 3)));
    tab.FindNearest("14-may-09", "12:00");
    EXPECT_EQ(tab.CurBgWert(), 0.0);

    const int added = tab.AppendEmptyRow();
    EXPECT_EQ(added, 0);  // empty keys sort first
    EXPECT_EQ(tab.RowCount(), 3);
    EXPECT_THROW(tab.AppendEmptyRow(), DatasetError);
    tab.DeleteRow(0);
    EXPECT_EQ(tab.RowCount(), 2);
    EXPECT_THROW(tab.Value(2, 0), DatasetError);
    EXPECT_THROW(tab.Value(0, 4), DatasetError);
    EXPECT_THROW(tab.DeleteRow(-1), DatasetError);

    EXPECT_FALSE(changes.empty());
    tab.Unsubscribe(handle);
    const size_t before = changes.size();
    tab.Append(3, "15-may-09", "10:00", 1.0);
    EXPECT_EQ(changes.size(), before);
}

TEST(SensorTab, ViewOfAFilteredTable) {
    SensorTab tab;
    tab.Append(1, "14-may-09", "10:00", 5.0);
    tab.Append(2, "15-may-09", "10:00", 6.0);
    tab.Append(3, "15-may-09", "11:00", 7.0);
    tab.SetFilterDay("15-may-09");
    tab.SetFiltered(true);
    EXPECT_EQ(std::get<double>(tab.Value(0, 3)), 6.0);
    // Moving the row to another day takes it out of view.
    EXPECT_EQ(tab.SetValue(0, 1, std::string("16-may-09")), -1);
    EXPECT_EQ(tab.RowCount(), 1);
    tab.DeleteRow(0);
    EXPECT_EQ(tab.RowCount(), 0);
    tab.RemoveFilter();
    EXPECT_EQ(Keys(tab), (std::vector<std::string>{"14-may-09;10:00", "16-may-09;10:00"}));
}

TEST(SensorTab, AppendsTellListenersOfVisibleRowsWithoutALookup) {
    SensorTab tab;
    std::vector<DatasetChange> changes;
    tab.Subscribe([&](const DatasetChange& c) { changes.push_back(c); });
    tab.Append(1, "15-may-09", "10:00", 5.0);
    tab.SetFilterDay("15-may-09");
    tab.SetFiltered(true);
    changes.clear();
    tab.Append(2, "16-may-09", "10:00", 6.0);  // outside the filter: nothing to show
    EXPECT_TRUE(changes.empty());
    tab.Append(3, "15-may-09", "09:00", 7.0);
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0].kind, DatasetChange::Kind::RowsInserted);
    EXPECT_EQ(changes[0].row, -1);
}

TEST(WerteTab, CreatedWithTheDemoCurve) {
    WerteTab tab;
    tab.CreateWithDemo(kDemoValues);
    ASSERT_EQ(tab.RowCount(), 4320);
    int nonZero = 0;
    for (int row = 0; row < 4320; ++row) {
        ASSERT_EQ(tab.Minute(row), row);
        ASSERT_FALSE(tab.GlukoseEmpty(row));
        EXPECT_TRUE(std::holds_alternative<std::monostate>(tab.Value(row, 2)));  // BG_Neu stays empty
        if (tab.Glukose(row) != 0.0) {
            ++nonZero;
            EXPECT_EQ(row % 60, 0);
            EXPECT_LE(row, 2820);
            EXPECT_EQ(tab.Glukose(row), static_cast<double>(kDemoValues[static_cast<size_t>(row / 60)]));
        }
    }
    EXPECT_EQ(nonZero, 48);
    EXPECT_EQ(tab.Glukose(0), static_cast<double>(18.5f));
    EXPECT_EQ(tab.Glukose(60 * 15), static_cast<double>(24.0f));
    EXPECT_EQ(tab.Glukose(2820), static_cast<double>(7.8f));
    EXPECT_EQ(tab.Glukose(2880), 0.0);
    EXPECT_EQ(kDemoValues[42], 2.3f);
}

TEST(WerteTab, ClearFindAndEdit) {
    WerteTab tab;
    tab.CreateWithDemo(kDemoValues);
    tab.ClearGlukose();
    for (int row = 0; row < 4320; ++row) ASSERT_TRUE(tab.GlukoseEmpty(row));
    EXPECT_EQ(tab.Glukose(0), 0.0);  // an empty float reads as 0
    EXPECT_TRUE(std::holds_alternative<std::monostate>(tab.Value(0, 1)));

    EXPECT_EQ(tab.FindKey(0), 0);
    EXPECT_EQ(tab.FindKey(4319), 4319);
    EXPECT_EQ(tab.FindKey(4320), -1);
    EXPECT_EQ(tab.FindKey(-1), -1);
    tab.SetGlukose(tab.FindKey(125), 6.25);
    EXPECT_EQ(tab.Glukose(125), 6.25);
    EXPECT_FALSE(tab.GlukoseEmpty(125));
}

TEST(WerteTab, UserEditsInTheTableWindow) {
    WerteTab tab;
    tab.CreateWithDemo(kDemoValues);
    int resets = 0;
    tab.Subscribe([&](const DatasetChange& c) { resets += c.kind == DatasetChange::Kind::Reset; });

    tab.DeleteRow(10);
    EXPECT_EQ(tab.RowCount(), 4319);
    EXPECT_EQ(tab.FindKey(10), -1);
    EXPECT_EQ(tab.FindKey(11), 10);
    EXPECT_EQ(tab.FindKey(4319), 4318);

    // A new row has an empty Minute and sorts first until the user gives it one.
    EXPECT_EQ(tab.AppendEmptyRow(), 0);
    EXPECT_EQ(tab.FindKey(0), 1);
    EXPECT_EQ(tab.SetValue(0, 0, 10), 10);
    EXPECT_EQ(tab.FindKey(10), 10);
    EXPECT_EQ(tab.FindKey(0), 0);
    // A minute outside the grid is stored and never found by the grid's search.
    const int moved = tab.SetValue(0, 0, 5000);
    EXPECT_EQ(moved, tab.RowCount() - 1);
    EXPECT_EQ(tab.FindKey(0), -1);
    EXPECT_EQ(tab.FindKey(5000), moved);
    EXPECT_GT(resets, 0);

    // Bulk edits send one reset at the end.
    resets = 0;
    tab.BeginBulk();
    tab.ClearGlukose();
    tab.SetGlukose(5, 1.0);
    EXPECT_EQ(resets, 0);
    tab.EndBulk();
    EXPECT_EQ(resets, 1);
}

}  // namespace
}  // namespace zelk
