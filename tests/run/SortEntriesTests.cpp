#include <gtest/gtest.h>

#include <tuple>

#include "fs/LongPath.h"
#include "run/FolderWalk.h"

namespace {

using Names = std::vector<std::wstring>;

// Name, size, and a day: created on that day, modified at that hour, accessed at that second.
using Spec = std::tuple<const wchar_t*, std::uint64_t, int>;

Names Sorted(const std::vector<Spec>& specs, std::int32_t order, std::int32_t key, bool folders = false)
{
    ListedEntries list(key);
    for (auto [name, size, day] : specs) {
        EntryInfo entry;
        entry.Folder = L"C:\\x\\";
        entry.Name = name;
        CompleteEntryNames(entry);
        entry.Attributes = folders ? AttributeBits::Directory : AttributeBits::Archive;
        entry.Size = entry.CompressedSize = ExactSize::FromUInt64(size);
        entry.Created.Local = *OleDateFromParts({2023, 5, day, 1, 0, 0});
        entry.Modified.Local = *OleDateFromParts({2023, 5, 1, day, 0, 0});
        entry.Accessed.Local = *OleDateFromParts({2023, 5, 1, 1, 1, day});
        list.Add(entry);
    }
    SortEntries(list, order, key);
    Names names;
    for (std::size_t i = 0; i < list.size(); ++i) names.emplace_back(list.Name(i));
    return names;
}

}  // namespace

TEST(SortEntries, EachKeyAscendingAndDescendingWithTiesInEnumerationOrderAndTextsByCollation)
{
    // Enumeration order as given; every key has a tie. 2^64 - 1 is no -1.
    const std::vector<Spec> files = {{L"b.txt", 300, 3}, {L"A.txt", 100, 1}, {L"c.TXT", ~0ull, 3}, {L"d.doc", 200, 2}, {L"e", 100, 1}};
    const Names byName = {L"A.txt", L"b.txt", L"c.TXT", L"d.doc", L"e"}, byDay = {L"A.txt", L"e", L"d.doc", L"b.txt", L"c.TXT"},
                byDayDown = {L"b.txt", L"c.TXT", L"d.doc", L"A.txt", L"e"};
    const std::tuple<std::int32_t, std::int32_t, Names> cases[] = {
        {FieldCodes::Name, 0, byName}, {FieldCodes::Name, 1, {L"e", L"d.doc", L"c.TXT", L"b.txt", L"A.txt"}},
        {FieldCodes::Extension, 0, {L"e", L"d.doc", L"b.txt", L"A.txt", L"c.TXT"}},
        {FieldCodes::Extension, 1, {L"b.txt", L"A.txt", L"c.TXT", L"d.doc", L"e"}},
        {FieldCodes::Size, 0, {L"A.txt", L"e", L"d.doc", L"b.txt", L"c.TXT"}},
        {FieldCodes::Size, 1, {L"c.TXT", L"b.txt", L"d.doc", L"A.txt", L"e"}},
        {FieldCodes::Created, 0, byDay}, {FieldCodes::Modified, 1, byDayDown},
        {FieldCodes::Accessed, 0, byDay}, {FieldCodes::Accessed, 5, byDayDown},
    };
    for (const auto& [key, order, expected] : cases) EXPECT_EQ(Sorted(files, order, key), expected) << key << " " << order;
    // Folders have no extension: they sort by name.
    EXPECT_EQ(Sorted(files, 0, FieldCodes::Extension, true), byName);
    // Texts by the locale's collation, ignoring case: by code "_" lies between "Z" and "a"; digits sort as text; names equal but for case are a tie.
    EXPECT_EQ(Sorted({{L"b", 0, 1}, {L"_a", 0, 1}, {L"Z", 0, 1}, {L"10", 0, 1}, {L"9", 0, 1}}, 0, FieldCodes::Name),
              (Names{L"_a", L"10", L"9", L"b", L"Z"}));
    EXPECT_EQ(Sorted({{L"x", 0, 1}, {L"X", 0, 1}, {L"a", 0, 1}}, 1, FieldCodes::Name), (Names{L"x", L"X", L"a"}));
}

// Name i has the size i % 100: by size downward, ties keep their order.
TEST(SortEntries, ALargeFolderSortsStably)
{
    std::vector<Spec> specs;
    Names names(3000), expected;
    for (std::size_t i = 0; i < names.size(); ++i) specs.emplace_back((names[i] = std::to_wstring(i)).c_str(), i % 100, 1);
    for (int size = 99; size >= 0; --size)
        for (std::size_t i = static_cast<std::size_t>(size); i < names.size(); i += 100) expected.push_back(names[i]);
    EXPECT_EQ(Sorted(specs, 1, FieldCodes::Size), expected);
}
