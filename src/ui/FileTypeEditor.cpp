#include "ui/FileTypeEditor.h"

#include <commctrl.h>

#include <vector>

#include "ui/Texts.h"

namespace {

// Ties the editor object to its window so that a driver can find it from the handle.
const wchar_t kEditorProperty[] = L"Quorvane.frmFFEdit";

// Blanks only, as the name and pattern boxes are trimmed.
std::wstring TrimBlanks(const std::wstring& text)
{
    std::size_t first = text.find_first_not_of(L' ');
    if (first == std::wstring::npos) return {};
    return text.substr(first, text.find_last_not_of(L' ') - first + 1);
}

bool SameTextIgnoringCase(const std::wstring& a, const std::wstring& b)
{
    return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()), TRUE) ==
           CSTR_EQUAL;
}

// The row the user means: the latest changed row while it is selected, else the first
// selected one (the lists allow several); -1 with nothing selected.
int SelectedRow(const clsLictView& list)
{
    int count = list.ItemCount();
    int latest = list.SelectedIndex();
    if (latest >= 0 && latest < count && list.Selected(latest)) return latest;
    for (int row = 0; row < count; ++row) {
        if (list.Selected(row)) return row;
    }
    return -1;
}

// Selects just this row (none for -1); selecting alone would keep the other rows selected.
void SelectOnly(clsLictView& list, int row)
{
    LVITEMW clear{};
    clear.stateMask = LVIS_SELECTED;
    SendMessageW(list.hwnd(), LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&clear));
    if (row >= 0 && row < list.ItemCount()) list.SelectedItem(row);
}

// The window was centred at its designed width; narrowed, it is centred again.
void CenterOnScreen(HWND window)
{
    RECT frame{};
    if (!GetWindowRect(window, &frame)) return;
    int left = (GetSystemMetrics(SM_CXSCREEN) - (frame.right - frame.left)) / 2;
    int top = (GetSystemMetrics(SM_CYSCREEN) - (frame.bottom - frame.top)) / 2;
    SetWindowPos(window, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

void FillGroupList(clsLictView& list, const std::vector<FileTypeRow>& rows)
{
    // Drawn once at the end: a list redrawn for every row takes a minute for 100,000.
    list.Redraw(false);
    list.ItemClear();
    for (const FileTypeRow& row : rows) {
        int index = list.ItemAdd(-1, row.Title);
        if (index >= 0) list.ItemAddSub(index, 1, row.Patterns);
    }
    list.Redraw(true);
}

frmFFEdit::frmFFEdit(std::wstring programFolder) : programFolder_(std::move(programFolder)) {}

frmFFEdit::~frmFFEdit()
{
    if (form_.hwnd()) RemovePropW(form_.hwnd(), kEditorProperty);
}

frmFFEdit* frmFFEdit::FromWindow(HWND window)
{
    return window ? static_cast<frmFFEdit*>(GetPropW(window, kEditorProperty)) : nullptr;
}

void frmFFEdit::CreateLists()
{
    LvExts_.Create(picLvExts.hwnd());
    LvFFs_.Create(picFFs.hwnd());
    int columns[2] = {};
    for (const ListColumn& column : kEditorColumns) {
        bool groups = column.List == EditorPart(L"LvFFs");
        (groups ? LvFFs_ : LvExts_).ColumnAdd(columns[groups]++, column.Width, column.Header);
    }
    for (HWND list : {LvExts_.hwnd(), LvFFs_.hwnd()}) {
        ChangeWindowStyle(list, GWL_EXSTYLE, WS_EX_STATICEDGE, WS_EX_CLIENTEDGE | WS_EX_WINDOWEDGE);
        // Delete, edit and remove act on the selected row, so it stays marked without the focus.
        ChangeWindowStyle(list, GWL_STYLE, LVS_SHOWSELALWAYS, 0);
    }
}

void frmFFEdit::WireEvents()
{
    cmdNewFF.Click = [this] { cmdNewFF_Click(); };
    cmdEditFF.Click = [this] { cmdEditFF_Click(); };
    cmdDelFF.Click = [this] { cmdDelFF_Click(); };
    cmdRestore.Click = [this] { RestoreFileTypeDefaults(); };
    cmdDone.Click = [this] { cmdDone_Click(); };
    cmdExtAdd.Click = [this] { cmdExtAdd_Click(); };
    cmdExtDel.Click = [this] { cmdExtDel_Click(); };
    cmdFFSave.Click = [this] { cmdFFSave_Click(); };
    cmdFFCancel.Click = [this] { cmdFFCancel_Click(); };
    cmdCancel.Click = [this] { form_.Close(); };
    txtDesc.TextChanged = [this] {
        if (editing_) UpdateSaveButton(true);
    };
    LvFFs_.Click = [this] { LvFFs_Click(); };
    LvFFs_.DBClick = [this] { cmdEditFF_Click(); };
    LvExts_.Click = [this] { LvExts_Click(); };
}

// Enter keeps the group while editing (adds the pattern typed into its box) and saves
// while browsing; Esc leaves the mode as its cancel button does.
void frmFFEdit::WireKeys()
{
    DialogKeys& keys = form_.Keys();
    keys.Stops(parts_.TabStops());
    keys.DefaultButton = [this] {
        if (!editing_) return cmdDone.hwnd();
        return GetFocus() == txtExe.hwnd() ? cmdExtAdd.hwnd() : cmdFFSave.hwnd();
    };
    keys.CancelButton = [this] { return editing_ ? cmdFFCancel.hwnd() : cmdCancel.hwnd(); };
}

bool frmFFEdit::Load()
{
    if (form_.hwnd()) return true;
    if (!form_.Create(L"", WS_POPUP | WS_DLGFRAME | WS_CLIPCHILDREN, 0, kEditorDesignedWidth, kEditorHeight))
        return false;
    SetPropW(form_.hwnd(), kEditorProperty, this);
    form_.Unload = [this] { Unload(); };

    parts_.Create(form_.hwnd());
    CreateLists();

    SetEditMode(false);
    LoadGroupList();

    COLORREF face = GetSysColor(COLOR_BTNFACE);
    form_.BackColor(face);
    fraFF.BackColor(face);
    form_.SetWidth(kEditorWidth);
    CenterOnScreen(form_.hwnd());
    fraFF.Move(0, 0, fraFF.Width(), fraFF.Height());
    SetEditMode(false);

    WireEvents();
    WireKeys();
    return true;
}

void frmFFEdit::ShowModal()
{
    if (Load()) form_.ShowModal();
}

void frmFFEdit::Unload()
{
    RemovePropW(form_.hwnd(), kEditorProperty);
}

// ---- Modes

void frmFFEdit::SetEditMode(bool editing)
{
    editing_ = editing;
    for (clsControl* control : {&cmdNewFF, &cmdEditFF, &cmdDelFF}) control->Enabled(!editing);
    picFFs.Enabled(!editing);
    for (clsControl* control : {&lblDesc, &txtDesc, &txtExe, &lblExe, &cmdExtAdd, &cmdExtDel, &cmdFFCancel})
        control->Enabled(editing);
    picLvExts.Enabled(editing);
    fraFF.Enabled(editing);
    fraFF.Visible(editing);
    if (editing) {
        // Above the browsing controls it covers.
        SetWindowPos(fraFF.hwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        if (IsWindowVisible(form_.hwnd())) SetFocus(txtDesc.hwnd());
    } else if (IsWindowVisible(form_.hwnd())) {
        // The focus may be on a control that was just disabled or hidden.
        SetFocus(LvFFs_.hwnd());
    }
}

void frmFFEdit::UpdateSaveButton(bool evaluate)
{
    bool keepable = evaluate && !TrimBlanks(txtDesc.Text()).empty() && LvExts_.ItemCount() > 0;
    cmdFFSave.Enabled(keepable);
}

// Loads a group into the panel, replacing whatever it showed.
void frmFFEdit::ShowGroup(int row)
{
    LvExts_.ItemClear();
    txtExe.Text(L"");
    txtDesc.Text(LvFFs_.ItemText(row));
    std::wstring patterns = LvFFs_.SubItemText(row, 1);
    if (!patterns.empty()) {
        std::size_t start = 0;
        for (;;) {
            std::size_t end = patterns.find(L';', start);
            LvExts_.ItemAdd(-1, patterns.substr(start, end == std::wstring::npos ? end : end - start));
            if (end == std::wstring::npos) break;
            start = end + 1;
        }
    }
    SelectOnly(LvExts_, 0);
}

// ---- Group list

void frmFFEdit::LoadGroupList()
{
    FileTypeGroupList list = ::LoadGroupList(programFolder_);
    FillGroupList(LvFFs_, list.Rows);
    SelectOnly(LvFFs_, list.SelectedRow);
}

void frmFFEdit::RestoreFileTypeDefaults()
{
    ::RestoreFileTypeDefaults(programFolder_);
    LoadGroupList();
    // A delete of the last row disabled these; the restored groups can be edited again.
    if (!editing_) {
        cmdEditFF.Enabled(true);
        cmdDelFF.Enabled(true);
    }
}

bool frmFFEdit::SaveFileTypeList()
{
    std::vector<FileTypeRow> rows;
    int count = LvFFs_.ItemCount();
    rows.reserve(static_cast<std::size_t>(count > 0 ? count : 0));
    for (int row = 0; row < count; ++row) rows.push_back({LvFFs_.ItemText(row), LvFFs_.SubItemText(row, 1)});
    unsigned long error = WriteFileTypeList(rows, programFolder_);
    if (error == 0) return true;
    MessageBoxW(form_.hwnd(), FileTypeSaveErrorText(error).c_str(), kProgramTitle, MB_OK | MB_ICONERROR);
    return false;
}

void frmFFEdit::cmdNewFF_Click()
{
    LvExts_.ItemClear();
    txtExe.Text(L"");
    txtDesc.Text(L"");
    editedRow_ = -1;
    UpdateSaveButton(false);
    SetEditMode(true);
}

void frmFFEdit::LvFFs_Click()
{
    int row = SelectedRow(LvFFs_);
    if (row < 0) return;
    ShowGroup(row);
    SetEditMode(false);
    UpdateSaveButton(false);
}

void frmFFEdit::cmdEditFF_Click()
{
    int row = SelectedRow(LvFFs_);
    if (row < 0) {
        SetEditMode(false);
        UpdateSaveButton(false);
        return;
    }
    // Whatever selected the row (click, keyboard, code), the panel shows that group.
    ShowGroup(row);
    editedRow_ = row;
    SetEditMode(true);
    UpdateSaveButton(true);
}

void frmFFEdit::cmdDelFF_Click()
{
    int row = SelectedRow(LvFFs_);
    if (row < 0) return;
    LvFFs_.ItemRemove(row);
    int remaining = LvFFs_.ItemCount();
    if (remaining > 1) {
        SelectOnly(LvFFs_, 1);
    } else if (remaining == 1) {
        SelectOnly(LvFFs_, 0);
    } else {
        SelectOnly(LvFFs_, -1);
        cmdDelFF.Enabled(false);
        cmdEditFF.Enabled(false);
    }
}

void frmFFEdit::cmdDone_Click()
{
    // A group still in the panel is dropped unless it was kept.
    cmdFFCancel_Click();
    if (SaveFileTypeList()) form_.Close();
}

// ---- Editing panel

void frmFFEdit::cmdExtAdd_Click()
{
    std::wstring pattern = TrimBlanks(txtExe.Text());
    if (pattern.empty()) return;
    bool replaced = false;
    for (int row = 0; row < LvExts_.ItemCount() && !replaced; ++row) {
        if (SameTextIgnoringCase(TrimBlanks(LvExts_.ItemText(row)), pattern)) {
            LvExts_.ItemText(row, pattern);
            replaced = true;
        }
    }
    if (!replaced) {
        LvExts_.ItemAdd(-1, pattern);
        SelectOnly(LvExts_, 0);
        UpdateSaveButton(true);
    }
    txtExe.Text(L"");
}

void frmFFEdit::cmdExtDel_Click()
{
    int row = SelectedRow(LvExts_);
    txtExe.Text(row >= 0 ? LvExts_.ItemText(row) : L"");
    if (row >= 0) LvExts_.ItemRemove(row);
    if (LvExts_.ItemCount() == 0) {
        SelectOnly(LvExts_, -1);
        cmdExtDel.Enabled(false);
    } else {
        SelectOnly(LvExts_, 0);
    }
    UpdateSaveButton(true);
}

void frmFFEdit::cmdFFSave_Click()
{
    std::wstring name = TrimBlanks(txtDesc.Text());
    int patternCount = LvExts_.ItemCount();
    if (name.empty() || patternCount == 0) return;
    std::wstring patterns;
    for (int row = 0; row < patternCount; ++row) {
        if (row > 0) patterns += L';';
        patterns += LvExts_.ItemText(row);
    }
    if (editedRow_ >= 0 && editedRow_ < LvFFs_.ItemCount()) {
        LvFFs_.ItemText(editedRow_, name);
        LvFFs_.SubItemText(editedRow_, 1, patterns);
    } else {
        int index = LvFFs_.ItemAdd(-1, name);
        if (index >= 0) LvFFs_.ItemAddSub(index, 1, patterns);
    }
    editedRow_ = -1;
    UpdateSaveButton(false);
    SetEditMode(false);
    SelectOnly(LvFFs_, 0);
}

void frmFFEdit::cmdFFCancel_Click()
{
    editedRow_ = -1;
    UpdateSaveButton(false);
    SetEditMode(false);
}

void frmFFEdit::LvExts_Click()
{
    int row = SelectedRow(LvExts_);
    txtExe.Text(row >= 0 ? LvExts_.ItemText(row) : L"");
    if (LvExts_.ItemCount() > 0) {
        cmdExtDel.Enabled(true);
        cmdExtAdd.Enabled(true);
    } else {
        cmdExtDel.Enabled(false);
    }
}
