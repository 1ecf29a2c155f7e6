#pragma once
// Lines for the output file, gathered into large writes: one system write per line
// would cost more than everything else a listing does.
#include <cstddef>
#include <string>
#include <string_view>

#include "fs/OutputFile.h"

class LineWriter {
public:
    // Without a file every line is dropped (a run with no output format).
    explicit LineWriter(OutputFile* file, std::size_t chunkChars = 64 * 1024) : file_(file), chunkChars_(chunkChars) {}
    LineWriter(const LineWriter&) = delete;
    LineWriter& operator=(const LineWriter&) = delete;
    ~LineWriter() { Flush(); }

    // One line; CR LF pairs inside the text make several.
    void WriteLine(std::wstring_view text);
    // A line made in place: append its text to what BeginLine returns, then EndLine.
    std::wstring& BeginLine();
    void EndLine();
    // False when lines go nowhere (no file, or a write failed), so they need not be made.
    bool Active() const { return file_ != nullptr && file_->IsOpen(); }
    void Flush();
    // True once a write did not reach the file; the file drops everything after it.
    bool Failed() const { return file_ != nullptr && file_->Failed(); }

private:
    OutputFile* file_;
    std::size_t chunkChars_;
    std::wstring pending_;
    bool hasPending_ = false;
    std::wstring discarded_;  // what BeginLine gives while lines go nowhere
};
