#include "BenchTree.h"

#include <windows.h>

#include <cstdio>
#include <string>

#include "fs/Enumeration.h"

namespace {

bool MakeFile(const std::wstring& path, int size)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    std::string content(static_cast<std::size_t>(size), 'q');
    DWORD written = 0;
    bool ok = WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr) != FALSE;
    CloseHandle(file);
    return ok;
}

}  // namespace

BenchTree EnsureBenchTree(int folders, int filesPerFolder)
{
    wchar_t temp[MAX_PATH + 1];
    GetTempPathW(MAX_PATH + 1, temp);
    BenchTree tree;
    tree.Root = std::wstring(temp) + L"quorvane-bench-" + std::to_wstring(folders) + L"x" +
                std::to_wstring(filesPerFolder);
    tree.Folders = folders;
    tree.Files = folders * filesPerFolder;
    std::wstring marker = tree.Root + L"\\complete.marker";
    if (GetFileAttributesW(marker.c_str()) != INVALID_FILE_ATTRIBUTES) return tree;

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
    MakeFile(marker, 0);
    return tree;
}

long long CounterNow()
{
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

double SecondsSince(long long start)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(CounterNow() - start) / static_cast<double>(frequency.QuadPart);
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
