#include "controls/Control.h"

#include <commctrl.h>

namespace {

struct KindInfo {
    const wchar_t* ClassName;
    DWORD Style;
};

const DWORD kListBoxStyle = WS_VSCROLL | LBS_NOTIFY | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT;

// Kinds 5 and 12 take the edit style instead of the style here.
KindInfo InfoOfKind(int kind)
{
    switch (kind) {
    case clsControl::CheckBox: return {L"BUTTON", BS_AUTOCHECKBOX};
    case clsControl::CommandButton: return {L"BUTTON", BS_PUSHBUTTON};
    case clsControl::OptionButton: return {L"BUTTON", BS_AUTORADIOBUTTON};
    case clsControl::Label: return {L"STATIC", SS_LEFTNOWORDWRAP | SS_NOTIFY};
    case clsControl::TextBox: return {L"Edit", 0};
    case clsControl::ComboDropDown: return {L"COMBOBOX", WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL | CBS_HASSTRINGS};
    case clsControl::ComboDropDownList: return {L"COMBOBOX", WS_VSCROLL | CBS_DROPDOWNLIST | CBS_HASSTRINGS};
    case clsControl::ComboSimple: return {L"COMBOBOX", WS_VSCROLL | CBS_SIMPLE | CBS_HASSTRINGS};
    case clsControl::ListSingle: return {L"LISTBOX", kListBoxStyle};
    case clsControl::ListExtended: return {L"LISTBOX", kListBoxStyle | LBS_EXTENDEDSEL};
    case clsControl::ListMulti: return {L"LISTBOX", kListBoxStyle | LBS_MULTIPLESEL};
    case clsControl::RichText: return {L"RichEdit20W", 0};
    default: return {nullptr, 0};
    }
}

DWORD ExStyleOfBorder(int border)
{
    switch (border) {
    case 1: return WS_EX_WINDOWEDGE;
    case 2: return WS_EX_STATICEDGE;
    case 3: return WS_EX_CLIENTEDGE;
    case 4: return WS_EX_WINDOWEDGE | WS_EX_CLIENTEDGE | WS_EX_STATICEDGE;
    default: return 0;
    }
}

std::wstring WindowText(HWND window)
{
    if (!window) return {};
    int length = GetWindowTextLengthW(window);
    if (length <= 0) return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), length + 1)));
    return text;
}

void Raise(const std::function<void()>& event)
{
    // A copy: the handler may destroy the object that holds the event.
    if (auto handler = event) handler();
}

}  // namespace

void InitControlClasses(long flags)
{
    if (flags == -1) {
        InitCommonControls();
        return;
    }
    INITCOMMONCONTROLSEX classes{};
    classes.dwSize = sizeof(classes);
    classes.dwICC = static_cast<DWORD>(flags);
    InitCommonControlsEx(&classes);
}

clsControl::clsControl()
{
    InitControlClasses(-1);
    richEdit_.Reset(LoadLibraryW(L"RICHED20.DLL"));
}

clsControl::~clsControl()
{
    if (control_) {
        engine_.DeleteMessage(hostWindow_, WM_COMMAND, SubclassBefore);
        engine_.DeleteMessage(hostWindow_, WM_SIZE, SubclassAfter);
        engine_.UnSubclass(hostWindow_);
    }
    font_ = nullptr;
    control_.Reset();
}

bool clsControl::IsCombo() const
{
    return control_ && kind_ >= ComboDropDown && kind_ <= ComboSimple;
}

bool clsControl::IsListBox() const
{
    return control_ && kind_ >= ListSingle && kind_ <= ListMulti;
}

HWND clsControl::TextWindow() const
{
    if (kind_ == ComboDropDown) return editChild_;
    if ((kind_ >= CheckBox && kind_ <= TextBox) || kind_ == RichText) return control_.Get();
    return nullptr;
}

LRESULT clsControl::SendList(UINT comboMessage, UINT listMessage, WPARAM wParam, LPARAM lParam) const
{
    if (IsCombo()) return SendMessageW(control_.Get(), comboMessage, wParam, lParam);
    if (IsListBox()) return SendMessageW(control_.Get(), listMessage, wParam, lParam);
    return 0;
}

bool clsControl::Checked() const
{
    return SendMessageW(control_.Get(), BM_GETCHECK, 0, 0) != 0;
}

void clsControl::Checked(bool value)
{
    SendMessageW(control_.Get(), BM_SETCHECK, value ? BST_CHECKED : BST_UNCHECKED, 0);
}

void clsControl::Enabled(bool PropVal)
{
    enabled_ = PropVal;
    if (control_) EnableWindow(control_.Get(), PropVal);
}

std::wstring clsControl::Text() const
{
    return WindowText(TextWindow());
}

void clsControl::Text(const std::wstring& value)
{
    if (HWND window = TextWindow()) SetWindowTextW(window, value.c_str());
}

void clsControl::BorderStyle(int eStyle)
{
    if (eStyle < 0 || eStyle > 4) return;
    border_ = eStyle;
    exStyle_ = ExStyleOfBorder(eStyle);
}

LONG_PTR clsControl::ItemData(int Index) const
{
    return SendList(CB_GETITEMDATA, LB_GETITEMDATA, static_cast<WPARAM>(Index), 0);
}

void clsControl::ItemData(int Index, LONG_PTR NewData)
{
    SendList(CB_SETITEMDATA, LB_SETITEMDATA, static_cast<WPARAM>(Index), NewData);
}

int clsControl::ListIndex() const
{
    return static_cast<int>(SendList(CB_GETCURSEL, LB_GETCURSEL, 0, 0));
}

void clsControl::ListIndex(int index)
{
    SendList(CB_SETCURSEL, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

int clsControl::ListCount() const
{
    return static_cast<int>(SendList(CB_GETCOUNT, LB_GETCOUNT, 0, 0));
}

std::wstring clsControl::List(int Index) const
{
    if (Index < 0) return {};
    LRESULT length = SendList(CB_GETLBTEXTLEN, LB_GETTEXTLEN, static_cast<WPARAM>(Index), 0);
    if (length <= 0) return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    LRESULT copied = SendList(CB_GETLBTEXT, LB_GETTEXT, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
    return text;
}

void clsControl::Clear()
{
    SendList(CB_RESETCONTENT, LB_RESETCONTENT, 0, 0);
}

bool clsControl::RemoveItem(int Index)
{
    if (!IsCombo() && !IsListBox()) return false;
    return SendList(CB_DELETESTRING, LB_DELETESTRING, static_cast<WPARAM>(Index), 0) != CB_ERR;
}

int clsControl::AddItem(const std::wstring& Text, int BeforeIndex, LONG_PTR ItemData)
{
    if (!IsCombo() && !IsListBox()) return 0;
    auto text = reinterpret_cast<LPARAM>(Text.c_str());
    LRESULT index;
    if (BeforeIndex == -1) {
        index = SendList(CB_ADDSTRING, LB_ADDSTRING, 0, text);
    } else if (BeforeIndex >= 0) {
        index = SendList(CB_INSERTSTRING, LB_INSERTSTRING, static_cast<WPARAM>(BeforeIndex), text);
    } else {
        return -1;
    }
    newIndex_ = static_cast<int>(index);
    if (ItemData != 0 && index >= 0) this->ItemData(newIndex_, ItemData);
    return newIndex_;
}

bool clsControl::Create(int eCtrlStyle)
{
    if (control_ || !host_) return false;
    hostWindow_ = host_->hwnd();
    kind_ = eCtrlStyle;
    KindInfo info = InfoOfKind(kind_);
    DWORD style = WS_CHILD | WS_VISIBLE | info.Style;
    if (kind_ == TextBox || kind_ == RichText) style = WS_CHILD | WS_VISIBLE | editStyle_;
    if (border_ == 1 || border_ == 4) {
        style |= WS_BORDER;
    } else {
        style &= ~WS_BORDER;
    }
    // A combo box draws its own sunken frame; a heavier edge around it looks doubled.
    if ((kind_ == ComboDropDown || kind_ == ComboDropDownList) && (border_ == 1 || border_ == 3 || border_ == 4)) {
        BorderStyle(2);
    }
    DWORD exStyle = exStyle_ | (rightToLeft_ ? WS_EX_RTLREADING : 0);

    if (info.ClassName) {
        RECT client{};
        GetClientRect(hostWindow_, &client);
        control_.Reset(CreateWindowExW(exStyle, info.ClassName, L"", style, 0, 0, client.right, client.bottom,
                                       hostWindow_, nullptr, GetModuleHandleW(nullptr), nullptr));
    }
    if (kind_ == ComboDropDown) editChild_ = GetWindow(control_.Get(), GW_CHILD);
    if (!font_) font_ = StockGuiFont();
    SendMessageW(control_.Get(), WM_SETFONT, reinterpret_cast<WPARAM>(font_), TRUE);
    if (!control_) return false;

    engine_.Subclass(hostWindow_, this, 0, true);
    engine_.AddMessage(hostWindow_, WM_COMMAND, SubclassBefore);
    // The host's size notification: the control follows it.
    engine_.AddMessage(hostWindow_, WM_SIZE, SubclassAfter);
    return true;
}

void clsControl::FitToHost()
{
    if (!control_ || !host_) return;
    // Whole pixels, as the host's twips size rounds down.
    int width = static_cast<int>(host_->Width() / TwipsPerPixelX());
    int height = static_cast<int>(host_->Height() / TwipsPerPixelY());
    MoveWindow(control_.Get(), 0, 0, width, height, TRUE);
}

void clsControl::WndProc(bool bBefore, bool&, LRESULT&, HWND, UINT uMsg, WPARAM wParam, LPARAM lParam, LONG_PTR&)
{
    if (uMsg == WM_COMMAND && bBefore) OnCommand(wParam, lParam);
    if (uMsg == WM_SIZE && !bBefore) FitToHost();
}

void clsControl::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (!IsCombo()) {
        bool textChanged = (kind_ == TextBox || kind_ == RichText) && HIWORD(wParam) == EN_CHANGE;
        // Copies first: the Click handler may destroy this object.
        auto changed = textChanged ? TextChanged : nullptr;
        Raise(Click);
        Raise(changed);
        return;
    }
    if (reinterpret_cast<HWND>(lParam) != control_.Get()) return;
    switch (HIWORD(wParam)) {
    case CBN_SELCHANGE: Raise(Click); break;
    case CBN_DBLCLK: Raise(DblClick); break;
    case CBN_DROPDOWN: Raise(DropDown); break;
    case CBN_EDITCHANGE: Raise(Change); break;
    default: break;
    }
}
