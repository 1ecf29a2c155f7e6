#pragma once
// The folders of a walk are read ahead of the writing by a small pool of readers, so that
// several directory requests are in flight at once: on a share each one is a network
// round trip. The listing is still written in the walk's order from what the readers
// kept; only when each folder is read changes. What is read ahead is bounded in folders
// and in entries held, so a huge tree takes no more memory than one huge folder.
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "formats/ListingOptions.h"
#include "fs/EntryInfo.h"
#include "fs/FolderIdentity.h"
#include "fs/VolumeKind.h"
#include "run/JobInfo.h"
#include "run/ListedEntries.h"
#include "run/ProgressReport.h"
#include "run/RunControl.h"
#include "run/RunState.h"

constexpr int kMostReaders = 64;

struct ReadSettings {
    int Readers = 0;  // 0: as many as the chosen folder's volume serves well
    // Waited before each directory request, in the thread that makes it; 0 reads the
    // QUORVANE_SIMULATED_LATENCY_MS environment variable, which stands for a share's round
    // trip in benchmarks and tests.
    std::uint32_t LatencyMs = 0;
    // Called before each directory request with the folder's path, in the thread that
    // makes it (tests).
    std::function<void(std::wstring_view folder)> BeforeRequest;
    // Told how far the reading has got (the console's progress line); may be null.
    ProgressReport* Progress = nullptr;
};

// QUORVANE_SIMULATED_LATENCY_MS when it holds 1 to 1000, else 0.
std::uint32_t SimulatedLatencyMs();
// Many for a share (its round trips overlap), a few for a disk without seek penalty, one
// for a disk whose heads would only seek more; a volume of unknown kind counts as local.
int DefaultReaderCount(VolumeKind kind);

// What one folder's reading kept for the writing.
struct FolderRead {
    bool Readable = false;  // false: the folder could not be enumerated
    unsigned long Error = 0;  // the system's error code then
    FolderTotals Own;       // what passed the filters directly in it
    ListedEntries Files;    // sorted; empty when its rows are not written
    std::optional<EntryInfo> Record;  // its own record, when its section is written
    // Subfolders that lead back up (links, junctions, mount points): counted, not walked.
    std::vector<std::wstring> NotFollowed;
};

// One folder of the walk. Its children are the subfolders that are walked, in the order
// of the listing.
class FolderNode {
public:
    // The chosen folder.
    explicit FolderNode(std::wstring path) : name_(std::move(path)) {}
    FolderNode(FolderNode& parent, std::wstring name, std::uint32_t index, std::optional<FolderIdentity> identity);

    std::wstring Path() const;
    std::int16_t Depth() const { return depth_; }  // levels below the chosen folder
    // Whether the node comes before `other` in the listing.
    bool ListedBefore(const FolderNode& other) const;

    FolderRead Result;
    std::vector<std::unique_ptr<FolderNode>> Children;

private:
    friend class FolderReaders;
    enum class Progress : std::uint8_t { Waiting, Reading, Read };

    std::wstring name_;  // the whole path for the chosen folder
    FolderNode* parent_ = nullptr;
    std::int16_t depth_ = 0;
    std::uint32_t index_ = 0;  // among its parent's children
    // Which folder it is, read only once a link below it needs to know.
    std::optional<FolderIdentity> identity_;
    bool identityKnown_ = false;
    Progress progress_ = Progress::Waiting;
    std::size_t held_ = 0;  // entries kept while it is read ahead
};

// What a reading follows: the options of the run (read only while it runs).
struct ReadRules {
    const JobInfo& Job;
    const RunState& State;
    const ListingOptions& Options;
};

// The pool. The writer awaits each folder in the listing's order; the readers take the
// first waiting folder in that order, so what the writer needs next is read first.
class FolderReaders {
public:
    FolderReaders(const ReadRules& rules, const RunControl& stop, const ReadSettings& settings, int readers);
    // Stops the readers and waits for them; one inside a platform call finishes it first.
    ~FolderReaders();
    FolderReaders(const FolderReaders&) = delete;
    FolderReaders& operator=(const FolderReaders&) = delete;

    // The chosen folder: reading starts with it.
    void Start(FolderNode& root);
    // Waits until the folder has been read; false when the run stops first.
    bool Await(FolderNode& node);
    // The writer is done with the folder's files; they count no more against the room.
    void Consumed(FolderNode& node);
    bool OutOfMemory() const { return outOfMemory_; }

private:
    void ReaderLoop();
    FolderNode* NextToRead();
    void Take(FolderNode& node);
    void ReadAndPublish(FolderNode& node, std::unique_lock<std::mutex>& lock);
    void ReadFolder(FolderNode& node);
    bool Gather(FolderNode& node, const std::wstring& path, ListedEntries& folders, ListedEntries& files);
    void PlanChildren(FolderNode& node, const std::wstring& path, const ListedEntries& folders);
    bool LeadsBackUp(FolderNode& node, const FolderIdentity& identity);
    // Counts what a reading keeps; unless it is the last count, a reading ahead of the
    // writer waits while the room is full. False when the run stops meanwhile.
    bool Hold(FolderNode& node, std::size_t entries, bool last = false);
    bool RoomIsFull() const;
    void Request(const std::wstring& folder);
    void Report(const std::wstring& folder);
    bool Stopped() const { return stop_.StopRequested() || outOfMemory_; }

    struct ByListing {
        bool operator()(const FolderNode* a, const FolderNode* b) const { return a->ListedBefore(*b); }
    };
    struct Above {
        std::wstring Path;
        std::optional<FolderIdentity> Identity;
        bool Known = false;
    };

    const ReadRules rules_;
    const RunControl& stop_;
    ReadSettings settings_;
    int readerCount_;
    std::atomic<bool> outOfMemory_{false};

    std::mutex mutex_;
    std::condition_variable changed_;
    std::set<FolderNode*, ByListing> waiting_;
    const FolderNode* needed_ = nullptr;  // what the writer awaits
    std::size_t foldersHeld_ = 0;  // read or being read, not yet consumed
    std::size_t entriesHeld_ = 0;
    int pausedReaders_ = 0;  // in the middle of a folder, waiting for room
    bool quit_ = false;
    std::atomic<std::uint64_t> entriesRead_{0};  // for the progress report
    std::atomic<std::uint64_t> foldersRead_{0};

    std::mutex identityMutex_;  // folder identities are read once, by whichever reader needs one first
    std::vector<Above> above_;  // the folders above the chosen one, root first

    std::vector<std::thread> threads_;
};
