#include "ui/OutputFolder.h"

#include <shlobj.h>

#include <memory>
#include <vector>

#include "fs/LongPath.h"
#include "ui/Texts.h"

namespace {

struct PidlDeleter {
    void operator()(ITEMIDLIST* list) const { CoTaskMemFree(list); }
};

std::wstring PathFromIdList(LPCITEMIDLIST list)
{
    wchar_t buffer[MAX_PATH] = {};
    if (!SHGetPathFromIDListW(list, buffer)) return {};
    return TrimAtNul(std::wstring_view(buffer, MAX_PATH));
}

}  // namespace

std::wstring AddTrailingBackslash(std::wstring_view path)
{
    std::wstring result(path);
    if (!result.ends_with(L'\\')) result += L'\\';
    return result;
}

std::wstring GetShortPath(std::wstring_view path)
{
    std::vector<wchar_t> buffer(64000, L'\0');
    DWORD length = GetShortPathNameW(LongPathArg(path).c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0 || length >= buffer.size()) return {};
    return TrimAtNul(std::wstring_view(buffer.data(), length));
}

// The wide-character messages keep folder names outside the ANSI code page intact.
// The initial selection travels in the callback data instead of a global.
int CALLBACK BrowseCallback(HWND dialog, UINT message, LPARAM parameter, LPARAM data)
{
    if (message == BFFM_INITIALIZED) {
        const auto* initial = reinterpret_cast<const std::wstring*>(data);
        if (initial) SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(initial->c_str()));
    } else if (message == BFFM_SELCHANGED) {
        // A virtual item has no path; the status line then stays as it was.
        std::wstring path = PathFromIdList(reinterpret_cast<LPCITEMIDLIST>(parameter));
        if (!path.empty()) SendMessageW(dialog, BFFM_SETSTATUSTEXTW, 0, reinterpret_cast<LPARAM>(path.c_str()));
    }
    return 0;
}

std::wstring BrowseForFolder(HWND owner, const std::wstring& title, const std::wstring& initialPath)
{
    std::wstring initial = initialPath;  // kept alive until the dialog has closed
    BROWSEINFOW info{};
    info.hwndOwner = owner;
    info.lpszTitle = title.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_STATUSTEXT | BIF_EDITBOX | BIF_VALIDATE | BIF_NEWDIALOGSTYLE;
    info.lpfn = BrowseCallback;
    info.lParam = reinterpret_cast<LPARAM>(&initial);
    std::unique_ptr<ITEMIDLIST, PidlDeleter> chosen(SHBrowseForFolderW(&info));
    if (!chosen) return {};
    return PathFromIdList(chosen.get());
}

bool OutputFolderChooser::ChooseOutputFolder(HWND owner)
{
    std::wstring chosen =
        browser_ ? browser_(owner, outputFolder_) : BrowseForFolder(owner, kChooseOutputFolder, outputFolder_);
    if (chosen.empty()) return false;
    // A folder without a short form (it vanished meanwhile) keeps the chosen path.
    std::wstring shortPath = GetShortPath(chosen);
    outputFolder_ = AddTrailingBackslash(shortPath.empty() ? chosen : shortPath);
    return true;
}
