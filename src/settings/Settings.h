#pragma once
// Setting.ini: the main window's options kept between runs, as a plain model with one
// member per key. The window binds its controls to the keys.
#include <string>
#include <string_view>
#include <variant>

#include "settings/FileTypes.h"

// A drop-down list: the selected item (-1 for none) and how many items the list holds;
// a saved index outside them selects none.
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

// The values of Setting.ini, one member per key. A list's item count is that of the list
// its value is shown in: the window reads it from its lists, the command line from the
// lists' tables (run/Choices.h).
struct SettingsModel {
    std::wstring ExplorerPath;  // the folder tree's Path
    std::wstring SavePath;      // the output folder
    ListChoice SaveMode;
    ListChoice SortSave;
    ListChoice DirectoryLevel;
    bool EmptyDirectory = false;
    bool ScanSubFolders = false;
    bool ScanSystem = false;
    bool ScanHidden = false;
    bool ScanReadOnly = false;
    ListChoice Date;
    ListChoice Size;
    ListChoice Format;
    ListChoice SizeType0;
    ListChoice SizeType1;
    std::wstring Size0;
    std::wstring Size1;
    ComboChoice SaveFilter;  // its items are the titles of the file-type table, in order
    friend bool operator==(const SettingsModel&, const SettingsModel&) = default;
};

// Where a key's value is kept; the member's type is the key's kind: a list's selected
// index, a check box's flag, a text, or the file-type choice.
using SettingMember = std::variant<ListChoice SettingsModel::*, bool SettingsModel::*, std::wstring SettingsModel::*,
                                   ComboChoice SettingsModel::*>;

struct SettingField {
    const wchar_t* Key;
    SettingMember Member;
};

// Every key of Setting.ini, in the order the file is written.
inline constexpr SettingField kSettingFields[] = {
    {L"ExplorerPath", &SettingsModel::ExplorerPath},
    {L"SavePath", &SettingsModel::SavePath},
    {L"SaveMode", &SettingsModel::SaveMode},
    {L"SortSave", &SettingsModel::SortSave},
    {L"DirectoryLevel", &SettingsModel::DirectoryLevel},
    {L"EmptyDirectory", &SettingsModel::EmptyDirectory},
    {L"ScanSubFolders", &SettingsModel::ScanSubFolders},
    {L"ScanSystem", &SettingsModel::ScanSystem},
    {L"ScanHidden", &SettingsModel::ScanHidden},
    {L"ScanReadOnly", &SettingsModel::ScanReadOnly},
    {L"Date", &SettingsModel::Date},
    {L"Size", &SettingsModel::Size},
    {L"Format", &SettingsModel::Format},
    {L"SizeType0", &SettingsModel::SizeType0},
    {L"SizeType1", &SettingsModel::SizeType1},
    {L"Size0", &SettingsModel::Size0},
    {L"Size1", &SettingsModel::Size1},
    {L"SaveFilter", &SettingsModel::SaveFilter},
};

// The field of a key as it is written (the file's reader ignores letter case, the
// program's own tables do not); null for a key the file does not have.
constexpr const SettingField* FindSettingField(std::wstring_view key)
{
    for (const SettingField& field : kSettingFields)
        if (key == field.Key) return &field;
    return nullptr;
}

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
