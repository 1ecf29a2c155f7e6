#include <gtest/gtest.h>

#include <shlobj.h>

#include <algorithm>
#include <cstring>
#include <cwctype>
#include <thread>
#include <tuple>
#include <utility>

#include "UiSupport.h"
#include "ui/FolderHandOver.h"

namespace {

HTREEITEM Next(HWND tree, HTREEITEM node, UINT relation)
{
    return reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(node)));
}

// The labels of a node's children, "+" after those with an expand button.
std::vector<std::wstring> Children(HWND tree, HTREEITEM node)
{
    std::vector<std::wstring> labels;
    for (HTREEITEM child = Next(tree, node, TVGN_CHILD); child; child = Next(tree, child, TVGN_NEXT)) {
        wchar_t text[MAX_PATH] = {};
        TVITEMW item{TVIF_TEXT | TVIF_CHILDREN, child, 0, 0, text, MAX_PATH, 0, 0, 0, 0};
        SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
        labels.push_back(std::wstring(text) + (item.cChildren ? L"+" : L""));
    }
    return labels;
}

// Opens or closes the selected node with the keyboard.
void PressKey(HWND tree, UINT key)
{
    SendMessageW(tree, WM_KEYDOWN, key, 0);
    SendMessageW(tree, WM_KEYUP, key, 0);
}

using MainWindow = MainWindowTest;
using Labels = std::vector<std::wstring>;

}  // namespace

TEST_F(MainWindow, FirstStartShowsTheDefaultsAndTheRulesFollowEachChoice)
{
    frmMain& main = Start();
    EXPECT_EQ(Shown({L"comSaveMode", L"comIndentLevel", L"cboSizeType1", L"txtMinSize", L"cboFFSave"}),
              L"兩者皆是|3|MB|50|所有檔案 (*.*)");
    for (MainControl name : MainControls{L"chkHiddenSave", L"chkSubDirSave", L"chkEasy", L"chkDelEXE", L"chkFullPath"})
        EXPECT_EQ(Checked(name), name == MainControl(L"chkHiddenSave")) << name.Text();
    EXPECT_EQ(main.OutputFolder() + L"|" + main.StatusText(), L"C:\\|就緒 ...");
    EXPECT_TRUE(IsWindowVisible(Win(L"picSave")) && !IsWindowVisible(Win(L"picStop")));
    EXPECT_FALSE(main.FolderSelected());  // the saved path "\" selects no node

    // Which of these are enabled after each step, then the two size labels; the first step is
    // the start itself, where the listing mode "兩者皆是" enables the direction "不排序" disabled.
    const MainParts parts{L"cboSortSave", L"optAscSave0",  L"optAscSave1",  L"chkEmptyFolder", L"comFormat",
                          L"lblSaveFormat", L"chkDelEXE",  L"chkFullPath",  L"comIndentLevel", L"lblSizeForm",
                          L"txtMinSize",  L"cboSizeType0", L"lblSizeTo",    L"txtMaxSize",     L"cboSizeType1",
                          L"ClsDate1",    L"ClsDate2",     L"lblTmrForm",   L"lblTmrTo"};
    const std::pair<std::vector<Act>, std::wstring> steps[] = {
        {{}, L"111 1 11 00 0 000 000 0000 小於：大於："},
        {{{L"cboSize", 3}}, L"111 1 11 00 0 111 111 0000 從：到："},
        {{{L"cboSize", 2}}, L"111 1 11 00 0 000 111 0000 小於：大於："},
        {{{L"cboSize", 1}}, L"111 1 11 00 0 111 000 0000 小於：大於："},
        {{{L"cboDate", 1}}, L"111 1 11 00 0 111 000 1111 小於：大於："},
        {{{L"cboDate", 0}}, L"111 1 11 00 0 111 000 0000 小於：大於："},
        {{{L"cboSortSave", 0}}, L"100 1 11 00 0 111 000 0000 小於：大於："},
        {{{L"cboSortSave", 1}}, L"111 1 11 00 0 111 000 0000 小於：大於："},
        {{{L"comSaveMode", 1}}, L"000 1 11 00 0 111 000 0000 小於：大於："},
        {{{L"chkEasy"}}, L"000 0 00 11 0 111 000 0000 小於：大於："},
        {{{L"comSaveMode", 0}}, L"111 0 00 11 0 111 000 0000 小於：大於："},
        // Unchecked, easy mode enables "忽略空資料夾" whatever the listing mode.
        {{{L"chkEasy"}}, L"111 1 11 00 0 111 000 0000 小於：大於："},
        {{{L"optIndentLevel1"}, {L"comIndentLevel", 6}}, L"111 1 11 00 1 111 000 0000 小於：大於："},
        {{{L"optIndentLevel0"}, {L"optAscSave1"}}, L"111 1 11 00 0 111 000 0000 小於：大於："},
    };
    for (const auto& [acts, expected] : steps) {
        Do(main, acts);
        std::wstring enabled;
        for (MainPart part : parts) enabled += Enabled(part) ? L'1' : L'0';
        std::wstring wanted = expected;
        std::erase(wanted, L' ');
        EXPECT_EQ(enabled + WindowTextOf(Win(L"lblSizeForm")) + WindowTextOf(Win(L"lblSizeTo")), wanted) << expected;
    }
    EXPECT_EQ(WindowTextOf(Win(L"comIndentLevel")), L"7");  // kept while disabled
    EXPECT_TRUE(Checked(L"optIndentLevel0") && !Checked(L"optIndentLevel1") && Checked(L"optAscSave1") &&
                !Checked(L"optAscSave0"));

    // The filter column scrolls by steps of 120 twips; the wheel by two steps within the range.
    int last = main.ScrollMax();
    ASSERT_GT(last, 2);
    auto scroll = [&](WPARAM code) {
        SendMessageW(Win(L"picScrollBox"), WM_VSCROLL, code, reinterpret_cast<LPARAM>(Win(L"vscScroll")));
    };
    auto wheel = [&](short delta) { SendMessageW(main.hwnd(), WM_MOUSEWHEEL, MAKEWPARAM(0, delta), MAKELPARAM(9, 9)); };
    scroll(SB_LINEDOWN);
    EXPECT_EQ(main.Panel(L"picClient").Top(), -120);
    scroll(MAKEWPARAM(SB_THUMBPOSITION, last - 1));
    wheel(-120);  // toward the user on the last-but-one step: only to the last one
    EXPECT_EQ(main.Panel(L"picClient").Top(), -120 * last);
    wheel(-120);
    EXPECT_EQ(main.ScrollValue(), last);
    wheel(120);
    EXPECT_EQ(main.ScrollValue(), last - 2);

    // The close box saves what the window shows.
    SendMessageW(main.hwnd(), WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_FALSE(main.IsOpen());
    for (const wchar_t* line : {L"SaveMode=0\r\n", L"SortSave=1\r\n", L"Size=1\r\n", L"DirectoryLevel=6\r\n"})
        EXPECT_NE(SettingsText().find(line), std::wstring::npos) << line;
}

TEST_F(MainWindow, TheTreeLoadsFoldersWhenOpenedAndTheSelectedOneIsCounted)
{
    TestFolder folder;
    for (const wchar_t* name : {L"parent", L"parent\\b-leaf", L"parent\\a-branch", L"parent\\a-branch\\inner", L"big",
                                L"holder", L"holder\\inner"})
        folder.MakeFolder(name);
    for (const wchar_t* name : {L"parent\\a.txt", L"parent\\b.txt", L"parent\\c.txt"})
        folder.MakeFile(name, std::string(1234, 'x'));
    for (int i = 0; i < 300; ++i) folder.MakeFile(L"big\\file " + std::to_wstring(i));
    frmMain& main = Start();
    clsTreeView& tree = main.Treeview();
    HWND view = Win(L"Treeview");
    std::wstring previous;
    tree.ChangeAfter = [&previous](const std::wstring& path) { previous = path; };

    HTREEITEM root = tree.pvTVGetRoot();
    // Assigning a path opens the way to it; a change reports the path selected before.
    tree.Path(folder / L"holder");
    tree.Path(folder / L"parent");
    EXPECT_EQ(previous, folder / L"holder\\");
    EXPECT_EQ(tree.Path(), folder / L"parent\\");
    // Counted on a thread of its own.
    LetMessagesRunUntil([&] { return main.FolderInfoLines()[2] == L"內含　　：3 個檔案，2 個資料夾"; });
    EXPECT_TRUE(main.FolderSelected());
    EXPECT_EQ(main.FolderInfoLines()[0], L"目錄大小：3.62 KB (3,702 位元組)");
    EXPECT_EQ(main.FolderInfoLines()[2], L"內含　　：3 個檔案，2 個資料夾");

    // Opening loads the subfolders sorted, buttons only where there are more (or too many
    // entries to look through); reopening rereads.
    HTREEITEM parent = tree.SelectedNode();
    EXPECT_EQ(Children(view, Next(view, parent, TVGN_PARENT)), (Labels{L"big+", L"holder+", L"parent+"}));
    PressKey(view, VK_ADD);
    EXPECT_EQ(Children(view, parent), (Labels{L"a-branch+", L"b-leaf"}));
    PressKey(view, VK_SUBTRACT);
    folder.MakeFolder(L"parent\\c-new");
    PressKey(view, VK_ADD);
    EXPECT_EQ(Children(view, parent), (Labels{L"a-branch+", L"b-leaf", L"c-new"}));

    tree.Path(folder / L"holder");
    HTREEITEM holder = tree.SelectedNode();

    // The desktop is no folder to list: the panel keeps what it showed and Save does nothing.
    tree.Path(folder / L"parent");
    LetMessagesRunUntil([&] { return main.FolderInfoLines()[2] == L"內含　　：3 個檔案，3 個資料夾"; });
    SendMessageW(view, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(root));
    LetMessagesRun();
    EXPECT_EQ(tree.Path().back(), L'\\');  // the documents folder
    EXPECT_FALSE(main.FolderSelected());
    EXPECT_EQ(main.FolderInfoLines()[2], L"內含　　：3 個檔案，3 個資料夾");
    int asked = 0;
    main.Chooser().SetBrowser([&asked](HWND, const std::wstring&) { return ++asked, std::wstring(); });
    DialogAnswerer none;
    ClickButton(Win(L"cmdSave"));
    EXPECT_TRUE(none.StopLooking().empty());
    EXPECT_EQ(asked, 0);

    // A selection made while a large folder is counted wins over it. The tree reports a
    // change before the window counts: a selection posted then arrives inside that count,
    // as a click during a long count does.
    bool posted = false;
    tree.ChangeAfter = [&](const std::wstring&) {
        if (!std::exchange(posted, true))
            PostMessageW(view, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(holder));
    };
    tree.Path(folder / L"big");
    LetMessagesRunUntil([&] { return main.FolderInfoLines()[2] == L"內含　　：0 個檔案，1 個資料夾"; });
    ASSERT_TRUE(posted);
    EXPECT_EQ(tree.SelectedNode(), holder);
    EXPECT_TRUE(main.FolderSelected());
    EXPECT_EQ(main.FolderInfoLines()[2], L"內含　　：0 個檔案，1 個資料夾");
}

TEST_F(MainWindow, StartRestoresTheSettingsAndSelectsAFolderFromOutside)
{
    TestFolder listed;
    listed.MakeFolder(L"Sub Folder");
    std::wstring file = listed.MakeFile(L"a.txt");
    const std::wstring target = listed / L"Sub Folder\\";
    // The tree's table is case-sensitive: the path comes in another spelling.
    std::wstring given = listed / L"sub folder";
    given[0] = static_cast<wchar_t>(towlower(given[0]));
    WriteSettings({L"[Setting]", L"ExplorerPath=" + listed.Path() + L"\\", L"Format=2", L"ScanSubFolders=1",
                   L"ScanHidden=0", L"SortSave=5", L"Date=3", L"Size=4", L"SaveFilter=*.EXE;*.dll;*.ocx;*.com"});
    frmMain& main = Start();
    EXPECT_EQ(main.Treeview().Path(), listed.Path() + L"\\");
    // A number past a list's last item selects nothing.
    EXPECT_EQ(Shown({L"comFormat", L"cboSortSave", L"cboFFSave", L"cboDate", L"cboSize"}),
              L"HTML|最後修改時間|執行檔案|最後存取日期|");
    EXPECT_EQ(window->Control(L"cboFFSave").ListIndex(), 2);  // found by its patterns in any letter case
    EXPECT_TRUE(Checked(L"chkSubDirSave") && !Checked(L"chkHiddenSave"));

    // Given at start, a folder wins over the saved one.
    Start(given);
    EXPECT_EQ(window->Treeview().Path(), target);

    // Dropped: the first dropped folder; a file is no folder.
    auto drop = [this](const std::wstring& paths) {  // each path ends with a NUL
        HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + (paths.size() + 1) * sizeof(wchar_t));
        auto* header = static_cast<DROPFILES*>(GlobalLock(memory));
        header->pFiles = sizeof(DROPFILES);
        header->fWide = TRUE;
        std::memcpy(header + 1, paths.c_str(), (paths.size() + 1) * sizeof(wchar_t));
        GlobalUnlock(memory);
        SendMessageW(window->hwnd(), WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0);
    };
    drop(file + L'\0');
    EXPECT_EQ(window->Treeview().Path(), target);
    drop(file + L'\0' + listed.Path() + L'\0' + given + L'\0');
    EXPECT_EQ(window->Treeview().Path(), listed.Path() + L"\\");

    // From a second start, which ends at once; the window comes back from the task bar.
    ShowWindow(window->hwnd(), SW_MINIMIZE);
    TestFolder copy;
    // "Send To" quotes a path with its trailing backslash: \" reaches the program as a quote.
    ProgramRun second = RunProgram(CopyOfProgram(copy), L"\"" + given + L"\\\"");
    LetMessagesRun();
    EXPECT_EQ(second.ExitCode, 0u);
    EXPECT_EQ(window->Treeview().Path(), target);
    EXPECT_FALSE(IsIconic(window->hwnd()));
    EXPECT_TRUE(FilesIn(copy.Path()) == Labels{L"Quorvane.exe"});
    // The command line lists while the window runs.
    ProgramRun list = RunProgram(CopyOfProgram(copy), Arguments({L"/list", listed.Path(), L"/out", copy.Path()}));
    EXPECT_EQ(list.ExitCode, 0u) << list.Errors;
    EXPECT_EQ(FilesIn(copy.Path()).size(), 2u);

    // Exit reports settings it cannot save.
    DeleteFileW((program / L"Setting.ini").c_str());
    program.MakeFolder(L"Setting.ini");
    HWND mainWindow = window->hwnd();
    DialogAnswerer answerer;
    ClickButton(Win(L"cmdExit"));
    const std::vector<SeenDialog>& seen = answerer.StopLooking();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_NE(seen[0].Text.find(L"設定檔無法儲存：\r\n" + (program / L"Setting.ini") + L"\r\n"), std::wstring::npos);
    EXPECT_TRUE(seen[0].Caption == L"Quorvane Ver 1.06" && seen[0].Owner == mainWindow);
    EXPECT_FALSE(window->IsOpen());
}

TEST_F(MainWindow, AFolderHandedOverWhileTheWindowStartsIsSelectedOnceItIsUpAnotherProgramsDataIsNot)
{
    TestFolder listed;
    std::wstring other = listed.MakeFolder(L"other");
    bool taken = false;
    std::thread second([&] { taken = HandFolderToRunningWindow(listed.Path()); });
    Sleep(150);  // it looks for the window before there is one
    frmMain& main = Start();
    LetMessagesRunUntil([&] { return main.Treeview().Path() == listed.Path() + L"\\"; });
    second.join();
    EXPECT_TRUE(taken);
    EXPECT_EQ(main.Treeview().Path(), listed.Path() + L"\\");
    COPYDATASTRUCT data{1, static_cast<DWORD>((other.size() + 1) * sizeof(wchar_t)), other.data()};
    EXPECT_EQ(SendMessageW(main.hwnd(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data)), FALSE);
    EXPECT_EQ(main.Treeview().Path(), listed.Path() + L"\\");
}

TEST_F(MainWindow, TheKeyboardMovesThroughTheControlsAsInADialog)
{
    frmMain& main = Start();
    auto focused = [this](MainPart part) { return HasFocus(Win(part)); };
    EXPECT_TRUE(focused(L"Treeview"));  // the first control has the focus at start
    // Tab in reading order and around; disabled controls are skipped, an option pair is
    // one stop at its checked button. The filter column scrolls to what takes the focus.
    const MainParts order{L"comSaveMode",    L"comFormat",     L"chkEasy",       L"chkSubDirSave", L"optIndentLevel0",
                          L"chkEmptyFolder", L"chkSystemSave", L"chkHiddenSave", L"chkReadOnlySave", L"cboSortSave",
                          L"optAscSave0",    L"cboSize",       L"cboDate",       L"cboFFSave",     L"cmdEdit",
                          L"cmdSave",        L"cmdExit",       L"Treeview"};
    const MainParts buttons{L"cmdEdit", L"cmdSave", L"cmdExit"};
    for (MainPart part : order) {
        PressKey(VK_TAB);
        EXPECT_TRUE(focused(part)) << part.Text();
        EXPECT_TRUE(!(part == MainPart(L"cboFFSave")) || main.ScrollValue() == main.ScrollMax());
        // The button Enter presses looks like the default one: the focused button, else Save.
        std::wstring looks;
        for (MainPart button : buttons)
            if ((GetWindowLongPtrW(Win(button), GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON) looks += button.Text();
        bool onButton = std::find(buttons.begin(), buttons.end(), part) != buttons.end();
        EXPECT_EQ(looks, onButton ? part.Text() : L"cmdSave") << part.Text();
    }
    // Shift+Tab goes back, to the top of the column again.
    for (auto part = order.rbegin() + 1; part != order.rend(); ++part) {
        PressKey(VK_TAB, true);
        EXPECT_TRUE(focused(*part)) << part->Text();
    }
    EXPECT_EQ(main.ScrollValue(), 0);

    // Space checks a box; the arrows select within an option pair and around it, with the
    // pair's rules: the checked options, then whether the depth list is enabled.
    const MainControls options{L"chkEasy", L"optIndentLevel0", L"optIndentLevel1", L"optAscSave0", L"optAscSave1"};
    const std::tuple<std::vector<UINT>, MainPart, const wchar_t*> steps[] = {
        {{VK_TAB, VK_TAB, VK_SPACE, VK_TAB}, L"chkDelEXE", L"1 10 10 0"},  // enabled by easy mode
        {{VK_TAB, VK_TAB, VK_TAB, VK_DOWN}, L"optIndentLevel1", L"1 01 10 1"},
        {{VK_DOWN}, L"optIndentLevel0", L"1 10 10 0"},
        {{VK_UP, VK_TAB}, L"comIndentLevel", L"1 01 10 1"},
        {{VK_TAB, VK_TAB, VK_TAB, VK_TAB, VK_TAB, VK_RIGHT}, L"optAscSave1", L"1 01 01 1"},
        {{VK_LEFT}, L"optAscSave0", L"1 01 10 1"},
    };
    for (const auto& [keys, focus, expected] : steps) {
        for (UINT key : keys) PressKey(key);
        std::wstring shown;
        for (MainControl option : options) {
            if (shown.size() == 1 || shown.size() == 4) shown += L' ';
            shown += Checked(option) ? L'1' : L'0';
        }
        EXPECT_TRUE(focused(focus)) << focus.Text();
        EXPECT_EQ(shown + L" " + std::to_wstring(Enabled(L"comIndentLevel")), expected) << focus.Text();
    }
}
