#pragma once
// FileType.txt: the user's named groups of file-name patterns, the table the main window
// offers them from, and the file-type editor's operations on its list of groups.
#include <string>
#include <string_view>
#include <vector>

#include "settings/IniFile.h"

struct FileTypeEntry {
    std::wstring Type;   // the pattern list, e.g. "*.txt;*.rtf"
    std::wstring Title;  // the display name
    friend bool operator==(const FileTypeEntry&, const FileTypeEntry&) = default;
};

// Entry 0 is always the all-files entry; entry n is the file's group n.
using FileTypeTable = std::vector<FileTypeEntry>;

// One row of the editor's group list: column 0 and the hidden column 1.
struct FileTypeRow {
    std::wstring Title;
    std::wstring Patterns;
    friend bool operator==(const FileTypeRow&, const FileTypeRow&) = default;
};

struct FileTypeGroupList {
    std::vector<FileTypeRow> Rows;  // row n - 1 is the file's group n
    int SelectedRow = -1;           // 0 when there are rows, else -1
};

// Beyond this group number a file is taken as damaged: the lists showing the groups
// could not be used anyway, and the table must not grow without bound.
constexpr int kMaxFileTypeGroups = 100000;

std::wstring FileTypeListPath(std::wstring_view programFolder);

// Each of the three loads first creates FileType.txt from the built-in default when it
// is missing, silently; the table can instead be read from the default, leaving the
// folder untouched.
FileTypeTable LoadFileTypeTable(std::wstring_view programFolder,
                                MissingFile missing = MissingFile::CreateFromDefault);
FileTypeGroupList LoadGroupList(std::wstring_view programFolder);

// Writes the rows; the old file stays whole unless every line was written.
// Returns 0 on success, else the system's error code.
unsigned long WriteFileTypeList(const std::vector<FileTypeRow>& rows, std::wstring_view programFolder);
// Puts the default groups back into the file, then reloads the list.
FileTypeGroupList RestoreFileTypeDefaults(std::wstring_view programFolder);
