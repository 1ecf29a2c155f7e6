#pragma once
// The benchmark tree: a fixed number of files spread over a fixed number of folders,
// built once under the temp folder and reused by later runs.
#include <windows.h>

#include <string>

struct BenchTree {
    std::wstring Root;
    int Folders = 0;
    int Files = 0;  // a tree of folders also holds its completion marker beside them
};

BenchTree EnsureBenchTree(int folders, int filesPerFolder);
// One folder holding `files` files and nothing else.
BenchTree EnsureFlatFolder(int files);
// The floor: a bare FindFirstFileW/FindNextFileW walk; entries seen, "." and ".." included.
long long BareWalk(const std::wstring& folder);
// The same walk through the enumeration with full metadata.
long long EntryWalk(const std::wstring& folder);
double SecondsSince(long long startCounter);
long long CounterNow();
double SecondsBetween(long long fromCounter, long long toCounter);
// The temp folder, with its trailing "\".
std::wstring TempFolder();
// The process's peak working set so far; it must still run.
double PeakMegabytes(HANDLE process = GetCurrentProcess());
// Runs this program again with the given arguments and waits for its exit code, so that
// a figure's peak memory is its own.
int RunChild(const std::wstring& arguments);
