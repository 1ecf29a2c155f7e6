#include "run/FolderWalk.h"

#include <windows.h>

#include <algorithm>
#include <optional>

#include "formats/EntryRow.h"
#include "formats/FolderSection.h"
#include "formats/ValueText.h"
#include "fs/EntryMetadata.h"
#include "fs/Enumeration.h"
#include "fs/FolderIdentity.h"
#include "fs/LongPath.h"
#include "run/EntryFilters.h"

namespace {

constexpr int kDeepestWalk = 512;  // levels below the chosen folder that are walked

bool IsNumericKey(std::int32_t key) { return key == FieldCodes::Size || key == FieldCodes::CompressedSize; }

std::wstring SortTimeText(const FileTimeInfo& time)
{
    DateParts p = PartsFromOleDate(time.Local);
    wchar_t text[32];
    swprintf(text, 32, L"%04d-%02d-%02d %02d:%02d:%02d", p.Year, p.Month, p.Day, p.Hour, p.Minute, p.Second);
    return text;
}

// The collation key of a text, ignoring case: comparing two keys byte by byte gives
// what CompareStringW gives for the texts, at one platform call per entry instead of
// one per comparison.
std::string CollationKey(const std::wstring& text)
{
    constexpr DWORD flags = LCMAP_SORTKEY | NORM_IGNORECASE;
    int size = LCMapStringW(LOCALE_USER_DEFAULT, flags, text.data(), static_cast<int>(text.size()), nullptr, 0);
    if (size <= 0) return {};
    std::string key(static_cast<std::size_t>(size), '\0');
    // With LCMAP_SORTKEY the destination is a byte buffer and its size is in bytes.
    LCMapStringW(LOCALE_USER_DEFAULT, flags, text.data(), static_cast<int>(text.size()),
                 reinterpret_cast<LPWSTR>(key.data()), size);
    return key;
}

template <typename Before>
void StableSortBy(std::vector<ListedEntry>& list, Before before)
{
    std::vector<std::size_t> order(list.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::stable_sort(order.begin(), order.end(), before);
    std::vector<ListedEntry> sorted;
    sorted.reserve(list.size());
    for (std::size_t i : order) sorted.push_back(std::move(list[i]));
    list.swap(sorted);
}

struct WalkLists {
    std::vector<ListedEntry> Folders;
    std::vector<ListedEntry> Files;
};

// Steps 3 to 5: false when the folder cannot be enumerated.
bool GatherEntries(WalkContext& context, const std::wstring& path, WalkLists& lists, FolderTotals& own)
{
    std::wstring spec = path;
    if (!spec.ends_with(L'\\')) spec += L'\\';
    spec += L"*.*";
    EntryFind find;
    HANDLE handle = FindFirstEntry(find, spec, L"");
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE) return false;

    const std::int32_t key = context.Job.SortKey();
    while (find.Found && !context.State.StopRequested) {
        EntryInfo& entry = find.Entry;
        if (FolderPasses(entry, context.Job)) {
            lists.Folders.push_back(MakeListedEntry(entry, key));
            ++own.FolderCount;
        } else if (FilePasses(entry, context.Job, context.State)) {
            lists.Files.push_back(MakeListedEntry(entry, key));
            ++own.FileCount;
            own.TotalSize += entry.Size;
            own.TotalCompressedSize += entry.CompressedSize;
        }
        FindNextEntry(find);
        context.Progress.Step();
    }
    CloseEntryFind(find);
    return true;
}

void WriteRows(WalkContext& context, const std::vector<ListedEntry>& files)
{
    RunState& state = context.State;
    for (const ListedEntry& file : files) {
        if (state.StopRequested) break;
        if (WriteEntryRow(context.Out, context.Options, context.Job.ShowFiles(), state.StopRequested,
                          state.WalkDepth, file.Entry))
            context.Progress.Status(file.Entry.FullPath);
        context.Progress.Step();
    }
}

// Without subfolders the walk goes one level down only to give the direct
// subfolders their sections; with files only not even that.
bool SkipsSubfolders(const WalkContext& context)
{
    // Each level holds an open enumeration and a stack frame; a chain of folders
    // thousands deep (possible within 32,767-character paths) would exhaust the stack.
    if (context.State.WalkDepth > kDeepestWalk) return true;
    const JobInfo& job = context.Job;
    if (job.IncludeSubFolders()) return false;
    return (job.ShowFiles() && !job.ShowFolders()) || context.State.WalkDepth > 1;
}

// The folders from the drive or share root down to the one being walked. Only a link,
// junction or mount point can lead back up, so a folder's identity (a handle open and a
// query, slow on some systems) is read only once such an entry is met.
class FolderChain {
public:
    void Push(std::wstring path, std::optional<FolderIdentity> identity = std::nullopt, bool known = false)
    {
        links_.push_back({std::move(path), identity, known});
    }
    void Pop() { links_.pop_back(); }
    bool Contains(const FolderIdentity& identity)
    {
        for (Link& link : links_) {
            if (!link.Known) {
                link.Identity = ReadFolderIdentity(link.Path);
                link.Known = true;
            }
            if (link.Identity == identity) return true;
        }
        return false;
    }

private:
    struct Link {
        std::wstring Path;
        std::optional<FolderIdentity> Identity;
        bool Known = false;
    };
    std::vector<Link> links_;
};

FolderTotals WalkTree(WalkContext& context, const EntryInfo& folder, FolderChain& chain);

// Length of the part of a path that names its root: "C:\", "\\server\share\".
std::size_t RootLength(std::wstring_view path)
{
    if (!path.starts_with(L"\\\\")) return std::min<std::size_t>(path.size(), 3);
    std::size_t server = path.find(L'\\', 2);
    std::size_t share = server == std::wstring_view::npos ? server : path.find(L'\\', server + 1);
    return share == std::wstring_view::npos ? path.size() : share + 1;
}

// The chosen folder and every folder above it, root first.
FolderChain ChainUpToRoot(std::wstring path)
{
    std::vector<std::wstring> paths;
    const std::size_t root = RootLength(path);
    for (;;) {
        paths.push_back(path);
        std::size_t separator = LastSeparatorBeforeEnd(path);
        if (path.size() <= root || separator == std::wstring::npos) break;
        path.resize(std::max(separator, root));
    }
    FolderChain chain;
    for (auto it = paths.rbegin(); it != paths.rend(); ++it) chain.Push(std::move(*it));
    return chain;
}

// A link, junction or mount point that leads back to a folder on the way down (or
// above the chosen folder) would be walked for ever; it stays counted in its parent
// but gets no section and nothing below it is read.
FolderTotals WalkSubfolder(WalkContext& context, const EntryInfo& folder, FolderChain& chain)
{
    std::optional<FolderIdentity> identity;
    bool link = (folder.Attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    if (link) {
        identity = ReadFolderIdentity(folder.FullPath);
        if (identity && chain.Contains(*identity)) return {};
    }
    chain.Push(folder.FullPath, identity, link);
    FolderTotals totals = WalkTree(context, folder, chain);
    chain.Pop();
    return totals;
}

}  // namespace

bool RunProgress::Due(std::uint64_t& last)
{
    std::uint64_t now = GetTickCount64();
    if (last != kNever && now - last < intervalMs_) return false;
    last = now;
    return true;
}

void RunProgress::Step()
{
    if (!Due(lastPump_)) return;
    if (statusPending_) {
        host_.ShowStatus(pendingStatus_);
        statusPending_ = false;
    }
    host_.PumpMessages();
}

void RunProgress::Status(std::wstring_view text)
{
    if (Due(lastStatus_)) {
        host_.ShowStatus(text);
        statusPending_ = false;
        return;
    }
    pendingStatus_.assign(text);
    statusPending_ = true;
}

ListedEntry MakeListedEntry(const EntryInfo& entry, std::int32_t key)
{
    ListedEntry listed{entry.Name, {}, {}, entry};
    bool folder = (entry.Attributes & AttributeBits::Directory) != 0;
    switch (key) {
    case FieldCodes::ShortName: listed.SortText = UpperCaseText(EntryShortName(listed.Entry)); break;
    case FieldCodes::Extension: listed.SortText = UpperCaseText(folder ? entry.Name : entry.Extension); break;
    case FieldCodes::Size: listed.SortNumber = entry.Size; break;
    case FieldCodes::CompressedSize: listed.SortNumber = entry.CompressedSize; break;
    case FieldCodes::Created: listed.SortText = SortTimeText(entry.Created); break;
    case FieldCodes::Modified: listed.SortText = SortTimeText(entry.Modified); break;
    case FieldCodes::Accessed: listed.SortText = SortTimeText(entry.Accessed); break;
    case 0: break;
    default: listed.SortText = UpperCaseText(entry.Name); break;
    }
    return listed;
}

void SortEntries(std::vector<ListedEntry>& list, std::int32_t order, std::int32_t key)
{
    bool ascending = order == 0;
    if (IsNumericKey(key)) {
        StableSortBy(list, [&list, ascending](std::size_t a, std::size_t b) {
            return ascending ? list[a].SortNumber < list[b].SortNumber : list[a].SortNumber > list[b].SortNumber;
        });
        return;
    }
    std::vector<std::string> keys;
    keys.reserve(list.size());
    for (const ListedEntry& entry : list) keys.push_back(CollationKey(entry.SortText));
    StableSortBy(list, [&keys, ascending](std::size_t a, std::size_t b) {
        return ascending ? keys[a] < keys[b] : keys[b] < keys[a];
    });
}

FolderTotals WalkFolder(WalkContext& context, const EntryInfo& folder)
{
    FolderChain chain = ChainUpToRoot(folder.FullPath);
    return WalkTree(context, folder, chain);
}

namespace {

FolderTotals WalkTree(WalkContext& context, const EntryInfo& folder, FolderChain& chain)
{
    RunState& state = context.State;
    const JobInfo& job = context.Job;
    if (state.StopRequested) return {};
    FolderTotals own, total;
    state.FolderCount = 0;
    state.FileCount = 0;

    const std::wstring& path = folder.FullPath;
    WalkLists lists;
    if (!GatherEntries(context, path, lists, own)) return {};

    // Below the depth limit the section writes nothing, so the single-path query,
    // costly on large trees, is not made.
    bool belowLimit = context.Options.DepthLimit > 0 && state.WalkDepth > context.Options.DepthLimit;
    if (job.ShowFolders() && !belowLimit) {
        EntryInfo record = GetEntryInfo(path);
        if (WriteFolderSection(context.Out, context.Options, true, state.WalkDepth, record, own))
            context.Progress.Status(record.FullPath);
    }
    ++state.WalkDepth;
    if (job.SortKey() != 0) {
        if (!lists.Files.empty()) SortEntries(lists.Files, job.SortOrder(), job.SortKey());
        if (!lists.Folders.empty()) SortEntries(lists.Folders, job.SortOrder(), job.SortKey());
    }
    if (job.IncludeSubFolders() || state.WalkDepth <= 1) WriteRows(context, lists.Files);
    lists.Files = {};  // the rows are out; only the subfolders are needed below

    total += own;
    state.FileCount = total.FileCount;
    state.FolderCount = total.FolderCount;
    if (!SkipsSubfolders(context)) {
        for (const ListedEntry& sub : lists.Folders) {
            if (state.StopRequested) break;
            total += WalkSubfolder(context, sub.Entry, chain);
            context.Progress.Step();
        }
        state.FileCount = total.FileCount;
        state.FolderCount = total.FolderCount;
    }
    --state.WalkDepth;
    return total;
}

}  // namespace
