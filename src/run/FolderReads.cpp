#include "run/FolderReads.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <new>
#include <system_error>

#include "fs/EntryMetadata.h"
#include "fs/Enumeration.h"
#include "fs/LongPath.h"
#include "run/EntryFilters.h"

namespace {

constexpr int kDeepestWalk = 512;  // levels below the chosen folder that are walked
constexpr int kShareReaders = 16;
constexpr int kMostLocalReaders = 8;
// The room for reading ahead: enough to keep every reader busy on a share, small
// beside the million-entry folder a 32-bit process must hold.
constexpr std::size_t kMostFoldersAhead = 1024;
constexpr std::size_t kMostEntriesAhead = 1 << 18;
constexpr std::size_t kEntriesBetweenChecks = 1024;
// Waits are short so that a stop, which nothing signals, is seen at once.
constexpr auto kStopCheck = std::chrono::milliseconds(10);

// The folder's path as its entries' Folder: with one trailing "\".
std::wstring FolderPrefix(const std::wstring& path) { return path.ends_with(L'\\') ? path : path + L'\\'; }

// Length of the part of a path that names its root: "C:\", "\\server\share\".
std::size_t RootLength(std::wstring_view path)
{
    if (!path.starts_with(L"\\\\")) return std::min<std::size_t>(path.size(), 3);
    std::size_t server = path.find(L'\\', 2);
    std::size_t share = server == std::wstring_view::npos ? server : path.find(L'\\', server + 1);
    return share == std::wstring_view::npos ? path.size() : share + 1;
}

// The folders above the chosen one, root first.
std::vector<std::wstring> PathsAbove(std::wstring path)
{
    std::vector<std::wstring> paths;
    const std::size_t root = RootLength(path);
    for (;;) {
        std::size_t separator = LastSeparatorBeforeEnd(path);
        if (path.size() <= root || separator == std::wstring::npos) break;
        path.resize(std::max(separator, root));
        paths.push_back(path);
    }
    std::reverse(paths.begin(), paths.end());
    return paths;
}

// Without subfolders the walk goes one level down only to give the direct subfolders
// their sections; with files only not even that. depth: the subfolders' own.
bool SkipsSubfolders(const JobInfo& job, int depth)
{
    // Each level holds a frame of the writer's stack; a chain of folders thousands deep
    // (possible within 32,767-character paths) would exhaust it.
    if (depth > kDeepestWalk) return true;
    if (job.IncludeSubFolders()) return false;
    return (job.ShowFiles() && !job.ShowFolders()) || depth > 1;
}

}  // namespace

std::uint32_t SimulatedLatencyMs()
{
    wchar_t text[16] = {};
    DWORD length = GetEnvironmentVariableW(L"QUORVANE_SIMULATED_LATENCY_MS", text, 16);
    if (length == 0 || length >= 16) return 0;
    wchar_t* end = nullptr;
    unsigned long value = wcstoul(text, &end, 10);
    return *end == L'\0' && value >= 1 && value <= 1000 ? static_cast<std::uint32_t>(value) : 0;
}

int DefaultReaderCount(VolumeKind kind)
{
    switch (kind) {
    case VolumeKind::Network: return kShareReaders;
    case VolumeKind::SeekPenalty: return 1;
    case VolumeKind::NoSeekPenalty:
    case VolumeKind::Unknown: break;
    }
    int processors = static_cast<int>(std::thread::hardware_concurrency());
    return std::clamp(processors, 2, kMostLocalReaders);
}

FolderNode::FolderNode(FolderNode& parent, std::wstring name, std::uint32_t index,
                       std::optional<FolderIdentity> identity)
    : name_(std::move(name)),
      parent_(&parent),
      depth_(static_cast<std::int16_t>(parent.depth_ + 1)),
      index_(index),
      identity_(identity),
      identityKnown_(identity.has_value())
{
}

std::wstring FolderNode::Path() const
{
    if (!parent_) return name_;
    return FolderPrefix(parent_->Path()) + name_;
}

bool FolderNode::ListedBefore(const FolderNode& other) const
{
    const FolderNode* a = this;
    const FolderNode* b = &other;
    while (a->depth_ > b->depth_) a = a->parent_;
    while (b->depth_ > a->depth_) b = b->parent_;
    if (a == b) return depth_ < other.depth_;  // an ancestor comes before what is below it
    while (a->parent_ != b->parent_) a = a->parent_, b = b->parent_;
    return a->index_ < b->index_;
}

FolderReaders::FolderReaders(const ReadRules& rules, const RunControl& stop, const ReadSettings& settings,
                             int readers)
    : rules_(rules), stop_(stop), settings_(settings), readerCount_(std::clamp(readers, 1, kMostReaders))
{
    if (settings_.LatencyMs == 0) settings_.LatencyMs = SimulatedLatencyMs();
}

FolderReaders::~FolderReaders()
{
    {
        std::lock_guard lock(mutex_);
        quit_ = true;
    }
    changed_.notify_all();
    for (std::thread& thread : threads_) thread.join();
}

void FolderReaders::Start(FolderNode& root)
{
    for (std::wstring& path : PathsAbove(root.Path())) above_.push_back({std::move(path), std::nullopt, false});
    {
        std::lock_guard lock(mutex_);
        waiting_.insert(&root);
    }
    try {
        for (int i = 0; i < readerCount_; ++i) threads_.emplace_back([this] { ReaderLoop(); });
    } catch (const std::system_error&) {
        // Fewer threads than asked for: with none, the writer reads each folder itself.
    }
    std::lock_guard lock(mutex_);
    readerCount_ = static_cast<int>(threads_.size());
}

bool FolderReaders::Await(FolderNode& node)
{
    std::unique_lock lock(mutex_);
    needed_ = &node;
    changed_.notify_all();
    while (node.progress_ != FolderNode::Progress::Read) {
        if (Stopped()) return false;
        // Every reader waits for room in the middle of a folder read ahead: the writer
        // reads what it needs itself, since only it can make room.
        if (node.progress_ == FolderNode::Progress::Waiting && pausedReaders_ == readerCount_) {
            Take(node);
            ReadAndPublish(node, lock);
            break;
        }
        changed_.wait_for(lock, kStopCheck);
    }
    return !Stopped();
}

void FolderReaders::Consumed(FolderNode& node)
{
    {
        std::lock_guard lock(mutex_);
        --foldersHeld_;
        entriesHeld_ -= node.held_;
        node.held_ = 0;
        if (needed_ == &node) needed_ = nullptr;
    }
    changed_.notify_all();
}

void FolderReaders::ReaderLoop()
{
    std::unique_lock lock(mutex_);
    while (!quit_ && !Stopped()) {
        FolderNode* node = NextToRead();
        if (!node) {
            changed_.wait_for(lock, kStopCheck);
            continue;
        }
        Take(*node);
        ReadAndPublish(*node, lock);
    }
}

// The first waiting folder in the listing's order is the one the writer needs next, or
// one that follows it; only the one it needs is read when the room is full.
FolderNode* FolderReaders::NextToRead()
{
    if (waiting_.empty()) return nullptr;
    FolderNode* first = *waiting_.begin();
    return first == needed_ || !RoomIsFull() ? first : nullptr;
}

void FolderReaders::Take(FolderNode& node)
{
    waiting_.erase(&node);
    node.progress_ = FolderNode::Progress::Reading;
    ++foldersHeld_;
}

void FolderReaders::ReadAndPublish(FolderNode& node, std::unique_lock<std::mutex>& lock)
{
    lock.unlock();
    try {
        ReadFolder(node);
    } catch (const std::bad_alloc&) {
        // A huge folder outgrew the memory: the run stops as with Stop, with what was kept.
        outOfMemory_ = true;
    }
    lock.lock();
    node.progress_ = FolderNode::Progress::Read;
    try {
        for (auto& child : node.Children) waiting_.insert(child.get());
    } catch (const std::bad_alloc&) {
        outOfMemory_ = true;  // a child left out would never be read
    }
    changed_.notify_all();
}

void FolderReaders::ReadFolder(FolderNode& node)
{
    const JobInfo& job = rules_.Job;
    const std::wstring path = node.Path();
    FolderRead& result = node.Result;
    const bool inventory = rules_.Options.Format == ListingFormats::Inventory && !rules_.Options.EasyMode;
    ListedEntries folders(job.SortKey()), files(job.SortKey(), inventory);
    bool readable = Gather(node, path, folders, files);
    // Below the depth limit the section writes nothing, so the single-path query,
    // costly on large trees, is not made. A folder that cannot be read may still have
    // a record, which the inventory shows; the inventory begins with the chosen folder's.
    const int limit = rules_.Options.DepthLimit;
    bool section = job.ShowFolders() && !(limit > 0 && node.Depth() > limit);
    if (!readable && !inventory) return;
    if ((section || (inventory && node.Depth() == 0)) && !Stopped()) {
        Request(path);
        result.Record = GetEntryInfo(path);
    }
    if (!readable) return;
    // After Stop nothing more is written: sorting would only delay the end.
    if (job.SortKey() != 0 && !Stopped()) {
        if (!files.empty()) SortEntries(files, job.SortOrder(), job.SortKey());
        if (!folders.empty()) SortEntries(folders, job.SortOrder(), job.SortKey());
    }
    const int below = node.Depth() + 1;
    if (job.IncludeSubFolders() || below <= 1) result.Files = std::move(files);
    if (!SkipsSubfolders(job, below) && !Stopped()) PlanChildren(node, path, folders);
}

bool FolderReaders::Gather(FolderNode& node, const std::wstring& path, ListedEntries& folders, ListedEntries& files)
{
    FolderRead& result = node.Result;
    Request(path);
    EntryFind find;
    HANDLE handle = FindFirstEntry(find, FolderPrefix(path) + L"*.*", L"");
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE) {
        result.Error = GetLastError();
        return false;
    }
    result.Readable = true;
    ++foldersRead_;
    Report(path);
    const std::wstring& excluded = rules_.Job.ExcludedNames();
    std::size_t counted = 0;
    while (find.Found && !Stopped()) {
        const EntryInfo& entry = find.Entry;
        ++entriesRead_;
        if (!excluded.empty() && IsExcludedName(entry.Name, excluded)) {
            // Neither listed, counted nor walked.
        } else if (FolderPasses(entry, rules_.Job)) {
            folders.Add(find.Entry);
            ++result.Own.FolderCount;
        } else if (FilePasses(entry, rules_.Job, rules_.State)) {
            files.Add(find.Entry);
            ++result.Own.FileCount;
            result.Own.TotalSize += entry.Size;
            result.Own.TotalCompressedSize += entry.CompressedSize;
        }
        std::size_t kept = folders.size() + files.size();
        if (kept - counted >= kEntriesBetweenChecks) {
            if (!Hold(node, kept - counted)) break;
            counted = kept;
            Report(path);
        }
        FindNextEntry(find);
    }
    CloseEntryFind(find);
    Hold(node, folders.size() + files.size() - counted, true);
    return true;
}

void FolderReaders::PlanChildren(FolderNode& node, const std::wstring& path, const ListedEntries& folders)
{
    const std::wstring prefix = FolderPrefix(path);
    EntryInfo sub;
    node.Children.reserve(folders.size());
    for (std::size_t i = 0; i < folders.size(); ++i) {
        folders.Fill(i, prefix, sub);
        // A link, junction or mount point that leads back to a folder on the way down (or
        // above the chosen folder) would be walked for ever; it stays counted in its
        // parent but gets no section and nothing below it is read.
        std::optional<FolderIdentity> identity;
        if (sub.Attributes & FILE_ATTRIBUTE_REPARSE_POINT) {
            identity = ReadFolderIdentity(sub.FullPath);
            if (identity && LeadsBackUp(node, *identity)) {
                node.Result.NotFollowed.push_back(sub.FullPath);
                continue;
            }
        }
        auto index = static_cast<std::uint32_t>(node.Children.size());
        node.Children.push_back(std::make_unique<FolderNode>(node, sub.Name, index, identity));
    }
}

// Only a link, junction or mount point can lead back up, so a folder's identity (a handle
// open and a query, slow on some systems) is read only once such an entry is met.
bool FolderReaders::LeadsBackUp(FolderNode& node, const FolderIdentity& identity)
{
    std::lock_guard lock(identityMutex_);
    for (FolderNode* folder = &node; folder; folder = folder->parent_) {
        if (!folder->identityKnown_) {
            folder->identity_ = ReadFolderIdentity(folder->Path());
            folder->identityKnown_ = true;
        }
        if (folder->identity_ == identity) return true;
    }
    for (Above& folder : above_) {
        if (!folder.Known) {
            folder.Identity = ReadFolderIdentity(folder.Path);
            folder.Known = true;
        }
        if (folder.Identity == identity) return true;
    }
    return false;
}

bool FolderReaders::Hold(FolderNode& node, std::size_t entries, bool last)
{
    std::unique_lock lock(mutex_);
    node.held_ += entries;
    entriesHeld_ += entries;
    if (last || &node == needed_ || !RoomIsFull()) return !Stopped();
    ++pausedReaders_;
    changed_.notify_all();
    while (&node != needed_ && RoomIsFull() && !Stopped() && !quit_) changed_.wait_for(lock, kStopCheck);
    --pausedReaders_;
    return !Stopped() && !quit_;
}

bool FolderReaders::RoomIsFull() const
{
    return foldersHeld_ >= kMostFoldersAhead || entriesHeld_ >= kMostEntriesAhead;
}

void FolderReaders::Report(const std::wstring& folder)
{
    if (settings_.Progress) settings_.Progress->Report(entriesRead_, foldersRead_, folder);
}

void FolderReaders::Request(const std::wstring& folder)
{
    if (settings_.LatencyMs) Sleep(settings_.LatencyMs);
    if (settings_.BeforeRequest) settings_.BeforeRequest(folder);
}
