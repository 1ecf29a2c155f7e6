#include "fs/EntryMetadata.h"

#include <optional>
#include <string>

#include "fs/LongPath.h"

namespace {

std::uint64_t TicksOf(const FILETIME& time)
{
    return (static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

// FileTimeToLocalFileTime applies the offset in force now, whatever the date, so the
// shift it gives for one time serves for every time converted at this moment. Times
// whose local form would fall before 1601 wrap to 2^63 and above, and fail as there.
std::optional<std::uint64_t> LocalShift(const FILETIME& sample)
{
    FILETIME local;
    if (!FileTimeToLocalFileTime(&sample, &local)) return std::nullopt;
    return TicksOf(local) - TicksOf(sample);
}

FileTimeInfo ConvertWithShift(const FILETIME& fileTime, std::optional<std::uint64_t> shift)
{
    if (!shift) shift = LocalShift(fileTime);
    FileTimeInfo time;
    std::uint64_t ticks = TicksOf(fileTime);
    auto utc = OleDateFromFileTicks(ticks);
    auto local = shift ? OleDateFromFileTicks(ticks + *shift) : std::nullopt;
    time.Invalid = !utc || !local;
    if (utc) time.Utc = *utc;
    if (local) time.Local = *local;
    time.Ticks = ExactSize::FromUInt64(ticks);
    return time;
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
    return ConvertWithShift(fileTime, std::nullopt);
}

void SetEntryTimes(const FILETIME& created, const FILETIME& accessed, const FILETIME& modified, EntryInfo& entry)
{
    std::optional<std::uint64_t> shift;
    SetEntryTimes(created, accessed, modified, entry, shift);
}

void SetEntryTimes(const FILETIME& created, const FILETIME& accessed, const FILETIME& modified, EntryInfo& entry,
                   std::optional<std::uint64_t>& shift)
{
    if (!shift) shift = LocalShift(modified);
    entry.Created = ConvertWithShift(created, shift);
    entry.Accessed = ConvertWithShift(accessed, shift);
    entry.Modified = ConvertWithShift(modified, shift);
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
    DWORD low = GetCompressedFileSizeW(EntryPathArg(entry.FullPath).c_str(), &high);
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
    entry.ShortName.clear();

    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(EntryPathArg(path).c_str(), GetFileExInfoStandard, &data)) {
        // Only here does the preset on-disk size survive; a found entry gets its sizes below,
        // so the query (which opens the path) is not made for every folder of a walk.
        GetCompressedSize(entry);
        return entry;
    }

    CompleteEntryNames(entry);
    entry.Attributes = data.dwFileAttributes;
    SetEntryKind(entry);
    SetEntryTimes(data.ftCreationTime, data.ftLastAccessTime, data.ftLastWriteTime, entry);
    SetEntrySizes(data.nFileSizeLow, data.nFileSizeHigh, entry);
    return entry;
}
