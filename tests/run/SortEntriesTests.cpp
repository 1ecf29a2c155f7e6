#include <gtest/gtest.h>

#include "run/FolderWalk.h"

namespace {

FileTimeInfo Local(int day, int hour, int minute, int second)
{
    FileTimeInfo time;
    time.Local = *OleDateFromParts({2023, 5, day, hour, minute, second});
    return time;
}

struct Spec {
    const wchar_t* Name;
    std::int64_t Size;
    std::int64_t OnDisk;
    const wchar_t* ShortName;
    int Day;  // created on the day, modified at that hour, accessed at that second
};

EntryInfo MakeEntry(const Spec& spec, bool folder)
{
    EntryInfo entry;
    entry.Name = spec.Name;
    entry.Folder = L"C:\\x\\";
    entry.FullPath = entry.Folder + entry.Name;
    std::wstring name = spec.Name;
    std::size_t dot = name.rfind(L'.');
    entry.Extension = dot == std::wstring::npos ? L"" : name.substr(dot + 1);
    entry.ShortName = spec.ShortName;
    entry.ShortNameKnown = true;
    entry.Attributes = folder ? AttributeBits::Directory : AttributeBits::Archive;
    entry.Size = spec.Size;
    entry.CompressedSize = spec.OnDisk;
    entry.Created = Local(spec.Day, 1, 0, 0);
    entry.Modified = Local(1, spec.Day, 0, 0);
    entry.Accessed = Local(1, 1, 1, spec.Day);
    return entry;
}

std::vector<std::wstring> Sorted(const std::vector<Spec>& specs, std::int32_t order, std::int32_t key,
                                 bool folders = false)
{
    ListedEntries list(key);
    for (const Spec& spec : specs) {
        EntryInfo entry = MakeEntry(spec, folders);
        list.Add(entry);
    }
    SortEntries(list, order, key);
    std::vector<std::wstring> names;
    for (std::size_t i = 0; i < list.size(); ++i) names.emplace_back(list.Name(i));
    return names;
}

using Names = std::vector<std::wstring>;

// Enumeration order as given; every key has a tie to show that ties keep it.
const std::vector<Spec> kFiles = {
    {L"b.txt", 300, 4096, L"ZZ~1.TXT", 3},  //
    {L"A.txt", 100, 4096, L"YY~1.TXT", 1},  //
    {L"c.TXT", 300, 8192, L"XX~1.TXT", 3},  //
    {L"d.doc", 200, 0, L"XX~1.TXT", 2},     //
    {L"e", 100, 0, L"E", 1},                //
};

}  // namespace

TEST(SortEntries, ByNameIgnoringCase)
{
    EXPECT_EQ(Sorted({{L"b.txt", 0, 0, L"", 1}, {L"A.txt", 0, 0, L"", 1}, {L"c.TXT", 0, 0, L"", 1}}, 0, 1),
              (Names{L"A.txt", L"b.txt", L"c.TXT"}));
    EXPECT_EQ(Sorted({{L"b.txt", 0, 0, L"", 1}, {L"A.txt", 0, 0, L"", 1}, {L"c.TXT", 0, 0, L"", 1}}, 1, 1),
              (Names{L"c.TXT", L"b.txt", L"A.txt"}));
    // Names equal but for case are a tie.
    EXPECT_EQ(Sorted({{L"x", 0, 0, L"", 1}, {L"X", 0, 0, L"", 1}, {L"a", 0, 0, L"", 1}}, 0, 1),
              (Names{L"a", L"x", L"X"}));
    EXPECT_EQ(Sorted({{L"x", 0, 0, L"", 1}, {L"X", 0, 0, L"", 1}, {L"a", 0, 0, L"", 1}}, 1, 1),
              (Names{L"x", L"X", L"a"}));
}

TEST(SortEntries, ByLocaleCollationNotByCode)
{
    // By code "_" (0x5F) lies between "Z" and "a"; the collation puts it before letters.
    // Digits sort as text: "10" before "9".
    EXPECT_EQ(Sorted({{L"b", 0, 0, L"", 1}, {L"_a", 0, 0, L"", 1}, {L"Z", 0, 0, L"", 1}}, 0, 1),
              (Names{L"_a", L"b", L"Z"}));
    EXPECT_EQ(Sorted({{L"9", 0, 0, L"", 1}, {L"10", 0, 0, L"", 1}}, 0, 1), (Names{L"10", L"9"}));
}

TEST(SortEntries, ByShortName)
{
    EXPECT_EQ(Sorted(kFiles, 0, 2), (Names{L"e", L"c.TXT", L"d.doc", L"A.txt", L"b.txt"}));
    EXPECT_EQ(Sorted(kFiles, 1, 2), (Names{L"b.txt", L"A.txt", L"c.TXT", L"d.doc", L"e"}));
}

TEST(SortEntries, ByExtensionForFilesByNameForFolders)
{
    EXPECT_EQ(Sorted(kFiles, 0, 5), (Names{L"e", L"d.doc", L"b.txt", L"A.txt", L"c.TXT"}));
    EXPECT_EQ(Sorted(kFiles, 1, 5), (Names{L"b.txt", L"A.txt", L"c.TXT", L"d.doc", L"e"}));
    EXPECT_EQ(Sorted(kFiles, 0, 5, true), (Names{L"A.txt", L"b.txt", L"c.TXT", L"d.doc", L"e"}));
}

TEST(SortEntries, BySizesAsNumbers)
{
    EXPECT_EQ(Sorted(kFiles, 0, 6), (Names{L"A.txt", L"e", L"d.doc", L"b.txt", L"c.TXT"}));
    EXPECT_EQ(Sorted(kFiles, 1, 6), (Names{L"b.txt", L"c.TXT", L"d.doc", L"A.txt", L"e"}));
    EXPECT_EQ(Sorted(kFiles, 0, 7), (Names{L"d.doc", L"e", L"b.txt", L"A.txt", L"c.TXT"}));
    EXPECT_EQ(Sorted(kFiles, 1, 7), (Names{L"c.TXT", L"b.txt", L"A.txt", L"d.doc", L"e"}));
    // 2^64 - 1 and 2^63 stay in numeric order.
    ListedEntries list(FieldCodes::Size);
    for (auto [name, size] : {std::pair{L"max", ~0ull}, std::pair{L"half", 1ull << 63}}) {
        EntryInfo entry;
        entry.Name = name;
        entry.Size = ExactSize::FromUInt64(size);
        list.Add(entry);
    }
    SortEntries(list, 0, FieldCodes::Size);
    EXPECT_EQ(list.Name(0), L"half");
}

TEST(SortEntries, ByEachTime)
{
    EXPECT_EQ(Sorted(kFiles, 0, 9), (Names{L"A.txt", L"e", L"d.doc", L"b.txt", L"c.TXT"}));
    EXPECT_EQ(Sorted(kFiles, 1, 9), (Names{L"b.txt", L"c.TXT", L"d.doc", L"A.txt", L"e"}));
    EXPECT_EQ(Sorted(kFiles, 0, 10), (Names{L"A.txt", L"e", L"d.doc", L"b.txt", L"c.TXT"}));
    EXPECT_EQ(Sorted(kFiles, 1, 10), (Names{L"b.txt", L"c.TXT", L"d.doc", L"A.txt", L"e"}));
    EXPECT_EQ(Sorted(kFiles, 0, 11), (Names{L"A.txt", L"e", L"d.doc", L"b.txt", L"c.TXT"}));
    EXPECT_EQ(Sorted(kFiles, 5, 11), (Names{L"b.txt", L"c.TXT", L"d.doc", L"A.txt", L"e"}));
}

TEST(SortEntries, TimesCompareToTheSecond)
{
    ListedEntries list(FieldCodes::Modified);
    for (int second : {30, 10, 20}) {
        EntryInfo entry;
        entry.Name = std::to_wstring(second);
        entry.Modified = Local(9, 23, 59, second);
        list.Add(entry);
    }
    SortEntries(list, 0, FieldCodes::Modified);
    EXPECT_EQ(std::wstring(list.Name(0)) + std::wstring(list.Name(1)) + std::wstring(list.Name(2)), L"102030");
}

TEST(SortEntries, ALargeFolderSortsStably)
{
    ListedEntries list(FieldCodes::Size);
    for (int i = 0; i < 100000; ++i) {
        EntryInfo entry;
        entry.Name = std::to_wstring(i);
        entry.Size = (i * 7919) % 1000;
        list.Add(entry);
    }
    SortEntries(list, 1, FieldCodes::Size);
    EntryInfo previous, current;
    list.Fill(0, L"", previous);
    for (std::size_t i = 1; i < list.size(); ++i) {
        list.Fill(i, L"", current);
        ASSERT_GE(previous.Size, current.Size);
        if (previous.Size == current.Size) {
            ASSERT_LT(std::stoi(previous.Name), std::stoi(current.Name));
        }
        std::swap(previous, current);
    }
}
