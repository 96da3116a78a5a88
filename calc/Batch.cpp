#include "calc/Batch.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <exception>
#include <filesystem>
#include <system_error>

#include "data/Errors.h"

namespace zelk {
namespace {

char UpperAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

std::vector<std::string> ListFolder(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code ec;
    std::filesystem::directory_iterator it(folder, ec);
    for (const std::filesystem::directory_iterator end; !ec && it != end; it.increment(ec))
        names.push_back(it->path().filename().string());
    std::sort(names.begin(), names.end(), FolderNameLess);
    return names;
}

bool IsEnteredFolder(const std::string& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) return false;
    return S_ISDIR(st.st_mode) && (st.st_mode & S_IWUSR) != 0;
}

}  // namespace

bool MatchesMask(std::string_view name, std::string_view mask) {
    size_t n = 0, m = 0;
    size_t starMask = std::string_view::npos, starName = 0;
    while (n < name.size()) {
        if (m < mask.size() && mask[m] == '*') {
            starMask = m++;
            starName = n;
        } else if (m < mask.size() && (mask[m] == '?' || UpperAscii(mask[m]) == UpperAscii(name[n]))) {
            ++m;
            ++n;
        } else if (starMask != std::string_view::npos) {
            m = starMask + 1;
            n = ++starName;
        } else {
            return false;
        }
    }
    while (m < mask.size() && mask[m] == '*') ++m;
    return m == mask.size();
}

bool FolderNameLess(std::string_view a, std::string_view b) {
    const size_t common = std::min(a.size(), b.size());
    for (size_t i = 0; i < common; ++i) {
        const char ua = UpperAscii(a[i]);
        const char ub = UpperAscii(b[i]);
        if (ua != ub) return static_cast<unsigned char>(ua) < static_cast<unsigned char>(ub);
    }
    if (a.size() != b.size()) return a.size() < b.size();
    return a < b;
}

std::vector<std::string> MatchingEntries(const std::string& folder, std::string_view mask) {
    std::vector<std::string> names = ListFolder(folder);
    std::erase_if(names, [mask](const std::string& name) { return !MatchesMask(name, mask); });
    return names;
}

std::vector<std::string> EnteredSubfolders(const std::string& folder) {
    std::vector<std::string> names = ListFolder(folder);
    std::erase_if(names, [&folder](const std::string& name) {
        return name.empty() || name[0] == '.' || !IsEnteredFolder(folder + name);
    });
    return names;
}

int UpdateStepFor(int filesFound) {
    if (filesFound <= 100) return 1;
    if (filesFound <= 1000) return 10;
    return 100;
}

bool BatchResultFile::Create(const std::string& path) {
    path_ = path;
    whole_ = 0;
    // Opened without waiting and emptied only once it shows as a regular file: a pipe
    // would block the walk, a device take the lines.
    file_.Reset(::open(path.c_str(), O_WRONLY | O_CREAT | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666));
    struct stat st {};
    if (file_.Get() >= 0 && ::fstat(file_.Get(), &st) == 0 && S_ISREG(st.st_mode) && ::ftruncate(file_.Get(), 0) == 0)
        return true;
    file_.Reset();
    return false;
}

void BatchResultFile::WriteLine(std::string_view line) {
    // Each finished line reaches the file at once, so a run that is stopped keeps it.
    std::string text(line);
    text += "\r\n";
    if (WriteAllOrCutBack(file_.Get(), whole_, text) != 0) ThrowWriteError();
    whole_ += static_cast<off_t>(text.size());
}

void BatchResultFile::Close() {
    if (file_.Close() != 0) ThrowWriteError();
}

void BatchResultFile::ThrowWriteError() const { throw ZelkError("Cannot write '" + path_ + "'"); }

BatchOutcome BatchEvaluation::Run(const std::string& chosenFolder) {
    if (chosenFolder.empty()) return {};
    BatchState& b = road_.Batch();
    try {
        b.BatchFolder = chosenFolder.back() == '/' ? chosenFolder : chosenFolder + "/";
        SetStatus(std::string(8, ' '));
        b.BatchMask = kBatchMask;
        road_.ResetProgress();

        b.FilesFound = 0;
        b.FilesDone = 0;
        CountFiles(b.BatchFolder, b.BatchMask);
        b.UpdateStep = UpdateStepFor(b.FilesFound);
        SetStatus(std::to_string(b.FilesFound));
        b.SinceUpdate = 0;

        BatchResultFile out;
        const std::string resultPath = b.BatchFolder + std::string(kBatchResultName);
        if (!out.Create(resultPath)) return {BatchEnd::NoResultFile, "Cannot create '" + resultPath + "'"};
        out.WriteLine(kBatchHeader);
        ProcessFolder(b.BatchFolder, b.BatchMask, out);
        out.Close();
    } catch (const std::exception& e) {
        return {BatchEnd::Error, e.what()};
    }
    SetStatus(std::string(kBatchDoneText));
    return {BatchEnd::Finished, {}};
}

void BatchEvaluation::CountFiles(const std::string& folder, std::string_view mask) {
    BatchState& b = road_.Batch();
    b.FilesFound += static_cast<int>(MatchingEntries(folder, mask).size());
    for (const std::string& name : EnteredSubfolders(folder)) CountFiles(folder + name + "/", mask);
}

void BatchEvaluation::ProcessFolder(const std::string& folder, std::string_view mask, BatchResultFile& out) {
    BatchState& b = road_.Batch();
    for (const std::string& name : MatchingEntries(folder, mask)) {
        road_.ProcessEvents();
        const std::string file = folder + name;
        b.CurrentFile = file;
        if (LoadForBatch(file)) EvaluateCurrentFile(out);
        EntryHandled();
    }
    for (const std::string& name : EnteredSubfolders(folder)) ProcessFolder(folder + name + "/", mask, out);
}

bool BatchEvaluation::LoadForBatch(const std::string& fileName) {
    road_.ClearResults();
    // One reading: a file that is no sensor export, or no regular file, is passed over
    // without a message.
    if (road_.ReadSensorFile(fileName) != SensorFileRead::Replaced) return false;
    return road_.Days().size() > 1;
}

void BatchEvaluation::EvaluateCurrentFile(BatchResultFile& out) {
    road_.SelectDay(road_.Days().front());
    road_.BuildMinuteGrid();

    std::string line = road_.Batch().CurrentFile;
    road_.SetStartValue(true);
    road_.SetEndValue(true);
    line += CalculatedField();  // S+E+
    road_.SetStartValue(false);
    line += CalculatedField();  // S-E+
    road_.SetEndValue(false);
    line += CalculatedField();  // S-E-
    road_.SetStartValue(true);
    line += CalculatedField();  // S+E-
    out.WriteLine(line);
}

std::string BatchEvaluation::CalculatedField() { return ";" + road_.Calculate(); }

void BatchEvaluation::EntryHandled() {
    BatchState& b = road_.Batch();
    road_.ProcessEvents();
    b.SinceUpdate += 1;
    if (b.SinceUpdate >= b.UpdateStep) {
        b.FilesDone += b.SinceUpdate;
        b.SinceUpdate = 0;
        SetStatus(std::to_string(b.FilesDone) + "/" + std::to_string(b.FilesFound));
        road_.ProcessEvents();
    }
}

void BatchEvaluation::SetStatus(const std::string& text) { road_.SetStatusText(text); }

}  // namespace zelk
