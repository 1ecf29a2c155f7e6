#pragma once
// clsControl: one native control (button, label, edit, combo or list box, rich edit)
// created inside a host panel, filling it and following its size, with its
// notifications turned into events.
//
// Usage: TargetPictureBox(&panel); optionally BorderStyle / FontRightLeading /
// EditStyle; Create(clsControl::CheckBox); then properties, items and events.
#include <windows.h>

#include <functional>
#include <string>

#include "controls/Form.h"
#include "controls/GuiHandles.h"
#include "controls/Subclass.h"

// flags -1: InitCommonControls; otherwise InitCommonControlsEx with these ICC_ flags.
// Failures are ignored.
void InitControlClasses(long flags);

class clsControl : private GXISubclass {
public:
    enum eCtrlStyle : int {
        CheckBox = 1,
        CommandButton = 2,
        OptionButton = 3,
        Label = 4,
        TextBox = 5,
        ComboDropDown = 6,
        ComboDropDownList = 7,
        ComboSimple = 8,
        ListSingle = 9,
        ListExtended = 10,
        ListMulti = 11,
        RichText = 12,
    };

    clsControl();
    ~clsControl();
    clsControl(const clsControl&) = delete;
    clsControl& operator=(const clsControl&) = delete;

    // Attributes
    void TargetPictureBox(HostPanel* host) { host_ = host; }
    HostPanel* TargetPictureBox() const { return host_; }
    HWND hwnd() const { return control_.Get(); }
    int Kind() const { return kind_; }
    bool FontRightLeading() const { return rightToLeft_; }
    void FontRightLeading(bool value) { rightToLeft_ = value; }
    bool Checked() const;
    void Checked(bool value);
    // The value last written, not the window's state: false until the first write.
    bool Enabled() const { return enabled_; }
    void Enabled(bool PropVal);
    std::wstring Text() const;
    void Text(const std::wstring& value);
    // 0 none, 1 single line, 2 static edge, 3 sunken client edge, 4 all edges; used by
    // the next Create.
    void BorderStyle(int eStyle);
    int BorderStyle() const { return border_; }
    DWORD EditStyle() const { return editStyle_; }
    void EditStyle(DWORD style) { editStyle_ = style; }
    LONG_PTR ItemData(int Index) const;
    void ItemData(int Index, LONG_PTR NewData);
    int ListIndex() const;
    void ListIndex(int index);
    int ListCount() const;
    int NewIndex() const { return newIndex_; }
    std::wstring List(int Index) const;

    // Operations
    // Creates the control in the host; any kind outside 1..12 creates nothing.
    bool Create(int eCtrlStyle);
    void Clear();
    bool RemoveItem(int Index);
    // BeforeIndex -1 appends; ItemData 0 attaches nothing. -1 for a negative
    // BeforeIndex other than -1 and when the control refuses the item.
    int AddItem(const std::wstring& Text, int BeforeIndex = -1, LONG_PTR ItemData = 0);

    // Events. A handler may destroy this object.
    std::function<void()> Click;
    std::function<void()> DblClick;
    std::function<void()> DropDown;
    std::function<void()> Change;
    // An edit box's text has changed and is shown, typed or set from code; Click is
    // raised for it as well, first. (A combo's typed text raises Change.)
    std::function<void()> TextChanged;

private:
    void WndProc(bool bBefore, bool& bHandled, LRESULT& lReturn, HWND lHwnd, UINT uMsg, WPARAM wParam,
                 LPARAM lParam, LONG_PTR& lParamUser) override;
    void OnCommand(WPARAM wParam, LPARAM lParam);
    void FitToHost();
    bool IsCombo() const;
    bool IsListBox() const;
    HWND TextWindow() const;
    LRESULT SendList(UINT comboMessage, UINT listMessage, WPARAM wParam, LPARAM lParam) const;

    // Declared first so that it is released last.
    GXMSubclass engine_;
    UniqueModule richEdit_;
    UniqueWindow control_;
    HostPanel* host_ = nullptr;
    HWND hostWindow_ = nullptr;
    HWND editChild_ = nullptr;
    HFONT font_ = nullptr;  // stock font: never deleted
    int kind_ = 0;
    int border_ = 0;
    DWORD exStyle_ = 0;
    DWORD editStyle_ = ES_AUTOHSCROLL;
    bool rightToLeft_ = false;
    bool enabled_ = false;
    int newIndex_ = 0;
};
