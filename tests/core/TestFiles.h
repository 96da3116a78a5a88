#pragma once

// Helpers shared by the core tests: a reader target with recording hooks, data lines, and
// running a command.

#include <sys/wait.h>

#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

#include "data/Hooks.h"
#include "data/SensorReader.h"
#include "data/SensorTab.h"
#include "tests/common/ScratchFolder.h"

namespace zelk::test {

// Hooks that record the messages and count the event runs.
struct RecordingHooks {
    std::vector<std::string> messages;
    int eventRuns = 0;
    WindowHooks hooks{[this](const std::string& text) { messages.push_back(text); }, [this] { ++eventRuns; }};
};

inline const std::string kWrongFileText = "Falsche Sensordatei!";
inline const std::string kImportErrorText = "Fehler beim Import der Sensordaten! ";
inline const std::string kHeaderLine = "ID\tDate\tTime\tSample\tSensor Value";

// Everything the reader fills, owned in one place.
struct ImportTarget {
    SensorTab sensorTab;
    std::vector<std::string> dayList;
    std::string pidText;
    std::string currentDateText;
    std::string currentTimeText;
    SensorImport target{sensorTab,       dayList,        pidText,         currentDateText,
                        currentTimeText, kWrongFileText, kImportErrorText};
    RecordingHooks recorder;

    explicit ImportTarget(char decimalSeparator = ',', int importUnit = 0) {
        target.decimalSeparator = decimalSeparator;
        target.importUnit = importUnit;
    }

    SensorFileRead Read(const std::string& path) { return ReadSensorFile(path, target, recorder.hooks); }
    SensorFileRead ReadText(const std::string& bytes) {
        const ScratchFile file(bytes);
        return Read(file.Path());
    }
    const std::vector<std::string>& Messages() const { return recorder.messages; }
};

// Runs a shell command; what it printed, and through `exitCode` its exit status (-1 when
// it did not exit normally).
inline std::string RunCommand(const std::string& command, int& exitCode) {
    std::FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) throw std::runtime_error("popen failed");
    std::string out;
    char buffer[4096];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
    const int status = ::pclose(pipe);
    exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return out;
}

// One shape A data line: ID TAB date TAB time TAB value.
inline std::string DataLine(int id, const std::string& date, const std::string& time, const std::string& value) {
    return std::to_string(id) + "\t" + date + "\t" + time + "\t" + value + "\r\n";
}

}  // namespace zelk::test
