// Seconds and peak memory of a whole listing of the 100,000-file tree in each format,
// beside the floor (a bare FindFirstFileW/FindNextFileW walk plus writing a file of
// the listing's size) and beside "cmd /c dir /s" over the same tree.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "BenchTree.h"
#include "formats/EntryRow.h"
#include "formats/ValueText.h"
#include "fs/EntryMetadata.h"
#include "fs/Enumeration.h"
#include "run/EntryFilters.h"
#include "run/ListingRun.h"
#include "run/SaveOptions.h"

namespace {

constexpr int kRounds = 3;

class QuietHost : public RunHost {
public:
    void PumpMessages() override
    {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    }
    void ShowStatus(std::wstring_view) override {}
};

void WriteBytes(const std::wstring& path, unsigned long long size)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    std::vector<char> chunk(128 * 1024, 'x');
    DWORD written = 0;
    while (size > 0) {
        DWORD part = static_cast<DWORD>(std::min<unsigned long long>(size, chunk.size()));
        if (!WriteFile(file, chunk.data(), part, &written, nullptr)) break;
        size -= part;
    }
    CloseHandle(file);
}

unsigned long long FileSize(const std::wstring& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return 0;
    return (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

double PeakMegabytes()
{
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof(counters);
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters));
    return static_cast<double>(std::max(counters.PeakWorkingSetSize, counters.PeakPagefileUsage)) / (1024.0 * 1024.0);
}

double TimeDirS(const std::wstring& root, const std::wstring& outputPath)
{
    SECURITY_ATTRIBUTES inherit{};
    inherit.nLength = sizeof(inherit);
    inherit.bInheritHandle = TRUE;
    HANDLE output = CreateFileW(outputPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (output == INVALID_HANDLE_VALUE) return -1;
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = output;
    startup.hStdError = output;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION process{};
    std::wstring command = L"cmd.exe /c dir /s \"" + root + L"\"";
    long long start = CounterNow();
    BOOL created = CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr,
                                  &startup, &process);
    double seconds = -1;
    if (created) {
        WaitForSingleObject(process.hProcess, INFINITE);
        seconds = SecondsSince(start);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    CloseHandle(output);
    return seconds;
}

struct Measured {
    double Seconds = 1e9;
    unsigned long long Bytes = 0;
    std::int32_t Files = 0;
    bool Written = false;
};

Measured TimeListing(const JobInfo& job, int format, const std::wstring& path, int rounds = kRounds)
{
    ListingOptions options;
    options.Format = format;
    options.SaveMode = SaveModes::Both;
    Measured best;
    for (int round = 0; round < rounds; ++round) {
        RunState state;
        SYSTEMTIME now{};
        GetLocalTime(&now);
        PrepareRun(state, job, {}, {}, now);
        QuietHost host;
        long long start = CounterNow();
        RunResult result = RunListing(state, job, options, path, host);
        best.Seconds = std::min(best.Seconds, SecondsSince(start));
        best.Files = result.FileCount;
        best.Written = result.AllWritten;
    }
    best.Bytes = FileSize(path);
    return best;
}

double TimeFloor(const std::wstring& root, const std::wstring& path, unsigned long long bytes)
{
    double best = 1e9;
    for (int round = 0; round < kRounds; ++round) {
        long long start = CounterNow();
        BareWalk(root);
        WriteBytes(path, bytes);
        best = std::min(best, SecondsSince(start));
    }
    return best;
}

}  // namespace

int wmain()
{
    BenchTree tree = EnsureBenchTree(1000, 100);
    wchar_t temp[MAX_PATH + 1];
    GetTempPathW(MAX_PATH + 1, temp);
    const std::wstring outputFolder = std::wstring(temp);
    const std::wstring listingPath = outputFolder + L"quorvane-bench-listing.out";
    const std::wstring floorPath = outputFolder + L"quorvane-bench-floor.out";

    JobInfo job;
    job.SetRootFolder(tree.Root);
    job.SetFolderFilter(L"*");
    job.SetSortKey(FieldCodes::Name);

    std::printf("tree: %d files in %d folders; sorted by name, subfolders on, files and folders; best of %d\n",
                tree.Files, tree.Folders, kRounds);
    std::printf("peak memory before the listings: %.1f MB\n", PeakMegabytes());
    if (GetEnvironmentVariableW(L"QUORVANE_BENCH_PARTS", nullptr, 0) > 0) {
        std::printf("walk only (no output), sorted: %.3f s\n", TimeListing(job, ListingFormats::None, listingPath).Seconds);
        JobInfo unsorted = job;
        unsorted.SetSortKey(0);
        std::printf("walk only (no output), unsorted: %.3f s\n",
                    TimeListing(unsorted, ListingFormats::None, listingPath).Seconds);
        std::printf("bare walk: %.3f s\n", TimeFloor(tree.Root, floorPath, 0));
        double enumeration = 1e9;
        for (int round = 0; round < kRounds; ++round) {
            long long walkStart = CounterNow();
            EntryWalk(tree.Root);
            enumeration = std::min(enumeration, SecondsSince(walkStart));
        }
        std::printf("enumeration with metadata: %.3f s\n", enumeration);
        EntryInfo sample = GetEntryInfo(tree.Root + L"\\group1\\folder 1\\file 5.txt");
        long long start = CounterNow();
        std::size_t total = 0;
        for (int i = 0; i < 100000; ++i) total += TxtRow(sample, sample.Name).size();
        std::printf("100000 TXT rows: %.3f s\n", SecondsSince(start));
        start = CounterNow();
        for (int i = 0; i < 100000; ++i) total += SizeText(sample.Size).size();
        std::printf("100000 SizeText: %.3f s\n", SecondsSince(start));
        start = CounterNow();
        for (int i = 0; i < 100000; ++i) total += ListingDateText(sample.Modified).size();
        std::printf("100000 ListingDateText: %.3f s\n", SecondsSince(start));
        start = CounterNow();
        for (int i = 0; i < 100000; ++i) total += AttributeText(sample).size();
        std::printf("100000 AttributeText: %.3f s\n", SecondsSince(start));
        start = CounterNow();
        for (int i = 0; i < 100000; ++i) total += MakeListedEntry(sample, 1).SortText.size();
        std::printf("100000 listed entries: %.3f s\n", SecondsSince(start));
        start = CounterNow();
        for (int i = 0; i < 100000; ++i) total += static_cast<std::size_t>(GetTickCount64() & 1);
        std::printf("100000 GetTickCount64: %.3f s\n", SecondsSince(start));
        start = CounterNow();
        for (int i = 0; i < 1000; ++i) total += GetEntryInfo(tree.Root + L"\\group1").Name.size();
        std::printf("1000 GetEntryInfo: %.3f s\n", SecondsSince(start));
        JobInfo anyJob;
        RunState anyState;
        anyState.AnyTime = true;
        start = CounterNow();
        for (int i = 0; i < 100000; ++i) total += FilePasses(sample, anyJob, anyState) ? 1 : 0;
        std::printf("100000 FilePasses: %.3f s\n", SecondsSince(start));
        std::vector<ListedEntry> list;
        for (int i = 0; i < 100000; ++i) {
            ListedEntry e;
            e.SortText = L"FILE " + std::to_wstring((i * 7919) % 100000) + L".TXT";
            list.push_back(std::move(e));
        }
        start = CounterNow();
        SortEntries(list, 0, 1);
        std::printf("sort of 100000 names: %.3f s (%zu)\n", SecondsSince(start), total);
        return 0;
    }
    double dirSeconds = TimeDirS(tree.Root, outputFolder + L"quorvane-bench-dir.out");
    std::printf("cmd /c dir /s:  %7.3f s  (%llu bytes of output)\n", dirSeconds,
                FileSize(outputFolder + L"quorvane-bench-dir.out"));

    struct Format {
        const char* Name;
        int Index;
    };
    bool ok = true;
    for (Format format : {Format{"TXT ", ListingFormats::Txt}, Format{"CSV ", ListingFormats::Csv},
                          Format{"HTML", ListingFormats::Html}, Format{"tree", ListingFormats::Tree}}) {
        Measured listing = TimeListing(job, format.Index, listingPath);
        double floor = TimeFloor(tree.Root, floorPath, listing.Bytes);
        std::printf("%s  listing %7.3f s  floor %7.3f s  ratio %.2fx (target 1.5x)  vs dir /s %.2fx  "
                    "%10llu bytes  peak %.1f MB\n",
                    format.Name, listing.Seconds, floor, listing.Seconds / floor, listing.Seconds / dirSeconds,
                    listing.Bytes, PeakMegabytes());
        ok = ok && listing.Files == tree.Files && listing.Written;
    }
    DeleteFileW(listingPath.c_str());
    DeleteFileW(floorPath.c_str());
    DeleteFileW((outputFolder + L"quorvane-bench-dir.out").c_str());
    return ok ? 0 : 1;
}
