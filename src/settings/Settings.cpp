#include "settings/Settings.h"

#include <windows.h>

#include <vector>

#include "settings/IniFile.h"
#include "settings/IniValues.h"
#include "settings/SafeWrite.h"

namespace {

constexpr wchar_t kSection[] = L"Setting";

void ApplyFlag(std::wstring_view value, bool& flag)
{
    if (auto truth = TruthFromText(value)) flag = *truth;
}

void ApplyIndex(std::wstring_view value, ListChoice& list)
{
    auto index = IntegerFromText(value);
    if (!index) return;
    list.Selected = (*index >= 0 && *index < list.ItemCount) ? *index : -1;
}

std::wstring LowerCase(std::wstring text)
{
    if (!text.empty()) CharLowerBuffW(text.data(), static_cast<DWORD>(text.size()));
    return text;
}

// The first entry whose pattern list equals the value in any letter case is selected;
// otherwise the value stands in the combo as typed text, in its own letter case, since
// the patterns match names case-sensitively.
void RestoreFileTypeChoice(std::wstring value, const FileTypeTable& fileTypes, ComboChoice& combo)
{
    std::wstring wanted = LowerCase(value);
    for (std::size_t i = 0; i < fileTypes.size(); ++i) {
        if (LowerCase(fileTypes[i].Type) == wanted) {
            combo.Selected = static_cast<int>(i);
            combo.Text = fileTypes[i].Title;
            return;
        }
    }
    combo.Selected = -1;
    combo.Text = std::move(value);
}

std::wstring SavedFilter(const ComboChoice& combo, const FileTypeTable& fileTypes)
{
    if (combo.Selected >= 0 && static_cast<std::size_t>(combo.Selected) < fileTypes.size())
        return fileTypes[static_cast<std::size_t>(combo.Selected)].Type;
    return combo.Text;
}

std::wstring TextLine(std::wstring_view key, std::wstring_view value)
{
    return std::wstring(key) + L"=" + std::wstring(value);
}
std::wstring IndexLine(std::wstring_view key, const ListChoice& list)
{
    return TextLine(key, std::to_wstring(list.Selected));
}
std::wstring FlagLine(std::wstring_view key, bool checked) { return TextLine(key, checked ? L"1" : L"0"); }

}  // namespace

std::wstring SettingsFilePath(std::wstring_view programFolder) { return FileInFolder(programFolder, L"Setting.ini"); }

void LoadSettings(SettingsModel& model, const FileTypeTable& fileTypes, std::wstring_view programFolder)
{
    LoadSettingsFile(model, fileTypes, SettingsFilePath(programFolder), MissingFile::CreateFromDefault);
}

void LoadSettingsFile(SettingsModel& model, const FileTypeTable& fileTypes, std::wstring_view path,
                      MissingFile missing)
{
    IniSection section = ReadIniSectionOrDefault(kSection, path, L"SETTING", missing);
    auto read = [&](const wchar_t* key) { return section.Value(key); };

    ApplyFlag(read(L"EmptyDirectory"), model.chkEmptyFolder);
    ApplyFlag(read(L"ScanSubFolders"), model.chkSubDirSave);
    ApplyFlag(read(L"ScanSystem"), model.chkSystemSave);
    ApplyFlag(read(L"ScanHidden"), model.chkHiddenSave);
    ApplyFlag(read(L"ScanReadOnly"), model.chkReadOnlySave);
    model.ExplorerPath = read(L"ExplorerPath");
    model.OutputFolder = read(L"SavePath");
    ApplyIndex(read(L"SaveMode"), model.comSaveMode);
    ApplyIndex(read(L"SortSave"), model.cboSortSave);
    ApplyIndex(read(L"DirectoryLevel"), model.comIndentLevel);
    ApplyIndex(read(L"Date"), model.cboDate);
    ApplyIndex(read(L"Size"), model.cboSize);
    ApplyIndex(read(L"Format"), model.comFormat);
    ApplyIndex(read(L"SizeType0"), model.cboSizeType0);
    ApplyIndex(read(L"SizeType1"), model.cboSizeType1);
    model.txtMinSize = read(L"Size0");
    model.txtMaxSize = read(L"Size1");
    RestoreFileTypeChoice(read(L"SaveFilter"), fileTypes, model.cboFFSave);
}

unsigned long SaveSettings(const SettingsModel& model, const FileTypeTable& fileTypes, std::wstring_view programFolder)
{
    std::wstring path = SettingsFilePath(programFolder);
    // The user's locked configuration.
    if (IsReadOnlyFile(path)) return 0;
    std::vector<std::wstring> lines{
        L"[Setting]",
        TextLine(L"ExplorerPath", model.ExplorerPath),
        TextLine(L"SavePath", model.OutputFolder),
        IndexLine(L"SaveMode", model.comSaveMode),
        IndexLine(L"SortSave", model.cboSortSave),
        IndexLine(L"DirectoryLevel", model.comIndentLevel),
        FlagLine(L"EmptyDirectory", model.chkEmptyFolder),
        FlagLine(L"ScanSubFolders", model.chkSubDirSave),
        FlagLine(L"ScanSystem", model.chkSystemSave),
        FlagLine(L"ScanHidden", model.chkHiddenSave),
        FlagLine(L"ScanReadOnly", model.chkReadOnlySave),
        IndexLine(L"Date", model.cboDate),
        IndexLine(L"Size", model.cboSize),
        IndexLine(L"Format", model.comFormat),
        IndexLine(L"SizeType0", model.cboSizeType0),
        IndexLine(L"SizeType1", model.cboSizeType1),
        TextLine(L"Size0", model.txtMinSize),
        TextLine(L"Size1", model.txtMaxSize),
        TextLine(L"SaveFilter", SavedFilter(model.cboFFSave, fileTypes)),
    };
    // Closing is the only chance to save, so a read-only program folder must not stop it.
    return ReplaceOrOverwriteWithLines(path, lines);
}
