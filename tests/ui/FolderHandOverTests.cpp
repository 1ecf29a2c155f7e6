#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstring>
#include <cwctype>
#include <vector>

#include "MainWindowSupport.h"
#include "ProgramSupport.h"
#include "settings/IniFile.h"

namespace {

// What Explorer sends when items are dropped on a window.
HDROP MakeDrop(const std::vector<std::wstring>& paths)
{
    std::wstring list;
    for (const std::wstring& path : paths) list.append(path).push_back(L'\0');
    list.push_back(L'\0');
    HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + list.size() * sizeof(wchar_t));
    auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = TRUE;
    std::memcpy(drop + 1, list.data(), list.size() * sizeof(wchar_t));
    GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}

class FolderHandOver : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        listed.MakeFolder(L"Sub Folder");
        file = listed.MakeFile(L"a.txt");
        target = listed.Path() + L"\\Sub Folder\\";
        // The tree's table is case-sensitive: the path comes in another spelling.
        given = listed.Path() + L"\\sub folder";
        given[0] = static_cast<wchar_t>(towlower(given[0]));
        WriteSettings(L"[Setting]\nExplorerPath=" + listed.Path() + L"\\");
    }

    TestFolder listed;
    std::wstring file;
    std::wstring target;
    std::wstring given;
};

}  // namespace

TEST_F(FolderHandOver, AFolderGivenAtStartIsSelectedInsteadOfTheSavedOne)
{
    window = std::make_unique<frmMain>(program.Path());
    window->SelectAtStart(given);
    ASSERT_TRUE(window->Load());
    LetMessagesRun();
    EXPECT_EQ(window->Treeview().Path(), target);
    EXPECT_TRUE(window->FolderSelected());
}

TEST_F(FolderHandOver, ASecondStartGivesItsFolderToTheRunningWindow)
{
    Start();
    ASSERT_EQ(window->Treeview().Path(), listed.Path() + L"\\");
    ShowWindow(window->hwnd(), SW_MINIMIZE);
    TestFolder copy;
    // "Send To" quotes a path with its trailing backslash: \" reaches the program as a quote.
    ProgramRun second = RunProgramWithCommandLine(CopyOfProgram(copy), L"\"" + given + L"\\\"");
    LetMessagesRun();
    EXPECT_EQ(second.ExitCode, 0u);
    EXPECT_EQ(window->Treeview().Path(), target);
    EXPECT_FALSE(IsIconic(window->hwnd()));
    // The second instance ended at once: nothing of its own was written beside it.
    EXPECT_FALSE(FileExists(copy / L"Setting.ini"));
}

TEST_F(FolderHandOver, TheFirstDroppedFolderIsSelected)
{
    Start();
    HWND main = window->hwnd();
    SendMessageW(main, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({file})), 0);
    LetMessagesRun();
    EXPECT_EQ(window->Treeview().Path(), listed.Path() + L"\\");
    SendMessageW(main, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({file, given, listed.Path()})), 0);
    LetMessagesRun();
    EXPECT_EQ(window->Treeview().Path(), target);
    EXPECT_TRUE(GetWindowLongPtrW(main, GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
}
