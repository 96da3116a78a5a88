#include "data/SensorReader.h"

#include <exception>
#include <optional>

#include "data/Errors.h"
#include "data/LineReader.h"
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

private:
    std::vector<std::string>& days_;
    std::unordered_set<std::string> seen_;
    std::string last_;
};

}  // namespace

bool IsSensorHeader(std::string_view line) { return Contains(line, "Sample") && Contains(line, "Sensor Value"); }

SensorLine ParseSensorLine(std::string_view line, SensorImport& target) {
    SensorLine result;
    target.currentDateText.clear();
    target.currentTimeText.clear();

    const size_t tab1 = line.find('\t');
    if (tab1 == std::string_view::npos) return result;
    result.id = TextToIntDef(line.substr(0, tab1), -1);

    const std::string_view afterId = line.substr(tab1 + 1);
    const size_t tab2 = afterId.find('\t');
    if (tab2 == std::string_view::npos) return result;
    target.currentDateText.assign(afterId.substr(0, tab2));

    const std::string_view rest = afterId.substr(tab2 + 1);
    const size_t tab3 = rest.find('\t');
    if (tab3 != std::string_view::npos) {
        // Shape A: time TAB value.
        target.currentTimeText.assign(rest.substr(0, tab3));
        result.value = TextToSingleOrZero(TrimControl(rest.substr(tab3 + 1)), target.decimalSeparator);
    } else {
        // Shape B: time and value share one column.
        target.currentTimeText.assign(rest.substr(0, 5));
        std::string_view piece = rest.size() > 5 ? rest.substr(5, 100) : std::string_view{};
        const size_t colon = piece.find(':');
        if (colon != std::string_view::npos) piece = piece.substr(colon + 1);
        result.value = TextToSingleOrZero(TrimControl(piece), target.decimalSeparator);
    }
    return result;
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

// Reads the rows after the header into the emptied table; in bulk, without a key check
// per row, and then false when a key came twice.
bool ReadRows(LineReader& reader, SensorImport& target, const WindowHooks& hooks, bool bulk) {
    DayListBuilder days(target.dayList);
    EventPump pump(hooks);
    std::string lowered;
    std::string_view line;
    while (reader.Next(line)) {
        const SensorLine parsed = ParseSensorLine(line, target);
        if (!target.currentDateText.empty() && !target.currentTimeText.empty()) {
            const double stored = target.importUnit == 0
                                      ? static_cast<double>(parsed.value)
                                      : static_cast<double>(static_cast<long double>(parsed.value) / kMgPerMmol);
            if (bulk) {
                const bool dayBefore =
                    target.sensorTab.BulkAppend(parsed.id, target.currentDateText, target.currentTimeText, stored);
                // A date shorter than the stored field that came before is in the list
                // already; a longer one is cut when stored, so the list checks it itself.
                if (!dayBefore || target.currentDateText.size() >= static_cast<size_t>(kTextFieldSize))
                    days.Add(target.currentDateText);
            } else {
                lowered.assign(target.currentDateText);
                for (char& c : lowered)
                    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
                target.sensorTab.Append(parsed.id, lowered, target.currentTimeText, stored);
                days.Add(target.currentDateText);
            }
        }
        pump.Run();
    }
    return !bulk || target.sensorTab.FinishBulk();
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
            loaded = ReadRows(reader, target, hooks, true);
        } catch (const std::exception&) {
            target.sensorTab.CancelBulk();
        }
        if (!loaded) {
            // A key came twice or the file did not read to its end: read it again row
            // by row, which stops at the first such line, with its texts.
            target.dayList.clear();
            OpenAtRows(reader, path, pid);
            ReadRows(reader, target, hooks, false);
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
