#include "formats/LineWriter.h"

void LineWriter::WriteLine(std::wstring_view text)
{
    if (file_ == nullptr || !file_->IsOpen()) return;
    // The file appends CR LF after each write, so lines are joined by CR LF and the
    // last one gets its line end from the write itself.
    if (hasPending_) pending_ += L"\r\n";
    pending_ += text;
    hasPending_ = true;
    if (pending_.size() >= chunkChars_) Flush();
}

void LineWriter::Flush()
{
    if (!hasPending_) return;
    if (file_ != nullptr) WriteOutputLine(*file_, pending_);
    pending_.clear();
    hasPending_ = false;
}
