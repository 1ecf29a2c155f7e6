#include "ui/FolderStatistics.h"

#include "fs/Enumeration.h"

std::optional<FolderStatistics> CountFolder(const std::wstring& folder, const std::function<bool()>& keepGoing)
{
    FolderStatistics statistics;
    EntryFind find;
    HANDLE handle = FindFirstEntry(find, folder, L"*.*");
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE) return statistics;
    int seen = 0;
    bool cut = false;
    while (find.Found) {
        const EntryInfo& entry = find.Entry;
        if (entry.IsFolder) {
            if (entry.Name != L"." && entry.Name != L"..") ++statistics.Folders;
        } else {
            ++statistics.Files;
            statistics.Size += entry.Size;
            statistics.CompressedSize += entry.CompressedSize;
        }
        if (++seen % 11 == 0 && keepGoing && !keepGoing()) {
            cut = true;
            break;
        }
        if (!FindNextEntry(find)) break;
    }
    CloseEntryFind(find);
    if (cut) return std::nullopt;
    return statistics;
}
