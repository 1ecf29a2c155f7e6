#include <gtest/gtest.h>

#include <map>
#include <set>

#include "fs/EntryMetadata.h"
#include "fs/Enumeration.h"
#include "fs/LongPath.h"
#include "support/TestFolder.h"

namespace {

// Every entry of one enumeration, by name (the order is the file system's).
std::map<std::wstring, EntryInfo> EnumerateAll(const std::wstring& path, const std::wstring& patterns = {})
{
    std::map<std::wstring, EntryInfo> entries;
    EntryFind find;
    HANDLE handle = FindFirstEntry(find, path, patterns);
    if (handle != nullptr && handle != INVALID_HANDLE_VALUE) {
        while (find.Found) {
            entries[find.Entry.Name] = find.Entry;
            if (!FindNextEntry(find)) break;
        }
    }
    CloseEntryFind(find);
    return entries;
}

std::wstring AllIn(const std::wstring& folder) { return folder + L"\\*.*"; }

const std::wstring kCjkName = L"\u8cc7\u6599\u593e \u6e2c\u8a66.txt";      // 資料夾 測試.txt
const std::wstring kAstralName = L"smile \U0001F600.txt";                 // outside the BMP

}  // namespace

TEST(Enumeration, ListsEveryEntryWithItsNameFields)
{
    TestFolder folder;
    folder.MakeFile(L"archive.tar.gz", "12345");
    folder.MakeFile(L"README");
    folder.MakeFile(L".profile");
    folder.MakeFile(kCjkName, "abc");
    folder.MakeFile(kAstralName);
    folder.MakeFolder(L"my.dir");
    folder.MakeFile(L"my.dir\\nested.txt");

    auto entries = EnumerateAll(AllIn(folder.Path()));
    std::set<std::wstring> names;
    for (auto& [name, entry] : entries) names.insert(name);
    EXPECT_EQ(names, (std::set<std::wstring>{L".", L"..", L".profile", L"README", L"archive.tar.gz", kAstralName,
                                             L"my.dir", kCjkName}));

    const std::wstring prefix = folder.Path() + L"\\";
    for (auto& [name, entry] : entries) {
        EXPECT_EQ(entry.Folder, prefix);
        EXPECT_EQ(entry.FullPath, prefix + name);
        EXPECT_EQ(entry.PathKind, PathKinds::Local);
    }
    EXPECT_EQ(entries[L"archive.tar.gz"].Extension, L"gz");
    EXPECT_EQ(entries[L"archive.tar.gz"].Size, ExactSize(5));
    EXPECT_EQ(entries[L"README"].Extension, L"");
    EXPECT_EQ(entries[L".profile"].Extension, L"profile");
    EXPECT_EQ(entries[L"my.dir"].Extension, L"dir");
    EXPECT_TRUE(entries[L"my.dir"].IsFolder);
    EXPECT_EQ(entries[L"my.dir"].Size, ExactSize(0));
    EXPECT_EQ(entries[kCjkName].Size, ExactSize(3));
    EXPECT_EQ(entries[kAstralName].Extension, L"txt");
    EXPECT_TRUE(entries[kAstralName].IsFile);
}

TEST(Enumeration, DotEntriesComeWithEmptyExtensionAndTheirNameAsShortName)
{
    TestFolder folder;
    auto entries = EnumerateAll(AllIn(folder.Path()));
    ASSERT_EQ(entries.size(), 2u);
    for (auto name : {L".", L".."}) {
        EntryInfo& entry = entries[name];
        EXPECT_TRUE(entry.IsFolder);
        EXPECT_EQ(entry.Extension, L"");
        EXPECT_EQ(EntryShortName(entry), name);
    }
}

TEST(Enumeration, EntriesCarryTheirTimesAndSizes)
{
    TestFolder folder;
    std::wstring path = folder.MakeFile(L"dated.txt", std::string(1234, 'x'));
    SYSTEMTIME modified = {2019, 11, 0, 2, 13, 14, 15, 0};
    SetModifiedTime(path, modified);
    EntryInfo entry = EnumerateAll(AllIn(folder.Path()))[L"dated.txt"];
    EXPECT_EQ(entry.Size, ExactSize(1234));
    EXPECT_EQ(entry.CompressedSize, ExactSize(1234));
    EXPECT_FALSE(entry.Modified.Invalid);
    EXPECT_DOUBLE_EQ(entry.Modified.Utc, *OleDateFromParts({2019, 11, 2, 13, 14, 15}));
}

TEST(Enumeration, ASparseFileLargerThan4GiBHasItsExactSize)
{
    TestFolder folder;
    const std::uint64_t size = (1ull << 32) + (1ull << 31) + 1;
    folder.MakeFileOfSize(L"big.bin", size);
    EntryInfo entry = EnumerateAll(AllIn(folder.Path()))[L"big.bin"];
    EXPECT_EQ(entry.Size, ExactSize::FromUInt64(size));
    EXPECT_EQ(entry.CompressedSize, entry.Size);
}

TEST(Enumeration, PatternListsAreTriedInTurn)
{
    TestFolder folder;
    folder.MakeFile(L"a.txt");
    folder.MakeFile(L"b.log");
    folder.MakeFile(L"c.bin");
    std::vector<std::wstring> names;
    EntryFind find;
    HANDLE handle = FindFirstEntry(find, folder.Path(), L"*.none;*.log;*.missing;*.txt");
    ASSERT_NE(handle, INVALID_HANDLE_VALUE);
    while (find.Found) {
        names.push_back(find.Entry.Name);
        EXPECT_EQ(find.Entry.Folder, folder.Path() + L"\\");
        if (!FindNextEntry(find)) break;
    }
    EXPECT_EQ(names, (std::vector<std::wstring>{L"b.log", L"a.txt"}));
    EXPECT_FALSE(find.Found);
    EXPECT_EQ(find.PatternIndex, 0);
    EXPECT_TRUE(find.Patterns.empty());
}

TEST(Enumeration, AMissingFolderYieldsNothing)
{
    TestFolder folder;
    std::wstring gone = folder.MakeFolder(L"gone");
    RemoveDirectoryW(gone.c_str());
    EntryFind find;
    EXPECT_EQ(FindFirstEntry(find, AllIn(gone), L""), INVALID_HANDLE_VALUE);
    EXPECT_FALSE(find.Found);
    EXPECT_FALSE(FindNextEntry(find));
    EXPECT_TRUE(CloseEntryFind(find));
    EXPECT_EQ(FindFirstEntry(find, gone, L"*.*"), INVALID_HANDLE_VALUE);
}

TEST(Enumeration, EmptyPathsAndFtpUrlsOpenNothing)
{
    EntryFind find;
    EXPECT_EQ(FindFirstEntry(find, L"", L""), nullptr);
    EXPECT_FALSE(find.Found);
    EXPECT_EQ(FindFirstEntry(find, L"Ftp://host/dir/*.*", L""), nullptr);
    EXPECT_FALSE(find.Found);
    EXPECT_EQ(find.Entry.PathKind, PathKinds::Ftp);
}

TEST(Enumeration, CloseEndsARunningEnumeration)
{
    TestFolder folder;
    folder.MakeFile(L"x.txt");
    EntryFind find;
    ASSERT_NE(FindFirstEntry(find, AllIn(folder.Path()), L""), INVALID_HANDLE_VALUE);
    EXPECT_TRUE(find.Found);
    EXPECT_TRUE(CloseEntryFind(find));
    EXPECT_FALSE(find.Found);
    EXPECT_FALSE(find.FindHandle.Valid());
    EXPECT_TRUE(CloseEntryFind(find));  // harmless a second time
}

TEST(Enumeration, PathsLongerThan260CharactersWork)
{
    TestFolder folder;
    std::wstring relative;
    std::wstring path = folder.Path();
    while (path.size() <= 300) {
        relative += (relative.empty() ? L"" : L"\\") + std::wstring(60, L'd');
        path = folder.MakeFolder(relative);
    }
    ASSERT_GT(path.size(), 300u);
    folder.MakeFile(relative + L"\\deep file.txt", "deep");

    auto entries = EnumerateAll(AllIn(path));
    ASSERT_EQ(entries.count(L"deep file.txt"), 1u);
    EntryInfo& entry = entries[L"deep file.txt"];
    EXPECT_EQ(entry.FullPath, path + L"\\deep file.txt");
    EXPECT_EQ(entry.Size, ExactSize(4));

    EntryInfo queried = GetEntryInfo(entry.FullPath);
    EXPECT_EQ(queried.Name, L"deep file.txt");
    EXPECT_EQ(queried.Size, ExactSize(4));
    EXPECT_FALSE(EntryShortName(queried).empty());
}
