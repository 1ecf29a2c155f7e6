#pragma once
// Driving the real main window as a user does: selections, clicks and keys go to the
// real child windows; dialogs are answered by finding them and pressing their buttons.
#include <windows.h>

#include <initializer_list>
#include <memory>
#include <string>

#include "support/TestFolder.h"
#include "ui/MainWindow.h"

// Several parts of the main window, by their names in its layout.
using MainParts = std::initializer_list<MainPart>;
using MainControls = std::initializer_list<MainControl>;

// Selects a list item: the selection changes and the list tells its parent, as after a click.
void ChooseItem(HWND list, int index);
void ClickButton(HWND button);
std::wstring WindowTextOf(HWND window);
int SelectedIndex(HWND list);
// Lets the window's pending messages run for a while.
void LetMessagesRun(DWORD milliseconds = 50);
// Answers any dialog with its Cancel button, a message box without one with OK.
void DismissDialog(HWND dialog);

// A program folder of its own (for Setting.ini and FileType.txt) and the main window.
class MainWindowTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Starts the window; settings lines, when given, are written first as Setting.ini.
    frmMain& Start();
    void WriteSettings(const std::wstring& lines);
    HWND Win(MainPart part) const { return window->Window(part); }
    bool Enabled(MainPart part) const { return IsWindowEnabled(Win(part)) != FALSE; }
    std::wstring SettingsBytes() const;

    TestFolder program;
    std::unique_ptr<frmMain> window;
};
