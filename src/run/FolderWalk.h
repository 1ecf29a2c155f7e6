#pragma once
// The walk's writing: each folder's section and rows in the listing's order, from what
// the readers kept (run/FolderReads.h), then its subfolders.
#include <cstdint>
#include <string>
#include <string_view>

#include <vector>

#include "formats/InventoryListing.h"
#include "formats/LineWriter.h"
#include "formats/ListingOptions.h"
#include "run/FolderReads.h"
#include "run/JobInfo.h"
#include "run/RunControl.h"
#include "run/RunState.h"

struct RunResult;

// What a run tells its owner. Its calls come from the thread that runs the listing, so
// a window must not draw in them but hand the news to its own thread.
class RunHost {
public:
    virtual ~RunHost() = default;
    virtual void ShowStatus(std::wstring_view text) = 0;
    // The output file exists and the listing starts: the window locks itself.
    virtual void RunStarting() {}
    // The listing file is complete and closed (or none was created); what RunListing
    // still does is waiting for readers that are inside a platform call.
    virtual void ListingFinished(const RunResult&) {}
};

// Shows the latest status text at most once per interval, so that a listing does not
// pay a redraw per entry.
class RunProgress {
public:
    RunProgress(RunHost& host, std::uint32_t intervalMs) : host_(host), intervalMs_(intervalMs) {}
    // Between rows and folders: a status held back is shown once it is due.
    void Step();
    void Status(std::wstring_view text);

private:
    bool Due();

    RunHost& host_;
    std::uint32_t intervalMs_;
    static constexpr std::uint64_t kNever = ~0ull;  // the first call is always due
    std::uint64_t lastStatus_ = kNever;
    std::wstring pendingStatus_;
    bool statusPending_ = false;
};

// A folder the walk could not read, and the system's error code.
struct UnreadableFolder {
    std::wstring Path;
    unsigned long Error = 0;
};

// What the walk passed over, in the order of the listing.
struct WalkReport {
    std::vector<UnreadableFolder> Unreadable;
    std::vector<std::wstring> NotFollowed;  // links that lead back up: counted, not walked
};

struct WalkContext {
    RunState& State;
    const RunControl& Stop;
    const JobInfo& Job;
    const ListingOptions& Options;
    LineWriter& Out;
    RunProgress& Progress;
    FolderReaders& Readers;
    WalkReport& Report;
    InventoryListing* Inventory = nullptr;  // the rows go there instead of to Out
};

// Walks the chosen folder (the root of the readers' tree). A subfolder that is the folder
// being walked or one above it (through a link, junction or mount point) is counted but
// not walked.
FolderTotals WalkFolder(WalkContext& context, FolderNode& root);
