#pragma once
// Finding and answering the real dialogs and message boxes a test's own code opens.
// The dialog runs its modal loop on the test's thread, so a helper thread watches for
// it and presses its buttons with real messages.
#include <windows.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

// The first visible dialog (class "#32770") owned by the given thread, or none.
HWND FindThreadDialog(DWORD threadId, const wchar_t* caption = nullptr);
// Texts of all child windows of a dialog, in z-order.
std::wstring DialogText(HWND dialog);
// Clicks a dialog button through BM_CLICK, as a user's click would.
void ClickDialogButton(HWND dialog, int id);
// Waits until some text of the dialog contains `text` (the folder dialog shows the
// selected path once it has expanded its way there); false after timeoutMs.
bool WaitForDialogText(HWND dialog, const std::wstring& text, DWORD timeoutMs = 15000);

// Watches for dialogs of the calling thread and hands each to its answer, in order,
// on a helper thread (the next answer waits until the previous dialog has closed);
// gives up after timeoutMs per dialog. The destructor waits for the helper thread.
class DialogAnswerer {
public:
    using Answer = std::function<void(HWND)>;
    DialogAnswerer(Answer answer, const wchar_t* caption = nullptr, DWORD timeoutMs = 20000);
    explicit DialogAnswerer(std::vector<Answer> answers, DWORD timeoutMs = 20000);
    ~DialogAnswerer();
    DialogAnswerer(const DialogAnswerer&) = delete;
    DialogAnswerer& operator=(const DialogAnswerer&) = delete;

    // Waits for the helper thread; call before reading what it saw.
    void Wait();
    // Gives up on the dialogs that have not come yet, then waits: for when the code
    // under test has returned and no dialog can come any more.
    void StopLooking();
    // True when every dialog was found and answered.
    bool Answered() const { return answered_ == seenTexts_.size() && !seenTexts_.empty(); }
    std::size_t AnsweredCount() const { return answered_; }
    // What the first dialog showed when it was found (all its child texts).
    const std::wstring& SeenText() const { return seenTexts_.front(); }
    // What dialog n showed, or empty text when it never came.
    std::wstring SeenText(std::size_t n) const { return n < answered_ ? seenTexts_[n] : std::wstring(); }

private:
    void Start(std::vector<Answer> answers, std::wstring caption, DWORD timeoutMs);

    std::thread thread_;
    std::atomic<bool> stop_{false};
    std::size_t answered_ = 0;
    std::vector<std::wstring> seenTexts_;
};
