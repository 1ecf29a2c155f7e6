#include <gtest/gtest.h>

#include <algorithm>

#include "SettingsTestSupport.h"
#include "settings/IniFile.h"
#include "settings/SafeWrite.h"
#include "support/TestFolder.h"

TEST(ReadIniValue, FollowsTheProfileReaderRules)
{
    TestFolder folder;
    std::wstring path = folder.MakeFile(L"a.ini", Utf16Text({L"[Other]", L"Key=other", L"[Main]", L"Key=  spaced  ",
                                                            L"Mixed=中文", L"Twice=first", L"Twice=second",
                                                            L" Quoted = \"a b\" ", L"Half=\"a"}));
    EXPECT_EQ(ReadIniValue(L"MAIN", L"key", path), L"spaced");
    EXPECT_EQ(ReadIniValue(L"Main", L"Mixed", path), L"中文");
    EXPECT_EQ(ReadIniValue(L"Main", L"Twice", path), L"first");
    EXPECT_EQ(ReadIniValue(L"Main", L"QUOTED", path), L"a b");
    EXPECT_EQ(ReadIniValue(L"Main", L"Half", path), L"\"a");
    EXPECT_EQ(ReadIniValue(L"Main", L"Missing", path), L"");
    EXPECT_EQ(ReadIniValue(L"Missing", L"Key", path), L"");
    EXPECT_EQ(ReadIniValue(L"Main", L"Key", folder / L"missing.ini"), L"");
    EXPECT_EQ(ReadIniValue(L"Main", L"Key", folder.Path()), L"");
    // Without the byte-order mark the file is read as ANSI text.
    std::wstring ansi = folder.MakeFile(L"ansi.ini", "[Main]\nKey=plain\n");
    EXPECT_EQ(ReadIniValue(L"Main", L"Key", ansi), L"plain");
}

TEST(ReadIniValue, CutsValuesLongerThanTheLongestPath)
{
    TestFolder folder;
    std::vector<std::wstring> lines{L"[Main]"};
    std::vector<std::size_t> lengths{127, 128, 255, 256, 10000, 32767, 32768, 100000};
    for (std::size_t length : lengths) lines.push_back(L"V" + std::to_wstring(length) + L"=" + std::wstring(length, L'x'));
    std::wstring path = folder.MakeFile(L"a.ini", Utf16Text(lines));
    for (std::size_t length : lengths)
        EXPECT_EQ(ReadIniValue(L"Main", L"V" + std::to_wstring(length), path),
                  std::wstring(std::min<std::size_t>(length, 32767), L'x'));
}

TEST(FileExists, IsTrueForFilesAndFolders)
{
    TestFolder folder;
    EXPECT_TRUE(FileExists(folder.MakeFile(L"a.txt")));
    EXPECT_TRUE(FileExists(folder.Path()));
    EXPECT_FALSE(FileExists(folder / L"missing"));
}

TEST(WriteResourceToFile, ReplacesTheFileWithTheBuiltInBytes)
{
    TestFolder folder;
    std::wstring setting = folder.MakeFile(L"Setting.ini", std::string(5000, 'z'));
    EXPECT_TRUE(WriteResourceToFile(L"SETTING", setting));
    EXPECT_EQ(ReadFileBytes(setting), Utf16Text(DefaultSettingLines()));
    EXPECT_EQ(ReadFileBytes(setting).size(), 504u);
    std::wstring fileTypes = folder / L"FileType.txt";
    EXPECT_TRUE(WriteResourceToFile(L"FILEFILTERS", fileTypes));
    EXPECT_EQ(ReadFileBytes(fileTypes), Utf16Text(DefaultFileTypeLines(), false));
    EXPECT_EQ(ReadFileBytes(fileTypes).size(), 1652u);
    EXPECT_FALSE(FileExists(fileTypes + L".new"));
}

TEST(WriteResourceToFile, FailsWithoutHarmingWhatIsThere)
{
    TestFolder folder;
    std::wstring existing = folder.MakeFile(L"keep.txt", "old");
    EXPECT_FALSE(WriteResourceToFile(L"NOSUCHRESOURCE", existing));
    EXPECT_FALSE(WriteResourceToFile(L"SETTING", folder / L"missing\\Setting.ini"));
    {
        LockedFile pending(existing + L".new");
        EXPECT_FALSE(WriteResourceToFile(L"SETTING", existing));
    }
    EXPECT_EQ(ReadFileBytes(existing), "old");
    std::wstring asFolder = folder.MakeFolder(L"Setting.ini");
    EXPECT_FALSE(WriteResourceToFile(L"SETTING", asFolder));
    EXPECT_TRUE(GetFileAttributesW(asFolder.c_str()) & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_FALSE(FileExists(asFolder + L".new"));
}
