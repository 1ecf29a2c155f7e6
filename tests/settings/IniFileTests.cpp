#include <gtest/gtest.h>

#include "SettingsTestSupport.h"
#include "settings/IniFile.h"
#include "settings/SafeWrite.h"
#include "support/TestFolder.h"

namespace {

std::wstring MakeIni(const TestFolder& folder, const std::vector<std::wstring>& lines)
{
    return folder.MakeFile(L"test.ini", Utf16Text(lines));
}

}  // namespace

TEST(ReadIniValue, FollowsTheProfileReaderRules)
{
    TestFolder folder;
    std::wstring path = MakeIni(folder, {L"[Other]", L"Key=other", L"[Main]", L"Key=  spaced value  ", L"Mixed=中文",
                                         L"Empty=", L"Twice=first", L"Twice=second"});
    EXPECT_EQ(ReadIniValue(L"Main", L"Key", path), L"spaced value");
    EXPECT_EQ(ReadIniValue(L"MAIN", L"key", path), L"spaced value");
    EXPECT_EQ(ReadIniValue(L"Main", L"Mixed", path), L"中文");
    EXPECT_EQ(ReadIniValue(L"Main", L"Twice", path), L"first");
    EXPECT_EQ(ReadIniValue(L"Other", L"Key", path), L"other");
    EXPECT_EQ(ReadIniValue(L"Main", L"Empty", path), L"");
    EXPECT_EQ(ReadIniValue(L"Main", L"Missing", path), L"");
    EXPECT_EQ(ReadIniValue(L"Missing", L"Key", path), L"");
    EXPECT_EQ(ReadIniValue(L"Main", L"Key", folder / L"missing.ini"), L"");
    EXPECT_EQ(ReadIniValue(L"Main", L"Key", folder.Path()), L"");
}

TEST(ReadIniValue, ReturnsValuesOfAnyLengthWhole)
{
    TestFolder folder;
    std::vector<std::wstring> lines{L"[Main]"};
    std::vector<std::size_t> lengths{126, 127, 128, 129, 254, 255, 256, 10000};
    for (std::size_t length : lengths)
        lines.push_back(L"V" + std::to_wstring(length) + L"=" + std::wstring(length - 1, L'x') + L"y");
    std::wstring path = MakeIni(folder, lines);
    for (std::size_t length : lengths)
        EXPECT_EQ(ReadIniValue(L"Main", L"V" + std::to_wstring(length), path), std::wstring(length - 1, L'x') + L"y");
}

TEST(ReadIniValue, ReadsAsciiKeysOfFilesWithoutByteOrderMark)
{
    TestFolder folder;
    std::wstring ansi = folder.MakeFile(L"ansi.ini", "[Main]\r\nKey=plain\r\n");
    std::wstring utf8 = folder.MakeFile(L"utf8.ini", "[Main]\nKey=plain\nText=\xE4\xB8\xAD\n");
    EXPECT_EQ(ReadIniValue(L"Main", L"Key", ansi), L"plain");
    EXPECT_EQ(ReadIniValue(L"Main", L"Key", utf8), L"plain");
    EXPECT_FALSE(ReadIniValue(L"Main", L"Text", utf8).empty());
}

TEST(ReadIniKeyNames, ListsTheKeysOfOneSectionInOrder)
{
    TestFolder folder;
    std::vector<std::wstring> lines{L"[a]", L"x=1", L"[Main]", L"First=1", L"second=", L"Third=3"};
    for (int i = 0; i < 100; ++i) lines.push_back(L"LongKeyName" + std::to_wstring(i) + L"=v");
    std::wstring path = MakeIni(folder, lines);
    auto names = ReadIniKeyNames(L"main", path);
    ASSERT_EQ(names.size(), 103u);
    EXPECT_EQ(names[0], L"First");
    EXPECT_EQ(names[1], L"second");
    EXPECT_EQ(names[102], L"LongKeyName99");
    EXPECT_TRUE(ReadIniKeyNames(L"None", path).empty());
    EXPECT_TRUE(ReadIniKeyNames(L"Main", folder / L"missing.ini").empty());
}

TEST(FileExists, IsTrueForFilesAndFolders)
{
    TestFolder folder;
    EXPECT_TRUE(FileExists(folder.MakeFile(L"a.txt")));
    EXPECT_TRUE(FileExists(folder.MakeFolder(L"sub")));
    EXPECT_FALSE(FileExists(folder / L"missing"));
    EXPECT_FALSE(FileExists(L""));
}

TEST(FileInFolder, PutsExactlyOneSeparatorBetween)
{
    EXPECT_EQ(FileInFolder(L"C:\\Tools", L"a.ini"), L"C:\\Tools\\a.ini");
    EXPECT_EQ(FileInFolder(L"C:\\", L"a.ini"), L"C:\\a.ini");
    EXPECT_EQ(FileInFolder(L"", L"a.ini"), L"\\a.ini");
}

TEST(WriteResourceToFile, WritesTheBuiltInDefaultsByteForByte)
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
    EXPECT_EQ(ReadFileBytes(existing), "old");
    EXPECT_FALSE(WriteResourceToFile(L"SETTING", folder / L"missing\\Setting.ini"));

    std::wstring asFolder = folder.MakeFolder(L"Setting.ini");
    EXPECT_FALSE(WriteResourceToFile(L"SETTING", asFolder));
    EXPECT_EQ(GetFileAttributesW(asFolder.c_str()) & FILE_ATTRIBUTE_DIRECTORY, FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_FALSE(FileExists(asFolder + L".new"));
}

TEST(ReplaceWithLines, KeepsTheOldFileWhenThePendingFileCannotBeWritten)
{
    TestFolder folder;
    std::wstring path = folder.MakeFile(L"list.txt", "old");
    {
        LockedFile pending(path + L".new");
        EXPECT_NE(ReplaceWithLines(path, {L"new"}), 0u);
    }
    EXPECT_EQ(ReadFileBytes(path), "old");
    EXPECT_EQ(ReplaceWithLines(path, {L"a", L""}), 0u);
    EXPECT_EQ(ReadFileBytes(path), Utf16Text({L"a", L""}));
    EXPECT_FALSE(FileExists(path + L".new"));
}

TEST(ReplaceWithLines, KeepsTheOldFileWhenAWriteFailsPartWay)
{
    std::wstring volume = SmallVolumeFolder();
    if (volume.empty()) GTEST_SKIP() << "QUORVANE_SMALL_VOLUME is not set";
    std::wstring path = volume + L"\\replace-" + std::to_wstring(GetCurrentProcessId()) + L".txt";
    ASSERT_EQ(ReplaceWithLines(path, {L"old"}), 0u);
    // Larger than the whole volume, so the write fails after the first lines landed.
    EXPECT_NE(ReplaceWithLines(path, {L"first", std::wstring(1024 * 1024, L'x'), L"last"}), 0u);
    std::string bytes = ReadFileBytes(path);
    bool pendingLeft = FileExists(path + L".new");
    DeleteFileW(path.c_str());
    EXPECT_EQ(bytes, Utf16Text({L"old"}));
    EXPECT_FALSE(pendingLeft);
}
