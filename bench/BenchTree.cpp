#include "BenchTree.h"

#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <string>

#include "fs/Enumeration.h"

namespace {

// The size is set without writing, so the million-file trees take no disk blocks
// where the file system allows holes.
bool MakeFile(const std::wstring& path, int size)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    LARGE_INTEGER end;
    end.QuadPart = size;
    bool ok = SetFilePointerEx(file, end, nullptr, FILE_BEGIN) && SetEndOfFile(file);
    CloseHandle(file);
    return ok;
}

std::wstring TreeRoot(const std::wstring& name) { return TempFolder() + L"quorvane-bench-" + name; }

bool Complete(const std::wstring& root)
{
    return GetFileAttributesW((root + L"\\complete.marker").c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace

BenchTree EnsureBenchTree(int folders, int filesPerFolder)
{
    BenchTree tree;
    tree.Root = TreeRoot(std::to_wstring(folders) + L"x" + std::to_wstring(filesPerFolder));
    tree.Folders = folders;
    tree.Files = folders * filesPerFolder;
    if (Complete(tree.Root)) return tree;

    std::fprintf(stderr, "building the tree (%d folders, %d files)...\n", folders, tree.Files);
    CreateDirectoryW(tree.Root.c_str(), nullptr);
    // Ten top folders, the rest spread below them, so the walk has some depth.
    for (int f = 0; f < folders; ++f) {
        std::wstring folder = tree.Root + L"\\group" + std::to_wstring(f % 10);
        CreateDirectoryW(folder.c_str(), nullptr);
        folder += L"\\folder " + std::to_wstring(f);
        CreateDirectoryW(folder.c_str(), nullptr);
        for (int i = 0; i < filesPerFolder; ++i)
            MakeFile(folder + L"\\file " + std::to_wstring(i) + (i % 3 ? L".txt" : L".dat"), (i * 37) % 4096);
    }
    MakeFile(tree.Root + L"\\complete.marker", 0);
    return tree;
}

BenchTree EnsureFlatFolder(int files)
{
    BenchTree tree;
    tree.Root = TreeRoot(L"flat" + std::to_wstring(files));
    tree.Files = files;
    // The marker lives beside the folder, so that the folder holds the files alone.
    std::wstring marker = tree.Root + L".complete";
    if (GetFileAttributesW(marker.c_str()) != INVALID_FILE_ATTRIBUTES) return tree;
    std::fprintf(stderr, "building one folder of %d files...\n", files);
    CreateDirectoryW(tree.Root.c_str(), nullptr);
    for (int i = 0; i < files; ++i)
        MakeFile(tree.Root + L"\\file " + std::to_wstring(i) + (i % 3 ? L".txt" : L".dat"), (i * 37) % 4096);
    MakeFile(marker, 0);
    return tree;
}

long long CounterNow()
{
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

double SecondsBetween(long long from, long long to)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(to - from) / static_cast<double>(frequency.QuadPart);
}

double SecondsSince(long long start) { return SecondsBetween(start, CounterNow()); }

std::wstring TempFolder()
{
    wchar_t temp[MAX_PATH + 1];
    GetTempPathW(MAX_PATH + 1, temp);
    return temp;
}

double PeakMegabytes(HANDLE process)
{
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof(counters);
    GetProcessMemoryInfo(process, &counters, sizeof(counters));
    return static_cast<double>(counters.PeakWorkingSetSize) / (1024.0 * 1024.0);
}

long long BareWalk(const std::wstring& folder)
{
    long long count = 0;
    WIN32_FIND_DATAW record;
    HANDLE find = FindFirstFileW((folder + L"\\*.*").c_str(), &record);
    if (find == INVALID_HANDLE_VALUE) return 0;
    do {
        ++count;
        bool dots = record.cFileName[0] == L'.' &&
                    (record.cFileName[1] == 0 || (record.cFileName[1] == L'.' && record.cFileName[2] == 0));
        if ((record.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !dots)
            count += BareWalk(folder + L"\\" + record.cFileName);
    } while (FindNextFileW(find, &record));
    FindClose(find);
    return count;
}

long long EntryWalk(const std::wstring& folder)
{
    long long count = 0;
    EntryFind find;
    HANDLE handle = FindFirstEntry(find, folder + L"\\*.*", L"");
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE) return 0;
    while (find.Found) {
        ++count;
        const EntryInfo& entry = find.Entry;
        if (entry.IsFolder && entry.Name != L"." && entry.Name != L"..") count += EntryWalk(entry.FullPath);
        if (!FindNextEntry(find)) break;
    }
    CloseEntryFind(find);
    return count;
}

int RunChild(const std::wstring& arguments)
{
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring command = L"\"" + std::wstring(self) + L"\" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    std::fflush(stdout);
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process))
        return 1;
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 1;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<int>(code);
}
