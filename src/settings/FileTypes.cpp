#include "settings/FileTypes.h"

#include <algorithm>
#include <climits>
#include <optional>

#include "settings/IniFile.h"
#include "settings/SafeWrite.h"
#include "settings/ValueText.h"

namespace {

constexpr wchar_t kSection[] = L"FileType";
constexpr wchar_t kMessageTitle[] = L"Quorvane Ver 1.06";

void EnsureFileExists(const std::wstring& path)
{
    if (!FileExists(path)) WriteResourceToFile(L"FILEFILTERS", path);
}

// The group number of a "Title<n>" or "Type<n>" key (any letter case, plain decimal n
// without leading zeros), if the key is one.
std::optional<int> GroupNumberOfKey(std::wstring_view key)
{
    auto startsWith = [&](std::wstring_view word) {
        if (key.size() <= word.size()) return false;
        return CompareStringOrdinal(key.data(), static_cast<int>(word.size()), word.data(),
                                    static_cast<int>(word.size()), TRUE) == CSTR_EQUAL;
    };
    std::wstring_view digits;
    if (startsWith(L"Title")) digits = key.substr(5);
    else if (startsWith(L"Type")) digits = key.substr(4);
    else return std::nullopt;
    if (digits.front() == L'0' || digits.size() > 10) return std::nullopt;
    long long number = 0;
    for (wchar_t c : digits) {
        if (c < L'0' || c > L'9') return std::nullopt;
        number = number * 10 + (c - L'0');
    }
    if (number > INT_MAX) return std::nullopt;
    return static_cast<int>(number);
}

// Which groups 1..limit have a Title or Type key; element 0 is unused.
std::vector<bool> PresentGroups(const std::wstring& path, int limit)
{
    std::vector<bool> present(static_cast<std::size_t>(limit) + 1, false);
    for (const auto& key : ReadIniKeyNames(kSection, path)) {
        auto number = GroupNumberOfKey(key);
        if (number && *number <= limit) present[static_cast<std::size_t>(*number)] = true;
    }
    return present;
}

// "TypeList" counts the groups, but a count beyond the last group in the file adds
// nothing: gaps inside the numbering still give empty groups.
std::vector<FileTypeRow> ReadGroups(const std::wstring& path)
{
    auto declared = RoundToInt32(LeadingNumber(ReadIniValue(kSection, L"TypeList", path)));
    if (!declared || *declared <= 0) return {};
    std::vector<bool> present = PresentGroups(path, std::min(*declared, kMaxFileTypeGroups));
    auto last = std::find(present.rbegin(), present.rend() - 1, true);
    auto count = static_cast<std::size_t>(present.rend() - 1 - last);
    std::vector<FileTypeRow> groups(count);
    for (std::size_t n = 1; n <= count; ++n) {
        if (!present[n]) continue;
        groups[n - 1].Title = ReadIniValue(kSection, L"Title" + std::to_wstring(n), path);
        groups[n - 1].Patterns = ReadIniValue(kSection, L"Type" + std::to_wstring(n), path);
    }
    return groups;
}

std::wstring SystemErrorText(unsigned long error)
{
    if (error == 0) return {};
    wchar_t buffer[1024];
    DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0,
                                  buffer, static_cast<DWORD>(std::size(buffer)), nullptr);
    std::wstring text(buffer, length);
    // The system's texts end with a line break.
    while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' ')) text.pop_back();
    return text.empty() ? std::to_wstring(error) : text;
}

}  // namespace

std::wstring FileTypeListPath(std::wstring_view programFolder) { return FileInFolder(programFolder, L"FileType.txt"); }

FileTypeTable LoadFileTypeTable(std::wstring_view programFolder)
{
    std::wstring path = FileTypeListPath(programFolder);
    EnsureFileExists(path);
    FileTypeTable table{{L"*.*", L"所有檔案 (*.*)"}};
    for (auto& group : ReadGroups(path)) table.push_back({std::move(group.Patterns), std::move(group.Title)});
    return table;
}

FileTypeGroupList LoadGroupList(std::wstring_view programFolder)
{
    std::wstring path = FileTypeListPath(programFolder);
    EnsureFileExists(path);
    FileTypeGroupList list;
    list.Rows = ReadGroups(path);
    list.SelectedRow = list.Rows.empty() ? -1 : 0;
    return list;
}

unsigned long WriteFileTypeList(const std::vector<FileTypeRow>& rows, std::wstring_view programFolder)
{
    std::vector<std::wstring> lines{L"[FileType]"};
    for (std::size_t r = 0; r < rows.size(); ++r) {
        // A row missing either text is left out but still counts in TypeList.
        if (rows[r].Title.empty() || rows[r].Patterns.empty()) continue;
        std::wstring number = std::to_wstring(r + 1);
        lines.push_back(L"Title" + number + L"=" + rows[r].Title);
        lines.push_back(L"Type" + number + L"=" + rows[r].Patterns);
    }
    lines.push_back(L"TypeList=" + std::to_wstring(rows.size()));
    return ReplaceWithLines(FileTypeListPath(programFolder), lines);
}

std::wstring FileTypeSaveErrorText(unsigned long error)
{
    return L"副檔名清單無法儲存\r\n錯誤代碼：" + SystemErrorText(error);
}

bool SaveFileTypeList(HWND owner, const std::vector<FileTypeRow>& rows, std::wstring_view programFolder)
{
    unsigned long error = WriteFileTypeList(rows, programFolder);
    if (error == 0) return true;
    MessageBoxW(owner, FileTypeSaveErrorText(error).c_str(), kMessageTitle, MB_OK | MB_ICONERROR);
    return false;
}

FileTypeGroupList RestoreFileTypeDefaults(std::wstring_view programFolder)
{
    WriteResourceToFile(L"FILEFILTERS", FileTypeListPath(programFolder));
    return LoadGroupList(programFolder);
}
