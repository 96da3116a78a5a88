#include "data/SensorReader.h"

#include <exception>
#include <optional>

#include "data/Errors.h"
#include "data/LineReader.h"
#include "data/ShortText.h"
#include "data/TextNumber.h"
#include "data/Units.h"

namespace zelk {
namespace {

constexpr std::string_view kIdentifierMark = "ICode_";

bool Contains(std::string_view text, std::string_view part) { return text.find(part) != std::string_view::npos; }

// Characters 7 to 36 of the identifier line.
std::string IdentifierOf(std::string_view line) {
    if (line.size() <= 6) return {};
    return std::string(line.substr(6, 30));
}

// Keeps the day list free of entries that differ only in letter case.
class DayListBuilder {
public:
    explicit DayListBuilder(std::vector<std::string>& days) : days_(days) {}

    void Add(std::string_view date) {
        if (!last_.empty() && SameTextAscii(date, last_)) return;
        std::string key = LowerAscii(date);
        if (seen_.insert(key).second) days_.emplace_back(date);
        last_.assign(date);
    }
    // A date known to be new to the list, shorter than any date Add is given.
    void AddNew(std::string_view date) { days_.emplace_back(date); }

private:
    std::vector<std::string>& days_;
    std::unordered_set<std::string> seen_;
    std::string last_;
};

}  // namespace

bool IsSensorHeader(std::string_view line) { return Contains(line, "Sample") && Contains(line, "Sensor Value"); }

namespace {

// The fields of a data line, as parts of it; date and time are empty when the line
// has too few tabs.
struct SplitLine {
    int id = -1;
    std::string_view date;
    std::string_view time;
    float value = 0.0f;
};

// Fills `result` in place: a struct handed back by value is copied in pieces that the
// processor cannot forward from the stores that wrote it.
void SplitSensorLine(std::string_view line, char decimalSeparator, SplitLine& result) {
    result = SplitLine{};
    const size_t tab1 = FindByte(line, '\t');
    if (tab1 == std::string_view::npos) return;
    result.id = TextToIntDef(line.substr(0, tab1), -1);

    const std::string_view afterId = line.substr(tab1 + 1);
    const size_t tab2 = FindByte(afterId, '\t');
    if (tab2 == std::string_view::npos) return;
    result.date = afterId.substr(0, tab2);

    const std::string_view rest = afterId.substr(tab2 + 1);
    const size_t tab3 = FindByte(rest, '\t');
    if (tab3 != std::string_view::npos) {
        // Shape A: time TAB value.
        result.time = rest.substr(0, tab3);
        result.value = TextToSingleOrZero(TrimControl(rest.substr(tab3 + 1)), decimalSeparator);
    } else {
        // Shape B: time and value share one column.
        result.time = rest.substr(0, 5);
        std::string_view piece = rest.size() > 5 ? rest.substr(5, 100) : std::string_view{};
        const size_t colon = FindByte(piece, ':');
        if (colon != std::string_view::npos) piece = piece.substr(colon + 1);
        result.value = TextToSingleOrZero(TrimControl(piece), decimalSeparator);
    }
}

}  // namespace

SensorLine ParseSensorLine(std::string_view line, SensorImport& target) {
    SplitLine split;
    SplitSensorLine(line, target.decimalSeparator, split);
    target.currentDateText.assign(split.date);
    target.currentTimeText.assign(split.time);
    return {split.id, split.value};
}

namespace {

// Opens the file and reads its identifier and header lines; false when the header is
// not a sensor export's. The identifier, when there is one, goes to `pid`.
bool OpenAtRows(LineReader& reader, const std::string& path, std::optional<std::string>& pid) {
    if (!reader.Open(path)) throw ZelkError("Cannot open '" + path + "'");
    std::string header = reader.NextOrEmpty();
    if (Contains(header, kIdentifierMark)) {
        pid = IdentifierOf(header);
        header = reader.NextOrEmpty();
    }
    return IsSensorHeader(header);
}

// The value as stored: mmol/L, converted from mg/dL when the file gives those.
double StoredValue(float value, int importUnit) {
    return importUnit == 0 ? static_cast<double>(value)
                           : static_cast<double>(static_cast<long double>(value) / kMgPerMmol);
}

// Reads the rows after the header into the emptied table at once, without a key check
// per row; false when a key came twice.
bool ReadRowsInBulk(LineReader& reader, SensorImport& target, const WindowHooks& hooks) {
    DayListBuilder days(target.dayList);
    EventPump pump(hooks);
    SplitLine split;
    std::string_view line;
    while (reader.Next(line)) {
        SplitSensorLine(line, target.decimalSeparator, split);
        if (!split.date.empty() && !split.time.empty()) {
            const bool dayBefore = target.sensorTab.BulkAppend(split.id, split.date, split.time,
                                                               StoredValue(split.value, target.importUnit));
            // A date shorter than the stored field is new to the list exactly when it is
            // new to the table; a longer one is cut when stored, so the list checks it.
            if (split.date.size() >= static_cast<size_t>(kTextFieldSize))
                days.Add(split.date);
            else if (!dayBefore)
                days.AddNew(split.date);
        }
        pump.Run();
    }
    // The texts of the last line, which the reader leaves in place at the end.
    target.currentDateText.assign(split.date);
    target.currentTimeText.assign(split.time);
    return target.sensorTab.FinishBulk();
}

// Reads the rows after the header into the emptied table one by one, up to the first
// row whose key came before; its texts stay in the target.
void ReadRowsOneByOne(LineReader& reader, SensorImport& target, const WindowHooks& hooks) {
    DayListBuilder days(target.dayList);
    EventPump pump(hooks);
    std::string lowered;
    std::string_view line;
    while (reader.Next(line)) {
        const SensorLine parsed = ParseSensorLine(line, target);
        if (!target.currentDateText.empty() && !target.currentTimeText.empty()) {
            lowered.assign(target.currentDateText);
            for (char& c : lowered) c = LowerChar(c);
            target.sensorTab.Append(parsed.id, lowered, target.currentTimeText,
                                    StoredValue(parsed.value, target.importUnit));
            days.Add(target.currentDateText);
        }
        pump.Run();
    }
}

}  // namespace

SensorFileRead ReadSensorFile(const std::string& path, SensorImport& target, const WindowHooks& hooks,
                              OtherFiles otherFiles) {
    target.currentDateText.clear();
    target.currentTimeText.clear();
    SensorFileRead outcome = SensorFileRead::NotRead;
    LineReader reader;
    std::optional<std::string> pid;
    bool headerRead = false;
    try {
        const bool sensorFile = OpenAtRows(reader, path, pid);
        headerRead = true;
        if (!sensorFile && otherFiles == OtherFiles::PassOver) return SensorFileRead::WrongFile;
        if (pid) target.pidText = *pid;
        if (!sensorFile) {
            hooks.ShowMessage(target.wrongFileText);
            return SensorFileRead::WrongFile;
        }

        outcome = SensorFileRead::Replaced;
        target.sensorTab.RemoveFilter();
        target.sensorTab.DeleteAll();
        target.dayList.clear();
        bool loaded = false;
        try {
            loaded = ReadRowsInBulk(reader, target, hooks);
        } catch (const std::exception&) {
            target.sensorTab.CancelBulk();
        }
        if (!loaded) {
            // A key came twice or the file did not read to its end: read it again row
            // by row, which stops at the first such line, with its texts.
            target.dayList.clear();
            OpenAtRows(reader, path, pid);
            ReadRowsOneByOne(reader, target, hooks);
        }
    } catch (const std::exception&) {
        if (!headerRead) {
            if (otherFiles == OtherFiles::PassOver) return SensorFileRead::NotRead;
            if (pid) target.pidText = *pid;
        }
        hooks.ShowMessage(target.importErrorText + target.currentDateText + "  " + target.currentTimeText);
    }
    return outcome;
}

bool IsSensorFile(const std::string& path) {
    try {
        LineReader reader;
        std::optional<std::string> pid;
        return OpenAtRows(reader, path, pid);
    } catch (const std::exception&) {
        return false;
    }
}

}  // namespace zelk
