#include "settings/FileTypes.h"

#include <algorithm>

#include "settings/IniFile.h"
#include "settings/IniValues.h"
#include "settings/SafeWrite.h"

namespace {

constexpr wchar_t kSection[] = L"FileType";
constexpr wchar_t kMessageTitle[] = L"Quorvane Ver 1.06";

constexpr wchar_t kDefaultResource[] = L"FILEFILTERS";

// "TypeList" counts the groups, but a count beyond the last group in the file adds
// nothing: gaps inside the numbering still give empty groups.
std::vector<FileTypeRow> ReadGroups(const std::wstring& path, MissingFile missing)
{
    IniSection section = ReadIniSectionOrDefault(kSection, path, kDefaultResource, missing);
    auto declared = RoundToInt32(LeadingNumber(section.Value(L"TypeList")));
    if (!declared || *declared <= 0) return {};
    std::vector<FileTypeRow> groups(static_cast<std::size_t>(std::min(*declared, kMaxFileTypeGroups)));
    // One key text for all lookups: with many groups an allocation each would show.
    std::wstring key;
    auto find = [&](const wchar_t* word, std::size_t n) { return section.Find(key.assign(word) += std::to_wstring(n)); };
    std::size_t count = 0;
    for (std::size_t n = 1; n <= groups.size(); ++n) {
        auto title = find(L"Title", n);
        auto patterns = find(L"Type", n);
        if (!title && !patterns) continue;
        if (title) groups[n - 1].Title = *title;
        if (patterns) groups[n - 1].Patterns = *patterns;
        count = n;
    }
    groups.resize(count);
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

FileTypeTable LoadFileTypeTable(std::wstring_view programFolder, MissingFile missing)
{
    FileTypeTable table{{L"*.*", L"所有檔案 (*.*)"}};
    for (auto& group : ReadGroups(FileTypeListPath(programFolder), missing))
        table.push_back({std::move(group.Patterns), std::move(group.Title)});
    return table;
}

FileTypeGroupList LoadGroupList(std::wstring_view programFolder)
{
    FileTypeGroupList list;
    list.Rows = ReadGroups(FileTypeListPath(programFolder), MissingFile::CreateFromDefault);
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
    WriteResourceToFile(kDefaultResource, FileTypeListPath(programFolder));
    return LoadGroupList(programFolder);
}
