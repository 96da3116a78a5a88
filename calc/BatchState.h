#pragma once

#include <string>
#include <string_view>

namespace zelk {

// The files the batch evaluates.
inline constexpr std::string_view kBatchMask = "*.txt";

// State of the batch walk.
struct BatchState {
    std::string BatchFolder;
    std::string BatchMask{kBatchMask};
    int FilesFound = 0;
    int FilesDone = 0;
    int UpdateStep = 1;
    int SinceUpdate = 0;
    std::string CurrentFile;
};

}  // namespace zelk
