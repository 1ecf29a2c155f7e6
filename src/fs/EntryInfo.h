#pragma once
// One directory entry: names, attribute bits, times and exact sizes.
#include <cstdint>
#include <string>

#include "fs/DateTime.h"
#include "fs/ExactSize.h"

struct FileTimeInfo {
    bool Invalid = false;  // no date could be built; Local and Utc mean nothing then
    OleDate Local = 0;     // to the second
    OleDate Utc = 0;       // to the second
    ExactSize Ticks;       // 100 ns since 1601-01-01 UTC; -1 when unknown
};

namespace PathKinds {
constexpr int Local = 1;
constexpr int Unc = 2;
constexpr int Ftp = 3;
}  // namespace PathKinds

namespace AttributeBits {
constexpr std::uint32_t ReadOnly = 1;
constexpr std::uint32_t Hidden = 2;
constexpr std::uint32_t System = 4;
constexpr std::uint32_t Directory = 16;
constexpr std::uint32_t Archive = 32;
constexpr std::uint32_t Temporary = 256;
constexpr std::uint32_t Compressed = 2048;
constexpr std::uint32_t Encrypted = 16384;
}  // namespace AttributeBits

struct EntryInfo {
    int PathKind = 0;
    std::wstring FullPath;   // Folder + Name
    std::wstring Folder;     // ends with "\" or is empty
    std::wstring Name;
    // The 8.3 alias. Looking it up costs a file-system query per path component and
    // only one sort key reads it, so it may be left for EntryShortName to fill in.
    std::wstring ShortName;
    bool ShortNameKnown = false;
    std::wstring Extension;  // after the last "." of Name, without the dot
    std::uint32_t Attributes = 0;
    bool IsFolder = false;
    bool IsFile = false;
    FileTimeInfo Created;
    FileTimeInfo Accessed;
    FileTimeInfo Modified;
    ExactSize Size;            // 0 for folders; -1 after a failed single-path query
    ExactSize CompressedSize;  // bytes on disk when compressed, else Size
};
