#include "run/ListingRun.h"

#include <windows.h>

#include <new>

#include "formats/ListingFormat.h"
#include "formats/NumberText.h"
#include "fs/EntryMetadata.h"
#include "fs/OutputFile.h"
#include "run/OutputName.h"
#include "run/Ticks.h"

namespace {

// How many readers the run has: as asked, else by the chosen folder's volume. A simulated
// latency stands for a share.
int ReaderCount(const ReadSettings& reading, const std::wstring& root)
{
    if (reading.Readers > 0) return reading.Readers;
    std::uint32_t latency = reading.LatencyMs ? reading.LatencyMs : SimulatedLatencyMs();
    return DefaultReaderCount(latency ? VolumeKind::Network : VolumeKindOf(root));
}

}  // namespace

RunResult RunListing(RunState& state, RunControl& control, const JobInfo& job, const ListingOptions& options,
                     std::wstring_view outputPath, RunHost& host, std::uint32_t progressIntervalMs,
                     const ReadSettings& reading)
{
    RunResult result;
    if (control.Running()) return result;  // a second Save pressed while the first still unwinds
    state.RunJob = &job;
    state.WalkDepth = 0;
    state.FolderCount = 0;
    state.FileCount = 0;
    state.OutOfMemory = false;

    OutputFile file;
    bool writesFile = WritesListingFile(options.Format, options.EasyMode);
    bool inventory = writesFile && !options.EasyMode && options.Format == ListingFormats::Inventory;
    if (writesFile) {
        result.OutputPath = OpenFreeName(file, outputPath, inventory ? TextEncoding::Utf8 : TextEncoding::Utf16Le);
        if (result.OutputPath.empty()) {
            result.WriteError = file.LastError();
            result.AllWritten = false;
            host.ListingFinished(result);
            return result;
        }
    }
    RunControl::Session session(control);
    result.Started = true;
    host.RunStarting();
    RefreshRegionalFormats();

    InventoryListing rows;
    unsigned long spoolError = 0;
    if (inventory && !rows.Open()) spoolError = rows.SpoolError();
    // The tree outlives the readers: one still inside a call may hold a part of it.
    FolderNode root(job.RootFolder());
    FolderReaders readers({job, state, options}, control, reading, ReaderCount(reading, job.RootFolder()));
    {
        LineWriter out(writesFile && !inventory ? &file : nullptr);
        WriteOpeningLines(out, options, LocalNow());
        std::uint64_t start = TickStamp();
        RunProgress progress(host, progressIntervalMs);
        WalkContext context{state, control, job, options, out, progress, readers, result.Report,
                            inventory ? &rows : nullptr};
        try {
            if (!spoolError) {
                readers.Start(root);
                WalkFolder(context, root);
            }
        } catch (const std::bad_alloc&) {
            // What the walk held is freed by now, so the closing lines can still be written.
            state.OutOfMemory = true;
            state.WalkDepth = 0;
        }
        if (readers.OutOfMemory()) state.OutOfMemory = true;
        WriteClosingLines(out, options, LocalNow());
        out.Flush();
        if (inventory && !spoolError && !rows.WriteTo(file)) spoolError = rows.SpoolError();
        CloseOutputFile(file);
        result.ElapsedMs = TicksSince(start);
    }
    result.FolderCount = state.FolderCount;
    result.FileCount = state.FileCount;
    result.Stopped = control.StopRequested() || state.OutOfMemory;
    // A spool that failed leaves the inventory short, as a failed write would.
    result.AllWritten = !file.Failed() && spoolError == 0;
    result.WriteError = file.Failed() ? file.LastError() : spoolError;
    result.OutOfMemory = state.OutOfMemory;
    session.Finished();
    host.ListingFinished(result);
    return result;
}
