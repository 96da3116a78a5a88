#pragma once

#include <string>

namespace zelk {

// State of the batch walk.
struct BatchState {
    std::string BatchFolder;
    std::string BatchMask = "*.txt";
    int FilesFound = 0;
    int FilesDone = 0;
    int UpdateStep = 1;
    int SinceUpdate = 0;
    std::string CurrentFile;
};

}  // namespace zelk
