#pragma once
// What a run takes from the main window for writing: format, listing mode, easy
// mode and the depth limit. The job's ShowFiles and ShowFolders come separately.
#include <cstdint>

#include "fs/ExactSize.h"

// The output formats, the meanings of the format choices (run/Choices.h).
namespace ListingFormats {
constexpr int None = -1;  // no format chosen
constexpr int Txt = 0;
constexpr int Csv = 1;
constexpr int Html = 2;
constexpr int Tree = 3;
constexpr int Inventory = 4;  // the command line's exact inventory (formats/InventoryListing.h)
}  // namespace ListingFormats

namespace SaveModes {
constexpr int None = -1;
constexpr int FilesOnly = 0;
constexpr int FoldersOnly = 1;
constexpr int Both = 2;
}  // namespace SaveModes

struct ListingOptions {
    int Format = ListingFormats::Txt;   // a ListingFormats code
    int SaveMode = SaveModes::Both;     // a SaveModes code
    bool EasyMode = false;              // chkEasy
    bool FullPath = false;              // chkFullPath
    bool DeleteExtension = false;       // chkDelEXE
    bool IgnoreEmptyFolders = false;    // chkEmptyFolder
    int DepthLimit = 0;                 // 0 unlimited, else the levels below the chosen folder
};

// What one folder holds (directly, or with everything below it).
struct FolderTotals {
    std::int32_t FolderCount = 0;
    std::int32_t FileCount = 0;
    ExactSize TotalSize;
    ExactSize TotalCompressedSize;

    FolderTotals& operator+=(const FolderTotals& other)
    {
        FolderCount += other.FolderCount;
        FileCount += other.FileCount;
        TotalSize += other.TotalSize;
        TotalCompressedSize += other.TotalCompressedSize;
        return *this;
    }
};
