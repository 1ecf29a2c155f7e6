#pragma once
// The inventory file, for programs to read back: a header row, the listed folder's own
// row, then a row for everything listed below it. UTF-8 with a byte-order mark, CR LF,
// comma-separated records quoted as in CsvRecords.h. Sizes are exact decimal bytes (a
// folder's are the sums below it), times UTC in AppendIsoUtcText's shape or empty when
// unknown, attributes the listings' letters. The writer of the walk and the reader of the
// compare both take the file's shape from here.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "formats/ListingOptions.h"
#include "fs/EntryInfo.h"

namespace InventoryColumns {
enum : std::size_t {
    Path,            // the full path as listed
    Type,            // kInventoryFolder or kInventoryFile
    Size,            // bytes; for a folder the sum of the listed files below it
    CompressedSize,  // bytes on disk; the same rule
    Files,           // a folder's listed files and folders below it, at any depth; empty for a file
    Folders,
    Created,
    Modified,
    Accessed,
    Attributes,      // RHSACET, and X or - for a file
    Error,           // why a folder could not be read; empty otherwise
    Count,
};
}  // namespace InventoryColumns

// The column names, in order, as the header row holds them.
extern const char* const kInventoryColumnNames[InventoryColumns::Count];
extern const wchar_t kInventoryFolder[];  // "folder"
extern const wchar_t kInventoryFile[];    // "file"

// ---- Writing (UTF-16 lines for an OutputFile opened as UTF-8)

std::wstring InventoryHeaderLine();
// One row without its line end. totals: a folder's sums; null for a file.
void AppendInventoryRow(std::wstring& out, const EntryInfo& entry, const FolderTotals* totals,
                        std::wstring_view error);
// A folder's row in three parts, for sums known only after the rows below it: the path
// and type with their commas, then the sums, then the times, attributes and error.
void AppendInventoryHead(std::wstring& out, const EntryInfo& entry, bool folder);
void AppendInventorySums(std::wstring& out, const FolderTotals& totals);
void AppendInventoryTail(std::wstring& out, const EntryInfo& entry, std::wstring_view error);
// Nothing when the time is unknown (ticks -1) or lies beyond year 9999.
void AppendInventoryTime(std::wstring& out, const FileTimeInfo& time);

// ---- Reading (fields as UTF-8)

// A size column's value, exact up to 2^128 - 1.
struct InventorySize {
    std::uint64_t Low = 0;
    std::uint64_t High = 0;
    friend bool operator==(const InventorySize&, const InventorySize&) = default;
};
// Decimal digits only; none when empty, not all digits, or too large.
std::optional<InventorySize> InventorySizeFromText(std::string_view text);
void AppendInventorySize(std::wstring& out, InventorySize size);

// The attribute letters as one bit per position (R is bit 0, X bit 7) and their count.
struct InventoryAttributes {
    std::uint8_t Set = 0;
    std::uint8_t Count = 0;  // 7 for a folder, 8 for a file
    friend bool operator==(const InventoryAttributes&, const InventoryAttributes&) = default;
};
// Seven or eight positions, each its letter or "-"; none for any other text.
std::optional<InventoryAttributes> InventoryAttributesFromText(std::string_view text);
void AppendInventoryAttributes(std::wstring& out, InventoryAttributes attributes);
