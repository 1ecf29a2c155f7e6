#pragma once
// A file read from its start to its end in pieces, for files too large to hold whole.
#include <cstddef>
#include <string_view>

#include "fs/Handles.h"

class InputFile {
public:
    // Opens for reading; other programs may go on reading and writing the file.
    bool Open(std::wstring_view path);
    bool IsOpen() const { return handle_.Valid(); }
    // Up to size bytes; 0 at the end of the file and after a failure (Failed() tells).
    std::size_t Read(char* buffer, std::size_t size);
    bool Failed() const { return lastError_ != 0; }
    // The system's error code of the failed open or read, 0 when there was none.
    unsigned long LastError() const { return lastError_; }

private:
    UniqueFile handle_;
    unsigned long lastError_ = 0;
};
