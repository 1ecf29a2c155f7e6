// The real program's /list over the folder of 1,000,000 files that bench/make-trees
// builds, TXT sorted by name: seconds (best of 3) and the process's peak working set and
// private memory (the highest of the 3).
// The program is the one of this build, or the one named by the argument.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "BenchTree.h"

namespace {

constexpr int kRounds = 3;

std::wstring ProgramOfThisBuild()
{
    // build/<preset>/bench/ui/command_bench.exe beside build/<preset>/src/Quorvane.exe
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring path = self;
    for (int level = 0; level < 3; ++level) path.resize(path.find_last_of(L'\\'));
    return path + L"\\src\\Quorvane.exe";
}

struct Measured {
    double Seconds = 1e9;
    double PeakMegabytes = 0;
    double PrivateMegabytes = 0;  // the most seen; the process's own, without the mapped files
    DWORD ExitCode = 0;
};

double PrivateMegabytes(HANDLE process)
{
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof(counters);
    GetProcessMemoryInfo(process, &counters, sizeof(counters));
    return static_cast<double>(counters.PagefileUsage) / (1024.0 * 1024.0);
}

// Wine reads another process's memory figures only while it runs: they are read until
// it ends.
Measured RunOnce(const std::wstring& program, const std::wstring& arguments)
{
    std::wstring command = L"\"" + program + L"\" " + arguments;
    SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
    HANDLE nowhere = CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_WRITE, &inherit, OPEN_EXISTING, 0, nullptr);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = startup.hStdError = nowhere;
    PROCESS_INFORMATION process{};
    Measured run;
    run.ExitCode = 1;
    long long start = CounterNow();
    BOOL created =
        CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process);
    CloseHandle(nowhere);
    if (!created) return run;
    while (WaitForSingleObject(process.hProcess, 20) == WAIT_TIMEOUT) {
        run.PeakMegabytes = std::max(run.PeakMegabytes, PeakMegabytes(process.hProcess));
        run.PrivateMegabytes = std::max(run.PrivateMegabytes, PrivateMegabytes(process.hProcess));
    }
    run.Seconds = SecondsSince(start);
    GetExitCodeProcess(process.hProcess, &run.ExitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return run;
}

void DeleteListings(const std::wstring& folder)
{
    WIN32_FIND_DATAW record;
    HANDLE find = FindFirstFileW((folder + L"\\*Quorvane*").c_str(), &record);
    if (find == INVALID_HANDLE_VALUE) return;
    do DeleteFileW((folder + L"\\" + record.cFileName).c_str());
    while (FindNextFileW(find, &record));
    FindClose(find);
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    std::wstring program = argc > 1 ? argv[1] : ProgramOfThisBuild();
    std::wstring folder = TempFolder() + L"quorvane-bench-flat1000000";
    if (GetFileAttributesW((folder + L".complete").c_str()) == INVALID_FILE_ATTRIBUTES) {
        std::printf("/list of 1,000,000 files skipped: bench/make-trees has not built the folder\n");
        return 0;
    }
    std::wstring output = TempFolder() + L"quorvane-bench-command";
    CreateDirectoryW(output.c_str(), nullptr);
    // Settings of their own, so that those beside the program change nothing.
    std::wstring settings = output + L"\\Setting.ini";
    HANDLE file = CreateFileW(settings.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    CloseHandle(file);
    std::wstring arguments = L"/list \"" + folder + L"\" /settings \"" + settings + L"\" /out \"" + output +
                             L"\" /format txt /mode both /sort name";
    Measured best;
    for (int round = 0; round < kRounds; ++round) {
        DeleteListings(output);
        Measured run = RunOnce(program, arguments);
        best.Seconds = std::min(best.Seconds, run.Seconds);
        best.PeakMegabytes = std::max(best.PeakMegabytes, run.PeakMegabytes);
        best.PrivateMegabytes = std::max(best.PrivateMegabytes, run.PrivateMegabytes);
        best.ExitCode = std::max(best.ExitCode, run.ExitCode);
    }
    DeleteListings(output);
    std::printf("/list of 1,000,000 files in one folder, TXT sorted by name: %.3f s (best of %d); the highest of them: "
                "peak working set %.1f MB (target 250 MB), private memory %.1f MB%s\n",
                best.Seconds, kRounds, best.PeakMegabytes, best.PrivateMegabytes,
                best.ExitCode == 0 ? "" : " (a run did not complete)");
    return best.ExitCode == 0 ? 0 : 1;
}
