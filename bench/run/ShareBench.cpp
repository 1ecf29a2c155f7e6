// A share as the latency seam stands for it: QUORVANE_SIMULATED_LATENCY_MS (5 unless set
// already) makes each directory request wait in the thread that makes it, as a network
// round trip would, and outside Wine's own locks (which let one directory read run at a
// time, so a slowed file system would show no overlap). A tree of 10,000 files in 1,000
// folders, and one of 100,000 files in 1,000 folders unless QUORVANE_BENCH_QUICK=1, is
// listed as CSV sorted by name with one reader and with the default readers (those of a
// share): seconds (best of 3, 1 when quick), directory requests per folder, the ratio, and
// whether both listings hold the same bytes.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <mutex>
#include <set>
#include <string>

#include "BenchListing.h"
#include "BenchTree.h"
#include "run/ListingRun.h"

namespace {

class QuietHost : public RunHost {
public:
    void ShowStatus(std::wstring_view) override {}
};

// Directory requests and the folders they were made for, from every reader.
class RequestCount {
public:
    void Add(std::wstring_view folder)
    {
        std::lock_guard lock(mutex_);
        ++requests_;
        folders_.emplace(folder);
    }
    std::size_t Folders() const { return folders_.size(); }
    double PerFolder() const { return folders_.empty() ? 0 : static_cast<double>(requests_) / folders_.size(); }

private:
    std::mutex mutex_;
    long long requests_ = 0;
    std::set<std::wstring, std::less<>> folders_;
};

std::string FileBytes(const std::wstring& path)
{
    std::string bytes;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return bytes;
    char chunk[64 * 1024];
    DWORD read = 0;
    while (ReadFile(file, chunk, sizeof(chunk), &read, nullptr) && read > 0) bytes.append(chunk, read);
    CloseHandle(file);
    return bytes;
}

struct Listed {
    double Seconds = 1e9;
    double RequestsPerFolder = 0;
    std::size_t Folders = 0;
    bool Complete = true;
    std::string Bytes;  // a CSV listing holds no time of its run: every byte must agree
};

// readers 0: as many as the run gives a share.
Listed ListWith(const BenchTree& tree, int readers, int rounds)
{
    const std::wstring output = TempFolder() + L"quorvane-bench-share.csv";
    JobInfo job = JobFor(tree.Root, FieldCodes::Name);
    ListingOptions options;
    options.Format = ListingFormats::Csv;
    options.SaveMode = SaveModes::Both;
    Listed best;
    for (int round = 0; round < rounds; ++round) {
        DeleteFileW(output.c_str());
        RunState state = PreparedState(job);
        RunControl control;
        QuietHost host;
        RequestCount count;
        ReadSettings reading;
        reading.Readers = readers;
        reading.BeforeRequest = [&count](std::wstring_view folder) { count.Add(folder); };
        long long start = CounterNow();
        RunResult result = RunListing(state, control, job, options, output, host, 20, reading);
        best.Seconds = std::min(best.Seconds, SecondsSince(start));
        best.RequestsPerFolder = count.PerFolder();
        best.Folders = count.Folders();
        best.Complete = best.Complete && RunComplete(result) && result.OutputPath == output;
    }
    best.Bytes = FileBytes(output);
    DeleteFileW(output.c_str());
    return best;
}

bool OneReaderAgainstTheDefault(const BenchTree& tree, int rounds)
{
    // Once untimed: the cache is warm for both, and a first read that moves a folder's
    // last-access time has happened before either listing.
    ListWith(tree, 0, 1);
    Listed one = ListWith(tree, 1, rounds);
    Listed many = ListWith(tree, 0, rounds);
    bool same = one.Bytes == many.Bytes && !one.Bytes.empty();
    std::printf("%d files in %d folders (%zu read), CSV sorted by name, best of %d:\n"
                "  1 reader    %7.3f s  %.2f directory requests per folder\n"
                "  %2d readers  %7.3f s  %.2f directory requests per folder\n"
                "  ratio %.1fx (target 8x); the same bytes (%zu): %s%s\n",
                tree.Files, tree.Folders, one.Folders, rounds, one.Seconds, one.RequestsPerFolder,
                DefaultReaderCount(VolumeKind::Network), many.Seconds, many.RequestsPerFolder,
                one.Seconds / many.Seconds, one.Bytes.size(), same ? "yes" : "NO",
                one.Complete && many.Complete ? "" : " (a listing was not complete)");
    return same && one.Complete && many.Complete;
}

}  // namespace

int wmain()
{
    if (GetEnvironmentVariableW(L"QUORVANE_SIMULATED_LATENCY_MS", nullptr, 0) == 0)
        SetEnvironmentVariableW(L"QUORVANE_SIMULATED_LATENCY_MS", L"5");
    bool quick = GetEnvironmentVariableW(L"QUORVANE_BENCH_QUICK", nullptr, 0) > 0;
    std::printf("simulated share: %u ms before each directory request\n", SimulatedLatencyMs());
    bool ok = OneReaderAgainstTheDefault(EnsureBenchTree(1000, 10), quick ? 1 : 3);
    if (!quick) ok = OneReaderAgainstTheDefault(EnsureBenchTree(1000, 100), 3) && ok;
    return ok ? 0 : 1;
}
