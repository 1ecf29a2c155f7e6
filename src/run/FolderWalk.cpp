#include "run/FolderWalk.h"

#include <windows.h>

#include <algorithm>
#include <new>
#include <optional>

#include "formats/ListingFormat.h"
#include "fs/EntryMetadata.h"
#include "fs/Enumeration.h"
#include "fs/FolderIdentity.h"
#include "fs/LongPath.h"
#include "run/EntryFilters.h"

namespace {

constexpr int kDeepestWalk = 512;  // levels below the chosen folder that are walked

// What a folder's enumeration keeps.
struct WalkLists {
    explicit WalkLists(std::int32_t key) : Folders(key), Files(key) {}
    ListedEntries Folders;
    ListedEntries Files;
};

// Stop was pressed, or memory ran out (the run then ends as with Stop).
bool Stopped(const WalkContext& context) { return context.Stop.StopRequested() || context.State.OutOfMemory; }

// The folder's path as its entries' Folder: with one trailing "\".
std::wstring FolderPrefix(const std::wstring& path) { return path.ends_with(L'\\') ? path : path + L'\\'; }

// Steps 3 to 5: false when the folder cannot be enumerated.
bool GatherEntries(WalkContext& context, const std::wstring& path, WalkLists& lists, FolderTotals& own)
{
    std::wstring spec = FolderPrefix(path) + L"*.*";
    EntryFind find;
    HANDLE handle = FindFirstEntry(find, spec, L"");
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE) return false;

    while (find.Found && !Stopped(context)) {
        EntryInfo& entry = find.Entry;
        try {
            if (FolderPasses(entry, context.Job)) {
                lists.Folders.Add(entry);
                ++own.FolderCount;
            } else if (FilePasses(entry, context.Job, context.State)) {
                lists.Files.Add(entry);
                ++own.FileCount;
                own.TotalSize += entry.Size;
                own.TotalCompressedSize += entry.CompressedSize;
            }
        } catch (const std::bad_alloc&) {
            // A huge folder outgrew the memory: stop as Stop does, with what was kept.
            context.State.OutOfMemory = true;
            break;
        }
        FindNextEntry(find);
        context.Progress.Step();
    }
    CloseEntryFind(find);
    return true;
}

void WriteRows(WalkContext& context, const ListedEntries& files, const std::wstring& folder)
{
    RunState& state = context.State;
    EntryInfo row;  // refilled for each file, so its texts keep their room
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (Stopped(context)) break;
        files.Fill(i, folder, row);
        if (WriteEntryRow(context.Out, context.Options, context.Job.ShowFiles(), Stopped(context), state.WalkDepth,
                          row))
            context.Progress.Status(row.FullPath);
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
    if (Stopped(context)) return {};
    FolderTotals own, total;
    state.FolderCount = 0;
    state.FileCount = 0;

    const std::wstring& path = folder.FullPath;
    WalkLists lists(job.SortKey());
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
    // After Stop no row follows and no subfolder is entered: sorting would only delay the end.
    if (job.SortKey() != 0 && !Stopped(context)) {
        if (!lists.Files.empty()) SortEntries(lists.Files, job.SortOrder(), job.SortKey());
        if (!lists.Folders.empty()) SortEntries(lists.Folders, job.SortOrder(), job.SortKey());
    }
    const std::wstring prefix = FolderPrefix(path);
    if (job.IncludeSubFolders() || state.WalkDepth <= 1) WriteRows(context, lists.Files, prefix);
    lists.Files = ListedEntries();  // the rows are out; only the subfolders are needed below

    total += own;
    state.FileCount = total.FileCount;
    state.FolderCount = total.FolderCount;
    if (!SkipsSubfolders(context)) {
        EntryInfo sub;
        for (std::size_t i = 0; i < lists.Folders.size(); ++i) {
            if (Stopped(context)) break;
            lists.Folders.Fill(i, prefix, sub);
            total += WalkSubfolder(context, sub, chain);
            context.Progress.Step();
        }
        state.FileCount = total.FileCount;
        state.FolderCount = total.FolderCount;
    }
    --state.WalkDepth;
    return total;
}

}  // namespace
