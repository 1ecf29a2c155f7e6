#include <gtest/gtest.h>

#include "SettingsTestSupport.h"
#include "settings/FileTypes.h"
#include "settings/IniFile.h"
#include "support/TestFolder.h"

namespace {

const FileTypeEntry kAllFiles{L"*.*", L"所有檔案 (*.*)"};

void WriteFileTypes(const TestFolder& folder, const std::vector<std::wstring>& lines)
{
    folder.MakeFile(L"FileType.txt", Utf16Text(lines));
}

std::size_t GroupsLoadedWithTypeList(const std::wstring& typeList)
{
    TestFolder folder;
    WriteFileTypes(folder, ReplaceLine(DefaultFileTypeLines(), L"TypeList=", L"TypeList=" + typeList));
    FileTypeTable table = LoadFileTypeTable(folder.Path());
    EXPECT_EQ(table.at(0), kAllFiles);
    EXPECT_EQ(LoadGroupList(folder.Path()).Rows.size(), table.size() - 1);
    return table.size() - 1;
}

std::size_t TempFolderEntryCount()
{
    wchar_t temp[MAX_PATH + 1];
    GetTempPathW(MAX_PATH + 1, temp);
    std::size_t count = 0;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((std::wstring(temp) + L"*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return 0;
    do ++count;
    while (FindNextFileW(search, &found));
    FindClose(search);
    return count;
}

}  // namespace

TEST(LoadFileTypeTable, CreatesTheDefaultFileOnFirstUseAndLoadsItsGroups)
{
    TestFolder folder;
    FileTypeTable table = LoadFileTypeTable(folder.Path());
    EXPECT_EQ(ReadFileBytes(folder / L"FileType.txt"), Utf16Text(DefaultFileTypeLines(), false));
    ASSERT_EQ(table.size(), 10u);
    EXPECT_EQ(table[0], kAllFiles);
    EXPECT_EQ(table[2], (FileTypeEntry{L"*.exe;*.dll;*.ocx;*.com", L"執行檔案"}));
    EXPECT_EQ(table[9], (FileTypeEntry{L"*.tmp;*._mp;*.bak;*.old;*.log;*.chk;*.gid", L"系統暫存檔"}));
    EXPECT_EQ(table[1].Type.size(), 113u);
}

TEST(LoadFileTypeTable, TypeListIsRoundedAndBoundedByTheGroupsPresent)
{
    EXPECT_EQ(GroupsLoadedWithTypeList(L"3.5"), 4u);
    EXPECT_EQ(GroupsLoadedWithTypeList(L"2.5"), 2u);
    EXPECT_EQ(GroupsLoadedWithTypeList(L" 5 groups"), 5u);
    EXPECT_EQ(GroupsLoadedWithTypeList(L"12abc"), 9u);
    EXPECT_EQ(GroupsLoadedWithTypeList(L"2147483647"), 9u);
    for (const wchar_t* none : {L"-1", L"0", L"", L"abc", L"1e12", L"99999999999", L"1e999"})
        EXPECT_EQ(GroupsLoadedWithTypeList(none), 0u) << none;
}

TEST(LoadFileTypeTable, GapsGiveEmptyGroupsButNoneAreInventedAfterTheLast)
{
    TestFolder folder;
    WriteFileTypes(folder, {L"[filetype]", L"title1=A", L"TYPE1=*.a", L"Type3=*.c", L"Title5=E", L"Title7=ignored",
                            L"Type07=not a key", L"TypeList=6"});
    FileTypeTable table = LoadFileTypeTable(folder.Path());
    ASSERT_EQ(table.size(), 6u);
    EXPECT_EQ(table[1], (FileTypeEntry{L"*.a", L"A"}));
    EXPECT_EQ(table[2], (FileTypeEntry{}));
    EXPECT_EQ(table[3], (FileTypeEntry{L"*.c", L""}));
    EXPECT_EQ(table[4], (FileTypeEntry{}));
    EXPECT_EQ(table[5], (FileTypeEntry{L"", L"E"}));
}

TEST(LoadFileTypeTable, HugeGroupNumbersNeitherHangNorExhaustMemory)
{
    TestFolder folder;
    WriteFileTypes(folder, {L"[FileType]", L"TypeList=2147483647", L"Title1=A", L"Type1=*.a",
                            L"Title2147483647=far", L"Type2147483648=further"});
    EXPECT_EQ(LoadFileTypeTable(folder.Path()), (FileTypeTable{kAllFiles, {L"*.a", L"A"}}));

    WriteFileTypes(folder, {L"[FileType]", L"TypeList=2147483647", L"Title1=A", L"Type1=*.a",
                            L"Title" + std::to_wstring(kMaxFileTypeGroups) + L"=last"});
    FileTypeTable table = LoadFileTypeTable(folder.Path());
    ASSERT_EQ(table.size(), static_cast<std::size_t>(kMaxFileTypeGroups) + 1);
    EXPECT_EQ(table[2], (FileTypeEntry{}));
    EXPECT_EQ(table.back(), (FileTypeEntry{L"", L"last"}));
}

TEST(LoadFileTypeTable, KeepsLongValuesAndDuplicatesAsTheyAre)
{
    TestFolder folder;
    std::wstring longList;
    while (longList.size() < 200) longList += L"*.e" + std::to_wstring(longList.size()) + L";";
    WriteFileTypes(folder, {L"[FileType]", L"TypeList=3", L"Title1=Same", L"Type1=" + longList, L"Title2=Same",
                            L"Type2=*.x", L"Title3=Other", L"Type3=*.x"});
    FileTypeTable table = LoadFileTypeTable(folder.Path());
    ASSERT_EQ(table.size(), 4u);
    EXPECT_EQ(table[1].Type, longList);
    EXPECT_EQ(table[2], (FileTypeEntry{L"*.x", L"Same"}));
    EXPECT_EQ(table[3], (FileTypeEntry{L"*.x", L"Other"}));
    EXPECT_EQ(LoadGroupList(folder.Path()).Rows[0], (FileTypeRow{L"Same", longList}));
}

TEST(LoadFileTypeTable, ReadsAFileSavedAsUtf8ByATextEditor)
{
    TestFolder folder;
    std::size_t tempEntries = TempFolderEntryCount();
    folder.MakeFile(L"FileType.txt", "\xEF\xBB\xBF[FileType]\r\nTypeList=2\r\nTitle1=\xE5\x9C\x96\xE7\x89\x87\r\n"
                                     "Type1=*.jpg\r\nTitle2=Plain\r\nType2=*.txt");
    EXPECT_EQ(LoadFileTypeTable(folder.Path()), (FileTypeTable{kAllFiles, {L"*.jpg", L"圖片"}, {L"*.txt", L"Plain"}}));
    folder.MakeFile(L"FileType.txt", "[FileType]\nTypeList=1\nTitle1=\xE5\x9C\x96\xE7\x89\x87\nType1=*.jpg\n");
    EXPECT_EQ(LoadGroupList(folder.Path()).Rows, (std::vector<FileTypeRow>{{L"圖片", L"*.jpg"}}));
    EXPECT_EQ(TempFolderEntryCount(), tempEntries);
}

TEST(LoadFileTypeTable, AnUnusableFileLeavesOnlyTheAllFilesEntry)
{
    TestFolder folder;
    std::wstring missingFolder = folder / L"missing";
    EXPECT_EQ(LoadFileTypeTable(missingFolder), FileTypeTable{kAllFiles});
    FileTypeGroupList list = LoadGroupList(missingFolder);
    EXPECT_TRUE(list.Rows.empty());
    EXPECT_EQ(list.SelectedRow, -1);

    TestFolder withFolder;
    withFolder.MakeFolder(L"FileType.txt");
    EXPECT_EQ(LoadFileTypeTable(withFolder.Path()), FileTypeTable{kAllFiles});

    TestFolder withNoise;
    std::string noise;
    for (int i = 0; i < 4096; ++i) noise.push_back(static_cast<char>((i * 7919 + 13) % 251));
    withNoise.MakeFile(L"FileType.txt", noise);
    EXPECT_EQ(LoadFileTypeTable(withNoise.Path()).at(0), kAllFiles);
    EXPECT_EQ(ReadFileBytes(withNoise / L"FileType.txt"), noise);

    LockedFile lock(withNoise / L"FileType.txt");
    EXPECT_EQ(LoadFileTypeTable(withNoise.Path()), FileTypeTable{kAllFiles});
}

TEST(LoadGroupList, GivesOneRowPerGroupWithTheFirstSelected)
{
    TestFolder folder;
    WriteFileTypes(folder, {L"[FileType]", L"TypeList=3", L"Title1=A", L"Type1=*.a", L"Title3=C", L"Type3=*.c"});
    FileTypeGroupList list = LoadGroupList(folder.Path());
    EXPECT_EQ(list.Rows, (std::vector<FileTypeRow>{{L"A", L"*.a"}, {}, {L"C", L"*.c"}}));
    EXPECT_EQ(list.SelectedRow, 0);

    TestFolder empty;
    WriteFileTypes(empty, {L"[FileType]", L"TypeList=0"});
    EXPECT_EQ(LoadGroupList(empty.Path()).SelectedRow, -1);
}

TEST(WriteFileTypeList, WritesGroupsThenTypeListLast)
{
    TestFolder folder;
    std::vector<FileTypeRow> rows = LoadGroupList(folder.Path()).Rows;
    ASSERT_EQ(WriteFileTypeList(rows, folder.Path()), 0u);
    std::vector<std::wstring> expected = DefaultFileTypeLines();
    expected.erase(expected.begin() + 1);
    expected.push_back(L"TypeList=9");
    EXPECT_EQ(ReadFileBytes(folder / L"FileType.txt"), Utf16Text(expected));
    EXPECT_EQ(LoadGroupList(folder.Path()).Rows, rows);
}

TEST(WriteFileTypeList, SkipsRowsMissingATextButCountsThem)
{
    TestFolder folder;
    std::vector<FileTypeRow> rows{{L"A", L"*.a"}, {L"", L"*.b"}, {L"C", L""}, {L" D ", L"*.d;;*.D"}};
    ASSERT_EQ(WriteFileTypeList(rows, folder.Path() + L"\\"), 0u);
    EXPECT_EQ(ReadFileBytes(folder / L"FileType.txt"),
              Utf16Text({L"[FileType]", L"Title1=A", L"Type1=*.a", L"Title4= D ", L"Type4=*.d;;*.D", L"TypeList=4"}));
    EXPECT_EQ(LoadGroupList(folder.Path()).Rows,
              (std::vector<FileTypeRow>{{L"A", L"*.a"}, {}, {}, {L"D", L"*.d;;*.D"}}));

    ASSERT_EQ(WriteFileTypeList({}, folder.Path()), 0u);
    EXPECT_EQ(ReadFileBytes(folder / L"FileType.txt"), Utf16Text({L"[FileType]", L"TypeList=0"}));
}

TEST(WriteFileTypeList, AFailedSaveKeepsThePreviousFile)
{
    TestFolder folder;
    std::wstring path = folder.MakeFile(L"FileType.txt", Utf16Text(DefaultFileTypeLines()));
    {
        LockedFile pending(path + L".new");
        EXPECT_NE(WriteFileTypeList({{L"A", L"*.a"}}, folder.Path()), 0u);
    }
    EXPECT_EQ(ReadFileBytes(path), Utf16Text(DefaultFileTypeLines()));

    TestFolder withFolder;
    withFolder.MakeFolder(L"FileType.txt");
    EXPECT_NE(WriteFileTypeList({{L"A", L"*.a"}}, withFolder.Path()), 0u);
    EXPECT_FALSE(FileExists(withFolder / L"FileType.txt.new"));
}

TEST(WriteFileTypeList, AWriteFailingPartWayIsReportedAndKeepsThePreviousFile)
{
    std::wstring volume = SmallVolumeFolder();
    if (volume.empty()) GTEST_SKIP() << "QUORVANE_SMALL_VOLUME is not set";
    std::wstring folder = volume + L"\\editor-" + std::to_wstring(GetCurrentProcessId());
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    std::wstring path = folder + L"\\FileType.txt";
    ASSERT_EQ(WriteFileTypeList({{L"Old", L"*.old"}}, folder), 0u);
    // More than the whole volume holds, so the write fails after the first lines.
    unsigned long error = WriteFileTypeList({{L"A", L"*.a"}, {L"Big", std::wstring(1024 * 1024, L'x')}}, folder);
    std::string after = ReadFileBytes(path);
    bool pendingLeft = FileExists(path + L".new");
    RemoveTree(folder);
    EXPECT_NE(error, 0u);
    EXPECT_EQ(after, Utf16Text({L"[FileType]", L"Title1=Old", L"Type1=*.old", L"TypeList=1"}));
    EXPECT_FALSE(pendingLeft);
}

TEST(RestoreFileTypeDefaults, PutsTheDefaultBytesBackAndReloads)
{
    TestFolder folder;
    WriteFileTypes(folder, {L"[FileType]", L"Title1=A", L"Type1=*.a", L"TypeList=1", std::wstring(3000, L';')});
    FileTypeGroupList list = RestoreFileTypeDefaults(folder.Path());
    EXPECT_EQ(ReadFileBytes(folder / L"FileType.txt"), Utf16Text(DefaultFileTypeLines(), false));
    ASSERT_EQ(list.Rows.size(), 9u);
    EXPECT_EQ(list.Rows[7], (FileTypeRow{L"光碟映像檔", L"*.bin;*.iso;*.cue;*.bwi;*.bwt;*.bws;*.img;*.sub;*.ccd;*.cdi;*.cdp;"
                                                        L"*.cif;*.dao;*.tao;*.mdf;*.mds;*.nrg;*.vcd;*.fcd"}));
    EXPECT_EQ(list.SelectedRow, 0);
}
