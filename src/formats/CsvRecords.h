#pragma once
// Comma-separated records as RFC 4180 has them, for files that other programs read back:
// a field with a comma, a quote, CR or LF is quoted, with its quotes doubled; any other
// character, control characters included, is written as it is.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fs/InputFile.h"

void AppendCsvField(std::wstring& out, std::wstring_view field);

enum class CsvFault {
    None,
    ReadFailed,         // SystemError says why
    InvalidUtf8,        // Line: where the byte lies
    UnterminatedQuote,  // Line: where the quoted field starts; also a quoted field longer than any record may be
    StrayQuote,         // a quote inside a field that does not start with one, or text after a closing quote
    TooLong,            // a record longer than kLongestCsvRecord bytes
    FieldCount,         // Fields: how many the record has, against those expected
};

// The first fault found, and where.
struct CsvProblem {
    CsvFault Fault = CsvFault::None;
    std::uint64_t Line = 0;  // 1 is the file's first line
    std::size_t Fields = 0;
    unsigned long SystemError = 0;
};

// Far beyond the longest path and any text a record of ours holds, and a bound on the
// memory a broken file (a quote never closed) takes.
constexpr std::size_t kLongestCsvRecord = 1 << 20;
// What the reader asks of the file at once.
constexpr std::size_t kCsvReadBytes = 1 << 20;

// One record: its fields as UTF-8, quotes removed.
class CsvRecord {
public:
    std::uint64_t Line() const { return line_; }  // where the record starts
    std::size_t Size() const { return ends_.size(); }
    std::string_view operator[](std::size_t index) const
    {
        std::size_t start = index == 0 ? 0 : ends_[index - 1];
        return std::string_view(text_).substr(start, ends_[index] - start);
    }

private:
    friend class CsvReader;
    std::string text_;               // the fields one after the other
    std::vector<std::size_t> ends_;  // where each field ends in text_
    std::uint64_t line_ = 0;
};

// Reads the records of a UTF-8 file one by one: a byte-order mark at the start is
// passed over, lines end in CR LF or LF, a quoted field may span lines, and empty
// lines hold no record. The first fault ends the reading.
class CsvReader {
public:
    explicit CsvReader(InputFile& file) : file_(file) {}
    CsvReader(const CsvReader&) = delete;
    CsvReader& operator=(const CsvReader&) = delete;

    // From now on every record must have count fields (0: any number).
    void ExpectFields(std::size_t count) { expected_ = count; }
    // False at the end of the file or on a fault (Problem() tells which).
    bool Next(CsvRecord& record);
    const CsvProblem& Problem() const { return problem_; }

private:
    enum class Step { Record, Failed };
    bool Have(std::size_t count);  // at least count unread bytes, unless the file ends first
    bool SkipEmptyLines();         // false when the file ends
    bool LineEndAhead();           // LF, or CR LF: consumed
    Step ReadRecord(CsvRecord& record);
    Step ReadQuoted(CsvRecord& record, bool& recordEnds);
    Step ReadPlain(CsvRecord& record, bool& recordEnds);
    bool Check(CsvRecord& record);
    Step Fail(CsvFault fault, std::uint64_t line, std::size_t fields = 0);

    InputFile& file_;
    std::vector<char> buffer_;
    std::size_t next_ = 0, end_ = 0;
    bool started_ = false;
    std::uint64_t line_ = 1;
    std::size_t expected_ = 0;
    CsvProblem problem_;
};
