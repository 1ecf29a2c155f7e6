#pragma once
// What a listing writes, by output format. Each format lives in a file of its own
// (TxtFormat.cpp, CsvFormat.cpp, HtmlFormat.cpp, TreeFormat.cpp, EasyFormat.cpp); the
// Write functions below hold the rules every format follows and hand the rest to the
// format the options choose.
#include <windows.h>

#include <string>

#include "formats/LineWriter.h"
#include "formats/ListingOptions.h"
#include "fs/EntryInfo.h"

// One way of writing a listing. What a format does not override, it does not write.
class ListingFormat {
public:
    virtual ~ListingFormat() = default;

    // The listing file's extension (".txt"); null when no file is written.
    virtual const wchar_t* FileExtension() const { return nullptr; }
    // Before the first folder: the run's start line, the HTML head; with files only,
    // the column header of the rows.
    virtual void OpeningLines(LineWriter&, const ListingOptions&, const SYSTEMTIME& /*startLocal*/) const {}
    virtual void FolderSection(LineWriter&, const ListingOptions&, int /*depth*/, const EntryInfo& /*folder*/,
                               const FolderTotals&) const
    {
    }
    virtual void Row(LineWriter&, const ListingOptions&, int /*depth*/, const EntryInfo& /*entry*/) const {}
    virtual void ClosingLines(LineWriter&, const ListingOptions&, const SYSTEMTIME& /*endLocal*/) const {}
};

const ListingFormat& TxtFormat();
const ListingFormat& CsvFormat();
const ListingFormat& HtmlFormat();
const ListingFormat& TreeFormat();
const ListingFormat& EasyFormat();
// The inventory's name; its rows are written by InventoryListing, not through a LineWriter.
const ListingFormat& InventoryFormat();

// The writer of each ListingFormats code; the users' names for them are in run/Choices.h.
struct FormatWriter {
    int Format;
    const ListingFormat& (*Writer)();
};
inline constexpr FormatWriter kFormatWriters[] = {
    {ListingFormats::Txt, &TxtFormat},
    {ListingFormats::Csv, &CsvFormat},
    {ListingFormats::Html, &HtmlFormat},
    {ListingFormats::Tree, &TreeFormat},
    {ListingFormats::Inventory, &InventoryFormat},
};

constexpr bool HasFormatWriter(int format)
{
    for (const FormatWriter& writer : kFormatWriters)
        if (writer.Format == format) return true;
    return false;
}

// The one place the format is chosen: easy mode, else by the ListingFormats code. Without
// a format (ListingFormats::None, or a code without a writer) nothing is written.
const ListingFormat& ListingFormatOf(int format, bool easyMode);
// Whether a listing with these options writes a file at all.
bool WritesListingFile(int format, bool easyMode);

void WriteOpeningLines(LineWriter& out, const ListingOptions& options, const SYSTEMTIME& startLocal);
void WriteClosingLines(LineWriter& out, const ListingOptions& options, const SYSTEMTIME& endLocal);
// depth: 0 for the chosen folder, one more per level below. totals: what the folder
// itself holds; it is empty when FileCount is 0, and TotalSize is shown. Returns true
// when the status strip should now show the folder's path, false when the section
// was skipped outright.
// Whether a folder's section is written, and a file's row: the rules every format follows.
bool FolderSectionShown(const ListingOptions& options, bool showFolders, int depth, const FolderTotals& totals);
bool EntryRowShown(const ListingOptions& options, bool showFiles, bool stopRequested, int depth);
bool WriteFolderSection(LineWriter& out, const ListingOptions& options, bool showFolders, int depth,
                        const EntryInfo& folder, const FolderTotals& totals);
// depth: one more than the depth of the file's folder (1 for files of the chosen
// folder). Returns true when the status strip should now show the file's path.
bool WriteEntryRow(LineWriter& out, const ListingOptions& options, bool showFiles, bool stopRequested, int depth,
                   const EntryInfo& entry);

// What the table formats (TXT, CSV, HTML) share.

// The name a row ends with: the bare name when the folder's section above names the
// folder, else the full path.
const std::wstring& ShownName(const ListingOptions& options, const EntryInfo& entry);
// Files and folders are both listed and the folder has listed files: the column header
// of its rows follows its section.
bool FileHeaderFollows(const ListingOptions& options, const FolderTotals& totals);

// The values a folder's section shows.
struct FolderValues {
    std::wstring Path;
    std::wstring Size;
    std::wstring Attributes;
    std::wstring Created;
    std::wstring Modified;
    std::wstring Accessed;
};
FolderValues FolderValuesOf(const EntryInfo& folder, const FolderTotals& totals);
