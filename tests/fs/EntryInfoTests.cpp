#include <gtest/gtest.h>

#include <map>
#include <tuple>

#include "fs/EntryMetadata.h"
#include "fs/Enumeration.h"
#include "fs/LongPath.h"
#include "support/TestFolder.h"

namespace {

// Every entry of one enumeration by full path.
std::map<std::wstring, EntryInfo> EnumerateAll(EntryFind& find, const std::wstring& path, const std::wstring& patterns)
{
    std::map<std::wstring, EntryInfo> entries;
    HANDLE handle = FindFirstEntry(find, path, patterns);
    for (bool more = handle != nullptr && handle != INVALID_HANDLE_VALUE && find.Found; more; more = FindNextEntry(find))
        entries[find.Entry.FullPath] = find.Entry;
    return entries;
}

}  // namespace

TEST(Enumeration, ListsEveryEntryAsTheSinglePathQueryDescribesIt)
{
    TestFolder folder;
    const std::wstring astral = L"smile \U0001F600.txt";
    SetModifiedTime(folder.MakeFile(L"archive.tar.gz", "12345"), {2019, 11, 0, 2, 13, 14, 15, 0});
    folder.MakeFile(astral, "abc");
    folder.MakeFolder(L"my.dir");
    folder.MakeFile(L"my.dir\\nested.txt", "x");
    const std::uint64_t big = (1ull << 32) + (1ull << 31) + 1;  // both halves count, the low one unsigned
    folder.MakeFileOfSize(L"big.bin", big);

    EntryFind find;
    auto entries = EnumerateAll(find, folder.Path() + L"\\*.*", L"");
    std::vector<std::wstring> names;
    for (auto& [path, entry] : entries) names.push_back(entry.Name);
    EXPECT_EQ(names, (std::vector<std::wstring>{L".", L"..", L"archive.tar.gz", L"big.bin", L"my.dir", astral}));
    EXPECT_DOUBLE_EQ(entries[folder / L"archive.tar.gz"].Modified.Utc, *OleDateFromParts({2019, 11, 2, 13, 14, 15}));
    EXPECT_EQ(std::tie(entries[folder / L"big.bin"].Size, entries[folder / astral].Size),
              std::make_tuple(ExactSize::FromUInt64(big), ExactSize(3)));
    EXPECT_EQ(EntryShortName(entries[folder / L".."]), L"..");
    for (auto& [path, entry] : entries) {
        EXPECT_EQ(entry.Folder, folder.Path() + L"\\");
        if (entry.Name.starts_with(L".")) continue;
        EntryInfo queried = GetEntryInfo(path);
        EXPECT_EQ(std::tie(queried.Name, queried.Folder, queried.Extension, queried.Attributes, queried.IsFile),
                  std::tie(entry.Name, entry.Folder, entry.Extension, entry.Attributes, entry.IsFile));
        EXPECT_EQ(std::tie(queried.Size, queried.CompressedSize, queried.Modified.Ticks),
                  std::tie(entry.Size, entry.Size, entry.Modified.Ticks));
        EXPECT_DOUBLE_EQ(queried.Created.Local, entry.Created.Local);
    }
    EntryInfo trailing = GetEntryInfo(folder / L"my.dir\\");
    EXPECT_EQ(std::tie(trailing.Name, trailing.FullPath, trailing.Size),
              std::make_tuple(std::wstring(L"my.dir"), folder / L"my.dir", ExactSize(0)));
}

TEST(GetEntryInfo, TheRootOfADriveShowsTheRootNotTheCurrentFolderOnIt)
{
    // "C:" alone names the current folder on drive C:; make that one differ from the root.
    TestFolder folder;
    if (!folder.Path().starts_with(L"C:\\")) GTEST_SKIP() << "the temp folder is not on drive C:";
    SetModifiedTime(folder.Path(), {2001, 2, 0, 3, 4, 5, 6, 0});
    wchar_t saved[MAX_PATH + 1];
    ASSERT_GT(GetCurrentDirectoryW(MAX_PATH + 1, saved), 0u);
    ASSERT_TRUE(SetCurrentDirectoryW(folder.Path().c_str()));
    WIN32_FILE_ATTRIBUTE_DATA root{};
    bool queried = GetFileAttributesExW(L"C:\\", GetFileExInfoStandard, &root);
    EntryInfo entries[] = {GetEntryInfo(L"C:\\"), GetEntryInfo(L"C:")};
    SetCurrentDirectoryW(saved);
    ASSERT_TRUE(queried);
    for (const EntryInfo& entry : entries) {
        EXPECT_EQ(std::tie(entry.Name, entry.FullPath, entry.Folder), std::make_tuple(L"C:", L"C:", L""));
        EXPECT_EQ(entry.Modified.Ticks, UInt64FromHalves(root.ftLastWriteTime.dwLowDateTime, root.ftLastWriteTime.dwHighDateTime));
    }
}

TEST(GetEntryInfo, WhatCannotBeQueriedKeepsTheUnknownPresets)
{
    TestFolder folder;
    EntryInfo entry = GetEntryInfo(folder / L"gone.txt");
    EXPECT_EQ(std::tie(entry.Name, entry.Attributes, entry.IsFolder, entry.IsFile, entry.Size, entry.CompressedSize),
              std::make_tuple(L"", 0u, false, false, ExactSize(-1), ExactSize(-1)));
    for (const FileTimeInfo* time : {&entry.Created, &entry.Accessed, &entry.Modified})
        EXPECT_TRUE(time->Invalid && time->Ticks == ExactSize(-1));
    EntryInfo ftp = GetEntryInfo(L"ftp://host/dir/file");
    EXPECT_EQ(std::tie(ftp.PathKind, ftp.FullPath, ftp.Name), std::make_tuple(PathKinds::Ftp, L"ftp://host/dir/file", L""));
}

TEST(SetEntrySizes, FoldersHaveNoSizeAndAFailedOnDiskQueryKeepsThePlainSize)
{
    EntryInfo entry;
    entry.FullPath = L"Q:\\does not exist\\file.bin";
    entry.Attributes = AttributeBits::Directory;
    SetEntrySizes(1234, 5, entry);
    EXPECT_EQ(std::tie(entry.Size, entry.CompressedSize), std::make_tuple(ExactSize(0), ExactSize(0)));
    entry.Attributes = AttributeBits::Compressed;
    SetEntrySizes(77, 0, entry);
    EXPECT_EQ(entry.CompressedSize, ExactSize(77));
}
