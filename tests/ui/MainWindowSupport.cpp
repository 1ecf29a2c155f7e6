#include <gtest/gtest.h>

#include "MainWindowSupport.h"

#include <ole2.h>

#include "fs/OutputFile.h"
#include "support/Dialogs.h"

void ChooseItem(HWND list, int index)
{
    SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageW(GetParent(list), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(list));
}

void ClickButton(HWND button) { SendMessageW(button, BM_CLICK, 0, 0); }

std::wstring WindowTextOf(HWND window)
{
    wchar_t text[1024] = {};
    GetWindowTextW(window, text, 1024);
    return text;
}

int SelectedIndex(HWND list) { return static_cast<int>(SendMessageW(list, CB_GETCURSEL, 0, 0)); }

void LetMessagesRun(DWORD milliseconds)
{
    DWORD start = GetTickCount();
    do {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        Sleep(5);
    } while (GetTickCount() - start < milliseconds);
}

void DismissDialog(HWND dialog)
{
    HWND cancel = GetDlgItem(dialog, IDCANCEL);
    ClickDialogButton(dialog, cancel && IsWindowVisible(cancel) ? IDCANCEL : IDOK);
}

void MainWindowTest::SetUp() { ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr))); }

void MainWindowTest::TearDown()
{
    if (window && window->IsOpen()) window->Close();
    window.reset();
    OleUninitialize();
}

frmMain& MainWindowTest::Start()
{
    window = std::make_unique<frmMain>(program.Path());
    EXPECT_TRUE(window->Load());
    LetMessagesRun();
    return *window;
}

void MainWindowTest::WriteSettings(const std::wstring& lines)
{
    OutputFile file;
    ASSERT_TRUE(OpenOutputFile(file, program / L"Setting.ini"));
    std::size_t start = 0;
    while (start < lines.size()) {
        std::size_t end = lines.find(L'\n', start);
        if (end == std::wstring::npos) end = lines.size();
        WriteOutputLine(file, lines.substr(start, end - start));
        start = end + 1;
    }
    CloseOutputFile(file);
}

std::wstring MainWindowTest::SettingsBytes() const
{
    std::string bytes = ReadFileBytes(program / L"Setting.ini");
    std::wstring text;
    for (std::size_t i = 2; i + 1 < bytes.size(); i += 2)
        text.push_back(static_cast<wchar_t>(static_cast<unsigned char>(bytes[i]) |
                                            (static_cast<unsigned char>(bytes[i + 1]) << 8)));
    return text;
}
