#include <gtest/gtest.h>

#include <cmath>

#include "fs/EntryMetadata.h"
#include "support/TestFolder.h"

namespace {

FILETIME FileTimeOf(std::uint64_t ticks)
{
    return {static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
}

OleDate Date(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) { return *OleDateFromParts({y, mo, d, h, mi, s}); }

// Minutes to add to UTC for local time, as the platform converts file times now.
double LocalOffsetDays()
{
    TIME_ZONE_INFORMATION zone;
    DWORD mode = GetTimeZoneInformation(&zone);
    long bias = zone.Bias + (mode == TIME_ZONE_ID_DAYLIGHT ? zone.DaylightBias : 0);
    return -bias / 1440.0;
}

}  // namespace

TEST(UInt64FromHalves, HalvesAreUnsigned)
{
    EXPECT_EQ(UInt64FromHalves(0, 1), ExactSize(4294967296LL));
    EXPECT_EQ(UInt64FromHalves(0x80000000u, 0), ExactSize(2147483648LL));
    EXPECT_EQ(UInt64FromHalves(0xFFFFFFFFu, 0xFFFFFFFFu).ToDecimal(), L"18446744073709551615");
}

TEST(ConvertFileTime, ZeroIsTheFirstSecondOf1601)
{
    FileTimeInfo time = ConvertFileTime(FileTimeOf(0));
    EXPECT_DOUBLE_EQ(time.Utc, Date(1601, 1, 1));
    EXPECT_EQ(time.Ticks, ExactSize(0));
    if (LocalOffsetDays() >= 0) {
        EXPECT_FALSE(time.Invalid);
        // Before the epoch the day counts down while the time of day counts up.
        EXPECT_NEAR(std::fabs(time.Local) - std::fabs(time.Utc), LocalOffsetDays(), 1e-9);
    } else {
        EXPECT_TRUE(time.Invalid);  // local time would lie before 1601
    }
}

TEST(ConvertFileTime, LocalAndUtcAreToTheSecond)
{
    SYSTEMTIME utc = {2021, 7, 0, 14, 9, 26, 53, 589};
    FILETIME fileTime;
    ASSERT_TRUE(SystemTimeToFileTime(&utc, &fileTime));
    FileTimeInfo time = ConvertFileTime(fileTime);
    EXPECT_FALSE(time.Invalid);
    EXPECT_DOUBLE_EQ(time.Utc, Date(2021, 7, 14, 9, 26, 53));
    EXPECT_NEAR(time.Local - time.Utc, LocalOffsetDays(), 1e-9);
    EXPECT_EQ(time.Ticks, UInt64FromHalves(fileTime.dwLowDateTime, fileTime.dwHighDateTime));
}

TEST(ConvertFileTime, TimesBeyondYear9999AreInvalidButKeepTheirTicks)
{
    SYSTEMTIME utc = {12000, 1, 0, 1, 0, 0, 0, 0};
    FILETIME fileTime;
    ASSERT_TRUE(SystemTimeToFileTime(&utc, &fileTime));
    FileTimeInfo time = ConvertFileTime(fileTime);
    EXPECT_TRUE(time.Invalid);
    EXPECT_EQ(time.Ticks, UInt64FromHalves(fileTime.dwLowDateTime, fileTime.dwHighDateTime));

    FileTimeInfo huge = ConvertFileTime(FileTimeOf(0xFFFFFFFFFFFFFFFFull));
    EXPECT_TRUE(huge.Invalid);
    EXPECT_EQ(huge.Ticks.ToDecimal(), L"18446744073709551615");
}

TEST(SetEntrySizes, FoldersHaveNoSize)
{
    EntryInfo entry;
    entry.Attributes = 16;
    SetEntrySizes(1234, 5, entry);
    EXPECT_EQ(entry.Size, ExactSize(0));
    EXPECT_EQ(entry.CompressedSize, ExactSize(0));
}

TEST(SetEntrySizes, UncompressedFilesNeedNoQuery)
{
    EntryInfo entry;
    entry.Attributes = 32;
    entry.FullPath = L"Q:\\does not exist";
    SetEntrySizes(0, 1, entry);
    EXPECT_EQ(entry.Size, ExactSize(4294967296LL));
    EXPECT_EQ(entry.CompressedSize, entry.Size);
}

TEST(GetCompressedSize, AFailedQueryKeepsThePlainSize)
{
    EntryInfo entry;
    entry.Attributes = 2048 | 32;
    entry.FullPath = L"Q:\\does not exist\\file.bin";
    SetEntrySizes(77, 0, entry);
    EXPECT_EQ(entry.CompressedSize, ExactSize(77));
}

TEST(GetEntryInfo, AFileWithItsTimesAndSize)
{
    TestFolder folder;
    std::wstring path = folder.MakeFile(L"data.bin", "0123456789");
    SYSTEMTIME modified = {2020, 5, 0, 6, 7, 8, 9, 0};
    SetModifiedTime(path, modified);

    EntryInfo entry = GetEntryInfo(path);
    EXPECT_EQ(entry.PathKind, PathKinds::Local);
    EXPECT_EQ(entry.Name, L"data.bin");
    EXPECT_EQ(entry.Folder, folder.Path() + L"\\");
    EXPECT_EQ(entry.FullPath, path);
    EXPECT_EQ(entry.Extension, L"bin");
    EXPECT_TRUE(entry.IsFile);
    EXPECT_EQ(entry.Size, ExactSize(10));
    EXPECT_EQ(entry.CompressedSize, ExactSize(10));
    EXPECT_FALSE(entry.Modified.Invalid);
    EXPECT_DOUBLE_EQ(entry.Modified.Utc, Date(2020, 5, 6, 7, 8, 9));
}

TEST(GetEntryInfo, AFolderPathEndingInABackslash)
{
    TestFolder folder;
    std::wstring data = folder.MakeFolder(L"Data");
    folder.MakeFile(L"Data\\inside.txt", "xyz");
    EntryInfo entry = GetEntryInfo(data + L"\\");
    EXPECT_EQ(entry.Folder, folder.Path() + L"\\");
    EXPECT_EQ(entry.Name, L"Data");
    EXPECT_EQ(entry.FullPath, data);
    EXPECT_TRUE(entry.IsFolder);
    EXPECT_EQ(entry.Size, ExactSize(0));
    EXPECT_EQ(entry.CompressedSize, ExactSize(0));
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
        EXPECT_EQ(entry.Name, L"C:");
        EXPECT_EQ(entry.FullPath, L"C:");
        EXPECT_EQ(entry.Folder, L"");
        EXPECT_TRUE(entry.IsFolder);
        EXPECT_EQ(entry.Attributes, root.dwFileAttributes);
        EXPECT_EQ(entry.Created.Ticks,
                  UInt64FromHalves(root.ftCreationTime.dwLowDateTime, root.ftCreationTime.dwHighDateTime));
        EXPECT_EQ(entry.Modified.Ticks,
                  UInt64FromHalves(root.ftLastWriteTime.dwLowDateTime, root.ftLastWriteTime.dwHighDateTime));
    }
}

TEST(GetEntryInfo, AMissingPathKeepsTheUnknownPresets)
{
    TestFolder folder;
    EntryInfo entry = GetEntryInfo(folder / L"gone.txt");
    EXPECT_EQ(entry.Name, L"");
    EXPECT_EQ(entry.Attributes, 0u);
    EXPECT_FALSE(entry.IsFolder);
    EXPECT_FALSE(entry.IsFile);
    EXPECT_EQ(entry.Size, ExactSize(-1));
    EXPECT_EQ(entry.CompressedSize, ExactSize(-1));
    for (const FileTimeInfo* time : {&entry.Created, &entry.Accessed, &entry.Modified}) {
        EXPECT_TRUE(time->Invalid);
        EXPECT_EQ(time->Ticks, ExactSize(-1));
    }
}

TEST(GetEntryInfo, AnFtpUrlIsNotQueried)
{
    EntryInfo entry = GetEntryInfo(L"ftp://host/dir/file");
    EXPECT_EQ(entry.PathKind, PathKinds::Ftp);
    EXPECT_EQ(entry.FullPath, L"ftp://host/dir/file");
    EXPECT_EQ(entry.Name, L"");
}

TEST(GetEntryInfo, ASparseFileLargerThan4GiBHasItsExactSize)
{
    TestFolder folder;
    const std::uint64_t size = 5ull * 1024 * 1024 * 1024 + 7;
    std::wstring path = folder.MakeFileOfSize(L"big.bin", size);
    EntryInfo entry = GetEntryInfo(path);
    EXPECT_EQ(entry.Size, ExactSize::FromUInt64(size));
    EXPECT_EQ(entry.Size.ToDecimal(), L"5368709127");
}
