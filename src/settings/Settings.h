#pragma once
// Setting.ini: the main window's options kept between runs, against a plain model of the
// option controls that the window binds to its real controls.
#include <string>
#include <string_view>

#include "settings/FileTypes.h"

// A drop-down list: the selected item (-1 for none) and how many items it holds.
struct ListChoice {
    int Selected = -1;
    int ItemCount = 0;
    friend bool operator==(const ListChoice&, const ListChoice&) = default;
};

// The editable file-type combo: its selected item (-1 for none) and its text.
struct ComboChoice {
    int Selected = -1;
    std::wstring Text;
    friend bool operator==(const ComboChoice&, const ComboChoice&) = default;
};

// The deepest depth limit a listing takes: levels below the chosen folder.
constexpr int kDeepestDepthLimit = 99;

// Item counts of the main window's fixed lists.
namespace ListItemCounts {
constexpr int SaveMode = 3;      // files, folders, both
constexpr int SortSave = 7;      // none, name, extension, size, three times
constexpr int IndentLevel = kDeepestDepthLimit;  // "1" to the deepest
constexpr int Date = 4;
constexpr int Size = 4;
constexpr int Format = 4;  // TXT, CSV, HTML, tree
constexpr int SizeType = 2;  // KB, MB
}  // namespace ListItemCounts

// The options kept in Setting.ini, one member per control; the defaults are the
// controls' start values before the file is applied.
struct SettingsModel {
    std::wstring ExplorerPath;  // the folder tree's Path
    std::wstring OutputFolder;
    ListChoice comSaveMode{-1, ListItemCounts::SaveMode};
    ListChoice cboSortSave{-1, ListItemCounts::SortSave};
    ListChoice comIndentLevel{-1, ListItemCounts::IndentLevel};
    bool chkEmptyFolder = false;
    bool chkSubDirSave = false;
    bool chkSystemSave = false;
    bool chkHiddenSave = false;
    bool chkReadOnlySave = false;
    ListChoice cboDate{-1, ListItemCounts::Date};
    ListChoice cboSize{-1, ListItemCounts::Size};
    ListChoice comFormat{-1, ListItemCounts::Format};
    ListChoice cboSizeType0{-1, ListItemCounts::SizeType};
    ListChoice cboSizeType1{-1, ListItemCounts::SizeType};
    std::wstring txtMinSize;
    std::wstring txtMaxSize;
    ComboChoice cboFFSave;  // its items are the titles of the file-type table, in order
    friend bool operator==(const SettingsModel&, const SettingsModel&) = default;
};

std::wstring SettingsFilePath(std::wstring_view programFolder);

// Creates Setting.ini from the built-in default when missing, then applies each key on
// its own: a value that does not convert leaves only its option as it was.
void LoadSettings(SettingsModel& model, const FileTypeTable& fileTypes, std::wstring_view programFolder);
// The same from a settings file anywhere; with MissingFile::ReadDefault a missing file
// reads as the built-in default and nothing is written.
void LoadSettingsFile(SettingsModel& model, const FileTypeTable& fileTypes, std::wstring_view path,
                      MissingFile missing);
// Writes the whole file, safely as SafeWrite.h says; a read-only file is left as it is.
// Returns 0 on success, else the system's error code.
unsigned long SaveSettings(const SettingsModel& model, const FileTypeTable& fileTypes, std::wstring_view programFolder);
