#include <gtest/gtest.h>

#include "support/SortedNames.h"

TEST(SortEntries, EachKeyAscendingAndDescendingWithTiesInEnumerationOrderAndTextsByCollation)
{
    const auto& files = kSortedFiles;
    const Names byName = {L"A.txt", L"b.txt", L"c.TXT", L"d.doc", L"e"}, byCreated = {L"A.txt", L"e", L"d.doc", L"b.txt", L"c.TXT"};
    const std::tuple<std::int32_t, std::int32_t, Names> cases[] = {
        {FieldCodes::Name, 0, byName}, {FieldCodes::Name, 1, {L"e", L"d.doc", L"c.TXT", L"b.txt", L"A.txt"}},
        {FieldCodes::Extension, 0, {L"e", L"d.doc", L"b.txt", L"A.txt", L"c.TXT"}},
        {FieldCodes::Extension, 1, {L"b.txt", L"A.txt", L"c.TXT", L"d.doc", L"e"}},
        {FieldCodes::Size, 0, {L"b.txt", L"e", L"d.doc", L"A.txt", L"c.TXT"}},
        {FieldCodes::Size, 1, {L"c.TXT", L"A.txt", L"d.doc", L"b.txt", L"e"}},
        {FieldCodes::Created, 0, byCreated},
        {FieldCodes::Modified, 0, {L"b.txt", L"c.TXT", L"d.doc", L"A.txt", L"e"}}, {FieldCodes::Modified, 1, byCreated},
        {FieldCodes::Accessed, 0, {L"b.txt", L"c.TXT", L"A.txt", L"e", L"d.doc"}},
        {FieldCodes::Accessed, 5, {L"d.doc", L"A.txt", L"e", L"b.txt", L"c.TXT"}},
    };
    for (const auto& [key, order, expected] : cases) EXPECT_EQ(SortedNames(files, order, key), expected) << key << " " << order;
    // Folders have no extension: they sort by name.
    EXPECT_EQ(SortedNames(files, 0, FieldCodes::Extension, true), byName);
    // Texts by the locale's collation, ignoring case: by code "_" lies between "Z" and "a"; digits sort as text; names equal but for case are a tie.
    EXPECT_EQ(SortedNames({{L"b", 0, 1}, {L"_a", 0, 1}, {L"Z", 0, 1}, {L"10", 0, 1}, {L"9", 0, 1}}, 0, FieldCodes::Name),
              (Names{L"_a", L"10", L"9", L"b", L"Z"}));
    EXPECT_EQ(SortedNames({{L"x", 0, 1}, {L"X", 0, 1}, {L"a", 0, 1}}, 1, FieldCodes::Name), (Names{L"x", L"X", L"a"}));
}

// Name i has the size i % 100: by size downward, ties keep their order.
TEST(SortEntries, ALargeFolderSortsStably)
{
    std::vector<Spec> specs;
    Names names(3000), expected;
    for (std::size_t i = 0; i < names.size(); ++i) specs.emplace_back((names[i] = std::to_wstring(i)).c_str(), i % 100, 1);
    for (int size = 99; size >= 0; --size)
        for (std::size_t i = static_cast<std::size_t>(size); i < names.size(); i += 100) expected.push_back(names[i]);
    EXPECT_EQ(SortedNames(specs, 1, FieldCodes::Size), expected);
}
