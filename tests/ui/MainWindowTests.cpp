#include <gtest/gtest.h>

#include "MainWindowSupport.h"
#include "support/Dialogs.h"
#include "ui/OutputFolder.h"

namespace {

const MainPart kSizeBoundControls[] = {L"lblSizeForm", L"txtMinSize", L"cboSizeType0",
                                       L"lblSizeTo",   L"txtMaxSize", L"cboSizeType1"};

}  // namespace

using FirstStart = MainWindowTest;
using OptionRules = MainWindowTest;
using Settings = MainWindowTest;
using SingleInstance = MainWindowTest;
using FilterColumn = MainWindowTest;
using FolderInfo = MainWindowTest;

TEST_F(FirstStart, CreatesBothFilesAndShowsTheDefaults)
{
    frmMain& main = Start();
    EXPECT_EQ(ReadFileBytes(program / L"Setting.ini").size(), 504u);
    EXPECT_EQ(ReadFileBytes(program / L"FileType.txt").size(), 1652u);

    EXPECT_EQ(WindowTextOf(main.hwnd()), L"Quorvane Ver 1.06");
    EXPECT_EQ(WindowTextOf(Win(L"comSaveMode")), L"兩者皆是");
    EXPECT_EQ(WindowTextOf(Win(L"cboSortSave")), L"不排序");
    EXPECT_EQ(WindowTextOf(Win(L"comIndentLevel")), L"3");
    for (MainControl name : MainControls{L"chkSystemSave", L"chkHiddenSave", L"chkReadOnlySave"})
        EXPECT_TRUE(main.Control(name).Checked()) << name.Text();
    for (MainControl name :
         MainControls{L"chkSubDirSave", L"chkEmptyFolder", L"chkEasy", L"chkDelEXE", L"chkFullPath"})
        EXPECT_FALSE(main.Control(name).Checked()) << name.Text();
    EXPECT_EQ(WindowTextOf(Win(L"cboDate")), L"不指定");
    EXPECT_EQ(WindowTextOf(Win(L"cboSize")), L"不指定");
    EXPECT_EQ(WindowTextOf(Win(L"comFormat")), L"TXT");
    EXPECT_EQ(WindowTextOf(Win(L"cboSizeType0")), L"KB");
    EXPECT_EQ(WindowTextOf(Win(L"cboSizeType1")), L"MB");
    EXPECT_EQ(main.Control(L"txtMinSize").Text(), L"50");
    EXPECT_EQ(main.Control(L"txtMaxSize").Text(), L"10");
    EXPECT_EQ(main.Control(L"cboFFSave").Text(), L"所有檔案 (*.*)");
    EXPECT_EQ(main.OutputFolder(), L"C:\\");
    EXPECT_EQ(main.StatusText(), L"就緒 ...");
    EXPECT_TRUE(IsWindowVisible(Win(L"picSave")));
    EXPECT_FALSE(IsWindowVisible(Win(L"picStop")));
    // The saved path "\" selects no node: there is no folder to list.
    EXPECT_FALSE(main.FolderSelected());
}

TEST_F(FirstStart, EnablesTheControlsAsTheRulesSay)
{
    Start();
    for (MainPart name : kSizeBoundControls) EXPECT_FALSE(Enabled(name)) << name.Text();
    EXPECT_EQ(WindowTextOf(Win(L"lblSizeForm")), L"小於：");
    EXPECT_EQ(WindowTextOf(Win(L"lblSizeTo")), L"大於：");
    for (MainPart name : MainParts{L"ClsDate1", L"ClsDate2", L"lblTmrForm", L"lblTmrTo"})
        EXPECT_FALSE(Enabled(name)) << name.Text();
    // "不排序" disables the direction, but the listing mode "兩者皆是" comes after it.
    for (MainPart name : MainParts{L"optAscSave0", L"optAscSave1", L"cboSortSave", L"chkEmptyFolder"})
        EXPECT_TRUE(Enabled(name)) << name.Text();
    for (MainPart name : MainParts{L"chkDelEXE", L"chkFullPath", L"comIndentLevel"})
        EXPECT_FALSE(Enabled(name)) << name.Text();
    for (MainPart name : MainParts{L"comFormat", L"lblSaveFormat", L"cmdSave", L"cmdExit", L"cmdEdit"})
        EXPECT_TRUE(Enabled(name)) << name.Text();
}

TEST_F(OptionRules, SizeModeSetsTheBoundLabelsAndBoxes)
{
    Start();
    ChooseItem(Win(L"cboSize"), 3);  // 兩者
    EXPECT_EQ(WindowTextOf(Win(L"lblSizeForm")), L"從：");
    EXPECT_EQ(WindowTextOf(Win(L"lblSizeTo")), L"到：");
    for (MainPart name : kSizeBoundControls) EXPECT_TRUE(Enabled(name)) << name.Text();

    ChooseItem(Win(L"cboSize"), 2);  // 至多: the second bound only
    EXPECT_EQ(WindowTextOf(Win(L"lblSizeForm")), L"小於：");
    EXPECT_EQ(WindowTextOf(Win(L"lblSizeTo")), L"大於：");
    for (MainPart name : MainParts{L"lblSizeForm", L"txtMinSize", L"cboSizeType0"})
        EXPECT_FALSE(Enabled(name)) << name.Text();
    for (MainPart name : MainParts{L"lblSizeTo", L"txtMaxSize", L"cboSizeType1"})
        EXPECT_TRUE(Enabled(name)) << name.Text();

    ChooseItem(Win(L"cboSize"), 1);  // 至少: the first bound only
    for (MainPart name : MainParts{L"lblSizeForm", L"txtMinSize", L"cboSizeType0"})
        EXPECT_TRUE(Enabled(name)) << name.Text();
    for (MainPart name : MainParts{L"lblSizeTo", L"txtMaxSize", L"cboSizeType1"})
        EXPECT_FALSE(Enabled(name)) << name.Text();
}

TEST_F(OptionRules, TimeKindEnablesThePickers)
{
    Start();
    ChooseItem(Win(L"cboDate"), 1);
    for (MainPart name : MainParts{L"ClsDate1", L"ClsDate2", L"lblTmrForm", L"lblTmrTo"})
        EXPECT_TRUE(Enabled(name)) << name.Text();
    ChooseItem(Win(L"cboDate"), 0);
    for (MainPart name : MainParts{L"ClsDate1", L"ClsDate2", L"lblTmrForm", L"lblTmrTo"})
        EXPECT_FALSE(Enabled(name)) << name.Text();
}

TEST_F(OptionRules, SortAndListingModeAndEasyMode)
{
    Start();
    ChooseItem(Win(L"cboSortSave"), 0);
    EXPECT_FALSE(Enabled(L"optAscSave0"));
    ChooseItem(Win(L"cboSortSave"), 1);
    EXPECT_TRUE(Enabled(L"optAscSave1"));

    ChooseItem(Win(L"comSaveMode"), 1);  // 僅資料夾
    for (MainPart name : MainParts{L"cboSortSave", L"optAscSave0", L"optAscSave1"})
        EXPECT_FALSE(Enabled(name)) << name.Text();
    EXPECT_TRUE(Enabled(L"chkEmptyFolder"));

    ClickButton(Win(L"chkEasy"));
    EXPECT_FALSE(Enabled(L"chkEmptyFolder"));
    EXPECT_FALSE(Enabled(L"comFormat"));
    EXPECT_FALSE(Enabled(L"lblSaveFormat"));
    EXPECT_TRUE(Enabled(L"chkDelEXE"));
    EXPECT_TRUE(Enabled(L"chkFullPath"));

    ChooseItem(Win(L"comSaveMode"), 0);  // 僅檔案
    EXPECT_FALSE(Enabled(L"chkEmptyFolder"));
    LetMessagesRun(GetDoubleClickTime() + 100);  // two quick clicks would be a double-click
    ClickButton(Win(L"chkEasy"));
    // Unchecking easy mode enables it whatever the listing mode.
    EXPECT_TRUE(Enabled(L"chkEmptyFolder"));
    EXPECT_FALSE(Enabled(L"chkDelEXE"));
}

TEST_F(OptionRules, OptionPairsAreExclusiveAndTheDepthListFollows)
{
    frmMain& main = Start();
    ClickButton(Win(L"optAscSave1"));
    EXPECT_TRUE(main.Control(L"optAscSave1").Checked());
    EXPECT_FALSE(main.Control(L"optAscSave0").Checked());
    ClickButton(Win(L"optAscSave0"));
    EXPECT_TRUE(main.Control(L"optAscSave0").Checked());
    EXPECT_FALSE(main.Control(L"optAscSave1").Checked());

    ClickButton(Win(L"optIndentLevel1"));
    EXPECT_TRUE(Enabled(L"comIndentLevel"));
    EXPECT_FALSE(main.Control(L"optIndentLevel0").Checked());
    ChooseItem(Win(L"comIndentLevel"), 6);
    ClickButton(Win(L"optIndentLevel0"));
    EXPECT_FALSE(Enabled(L"comIndentLevel"));
    EXPECT_FALSE(main.Control(L"optIndentLevel1").Checked());
    EXPECT_EQ(WindowTextOf(Win(L"comIndentLevel")), L"7");
}

TEST_F(FilterColumn, ScrollBarAndWheelMoveTheColumn)
{
    frmMain& main = Start();
    int maximum = main.ScrollMax();
    ASSERT_GT(maximum, 2);
    HostPanel* client = &main.Panel(L"picClient");

    SendMessageW(Win(L"picScrollBox"), WM_VSCROLL, SB_LINEDOWN, reinterpret_cast<LPARAM>(Win(L"vscScroll")));
    EXPECT_EQ(main.ScrollValue(), 1);
    EXPECT_EQ(client->Top(), -120);

    SendMessageW(Win(L"picScrollBox"), WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, maximum - 1),
                 reinterpret_cast<LPARAM>(Win(L"vscScroll")));
    EXPECT_EQ(main.ScrollValue(), maximum - 1);
    // Toward the user on the last-but-one step: only to the last step.
    SendMessageW(main.hwnd(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-120)), MAKELPARAM(100, 100));
    EXPECT_EQ(main.ScrollValue(), maximum);
    EXPECT_EQ(client->Top(), -120 * maximum);
    SendMessageW(main.hwnd(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-120)), MAKELPARAM(100, 100));
    EXPECT_EQ(main.ScrollValue(), maximum);
    SendMessageW(main.hwnd(), WM_MOUSEWHEEL, MAKEWPARAM(0, 120), MAKELPARAM(100, 100));
    EXPECT_EQ(main.ScrollValue(), maximum - 2);
}

TEST_F(SingleInstance, ASecondStartShowsNothingAndLeavesTheSettings)
{
    Start();
    std::string before = ReadFileBytes(program / L"Setting.ini");
    TestFolder otherProgram;
    frmMain second(otherProgram.Path());
    EXPECT_FALSE(second.Load());
    EXPECT_EQ(second.hwnd(), nullptr);
    EXPECT_EQ(ReadFileBytes(otherProgram / L"Setting.ini"), "");
    EXPECT_EQ(ReadFileBytes(program / L"Setting.ini"), before);
    EXPECT_TRUE(window->IsOpen());
}

TEST_F(Settings, ClosingWithTheCloseBoxOrExitSavesAndTheNextStartRestores)
{
    TestFolder listed;
    frmMain& main = Start();
    main.Treeview().Path(listed.Path());
    ChooseItem(Win(L"comFormat"), 2);
    ChooseItem(Win(L"cboSize"), 3);
    ClickButton(Win(L"chkSubDirSave"));
    SendMessageW(main.hwnd(), WM_SYSCOMMAND, SC_CLOSE, 0);
    LetMessagesRun();
    EXPECT_FALSE(main.IsOpen());
    std::wstring saved = SettingsBytes();
    EXPECT_NE(saved.find(L"Format=2\r\n"), std::wstring::npos) << saved;
    EXPECT_NE(saved.find(L"Size=3\r\n"), std::wstring::npos);
    EXPECT_NE(saved.find(L"ScanSubFolders=1\r\n"), std::wstring::npos);
    EXPECT_NE(saved.find(L"ExplorerPath=" + listed.Path() + L"\\\r\n"), std::wstring::npos);

    frmMain& again = Start();
    EXPECT_EQ(WindowTextOf(Win(L"comFormat")), L"HTML");
    EXPECT_EQ(again.Treeview().Path(), listed.Path() + L"\\");
    EXPECT_TRUE(again.Control(L"chkSubDirSave").Checked());
    ChooseItem(Win(L"comFormat"), 3);
    ClickButton(Win(L"cmdExit"));
    LetMessagesRun();
    EXPECT_FALSE(again.IsOpen());
    EXPECT_NE(SettingsBytes().find(L"Format=3\r\n"), std::wstring::npos);
}

TEST_F(Settings, ASettingsFileThatCannotBeSavedIsReportedOnClosing)
{
    program.MakeFolder(L"Setting.ini");
    frmMain& main = Start();
    HWND owner = nullptr;
    DialogAnswerer answerer(
        [&owner](HWND box) {
            owner = GetWindow(box, GW_OWNER);
            ClickDialogButton(box, IDOK);
        },
        L"Quorvane Ver 1.06");
    HWND window = main.hwnd();
    ClickButton(Win(L"cmdExit"));
    answerer.Wait();
    ASSERT_TRUE(answerer.Answered());
    EXPECT_EQ(owner, window);
    EXPECT_NE(answerer.SeenText().find(L"設定檔無法儲存：\r\n" + (program / L"Setting.ini") + L"\r\n"),
              std::wstring::npos)
        << answerer.SeenText().size();
    EXPECT_FALSE(main.IsOpen());
}

TEST_F(Settings, TheEndOfTheSessionSavesThemAsClosingDoes)
{
    frmMain& main = Start();
    ChooseItem(Win(L"comFormat"), 2);
    DeleteFileW((program / L"Setting.ini").c_str());
    EXPECT_EQ(SendMessageW(main.hwnd(), WM_QUERYENDSESSION, 0, 0), TRUE);
    SendMessageW(main.hwnd(), WM_ENDSESSION, FALSE, 0);  // the session goes on after all
    EXPECT_EQ(ReadFileBytes(program / L"Setting.ini"), "");
    SendMessageW(main.hwnd(), WM_ENDSESSION, TRUE, 0);
    EXPECT_NE(SettingsBytes().find(L"Format=2\r\n"), std::wstring::npos);
}

TEST_F(FolderInfo, SelectingAFolderShowsItsStatistics)
{
    TestFolder listed;
    for (auto name : {L"a.txt", L"b.txt", L"c.txt"}) listed.MakeFile(name, std::string(1234, 'x'));
    listed.MakeFolder(L"one");
    listed.MakeFolder(L"two");
    frmMain& main = Start();
    main.Treeview().Path(listed.Path());
    LetMessagesRun();
    EXPECT_TRUE(main.FolderSelected());
    EXPECT_EQ(main.FolderInfoLines()[0], L"目錄大小：3.62 KB (3,702 位元組)");
    EXPECT_EQ(main.FolderInfoLines()[2], L"內含　　：3 個檔案，2 個資料夾");

    // The desktop root is no folder to list; the panel keeps what it showed.
    SendMessageW(Win(L"Treeview"), TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(main.Treeview().pvTVGetRoot()));
    LetMessagesRun();
    EXPECT_FALSE(main.FolderSelected());
    EXPECT_EQ(main.FolderInfoLines()[2], L"內含　　：3 個檔案，2 個資料夾");
    DialogAnswerer none(DismissDialog);
    ClickButton(Win(L"cmdSave"));
    none.StopLooking();
    EXPECT_EQ(none.AnsweredCount(), 0u);
}

TEST_F(FolderInfo, ACountOvertakenByANewSelectionIsDropped)
{
    TestFolder parent;
    parent.MakeFolder(L"big");
    for (int i = 0; i < 100; ++i) parent.MakeFile(L"big\\file " + std::to_wstring(i));
    parent.MakeFolder(L"small");
    parent.MakeFile(L"small\\only.txt", "x");
    frmMain& main = Start();
    main.Treeview().Path(parent.Path() + L"\\small");
    HTREEITEM small = main.Treeview().SelectedNode();
    ASSERT_NE(small, nullptr);

    // The tree reports a change before the window counts the new folder: a selection
    // posted then arrives inside that count, as a click during a long count does.
    HWND tree = Win(L"Treeview");
    auto windowsHandler = main.Treeview().ChangeAfter;
    bool posted = false;
    main.Treeview().ChangeAfter = [&, windowsHandler](const std::wstring& previous) {
        if (!posted) PostMessageW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(small));
        posted = true;
        if (windowsHandler) windowsHandler(previous);
    };
    main.Treeview().Path(parent.Path() + L"\\big");
    LetMessagesRun();
    ASSERT_TRUE(posted);
    EXPECT_EQ(main.Treeview().SelectedNode(), small);
    EXPECT_TRUE(main.FolderSelected());
    EXPECT_EQ(main.FolderInfoLines()[2], L"內含　　：1 個檔案，0 個資料夾");
}

using SaveJob = MainWindowTest;

TEST_F(SaveJob, ScrapeTakesTheOptionsFromTheControls)
{
    TestFolder listed;
    frmMain& main = Start();
    main.Treeview().Path(listed.Path());
    ChooseItem(Win(L"comSaveMode"), 1);   // 僅資料夾
    ChooseItem(Win(L"cboSortSave"), 0);   // 不排序
    ClickButton(Win(L"chkSubDirSave"));
    ClickButton(Win(L"chkHiddenSave"));
    SendMessageW(Win(L"cboFFSave"), CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    SetWindowTextW(Win(L"cboFFSave"), L"*.log");
    main.ScrapeSaveJob();
    const JobInfo& job = main.CurrentJob();
    EXPECT_EQ(job.RootFolder(), listed.Path() + L"\\");
    EXPECT_FALSE(job.ShowFiles());
    EXPECT_TRUE(job.ShowFolders());
    EXPECT_EQ(job.SortKey(), 0);
    EXPECT_TRUE(job.IncludeSubFolders());
    EXPECT_FALSE(job.IncludeHidden());
    EXPECT_TRUE(job.IncludeSystem());
    EXPECT_EQ(job.FileFilter(), L"*.log");
    EXPECT_EQ(job.FolderFilter(), L"*");

    ChooseItem(Win(L"cboFFSave"), 0);
    ChooseItem(Win(L"cboSortSave"), 3);
    ClickButton(Win(L"optAscSave1"));
    main.ScrapeSaveJob();
    EXPECT_EQ(job.FileFilter(), main.FileTypes()[0].Type);
    EXPECT_EQ(job.SortKey(), 6);
    EXPECT_EQ(job.SortOrder(), 1);
}

TEST_F(SaveJob, DisplayShowsTheJobsListingMode)
{
    frmMain& main = Start();
    JobInfo neither;
    neither.SetShowFiles(false);
    neither.SetShowFolders(false);
    main.DispSaveJob(neither);
    EXPECT_EQ(SelectedIndex(Win(L"comSaveMode")), 0);
    JobInfo folders;
    folders.SetShowFiles(false);
    main.DispSaveJob(folders);
    EXPECT_EQ(SelectedIndex(Win(L"comSaveMode")), 1);
}
