#pragma once
// Answering the real dialogs and message boxes a test's own code opens. The dialog runs
// its modal loop on the test's thread, so a helper thread watches for it and presses its
// buttons with real messages.
#include <windows.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

std::wstring WindowTextOf(HWND window);
void ClickDialogButton(HWND dialog, int id);
// Presses Cancel where the dialog has one, else OK.
void DismissDialog(HWND dialog);
// Waits until some text of the dialog contains `text`; false after 15 seconds.
bool WaitForDialogText(HWND dialog, const std::wstring& text);

struct SeenDialog {
    std::wstring Caption;
    std::wstring Text;  // its child windows' texts when it was found
    HWND Owner = nullptr;
};

// Watches for the visible dialogs (class "#32770", or what isDialog accepts) of the
// calling thread and hands them, in order, to the answers; those beyond the answers are
// dismissed. Watches until StopLooking, which the code under test must have returned before.
class DialogAnswerer {
public:
    using Answer = std::function<void(HWND)>;
    explicit DialogAnswerer(std::vector<Answer> answers = {}, std::function<bool(HWND)> isDialog = nullptr);
    ~DialogAnswerer() { StopLooking(); }
    DialogAnswerer(const DialogAnswerer&) = delete;
    DialogAnswerer& operator=(const DialogAnswerer&) = delete;

    const std::vector<SeenDialog>& StopLooking();

private:
    std::thread thread_;
    std::atomic<bool> stop_{false};
    std::vector<SeenDialog> seen_;
};
