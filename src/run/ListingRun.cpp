#include "run/ListingRun.h"

#include <windows.h>

#include <new>

#include "formats/ListingFormat.h"
#include "formats/NumberText.h"
#include "fs/EntryMetadata.h"
#include "fs/OutputFile.h"
#include "run/Ticks.h"

namespace {

constexpr int kMostNames = 9999;

// The path with " (number)" before the extension of its file name, or at its end.
std::wstring NumberedName(std::wstring_view path, int number)
{
    std::size_t nameStart = path.find_last_of(L"\\/");
    nameStart = nameStart == std::wstring_view::npos ? 0 : nameStart + 1;
    std::size_t dot = path.rfind(L'.');
    if (dot == std::wstring_view::npos || dot < nameStart) dot = path.size();
    return std::wstring(path.substr(0, dot)) + L" (" + std::to_wstring(number) + L")" + std::wstring(path.substr(dot));
}

// A folder of that name gives ERROR_ACCESS_DENIED, as does an output folder we may
// not write to; only the first means the name is taken.
bool NameTaken(const std::wstring& path, unsigned long error)
{
    if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) return true;
    if (error != ERROR_ACCESS_DENIED) return false;
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// Taking a name and checking it is one step, so two runs of the same second cannot
// both take one name. Empty when no name could be created (file.LastError() tells).
std::wstring OpenFreeName(OutputFile& file, std::wstring_view wanted)
{
    for (int number = 1; number <= kMostNames; ++number) {
        std::wstring path = number == 1 ? std::wstring(wanted) : NumberedName(wanted, number);
        if (OpenOutputFile(file, path, OpenMode::CreateNew)) return path;
        if (!NameTaken(path, file.LastError())) break;
    }
    return {};
}

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
    if (writesFile) {
        result.OutputPath = OpenFreeName(file, outputPath);
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

    // The tree outlives the readers: one still inside a call may hold a part of it.
    FolderNode root(job.RootFolder());
    FolderReaders readers({job, state, options}, control, reading, ReaderCount(reading, job.RootFolder()));
    {
        LineWriter out(writesFile ? &file : nullptr);
        WriteOpeningLines(out, options, LocalNow());
        std::uint64_t start = TickStamp();
        RunProgress progress(host, progressIntervalMs);
        WalkContext context{state, control, job, options, out, progress, readers};
        try {
            readers.Start(root);
            WalkFolder(context, root);
        } catch (const std::bad_alloc&) {
            // What the walk held is freed by now, so the closing lines can still be written.
            state.OutOfMemory = true;
            state.WalkDepth = 0;
        }
        if (readers.OutOfMemory()) state.OutOfMemory = true;
        WriteClosingLines(out, options, LocalNow());
        out.Flush();
        CloseOutputFile(file);
        result.ElapsedMs = TicksSince(start);
    }
    result.FolderCount = state.FolderCount;
    result.FileCount = state.FileCount;
    result.Stopped = control.StopRequested() || state.OutOfMemory;
    result.AllWritten = !file.Failed();
    result.WriteError = file.LastError();
    result.OutOfMemory = state.OutOfMemory;
    session.Finished();
    host.ListingFinished(result);
    return result;
}
