#include <gtest/gtest.h>

#include <cwctype>
#include <tuple>

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

TEST(SplitSearchPath, KindAndFolderOfASearchSpecification)
{
    const std::tuple<const wchar_t*, int, const wchar_t*> cases[] = {
        {L"C:\\Data\\*.*", PathKinds::Local, L"C:\\Data\\"}, {L"C:\\Data\\", PathKinds::Local, L"C:\\"},
        {L"C:\\", PathKinds::Local, L""}, {L"name", PathKinds::Local, L""}, {L"ftp:/", PathKinds::Local, L""},
        {L"\\\\server\\share\\*.*", PathKinds::Unc, L"\\\\server\\share\\"}, {L"\\\\server", PathKinds::Unc, L""},
        {L"FTP://host/dir", PathKinds::Ftp, L"kept"},  // only the kind is set
    };
    for (auto [spec, kind, folder] : cases) {
        EntryInfo entry;
        entry.Folder = L"kept";
        SplitSearchPath(spec, entry);
        EXPECT_EQ(std::tie(entry.PathKind, entry.Folder), std::make_tuple(kind, folder)) << spec;
    }
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
        {{L"C:\\x\\", L"..", L""}, {L"..", L"", L"C:\\x\\.."}},
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
    for (const std::wstring& given : {file, folder / L"missing", folder / L"Long*", std::wstring()})
        EXPECT_EQ(ExistingFolderPath(given), std::nullopt) << given;
}
