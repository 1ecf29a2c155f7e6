#pragma once
// What the main window shows about the selected folder: the sizes of the files directly
// in it and the number of files and subfolders.
#include <functional>
#include <optional>
#include <string>

#include "fs/ExactSize.h"

struct FolderStatistics {
    int Folders = 0;
    int Files = 0;
    ExactSize Size;
    ExactSize CompressedSize;
};

// folder ends with "\". keepGoing runs after every eleventh entry, so that a huge folder
// can let the window's messages run; when it answers false the count is cut short and
// there is no result.
std::optional<FolderStatistics> CountFolder(const std::wstring& folder, const std::function<bool()>& keepGoing);
