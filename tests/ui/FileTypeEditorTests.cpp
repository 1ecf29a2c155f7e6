#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <functional>
#include <thread>
#include <vector>

#include "MainWindowSupport.h"
#include "fs/OutputFile.h"
#include "support/Dialogs.h"
#include "ui/FileTypeEditor.h"
#include "ui/Texts.h"

namespace {

struct Group {
    std::wstring Title;
    std::wstring Patterns;
    friend bool operator==(const Group&, const Group&) = default;
};

using EditorParts = std::initializer_list<EditorPart>;

// Control names are ASCII.
std::string Narrow(const wchar_t* name)
{
    std::string text;
    for (; *name; ++name) text.push_back(static_cast<char>(*name));
    return text;
}

const std::vector<Group> kDefaultGroups = {
    {L"文書檔案", L"*.txt;*.rtf;*.dot;*.xls;*.xlt;*.mdb;*.ppt;*.pps;*.pdf;*.doc;*.xlw;*.mht;*.xml;*.pot;*.ppz;*.xlb;*.wks;*."
              L"tsv;*.csv"},
    {L"執行檔案", L"*.exe;*.dll;*.ocx;*.com"},
    {L"網頁檔案", L"*.htm;*.html;*.shmtl;*.asp;*.aspx;*.php;*.jsp;*.css;*.url"},
    {L"圖片檔案", L"*.jpeg;*.jpg;*.bmp;*.gif;*.dib;*.ico;*.png;*.psd;*.pcx"},
    {L"壓縮檔案", L"*.zip;*.rar;*.cab;*.arj;*.ace;*.lzh;*.tar;*.gzip;*.jar;*.7z;*.z;*.bz2;*.uue"},
    {L"聲音檔案", L"*.ape;*.cda;*.mid;*.midi;*.mod;*.mp3;*.mp2;*.mp1;*.ogg;*.wav;*.voc;*.au;*.wma;*.ra;*.ram"},
    {L"影片檔案", L"*.mpg;*.mpeg;*.avi;*.asf;*.wmv;*.rm;*.rmvb;*.dat"},
    {L"光碟映像檔", L"*.bin;*.iso;*.cue;*.bwi;*.bwt;*.bws;*.img;*.sub;*.ccd;*.cdi;*.cdp;*.cif;*.dao;*.tao;*.mdf;*.mds;*."
                L"nrg;*.vcd;*.fcd"},
    {L"系統暫存檔", L"*.tmp;*._mp;*.bak;*.old;*.log;*.chk;*.gid"},
};

const wchar_t kAllFiles[] = L"所有檔案 (*.*)";

// UTF-16LE with the byte-order mark; CR LF after every line but, optionally, the last.
std::string Utf16Text(const std::vector<std::wstring>& lines, bool endLastLine = true)
{
    std::string bytes = "\xFF\xFE";
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::wstring line = lines[i];
        if (endLastLine || i + 1 < lines.size()) line += L"\r\n";
        for (wchar_t c : line) {
            bytes.push_back(static_cast<char>(c & 0xFF));
            bytes.push_back(static_cast<char>((c >> 8) & 0xFF));
        }
    }
    return bytes;
}

// What a save from the editor writes for these groups.
std::string SavedFile(const std::vector<Group>& groups)
{
    std::vector<std::wstring> lines{L"[FileType]"};
    for (std::size_t n = 1; n <= groups.size(); ++n) {
        lines.push_back(L"Title" + std::to_wstring(n) + L"=" + groups[n - 1].Title);
        lines.push_back(L"Type" + std::to_wstring(n) + L"=" + groups[n - 1].Patterns);
    }
    lines.push_back(L"TypeList=" + std::to_wstring(groups.size()));
    return Utf16Text(lines);
}

// The built-in default: the count second, no line end after the last line.
std::string DefaultFile()
{
    std::vector<std::wstring> lines{L"[FileType]", L"TypeList=9"};
    for (std::size_t n = 1; n <= kDefaultGroups.size(); ++n) {
        lines.push_back(L"Title" + std::to_wstring(n) + L"=" + kDefaultGroups[n - 1].Title);
        lines.push_back(L"Type" + std::to_wstring(n) + L"=" + kDefaultGroups[n - 1].Patterns);
    }
    return Utf16Text(lines, false);
}

std::vector<Group> DefaultsWith(std::size_t index, Group group)
{
    std::vector<Group> groups = kDefaultGroups;
    groups[index] = std::move(group);
    return groups;
}

std::vector<Group> DefaultsWithout(std::initializer_list<std::size_t> indexes)
{
    std::vector<Group> groups;
    for (std::size_t i = 0; i < kDefaultGroups.size(); ++i) {
        if (std::find(indexes.begin(), indexes.end(), i) == indexes.end()) groups.push_back(kDefaultGroups[i]);
    }
    return groups;
}

std::vector<std::wstring> TitlesOf(const std::vector<Group>& groups)
{
    std::vector<std::wstring> titles{kAllFiles};
    for (const Group& group : groups) titles.push_back(group.Title);
    return titles;
}

std::vector<std::wstring> Split(const std::wstring& patterns)
{
    std::vector<std::wstring> pieces;
    std::size_t start = 0;
    for (std::size_t end; (end = patterns.find(L';', start)) != std::wstring::npos; start = end + 1)
        pieces.push_back(patterns.substr(start, end - start));
    pieces.push_back(patterns.substr(start));
    return pieces;
}

// Drives the open editor as a user does, from a thread other than the editor's: every
// call is a real message to one of its real child windows.
class EditorDriver {
public:
    explicit EditorDriver(frmFFEdit& editor) : editor_(editor) {}

    frmFFEdit& Editor() { return editor_; }
    HWND Win(EditorPart name) const { return editor_.Window(name); }
    HWND EditorWindow() const { return editor_.hwnd(); }
    bool Enabled(EditorPart name) const { return IsWindowEnabled(Win(name)) != FALSE; }
    bool Visible(EditorPart name) const { return IsWindowVisible(Win(name)) != FALSE; }
    bool Editing() const { return Visible(L"fraFF"); }
    std::wstring Text(EditorPart name) const { return WindowTextOf(Win(name)); }

    // Clicks only what a user could click.
    void Click(EditorPart name)
    {
        EXPECT_TRUE(Enabled(name)) << "clicking a disabled " << Narrow(name.Text());
        ClickButton(Win(name));
    }
    void SetText(EditorPart name, const std::wstring& text)
    {
        SendMessageW(Win(name), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    void TypeKeys(EditorPart name, const std::wstring& keys)
    {
        for (wchar_t key : keys) SendMessageW(Win(name), WM_CHAR, key, 1);
    }
    void Key(EditorPart list, WPARAM key)
    {
        SendMessageW(Win(list), WM_KEYDOWN, key, 1);
        SendMessageW(Win(list), WM_KEYUP, key, 0xC0000001);
    }
    // Selects just this row (none for -1), as the mouse or the keyboard would.
    void SelectRow(EditorPart list, int row)
    {
        LVITEMW item{};
        item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageW(Win(list), LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
        if (row < 0) return;
        item.state = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageW(Win(list), LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    }
    void ClickRow(EditorPart list, int row)
    {
        SelectRow(list, row);
        Notify(list, NM_CLICK, row);
    }
    void DoubleClickRow(EditorPart list, int row)
    {
        ClickRow(list, row);
        Notify(list, NM_DBLCLK, row);
    }
    std::vector<int> SelectedRows(EditorPart list) const
    {
        std::vector<int> rows;
        for (int row = -1; (row = static_cast<int>(SendMessageW(Win(list), LVM_GETNEXTITEM, static_cast<WPARAM>(row),
                                                                 LVNI_SELECTED))) >= 0;)
            rows.push_back(row);
        return rows;
    }
    std::vector<std::wstring> Column(EditorPart list, int column) const
    {
        clsLictView& view = list == EditorPart(L"LvFFs") ? editor_.LvFFs() : editor_.LvExts();
        std::vector<std::wstring> texts;
        for (int row = 0; row < view.ItemCount(); ++row) texts.push_back(view.SubItemText(row, column));
        return texts;
    }
    std::vector<Group> Groups() const
    {
        std::vector<std::wstring> titles = Column(L"LvFFs", 0);
        std::vector<std::wstring> patterns = Column(L"LvFFs", 1);
        std::vector<Group> groups;
        for (std::size_t i = 0; i < titles.size(); ++i) groups.push_back({titles[i], patterns[i]});
        return groups;
    }

private:
    void Notify(EditorPart list, UINT code, int row)
    {
        NMITEMACTIVATE notice{};
        notice.hdr.hwndFrom = Win(list);
        notice.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(Win(list)));
        notice.hdr.code = code;
        notice.iItem = row;
        SendMessageW(GetParent(Win(list)), WM_NOTIFY, notice.hdr.idFrom, reinterpret_cast<LPARAM>(&notice));
    }

    frmFFEdit& editor_;
};

struct FindEditor {
    HWND found = nullptr;
};

BOOL CALLBACK MatchEditor(HWND window, LPARAM parameter)
{
    if (!frmFFEdit::FromWindow(window) || !IsWindowVisible(window)) return TRUE;
    reinterpret_cast<FindEditor*>(parameter)->found = window;
    return FALSE;
}

HWND WaitForEditor(DWORD threadId)
{
    for (int tries = 0; tries < 1000; ++tries) {
        FindEditor search;
        EnumThreadWindows(threadId, MatchEditor, reinterpret_cast<LPARAM>(&search));
        if (search.found) return search.found;
        Sleep(10);
    }
    return nullptr;
}

HWND WaitForMessageBox(DWORD threadId)
{
    for (int tries = 0; tries < 1000; ++tries) {
        if (HWND box = FindThreadDialog(threadId, L"Quorvane Ver 1.06")) return box;
        Sleep(10);
    }
    return nullptr;
}

class FileTypeEditorTest : public MainWindowTest {
protected:
    // Presses the main window's "編 輯"; the steps drive the modal editor from a helper
    // thread. Returns once the editor is closed; true when the steps left it open (it is
    // then closed as its close box would).
    bool EditWith(const std::function<void(EditorDriver&)>& steps)
    {
        DWORD uiThread = GetCurrentThreadId();
        bool leftOpen = false;
        bool found = false;
        std::thread helper([&] {
            HWND window = WaitForEditor(uiThread);
            if (!window) return;
            found = true;
            EditorDriver driver(*frmFFEdit::FromWindow(window));
            steps(driver);
            if (IsWindow(window)) {
                leftOpen = true;
                PostMessageW(window, WM_CLOSE, 0, 0);
            }
            // A window closed by a sent message does not wake the modal loop's wait.
            PostThreadMessageW(uiThread, WM_NULL, 0, 0);
        });
        ClickButton(Win(L"cmdEdit"));
        helper.join();
        EXPECT_TRUE(found) << "the editor did not open";
        return leftOpen;
    }

    std::vector<std::wstring> TypeBoxItems() const
    {
        HWND box = Win(L"cboFFSave");
        std::vector<std::wstring> items;
        int count = static_cast<int>(SendMessageW(box, CB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            std::wstring item(static_cast<std::size_t>(SendMessageW(box, CB_GETLBTEXTLEN, i, 0)) + 1, L'\0');
            item.resize(static_cast<std::size_t>(
                SendMessageW(box, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item.data()))));
            items.push_back(item);
        }
        return items;
    }

    std::string FileBytes() const { return ReadFileBytes(program / L"FileType.txt"); }

    void WriteFileTypes(const std::vector<std::wstring>& lines)
    {
        OutputFile file;
        ASSERT_TRUE(OpenOutputFile(file, program / L"FileType.txt"));
        for (const auto& line : lines) WriteOutputLine(file, line);
        CloseOutputFile(file);
    }

    // Keeps the group in the panel and saves the list; the editor closes.
    static void KeepAndSave(EditorDriver& editor)
    {
        editor.Click(L"cmdFFSave");
        EXPECT_FALSE(editor.Editing());
        editor.Click(L"cmdDone");
        EXPECT_FALSE(IsWindow(editor.EditorWindow()));
    }
};

using FileTypeEditor = FileTypeEditorTest;

}  // namespace

TEST_F(FileTypeEditor, OpensBrowsingTheGroupsOfTheFileAndCancelWritesNothing)
{
    Start();
    bool leftOpen = EditWith([](EditorDriver& editor) {
        HWND window = editor.EditorWindow();
        EXPECT_EQ(GetWindowTextLengthW(window), 0);
        EXPECT_NE(GetWindowLongPtrW(window, GWL_STYLE) & WS_CAPTION, static_cast<LONG_PTR>(WS_CAPTION));
        RECT frame{};
        GetWindowRect(window, &frame);
        EXPECT_EQ(frame.right - frame.left, TwipsToPixelsX(4695));

        EXPECT_EQ(editor.Groups().size(), kDefaultGroups.size());
        EXPECT_TRUE(editor.Groups() == kDefaultGroups);
        EXPECT_EQ(editor.SelectedRows(L"LvFFs"), std::vector<int>{0});
        EXPECT_FALSE(editor.Editing());
        for (EditorPart name :
             EditorParts{L"cmdNewFF", L"cmdEditFF", L"cmdDelFF", L"cmdRestore", L"cmdDone", L"cmdCancel"})
            EXPECT_TRUE(editor.Enabled(name) && editor.Visible(name)) << Narrow(name.Text());
        EXPECT_EQ(editor.Text(L"cmdRestore"), L"還原預設設定");
        EXPECT_EQ(editor.Text(L"cmdCancel"), L"返回主畫面");

        editor.Click(L"cmdNewFF");
        editor.SetText(L"txtDesc", L"新群組");
        editor.SetText(L"txtExe", L"*.abc");
        editor.Click(L"cmdExtAdd");
        editor.Click(L"cmdFFSave");
        editor.Click(L"cmdDelFF");
        EXPECT_EQ(editor.Groups().size(), 9u);
        editor.Click(L"cmdCancel");
    });
    EXPECT_FALSE(leftOpen);
    EXPECT_EQ(FileBytes(), DefaultFile());
    EXPECT_EQ(TypeBoxItems(), TitlesOf(kDefaultGroups));
}

TEST_F(FileTypeEditor, AddsAGroupAtTheEnd)
{
    Start();
    EditWith([](EditorDriver& editor) {
        editor.SetText(L"txtExe", L"stale");
        editor.Click(L"cmdNewFF");
        EXPECT_TRUE(editor.Editing());
        for (EditorPart name : EditorParts{L"cmdNewFF", L"cmdEditFF", L"cmdDelFF", L"picFFs"})
            EXPECT_FALSE(editor.Enabled(name));
        EXPECT_EQ(editor.Text(L"txtDesc"), L"");
        EXPECT_EQ(editor.Text(L"txtExe"), L"");
        EXPECT_TRUE(editor.Column(L"LvExts", 0).empty());
        EXPECT_FALSE(editor.Enabled(L"cmdFFSave"));

        editor.SetText(L"txtDesc", L"  新群組 ");
        editor.SetText(L"txtExe", L"*.abc");
        editor.Click(L"cmdExtAdd");
        EXPECT_EQ(editor.Text(L"txtExe"), L"");
        editor.SetText(L"txtExe", L"  *.d e;f  ");
        editor.Click(L"cmdExtAdd");
        editor.SetText(L"txtExe", L"   ");
        editor.Click(L"cmdExtAdd");
        EXPECT_EQ(editor.Column(L"LvExts", 0), (std::vector<std::wstring>{L"*.abc", L"*.d e;f"}));
        EXPECT_EQ(editor.SelectedRows(L"LvExts"), std::vector<int>{0});
        EXPECT_TRUE(editor.Enabled(L"cmdFFSave"));
        KeepAndSave(editor);
    });
    std::vector<Group> expected = kDefaultGroups;
    expected.push_back({L"新群組", L"*.abc;*.d e;f"});
    EXPECT_EQ(FileBytes(), SavedFile(expected));
    EXPECT_EQ(TypeBoxItems(), TitlesOf(expected));
    EXPECT_EQ(window->FileTypes().back().Type, L"*.abc;*.d e;f");
}

TEST_F(FileTypeEditor, EditReplacesAKeyboardSelectedGroupInPlace)
{
    Start();
    EditWith([](EditorDriver& editor) {
        for (int i = 0; i < 3; ++i) editor.Key(L"LvFFs", VK_DOWN);
        ASSERT_EQ(editor.SelectedRows(L"LvFFs"), std::vector<int>{3});

        editor.Click(L"cmdEditFF");
        EXPECT_TRUE(editor.Editing());
        EXPECT_EQ(editor.Text(L"txtDesc"), L"圖片檔案");
        EXPECT_EQ(editor.Column(L"LvExts", 0), Split(kDefaultGroups[3].Patterns));
        EXPECT_TRUE(editor.Enabled(L"cmdFFSave"));

        editor.SetText(L"txtDesc", L"相片");
        editor.SetText(L"txtExe", L"*.webp");
        editor.Click(L"cmdExtAdd");
        KeepAndSave(editor);
    });
    std::vector<Group> expected = DefaultsWith(3, {L"相片", kDefaultGroups[3].Patterns + L";*.webp"});
    EXPECT_EQ(FileBytes(), SavedFile(expected));
    EXPECT_EQ(TypeBoxItems(), TitlesOf(expected));
}

TEST_F(FileTypeEditor, EditRightAfterOpeningShowsTheFirstGroupAndKeepingItChangesNothing)
{
    Start();
    EditWith([](EditorDriver& editor) {
        editor.Click(L"cmdEditFF");
        EXPECT_EQ(editor.Text(L"txtDesc"), L"文書檔案");
        EXPECT_EQ(editor.Column(L"LvExts", 0).size(), 19u);
        editor.Click(L"cmdFFSave");
        EXPECT_TRUE(editor.Groups() == kDefaultGroups);
        editor.Click(L"cmdDone");
    });
    // The same groups, now with the count last and a line end after every line.
    EXPECT_EQ(FileBytes(), SavedFile(kDefaultGroups));
    EXPECT_EQ(TypeBoxItems(), TitlesOf(kDefaultGroups));
}

TEST_F(FileTypeEditor, DoubleClickOpensTheClickedGroupAndCancelKeepsItUnchanged)
{
    Start();
    EditWith([](EditorDriver& editor) {
        editor.DoubleClickRow(L"LvFFs", 1);
        EXPECT_TRUE(editor.Editing());
        EXPECT_EQ(editor.Text(L"txtDesc"), L"執行檔案");
        EXPECT_EQ(editor.Column(L"LvExts", 0), Split(kDefaultGroups[1].Patterns));
        editor.SetText(L"txtDesc", L"改名");
        editor.Click(L"cmdFFCancel");
        EXPECT_FALSE(editor.Editing());
        EXPECT_FALSE(editor.Enabled(L"cmdFFSave"));

        // Another group clicked, then edited: the panel follows the selection.
        editor.ClickRow(L"LvFFs", 6);
        editor.Click(L"cmdEditFF");
        EXPECT_EQ(editor.Text(L"txtDesc"), L"影片檔案");
        editor.Click(L"cmdFFCancel");
        EXPECT_TRUE(editor.Groups() == kDefaultGroups);
        editor.Click(L"cmdDone");
    });
    EXPECT_EQ(FileBytes(), SavedFile(kDefaultGroups));
}

TEST_F(FileTypeEditor, DeletesTheFirstAndAMiddleGroup)
{
    Start();
    EditWith([](EditorDriver& editor) {
        editor.Click(L"cmdDelFF");
        EXPECT_EQ(editor.Column(L"LvFFs", 0).front(), L"執行檔案");
        EXPECT_EQ(editor.SelectedRows(L"LvFFs"), std::vector<int>{1});
        editor.ClickRow(L"LvFFs", 3);
        editor.Click(L"cmdDelFF");
        editor.Click(L"cmdDone");
    });
    std::vector<Group> expected = DefaultsWithout({0, 4});
    EXPECT_EQ(FileBytes(), SavedFile(expected));
    EXPECT_EQ(TypeBoxItems(), TitlesOf(expected));
}

TEST_F(FileTypeEditor, DeleteWithNoSelectionDeletesNothingAndTheLastGroupCanGo)
{
    WriteFileTypes({L"[FileType]", L"TypeList=2", L"Title1=甲", L"Type1=*.a", L"Title2=乙", L"Type2=*.b"});
    Start();
    EditWith([](EditorDriver& editor) {
        editor.SelectRow(L"LvFFs", -1);
        editor.Click(L"cmdDelFF");
        EXPECT_EQ(editor.Groups().size(), 2u);

        editor.ClickRow(L"LvFFs", 1);
        editor.Click(L"cmdDelFF");
        EXPECT_EQ(editor.SelectedRows(L"LvFFs"), std::vector<int>{0});
        editor.Click(L"cmdDelFF");
        EXPECT_TRUE(editor.Groups().empty());
        EXPECT_FALSE(editor.Enabled(L"cmdDelFF"));
        EXPECT_FALSE(editor.Enabled(L"cmdEditFF"));
        editor.Click(L"cmdDone");
    });
    EXPECT_EQ(FileBytes(), Utf16Text({L"[FileType]", L"TypeList=0"}));
    EXPECT_EQ(TypeBoxItems(), std::vector<std::wstring>{kAllFiles});
}

TEST_F(FileTypeEditor, PatternsAreAddedCaseInsensitivelyAndRemoved)
{
    Start();
    EditWith([](EditorDriver& editor) {
        editor.Click(L"cmdEditFF");
        editor.SetText(L"txtExe", L" *.TXT ");
        editor.Click(L"cmdExtAdd");
        std::vector<std::wstring> patterns = editor.Column(L"LvExts", 0);
        ASSERT_EQ(patterns.size(), 19u);
        EXPECT_EQ(patterns.front(), L"*.TXT");
        EXPECT_EQ(editor.Text(L"txtExe"), L"");

        editor.ClickRow(L"LvExts", 1);
        EXPECT_EQ(editor.Text(L"txtExe"), L"*.rtf");
        editor.Click(L"cmdExtDel");
        EXPECT_EQ(editor.Text(L"txtExe"), L"*.rtf");
        EXPECT_EQ(editor.Column(L"LvExts", 0).size(), 18u);
        EXPECT_EQ(editor.SelectedRows(L"LvExts"), std::vector<int>{0});
        editor.SetText(L"txtExe", L"*.new");
        editor.Click(L"cmdExtAdd");
        KeepAndSave(editor);
    });
    std::wstring patterns = kDefaultGroups[0].Patterns;
    patterns.replace(0, 11, L"*.TXT");  // "*.txt;*.rtf" becomes "*.TXT"
    std::vector<Group> expected = DefaultsWith(0, {L"文書檔案", patterns + L";*.new"});
    EXPECT_EQ(FileBytes(), SavedFile(expected));
}

TEST_F(FileTypeEditor, KeepFollowsTheNameAsTypedAndTheNumberOfPatterns)
{
    Start();
    EditWith([](EditorDriver& editor) {
        editor.Click(L"cmdNewFF");
        editor.SetText(L"txtExe", L"*.abc");
        editor.Click(L"cmdExtAdd");
        EXPECT_FALSE(editor.Enabled(L"cmdFFSave"));
        editor.TypeKeys(L"txtDesc", L" ");
        EXPECT_FALSE(editor.Enabled(L"cmdFFSave"));
        editor.TypeKeys(L"txtDesc", L"新");
        EXPECT_TRUE(editor.Enabled(L"cmdFFSave"));
        editor.SetText(L"txtDesc", L"   ");
        EXPECT_FALSE(editor.Enabled(L"cmdFFSave"));
        editor.TypeKeys(L"txtDesc", L"乙");
        EXPECT_TRUE(editor.Enabled(L"cmdFFSave"));

        editor.Click(L"cmdExtDel");
        EXPECT_TRUE(editor.Column(L"LvExts", 0).empty());
        EXPECT_FALSE(editor.Enabled(L"cmdExtDel"));
        EXPECT_FALSE(editor.Enabled(L"cmdFFSave"));
        // A keep without patterns, had it got through, is ignored.
        ClickButton(editor.Win(L"cmdFFSave"));
        EXPECT_TRUE(editor.Editing());
        editor.Click(L"cmdExtAdd");  // the box holds the removed pattern again
        EXPECT_TRUE(editor.Enabled(L"cmdFFSave"));
        KeepAndSave(editor);
    });
    std::vector<Group> expected = kDefaultGroups;
    expected.push_back({L"乙", L"*.abc"});
    EXPECT_EQ(FileBytes(), SavedFile(expected));
}

TEST_F(FileTypeEditor, RestoreWritesTheDefaultsAtOnceEvenWhenLeftWithoutSaving)
{
    WriteFileTypes({L"[FileType]", L"Title1=甲", L"Type1=*.a", L"TypeList=1"});
    Start();
    EXPECT_EQ(TypeBoxItems(), (std::vector<std::wstring>{kAllFiles, L"甲"}));
    std::string afterRestore;
    EditWith([&](EditorDriver& editor) {
        editor.Click(L"cmdDelFF");
        editor.Click(L"cmdRestore");
        afterRestore = FileBytes();
        EXPECT_TRUE(editor.Groups() == kDefaultGroups);
        EXPECT_EQ(editor.SelectedRows(L"LvFFs"), std::vector<int>{0});
        EXPECT_TRUE(editor.Enabled(L"cmdDelFF"));
        EXPECT_TRUE(editor.Enabled(L"cmdEditFF"));
        editor.Click(L"cmdCancel");
    });
    EXPECT_EQ(afterRestore, DefaultFile());
    EXPECT_EQ(FileBytes(), DefaultFile());
    EXPECT_EQ(TypeBoxItems(), TitlesOf(kDefaultGroups));
}

TEST_F(FileTypeEditor, SaveWhileEditingDropsTheUnkeptGroup)
{
    Start();
    EditWith([](EditorDriver& editor) {
        editor.Click(L"cmdNewFF");
        editor.SetText(L"txtDesc", L"未保留");
        editor.SetText(L"txtExe", L"*.x");
        editor.Click(L"cmdExtAdd");
        ClickButton(editor.Win(L"cmdDone"));
    });
    EXPECT_EQ(FileBytes(), SavedFile(kDefaultGroups));
}

TEST_F(FileTypeEditor, ChosenTypeIsChosenAgainWhileItsTitleExists)
{
    Start();
    ChooseItem(Win(L"cboFFSave"), 4);
    ASSERT_EQ(WindowTextOf(Win(L"cboFFSave")), L"圖片檔案");
    EditWith([](EditorDriver& editor) {
        editor.Click(L"cmdDelFF");
        editor.Click(L"cmdDone");
    });
    EXPECT_EQ(SelectedIndex(Win(L"cboFFSave")), 3);
    EXPECT_EQ(WindowTextOf(Win(L"cboFFSave")), L"圖片檔案");

    EditWith([](EditorDriver& editor) {
        editor.ClickRow(L"LvFFs", 2);
        editor.Click(L"cmdEditFF");
        editor.SetText(L"txtDesc", L"相片");
        KeepAndSave(editor);
    });
    EXPECT_EQ(SelectedIndex(Win(L"cboFFSave")), -1);
    EXPECT_EQ(WindowTextOf(Win(L"cboFFSave")), L"圖片檔案");
    EXPECT_EQ(TypeBoxItems()[3], L"相片");
}

TEST_F(FileTypeEditor, APatternListOf400CharactersSurvivesUnchanged)
{
    std::wstring patterns;
    for (int i = 0; i < 56; ++i) patterns += L"*.t" + std::to_wstring(100 + i) + L";";
    patterns += L"*.abcdef";
    ASSERT_EQ(patterns.size(), 400u);
    WriteFileTypes({L"[FileType]", L"TypeList=1", L"Title1=長清單", L"Type1=" + patterns});
    Start();
    ASSERT_EQ(window->FileTypes().size(), 2u);
    EXPECT_EQ(window->FileTypes()[1].Type, patterns);

    EditWith([&](EditorDriver& editor) {
        EXPECT_EQ(editor.Column(L"LvFFs", 1), std::vector<std::wstring>{patterns});
        editor.Click(L"cmdEditFF");
        EXPECT_EQ(editor.Column(L"LvExts", 0).size(), 57u);
        editor.SetText(L"txtDesc", L"長清單二");
        KeepAndSave(editor);
    });
    EXPECT_EQ(FileBytes(), SavedFile(std::vector<Group>{Group{L"長清單二", patterns}}));
    EXPECT_EQ(window->FileTypes()[1].Type, patterns);
    EditWith([&](EditorDriver& editor) {
        EXPECT_EQ(editor.Column(L"LvFFs", 1), std::vector<std::wstring>{patterns});
        editor.Click(L"cmdCancel");
    });
}

TEST_F(FileTypeEditor, FailedSaveShowsTheMessageAndKeepsTheEditorOpen)
{
    Start();
    // The new content is written beside the file first; a folder in its way stops the save.
    program.MakeFolder(L"FileType.txt.new");
    DWORD uiThread = GetCurrentThreadId();
    std::wstring seen;
    HWND owner = nullptr;
    HWND editorWindow = nullptr;
    EditWith([&](EditorDriver& editor) {
        editorWindow = editor.EditorWindow();
        editor.Click(L"cmdNewFF");
        editor.SetText(L"txtDesc", L"新群組");
        editor.SetText(L"txtExe", L"*.abc");
        editor.Click(L"cmdExtAdd");
        editor.Click(L"cmdFFSave");
        // Posted: the message box's own loop runs until it is answered.
        PostMessageW(editor.Win(L"cmdDone"), BM_CLICK, 0, 0);
        HWND box = WaitForMessageBox(uiThread);
        ASSERT_NE(box, nullptr);
        seen = DialogText(box);
        owner = GetWindow(box, GW_OWNER);
        ClickDialogButton(box, IDOK);
        for (int tries = 0; tries < 500 && IsWindow(box); ++tries) Sleep(10);

        EXPECT_TRUE(IsWindow(editor.EditorWindow()));
        EXPECT_FALSE(editor.Editing());
        EXPECT_EQ(editor.Groups().size(), 10u);
        editor.Click(L"cmdCancel");
    });
    EXPECT_NE(seen.find(L"副檔名清單無法儲存"), std::wstring::npos) << std::string(seen.begin(), seen.end());
    EXPECT_NE(seen.find(L"錯誤代碼："), std::wstring::npos);
    EXPECT_EQ(owner, editorWindow);
    EXPECT_EQ(FileBytes(), DefaultFile());
    EXPECT_EQ(TypeBoxItems(), TitlesOf(kDefaultGroups));
}

TEST(FileTypeSaveErrorText, PutsTheSystemsDescriptionAfterTheCode)
{
    const std::wstring prefix = L"副檔名清單無法儲存\r\n錯誤代碼：";
    EXPECT_EQ(FileTypeSaveErrorText(0), prefix);
    std::wstring full = FileTypeSaveErrorText(ERROR_DISK_FULL);
    ASSERT_TRUE(full.starts_with(prefix));
    std::wstring description = full.substr(prefix.size());
    EXPECT_FALSE(description.empty());
    EXPECT_FALSE(description.ends_with(L"\n"));
    EXPECT_NE(description, FileTypeSaveErrorText(ERROR_ACCESS_DENIED).substr(prefix.size()));
}
