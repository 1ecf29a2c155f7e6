#include <gtest/gtest.h>

#include <cwctype>

#include "fs/FolderPath.h"
#include "support/TestFolder.h"

TEST(ExistingFolderPath, GivesTheSpellingOnDiskWithATrailingBackslash)
{
    TestFolder folder;
    folder.MakeFolder(L"Long Folder Name");
    folder.MakeFolder(L"Long Folder Name\\Inner");
    std::wstring file = folder.MakeFile(L"a.txt");
    std::wstring base = folder.Path();
    std::wstring lowerDrive = base;
    lowerDrive[0] = static_cast<wchar_t>(towlower(lowerDrive[0]));
    std::wstring expected = base + L"\\Long Folder Name\\Inner\\";

    EXPECT_EQ(ExistingFolderPath(base + L"\\Long Folder Name\\Inner"), expected);
    EXPECT_EQ(ExistingFolderPath(lowerDrive + L"\\long folder name\\INNER\\"), expected);
    EXPECT_EQ(ExistingFolderPath(base + L"\\Long Folder Name\\Inner\\..\\.\\Inner"), expected);
    EXPECT_EQ(ExistingFolderPath(L"\\\\?\\" + base + L"\\Long Folder Name\\Inner"), expected);
    wchar_t shortForm[MAX_PATH] = {};
    if (GetShortPathNameW((base + L"\\Long Folder Name\\Inner").c_str(), shortForm, MAX_PATH)) {
        EXPECT_EQ(ExistingFolderPath(shortForm), expected) << shortForm;
    }
    EXPECT_EQ(ExistingFolderPath(lowerDrive.substr(0, 3)), base.substr(0, 3));

    EXPECT_EQ(ExistingFolderPath(file), std::nullopt);
    EXPECT_EQ(ExistingFolderPath(base + L"\\missing"), std::nullopt);
    EXPECT_EQ(ExistingFolderPath(base + L"\\Long*"), std::nullopt);
    EXPECT_EQ(ExistingFolderPath(L""), std::nullopt);
}
