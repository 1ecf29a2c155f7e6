#include "fs/EntryMetadata.h"

#include <string>

#include "fs/LongPath.h"

namespace {

bool DateFromFileTime(const FILETIME& fileTime, OleDate& date)
{
    SYSTEMTIME parts;
    if (!FileTimeToSystemTime(&fileTime, &parts)) return false;
    auto built = OleDateFromSystemTime(parts);
    if (!built) return false;
    date = *built;
    return true;
}

FileTimeInfo UnknownTime()
{
    FileTimeInfo time;
    time.Invalid = true;
    time.Ticks = -1;
    return time;
}

}  // namespace

ExactSize UInt64FromHalves(std::uint32_t low, std::uint32_t high)
{
    return ExactSize::FromUInt64((static_cast<std::uint64_t>(high) << 32) | low);
}

FileTimeInfo ConvertFileTime(const FILETIME& fileTime)
{
    FileTimeInfo time;
    if (!DateFromFileTime(fileTime, time.Utc)) time.Invalid = true;
    FILETIME local;
    if (!FileTimeToLocalFileTime(&fileTime, &local) || !DateFromFileTime(local, time.Local)) time.Invalid = true;
    time.Ticks = UInt64FromHalves(fileTime.dwLowDateTime, fileTime.dwHighDateTime);
    return time;
}

void SetEntrySizes(std::uint32_t low, std::uint32_t high, EntryInfo& entry)
{
    if (entry.Attributes & AttributeBits::Directory) {
        entry.Size = 0;
        entry.CompressedSize = 0;
        return;
    }
    entry.Size = UInt64FromHalves(low, high);
    if (entry.Attributes & AttributeBits::Compressed)
        GetCompressedSize(entry);
    else
        entry.CompressedSize = entry.Size;
}

ExactSize GetCompressedSize(EntryInfo& entry)
{
    entry.CompressedSize = entry.Size;
    DWORD high = 0;
    DWORD low = GetCompressedFileSizeW(LongPathArg(entry.FullPath).c_str(), &high);
    // 0xFFFFFFFF keeps the plain size whatever the error code, error 120 on
    // systems without the function included.
    if (low != INVALID_FILE_SIZE) entry.CompressedSize = UInt64FromHalves(low, high);
    return entry.CompressedSize;
}

EntryInfo GetEntryInfo(std::wstring_view path)
{
    EntryInfo entry;
    entry.FullPath.assign(path);
    SplitSearchPath(path, entry);
    if (entry.PathKind == PathKinds::Ftp) return entry;

    entry.Created = entry.Accessed = entry.Modified = UnknownTime();
    entry.Size = -1;
    GetCompressedSize(entry);
    entry.ShortName.clear();

    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(LongPathArg(path).c_str(), GetFileExInfoStandard, &data)) return entry;

    CompleteEntryNames(entry);
    entry.Attributes = data.dwFileAttributes;
    SetEntryKind(entry);
    entry.Created = ConvertFileTime(data.ftCreationTime);
    entry.Accessed = ConvertFileTime(data.ftLastAccessTime);
    entry.Modified = ConvertFileTime(data.ftLastWriteTime);
    SetEntrySizes(data.nFileSizeLow, data.nFileSizeHigh, entry);
    return entry;
}
