#pragma once
// Finding and answering the real dialogs and message boxes a test's own code opens.
// The dialog runs its modal loop on the test's thread, so a helper thread watches for
// it and presses its buttons with real messages.
#include <windows.h>

#include <functional>
#include <string>
#include <thread>

// The first visible dialog (class "#32770") owned by the given thread, or none.
HWND FindThreadDialog(DWORD threadId, const wchar_t* caption = nullptr);
// Texts of all child windows of a dialog, in z-order.
std::wstring DialogText(HWND dialog);
// Clicks a dialog button through BM_CLICK, as a user's click would.
void ClickDialogButton(HWND dialog, int id);

// Watches for a dialog of the calling thread and hands it to `answer` on a helper
// thread; gives up after timeoutMs. Join before the test ends (the destructor does).
class DialogAnswerer {
public:
    DialogAnswerer(std::function<void(HWND)> answer, const wchar_t* caption = nullptr, DWORD timeoutMs = 20000);
    ~DialogAnswerer();
    DialogAnswerer(const DialogAnswerer&) = delete;
    DialogAnswerer& operator=(const DialogAnswerer&) = delete;

    // Waits for the helper thread; call before reading what it saw.
    void Wait();
    bool Answered() const { return answered_; }
    // What the dialog showed when it was found (all its child texts).
    const std::wstring& SeenText() const { return seenText_; }

private:
    std::thread thread_;
    bool answered_ = false;
    std::wstring seenText_;
};
