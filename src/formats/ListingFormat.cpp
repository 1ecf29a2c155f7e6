#include "formats/ListingFormat.h"

#include "formats/ValueText.h"

const ListingFormat& ListingFormatOf(int format, bool easyMode)
{
    static const ListingFormat none;
    if (easyMode) return EasyFormat();
    for (const FormatWriter& writer : kFormatWriters)
        if (writer.Format == format) return writer.Writer();
    return none;
}

bool WritesListingFile(int format, bool easyMode) { return ListingFormatOf(format, easyMode).FileExtension() != nullptr; }

void WriteOpeningLines(LineWriter& out, const ListingOptions& options, const SYSTEMTIME& startLocal)
{
    ListingFormatOf(options.Format, options.EasyMode).OpeningLines(out, options, startLocal);
}

void WriteClosingLines(LineWriter& out, const ListingOptions& options, const SYSTEMTIME& endLocal)
{
    ListingFormatOf(options.Format, options.EasyMode).ClosingLines(out, options, endLocal);
}

bool FolderSectionShown(const ListingOptions& options, bool showFolders, int depth, const FolderTotals& totals)
{
    if (options.DepthLimit > 0 && depth > options.DepthLimit) return false;
    if (!showFolders) return false;
    // Empty means no file passed the filters; files of 0 bytes still have rows to head.
    // Easy mode names every folder all the same.
    return !(options.IgnoreEmptyFolders && totals.FileCount == 0 && !options.EasyMode);
}

bool EntryRowShown(const ListingOptions& options, bool showFiles, bool stopRequested, int depth)
{
    if (options.DepthLimit > 0 && depth > options.DepthLimit + 1) return false;
    return !stopRequested && showFiles;
}

bool WriteFolderSection(LineWriter& out, const ListingOptions& options, bool showFolders, int depth,
                        const EntryInfo& folder, const FolderTotals& totals)
{
    if (options.DepthLimit > 0 && depth > options.DepthLimit) return false;
    if (!showFolders) return false;
    if (FolderSectionShown(options, showFolders, depth, totals))
        ListingFormatOf(options.Format, options.EasyMode).FolderSection(out, options, depth, folder, totals);
    return true;
}

bool WriteEntryRow(LineWriter& out, const ListingOptions& options, bool showFiles, bool stopRequested, int depth,
                   const EntryInfo& entry)
{
    if (!EntryRowShown(options, showFiles, stopRequested, depth)) return false;
    if (!out.Active()) return true;  // no file: nothing to lay out
    ListingFormatOf(options.Format, options.EasyMode).Row(out, options, depth, entry);
    return true;
}

const std::wstring& ShownName(const ListingOptions& options, const EntryInfo& entry)
{
    return options.SaveMode == SaveModes::Both ? entry.Name : entry.FullPath;
}

bool FileHeaderFollows(const ListingOptions& options, const FolderTotals& totals)
{
    return options.SaveMode == SaveModes::Both && totals.FileCount > 0;
}

FolderValues FolderValuesOf(const EntryInfo& folder, const FolderTotals& totals)
{
    return {VisibleText(folder.FullPath), WholeNumberText(totals.TotalSize), AttributeText(folder),
            ListingDateText(folder.Created), ListingDateText(folder.Modified), ListingDateText(folder.Accessed)};
}
