#include "fs/Enumeration.h"

#include "fs/EntryMetadata.h"
#include "fs/LongPath.h"

namespace {

std::vector<std::wstring> SplitPatterns(std::wstring_view patterns)
{
    std::vector<std::wstring> pieces;
    for (;;) {
        std::size_t cut = patterns.find(L';');
        pieces.emplace_back(patterns.substr(0, cut));
        if (cut == std::wstring_view::npos) return pieces;
        patterns.remove_prefix(cut + 1);
    }
}

void FillFromRecord(const WIN32_FIND_DATAW& record, EntryFind& find)
{
    EntryInfo& entry = find.Entry;
    // Assigned in place, so that the entry's texts keep their room from entry to entry.
    entry.Name.assign(UpToNul(std::wstring_view(record.cFileName, MAX_PATH)));
    entry.ShortName.assign(UpToNul(std::wstring_view(record.cAlternateFileName, 14)));
    CompleteEntryNames(entry);
    entry.Attributes = record.dwFileAttributes;
    SetEntryKind(entry);
    SetEntryTimes(record.ftCreationTime, record.ftLastAccessTime, record.ftLastWriteTime, entry, find.LocalShift);
    SetEntrySizes(record.nFileSizeLow, record.nFileSizeHigh, entry);
}

HANDLE OpenSearch(const std::wstring& spec, WIN32_FIND_DATAW& record)
{
    // The basic level skips the 8.3 alias, which EntryShortName looks up when asked;
    // the large fetch cuts round trips to the file system on big folders.
    return FindFirstFileExW(LongPathArg(spec).c_str(), FindExInfoBasic, &record, FindExSearchNameMatch, nullptr,
                            FIND_FIRST_EX_LARGE_FETCH);
}

}  // namespace

HANDLE FindFirstEntry(EntryFind& find, std::wstring_view pathArg, std::wstring_view patterns)
{
    std::wstring path;
    if (find.PatternIndex > 0) {
        path = find.Entry.Folder;
    } else {
        if (pathArg.empty()) {
            find.Found = false;
            return nullptr;
        }
        path.assign(pathArg);
        if (patterns.empty()) {
            find.Patterns.assign(1, std::wstring());
            find.PatternLast = 0;
        } else {
            if (!path.ends_with(L'\\')) path += L'\\';
            find.Patterns = SplitPatterns(patterns);
            find.PatternLast = static_cast<int>(find.Patterns.size()) - 1;
        }
        find.PatternIndex = 0;
    }

    find.SearchSpec = path + find.Patterns[find.PatternIndex];
    SplitSearchPath(find.SearchSpec, find.Entry);
    if (find.Entry.PathKind == PathKinds::Ftp) {
        find.Found = false;
        return nullptr;
    }

    WIN32_FIND_DATAW record;
    for (;;) {
        HANDLE handle = OpenSearch(find.SearchSpec, record);
        if (handle != INVALID_HANDLE_VALUE) {
            find.FindHandle.Reset(handle);
            FillFromRecord(record, find);
            find.Found = true;
            return handle;
        }
        if (++find.PatternIndex > find.PatternLast) {
            CloseEntryFind(find);
            return INVALID_HANDLE_VALUE;
        }
        find.SearchSpec = path + find.Patterns[find.PatternIndex];
    }
}

bool FindNextEntry(EntryFind& find)
{
    WIN32_FIND_DATAW record;
    if (find.FindHandle && FindNextFileW(find.FindHandle.Get(), &record)) {
        FillFromRecord(record, find);
        find.Found = true;
        return true;
    }
    find.FindHandle.Reset();
    if (find.PatternIndex < find.PatternLast) {
        ++find.PatternIndex;
        HANDLE handle = FindFirstEntry(find, {}, {});
        return handle != nullptr && handle != INVALID_HANDLE_VALUE && find.Found;
    }
    CloseEntryFind(find);
    return false;
}

bool CloseEntryFind(EntryFind& find)
{
    bool closed = find.FindHandle.Reset();
    find.Found = false;
    find.PatternIndex = 0;
    find.PatternLast = 0;
    find.Patterns.clear();
    return closed;
}
