#pragma once
// The recursive walk: enumerate a folder, keep what passes the filters, write its
// section and rows, then walk its subfolders.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "formats/LineWriter.h"
#include "formats/ListingOptions.h"
#include "fs/EntryInfo.h"
#include "run/JobInfo.h"
#include "run/ListedEntries.h"
#include "run/RunControl.h"
#include "run/RunState.h"

// What a run needs from the window. The Stop button's click is handled while
// PumpMessages runs, and asks the run's RunControl to stop.
class RunHost {
public:
    virtual ~RunHost() = default;
    // One pass of the message loop: paint, input, the Stop button.
    virtual void PumpMessages() = 0;
    virtual void ShowStatus(std::wstring_view text) = 0;
    // The output file exists and the listing starts: the window locks itself.
    virtual void RunStarting() {}
};

// Lets messages run and shows the latest status text at most once per interval, so
// a listing does not pay a message-loop pass and a redraw per entry.
class RunProgress {
public:
    RunProgress(RunHost& host, std::uint32_t intervalMs) : host_(host), intervalMs_(intervalMs) {}
    void Step();
    void Status(std::wstring_view text);

private:
    bool Due(std::uint64_t& last);

    RunHost& host_;
    std::uint32_t intervalMs_;
    static constexpr std::uint64_t kNever = ~0ull;  // the first call is always due
    std::uint64_t lastPump_ = kNever;
    std::uint64_t lastStatus_ = kNever;
    std::wstring pendingStatus_;
    bool statusPending_ = false;
};

struct WalkContext {
    RunState& State;
    const RunControl& Stop;
    const JobInfo& Job;
    const ListingOptions& Options;
    LineWriter& Out;
    RunProgress& Progress;
};

// Walks the chosen folder. A subfolder that is the folder being walked or one above it
// (through a link, junction or mount point) is counted but not walked.
FolderTotals WalkFolder(WalkContext& context, const EntryInfo& folder);
