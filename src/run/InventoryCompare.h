#pragma once
// What changed between two inventory files (formats/InventoryColumns.h), written as a
// changes file. Rows are matched by their path below each file's listed folder (its first
// row), exactly and case-sensitively, so that a share listed under another drive letter
// or root still matches. A file is changed when its size, modification time or
// attributes differ; a folder is reported only when added or removed, not for its
// totals; a path that is a file on one side and a folder on the other is removed and
// added. The changes file: UTF-8 with a byte-order mark, CR LF, quoted as CsvRecords.h
// says, with the columns below, rows in path order (ordinal, by code point); Old* are
// empty for an added row, New* for a removed one.
#include <cstdint>
#include <string>
#include <string_view>

#include "run/ProgressReport.h"
#include "run/RunControl.h"

// The changes file's header row.
extern const wchar_t kChangesHeader[];

enum class InventoryFault {
    None,
    CannotRead,         // the file cannot be opened or read (SystemError)
    NotAnInventory,     // the first line is not the inventory's header row
    NoListedFolder,     // no row follows the header, or the first is not a folder
    FieldCount,         // Fields: how many the row has
    UnterminatedQuote,  // Line: where the quoted field starts
    StrayQuote,         // a quote inside an unquoted field, or text after a closing one
    TooLong,            // a row longer than any inventory writes
    InvalidUtf8,
    BadType,            // Value is neither "folder" nor "file"
    BadNumber,          // Column's Value is no decimal number (or one too large)
    BadTime,            // Column's Value is no time of the inventory's shape
    BadAttributes,      // Value is no attribute letters
    OutsideRoot,        // Value, a path, does not lie below the listed folder
    DuplicatePath,      // Value, a path below the listed folder, has a row already
};

struct InventoryProblem {
    InventoryFault Fault = InventoryFault::None;
    std::wstring File;        // the inventory at fault
    std::uint64_t Line = 0;   // where in it (1 is the header); 0 for none
    std::wstring Column;      // the column at fault, when one is
    std::wstring Value;       // the text at fault (cut when long)
    std::uint64_t Fields = 0;
    unsigned long SystemError = 0;
};

enum class CompareEnd {
    Compared,      // the changes file holds every difference
    BadInput,      // Problem says what is wrong; nothing was written
    CannotCreate,  // the changes file could not be created (WriteError); nothing was written
    WriteFailed,   // a write failed part-way (WriteError): the changes file is incomplete
    Stopped,       // the control asked for a stop: nothing written, or an incomplete file
    OutOfMemory,   // too many rows to hold: nothing written, or an incomplete file
};

struct CompareResult {
    CompareEnd End = CompareEnd::Compared;
    InventoryProblem Problem;
    std::wstring OutputPath;  // the changes file, once created: the wanted name or a numbered one
    std::uint64_t Added = 0, Removed = 0, Changed = 0;
    unsigned long WriteError = 0;
    bool Differs() const { return Added + Removed + Changed != 0; }
};

// Reads OLD whole into a compact table, then NEW row by row; only then creates the
// changes file at changesPath (or at "name (2).csv", ... when the name is taken, see
// OpenFreeName), so nothing is written when either input is bad. progress, when given,
// hears the rows read so far and the file being read.
CompareResult CompareInventories(const std::wstring& oldPath, const std::wstring& newPath,
                                 std::wstring_view changesPath, const RunControl& control,
                                 ProgressReport* progress = nullptr);
