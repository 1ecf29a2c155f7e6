#include "settings/Settings.h"

#include <windows.h>

#include <vector>

#include "settings/IniFile.h"
#include "settings/IniValues.h"
#include "settings/SafeWrite.h"

namespace {

constexpr wchar_t kSection[] = L"Setting";

std::wstring LowerCase(std::wstring text)
{
    if (!text.empty()) CharLowerBuffW(text.data(), static_cast<DWORD>(text.size()));
    return text;
}

// Applying a key's value to its member, by the member's kind. A value that does not
// convert leaves the member as it was.
void Apply(std::wstring_view value, bool& flag, const FileTypeTable&)
{
    if (auto truth = TruthFromText(value)) flag = *truth;
}

void Apply(std::wstring_view value, ListChoice& list, const FileTypeTable&)
{
    auto index = IntegerFromText(value);
    if (!index) return;
    list.Selected = (*index >= 0 && *index < list.ItemCount) ? *index : -1;
}

void Apply(std::wstring_view value, std::wstring& text, const FileTypeTable&) { text = value; }

// The first entry whose pattern list equals the value in any letter case is selected;
// otherwise the value stands in the combo as typed text, in its own letter case, since
// the patterns match names case-sensitively.
void Apply(std::wstring_view value, ComboChoice& combo, const FileTypeTable& fileTypes)
{
    std::wstring wanted = LowerCase(std::wstring(value));
    for (std::size_t i = 0; i < fileTypes.size(); ++i) {
        if (LowerCase(fileTypes[i].Type) == wanted) {
            combo.Selected = static_cast<int>(i);
            combo.Text = fileTypes[i].Title;
            return;
        }
    }
    combo.Selected = -1;
    combo.Text = value;
}

// A member's value as written: indexes in decimal ("-1" for none), flags as "1" or "0".
std::wstring Written(bool flag, const FileTypeTable&) { return flag ? L"1" : L"0"; }
std::wstring Written(const ListChoice& list, const FileTypeTable&) { return std::to_wstring(list.Selected); }
std::wstring Written(const std::wstring& text, const FileTypeTable&) { return text; }

// The chosen file type's pattern list, or the combo's text as typed when none is chosen.
std::wstring Written(const ComboChoice& combo, const FileTypeTable& fileTypes)
{
    if (combo.Selected >= 0 && static_cast<std::size_t>(combo.Selected) < fileTypes.size())
        return fileTypes[static_cast<std::size_t>(combo.Selected)].Type;
    return combo.Text;
}

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
    for (const SettingField& field : kSettingFields) {
        std::wstring value = section.Value(field.Key);
        std::visit([&](auto member) { Apply(value, model.*member, fileTypes); }, field.Member);
    }
}

unsigned long SaveSettings(const SettingsModel& model, const FileTypeTable& fileTypes, std::wstring_view programFolder)
{
    std::wstring path = SettingsFilePath(programFolder);
    // The user's locked configuration.
    if (IsReadOnlyFile(path)) return 0;
    std::vector<std::wstring> lines{L"[Setting]"};
    for (const SettingField& field : kSettingFields) {
        std::wstring value = std::visit([&](auto member) { return Written(model.*member, fileTypes); }, field.Member);
        lines.push_back(std::wstring(field.Key) + L"=" + value);
    }
    // Closing is the only chance to save, so a read-only program folder must not stop it.
    return ReplaceOrOverwriteWithLines(path, lines);
}
