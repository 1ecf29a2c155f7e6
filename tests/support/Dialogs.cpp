#include "support/Dialogs.h"

std::wstring WindowTextOf(HWND window)
{
    wchar_t text[2048] = {};
    GetWindowTextW(window, text, 2048);
    return text;
}

namespace {

struct Search {
    const std::function<bool(HWND)>& IsDialog;
    HWND Found = nullptr;
};

BOOL CALLBACK MatchDialog(HWND window, LPARAM parameter)
{
    auto* search = reinterpret_cast<Search*>(parameter);
    wchar_t className[32] = {};
    GetClassNameW(window, className, 32);
    bool dialog = search->IsDialog ? search->IsDialog(window) : std::wstring(className) == L"#32770";
    if (!dialog || !IsWindowVisible(window)) return TRUE;
    search->Found = window;
    return FALSE;
}

BOOL CALLBACK CollectText(HWND child, LPARAM text)
{
    if (GetWindowTextLengthW(child) > 0) *reinterpret_cast<std::wstring*>(text) += WindowTextOf(child) + L"\n";
    return TRUE;
}

// Texts of all child windows of a dialog, one per line.
std::wstring DialogText(HWND dialog)
{
    std::wstring text;
    EnumChildWindows(dialog, CollectText, reinterpret_cast<LPARAM>(&text));
    return text;
}

}  // namespace

void ClickDialogButton(HWND dialog, int id)
{
    if (HWND button = GetDlgItem(dialog, id))
        SendMessageW(button, BM_CLICK, 0, 0);
    else
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
}

void DismissDialog(HWND dialog)
{
    HWND cancel = GetDlgItem(dialog, IDCANCEL);
    ClickDialogButton(dialog, cancel && IsWindowVisible(cancel) ? IDCANCEL : IDOK);
}

bool WaitForDialogText(HWND dialog, const std::wstring& text)
{
    for (DWORD start = GetTickCount(); GetTickCount() - start < 15000; Sleep(50))
        if (DialogText(dialog).find(text) != std::wstring::npos) return true;
    return false;
}

DialogAnswerer::DialogAnswerer(std::vector<Answer> answers, std::function<bool(HWND)> isDialog)
{
    thread_ = std::thread([this, owner = GetCurrentThreadId(), answers = std::move(answers), isDialog] {
        for (HWND previous = nullptr; !stop_; Sleep(20)) {
            Search search{isDialog};
            EnumThreadWindows(owner, MatchDialog, reinterpret_cast<LPARAM>(&search));
            // A closed dialog's handle may come back for the next one.
            if (previous && !IsWindow(previous)) previous = nullptr;
            if (!search.Found || search.Found == previous) continue;
            previous = search.Found;
            Sleep(50);  // let the dialog finish its initialisation
            seen_.push_back({WindowTextOf(previous), DialogText(previous), GetWindow(previous, GW_OWNER)});
            std::size_t n = seen_.size() - 1;
            n < answers.size() ? answers[n](previous) : DismissDialog(previous);
        }
    });
}

const std::vector<SeenDialog>& DialogAnswerer::StopLooking()
{
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    return seen_;
}
