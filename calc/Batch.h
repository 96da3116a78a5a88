#pragma once

#include <sys/types.h>

#include <string>
#include <string_view>
#include <vector>

#include "calc/BatchState.h"
#include "data/FileHandle.h"
#include "data/SensorReader.h"

namespace zelk {

inline constexpr std::string_view kBatchResultName = "ZELK_Tab.csv";
inline constexpr std::string_view kBatchHeader = "Quelle;S+E+;S-E+;S-E-;S+E-";
inline constexpr std::string_view kBatchDoneText = "fertig";

// True when the name matches the mask: "*" stands for any run of characters, "?" for
// one; letters match without regard to case.
bool MatchesMask(std::string_view name, std::string_view mask);

// Folder listing order: names compared without regard to case, then byte by byte.
bool FolderNameLess(std::string_view a, std::string_view b);

// The names in a folder that match the mask, whatever kind of entry they are, in
// listing order. A folder that cannot be listed has none.
std::vector<std::string> MatchingEntries(const std::string& folder, std::string_view mask);

// The subfolders the walk enters, in listing order: plain directories only, not
// symbolic links, not hidden (name starting with "."), and writable by their owner.
std::vector<std::string> EnteredSubfolders(const std::string& folder);

// 1 up to 100 entries, 10 up to 1000, else 100.
int UpdateStepFor(int filesFound);

// The result file: lines end in CR LF and are written through one by one; a line
// that cannot be written whole is taken back and raises, so the file holds whole
// lines only.
class BatchResultFile {
public:
    // Creates the file or empties an existing regular one; false when that fails or
    // the path names anything else (a folder, a pipe, a device).
    bool Create(const std::string& path);
    void WriteLine(std::string_view line);
    void Close();

private:
    [[noreturn]] void ThrowWriteError() const;

    FileHandle file_;
    std::string path_;
    off_t whole_ = 0;  // the bytes of the lines written whole
};

// How a batch run ended.
enum class BatchEnd {
    NoFolder,      // no folder was chosen; nothing happened
    Finished,      // the walk ran to its end; the status shows "fertig"
    NoResultFile,  // the result file could not be created; nothing was written
    Error,         // an error ended the walk; the lines written so far stay
};

struct BatchOutcome {
    BatchEnd end = BatchEnd::NoFolder;
    std::string error;  // what ended the run, for NoResultFile and Error
};

// The road the batch drives for each file, and the window's status, progress and
// event pump; the window logic supplies it.
class BatchRoad {
public:
    virtual ~BatchRoad() = default;

    virtual BatchState& Batch() = 0;
    virtual void ProcessEvents() = 0;
    virtual void SetStatusText(const std::string& text) = 0;
    virtual void ResetProgress() = 0;

    // Clears the results table, the fields and the curve.
    virtual void ClearResults() = 0;
    // Reads a file as the batch does: one that is no sensor export, cannot be opened
    // or is no regular file (a pipe, a device) is passed over without a message.
    virtual SensorFileRead ReadSensorFile(const std::string& path) = 0;
    // The days the last file read lists.
    virtual const std::vector<std::string>& Days() const = 0;
    virtual void SelectDay(const std::string& day) = 0;
    // The minute grid of the selected day, then series and statistics.
    virtual void BuildMinuteGrid() = 0;
    virtual void SetStartValue(bool checked) = 0;
    virtual void SetEndValue(bool checked) = 0;
    // Runs the calculation; the text of the excursion index it shows.
    virtual std::string Calculate() = 0;

protected:
    BatchRoad() = default;
    BatchRoad(const BatchRoad&) = default;
    BatchRoad& operator=(const BatchRoad&) = default;
};

// Evaluates every sensor file of a folder tree into "ZELK_Tab.csv", through the
// same reader, minute grid, series and calculation as the window, with the
// window's status text, progress and event hooks.
class BatchEvaluation {
public:
    explicit BatchEvaluation(BatchRoad& road) : road_(road) {}

    // The batch command once the folder is chosen: progress reset, count, result
    // file, walk, "fertig". Shows no message of its own; the outcome tells how it ended.
    BatchOutcome Run(const std::string& chosenFolder);

    // Adds to FilesFound the matching entries of the folder and of the subfolders
    // the walk enters.
    void CountFiles(const std::string& folder, std::string_view mask);
    // Handles every matching entry of the folder, one result line per accepted
    // file, then walks into the subfolders. Errors pass to the caller.
    void ProcessFolder(const std::string& folder, std::string_view mask, BatchResultFile& out);
    // Clears the results and reads the file; true when the reader took the file and
    // it lists at least two days.
    bool LoadForBatch(const std::string& fileName);

private:
    void EvaluateCurrentFile(BatchResultFile& out);
    std::string CalculatedField();
    void EntryHandled();
    void SetStatus(const std::string& text);

    BatchRoad& road_;
};

}  // namespace zelk
