#include "run/ListingRun.h"

#include <windows.h>

#include "formats/NumberText.h"
#include "fs/EntryMetadata.h"
#include "fs/OutputFile.h"
#include "run/Frame.h"

namespace {

SYSTEMTIME LocalNow()
{
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return now;
}

bool WritesFile(const ListingOptions& options) { return options.EasyMode || options.Format != ListingFormats::None; }

}  // namespace

RunResult RunListing(RunState& state, const JobInfo& job, const ListingOptions& options, std::wstring_view outputPath,
                     RunHost& host, std::uint32_t progressIntervalMs)
{
    RunResult result;
    if (state.Running) return result;  // a second Save pressed while the first still unwinds
    state.RunJob = &job;
    state.WalkDepth = 0;
    state.FolderCount = 0;
    state.FileCount = 0;

    OutputFile file;
    bool writesFile = WritesFile(options);
    if (writesFile && !OpenOutputFile(file, outputPath)) {
        result.WriteError = file.LastError();
        result.AllWritten = false;
        return result;
    }
    result.Started = true;
    state.Running = true;
    host.RunStarting();
    RefreshRegionalFormats();

    {
        LineWriter out(writesFile ? &file : nullptr);
        if (!options.EasyMode) WriteOpeningLines(out, options.Format, options.SaveMode, LocalNow());
        std::uint64_t start = TickStamp();

        RunProgress progress(host, progressIntervalMs);
        WalkContext context{state, job, options, out, progress};
        WalkFolder(context, GetEntryInfo(job.RootFolder()));

        if (!options.EasyMode) WriteClosingLines(out, options.Format, options.SaveMode, LocalNow());
        out.Flush();
        CloseOutputFile(file);
        result.ElapsedMs = TicksSince(start);
    }
    state.Running = false;
    result.FolderCount = state.FolderCount;
    result.FileCount = state.FileCount;
    result.AllWritten = !file.Failed();
    result.WriteError = file.LastError();
    return result;
}
