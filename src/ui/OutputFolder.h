#pragma once
// The folder a run writes its listing into, and the shell dialog that chooses it.
#include <windows.h>

#include <functional>
#include <string>
#include <string_view>

std::wstring AddTrailingBackslash(std::wstring_view path);
// The 8.3 form of an existing path; empty when the platform cannot give one.
std::wstring GetShortPath(std::wstring_view path);
// The shell's folder dialog, opened on initialPath; the chosen folder or empty text.
std::wstring BrowseForFolder(HWND owner, const std::wstring& title, const std::wstring& initialPath);
int CALLBACK BrowseCallback(HWND dialog, UINT message, LPARAM parameter, LPARAM data);

class OutputFolderChooser {
public:
    // Asks for a folder: (owner, initial folder) -> the chosen folder, or empty text.
    using Browser = std::function<std::wstring(HWND owner, const std::wstring& initialFolder)>;

    const std::wstring& OutputFolder() const { return outputFolder_; }
    void SetOutputFolder(std::wstring folder) { outputFolder_ = std::move(folder); }
    // Answers in the shell dialog's place (for tests); an empty browser brings the dialog back.
    void SetBrowser(Browser browser) { browser_ = std::move(browser); }

    // True when the user confirmed a folder; OutputFolder then ends with "\".
    bool ChooseOutputFolder(HWND owner);

private:
    std::wstring outputFolder_;
    Browser browser_;
};
