#include "formats/LineWriter.h"

void LineWriter::WriteLine(std::wstring_view text)
{
    if (!Active()) return;
    BeginLine().append(text);
    EndLine();
}

std::wstring& LineWriter::BeginLine()
{
    if (!Active()) {
        discarded_.clear();
        return discarded_;
    }
    // The file appends CR LF after each write, so lines are joined by CR LF and the
    // last one gets its line end from the write itself.
    if (hasPending_) pending_ += L"\r\n";
    hasPending_ = true;
    return pending_;
}

void LineWriter::EndLine()
{
    if (Active() && pending_.size() >= chunkChars_) Flush();
}

void LineWriter::Flush()
{
    if (!hasPending_) return;
    if (file_ != nullptr) WriteOutputLine(*file_, pending_);
    pending_.clear();
    hasPending_ = false;
}
