#pragma once

#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "data/Hooks.h"
#include "data/SensorTab.h"

namespace zelk {

// What the reader fills and the texts it reports with.
struct SensorImport {
    SensorTab& sensorTab;
    std::vector<std::string>& dayList;  // lb_Sensor
    std::string& pidText;               // text of ce_PID
    std::string& currentDateText;       // date text of the last data line parsed
    std::string& currentTimeText;       // time text of the last data line parsed
    const std::string& wrongFileText;
    const std::string& importErrorText;
    int importUnit = 0;  // item index of rg_Import: 0 mmol/l, anything else mg/dl
    char decimalSeparator = ',';
};

// The ID and value of one data line; its date and time texts go to the import target.
struct SensorLine {
    int id = -1;
    float value = 0.0f;
};

// Splits a data line into ID, date text, time text and value; the two texts go to
// currentDateText and currentTimeText.
SensorLine ParseSensorLine(std::string_view line, SensorImport& target);

// What the reader did with a file.
enum class SensorFileRead {
    NotRead,    // the file could not be opened or its header line read; nothing changed
    WrongFile,  // the header was refused; dataset and day list unchanged
    Replaced,   // the header was accepted: dataset and day list refilled, possibly
                // only up to an import error
};

// How a file that is no sensor export is met: the import tells the user; the batch
// passes over it (and over a file it cannot open, that is no regular file, or whose
// header it cannot read) without a message and without taking its identifier.
enum class OtherFiles { Tell, PassOver };

// Reads a sensor export file into the readings dataset and the day list.
// Messages go to the message box hook; nothing is raised.
SensorFileRead ReadSensorFile(const std::string& path, SensorImport& target, const WindowHooks& hooks,
                              OtherFiles otherFiles = OtherFiles::Tell);

// True when the file's header line (line 2 after an "ICode_" line) holds "Sample"
// and "Sensor Value"; false also when the file cannot be opened or read.
bool IsSensorFile(const std::string& path);

// The header test of the reader.
bool IsSensorHeader(std::string_view line);

}  // namespace zelk
