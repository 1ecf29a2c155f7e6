#include <gtest/gtest.h>

#include "run/EntryFilters.h"

namespace {

FileTimeInfo Local(int year, int month, int day, int hour, int minute, int second = 0)
{
    FileTimeInfo time;
    time.Local = *OleDateFromParts({year, month, day, hour, minute, second});
    return time;
}

EntryInfo Entry(const std::wstring& name, std::uint32_t attributes, std::int64_t size = 0)
{
    EntryInfo entry;
    entry.Name = name;
    entry.Folder = L"C:\\x\\";
    entry.FullPath = entry.Folder + name;
    entry.Attributes = attributes;
    entry.Size = size;
    entry.Modified = Local(2023, 6, 1, 10, 30, 59);
    entry.Created = Local(2020, 1, 1, 0, 0);
    entry.Accessed = Local(2024, 1, 1, 0, 0);
    return entry;
}

OleDate Date(int year, int month, int day, int hour, int minute, int second)
{
    return *OleDateFromParts({year, month, day, hour, minute, second});
}

}  // namespace

TEST(Patterns, WildcardsDigitsAndLists)
{
    EXPECT_TRUE(MatchesPattern(L"file07.log", L"file##.log"));
    EXPECT_FALSE(MatchesPattern(L"file7.log", L"file##.log"));
    EXPECT_FALSE(MatchesPattern(L"fileab.log", L"file##.log"));
    EXPECT_TRUE(MatchesPattern(L"b1", L"[a-c]*"));
    EXPECT_FALSE(MatchesPattern(L"B1", L"[a-c]*"));
    EXPECT_TRUE(MatchesPattern(L"x.txt", L"[!0-9]*"));
    EXPECT_FALSE(MatchesPattern(L"9.txt", L"[!0-9]*"));
    EXPECT_TRUE(MatchesPattern(L"abc", L"a?c"));
    EXPECT_FALSE(MatchesPattern(L"ac", L"a?c"));
    EXPECT_TRUE(MatchesPattern(L"a", L"*"));
    EXPECT_TRUE(MatchesPattern(L"abcabd", L"*ab?"));
    EXPECT_TRUE(MatchesPattern(L"aXbXc", L"a*b*c"));
    EXPECT_FALSE(MatchesPattern(L"aXbXcd", L"a*b*c"));
    EXPECT_TRUE(MatchesPattern(L"x-y", L"x[-]y"));
    EXPECT_TRUE(MatchesPattern(L"q", L"[a-cq]"));
    EXPECT_TRUE(MatchesPattern(L"-", L"[a-]"));
    EXPECT_FALSE(MatchesPattern(L"b", L"[c-a]"));
    EXPECT_FALSE(MatchesPattern(L"ab", L"a[]b"));
    EXPECT_FALSE(MatchesPattern(L"a", L"a*[]"));
}

TEST(Patterns, BracketsQuoteTheSpecialCharacters)
{
    EXPECT_TRUE(MatchesPattern(L"a?b", L"a[?]b"));
    EXPECT_FALSE(MatchesPattern(L"axb", L"a[?]b"));
    EXPECT_TRUE(MatchesPattern(L"a*b", L"a[*]b"));
    EXPECT_FALSE(MatchesPattern(L"ab", L"a[*]b"));
    EXPECT_TRUE(MatchesPattern(L"#1", L"[#]#"));
    EXPECT_TRUE(MatchesPattern(L"[x]", L"[[]x]"));
}

TEST(Patterns, AreCaseSensitiveAndCoverTheWholeName)
{
    EXPECT_FALSE(MatchesPattern(L"NOTES.TXT", L"*.txt"));
    EXPECT_FALSE(MatchesPattern(L"notes.txt.bak", L"*.txt"));
    EXPECT_FALSE(MatchesPattern(L"xnotes", L"notes"));
    EXPECT_TRUE(MatchesPattern(L"資料.txt", L"資料.*"));
}

TEST(Patterns, AnUnclosedBracketOrAnEmptyPatternMatchesNothing)
{
    EXPECT_FALSE(MatchesPattern(L"[abc", L"[abc"));
    EXPECT_FALSE(MatchesPattern(L"a", L"[a"));
    EXPECT_FALSE(MatchesPattern(L"ab", L"*[b"));
    EXPECT_FALSE(MatchesPattern(L"a]", L"a]x[") );
    EXPECT_TRUE(MatchesPattern(L"a]", L"a]"));
    EXPECT_FALSE(MatchesPattern(L"a", L""));
}

TEST(PatternLists, SplitAtSemicolonsWithAllFilesMeaningAnyName)
{
    EXPECT_TRUE(MatchesPatternList(L"notes.txt", L"*.txt;*.rtf"));
    EXPECT_TRUE(MatchesPatternList(L"a.rtf", L"*.txt;*.rtf"));
    EXPECT_FALSE(MatchesPatternList(L"NOTES.TXT", L"*.txt;*.rtf"));
    EXPECT_FALSE(MatchesPatternList(L"notes.txt.bak", L"*.txt;*.rtf"));
    EXPECT_TRUE(MatchesPatternList(L"README", L"*.*"));
    EXPECT_TRUE(MatchesPatternList(L"a.txt", L"*.txt;"));
    EXPECT_FALSE(MatchesPatternList(L"a.doc", L"*.txt;"));
    EXPECT_FALSE(MatchesPatternList(L"a.txt", L" *.txt"));
    EXPECT_TRUE(MatchesPatternList(L"anything", L"   "));
    EXPECT_TRUE(MatchesPatternList(L"anything", L""));
    EXPECT_FALSE(MatchesPatternList(L"README", L"x;*.*x"));
}

TEST(PatternLists, AFilterMatchesWhenAnyTabSeparatedGroupDoes)
{
    EXPECT_TRUE(MatchesFilter(L"a.doc", L"*.txt\t*.doc"));
    EXPECT_FALSE(MatchesFilter(L"a.xls", L"*.txt\t*.doc"));
    EXPECT_TRUE(MatchesFilter(L"a.xls", L""));
    EXPECT_TRUE(MatchesFilter(L"a.xls", L"*.txt\t "));
}

TEST(FolderPasses, RealFoldersAllowedByAttributesAndFilter)
{
    JobInfo job;
    job.SetFolderFilter(L"*");
    EXPECT_TRUE(FolderPasses(Entry(L"sub", AttributeBits::Directory), job));
    EXPECT_FALSE(FolderPasses(Entry(L".", AttributeBits::Directory), job));
    EXPECT_FALSE(FolderPasses(Entry(L"..", AttributeBits::Directory), job));
    EXPECT_FALSE(FolderPasses(Entry(L"file", AttributeBits::Archive), job));
    EXPECT_TRUE(FolderPasses(Entry(L"h", AttributeBits::Directory | AttributeBits::Hidden), job));
    job.SetIncludeHidden(false);
    EXPECT_FALSE(FolderPasses(Entry(L"h", AttributeBits::Directory | AttributeBits::Hidden), job));
    job.SetFolderFilter(L"s*\tt*");
    EXPECT_TRUE(FolderPasses(Entry(L"tmp", AttributeBits::Directory), job));
    EXPECT_FALSE(FolderPasses(Entry(L"Tmp", AttributeBits::Directory), job));
}

TEST(AttributeRule, EachExcludedClassLeavesEntriesOut)
{
    JobInfo job;
    EntryInfo hiddenReadOnly = Entry(L"a.txt", AttributeBits::Hidden | AttributeBits::ReadOnly);
    RunState state;
    EXPECT_TRUE(FilePasses(hiddenReadOnly, job, state));
    job.SetIncludeReadOnly(false);
    EXPECT_FALSE(FilePasses(hiddenReadOnly, job, state));
    job.SetIncludeReadOnly(true);
    job.SetIncludeSystem(false);
    EXPECT_TRUE(FilePasses(hiddenReadOnly, job, state));
    EXPECT_FALSE(FilePasses(Entry(L"s.sys", AttributeBits::System), job, state));
    EXPECT_FALSE(FilePasses(Entry(L"dir", AttributeBits::Directory), job, state));
}

TEST(FilePasses, NameSizeAndTimeMustAllPass)
{
    JobInfo job;
    job.SetFileFilter(L"*.txt");
    RunState state;
    state.SizeLower = 1024;
    state.SizeUpper = 2048;
    state.SizeTest = 3;
    state.DateFrom = Date(2023, 1, 1, 0, 0, 0);
    state.DateTo = Date(2023, 12, 31, 0, 0, 0);
    state.DateTest = 3;
    state.DateField = DateFields::Modified;
    EXPECT_TRUE(FilePasses(Entry(L"a.txt", 0, 1500), job, state));
    EXPECT_FALSE(FilePasses(Entry(L"a.doc", 0, 1500), job, state));
    EXPECT_FALSE(FilePasses(Entry(L"a.txt", 0, 5000), job, state));
    EXPECT_FALSE(FilePasses(Entry(L"a.doc", 0, 5000), job, state));
    state.DateField = DateFields::Accessed;  // 2024-01-01 lies after the range
    EXPECT_FALSE(FilePasses(Entry(L"a.txt", 0, 1500), job, state));
}

TEST(SizeTest, BoundsAreInclusive)
{
    RunState state;
    state.SizeLower = 1024;
    state.SizeUpper = 2048;
    state.SizeTest = 3;
    EXPECT_TRUE(SizePasses(Entry(L"a", 0, 1024), state));
    EXPECT_TRUE(SizePasses(Entry(L"a", 0, 2048), state));
    EXPECT_FALSE(SizePasses(Entry(L"a", 0, 1023), state));
    EXPECT_FALSE(SizePasses(Entry(L"a", 0, 2049), state));
    state.SizeTest = 1;
    EXPECT_TRUE(SizePasses(Entry(L"a", 0, 1 << 30), state));
    state.SizeTest = 2;
    EXPECT_TRUE(SizePasses(Entry(L"a", 0, 0), state));
    state.SizeTest = 1;
    state.SizeLower = 3145728000ll;  // 3000 MB
    EXPECT_FALSE(SizePasses(Entry(L"a", 0, 3145727999ll), state));
    EXPECT_TRUE(SizePasses(Entry(L"a", 0, 3145728000ll), state));
    EntryInfo huge = Entry(L"a", 0);
    huge.Size = ExactSize::FromUInt64(~0ull);
    EXPECT_TRUE(SizePasses(huge, state));
}

TEST(TimeTest, ComparesToTheMinuteWithInclusiveBounds)
{
    RunState state;
    state.DateField = DateFields::Modified;
    state.DateTo = Date(2023, 6, 1, 10, 30, 15);
    state.DateTest = DateTestBits::To;
    EntryInfo entry = Entry(L"a", 0);  // modified 10:30:59
    EXPECT_TRUE(TimePasses(entry, state));
    entry.Modified = Local(2023, 6, 1, 10, 31, 0);
    EXPECT_FALSE(TimePasses(entry, state));

    state.DateFrom = Date(2023, 6, 1, 10, 31, 0);
    state.DateTest = DateTestBits::From;
    EXPECT_TRUE(TimePasses(entry, state));
    entry.Modified = Local(2023, 6, 1, 10, 30, 59);
    EXPECT_FALSE(TimePasses(entry, state));
    state.DateFrom = Date(2023, 6, 1, 10, 30, 1);  // the bound keeps its seconds
    EXPECT_FALSE(TimePasses(entry, state));
}

TEST(TimeTest, TheChosenFieldIsRead)
{
    RunState state;
    state.DateFrom = Date(2021, 1, 1, 0, 0, 0);
    state.DateTo = Date(2023, 12, 31, 0, 0, 0);
    state.DateTest = 3;
    EntryInfo entry = Entry(L"a", 0);
    state.DateField = DateFields::Modified;
    EXPECT_TRUE(TimePasses(entry, state));
    state.DateField = DateFields::Created;
    EXPECT_FALSE(TimePasses(entry, state));
    state.DateField = DateFields::Accessed;
    EXPECT_FALSE(TimePasses(entry, state));
}

TEST(TimeTest, AnyTimeKeepsEveryFileWhileOtherKindsDropUnreadableTimes)
{
    RunState state;
    state.DateFrom = Date(2000, 1, 1, 0, 0, 0);
    state.DateTo = Date(2024, 1, 1, 0, 0, 0);
    state.DateTest = 3;
    state.DateField = DateFields::Accessed;
    EntryInfo future = Entry(L"a", 0);
    future.Accessed = Local(2099, 1, 1, 0, 0);
    EntryInfo invalid = Entry(L"b", 0);
    invalid.Accessed.Invalid = true;
    EntryInfo unknown = Entry(L"c", 0);
    unknown.Accessed = FileTimeInfo{};
    state.AnyTime = true;
    EXPECT_TRUE(TimePasses(future, state));
    EXPECT_TRUE(TimePasses(invalid, state));
    EXPECT_TRUE(TimePasses(unknown, state));
    state.AnyTime = false;
    EXPECT_FALSE(TimePasses(future, state));
    EXPECT_FALSE(TimePasses(invalid, state));
    EXPECT_FALSE(TimePasses(unknown, state));
    state.DateTest = 0;
    EXPECT_FALSE(TimePasses(invalid, state));
    EXPECT_FALSE(TimePasses(unknown, state));
    EXPECT_TRUE(TimePasses(future, state));
}

TEST(TimeTest, DatesBeforeEighteenNinetyNineCompareInTimeOrder)
{
    RunState state;
    state.DateField = DateFields::Modified;
    // 1899-12-29 06:00 is -1.25 and 1899-12-29 18:00 is -1.75: later, though smaller.
    state.DateFrom = -1.25;
    state.DateTo = 1;
    state.DateTest = 3;
    EntryInfo entry = Entry(L"a", 0);
    entry.Modified.Local = -1.75;
    EXPECT_TRUE(TimePasses(entry, state));
    entry.Modified.Local = -1.20;  // 04:48 of the same day
    EXPECT_FALSE(TimePasses(entry, state));
}
