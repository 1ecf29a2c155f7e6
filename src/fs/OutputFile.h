#pragma once
// The text-file writer: UTF-16LE with the byte-order mark FF FE, lines ending in CR LF.
// A failed write closes the file and turns every later write into nothing, so callers
// that write many lines need no error handling of their own; Failed() tells afterwards.
#include <string_view>

#include "fs/Handles.h"

enum class OpenMode {
    Replace,    // creates the file or truncates the one there
    CreateNew,  // fails (ERROR_FILE_EXISTS) when the name is taken
};

class OutputFile {
public:
    bool IsOpen() const { return handle_.Valid(); }
    // True once a write (or the byte-order mark) did not reach the file.
    bool Failed() const { return failed_; }
    // The system's error code of the failure, 0 when there was none.
    unsigned long LastError() const { return lastError_; }

private:
    friend bool OpenOutputFile(OutputFile& file, std::wstring_view path, OpenMode mode);
    friend void WriteOutputLine(OutputFile& file, std::wstring_view text);
    friend void CloseOutputFile(OutputFile& file);

    void Fail();

    UniqueFile handle_;
    bool failed_ = false;
    unsigned long lastError_ = 0;
};

// Creates (or, by default, truncates) the file (the path is used as given) and writes
// the mark.
bool OpenOutputFile(OutputFile& file, std::wstring_view path, OpenMode mode = OpenMode::Replace);
void WriteOutputLine(OutputFile& file, std::wstring_view text);
void CloseOutputFile(OutputFile& file);
