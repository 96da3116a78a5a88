#pragma once

// Helpers shared by the core tests: temporary files and a reader target with
// recording hooks.

#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <vector>

#include "data/Hooks.h"
#include "data/SensorReader.h"
#include "data/SensorTab.h"

namespace zelk::test {

// A file in the temporary folder, written byte for byte and removed again.
class TempFile {
public:
    explicit TempFile(const std::string& bytes, const std::string& suffix = ".txt") : path_(NewPath(suffix)) {
        std::ofstream out(path_, std::ios::binary);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    ~TempFile() {
        std::error_code ignored;
        std::filesystem::remove(path_, ignored);
    }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    std::string Path() const { return path_.string(); }

    // A name in the temporary folder that no file has (nothing is created).
    static std::filesystem::path NewPath(const std::string& suffix) {
        static std::atomic<int> counter{0};
        return std::filesystem::temp_directory_path() /
               ("zelk_test_" + std::to_string(::getpid()) + "_" + std::to_string(counter++) + suffix);
    }

private:
    std::filesystem::path path_;
};

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
        const TempFile file(bytes);
        return Read(file.Path());
    }
    const std::vector<std::string>& Messages() const { return recorder.messages; }
};

// One shape A data line: ID TAB date TAB time TAB value.
inline std::string DataLine(int id, const std::string& date, const std::string& time, const std::string& value) {
    return std::to_string(id) + "\t" + date + "\t" + time + "\t" + value + "\r\n";
}

}  // namespace zelk::test
