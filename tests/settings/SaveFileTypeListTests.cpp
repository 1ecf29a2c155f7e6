#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "SettingsTestSupport.h"
#include "settings/FileTypes.h"
#include "settings/IniFile.h"
#include "support/TestFolder.h"

namespace {

const wchar_t kPrefix[] = L"副檔名清單無法儲存\r\n錯誤代碼：";

// What the message box showed, read from another thread while the box waits for OK.
struct SeenBox {
    bool Shown = false;
    HWND Owner = nullptr;
    std::wstring Text;
    int VisibleButtons = 0;
};

BOOL CALLBACK CollectChild(HWND child, LPARAM param)
{
    auto& seen = *reinterpret_cast<SeenBox*>(param);
    wchar_t className[32]{};
    GetClassNameW(child, className, 32);
    if (lstrcmpiW(className, L"Static") == 0) {
        wchar_t text[512]{};
        GetWindowTextW(child, text, 512);
        seen.Text.append(text);
    }
    if (lstrcmpiW(className, L"Button") == 0 && IsWindowVisible(child)) ++seen.VisibleButtons;
    return TRUE;
}

// Waits up to ten seconds for the box, records it and presses OK.
void CloseBoxWhenShown(SeenBox& seen, std::atomic<bool>& stop)
{
    for (int tries = 0; tries < 1000 && !stop; ++tries) {
        HWND box = FindWindowW(L"#32770", L"Quorvane Ver 1.06");
        if (box) {
            seen.Shown = true;
            seen.Owner = GetWindow(box, GW_OWNER);
            EnumChildWindows(box, CollectChild, reinterpret_cast<LPARAM>(&seen));
            PostMessageW(box, WM_COMMAND, IDOK, 0);
            return;
        }
        Sleep(10);
    }
}

class OwnerWindow {
public:
    OwnerWindow()
        : hwnd_(CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr))
    {
    }
    ~OwnerWindow() { DestroyWindow(hwnd_); }
    HWND Get() const { return hwnd_; }

private:
    HWND hwnd_;
};

SeenBox SaveWatchingForBox(HWND owner, const std::vector<FileTypeRow>& rows, const std::wstring& folder,
                           bool& result)
{
    SeenBox seen;
    std::atomic<bool> stop{false};
    std::thread watcher(CloseBoxWhenShown, std::ref(seen), std::ref(stop));
    result = SaveFileTypeList(owner, rows, folder);
    stop = true;
    watcher.join();
    return seen;
}

}  // namespace

TEST(FileTypeSaveErrorText, PutsTheSystemsDescriptionAfterTheCode)
{
    EXPECT_EQ(FileTypeSaveErrorText(0), kPrefix);
    std::wstring full = FileTypeSaveErrorText(ERROR_DISK_FULL);
    ASSERT_TRUE(full.starts_with(kPrefix));
    std::wstring description = full.substr(std::wstring(kPrefix).size());
    EXPECT_FALSE(description.empty());
    EXPECT_FALSE(description.ends_with(L"\n"));
    EXPECT_NE(description, FileTypeSaveErrorText(ERROR_ACCESS_DENIED).substr(std::wstring(kPrefix).size()));
}

TEST(SaveFileTypeList, AFailedSaveShowsTheMessageOwnedByTheEditor)
{
    TestFolder folder;
    folder.MakeFolder(L"FileType.txt");
    OwnerWindow owner;
    bool result = true;
    SeenBox seen = SaveWatchingForBox(owner.Get(), {{L"A", L"*.a"}}, folder.Path(), result);
    EXPECT_FALSE(result);
    ASSERT_TRUE(seen.Shown);
    EXPECT_EQ(seen.Owner, owner.Get());
    EXPECT_EQ(seen.VisibleButtons, 1);
    EXPECT_TRUE(seen.Text.starts_with(kPrefix)) << "box text: " << seen.Text.size() << " characters";
    EXPECT_GT(seen.Text.size(), std::wstring(kPrefix).size());
    EXPECT_TRUE(FileExists(folder / L"FileType.txt"));
}

TEST(SaveFileTypeList, ASuccessfulSaveShowsNothing)
{
    TestFolder folder;
    OwnerWindow owner;
    bool result = false;
    SeenBox seen = SaveWatchingForBox(owner.Get(), {{L"A", L"*.a"}}, folder.Path(), result);
    EXPECT_TRUE(result);
    EXPECT_FALSE(seen.Shown);
    EXPECT_EQ(ReadFileBytes(folder / L"FileType.txt"),
              Utf16Text({L"[FileType]", L"Title1=A", L"Type1=*.a", L"TypeList=1"}));
}

TEST(SaveFileTypeList, AWriteFailingPartWayIsReportedAndKeepsThePreviousFile)
{
    std::wstring volume = SmallVolumeFolder();
    if (volume.empty()) GTEST_SKIP() << "QUORVANE_SMALL_VOLUME is not set";
    std::wstring folder = volume + L"\\editor-" + std::to_wstring(GetCurrentProcessId());
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    std::wstring path = folder + L"\\FileType.txt";
    ASSERT_EQ(WriteFileTypeList({{L"Old", L"*.old"}}, folder), 0u);
    OwnerWindow owner;
    bool result = true;
    // More than the whole volume holds, so the write fails after the first lines.
    SeenBox seen = SaveWatchingForBox(owner.Get(), {{L"A", L"*.a"}, {L"Big", std::wstring(1024 * 1024, L'x')}},
                                      folder, result);
    std::string after = ReadFileBytes(path);
    bool pendingLeft = FileExists(path + L".new");
    RemoveTree(folder);
    EXPECT_FALSE(result);
    EXPECT_TRUE(seen.Shown);
    EXPECT_TRUE(seen.Text.starts_with(kPrefix));
    EXPECT_EQ(after, Utf16Text({L"[FileType]", L"Title1=Old", L"Type1=*.old", L"TypeList=1"}));
    EXPECT_FALSE(pendingLeft);
}
