#pragma once
// The keyboard of a top-level window as the dialog manager gives it to a dialog: Tab and
// Shift+Tab move the focus through the enabled, visible controls in order and around;
// the arrow keys move within a group of option buttons and select; Enter presses the
// focused push button, else the default button; Esc presses the cancel button. Keys a
// control asks for itself (an open list, an edit that takes Enter, the arrows of a list)
// stay with it, as in a dialog. The message loops hand key messages here first
// (DispatchLoopMessage, controls/Form.h).
//
// Usage: keys.Stops(...); keys.DefaultButton = [] { return save; }; keys.CancelButton = ...
#include <windows.h>

#include <functional>
#include <vector>

struct TabStop {
    HWND Window = nullptr;
    int Group = 0;  // option buttons of one group share a number other than 0
};

class DialogKeys {
public:
    // The controls in tab order.
    void Stops(std::vector<TabStop> stops) { stops_ = std::move(stops); }
    // Pressed by Enter unless the focus is on a push button; none for null.
    std::function<HWND()> DefaultButton;
    // Pressed by Esc; none for null. A hidden or disabled button is not pressed.
    std::function<HWND()> CancelButton;
    // Raised after a key moved the focus to a control.
    std::function<void(HWND)> Focused;

    // A key message of the window (or one of its controls); true when it was handled.
    bool Handle(const MSG& message);
    // The window got the focus: it goes on to the control that last had it, or else to
    // the first one that takes it.
    void FocusControl(HWND window);
    // The window is deactivated: the control with the focus is remembered.
    void RememberFocus(HWND window);
    // Gives the button Enter would press the default button's look, as a dialog does:
    // the focused push button, else the default button. The message loops call it after
    // each key and click.
    void ShowDefault();

private:
    bool TakesFocus(std::size_t stop) const;
    bool IsGroupEntry(std::size_t stop) const;
    std::size_t StopOf(HWND focus) const;
    void MoveFocus(HWND focus, bool backwards);
    bool MoveInGroup(HWND focus, bool backwards);
    void SetFocusTo(HWND control);

    std::vector<TabStop> stops_;
    HWND remembered_ = nullptr;
    HWND shownDefault_ = nullptr;
};

// Whether the window can be used now: it and every window it is in are visible and
// enabled, and no sibling drawn above it (or above a window it is in) hides its middle.
bool IsUsable(HWND window);
// Presses a push button as the dialog manager does, when it is usable.
void PressButton(HWND button);
