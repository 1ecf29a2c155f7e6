// Whole listings against the floor: a bare FindFirstFileW/FindNextFileW walk of the same
// tree plus writing a file of the listing's size. Figures, one line each:
// - every format on the 100,000-file tree (1,000 folders), sorted by name and unsorted;
// - one folder of 1,000,000 files, TXT sorted by name: seconds and peak memory (measured
//   in a child process of its own, so earlier rounds do not count);
// - a 1,000,000-file tree of 1,000 folders: time per entry against the 100,000-file tree;
// - how long a run takes to write its closing lines after Stop is asked at a random moment.
// Folders are read by the readers a local disk gets (one per processor, at least two).
// The trees are built once under the temp folder and kept. QUORVANE_BENCH_QUICK=1 skips
// the million-entry figures, QUORVANE_BENCH_DIR=1 adds "cmd /c dir /s" (minutes), and
// QUORVANE_BENCH_PARTS=1 prints only where a listing's time goes.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "BenchListing.h"
#include "BenchTree.h"
#include "run/ListingRun.h"

namespace {

constexpr int kRounds = 5;
// Of the floor's time: the floor reads and then writes, a listing writes while it reads.
constexpr double kTarget = 0.9;

// Takes the run's news as the window does, from the run's own thread: when the closing
// lines were written.
class BenchHost : public RunHost {
public:
    void ShowStatus(std::wstring_view) override {}
    void ListingFinished(const RunResult&) override { FinishedAt = CounterNow(); }

    std::atomic<long long> FinishedAt{0};
    RunControl Control;
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

bool EnvironmentSet(const wchar_t* name) { return GetEnvironmentVariableW(name, nullptr, 0) > 0; }

std::wstring BenchOutputPath() { return TempFolder() + L"quorvane-bench-listing.out"; }

// Deletes what a run wrote, whatever name it took.
void RemoveOutputs()
{
    std::wstring pattern = TempFolder() + L"quorvane-bench-listing*";
    WIN32_FIND_DATAW record;
    HANDLE find = FindFirstFileW(pattern.c_str(), &record);
    if (find == INVALID_HANDLE_VALUE) return;
    do DeleteFileW((TempFolder() + record.cFileName).c_str());
    while (FindNextFileW(find, &record));
    FindClose(find);
}

// Seconds of processor time this process has used: unlike the clock, hardly moved by
// what else the machine does.
double ProcessorSeconds()
{
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    auto ticks = [](const FILETIME& time) {
        return (static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    };
    return static_cast<double>(ticks(kernel) + ticks(user)) / 1e7;
}

struct Measured {
    double Seconds = 1e9;
    double Processor = 1e9;
    unsigned long long Bytes = 0;
    std::int32_t Files = 0;
    bool Written = false;
};

Measured TimeListing(const JobInfo& job, int format, int rounds = kRounds)
{
    ListingOptions options;
    options.Format = format;
    options.SaveMode = SaveModes::Both;
    Measured best;
    for (int round = 0; round < rounds; ++round) {
        RemoveOutputs();
        RunState state = PreparedState(job);
        BenchHost host;
        long long start = CounterNow();
        double processor = ProcessorSeconds();
        RunResult result = RunListing(state, host.Control, job, options, BenchOutputPath(), host);
        best.Seconds = std::min(best.Seconds, SecondsSince(start));
        best.Processor = std::min(best.Processor, ProcessorSeconds() - processor);
        best.Files = result.FileCount;
        best.Written = result.AllWritten;
    }
    best.Bytes = FileSize(BenchOutputPath());
    RemoveOutputs();
    return best;
}

Measured TimeFloor(const std::wstring& root, unsigned long long bytes, int rounds = kRounds)
{
    std::wstring path = TempFolder() + L"quorvane-bench-floor.out";
    Measured best;
    for (int round = 0; round < rounds; ++round) {
        long long start = CounterNow();
        double processor = ProcessorSeconds();
        BareWalk(root);
        WriteBytes(path, bytes);
        best.Seconds = std::min(best.Seconds, SecondsSince(start));
        best.Processor = std::min(best.Processor, ProcessorSeconds() - processor);
    }
    DeleteFileW(path.c_str());
    return best;
}

double TimeDirS(const std::wstring& root)
{
    std::wstring outputPath = TempFolder() + L"quorvane-bench-dir.out";
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
    DeleteFileW(outputPath.c_str());
    return seconds;
}

struct FormatName {
    const char* Name;
    int Index;
};
const FormatName kFormats[] = {{"TXT ", ListingFormats::Txt},
                               {"CSV ", ListingFormats::Csv},
                               {"HTML", ListingFormats::Html},
                               {"tree", ListingFormats::Tree}};

bool FormatsAgainstFloor(const BenchTree& tree, std::int32_t sortKey)
{
    bool ok = true;
    JobInfo job = JobFor(tree.Root, sortKey);
    for (FormatName format : kFormats) {
        // Listing and floor in turns, so that a slower spell of the machine hits both.
        Measured listing, floor;
        for (int round = 0; round < kRounds; ++round) {
            Measured once = TimeListing(job, format.Index, 1);
            Measured bare = TimeFloor(tree.Root, once.Bytes, 1);
            listing.Processor = std::min(listing.Processor, once.Processor);
            once.Processor = listing.Processor;
            if (once.Seconds < listing.Seconds) listing = once;
            floor.Seconds = std::min(floor.Seconds, bare.Seconds);
            floor.Processor = std::min(floor.Processor, bare.Processor);
        }
        std::printf("%s %s  listing %6.3f s  floor %6.3f s  ratio %.2fx (target %.2fx); processor time %6.3f s "
                    "against %6.3f s: %.2fx\n",
                    format.Name, sortKey ? "sorted  " : "unsorted", listing.Seconds, floor.Seconds,
                    listing.Seconds / floor.Seconds, kTarget, listing.Processor, floor.Processor,
                    listing.Processor / floor.Processor);
        ok = ok && listing.Files == tree.Files + 1 && listing.Written;
    }
    return ok;
}

// The exact inventory against the TXT listing of the same tree, in turns.
bool InventoryAgainstTxt(const BenchTree& tree)
{
    JobInfo job = JobFor(tree.Root, FieldCodes::Name);
    Measured txt, inventory;
    for (int round = 0; round < kRounds; ++round) {
        Measured a = TimeListing(job, ListingFormats::Txt, 1), b = TimeListing(job, ListingFormats::Inventory, 1);
        if (a.Seconds < txt.Seconds) txt = a;
        if (b.Seconds < inventory.Seconds) inventory = b;
    }
    std::printf("inventory sorted  %6.3f s against TXT %6.3f s  ratio %.2fx (target 1.10x)\n", inventory.Seconds,
                txt.Seconds, inventory.Seconds / txt.Seconds);
    return inventory.Written && inventory.Files == tree.Files + 1;
}

// The longest step of a folder's reading without a look at Stop: sorting its entries.
void SortMillionNames()
{
    ListedEntries list(FieldCodes::Name);
    EntryInfo entry;
    for (long long i = 0; i < 1000000; ++i) {
        entry.Name = L"file " + std::to_wstring(i * 7919 % 1000000) + (i % 3 ? L".txt" : L".dat");
        list.Add(entry);
    }
    long long start = CounterNow();
    SortEntries(list, 0, FieldCodes::Name);
    std::printf("sort of 1,000,000 names  %7.3f s (target 1 s)\n", SecondsSince(start));
}

int MillionFolderChild()
{
    SortMillionNames();
    BenchTree folder = EnsureFlatFolder(1000000);
    Measured listing = TimeListing(JobFor(folder.Root, FieldCodes::Name), ListingFormats::Txt, 1);
    double floor = TimeFloor(folder.Root, listing.Bytes, 1).Seconds;
    std::printf("1,000,000 files in one folder, TXT sorted  listing %7.3f s  floor %7.3f s  ratio %.2fx  "
                "peak %.1f MB (target 250 MB)\n",
                listing.Seconds, floor, listing.Seconds / floor, PeakMegabytes());
    return listing.Files == folder.Files && listing.Written ? 0 : 1;
}

// Stop is asked from another thread at a random moment, as the window's thread asks it;
// the latency runs until the closing lines are written, and until RunListing returns (a
// reader still inside a platform call is waited for then).
void StopLatency(const BenchTree& folder, int rounds)
{
    JobInfo job = JobFor(folder.Root, FieldCodes::Name);
    ListingOptions options;
    options.Format = ListingFormats::Txt;
    options.SaveMode = SaveModes::Both;
    double worst = 0, sum = 0, worstReturned = 0;
    int clicks = 0;
    std::srand(GetTickCount());
    double full = TimeListing(job, ListingFormats::Txt, 1).Seconds;
    for (int round = 0; round < rounds; ++round) {
        RemoveOutputs();
        RunState state = PreparedState(job);
        BenchHost host;
        // A random moment between 5% and 95% of a whole run.
        auto delayMs = static_cast<DWORD>(full * 1000 * (0.05 + 0.9 * std::rand() / RAND_MAX));
        std::atomic<long long> clickedAt{0};
        std::thread clicker([&] {
            Sleep(delayMs);
            clickedAt = CounterNow();
            host.Control.RequestStop();
        });
        RunListing(state, host.Control, job, options, BenchOutputPath(), host);
        long long returned = CounterNow();
        clicker.join();
        if (host.FinishedAt < clickedAt) continue;  // the run ended before the click
        double latency = SecondsBetween(clickedAt, host.FinishedAt);
        worst = std::max(worst, latency);
        worstReturned = std::max(worstReturned, SecondsBetween(clickedAt, returned));
        sum += latency;
        ++clicks;
    }
    RemoveOutputs();
    std::printf("Stop on the 1,000,000-file folder  mean %.0f ms  worst %.0f ms until the closing lines were written "
                "(worst %.0f ms until the run returned), %d of %d random moments during the run (target 100 ms)\n",
                clicks ? sum * 1000 / clicks : 0.0, worst * 1000, worstReturned * 1000, clicks, rounds);
}

// Where a listing's time goes beyond the floor: processor seconds, the best of five.
void Breakdown(const BenchTree& tree)
{
    auto best = [](auto measure) {
        double seconds = 1e9;
        for (int round = 0; round < 5; ++round) seconds = std::min(seconds, measure());
        return seconds;
    };
    std::printf("bare walk                   %7.3f s\n", best([&] {
                    double start = ProcessorSeconds();
                    BareWalk(tree.Root);
                    return ProcessorSeconds() - start;
                }));
    std::printf("enumeration with metadata   %7.3f s\n", best([&] {
                    double start = ProcessorSeconds();
                    EntryWalk(tree.Root);
                    return ProcessorSeconds() - start;
                }));
    for (std::int32_t key : {0, FieldCodes::Name}) {
        JobInfo job = JobFor(tree.Root, key);
        std::printf("walk, no output, %s    %7.3f s\n", key ? "sorted  " : "unsorted",
                    best([&] { return TimeListing(job, ListingFormats::None, 1).Processor; }));
        for (FormatName format : kFormats)
            std::printf("walk and rows, %s %s %7.3f s\n", format.Name, key ? "sorted  " : "unsorted",
                        best([&] { return TimeListing(job, format.Index, 1).Processor; }));
    }
}

bool EnoughSpace()
{
    ULARGE_INTEGER available{};
    if (!GetDiskFreeSpaceExW(TempFolder().c_str(), &available, nullptr, nullptr)) return false;
    return available.QuadPart > 4ull * 1024 * 1024 * 1024;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc > 1 && std::wstring(argv[1]) == L"--million-folder") return MillionFolderChild();
    if (argc > 1 && std::wstring(argv[1]) == L"--stop") {
        StopLatency(EnsureFlatFolder(1000000), 10);
        return 0;
    }

    BenchTree tree = EnsureBenchTree(1000, 100);
    std::printf("tree: %d files in %d folders; files and folders listed, subfolders on; %d readers; best of %d\n",
                tree.Files, tree.Folders, DefaultReaderCount(VolumeKindOf(tree.Root)), kRounds);
    if (EnvironmentSet(L"QUORVANE_BENCH_PARTS")) {
        Breakdown(tree);
        return 0;
    }
    if (EnvironmentSet(L"QUORVANE_BENCH_DIR"))
        std::printf("cmd /c dir /s  %7.3f s\n", TimeDirS(tree.Root));
    bool ok = FormatsAgainstFloor(tree, FieldCodes::Name);
    ok = FormatsAgainstFloor(tree, 0) && ok;
    ok = InventoryAgainstTxt(tree) && ok;

    if (EnvironmentSet(L"QUORVANE_BENCH_QUICK")) return ok ? 0 : 1;
    if (!EnoughSpace()) {
        std::printf("million-entry figures skipped: less than 4 GB free in the temp folder\n");
        return ok ? 0 : 1;
    }
    ok = RunChild(L"--million-folder") == 0 && ok;

    BenchTree big = EnsureBenchTree(1000, 1000);
    JobInfo small = JobFor(tree.Root, FieldCodes::Name), large = JobFor(big.Root, FieldCodes::Name);
    double smallSeconds = TimeListing(small, ListingFormats::Txt).Seconds;
    Measured largeListing = TimeListing(large, ListingFormats::Txt, 1);
    double perSmall = smallSeconds / tree.Files * 1e6, perLarge = largeListing.Seconds / big.Files * 1e6;
    std::printf("1,000,000 files in 1,000 folders, TXT sorted  %7.3f s  %.2f us per entry against %.2f us "
                "for 100,000: growth %.2fx (target flat)\n",
                largeListing.Seconds, perLarge, perSmall, perLarge / perSmall);
    ok = ok && largeListing.Files == big.Files + 1;

    StopLatency(EnsureFlatFolder(1000000), 10);
    return ok ? 0 : 1;
}
