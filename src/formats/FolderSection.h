#pragma once
// The block written for each folder before its file rows.
#include "formats/LineWriter.h"
#include "formats/ListingOptions.h"
#include "fs/EntryInfo.h"

// depth: 0 for the chosen folder, one more per level below. totals: what the folder
// itself holds; it is empty when FileCount is 0, and TotalSize is shown. Returns true
// when the status strip should now show the folder's path, false when the section
// was skipped outright.
bool WriteFolderSection(LineWriter& out, const ListingOptions& options, bool showFolders, int depth,
                        const EntryInfo& folder, const FolderTotals& totals);

// "│  " repeated, the indent of the tree drawing.
std::wstring TreeIndent(int levels);
