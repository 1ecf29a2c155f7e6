#include "support/Dialogs.h"

namespace {

struct Search {
    DWORD threadId;
    const wchar_t* caption;
    HWND found;
};

BOOL CALLBACK MatchDialog(HWND window, LPARAM parameter)
{
    auto* search = reinterpret_cast<Search*>(parameter);
    wchar_t className[32] = {};
    GetClassNameW(window, className, 32);
    if (std::wstring(className) != L"#32770" || !IsWindowVisible(window)) return TRUE;
    if (search->caption) {
        wchar_t caption[256] = {};
        GetWindowTextW(window, caption, 256);
        if (std::wstring(caption) != search->caption) return TRUE;
    }
    search->found = window;
    return FALSE;
}

BOOL CALLBACK CollectText(HWND child, LPARAM parameter)
{
    auto* text = reinterpret_cast<std::wstring*>(parameter);
    int length = GetWindowTextLengthW(child);
    if (length > 0) {
        std::wstring piece(static_cast<std::size_t>(length) + 1, L'\0');
        piece.resize(static_cast<std::size_t>(GetWindowTextW(child, piece.data(), length + 1)));
        *text += piece + L"\n";
    }
    return TRUE;
}

}  // namespace

HWND FindThreadDialog(DWORD threadId, const wchar_t* caption)
{
    Search search{threadId, caption, nullptr};
    EnumThreadWindows(threadId, MatchDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::wstring DialogText(HWND dialog)
{
    std::wstring text;
    EnumChildWindows(dialog, CollectText, reinterpret_cast<LPARAM>(&text));
    return text;
}

void ClickDialogButton(HWND dialog, int id)
{
    HWND button = GetDlgItem(dialog, id);
    if (button)
        SendMessageW(button, BM_CLICK, 0, 0);
    else
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
}

DialogAnswerer::DialogAnswerer(Answer answer, const wchar_t* caption, DWORD timeoutMs)
{
    Start({std::move(answer)}, caption ? caption : L"", timeoutMs);
}

DialogAnswerer::DialogAnswerer(std::vector<Answer> answers, DWORD timeoutMs)
{
    Start(std::move(answers), L"", timeoutMs);
}

void DialogAnswerer::Start(std::vector<Answer> answers, std::wstring caption, DWORD timeoutMs)
{
    DWORD owner = GetCurrentThreadId();
    seenTexts_.assign(answers.size(), std::wstring());
    thread_ = std::thread([this, owner, caption, timeoutMs, answers = std::move(answers)] {
        HWND previous = nullptr;
        for (const Answer& answer : answers) {
            HWND dialog = nullptr;
            DWORD start = GetTickCount();
            while (!dialog && !stop_ && GetTickCount() - start < timeoutMs) {
                HWND found = FindThreadDialog(owner, caption.empty() ? nullptr : caption.c_str());
                if (found && found != previous)
                    dialog = found;
                else if (previous && !IsWindow(previous))
                    previous = nullptr;  // the same handle may come back for the next dialog
                else
                    Sleep(50);
            }
            if (!dialog) return;
            Sleep(300);  // let the dialog finish its initialisation
            seenTexts_[answered_] = DialogText(dialog);
            answer(dialog);
            ++answered_;
            previous = dialog;
        }
    });
}

bool WaitForDialogText(HWND dialog, const std::wstring& text, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    while (GetTickCount() - start < timeoutMs) {
        if (DialogText(dialog).find(text) != std::wstring::npos) return true;
        Sleep(50);
    }
    return false;
}

void DialogAnswerer::Wait()
{
    if (thread_.joinable()) thread_.join();
}

void DialogAnswerer::StopLooking()
{
    stop_ = true;
    Wait();
}

DialogAnswerer::~DialogAnswerer() { Wait(); }
