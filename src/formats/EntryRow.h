#pragma once
// The row written for each listed file.
#include "formats/LineWriter.h"
#include "formats/ListingOptions.h"
#include "fs/EntryInfo.h"

// depth: one more than the depth of the file's folder (1 for files of the chosen
// folder). Returns true when the status strip should now show the file's path.
bool WriteEntryRow(LineWriter& out, const ListingOptions& options, bool showFiles, bool stopRequested, int depth,
                   const EntryInfo& entry);

// The fixed-column row of the TXT format, without its line end.
std::wstring TxtRow(const EntryInfo& entry, std::wstring_view shownName);
void AppendTxtRow(std::wstring& line, const EntryInfo& entry, std::wstring_view shownName);
