#include <gtest/gtest.h>

#include <cwctype>
#include <map>
#include <tuple>

#include "fs/EntryMetadata.h"
#include "fs/Enumeration.h"
#include "fs/FolderPath.h"
#include "fs/LongPath.h"
#include "support/TestFolder.h"

TEST(LongPathArg, PathsOf260CharactersOrMoreGetTheExtendedPrefix)
{
    // The limit counts the terminating NUL: 259 characters is the longest plain path.
    const std::wstring a256(256, L'a'), x244(244, L'x'), unc = L"\\\\server\\share\\";
    const std::pair<std::wstring, std::wstring> cases[] = {
        {L"", L""}, {L"C:\\" + a256, L"C:\\" + a256}, {L"C:\\a" + a256, L"\\\\?\\C:\\a" + a256},
        {unc + x244, unc + x244}, {unc + L"x" + x244, L"\\\\?\\UNC\\server\\share\\x" + x244},
    };
    for (const auto& [path, expected] : cases) EXPECT_EQ(LongPathArg(path), expected) << path.size();
}

TEST(CompleteEntryNames, NameExtensionAndFullPath)
{
    // Folder, name (empty: taken from the full path), full path; then the name, extension and full path made.
    using Names = std::tuple<const wchar_t*, const wchar_t*, const wchar_t*>;
    const std::pair<Names, Names> cases[] = {
        {{L"C:\\x\\", L"archive.tar.gz", L""}, {L"archive.tar.gz", L"gz", L"C:\\x\\archive.tar.gz"}},
        {{L"C:\\x\\", L"README", L""}, {L"README", L"", L"C:\\x\\README"}},
        {{L"C:\\x\\", L".profile", L""}, {L".profile", L"profile", L"C:\\x\\.profile"}},
        {{L"C:\\x\\", L"trailing.", L""}, {L"trailing.", L"", L"C:\\x\\trailing."}},
        {{L"", L"", L"C:\\"}, {L"C:", L"", L"C:"}},
        {{L"C:\\", L"", L"C:\\my.dir\\"}, {L"my.dir", L"dir", L"C:\\my.dir"}},
    };
    for (const auto& [given, made] : cases) {
        EntryInfo entry;
        std::tie(entry.Folder, entry.Name, entry.FullPath) = given;
        CompleteEntryNames(entry);
        EXPECT_EQ(std::tie(entry.Name, entry.Extension, entry.FullPath), made);
    }
}

TEST(ExistingFolderPath, GivesTheSpellingOnDiskWithATrailingBackslash)
{
    TestFolder folder;
    folder.MakeFolder(L"Long Folder Name");
    std::wstring inner = folder.MakeFolder(L"Long Folder Name\\Inner");
    std::wstring file = folder.MakeFile(L"a.txt");
    std::wstring lowerDrive = folder.Path();
    lowerDrive[0] = static_cast<wchar_t>(towlower(lowerDrive[0]));
    wchar_t alias[MAX_PATH] = {};
    std::wstring shortForm = GetShortPathNameW(inner.c_str(), alias, MAX_PATH) ? alias : inner;
    for (const std::wstring& given : {inner, lowerDrive + L"\\long folder name\\INNER\\", inner + L"\\..\\.\\Inner",
                                      L"\\\\?\\" + inner, shortForm})
        EXPECT_EQ(ExistingFolderPath(given), inner + L"\\") << given;
    EXPECT_EQ(ExistingFolderPath(lowerDrive.substr(0, 3)), folder.Path().substr(0, 3));
    // 260 characters and more, plain or with the extended prefix.
    const std::wstring name(100, L'n');
    std::wstring deep;
    for (std::wstring relative = name; relative.size() < 303; relative += L"\\" + name) deep = folder.MakeFolder(relative);
    for (const std::wstring& given : {deep, L"\\\\?\\" + deep}) EXPECT_EQ(ExistingFolderPath(given), deep + L"\\");
    // A server without a share, and a device, are no folders.
    for (const std::wstring& given : {file, folder / L"missing", folder / L"Long*", std::wstring(), std::wstring(L"\\\\server"),
                                      std::wstring(L"\\\\?\\UNC\\server"), std::wstring(L"\\\\.\\C:\\")})
        EXPECT_EQ(ExistingFolderPath(given), std::nullopt) << given;
}

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

    std::map<std::wstring, EntryInfo> entries;
    EntryFind find;
    HANDLE handle = FindFirstEntry(find, folder.Path() + L"\\*.*", L"");
    for (bool more = handle != INVALID_HANDLE_VALUE && find.Found; more; more = FindNextEntry(find))
        entries[find.Entry.FullPath] = find.Entry;
    EXPECT_EQ(entries.size(), 6u);  // ".", "..", the three files and the folder
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
        const FILETIME& written = root.ftLastWriteTime;
        EXPECT_EQ(entry.Modified.Ticks, UInt64FromHalves(written.dwLowDateTime, written.dwHighDateTime));
    }
}
