// Seconds to load a FileType.txt of many groups (the table and the editor's list) and a
// Setting.ini holding one 10 MiB value. Usage: settings_bench [groups], default 100000.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "BenchTree.h"
#include "settings/FileTypes.h"
#include "settings/Settings.h"

namespace {

void WriteUtf16Lines(const std::wstring& path, const std::vector<std::wstring>& lines)
{
    std::wstring text(1, L'\xFEFF');
    for (const auto& line : lines) text.append(line).append(L"\r\n");
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size() * sizeof(wchar_t)), &written, nullptr);
    CloseHandle(file);
}

std::wstring BenchFolder()
{
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    std::wstring folder = std::wstring(temp) + L"quorvane-settings-bench";
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    int groups = argc > 1 ? std::wcstol(argv[1], nullptr, 10) : 100000;
    std::wstring folder = BenchFolder();

    std::vector<std::wstring> lines{L"[FileType]", L"TypeList=" + std::to_wstring(groups)};
    for (int n = 1; n <= groups; ++n) {
        lines.push_back(L"Title" + std::to_wstring(n) + L"=群組 " + std::to_wstring(n));
        lines.push_back(L"Type" + std::to_wstring(n) + L"=*.a" + std::to_wstring(n) + L";*.b" + std::to_wstring(n));
    }
    WriteUtf16Lines(folder + L"\\FileType.txt", lines);
    long long start = CounterNow();
    FileTypeTable table = LoadFileTypeTable(folder);
    std::printf("LoadFileTypeTable, %d groups: %.3f s (%zu entries)\n", groups, SecondsSince(start), table.size());
    start = CounterNow();
    FileTypeGroupList list = LoadGroupList(folder);
    std::printf("LoadGroupList, %d groups: %.3f s (%zu rows)\n", groups, SecondsSince(start), list.Rows.size());

    WriteUtf16Lines(folder + L"\\FileType.txt", {L"[FileType]", L"TypeList=1", L"Title1=A", L"Type1=*.a"});
    for (const wchar_t* key : {L"Size0", L"SaveFilter"}) {
        WriteUtf16Lines(folder + L"\\Setting.ini",
                        {L"[Setting]", std::wstring(key) + L"=" + std::wstring(10 * 1024 * 1024, L'7'), L"Format=1"});
        start = CounterNow();
        SettingsModel model;
        LoadSettings(model, LoadFileTypeTable(folder), folder);
        std::printf("LoadSettings, 10 MiB %ls: %.3f s\n", key, SecondsSince(start));
    }
    DeleteFileW((folder + L"\\FileType.txt").c_str());
    DeleteFileW((folder + L"\\Setting.ini").c_str());
    RemoveDirectoryW(folder.c_str());
    return 0;
}
