#pragma once
// The options of one listing run.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace FieldCodes {
constexpr std::int32_t Name = 1;
constexpr std::int32_t ShortName = 2;
constexpr std::int32_t Extension = 5;
constexpr std::int32_t Size = 6;
constexpr std::int32_t CompressedSize = 7;
constexpr std::int32_t Created = 9;
constexpr std::int32_t Modified = 10;
constexpr std::int32_t Accessed = 11;
}  // namespace FieldCodes

struct FieldInfo {
    std::int32_t code = -1;
};

class JobInfo {
public:
    JobInfo();

    // Field lists: carried with the job; no listing layout reads them.
    std::vector<FieldInfo> FileFields() const { return fileFields_; }
    void SetFileFields(const std::vector<FieldInfo>& fields) { fileFields_ = fields; }
    std::vector<FieldInfo> FolderFields() const { return folderFields_; }
    void SetFolderFields(const std::vector<FieldInfo>& fields) { folderFields_ = fields; }
    // Adding a code the list already holds changes nothing.
    void FileFieldAdd(std::int32_t code) { AddField(fileFields_, code); }
    void FolderFieldAdd(std::int32_t code) { AddField(folderFields_, code); }
    void FileFieldsClear() { fileFields_.clear(); }
    void FolderFieldsClear() { folderFields_.clear(); }

    bool HiliteMacros() const { return hiliteMacros_; }
    void SetHiliteMacros(bool value) { hiliteMacros_ = value; }
    bool HiliteExes() const { return hiliteExes_; }
    void SetHiliteExes(bool value) { hiliteExes_ = value; }
    // 0 ascending, anything else descending.
    std::int32_t SortOrder() const { return sortOrder_; }
    void SetSortOrder(std::int32_t value) { sortOrder_ = value; }
    // A field code; 0 leaves enumeration order.
    std::int32_t SortKey() const { return sortKey_; }
    void SetSortKey(std::int32_t value) { sortKey_ = value; }
    // TAB-separated groups of ";"-separated patterns; an empty text is kept as "*.*".
    const std::wstring& FolderFilter() const { return folderFilter_; }
    void SetFolderFilter(std::wstring_view value) { folderFilter_ = FilterOrAll(value); }
    const std::wstring& FileFilter() const { return fileFilter_; }
    void SetFileFilter(std::wstring_view value) { fileFilter_ = FilterOrAll(value); }
    bool IncludeSubFolders() const { return includeSubFolders_; }
    void SetIncludeSubFolders(bool value) { includeSubFolders_ = value; }
    bool IncludeSystem() const { return includeSystem_; }
    void SetIncludeSystem(bool value) { includeSystem_ = value; }
    bool IncludeHidden() const { return includeHidden_; }
    void SetIncludeHidden(bool value) { includeHidden_ = value; }
    bool IncludeReadOnly() const { return includeReadOnly_; }
    void SetIncludeReadOnly(bool value) { includeReadOnly_ = value; }
    bool ShowFiles() const { return showFiles_; }
    void SetShowFiles(bool value) { showFiles_ = value; }
    bool ShowFolders() const { return showFolders_; }
    void SetShowFolders(bool value) { showFolders_ = value; }
    // ";"-separated patterns; an entry whose name matches one, in any letter case, is
    // neither listed, counted nor walked. Empty leaves nothing out.
    const std::wstring& ExcludedNames() const { return excludedNames_; }
    void SetExcludedNames(std::wstring_view value) { excludedNames_ = value; }
    // Without a trailing "\".
    const std::wstring& RootFolder() const { return rootFolder_; }
    void SetRootFolder(std::wstring_view value) { rootFolder_ = value; }

private:
    static void AddField(std::vector<FieldInfo>& fields, std::int32_t code);
    static std::wstring FilterOrAll(std::wstring_view value) { return value.empty() ? L"*.*" : std::wstring(value); }

    std::vector<FieldInfo> fileFields_;
    std::vector<FieldInfo> folderFields_;
    bool hiliteMacros_ = true;
    bool hiliteExes_ = true;
    std::int32_t sortOrder_ = 0;
    std::int32_t sortKey_ = FieldCodes::Name;
    std::wstring folderFilter_ = L"*.*";
    std::wstring fileFilter_ = L"*.*";
    bool includeSubFolders_ = true;
    bool includeSystem_ = true;
    bool includeHidden_ = true;
    bool includeReadOnly_ = true;
    bool showFiles_ = true;
    bool showFolders_ = true;
    std::wstring excludedNames_;
    std::wstring rootFolder_;
};

// The folder the program was started from, without a trailing "\".
std::wstring ProgramFolder();
