#include "controls/DialogKeys.h"

namespace {

constexpr std::size_t kNoStop = static_cast<std::size_t>(-1);

bool IsChecked(HWND button) { return SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED; }

bool IsPushButton(HWND window)
{
    return (SendMessageW(window, WM_GETDLGCODE, 0, 0) & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) != 0;
}

// Whether the middle of the window's part inside its parent shows, or nothing of it
// is inside (scrolled out of view, which is no sibling's doing).
bool ShowsInParent(HWND child, HWND parent)
{
    RECT box{}, inside{}, seen{};
    GetWindowRect(child, &box);
    GetClientRect(parent, &inside);
    MapWindowPoints(parent, nullptr, reinterpret_cast<POINT*>(&inside), 2);
    if (!IntersectRect(&seen, &box, &inside)) return true;
    POINT middle{(seen.left + seen.right) / 2, (seen.top + seen.bottom) / 2};
    ScreenToClient(parent, &middle);
    HWND above = ChildWindowFromPointEx(parent, middle, CWP_SKIPINVISIBLE);
    return !above || above == child || above == parent;
}

}  // namespace

bool IsUsable(HWND window)
{
    if (!window || !IsWindowVisible(window)) return false;
    for (HWND child = window; GetWindowLongPtrW(child, GWL_STYLE) & WS_CHILD; child = GetParent(child)) {
        HWND parent = GetParent(child);
        if (!parent || !IsWindowEnabled(child) || !ShowsInParent(child, parent)) return false;
    }
    return true;
}

void PressButton(HWND button)
{
    // As the dialog manager presses its default button: the click's notification alone.
    if (IsUsable(button))
        SendMessageW(GetParent(button), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
                     reinterpret_cast<LPARAM>(button));
}

bool DialogKeys::Handle(const MSG& message)
{
    // With no control focused (the focused one was disabled or hidden), keys come to the
    // window as system keys, though Alt is up.
    bool keyDown = message.message == WM_KEYDOWN ||
                   (message.message == WM_SYSKEYDOWN && !(HIWORD(message.lParam) & KF_ALTDOWN));
    if (!keyDown) return false;
    HWND focus = GetFocus();
    LRESULT wants = focus ? SendMessageW(focus, WM_GETDLGCODE, message.wParam, reinterpret_cast<LPARAM>(&message)) : 0;
    if (wants & DLGC_WANTMESSAGE) return false;
    switch (message.wParam) {
    case VK_TAB:
        if (wants & DLGC_WANTTAB) return false;
        MoveFocus(focus, GetKeyState(VK_SHIFT) < 0);
        return true;
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN:
        if (wants & DLGC_WANTARROWS) return false;
        return MoveInGroup(focus, message.wParam == VK_LEFT || message.wParam == VK_UP);
    case VK_RETURN:
        if (wants & DLGC_WANTALLKEYS) return false;
        if (wants & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON))
            PressButton(focus);
        else if (DefaultButton)
            PressButton(DefaultButton());
        return true;
    case VK_ESCAPE:
        if (wants & DLGC_WANTALLKEYS) return false;
        if (CancelButton) PressButton(CancelButton());
        return true;
    default:
        return false;
    }
}

void DialogKeys::FocusControl(HWND window)
{
    if (remembered_ && IsChild(window, remembered_) && IsUsable(remembered_)) {
        SetFocus(remembered_);
    } else {
        for (std::size_t stop = 0; stop < stops_.size(); ++stop) {
            if (TakesFocus(stop)) {
                SetFocus(stops_[stop].Window);
                break;
            }
        }
    }
    ShowDefault();
}

void DialogKeys::ShowDefault()
{
    HWND focus = GetFocus();
    HWND button = StopOf(focus) != kNoStop && IsPushButton(focus) ? focus : DefaultButton ? DefaultButton() : nullptr;
    if (button == shownDefault_) return;
    if (shownDefault_ && IsWindow(shownDefault_)) SendMessageW(shownDefault_, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
    if (button) SendMessageW(button, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
    shownDefault_ = button;
}

void DialogKeys::RememberFocus(HWND window)
{
    HWND focus = GetFocus();
    if (focus && IsChild(window, focus)) remembered_ = focus;
}

// A group of option buttons takes the focus at its checked button, or at its first one
// when none is checked.
bool DialogKeys::IsGroupEntry(std::size_t stop) const
{
    int group = stops_[stop].Group;
    if (group == 0) return true;
    std::size_t first = kNoStop;
    for (std::size_t other = 0; other < stops_.size(); ++other) {
        if (stops_[other].Group != group || !IsUsable(stops_[other].Window)) continue;
        if (IsChecked(stops_[other].Window)) return other == stop;
        if (first == kNoStop) first = other;
    }
    return first == stop;
}

bool DialogKeys::TakesFocus(std::size_t stop) const { return IsUsable(stops_[stop].Window) && IsGroupEntry(stop); }

std::size_t DialogKeys::StopOf(HWND focus) const
{
    for (std::size_t stop = 0; focus && stop < stops_.size(); ++stop)
        if (stops_[stop].Window == focus || IsChild(stops_[stop].Window, focus)) return stop;
    return kNoStop;
}

void DialogKeys::MoveFocus(HWND focus, bool backwards)
{
    std::size_t count = stops_.size();
    std::size_t from = StopOf(focus);
    if (from == kNoStop) from = backwards ? 0 : count - 1;
    for (std::size_t step = 1; step <= count; ++step) {
        std::size_t stop = backwards ? (from + count - step) % count : (from + step) % count;
        if (TakesFocus(stop)) {
            SetFocusTo(stops_[stop].Window);
            return;
        }
    }
}

bool DialogKeys::MoveInGroup(HWND focus, bool backwards)
{
    std::size_t from = StopOf(focus);
    if (from == kNoStop || stops_[from].Group == 0) return false;
    std::size_t count = stops_.size();
    for (std::size_t step = 1; step < count; ++step) {
        std::size_t stop = backwards ? (from + count - step) % count : (from + step) % count;
        HWND option = stops_[stop].Window;
        if (stops_[stop].Group != stops_[from].Group || !IsUsable(option)) continue;
        SetFocusTo(option);
        // The arrows select as they go, with the click's notification.
        if (!IsChecked(option)) SendMessageW(option, BM_CLICK, 0, 0);
        break;
    }
    return true;
}

void DialogKeys::SetFocusTo(HWND control)
{
    SetFocus(control);
    // An edit box (or a combo's) shows its text selected, ready to be typed over.
    HWND focus = GetFocus();
    if (focus && (SendMessageW(focus, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL)) SendMessageW(focus, EM_SETSEL, 0, -1);
    // Focus rectangles show from the first key on, as in a dialog.
    SendMessageW(GetAncestor(control, GA_ROOT), WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
    if (auto handler = Focused) handler(control);
}
