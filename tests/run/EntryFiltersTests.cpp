#include <gtest/gtest.h>

#include <tuple>

#include "run/EntryFilters.h"

namespace {

FileTimeInfo Local(int year, int month, int day, int hour = 0, int minute = 0, int second = 0)
{
    return {false, *OleDateFromParts({year, month, day, hour, minute, second}), 0, 0};
}

EntryInfo Entry(const std::wstring& name, std::uint32_t attributes, ExactSize size = 0)
{
    EntryInfo entry;
    entry.Name = name;
    entry.Attributes = attributes;
    entry.Size = size;
    entry.Created = Local(2020, 1, 1);
    entry.Modified = Local(2023, 6, 1, 10, 30, 59);
    entry.Accessed = Local(2024, 1, 1);
    return entry;
}

}  // namespace

TEST(Patterns, WildcardsDigitsListsAndQuotedSpecialsCoverTheWholeNameWithCaseInGroupsAndFilters)
{
    const std::tuple<const wchar_t*, const wchar_t*, bool> cases[] = {
        {L"file07.log", L"file##.log", true}, {L"file7.log", L"file##.log", false}, {L"fileab.log", L"file##.log", false},
        {L"b1", L"[a-c]*", true},             {L"B1", L"[a-c]*", false},            {L"x.txt", L"[!0-9]*", true},
        {L"9.txt", L"[!0-9]*", false},        {L"abc", L"a?c", true},               {L"ac", L"a?c", false},
        {L"abcabd", L"*ab?", true},           {L"aXbXc", L"a*b*c", true},           {L"aXbXcd", L"a*b*c", false},
        {L"x-y", L"x[-]y", true},             {L"q", L"[a-cq]", true},              {L"-", L"[a-]", true},
        {L"b", L"[c-a]", false},              {L"ab", L"a[]b", false},              {L"a", L"a*[]", false},
        {L"a?b", L"a[?]b", true},             {L"axb", L"a[?]b", false},            {L"a*b", L"a[*]b", true},
        {L"ab", L"a[*]b", false},             {L"#1", L"[#]#", true},               {L"[x]", L"[[]x]", true},
        {L"NOTES.TXT", L"*.txt", false},      {L"notes.txt.bak", L"*.txt", false},  {L"xnotes", L"notes", false},
        {L"資料.txt", L"資料.*", true},       {L"a]", L"a]", true},
        // An unclosed bracket or an empty pattern matches nothing.
        {L"[abc", L"[abc", false},            {L"ab", L"*[b", false},               {L"a]", L"a]x[", false},
        {L"a", L"", false},
    };
    for (auto [name, pattern, matches] : cases) EXPECT_EQ(MatchesPattern(name, pattern), matches) << name << " " << pattern;

    // Patterns of a group split at ";", groups of a filter at TAB.
    const auto list = MatchesPatternList, filter = MatchesFilter;
    const std::tuple<bool (*)(std::wstring_view, std::wstring_view), const wchar_t*, const wchar_t*, bool> groups[] = {
        {list, L"notes.txt", L"*.txt;*.rtf", true}, {list, L"a.rtf", L"*.txt;*.rtf", true}, {list, L"README", L"*.*", true},
        {list, L"README", L"x;*.*x", false},        {list, L"a.txt", L"*.txt;", true},      {list, L"a.doc", L"*.txt;", false},
        {list, L"a.txt", L" *.txt", false},         {list, L"any", L"   ", true},           {list, L"any", L"", true},
        {filter, L"a.doc", L"*.txt\t*.doc", true},  {filter, L"a.xls", L"*.txt\t*.doc", false},
        {filter, L"a.xls", L"", true},              {filter, L"a.xls", L"*.txt\t ", true},
    };
    for (auto [matches, name, patterns, expected] : groups) EXPECT_EQ(matches(name, patterns), expected) << name << " " << patterns;
}

TEST(EntryFilters, FoldersAndFilesByKindTheIncludedAttributesAndName)
{
    using namespace AttributeBits;
    // Name, attributes, hidden, system and read-only included; folder passes, file passes.
    const std::tuple<const wchar_t*, std::uint32_t, bool, bool, bool, bool, bool> cases[] = {
        {L"sub", Directory, 1, 1, 1, 1, 0},          {L".", Directory, 1, 1, 1, 0, 0},
        {L"..", Directory, 1, 1, 1, 0, 0},           {L"file", Archive, 1, 1, 1, 0, 1},
        {L"h", Directory | Hidden, 1, 1, 1, 1, 0},   {L"h", Directory | Hidden, 0, 1, 1, 0, 0},
        {L"s", Directory | System, 1, 0, 1, 0, 0},   {L"a.txt", Hidden | ReadOnly, 1, 0, 1, 0, 1},
        {L"a.txt", Hidden | ReadOnly, 1, 1, 0, 0, 0}, {L"s.sys", System, 1, 0, 1, 0, 0},
    };
    for (auto [name, bits, hidden, system, readOnly, folder, file] : cases) {
        JobInfo job;
        job.SetFolderFilter(L"*");
        job.SetIncludeHidden(hidden);
        job.SetIncludeSystem(system);
        job.SetIncludeReadOnly(readOnly);
        EXPECT_EQ(FolderPasses(Entry(name, bits), job), folder) << name << " " << bits;
        EXPECT_EQ(FilePasses(Entry(name, bits), job, RunState()), file) << name << " " << bits;
    }
    JobInfo job;
    job.SetFolderFilter(L"s*\tt*");
    EXPECT_TRUE(FolderPasses(Entry(L"tmp", Directory), job));
    EXPECT_FALSE(FolderPasses(Entry(L"Tmp", Directory), job));
}

TEST(EntryFilters, AFileNeedsItsNameSizeAndTimeToPassWithInclusiveSizeBounds)
{
    JobInfo job;
    job.SetFileFilter(L"*.txt");
    RunState state;
    state.SizeLower = 1024, state.SizeUpper = 2048, state.SizeTest = SizeTestBits::Lower | SizeTestBits::Upper;
    state.DateFrom = Local(2023, 1, 1).Local, state.DateTo = Local(2023, 12, 31).Local, state.DateTest = 3;
    EXPECT_TRUE(FilePasses(Entry(L"a.txt", 0, 1500), job, state));
    EXPECT_FALSE(FilePasses(Entry(L"a.doc", 0, 1500), job, state) || FilePasses(Entry(L"a.txt", 0, 5000), job, state));
    state.DateField = DateFields::Accessed;  // 2024-01-01 lies after the range
    EXPECT_FALSE(FilePasses(Entry(L"a.txt", 0, 1500), job, state));
    // Lower and upper bound, which of them count, size, passes.
    const std::uint64_t max = ~0ull;
    const std::tuple<std::int64_t, std::int64_t, std::uint16_t, std::uint64_t, bool> sizes[] = {
        {1024, 2048, 3, 1024, true}, {1024, 2048, 3, 2048, true}, {1024, 2048, 3, 1023, false}, {1024, 2048, 3, 2049, false},
        {1024, 2048, 2, max, false}, {1024, 2048, 0, max, true},  {3145728000, 0, 1, 3145727999, false},
        {3145728000, 0, 1, max, true},
    };
    for (auto [lower, upper, test, size, passes] : sizes) {
        state.SizeLower = lower, state.SizeUpper = upper, state.SizeTest = test;
        EXPECT_EQ(SizePasses(Entry(L"a", 0, ExactSize::FromUInt64(size)), state), passes) << test << " " << size;
    }
}

TEST(EntryFilters, TimesCompareToTheMinuteOnTheChosenFieldUnlessAnyTimeKeepsEveryFile)
{
    const OleDate none = -1, at1030 = Local(2023, 6, 1, 10, 30, 15).Local, y2000 = Local(2000, 1, 1).Local;
    const FileTimeInfo invalid{true, 45000, 0, 0}, unknown, future = Local(2099, 1, 1);
    // From, to, field, the entry's time in that field (the others are unreadable), any time, passes.
    const std::tuple<OleDate, OleDate, std::uint16_t, FileTimeInfo, bool, bool> cases[] = {
        {none, at1030, DateFields::Modified, Local(2023, 6, 1, 10, 30, 59), false, true},
        {none, at1030, DateFields::Modified, Local(2023, 6, 1, 10, 31, 0), false, false},
        {Local(2023, 6, 1, 10, 31, 0).Local, none, DateFields::Modified, Local(2023, 6, 1, 10, 31, 0), false, true},
        {Local(2023, 6, 1, 10, 30, 1).Local, none, DateFields::Modified, Local(2023, 6, 1, 10, 30, 59), false, false},
        {at1030, none, DateFields::Created, Local(2023, 6, 2), false, true},
        {at1030, none, DateFields::Accessed, Local(2023, 6, 2), false, true},
        // 1899-12-29 18:00 is -1.75: later than 06:00 (-1.25), though smaller.
        {-1.25, 1, DateFields::Modified, {false, -1.75, 0, 0}, false, true},
        {-1.25, 1, DateFields::Modified, {false, -1.20, 0, 0}, false, false},
        {y2000, at1030, DateFields::Accessed, future, true, true},   {y2000, at1030, DateFields::Accessed, future, false, false},
        {y2000, at1030, DateFields::Accessed, invalid, true, true},  {y2000, at1030, DateFields::Accessed, invalid, false, false},
        {y2000, at1030, DateFields::Accessed, unknown, true, true},  {y2000, at1030, DateFields::Accessed, unknown, false, false},
        {none, none, DateFields::Accessed, invalid, false, false},   {none, none, DateFields::Accessed, future, false, true},
    };
    for (const auto& [from, to, field, time, anyTime, passes] : cases) {
        RunState state;
        state.DateFrom = from, state.DateTo = to, state.DateField = field, state.AnyTime = anyTime;
        state.DateTest = static_cast<std::uint16_t>((from != none ? DateTestBits::From : 0) | (to != none ? DateTestBits::To : 0));
        EntryInfo entry;
        entry.Created.Invalid = entry.Accessed.Invalid = entry.Modified.Invalid = true;
        (field == DateFields::Created ? entry.Created : field == DateFields::Accessed ? entry.Accessed : entry.Modified) = time;
        EXPECT_EQ(TimePasses(entry, state), passes) << time.Local << " field " << field << " any " << anyTime;
    }
}
