#pragma once
// What the main window shows about the selected folder: the sizes of the files directly
// in it and the number of files and subfolders.
#include <array>
#include <functional>
#include <string>

#include "fs/ExactSize.h"

struct FolderStatistics {
    int Folders = 0;
    int Files = 0;
    ExactSize Size;
    ExactSize CompressedSize;
};

// folder ends with "\". pump runs after every eleventh entry, so a huge folder keeps
// the window responsive.
FolderStatistics CountFolder(const std::wstring& folder, const std::function<void()>& pump);
std::array<std::wstring, 3> FolderStatisticsLines(const FolderStatistics& statistics);
