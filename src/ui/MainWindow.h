#pragma once
// frmMain: the main window. The folder tree and its statistics on the left, the save
// options and the scrolling column of filters on the right, Save / Stop and Exit at the
// bottom right, the status strip along the bottom.
//
// Usage: frmMain window(programFolder); if (window.Load()) RunMessageLoop();
#include <windows.h>

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "controls/Control.h"
#include "controls/DatePicker.h"
#include "controls/Form.h"
#include "controls/MouseWheel.h"
#include "controls/Subclass.h"
#include "fs/Handles.h"
#include "run/FolderWalk.h"
#include "run/JobInfo.h"
#include "run/OptionValues.h"
#include "run/RunState.h"
#include "settings/FileTypes.h"
#include "settings/Settings.h"
#include "ui/NamedControls.h"
#include "ui/OutputFolder.h"
#include "ui/TreeView.h"

// The single-instance mutex: released and closed together.
struct OwnedMutexTraits {
    using Handle = HANDLE;
    static Handle None() { return nullptr; }
    static bool Close(Handle h)
    {
        ReleaseMutex(h);
        return CloseHandle(h) != FALSE;
    }
};
using UniqueOwnedMutex = UniqueHandle<OwnedMutexTraits>;

class frmMain : private RunHost, private GXISubclass {
public:
    // programFolder: where Setting.ini and FileType.txt live (the program's own folder).
    explicit frmMain(std::wstring programFolder);
    ~frmMain();
    frmMain(const frmMain&) = delete;
    frmMain& operator=(const frmMain&) = delete;

    // Before Load: the tree selects this folder instead of the saved one (when it exists).
    void SelectAtStart(std::wstring_view folder);
    // Start-up. False when another instance holds the mutex: nothing was shown or read.
    bool Load();
    HWND hwnd() const { return form_.hwnd(); }
    // The message loop ends when the window closes (the program; not tests).
    void EndProgramOnClose() { form_.QuitOnClose = true; }
    // Closes the window as its close box does (the settings are saved).
    void Close() { form_.Close(); }
    // True from Load until the window has been unloaded.
    bool IsOpen() const { return IsWindow(form_.hwnd()) != FALSE; }

    // The native window of a control or panel by its name ("cboSize", "picStatusBar",
    // "vscScroll", "Treeview", ...); null for an unknown name.
    HWND Window(std::wstring_view name) const;
    clsControl* Control(std::wstring_view name) const { return named_.Control(name); }
    HostPanel* Panel(std::wstring_view name) const { return named_.Panel(name); }
    ClsDate& Date1() { return ClsDate1_; }
    ClsDate& Date2() { return ClsDate2_; }
    clsTreeView& Treeview() { return Treeview_; }
    const JobInfo& CurrentJob() const { return job_; }
    const RunState& State() const { return state_; }
    const FileTypeTable& FileTypes() const { return fileTypes_; }
    bool FolderSelected() const { return FolderSelected_; }
    const std::wstring& OutputFolder() const { return chooser_.OutputFolder(); }
    const std::wstring& StatusText() const { return statusText_; }
    const std::array<std::wstring, 3>& FolderInfoLines() const { return folderInfo_; }
    int ScrollValue() const;
    int ScrollMax() const;
    bool RunActive() const { return runActive_; }

    // The two methods that move options between the window and the job.
    void ScrapeSaveJob();
    void DispSaveJob(const JobInfo& job);
    // Every option control's value.
    OptionValues ReadOptionValues() const;

private:
    // Layout
    void CreatePanels();
    void CreateControls();
    void FillLists();
    void WireEvents();
    void PaintFrames(HDC dc, bool client);
    void LayoutScrollArea();
    void ScrollTo(int value);

    // Rules
    void SizeRule();
    void TimeRule();
    void SortRule();
    void SaveModeRule();
    void EasyModeRule();
    void FileTypeChoice();
    void EditFileTypes();
    void OnWheel(int delta);

    // Folder tree
    void OnTreeSelection(HTREEITEM node);
    void DrawFolderInfo();

    // Save and Stop
    void cmdSave_Click();
    void cmdStop_Click();
    void LockWindow(bool locked);
    void ShowStatus(std::wstring_view text) override;
    void PumpMessages() override;
    void RunStarting() override;
    void DrawStatus();
    int Choice(const wchar_t* name) const;

    // Folders from outside
    void AcceptFolders();
    void SelectFolder(std::wstring_view folder);
    void OnFolderHandedOver(std::wstring_view folder);

    // Settings
    SettingsModel ReadSettingsModel() const;
    void ApplySettingsModel(const SettingsModel& model);
    void Unload();
    void EndSession();

    void WndProc(bool bBefore, bool& bHandled, LRESULT& lReturn, HWND lHwnd, UINT uMsg, WPARAM wParam,
                 LPARAM lParam, LONG_PTR& lParamUser) override;

    std::wstring programFolder_;
    std::wstring startFolder_;
    UniqueOwnedMutex mutex_;
    TopLevelWindow form_;
    NamedControls named_;
    ClsDate ClsDate1_;
    ClsDate ClsDate2_;
    clsTreeView Treeview_;
    clsMouseWheel wheel_;
    GXMSubclass engine_;
    UniqueWindow vscScroll_;

    JobInfo job_;
    RunState state_;
    FileTypeTable fileTypes_;
    OutputFolderChooser chooser_;
    bool FolderSelected_ = false;
    bool runActive_ = false;     // a walk is on the call stack, stopped or not
    bool closePending_ = false;  // the window was closed while a stopped walk unwound
    bool unloaded_ = false;
    bool sessionEnding_ = false;   // the process may be ended at any moment
    unsigned selectionCount_ = 0;  // a running folder count sees its folder is no longer selected
    std::wstring statusText_;
    std::array<std::wstring, 3> folderInfo_;
};
