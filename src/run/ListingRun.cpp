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

// Writes the closing lines and closes the file once, when the walk has returned or
// earlier on request; known to FinishListingNow while the walk runs.
class ListingEnd {
public:
    ListingEnd(const RunState& state, LineWriter& out, OutputFile& file, const ListingOptions& options)
        : state_(state), out_(out), file_(file), options_(options), outer_(current)
    {
        current = this;
    }
    ~ListingEnd() { current = outer_; }
    ListingEnd(const ListingEnd&) = delete;
    ListingEnd& operator=(const ListingEnd&) = delete;

    void Finish()
    {
        if (finished_) return;
        finished_ = true;
        if (!options_.EasyMode) WriteClosingLines(out_, options_.Format, options_.SaveMode, LocalNow());
        out_.Flush();
        CloseOutputFile(file_);
    }

    static ListingEnd* Of(const RunState& state)
    {
        for (ListingEnd* end = current; end; end = end->outer_)
            if (&end->state_ == &state) return end;
        return nullptr;
    }

private:
    static inline ListingEnd* current = nullptr;

    const RunState& state_;
    LineWriter& out_;
    OutputFile& file_;
    const ListingOptions& options_;
    ListingEnd* outer_;
    bool finished_ = false;
};

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
        ListingEnd end(state, out, file, options);
        WalkFolder(context, GetEntryInfo(job.RootFolder()));
        end.Finish();
        result.ElapsedMs = TicksSince(start);
    }
    state.Running = false;
    result.FolderCount = state.FolderCount;
    result.FileCount = state.FileCount;
    result.AllWritten = !file.Failed();
    result.WriteError = file.LastError();
    return result;
}

void FinishListingNow(RunState& state)
{
    ListingEnd* end = ListingEnd::Of(state);
    if (!end) return;
    state.StopRequested = true;
    end->Finish();
}
