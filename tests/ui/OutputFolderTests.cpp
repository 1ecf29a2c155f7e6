#include <gtest/gtest.h>

#include <ole2.h>

#include "support/Dialogs.h"
#include "support/TestFolder.h"
#include "fs/EntryMetadata.h"
#include "ui/OutputFolder.h"

namespace {

// The shell's folder dialog of the new style needs OLE on the calling thread.
class OleThread : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr))); }
    void TearDown() override { OleUninitialize(); }
};

using ChooseOutputFolder = OleThread;

}  // namespace

TEST(AddTrailingBackslash, AddsOneOnlyWhereMissing)
{
    EXPECT_EQ(AddTrailingBackslash(L"C:\\Temp"), L"C:\\Temp\\");
    EXPECT_EQ(AddTrailingBackslash(L"C:\\Temp\\"), L"C:\\Temp\\");
    EXPECT_EQ(AddTrailingBackslash(L""), L"\\");
}

TEST(GetShortPath, AnExistingFolderHasAShortFormOfTheSameFolder)
{
    TestFolder folder;
    std::wstring path = folder.MakeFolder(L"A folder with a long name");
    std::wstring shortPath = GetShortPath(path);
    ASSERT_FALSE(shortPath.empty());
    // Either an 8.3 alias or, on volumes without them, the long path itself.
    EntryInfo byShort = GetEntryInfo(shortPath);
    EXPECT_TRUE(byShort.IsFolder);
    std::wstring last = shortPath.substr(shortPath.rfind(L'\\') + 1);
    EXPECT_TRUE(last.size() <= 12 || last == L"A folder with a long name") << last;
}

TEST(GetShortPath, AMissingPathHasNone)
{
    TestFolder folder;
    EXPECT_EQ(GetShortPath(folder / L"missing"), L"");
}

TEST_F(ChooseOutputFolder, ConfirmingStoresTheShortFormWithABackslash)
{
    TestFolder folder;
    std::wstring target = folder.MakeFolder(L"\u6e05\u55ae \u8f38\u51fa");  // 清單 輸出: outside the ANSI page
    OutputFolderChooser chooser;
    chooser.SetOutputFolder(target);

    DialogAnswerer answerer([&](HWND dialog) {
        EXPECT_TRUE(WaitForDialogText(dialog, target));
        ClickDialogButton(dialog, IDOK);
    });
    bool confirmed = chooser.ChooseOutputFolder(nullptr);
    answerer.Wait();
    ASSERT_TRUE(answerer.Answered());
    ASSERT_TRUE(confirmed);
    EXPECT_EQ(chooser.OutputFolder(), AddTrailingBackslash(GetShortPath(target)));
    // The dialog opened on the initial folder and showed its path in the status line.
    EXPECT_NE(answerer.SeenText().find(target), std::wstring::npos);
    EXPECT_NE(answerer.SeenText().find(L"\u8acb\u9078\u64c7\u8f38\u51fa\u8cc7\u6599\u593e\uff1a"), std::wstring::npos);
}

TEST_F(ChooseOutputFolder, CancellingKeepsThePreviousFolder)
{
    OutputFolderChooser chooser;
    chooser.SetOutputFolder(L"C:\\");
    DialogAnswerer answerer([](HWND dialog) { ClickDialogButton(dialog, IDCANCEL); });
    EXPECT_FALSE(chooser.ChooseOutputFolder(nullptr));
    answerer.Wait();
    EXPECT_TRUE(answerer.Answered());
    EXPECT_EQ(chooser.OutputFolder(), L"C:\\");
}

