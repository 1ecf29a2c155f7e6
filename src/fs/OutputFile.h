#pragma once
// The text-file writer: lines ending in CR LF, UTF-16LE with the byte-order mark FF FE,
// or, for files meant for other programs, UTF-8 with the mark EF BB BF.
// A failed write closes the file and turns every later write into nothing, so callers
// that write many lines need no error handling of their own; Failed() tells afterwards.
#include <string>
#include <string_view>

#include "fs/Handles.h"

enum class OpenMode {
    Replace,    // creates the file or truncates the one there
    CreateNew,  // fails (ERROR_FILE_EXISTS) when the name is taken
};

enum class TextEncoding {
    Utf16Le,  // the program's own files and listings: each UTF-16 unit as it is
    Utf8,     // a lone surrogate is written as U+FFFD
};

class OutputFile {
public:
    bool IsOpen() const { return handle_.Valid(); }
    // True once a write (or the byte-order mark) did not reach the file.
    bool Failed() const { return failed_; }
    // The system's error code of the failure, 0 when there was none.
    unsigned long LastError() const { return lastError_; }

private:
    friend bool OpenOutputFile(OutputFile& file, std::wstring_view path, OpenMode mode, TextEncoding encoding);
    friend void WriteOutputLine(OutputFile& file, std::wstring_view text);
    friend void CloseOutputFile(OutputFile& file);

    void Fail();

    UniqueFile handle_;
    bool failed_ = false;
    unsigned long lastError_ = 0;
    TextEncoding encoding_ = TextEncoding::Utf16Le;
    std::string bytes_;  // a UTF-8 line, kept for its capacity
};

// Creates (or, by default, truncates) the file (the path is used as given) and writes
// the mark.
bool OpenOutputFile(OutputFile& file, std::wstring_view path, OpenMode mode = OpenMode::Replace,
                    TextEncoding encoding = TextEncoding::Utf16Le);
void WriteOutputLine(OutputFile& file, std::wstring_view text);
void CloseOutputFile(OutputFile& file);
