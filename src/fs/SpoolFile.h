#pragma once
// Texts kept on disk for a second pass: written one after another, then read back in the
// same order. The file lies in the temp folder and goes when the spool is destroyed (or
// the process ends), whatever happened meanwhile.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "fs/Handles.h"

class SpoolFile {
public:
    // False when no temp file could be made (LastError tells why).
    bool Open();
    void Append(std::wstring_view text);
    // Ends the writing; the texts are then read from the first. False after a failure.
    bool Rewind();
    // The next text; false at the end or after a failure.
    bool Next(std::wstring& text);
    bool Failed() const { return failed_; }
    unsigned long LastError() const { return lastError_; }

private:
    bool Flush();
    bool Fill(std::size_t bytes);
    void Fail();

    UniqueFile file_;
    std::vector<char> buffer_;
    std::size_t at_ = 0;  // reading: the next byte of the buffer
    bool failed_ = false;
    unsigned long lastError_ = 0;
};
