#pragma once
// frmFFEdit: the file-type editor. Browsing shows the groups of FileType.txt with six
// buttons beside them; editing covers them with the panel fraFF for one group's name
// and patterns. Only "儲 存" (cmdDone) and "還原預設設定" write the file.
//
// Usage: frmFFEdit editor(programFolder); editor.ShowModal();
#include <windows.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "controls/Control.h"
#include "controls/Form.h"
#include "controls/ListView.h"
#include "settings/FileTypes.h"
#include "ui/FileTypeEditorLayout.h"

// Puts groups into a group list: the title in column 0, the patterns in column 1.
void FillGroupList(clsLictView& list, const std::vector<FileTypeRow>& rows);

class frmFFEdit {
public:
    // programFolder: where FileType.txt lives.
    explicit frmFFEdit(std::wstring programFolder);
    ~frmFFEdit();
    frmFFEdit(const frmFFEdit&) = delete;
    frmFFEdit& operator=(const frmFFEdit&) = delete;

    // Creates the window, hidden, and loads the groups. False when it cannot be created.
    bool Load();
    // Loads the window when needed, shows it and returns once it is closed; the thread's
    // other windows are disabled meanwhile.
    void ShowModal();
    void Close() { form_.Close(); }
    HWND hwnd() const { return form_.hwnd(); }
    bool IsOpen() const { return IsWindow(form_.hwnd()) != FALSE; }
    bool Editing() const { return editing_; }

    // The editor shown in this top-level window, or null; lets a driver on another
    // thread find the controls of a modal editor.
    static frmFFEdit* FromWindow(HWND window);

    // A control or panel by its name in kEditorLayout ("cmdNewFF", "fraFF", "LvFFs",
    // "picLvExts", ...).
    HWND Window(EditorPart part) const { return parts_.Window(part); }
    clsControl& Control(EditorControl name) { return parts_.Control(name); }
    HostPanel& Panel(EditorPanel name) { return parts_.Panel(name); }
    clsLictView& LvFFs() { return LvFFs_; }
    clsLictView& LvExts() { return LvExts_; }

private:
    // Layout
    void CreateLists();
    void WireEvents();
    void WireKeys();

    // Modes
    void SetEditMode(bool editing);
    void UpdateSaveButton(bool evaluate);
    void ShowGroup(int row);

    // Group list
    void LoadGroupList();
    void RestoreFileTypeDefaults();
    bool SaveFileTypeList();
    void cmdNewFF_Click();
    void LvFFs_Click();
    void cmdEditFF_Click();
    void cmdDelFF_Click();
    void cmdDone_Click();

    // Editing panel
    void cmdExtAdd_Click();
    void cmdExtDel_Click();
    void cmdFFSave_Click();
    void cmdFFCancel_Click();
    void LvExts_Click();

    void Unload();

    std::wstring programFolder_;
    // Declared in release order reversed: lists and controls go before their panels.
    TopLevelWindow form_;
    WindowParts<kEditorLayout> parts_;
    // The parts the editor's code works with, by their names in kEditorLayout.
    HostPanel& picFFs = parts_.Panel(L"picFFs");
    HostPanel& picLvExts = parts_.Panel(L"picLvExts");
    HostPanel& fraFF = parts_.Panel(L"fraFF");
    clsControl& cmdNewFF = parts_.Control(L"cmdNewFF");
    clsControl& cmdEditFF = parts_.Control(L"cmdEditFF");
    clsControl& cmdDelFF = parts_.Control(L"cmdDelFF");
    clsControl& cmdRestore = parts_.Control(L"cmdRestore");
    clsControl& cmdDone = parts_.Control(L"cmdDone");
    clsControl& cmdCancel = parts_.Control(L"cmdCancel");
    clsControl& lblDesc = parts_.Control(L"lblDesc");
    clsControl& txtDesc = parts_.Control(L"txtDesc");
    clsControl& lblExe = parts_.Control(L"lblExe");
    clsControl& txtExe = parts_.Control(L"txtExe");
    clsControl& cmdExtAdd = parts_.Control(L"cmdExtAdd");
    clsControl& cmdExtDel = parts_.Control(L"cmdExtDel");
    clsControl& cmdFFSave = parts_.Control(L"cmdFFSave");
    clsControl& cmdFFCancel = parts_.Control(L"cmdFFCancel");
    clsLictView LvExts_;
    clsLictView LvFFs_;
    bool editing_ = false;
    int editedRow_ = -1;  // the LvFFs row the panel replaces when kept; -1 appends
};
