#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "data/FileHandle.h"

namespace zelk {

// Reads a single-byte text file line by line. A line ends with LF or CR LF; a CR
// that is not followed by LF is left out; a line that starts with code 26 ends the
// file. There is no limit on the length of a line.
class LineReader {
public:
    LineReader() = default;
    // Opens the file; false when it cannot be opened or is not a regular file
    // (after following links).
    bool Open(const std::string& path);
    bool IsOpen() const { return file_.Get() >= 0; }
    void Close();
    // The next line, or false at the end of the file. Raises ZelkError on a read error.
    // A line stays valid until a later call gives the next one.
    bool Next(std::string_view& line);
    // The next line, or an empty line at the end of the file.
    std::string NextOrEmpty();

private:
    bool Fill();

    FileHandle file_;
    std::string path_;
    // Not zero-filled: a short file touches only the pages it reads into. As large as
    // the file when that is smaller than the chunk, so a batch of small files does not
    // take a large buffer for each.
    std::unique_ptr<char[]> buffer_;
    size_t capacity_ = 0;
    size_t begin_ = 0;
    size_t end_ = 0;
    bool eofSeen_ = false;
    bool ended_ = false;
    std::string line_;  // a line assembled across buffer ends or with CRs removed
};

}  // namespace zelk
