// The comparison of two inventories of 1,000,000 rows each (1,000 folders of 999 files and
// the listed folder; one in a hundred rows changed, removed or added, and the second
// listed under another root): seconds and peak memory of the comparison alone, measured
// in a child process of its own. The inventories are written to the temp folder with the
// inventory writer's own row function and removed afterwards.
#include <windows.h>

#include <cstdio>
#include <string>

#include "BenchTree.h"
#include "formats/InventoryColumns.h"
#include "formats/LineWriter.h"
#include "fs/OutputFile.h"
#include "run/InventoryCompare.h"

namespace {

constexpr int kFolders = 1000;
constexpr int kFilesPerFolder = 999;

void WriteRow(LineWriter& out, EntryInfo& entry, const FolderTotals* totals)
{
    std::wstring& line = out.BeginLine();
    AppendInventoryRow(line, entry, totals, L"");
    out.EndLine();
}

// Every 300th file changes its size, the one 100 later is gone, the one 200 later gets a
// new neighbour: 1% of the rows differ.
bool WriteInventory(const std::wstring& path, const std::wstring& root, bool newer)
{
    OutputFile file;
    if (!OpenOutputFile(file, path, OpenMode::Replace, TextEncoding::Utf8)) return false;
    {
        LineWriter out(&file);
        out.WriteLine(InventoryHeaderLine());
        EntryInfo entry;
        entry.Attributes = FILE_ATTRIBUTE_DIRECTORY;
        entry.FullPath = root;
        entry.Modified.Ticks = ExactSize::FromUInt64(133595390451234567ull);
        entry.Created = entry.Accessed = entry.Modified;
        FolderTotals totals{kFolders, kFolders * kFilesPerFolder, 123456789012, 123456789012};
        WriteRow(out, entry, &totals);
        long long number = 0;
        for (int folder = 0; folder < kFolders; ++folder) {
            std::wstring folderPath = root + L"\\dept " + std::to_wstring(folder % 37) + L"\\project " +
                                      std::to_wstring(folder);
            entry.Attributes = FILE_ATTRIBUTE_DIRECTORY;
            entry.FullPath = folderPath;
            FolderTotals inside{0, kFilesPerFolder, 1000000, 1000000};
            WriteRow(out, entry, &inside);
            for (int i = 0; i < kFilesPerFolder; ++i, ++number) {
                entry.Attributes = FILE_ATTRIBUTE_ARCHIVE;
                entry.FullPath = folderPath + L"\\report " + std::to_wstring(i) + L" draft.docx";
                entry.Size = entry.CompressedSize = ExactSize(1000 + number * 7 % 50000);
                if (newer && number % 300 == 0) entry.Size = entry.Size + 1;
                if (newer && number % 300 == 100) continue;
                WriteRow(out, entry, nullptr);
                if (newer && number % 300 == 200) {
                    entry.FullPath = folderPath + L"\\new " + std::to_wstring(i) + L".xlsx";
                    WriteRow(out, entry, nullptr);
                }
            }
        }
    }
    CloseOutputFile(file);
    return !file.Failed();
}

int CompareChild(const std::wstring& oldPath, const std::wstring& newPath)
{
    RunControl control;
    std::wstring changes = TempFolder() + L"quorvane-bench-changes.csv";
    DeleteFileW(changes.c_str());
    long long start = CounterNow();
    CompareResult result = CompareInventories(oldPath, newPath, changes, control);
    double seconds = SecondsSince(start);
    std::printf("compare of two 1,000,000-row inventories  %6.3f s (target 10 s)  peak %.1f MB (target 400 MB)  "
                "added %llu, removed %llu, changed %llu\n",
                seconds, PeakMegabytes(), static_cast<unsigned long long>(result.Added),
                static_cast<unsigned long long>(result.Removed), static_cast<unsigned long long>(result.Changed));
    DeleteFileW(result.OutputPath.c_str());
    return result.End == CompareEnd::Compared && result.Differs() ? 0 : 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc == 4 && std::wstring(argv[1]) == L"--compare") return CompareChild(argv[2], argv[3]);
    std::wstring oldPath = TempFolder() + L"quorvane-bench-old.csv", newPath = TempFolder() + L"quorvane-bench-new.csv";
    long long start = CounterNow();
    bool written = WriteInventory(oldPath, L"D:\\Shares", false) && WriteInventory(newPath, L"\\\\nas\\shares", true);
    std::printf("two inventories written  %6.3f s\n", SecondsSince(start));
    int code = written ? RunChild(L"--compare \"" + oldPath + L"\" \"" + newPath + L"\"") : 1;
    DeleteFileW(oldPath.c_str());
    DeleteFileW(newPath.c_str());
    return code;
}
