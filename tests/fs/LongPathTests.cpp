#include <gtest/gtest.h>

#include "fs/LongPath.h"

TEST(LongPathArg, PathsOf260CharactersOrMoreGetTheExtendedPrefix)
{
    // The limit counts the terminating NUL: 259 characters is the longest plain path.
    const struct {
        std::size_t Length;
        bool Prefixed;
    } cases[] = {{0, false}, {259, false}, {260, true}, {261, true}};
    for (const auto& c : cases) {
        std::wstring path = c.Length == 0 ? L"" : L"C:\\" + std::wstring(c.Length - 3, L'a');
        ASSERT_EQ(path.size(), c.Length);
        EXPECT_EQ(LongPathArg(path), c.Prefixed ? L"\\\\?\\" + path : path) << c.Length;
    }
}

TEST(LongPathArg, LongUncPathsDropTheirLeadingBackslashes)
{
    std::wstring tail(245, L'x');  // 260 characters in all
    EXPECT_EQ(LongPathArg(L"\\\\server\\share\\" + tail), L"\\\\?\\UNC\\server\\share\\" + tail);
}

TEST(TrimAtNul, CutsAtTheFirstNul)
{
    EXPECT_EQ(TrimAtNul(std::wstring(L"ab\0cd", 5)), L"ab");
    EXPECT_EQ(TrimAtNul(L"abc"), L"abc");
    EXPECT_EQ(TrimAtNul(std::wstring(L"\0x", 2)), L"");
}

TEST(SplitSearchPath, LocalSpecGivesItsFolder)
{
    EntryInfo entry;
    SplitSearchPath(L"C:\\Data\\*.*", entry);
    EXPECT_EQ(entry.PathKind, PathKinds::Local);
    EXPECT_EQ(entry.Folder, L"C:\\Data\\");
}

TEST(SplitSearchPath, ASeparatorInTheLastPositionIsNotConsidered)
{
    EntryInfo entry;
    SplitSearchPath(L"C:\\Data\\", entry);
    EXPECT_EQ(entry.Folder, L"C:\\");
    SplitSearchPath(L"C:\\", entry);
    EXPECT_EQ(entry.Folder, L"");
    SplitSearchPath(L"name", entry);
    EXPECT_EQ(entry.Folder, L"");
}

TEST(SplitSearchPath, UncSpecs)
{
    EntryInfo entry;
    SplitSearchPath(L"\\\\server\\share\\*.*", entry);
    EXPECT_EQ(entry.PathKind, PathKinds::Unc);
    EXPECT_EQ(entry.Folder, L"\\\\server\\share\\");
    SplitSearchPath(L"\\\\server", entry);
    EXPECT_EQ(entry.PathKind, PathKinds::Unc);
    EXPECT_EQ(entry.Folder, L"");
}

TEST(SplitSearchPath, FtpInAnyCaseSetsOnlyTheKind)
{
    EntryInfo entry;
    entry.Folder = L"kept";
    SplitSearchPath(L"FTP://host/dir", entry);
    EXPECT_EQ(entry.PathKind, PathKinds::Ftp);
    EXPECT_EQ(entry.Folder, L"kept");
    SplitSearchPath(L"ftp:/", entry);
    EXPECT_EQ(entry.PathKind, PathKinds::Local);
}

namespace {

EntryInfo Named(std::wstring folder, std::wstring name)
{
    EntryInfo entry;
    entry.Folder = std::move(folder);
    entry.Name = std::move(name);
    CompleteEntryNames(entry);
    return entry;
}

}  // namespace

TEST(CompleteEntryNames, ExtensionIsTheTextAfterTheLastDot)
{
    EXPECT_EQ(Named(L"C:\\", L"archive.tar.gz").Extension, L"gz");
    EXPECT_EQ(Named(L"C:\\", L"README").Extension, L"");
    EXPECT_EQ(Named(L"C:\\", L"my.dir").Extension, L"dir");
    EXPECT_EQ(Named(L"C:\\", L".profile").Extension, L"profile");
    EXPECT_EQ(Named(L"C:\\", L"trailing.").Extension, L"");
}

TEST(CompleteEntryNames, FullPathJoinsFolderAndName)
{
    EXPECT_EQ(Named(L"C:\\Data\\", L"a.txt").FullPath, L"C:\\Data\\a.txt");
}

TEST(CompleteEntryNames, DotEntriesHaveNoExtensionAndTheirNameAsShortName)
{
    for (const wchar_t* name : {L".", L".."}) {
        EntryInfo entry = Named(L"C:\\Data\\", name);
        EXPECT_EQ(entry.Extension, L"");
        EXPECT_EQ(entry.FullPath, std::wstring(L"C:\\Data\\") + name);
        EXPECT_EQ(EntryShortName(entry), name);
    }
}

TEST(CompleteEntryNames, AnEmptyNameIsTakenFromTheFullPath)
{
    EntryInfo root;
    root.FullPath = L"C:\\";
    CompleteEntryNames(root);
    EXPECT_EQ(root.Name, L"C:");
    EXPECT_EQ(root.FullPath, L"C:");

    EntryInfo folder;
    folder.FullPath = L"C:\\Data\\";
    SplitSearchPath(folder.FullPath, folder);
    CompleteEntryNames(folder);
    EXPECT_EQ(folder.Name, L"Data");
    EXPECT_EQ(folder.FullPath, L"C:\\Data");
}

TEST(CompleteEntryNames, AnAliasFromTheDirectoryIsKept)
{
    EntryInfo entry;
    entry.Folder = L"Q:\\missing\\";
    entry.Name = L"Long file name.text";
    entry.ShortName = L"LONGFI~1.TEX";
    CompleteEntryNames(entry);
    EXPECT_EQ(EntryShortName(entry), L"LONGFI~1.TEX");
}

TEST(CompleteEntryNames, ShortNameOfAnEntryThatCannotBeQueriedIsItsLongName)
{
    EntryInfo entry = Named(L"Q:\\no such folder\\", L"Long file name.text");
    EXPECT_EQ(EntryShortName(entry), L"Long file name.text");
}

TEST(SetEntryKind, TheDirectoryBitDecides)
{
    EntryInfo entry;
    entry.Attributes = 16 | 1;
    SetEntryKind(entry);
    EXPECT_TRUE(entry.IsFolder);
    EXPECT_FALSE(entry.IsFile);
    entry.Attributes = 32;
    SetEntryKind(entry);
    EXPECT_FALSE(entry.IsFolder);
    EXPECT_TRUE(entry.IsFile);
}
