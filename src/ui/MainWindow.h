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
#include "run/ListingRun.h"
#include "run/JobInfo.h"
#include "run/OptionValues.h"
#include "run/RunControl.h"
#include "run/RunState.h"
#include "settings/FileTypes.h"
#include "settings/Settings.h"
#include "ui/FolderStatistics.h"
#include "ui/ListingThread.h"
#include "ui/MainWindowLayout.h"
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

class frmMain : private GXISubclass {
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

    // A control or panel by its name in kMainLayout ("cboSize", "picStatusBar",
    // "vscScroll", "Treeview", ...).
    HWND Window(MainPart part) const { return parts_.Window(part); }
    clsControl& Control(MainControl name) { return parts_.Control(name); }
    HostPanel& Panel(MainPanel name) { return parts_.Panel(name); }
    ClsDate& Date1() { return ClsDate1_; }
    ClsDate& Date2() { return ClsDate2_; }
    clsTreeView& Treeview() { return Treeview_; }
    const JobInfo& CurrentJob() const { return job_; }
    const RunState& State() const { return state_; }
    const RunControl& Run() const { return *run_; }
    const FileTypeTable& FileTypes() const { return fileTypes_; }
    bool FolderSelected() const { return FolderSelected_; }
    const std::wstring& OutputFolder() const { return chooser_.OutputFolder(); }
    OutputFolderChooser& Chooser() { return chooser_; }
    const std::wstring& StatusText() const { return statusText_; }
    const std::array<std::wstring, 3>& FolderInfoLines() const { return folderInfo_; }
    int ScrollValue() const;
    int ScrollMax() const;

    // The two methods that move options between the window and the job.
    void ScrapeSaveJob();
    void DispSaveJob(const JobInfo& job);
    // Every option control's value.
    OptionValues ReadOptionValues() const;

private:
    // Where the window is with a listing. A stopped walk returns only at its next
    // check, so Stop and Close can come before the run has ended.
    enum class Phase {
        Idle,             // no listing: Save starts one
        Running,          // the listing runs on its thread; the window is locked
        Stopping,         // Stop was pressed; the window is unlocked, the listing ends
        ClosingAfterRun,  // the window was closed during the run: it closes when the listing ends
        Closed,           // unloaded: the settings are saved
    };

    // Layout
    void CreateControls();
    void FillLists();
    void WireEvents();
    void WireKeys();
    void LayoutScrollArea();
    void ScrollTo(int value);
    void ScrollIntoView(HWND control);

    // Rules
    void SizeRule();
    void TimeRule();
    void SortRule();
    void SaveModeRule();
    void EasyModeRule();
    void EditFileTypes();
    void OnWheel(int delta);

    // Folder tree
    void OnTreeSelection(HTREEITEM node);
    void OnFolderCounted(unsigned selection);
    void DrawFolderInfo();

    // Save and Stop
    void cmdSave_Click();
    void cmdStop_Click();
    void AwaitListing();
    void RunEnded(const RunResult& result);
    void EnterPhase(Phase next);
    void LockWindow(bool locked);
    void ShowStatus(std::wstring_view text);
    void DrawStatus();
    void ShowMessage(const std::wstring& text, UINT icon);

    // Folders from outside
    void AcceptFolders();
    void SelectFolder(std::wstring_view folder);
    void OnFolderHandedOver(std::wstring_view folder);

    // Settings
    SettingsModel ReadSettingsModel() const;
    void ApplySettingsModel(const SettingsModel& model);
    // A kept option between the control of a layout row and its key's model member.
    void ReadOption(std::size_t row, bool& flag) const;
    void ReadOption(std::size_t row, ListChoice& list) const;
    void ReadOption(std::size_t row, std::wstring& text) const;
    void ReadOption(std::size_t row, ComboChoice& combo) const;
    void ApplyOption(std::size_t row, bool flag);
    void ApplyOption(std::size_t row, const ListChoice& list);
    void ApplyOption(std::size_t row, const std::wstring& text);
    void ApplyOption(std::size_t row, const ComboChoice& combo);
    void Unload();
    void EndSession();

    void WndProc(bool bBefore, bool& bHandled, LRESULT& lReturn, HWND lHwnd, UINT uMsg, WPARAM wParam,
                 LPARAM lParam, LONG_PTR& lParamUser) override;

    std::wstring programFolder_;
    std::wstring startFolder_;
    UniqueOwnedMutex mutex_;
    TopLevelWindow form_;
    WindowParts<kMainLayout> parts_;

    // The parts the window's code works with, by their names in kMainLayout.
    HostPanel& picTreeView = parts_.Panel(L"picTreeView");
    HostPanel& picDefFile = parts_.Panel(L"picDefFile");
    HostPanel& Picture1 = parts_.Panel(L"Picture1");
    HostPanel& picScrollBox = parts_.Panel(L"picScrollBox");
    HostPanel& picClient = parts_.Panel(L"picClient");
    HostPanel& lblSepExtra = parts_.Panel(L"lblSepExtra");
    HostPanel& picSave = parts_.Panel(L"picSave");
    HostPanel& picStop = parts_.Panel(L"picStop");
    HostPanel& picStatusBar = parts_.Panel(L"picStatusBar");
    HostPanel& picDate1 = parts_.Panel(L"picDate1");
    HostPanel& picDate2 = parts_.Panel(L"picDate2");
    clsControl& comSaveMode = parts_.Control(L"comSaveMode");
    clsControl& comFormat = parts_.Control(L"comFormat");
    clsControl& lblSaveFormat = parts_.Control(L"lblSaveFormat");
    clsControl& chkEasy = parts_.Control(L"chkEasy");
    clsControl& chkDelEXE = parts_.Control(L"chkDelEXE");
    clsControl& chkFullPath = parts_.Control(L"chkFullPath");
    clsControl& optIndentLevel0 = parts_.Control(L"optIndentLevel0");
    clsControl& optIndentLevel1 = parts_.Control(L"optIndentLevel1");
    clsControl& comIndentLevel = parts_.Control(L"comIndentLevel");
    clsControl& chkEmptyFolder = parts_.Control(L"chkEmptyFolder");
    clsControl& cboSortSave = parts_.Control(L"cboSortSave");
    clsControl& optAscSave0 = parts_.Control(L"optAscSave0");
    clsControl& optAscSave1 = parts_.Control(L"optAscSave1");
    clsControl& cboSize = parts_.Control(L"cboSize");
    clsControl& lblSizeForm = parts_.Control(L"lblSizeForm");
    clsControl& txtMinSize = parts_.Control(L"txtMinSize");
    clsControl& cboSizeType0 = parts_.Control(L"cboSizeType0");
    clsControl& lblSizeTo = parts_.Control(L"lblSizeTo");
    clsControl& txtMaxSize = parts_.Control(L"txtMaxSize");
    clsControl& cboSizeType1 = parts_.Control(L"cboSizeType1");
    clsControl& cboDate = parts_.Control(L"cboDate");
    clsControl& lblTmrForm = parts_.Control(L"lblTmrForm");
    clsControl& lblTmrTo = parts_.Control(L"lblTmrTo");
    clsControl& cboFFSave = parts_.Control(L"cboFFSave");
    clsControl& cmdEdit = parts_.Control(L"cmdEdit");
    clsControl& cmdSave = parts_.Control(L"cmdSave");
    clsControl& cmdStop = parts_.Control(L"cmdStop");
    clsControl& cmdExit = parts_.Control(L"cmdExit");
    // Made in their hosts by the window; released before the hosts.
    ClsDate ClsDate1_;
    ClsDate ClsDate2_;
    clsTreeView Treeview_;
    clsMouseWheel wheel_;
    GXMSubclass engine_;

    JobInfo job_;
    RunState state_;
    // Each run has its own: a finished run's thread may still be ending when the next starts.
    std::shared_ptr<RunControl> run_ = std::make_shared<RunControl>();
    Phase phase_ = Phase::Idle;
    FileTypeTable fileTypes_;
    OutputFolderChooser chooser_;
    bool FolderSelected_ = false;
    unsigned selectionCount_ = 0;  // a running folder count sees its folder is no longer selected
    std::wstring statusText_;
    std::array<std::wstring, 3> folderInfo_;
    // Last, so that their threads end before what they use goes.
    FolderCounter counter_;
    ListingThread listing_;
};
