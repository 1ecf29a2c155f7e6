#pragma once
// One whole listing without a window: output file, frame lines, walk, counts.
#include <cstdint>
#include <string>
#include <string_view>

#include "formats/ListingOptions.h"
#include "run/FolderReads.h"
#include "run/FolderWalk.h"
#include "run/JobInfo.h"
#include "run/RunControl.h"
#include "run/RunState.h"

struct RunResult {
    bool Started = false;  // false: the output file could not be created, or a run is under way
    std::wstring OutputPath;  // the file written (empty when none): the wanted name or a numbered one
    std::int32_t FolderCount = 0;
    std::int32_t FileCount = 0;
    std::uint64_t ElapsedMs = 0;
    bool AllWritten = true;      // false when a write failed and the file ends early
    bool Stopped = false;        // Stop ended the walk early
    unsigned long WriteError = 0;
    bool OutOfMemory = false;    // the walk stopped early for want of memory
    WalkReport Report;           // what the walk passed over
};

// A write failed or memory ran out: the end of the run is reported as an error.
inline bool RunFailed(const RunResult& result) { return !result.AllWritten || result.OutOfMemory; }
// The file holds the whole listing: every write reached it and the walk was not cut short.
inline bool RunComplete(const RunResult& result)
{
    return result.Started && result.AllWritten && !result.Stopped && !result.OutOfMemory;
}

// The run after the checks and the folder choice (see PrepareRun): creates the file
// at outputPath (none when no format is chosen outside easy mode), writes the frame
// and the body, and closes it. A name already taken by a file or a folder is never
// replaced: the listing goes to "name (2).ext", "name (3).ext", ... instead.
// Folders are read ahead by readers of their own (run/FolderReads.h); the calling thread
// writes. A stop asked of the control (from any thread) ends the walk early; the closing
// lines are written all the same. So they are when memory runs out: the run then stops
// as with Stop and reports OutOfMemory. Nothing is started while the control already
// runs a listing.
RunResult RunListing(RunState& state, RunControl& control, const JobInfo& job, const ListingOptions& options,
                     std::wstring_view outputPath, RunHost& host, std::uint32_t progressIntervalMs = 20,
                     const ReadSettings& reading = {});
