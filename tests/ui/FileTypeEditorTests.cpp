#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <functional>

#include "UiSupport.h"
#include "ui/FileTypeEditor.h"

namespace {

using Groups = std::vector<FileTypeRow>;
using Texts = std::vector<std::wstring>;

// Drives the modal editor from the helper thread that found it: every call is a real
// message to one of its real child windows.
struct Editor {
    frmFFEdit& Form;

    HWND Win(EditorPart part) const { return Form.Window(part); }
    bool Enabled(EditorPart part) const { return IsWindowEnabled(Win(part)) != FALSE; }
    bool Editing() const { return IsWindowVisible(Win(L"fraFF")) != FALSE; }
    std::wstring Text(EditorPart part) const { return WindowTextOf(Win(part)); }
    void Type(EditorPart box, const wchar_t* text) const { SetWindowTextW(Win(box), text); }
    // Clicks only what a user could click.
    void Press(EditorPart button) const
    {
        EXPECT_TRUE(Enabled(button)) << "a disabled " << button.Text() << " pressed";
        ClickButton(Win(button));
    }
    // Selects just this row (none for -1) and tells the list's host, as a click does.
    void Click(EditorPart list, int row, UINT code = NM_CLICK) const
    {
        LVITEMW item{};
        item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageW(Win(list), LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
        item.state = item.stateMask;
        if (row >= 0) SendMessageW(Win(list), LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
        NMITEMACTIVATE notice{};
        notice.hdr = {Win(list), static_cast<UINT_PTR>(GetDlgCtrlID(Win(list))), 0};
        notice.iItem = row;
        for (UINT event : {static_cast<UINT>(NM_CLICK), code}) {  // a double-click comes after its click
            notice.hdr.code = event;
            SendMessageW(GetParent(Win(list)), WM_NOTIFY, notice.hdr.idFrom, reinterpret_cast<LPARAM>(&notice));
            if (code == NM_CLICK) break;
        }
    }
    int Selected(EditorPart list) const
    {
        return static_cast<int>(SendMessageW(Win(list), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    }
    Texts Patterns() const
    {
        Texts rows;
        for (int row = 0; row < Form.LvExts().ItemCount(); ++row) rows.push_back(Form.LvExts().ItemText(row));
        return rows;
    }
    Groups Shown() const
    {
        Groups rows;
        for (int row = 0; row < Form.LvFFs().ItemCount(); ++row)
            rows.push_back({Form.LvFFs().ItemText(row), Form.LvFFs().SubItemText(row, 1)});
        return rows;
    }
};

class FileTypeEditor : public MainWindowTest {
protected:
    // Presses the main window's "編 輯" and runs the steps on the modal editor; returns
    // once it is closed (as by its close box, if the steps left it open).
    void EditWith(const std::function<void(Editor&)>& steps)
    {
        DWORD uiThread = GetCurrentThreadId();
        auto isEditor = [](HWND window) { return frmFFEdit::FromWindow(window) != nullptr; };
        DialogAnswerer answerer({[&](HWND window) {
                                    Editor editor{*frmFFEdit::FromWindow(window)};
                                    steps(editor);
                                    if (IsWindow(window)) PostMessageW(window, WM_CLOSE, 0, 0);
                                    // A window closed by a sent message does not wake the modal loop.
                                    PostThreadMessageW(uiThread, WM_NULL, 0, 0);
                                }},
                                isEditor);
        ClickButton(Win(L"cmdEdit"));
        EXPECT_EQ(answerer.StopLooking().size(), 1u) << "the editor did not open";
    }
    Texts TypeBox() const
    {
        Texts items{};
        for (int i = 0; i < window->Control(L"cboFFSave").ListCount(); ++i) items.push_back(window->Control(L"cboFFSave").List(i));
        return items;
    }
    std::wstring Saved() const { return FileText(program / L"FileType.txt"); }
    Groups SavedGroups() const { return LoadGroupList(program.Path()).Rows; }
};

}  // namespace

TEST_F(FileTypeEditor, GroupsAreAddedEditedDeletedAndRestoredAndOnlySaveAndRestoreWrite)
{
    std::wstring longList;  // 400 characters
    for (int i = 0; i < 56; ++i) longList += L"*.t" + std::to_wstring(100 + i) + L";";
    longList += L"*.abcdef";
    Groups groups = {{L"甲", L"*.a"}, {L"長清單", longList}, {L"丙", L"*.c;*.d"}};
    WriteLines(program / L"FileType.txt", {L"[FileType]", L"TypeList=3", L"Title1=甲", L"Type1=*.a", L"Title2=長清單",
                                           L"Type2=" + longList, L"Title3=丙", L"Type3=*.c;*.d"});
    Start();
    ChooseItem(Win(L"cboFFSave"), 3);

    // Adding: a pattern is trimmed, else taken as typed, and replaces one in another letter
    // case; keeping needs a name, and the group goes last. Delete takes the first group too.
    EditWith([&](Editor& e) {
        EXPECT_TRUE(e.Shown() == groups && e.Selected(L"LvFFs") == 0);
        e.Press(L"cmdNewFF");
        EXPECT_TRUE(e.Editing() && !e.Enabled(L"cmdNewFF") && !e.Enabled(L"cmdFFSave"));
        e.Type(L"txtDesc", L"  新群組 ");
        for (const wchar_t* typed : {L"*.abc", L"  *.d e;f  ", L"   ", L" *.ABC "}) {
            e.Type(L"txtExe", typed);
            e.Press(L"cmdExtAdd");
        }
        EXPECT_EQ(e.Patterns(), (Texts{L"*.ABC", L"*.d e;f"}));
        e.Click(L"LvExts", 1);
        e.Press(L"cmdExtDel");  // it goes back into the box, to be changed
        EXPECT_EQ(e.Text(L"txtExe") + L"|" + e.Patterns().at(0), L"*.d e;f|*.ABC");
        e.Type(L"txtDesc", L"   ");
        EXPECT_FALSE(e.Enabled(L"cmdFFSave"));
        e.Type(L"txtDesc", L"  新群組 ");
        e.Press(L"cmdExtAdd");
        e.Press(L"cmdFFSave");
        e.Press(L"cmdDelFF");
        EXPECT_EQ(e.Selected(L"LvFFs"), 1);
        e.Press(L"cmdDone");
    });
    groups = {groups[1], groups[2], {L"新群組", L"*.ABC;*.d e;f"}};
    EXPECT_TRUE(SavedGroups() == groups);
    EXPECT_EQ(TypeBox(), (Texts{L"所有檔案 (*.*)", L"長清單", L"丙", L"新群組"}));
    EXPECT_EQ(window->Control(L"cboFFSave").ListIndex(), 2);  // the chosen type, chosen again where its title went

    // Editing replaces the group the keyboard selected; cancel leaves a group as it was; with
    // nothing selected nothing is deleted. Restoring saves the defaults at once; a group
    // still open when saving is dropped.
    Groups restored;
    EditWith([&](Editor& e) {
        for (UINT event : {WM_KEYDOWN, WM_KEYUP}) SendMessageW(e.Win(L"LvFFs"), event, VK_DOWN, 1);
        e.Press(L"cmdEditFF");
        EXPECT_EQ(e.Text(L"txtDesc") + L"|" + e.Patterns().at(1), L"丙|*.d");
        e.Type(L"txtDesc", L"丁");
        e.Type(L"txtExe", L"*.e");
        e.Press(L"cmdExtAdd");
        e.Press(L"cmdFFSave");
        e.Click(L"LvFFs", 0, NM_DBLCLK);
        EXPECT_EQ(e.Text(L"txtDesc") + L"|" + std::to_wstring(e.Patterns().size()), L"長清單|57");
        e.Type(L"txtDesc", L"改名");
        e.Press(L"cmdFFCancel");
        EXPECT_FALSE(e.Editing());
        e.Click(L"LvFFs", -1);
        e.Press(L"cmdDelFF");
        EXPECT_TRUE(e.Shown() == (Groups{groups[0], {L"丁", L"*.c;*.d;*.e"}, groups[2]}));
        e.Press(L"cmdRestore");
        restored = e.Shown();
        EXPECT_TRUE(SavedGroups() == restored);
        e.Press(L"cmdNewFF");
        e.Type(L"txtDesc", L"未保留");
        e.Type(L"txtExe", L"*.x");
        e.Press(L"cmdExtAdd");
        ClickButton(e.Win(L"cmdDone"));
    });
    EXPECT_TRUE(SavedGroups() == restored);
    EXPECT_EQ(restored.size(), 9u);
    // A chosen type whose title is gone stays as typed text.
    EXPECT_EQ(std::to_wstring(window->Control(L"cboFFSave").ListIndex()) + WindowTextOf(Win(L"cboFFSave")), L"-1丙");

    // A failed save says why and leaves the editor open; leaving then writes nothing.
    const std::wstring before = Saved();
    program.MakeFolder(L"FileType.txt.new");  // the new content is written beside the file first
    DialogAnswerer messages;
    HWND editor = nullptr;
    EditWith([&](Editor& e) {
        editor = e.Form.hwnd();
        e.Press(L"cmdDelFF");
        e.Press(L"cmdDone");
        EXPECT_TRUE(IsWindow(editor) && e.Shown().size() == 8u);
        e.Press(L"cmdCancel");
    });
    const std::vector<SeenDialog>& seen = messages.StopLooking();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_NE(seen[0].Text.find(L"副檔名清單無法儲存\r\n錯誤代碼："), std::wstring::npos);
    EXPECT_EQ(seen[0].Owner, editor);
    EXPECT_EQ(Saved(), before);
}

TEST_F(FileTypeEditor, TheKeyboardGoesThroughTheListFieldsAndButtons)
{
    frmFFEdit editor(program.Path());
    ASSERT_TRUE(editor.Load());
    const std::wstring before = Saved();
    ShowWindow(editor.hwnd(), SW_SHOW);
    LetMessagesRun();
    auto focused = [&editor](EditorPart part) { return HasFocus(editor.Window(part)); };
    // Browsing, the list has the focus first; while editing, the panel covers the buttons
    // still enabled beneath it.
    const std::vector<EditorPart> browsing{L"LvFFs",      L"cmdNewFF", L"cmdEditFF", L"cmdDelFF",
                                           L"cmdRestore", L"cmdDone",  L"cmdCancel", L"LvFFs"};
    const std::vector<EditorPart> editing{L"txtDesc", L"LvExts", L"txtExe", L"cmdExtAdd", L"cmdExtDel", L"cmdFFCancel",
                                          L"txtDesc"};
    for (const auto* order : {&browsing, &editing}) {
        for (std::size_t i = 0; i < order->size(); ++i) {
            if (i > 0) PressKey(VK_TAB);
            EXPECT_TRUE(focused((*order)[i])) << (*order)[i].Text();
        }
        PressKey(VK_TAB);
        PressKey(VK_RETURN);  // on "新 增", then on "加 入"
    }
    EXPECT_TRUE(editor.Editing() && editor.LvExts().ItemCount() == 0);  // the box was empty

    // Esc leaves the group; Enter adds the pattern typed in its box, elsewhere keeps the
    // group, and while browsing saves and closes.
    PressKey(VK_ESCAPE);
    EXPECT_FALSE(editor.Editing());
    PressKey(VK_TAB);
    PressKey(VK_RETURN);
    SetWindowTextW(editor.Window(L"txtDesc"), L"鍵盤");
    PressKey(VK_TAB), PressKey(VK_TAB);
    SetWindowTextW(editor.Window(L"txtExe"), L"*.key");
    PressKey(VK_RETURN);
    PressKey(VK_TAB, true);
    PressKey(VK_RETURN);
    EXPECT_EQ(Saved(), before);
    PressKey(VK_RETURN);
    EXPECT_FALSE(editor.IsOpen());
    EXPECT_TRUE(SavedGroups().back() == (FileTypeRow{L"鍵盤", L"*.key"}));

    // Esc while browsing closes the editor as "返回主畫面" does.
    frmFFEdit again(program.Path());
    ASSERT_TRUE(again.Load());
    ShowWindow(again.hwnd(), SW_SHOW);
    LetMessagesRun();
    PressKey(VK_ESCAPE);
    EXPECT_FALSE(again.IsOpen());
}
