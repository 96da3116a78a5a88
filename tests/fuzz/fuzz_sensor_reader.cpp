// Fuzzes the sensor file reader and the date and clock texts: any bytes parse as a
// line, import as a file (through a temporary file) and read as a date or clock
// text without a crash, and what comes out keeps the reader's rules.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzCheck.h"
#include "data/DateTexts.h"
#include "data/Errors.h"
#include "data/Locale.h"
#include "data/SensorReader.h"
#include "data/SensorTab.h"
#include "tests/common/ScratchFolder.h"

namespace {

using zelk::fuzz::Check;
using zelk::test::ScratchFolder;

const std::string kWrongFile = "Falsche Sensordatei!";
const std::string kImportError = "Fehler beim Import der Sensordaten! ";

// Everything the reader fills, holding one earlier import to see what a refused file keeps.
struct Target {
    zelk::SensorTab sensorTab;
    std::vector<std::string> dayList{"01-Jan-09"};
    std::string pid = "before";
    std::string date;
    std::string time;
    zelk::SensorImport import{sensorTab, dayList, pid, date, time, kWrongFile, kImportError};

    Target(char separator, int unit) {
        sensorTab.Append(1, "01-jan-09", "10:00", 5.0);
        import.decimalSeparator = separator;
        import.importUnit = unit;
    }
};

bool HasUpperAscii(std::string_view text) {
    for (const char c : text)
        if (c >= 'A' && c <= 'Z') return true;
    return false;
}

void FuzzLine(std::string_view bytes) {
    Target t(bytes.size() % 2 ? ',' : '.', 0);
    const zelk::SensorLine line = zelk::ParseSensorLine(bytes, t.import);
    const size_t tabs = static_cast<size_t>(std::count(bytes.begin(), bytes.end(), '\t'));
    if (tabs == 0) Check(line.id == -1);
    if (tabs < 2) Check(t.date.empty() && t.time.empty());
    if (tabs == 2) Check(t.time.size() <= 5);
    Check(t.date.find('\t') == std::string::npos && t.time.find('\t') == std::string::npos);
}

void FuzzFile(const ScratchFolder& scratch, std::string_view bytes) {
    std::vector<std::string> messages;
    const zelk::WindowHooks hooks{[&messages](const std::string& text) { messages.push_back(text); }, [] {}};
    Target t(',', bytes.size() % 3 == 0 ? 1 : 0);
    const zelk::SensorFileRead outcome = zelk::ReadSensorFile(scratch.Write("input.txt", bytes), t.import, hooks);
    Check(messages.size() <= 1);
    switch (outcome) {
    case zelk::SensorFileRead::NotRead:
        Check(false);  // the file exists and is a regular file
        break;
    case zelk::SensorFileRead::WrongFile:
        Check(messages.size() == 1 && messages[0] == kWrongFile);
        Check(t.sensorTab.TotalRows() == 1 && t.dayList.size() == 1);
        break;
    case zelk::SensorFileRead::Replaced: {
        if (!messages.empty()) Check(messages[0].rfind(kImportError, 0) == 0);
        Check(!t.sensorTab.Filtered());
        Check(t.dayList.size() <= static_cast<size_t>(t.sensorTab.TotalRows()));
        const zelk::SensorRowStore& store = t.sensorTab.Store();
        for (zelk::SensorRowStore::Walker w(store, 0); !w.AtEnd(); w.Next()) {
            const zelk::SensorRow& row = w.Row();
            Check(!row.datum.View().empty() && !row.zeit.View().empty());
            Check(row.datum.View().size() <= 20 && row.zeit.View().size() <= 20);
            Check(!HasUpperAscii(row.datum.View()));
        }
        break;
    }
    }
}

void FuzzDateAndClock(std::string_view bytes) {
    static const zelk::MonthList kEnglish = zelk::BuildMonthList("en", zelk::LocaleInfo{});
    static const zelk::MonthList kGerman = zelk::BuildMonthList("de", zelk::LocaleInfo{});
    for (const zelk::MonthList* months : {&kEnglish, &kGerman}) {
        const zelk::DateTexts dates(*months);
        try {
            const zelk::DateTime day = dates.ParseDayText(bytes);
            // A date text read once forms the following day's text, which reads again.
            const std::string next = dates.NextDayText(bytes);
            const zelk::DateTime following = dates.ParseDayText(next);
            int year = 0, month = 0, dayOfMonth = 0;
            zelk::DecodeDate(day, year, month, dayOfMonth);
            if (year >= 2000 && year < 2099) Check(following == day + 1);
            Check(next.size() >= 9);
        } catch (const zelk::ConversionError&) {
        }
    }
    try {
        const int minutes = zelk::ClockMinutes(bytes);
        Check(minutes >= 0 && minutes < zelk::kMinutesPerDay);
        const zelk::DateTexts dates(kEnglish);
        const zelk::DateTime value = dates.DayTimeValue("14-may-09", bytes);
        Check(value >= dates.ParseDayText("14-may-09") && value < dates.ParseDayText("15-may-09"));
    } catch (const zelk::ConversionError&) {
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const ScratchFolder scratch("zelk_fuzz");
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    FuzzLine(bytes);
    FuzzFile(scratch, bytes);
    FuzzDateAndClock(bytes);
    return 0;
}
