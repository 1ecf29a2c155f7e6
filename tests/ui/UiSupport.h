#pragma once
// Driving the real main window as a user does (selections, clicks and keys go to its real
// child windows), starting the real program, and reading what both wrote.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "run/ListingRun.h"
#include "run/SaveOptions.h"
#include "support/Dialogs.h"
#include "support/TestFolder.h"
#include "ui/MainWindow.h"

using MainParts = std::vector<MainPart>;
using MainControls = std::initializer_list<MainControl>;

// Selects a list item: the selection changes and the list tells its parent, as after a click.
void ChooseItem(HWND list, int index);
void ClickButton(HWND button);
// One thing a user does in the main window: choose a list's item, type a text (a list then
// has no item chosen), or else click.
struct Act {
    MainPart Part;
    int Item = -1;
    const wchar_t* Typed = nullptr;
};
void Do(frmMain& window, const std::vector<Act>& acts);
// Lets the thread's pending messages run for a while, through the program's own loop.
void LetMessagesRun(DWORD milliseconds = 50);
// Lets them run until `done` holds (true) or a few seconds have passed (false): for what
// the window hears from a thread of its own.
bool LetMessagesRunUntil(const std::function<bool()>& done);
// Presses a key as a keyboard does: down and up go through the message loop to the
// focused window (the active one when none is), with Shift held or not.
void PressKey(UINT key, bool shift = false);
// Whether the focus is on the window or in it (a combo's edit box).
bool HasFocus(HWND window);

std::vector<std::wstring> FilesIn(const std::wstring& folder);
// Writes the lines as a UTF-16LE file, as the program writes its own.
void WriteLines(const std::wstring& path, const std::vector<std::wstring>& lines);

// A program folder of its own (for Setting.ini and FileType.txt) and the main window.
class MainWindowTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // Starts a new window; the folder, when given, is selected instead of the saved one.
    frmMain& Start(const std::wstring& selectAtStart = L"");
    void WriteSettings(const std::vector<std::wstring>& lines) { WriteLines(program / L"Setting.ini", lines); }
    std::wstring SettingsText() const { return FileText(program / L"Setting.ini"); }
    HWND Win(MainPart part) const { return window->Window(part); }
    bool Enabled(MainPart part) const { return IsWindowEnabled(Win(part)) != FALSE; }
    bool Checked(MainControl name) const { return window->Control(name).Checked(); }
    // The parts' texts, joined by "|".
    std::wstring Shown(const MainParts& parts) const;

    TestFolder program;
    std::unique_ptr<frmMain> window;
};

// The real program, started as a script or Explorer would; its output read as UTF-8.
struct ProgramRun {
    DWORD ExitCode = STILL_ACTIVE;
    std::wstring Output, Errors;
};
// Copies Quorvane.exe into the folder, so that the settings beside it are the test's own.
std::wstring CopyOfProgram(const TestFolder& folder);
// Runs it with the text after its name, letting this thread's messages run meanwhile
// (a window of the test may be what the program talks to).
ProgramRun RunProgram(const std::wstring& program, const std::wstring& arguments);
// Each argument in quotes; none may end with a backslash.
std::wstring Arguments(const std::vector<std::wstring>& arguments);
