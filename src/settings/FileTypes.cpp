#include "settings/FileTypes.h"

#include <algorithm>

#include "settings/IniFile.h"
#include "settings/IniValues.h"
#include "settings/SafeWrite.h"

namespace {

constexpr wchar_t kSection[] = L"FileType";

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

FileTypeGroupList RestoreFileTypeDefaults(std::wstring_view programFolder)
{
    WriteResourceToFile(kDefaultResource, FileTypeListPath(programFolder));
    return LoadGroupList(programFolder);
}
