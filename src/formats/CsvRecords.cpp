#include "formats/CsvRecords.h"

#include <algorithm>
#include <cstring>

#include "fs/Utf8.h"

void AppendCsvField(std::wstring& out, std::wstring_view field)
{
    if (field.find_first_of(L",\"\r\n") == std::wstring_view::npos) {
        out.append(field);
        return;
    }
    out += L'"';
    for (wchar_t c : field) {
        if (c == L'"') out += L'"';
        out += c;
    }
    out += L'"';
}

bool CsvReader::Next(CsvRecord& record)
{
    if (problem_.Fault != CsvFault::None) return false;
    if (!started_) {
        started_ = true;
        if (Have(3) && std::memcmp(buffer_.data() + next_, "\xEF\xBB\xBF", 3) == 0) next_ += 3;
    }
    if (!SkipEmptyLines() || ReadRecord(record) == Step::Failed) return false;
    return Check(record);
}

bool CsvReader::Have(std::size_t count)
{
    if (end_ - next_ >= count) return true;
    if (buffer_.empty()) buffer_.resize(kCsvReadBytes);
    std::copy(buffer_.begin() + static_cast<std::ptrdiff_t>(next_), buffer_.begin() + static_cast<std::ptrdiff_t>(end_),
              buffer_.begin());
    end_ -= next_;
    next_ = 0;
    while (end_ < count) {
        std::size_t read = file_.Read(buffer_.data() + end_, buffer_.size() - end_);
        if (read == 0) break;
        end_ += read;
    }
    if (file_.Failed() && problem_.Fault == CsvFault::None) {
        Fail(CsvFault::ReadFailed, line_);
        problem_.SystemError = file_.LastError();
    }
    return end_ - next_ >= count;
}

bool CsvReader::SkipEmptyLines()
{
    while (Have(1))
        if (!LineEndAhead()) return true;
    return false;
}

bool CsvReader::LineEndAhead()
{
    if (buffer_[next_] == '\n') {
        ++next_;
    } else if (buffer_[next_] == '\r' && Have(2) && buffer_[next_ + 1] == '\n') {
        next_ += 2;
    } else {
        return false;
    }
    ++line_;
    return true;
}

CsvReader::Step CsvReader::ReadRecord(CsvRecord& record)
{
    record.text_.clear();
    record.ends_.clear();
    record.line_ = line_;
    for (bool recordEnds = false; !recordEnds;) {
        bool quoted = Have(1) && buffer_[next_] == '"';
        Step step = quoted ? ReadQuoted(record, recordEnds) : ReadPlain(record, recordEnds);
        if (step == Step::Failed) return step;
        record.ends_.push_back(record.text_.size());
    }
    return problem_.Fault == CsvFault::None ? Step::Record : Step::Failed;
}

CsvReader::Step CsvReader::ReadPlain(CsvRecord& record, bool& recordEnds)
{
    std::string& text = record.text_;
    recordEnds = true;
    while (Have(1)) {
        const char* start = buffer_.data() + next_;
        const char* stop = buffer_.data() + end_;
        const char* p = start;
        while (p != stop && *p != ',' && *p != '"' && *p != '\r' && *p != '\n') ++p;
        text.append(start, p);
        next_ += static_cast<std::size_t>(p - start);
        if (text.size() > kLongestCsvRecord) return Fail(CsvFault::TooLong, record.line_);
        if (p == stop) continue;
        if (*p == ',') {
            ++next_;
            recordEnds = false;
            return Step::Record;
        }
        if (*p == '"') return Fail(CsvFault::StrayQuote, line_);
        if (LineEndAhead()) return Step::Record;
        text += '\r';  // a CR of its own is data
        ++next_;
    }
    return Step::Record;
}

CsvReader::Step CsvReader::ReadQuoted(CsvRecord& record, bool& recordEnds)
{
    std::string& text = record.text_;
    std::uint64_t opened = line_;
    ++next_;
    for (;;) {
        if (!Have(1)) return Fail(CsvFault::UnterminatedQuote, opened);
        const char* start = buffer_.data() + next_;
        const char* stop = buffer_.data() + end_;
        const char* p = start;
        while (p != stop && *p != '"' && *p != '\n') ++p;
        text.append(start, p);
        next_ += static_cast<std::size_t>(p - start);
        // Past this length a closing quote is not coming in any file of ours.
        if (text.size() > kLongestCsvRecord) return Fail(CsvFault::UnterminatedQuote, opened);
        if (p == stop) continue;
        char mark = *p;
        ++next_;
        if (mark == '\n') {
            text += '\n';
            ++line_;
        } else if (Have(1) && buffer_[next_] == '"') {
            text += '"';
            ++next_;
        } else {
            break;
        }
    }
    recordEnds = true;
    if (!Have(1) || LineEndAhead()) return Step::Record;
    if (buffer_[next_] != ',') return Fail(CsvFault::StrayQuote, line_);
    ++next_;
    recordEnds = false;
    return Step::Record;
}

bool CsvReader::Check(CsvRecord& record)
{
    for (std::size_t i = 0; i < record.Size(); ++i) {
        std::size_t bad = FirstInvalidUtf8(record[i]);
        if (bad == std::string_view::npos) continue;
        auto at = static_cast<std::ptrdiff_t>((i == 0 ? 0 : record.ends_[i - 1]) + bad);
        auto lines = std::count(record.text_.begin(), record.text_.begin() + at, '\n');
        Fail(CsvFault::InvalidUtf8, record.line_ + static_cast<std::uint64_t>(lines));
        return false;
    }
    if (expected_ != 0 && record.Size() != expected_) {
        Fail(CsvFault::FieldCount, record.line_, record.Size());
        return false;
    }
    return true;
}

CsvReader::Step CsvReader::Fail(CsvFault fault, std::uint64_t line, std::size_t fields)
{
    if (problem_.Fault == CsvFault::None) problem_ = {fault, line, fields, 0};
    return Step::Failed;
}
